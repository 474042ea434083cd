// The shell: start-up failures, the event pump and the screen dispatch, the click
// latch, and a whole headless run from start-up to quitting from the menu.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <unistd.h>

#include <memory>
#include <tuple>

#include "app/tovi.h"
#include "level/level.h"
#include "menu/help.h"
#include "menu/options.h"
#include "progress/savelock.h"
#include "shell/display.h"
#include "tests/menu_driver.h"
#include "video/video.h"

// One player, so the menu stays up instead of opening the profiles at once.
static const Bytes OnePlayer = Cat({Rec("", 0, 0), Rec("Ann", 1, 0)});

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::make_unique<InScratchDir>(true);
        WriteBytes(PLAYER_FILE, OnePlayer);
        HarnessOpen();
        DrainEvents();
        if (MenuPrviPut)
            InitMenu(screen);
        ReadPlayers();
        LoadPlayer(1, 0);
        level_no = SCREEN_MENU;
        m_bQuit = 0;
        mousechk = 1;
    }
    std::unique_ptr<InScratchDir> dir;
};

// The menu's quit item is the fifth; its hot area is (105, 520, 120, 50).
constexpr int QUIT_X = 150;
constexpr int QUIT_Y = 540;

// The pointer onto (x, y) with the button up, a press there, and a pass of the pump.
static void PressAt(int x, int y)
{
    PushMotion(0, x, y);
    PushButton(true, x, y);
    CheckKeys();
}

// A press on an item acts once: back on the menu, its release (button code 1
// again), the ticks that re-send it, and a second press without a motion in
// between do not act. (The menu counts as already shown, so it does not warp the
// pointer: the warp's motion event would clear the latch. The last event the
// tick re-sends is a motion with the button still held.)
TEST_F(Dispatch, APressActsOnceNeitherItsReleaseNorASecondPressWithoutAMotionActsAgain)
{
    PressAt(QUIT_X, QUIT_Y);
    EXPECT_EQ(std::make_tuple(level_no, mousechk), std::make_tuple(SCREEN_QUIT, 1));
    DrainEvents();
    PushMotion(1, QUIT_X, QUIT_Y);
    CheckKeys();
    level_no = SCREEN_MENU;
    rendme = 1;
    PushButton(false, QUIT_X, QUIT_Y);
    CheckKeys();
    CheckKeys();
    PushButton(true, QUIT_X, QUIT_Y);
    CheckKeys();
    EXPECT_EQ(level_no, SCREEN_MENU);
}

// A key never acts as a mouse press: with the pointer resting on each item of
// every screen, keys that mean nothing there leave the screen as it was, through
// the key press and the ticks that follow it.
TEST_F(Dispatch, NoKeyIsAClickOnAnyItemOfAnyScreenEscapeGoesBackAndReturnTakesTheDefault)
{
    const struct {
        int code;
        int x, y;
        const int* watch = nullptr;  // a state the item's click would change besides the screen
    } items[] = {
        {SCREEN_MENU, 153, 285},        {SCREEN_MENU, 156, 345},       {SCREEN_MENU, 159, 405},
        {SCREEN_MENU, 162, 465},        {SCREEN_MENU, QUIT_X, QUIT_Y}, {SCREEN_GAME, 400, 210},
        {SCREEN_GAME, 400, 280},        {SCREEN_GAME, 400, 350},       {SCREEN_GAME, 405, 419},
        {SCREEN_NEWGAME, 260, 405},     {SCREEN_NEWGAME, 440, 405},    {SCREEN_OPTIONS, 500, 347, &fulls},
        {SCREEN_OPTIONS, 380, 410},     {SCREEN_SCORES, 700, 540},     {SCREEN_CREDITS, 700, 540},
        {SCREEN_HELP, 740, 35, &backi}, {SCREEN_PLAYERS, 260, 405},    {SCREEN_PLAYERS, 440, 405},
        {SCREEN_MAP + 6, 700, 540},
    };
    // The screen as just entered, the pointer resting on nothing.
    auto enter = [](int code) {
        level_no = code;
        rendme = renddg = rendda = renddo = renddhs = renddh = renddp = rendmp = rendc = backi = 1;
        fulls = 0;
        PushMotion(0, 790, 590);
        CheckKeys();
    };
    const SDLKey keys[] = {SDLK_LSHIFT, SDLK_F1, SDLK_LEFT, SDLK_TAB, SDLK_c};
    for (const auto& item : items) {
        for (SDLKey key : keys) {
            enter(item.code);
            PushMotion(0, item.x, item.y);
            CheckKeys();
            int before = item.watch ? *item.watch : 0;
            PushKey(key, 0);
            for (int i = 0; i < 4; i++)
                CheckKeys();
            EXPECT_EQ(level_no, item.code) << item.code << " at " << item.x << "," << item.y << " key " << key;
            EXPECT_EQ(item.watch ? *item.watch : 0, before) << item.code << " key " << key;
            DrainEvents();
        }
    }
    // Escape goes back as a screen's Cancel or Close does, Return takes a dialog's
    // default button; the main menu takes neither.
    const struct {
        int code;
        SDLKey key;
        int next;
    } cases[] = {
        {SCREEN_MENU, SDLK_ESCAPE, SCREEN_MENU},    {SCREEN_MENU, SDLK_RETURN, SCREEN_MENU},
        {SCREEN_OPTIONS, SDLK_ESCAPE, SCREEN_MENU}, {SCREEN_OPTIONS, SDLK_RETURN, SCREEN_MENU},
        {SCREEN_CREDITS, SDLK_ESCAPE, SCREEN_MENU}, {SCREEN_HELP, SDLK_ESCAPE, SCREEN_MENU},
        {SCREEN_SCORES, SDLK_ESCAPE, SCREEN_MENU},  {SCREEN_SCORES, SDLK_KP_ENTER, SCREEN_MENU},
        {SCREEN_GAME, SDLK_ESCAPE, SCREEN_MENU},    {SCREEN_NEWGAME, SDLK_ESCAPE, SCREEN_MENU},
        {SCREEN_NEWGAME, SDLK_RETURN, SCREEN_MENU}, {SCREEN_PLAYERS, SDLK_ESCAPE, SCREEN_MENU},
        {SCREEN_PLAYERS, SDLK_RETURN, SCREEN_MENU}, {SCREEN_GAME, SDLK_RETURN, 1},
    };
    for (const auto& col : cases) {
        enter(col.code);
        PushKey(col.key, 0);
        CheckKeys();
        EXPECT_EQ(level_no, col.next) << col.code << " key " << col.key;
        DrainEvents();
    }
    EXPECT_EQ(ReadBytes(PLAYER_FILE), OnePlayer) << "no key changed the saved player";
}

// The full-screen box: the change of video mode makes SDL forget the held
// button, so the motions after it report the button up. The press still flips
// the box once, its release does not flip it back, and the new mode is drawn at
// once; the next click flips it again.
TEST_F(Dispatch, OnePressFlipsTheFullScreenBoxOnceAcrossTheModeSwitch)
{
    level_no = SCREEN_OPTIONS;
    renddo = 1;
    fulls = 0;
    PressAt(500, 347);
    ASSERT_EQ(fulls, 1);
    EXPECT_NE(display->flags & SDL_FULLSCREEN, 0u);
    Uint32 drawn = PixelAt(screen, 400, 300);
    EXPECT_NE(drawn, 0u) << "the options are drawn on the new mode at once";
    for (int x = 502; x < 512; x += 2) {
        PushMotion(0, x, 350);  // as SDL reports it after the switch
        CheckKeys();
    }
    PushButton(false, 512, 350);
    CheckKeys();
    PushMotion(0, 500, 347);
    CheckKeys();
    EXPECT_EQ(fulls, 1);
    std::vector<unsigned char> config = ReadBytes(CONFIG_FILE);
    ASSERT_EQ(config.size(), 20u);
    EXPECT_EQ(config[12], 1) << "word 3 of the settings keeps full screen on";

    for (bool down : {true, false})
        PushButton(down, 500, 347), CheckKeys();
    EXPECT_EQ(std::make_tuple(fulls, ReadBytes(CONFIG_FILE)[12]), std::make_tuple(0, 0));
}

TEST_F(Dispatch, DispatchClearsTheSetUpFlagsAndClosingTheWindowEndsTheLoop)
{
    biodg = biodp = bioo = biodr = prikpp = 1;
    dple = 9;
    MMoved(0, 10, 10, 0, 0, KEY_NONE, KEY_NONE);
    EXPECT_EQ(biodg + biodp + bioo + biodr + prikpp + dple, 0);

    // The game dialog keeps biodg; every other dialog clears it.
    level_no = SCREEN_SCORES;
    biodg = 1;
    MMoved(0, 10, 10, 0, 0, KEY_NONE, KEY_NONE);
    EXPECT_EQ(biodg, 0);

    // dple survives a pass of the pump only while the retry dialog is up.
    level_no = SCREEN_RETRY;
    dple = 4;
    CheckKeys();
    EXPECT_EQ(dple, 4);
    level_no = SCREEN_OPTIONS;
    CheckKeys();
    EXPECT_EQ(dple, 0);

    // Closing the window ends the loop.
    SDL_Event e = {};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    CheckKeys();
    EXPECT_EQ(m_bQuit, 1);
}

// Two copies on one save folder: the second says so and quits without touching
// the progress; a copy that crashed leaves its lock file but not its lock.
TEST(SaveFolder, ASecondCopySaysSoAndACrashedCopyNeverBlocks)
{
    InScratchDir dir(true);
    WriteBytes(PLAYER_FILE, OnePlayer);

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t first = fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        char held = AcquireSaveLock() ? 1 : 0;
        if (write(ready[1], &held, 1) != 1)
            _exit(2);
        pause();
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 1);
    EXPECT_EQ(AcquireSaveLock(), 0) << "the first copy holds the folder";

    std::string err;
    int rc = RunCommand("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" TOVI_GAME_BINARY "'", nullptr, &err);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("already running"), std::string::npos) << err;
    EXPECT_NE(err.find("switch to its window"), std::string::npos) << "says what to do: " << err;
    EXPECT_EQ(ReadBytes(PLAYER_FILE), OnePlayer);

    // The first copy dies without cleaning up: the next start takes the folder.
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    struct stat st;
    EXPECT_EQ(stat(LOCK_FILE, &st), 0) << "the lock file is left behind";
    EXPECT_EQ(AcquireSaveLock(), 1);
    ReleaseSaveLock();
    close(ready[0]);
    close(ready[1]);
}

// Start-up failures print one line and exit with status 1; the settings were
// read (and written) before SDL started.
TEST(StartUp, FailureMessagesAndExitStatus)
{
    std::string dir = ScratchDir();
    std::string err;
    int rc = RunCommand("cd '" + dir + "' && SDL_VIDEODRIVER=no-such-driver '" TOVI_GAME_BINARY "'", nullptr, &err);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(err.rfind("Unable to init SDL: ", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(ReadBytes(dir + "/config.dat").size(), 20u);

    rc = RunCommand("cd '" + dir + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=no-such-driver '" TOVI_GAME_BINARY "'",
                    nullptr, &err);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(err.rfind("Unable to init Sound: ", 0), 0u) << err;
}

// The whole game headless: start-up with the real media, the menu's first frame,
// and quitting from the menu through End.
TEST(StartUp, RunsHeadlessAndQuitsFromTheMenu)
{
    InScratchDir dir(true);
    WriteBytes(CONFIG_FILE, {0, 0, 0, 0, 40, 0, 0, 0, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    WriteBytes(PLAYER_FILE, OnePlayer);
    MenuPrviPut = 1;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ReadSettings();
    Init();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->flags & SDL_FULLSCREEN, 0u) << "full screen is off in this config";
    EXPECT_EQ(std::make_tuple(screen->w, screen->format->BitsPerPixel), std::make_tuple(800, 32));
    level_no = SCREEN_MENU;
    mousechk = 1;
    // The first click skips the splash; the second quits from the menu.
    for (int click = 0; click < 2; click++) {
        PushMotion(0, QUIT_X, QUIT_Y);
        PushButton(true, QUIT_X, QUIT_Y);
    }
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(m_bQuit, 1);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "End shuts SDL down";
    EXPECT_EQ(yuv_overlay, nullptr) << "the splash's overlay is freed before SDL shuts down";
}

// An opaque picture is drawn by copying rows: every pixel must be what SDL's own
// blit gives, for pictures and cut-outs partly or wholly off the surface and
// surfaces with a clip rectangle of their own; a picture with a colour key still
// goes through the blit.
TEST(Drawing, OpaqueCopiesMatchTheBlitWhereverTheyFall)
{
    HarnessOpen();
    Uint32 seed = 7;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<Uint32>(n));
    };
    SDL_Surface* picture = NoiseSurface(37, 23, 1);
    for (int round = 0; round < 600; round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        SDL_Surface* ours = NoiseSurface(90, 70, 2);
        SDL_Surface* theirs = NoiseSurface(90, 70, 2);
        SDL_Rect edge = {static_cast<Sint16>(next(30) - 5), static_cast<Sint16>(next(30) - 5),
                         static_cast<Uint16>(next(90)), static_cast<Uint16>(next(70))};
        if (round % 3)
            SDL_SetClipRect(ours, &edge), SDL_SetClipRect(theirs, &edge);
        SDL_Rect cut = {static_cast<Sint16>(next(50) - 10), static_cast<Sint16>(next(40) - 10),
                        static_cast<Uint16>(next(50)), static_cast<Uint16>(next(40))};
        SDL_Rect* clip = round % 2 ? &cut : nullptr;
        int x = next(130) - 40, y = next(100) - 30;
        SDL_SetColorKey(picture, round % 7 == 0 ? SDL_SRCCOLORKEY : 0, PixelAt(picture, 3, 3));
        apply_clip(x, y, picture, ours, clip);
        SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        SDL_Rect copy = cut;
        SDL_BlitSurface(picture, clip ? &copy : nullptr, theirs, &at);
        ASSERT_EQ(PixelsDiffering(ours, theirs), 0) << "at " << x << "," << y;
        SDL_FreeSurface(ours);
        SDL_FreeSurface(theirs);
    }
    SDL_FreeSurface(picture);
}
