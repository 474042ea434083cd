#include "app/tovi.h"

#include <SDL_mixer.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "level/level.h"
#include "menu/credits.h"
#include "menu/game.h"
#include "menu/help.h"
#include "menu/levels.h"
#include "menu/map.h"
#include "menu/menu.h"
#include "menu/options.h"
#include "menu/players.h"
#include "menu/scores.h"
#include "progress/best.h"
#include "progress/players.h"
#include "progress/savelock.h"
#include "progress/scores.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/files.h"
#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/settings.h"
#include "text/text.h"
#include "trans/trans.h"
#include "video/video.h"

// The last mouse event as the tick re-sends it: the button byte and the pointer
// fields. A key press changes none of them: a key is never a mouse press, so it
// reaches a screen with the button as the mouse left it, and the screens tell it
// from a mouse event by its key symbol.
static int lastButton = 0;
static int lastX = 0;
static int lastY = 0;
static int lastXrel = 0;
static int lastYrel = 0;

// The left button as the events have left it. A change of video mode makes SDL
// forget a held button, so the motions that follow report it up although it is
// still down; heldAcrossSwitch keeps it held for them until its release arrives.
static int leftHeld = 0;
static int heldAcrossSwitch = 0;

static int levelKey = 0;  // a key pressed during level play, for its next frame; 0 none

static Mix_Music* openingMusic = nullptr;  // kept only to be freed by the next start

void Init()
{
    atexit(SDL_Quit);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "Unable to init SDL: %s\n", SDL_GetError());
        exit(1);
    }
    if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 4096) == -1) {
        fprintf(stderr, "Unable to init Sound: %s\n", SDL_GetError());
        exit(1);
    }
    if (!DisplayOpen()) {
        fprintf(stderr, "Unable to set up video: %s\n", SDL_GetError());
        exit(1);
    }
    LoadFonts();
    SDL_EnableUNICODE(1);
}

void End(SDL_Surface* surface)
{
    Mix_FreeChunk(mtomb);
    Mix_FreeChunk(mcamel);
    Mix_FreeChunk(mdbtn);
    mtomb = mcamel = mdbtn = nullptr;
    Mix_FreeMusic(mintro);
    Mix_FreeMusic(mmap_music);
    mintro = mmap_music = nullptr;
    Mix_CloseAudio();
    SDL_FreeSurface(surface);
    // The last video's overlay belongs to the display: it goes before SDL does.
    VideoRelease();
    SDL_Quit();
}

void MMoved(int button, int x, int y, int xrel, int yrel, int key, int unicode)
{
    but = button;
    ToviMouseX = x;
    ToviMouseY = y;
    ToviRelativeMouseX = xrel;
    ToviRelativeMouseY = yrel;
    kkeyk = key;

    if (level_no == SCREEN_MENU) {
        dple = biodg = biodp = bioo = biodr = prikpp = 0;
        level_no = RenderMenu(x, y, button, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_OPTIONS) {
        int wasFull = fulls, wasScale = WindowScale();
        biodg = 0;
        RenderOptions(x, y, button, screen);
        ShowFrame(screen);
        if (fulls != wasFull || (!fulls && WindowScale() != wasScale)) {
            DisplayOpen();
            heldAcrossSwitch = leftHeld;
            // The new mode starts black: draw the options on it at once, not at
            // the next mouse event.
            if (level_no == SCREEN_OPTIONS) {
                RenderOptions(x, y, button, screen);
                ShowFrame(screen);
            }
        }
    } else if (level_no == SCREEN_CREDITS) {
        biodg = 0;
        level_no = RenderCredits(x, y, button, key, unicode, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_HELP) {
        biodg = 0;
        RenderHelp(x, y, button, key, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_NEWGAME) {
        biodg = 0;
        level_no = RenderDialoga(x, y, button, key, unicode, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_GAME) {
        // biodg is kept: the game dialog fades in only when entered from elsewhere.
        level_no = RenderDialogg(x, y, button, key, unicode, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_LEVELS) {
        biodg = 0;
        level_no = RenderLevelList(x, y, button, key, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_RETRY) {
        biodg = 0;
        level_no = RenderDialogr(dple, x, y, button, key, unicode, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_PLAYERS) {
        biodg = 0;
        level_no = RenderDialogp(x, y, button, key, unicode, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_SCORES) {
        biodg = 0;
        level_no = RenderDialogHS(x, y, button, key, unicode, screen);
        ShowFrame(screen);
    } else if (level_no > SCREEN_MAP) {
        biodg = 0;
        level_no = RenderMap(x, y, button, key, level_no, screen);
        ShowFrame(screen);
    }
}

// A key press goes to the screen that is up, once: the level keeps it for its
// next frame; the main menu takes none. A screen a key has just opened does not
// see that key again.
static void KeyDown(int sym, int uni, int mod)
{
    if (sym == 0 && uni == 0)
        return;
    if (sym == 0)
        sym = KEY_TYPED;
    if (level_no >= 1 && level_no <= SCREEN_LAST_LEVEL) {
        LevelKey(sym, mod);  // the helpers' keys act at once
        levelKey = sym;      // the level frame's own (Escape) at its next frame
        return;
    }
    if (level_no == SCREEN_MENU || level_no == SCREEN_QUIT)
        return;
    // Only the profile dialog takes typing; elsewhere Escape and Return alone mean
    // something.
    if (level_no != SCREEN_PLAYERS && !IsBackKey(sym) && !IsOkKey(sym))
        return;
    MMoved(lastButton, ToviMouseX, ToviMouseY, 0, 0, sym, uni);
}

static void Tick()
{
    MMoved(lastButton, lastX, lastY, lastXrel, lastYrel, KEY_NONE, KEY_NONE);
}

void CheckKeys()
{
    but = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(1)) | heldAcrossSwitch;
    if (display_bar_press)
        but = 0;
    if (level_no != SCREEN_RETRY)
        dple = 0;

    // The per-frame tick of the animated screens; each test sees the code the
    // previous one may have changed.
    if (level_no == SCREEN_MENU)
        Tick();
    if (level_no == SCREEN_PLAYERS)
        Tick();
    if (level_no == SCREEN_CREDITS)
        Tick();
    if (level_no > SCREEN_MAP)
        Tick();

    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_MOUSEMOTION: {
            // The display's position becomes the frame's; over a bar, the
            // frame's nearest pixel. A press made on a bar holds nothing.
            int fx, fy;
            PointerToFrame(event.motion.x, event.motion.y, &fx, &fy);
            lastButton = display_bar_press ? (event.motion.state & ~SDL_BUTTON(1)) : event.motion.state;
            if (heldAcrossSwitch)
                lastButton |= SDL_BUTTON(1);
            lastXrel = fx - lastX;
            lastYrel = fy - lastY;
            lastX = fx;
            lastY = fy;
            MMoved(lastButton, lastX, lastY, lastXrel, lastYrel, KEY_NONE, KEY_NONE);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.button == SDL_BUTTON_LEFT) {
                leftHeld = event.type == SDL_MOUSEBUTTONDOWN;
                if (!leftHeld)
                    heldAcrossSwitch = 0;
            }
            // Nothing can be clicked on the bars beside or above the frame.
            int fx, fy;
            if (!PointerToFrame(event.button.x, event.button.y, &fx, &fy) || display_bar_press) {
                display_bar_press = event.type == SDL_MOUSEBUTTONDOWN;
                break;
            }
            // Press and release both carry the button index: 1 for the left button.
            lastButton = event.button.button;
            lastX = fx;
            lastY = fy;
            lastXrel = lastYrel = 0;
            MMoved(lastButton, lastX, lastY, 0, 0, KEY_NONE, KEY_NONE);
            break;
        }
        case SDL_KEYDOWN: {
            // F11 switches between the window and the full screen, F10 steps
            // the window's size; no screen sees them.
            if (event.key.keysym.sym == SDLK_F11) {
                ToggleFullScreen();
                break;
            }
            if (event.key.keysym.sym == SDLK_F10) {
                StepWindowScale();
                break;
            }
            KeyDown(event.key.keysym.sym, event.key.keysym.unicode, event.key.keysym.mod);
            break;
        }
        case SDL_QUIT:
            m_bQuit = 1;
            break;
        default:
            break;
        }
    }
}

// One level iteration of the main loop: logic, then the frame.
static void LevelIteration()
{
    int r = ProcLevel(screen, but, ToviMouseX, ToviMouseY, ToviRelativeMouseX, ToviRelativeMouseY, LevelStar, dple);
    if (r == SCREEN_RETRY) {
        dple = level_no;
        level_no = SCREEN_RETRY;
        dead = 1;
        MMoved(0, 400, 300, 0, 0, 0, 0);
    }
    ShowFrame(screen);
    if (level_no != SCREEN_RETRY)
        LevelStar = RendLevel(screen, ToviMouseX, ToviMouseY, but, levelKey, LevelStar, 0);
    levelKey = 0;
    // The level frame asked for the dialog (dead stays as it was). A LevelStar of
    // 996 left over from a dialog just closed, in a frame where the level was
    // lost instead, must not open it a second time with 996 as the level.
    if (LevelStar == SCREEN_RETRY && level_no != SCREEN_RETRY) {
        dple = level_no;
        level_no = SCREEN_RETRY;
        MMoved(0, 400, 300, 0, 0, 0, 0);
    }
    if (level_no != SCREEN_RETRY)
        ShowFrame(screen);
    if (LevelStar == SCREEN_CREDITS)
        level_no = SCREEN_CREDITS;
    // A level played again from the list leads back to it once won.
    if (level_no == SCREEN_LEVELS)
        MMoved(but, ToviMouseX, ToviMouseY, 0, 0, KEY_NONE, KEY_NONE);
}

// The level screen and the chapter map hold their own 20 ms frame; every other
// screen would redraw as fast as the loop spins, pinning a core and running the
// menu's strips at the machine's speed. Those screens get one pass per 15 ms: the
// loop sleeps out the rest of the pass in naps of a few ms, and stops sleeping as
// soon as an event is queued, so input is still drawn at once.
static bool PacesItself(int code)
{
    return (code >= 1 && code <= SCREEN_LAST_LEVEL) || code > SCREEN_MAP;
}

static void PacePass(uint32_t passStart)
{
    if (m_bQuit || PacesItself(level_no))
        return;
    while (ClockTicks() - passStart < LOOP_PASS_MS) {
        SDL_PumpEvents();
        SDL_Event pending;
        if (SDL_PeepEvents(&pending, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0)
            return;
        uint32_t left = LOOP_PASS_MS - (ClockTicks() - passStart);
        ClockDelay(left < PACE_NAP_MS ? left : PACE_NAP_MS);
    }
}

void MainLoopStep()
{
    uint32_t passStart = ClockTicks();
    CheckKeys();
    if (level_no <= SCREEN_MENU) {
        PacePass(passStart);
        return;
    }
    if (level_no <= SCREEN_LAST_LEVEL) {
        LevelIteration();
    } else if (level_no == SCREEN_HELP) {
        RenderHelp(ToviMouseX, ToviMouseY, but, KEY_NONE, screen);
        ShowFrame(screen);
    } else if (level_no == SCREEN_QUIT) {
        End(screen);
        m_bQuit = 1;
    }
    PacePass(passStart);
}

void Opening()
{
    m_bQuit = 0;
    HidePointer();
    // The opening music plays once under the splash and the loading.
    if (openingMusic)
        Mix_FreeMusic(openingMusic);
    openingMusic = LoadMusic("media/audio/main.ogg");
    if (openingMusic)
        Mix_PlayMusic(openingMusic, 0);
    LoadPlayV("media/video/splash.ogg", 0, 0);
    // Closed during the splash: the game ends now, before the loading.
    if (m_bQuit)
        return;
    static const ImageRow rows[] = {START_IMAGES(IMAGE_ROW)};
    ForEachImage(rows, static_cast<int>(sizeof rows / sizeof rows[0]), 0, LoadIntoEmpty);
    while (Fade(screen, LSImage, 1, 0, 0) != 1) {
    }
    apply_clip(0, 0, LSImage, screen, nullptr);
    ShowFrame(screen);
}

int Start()
{
    Opening();
    while (m_bQuit == 0)
        MainLoopStep();
    return 0;
}

// A second copy started on a save folder that a running copy holds: it says so
// on its own window and quits before it reads or writes any progress. SDL 1.2
// cannot bring another program's window to the front, so the message tells the
// player where the game they want is. It stays until a click, a key or the
// window's close, or for a few seconds.
constexpr uint32_t ALREADY_RUNNING_MS = 8000;

static void CentredLine(const char* text, int y, int font)
{
    prikstr(screen, text, SCREEN_W / 2 - strl(text, 0, 0, font) / 2, y, font);
}

static void SayAlreadyRunning()
{
    fprintf(stderr, "Tovi Mudgrove is already running in this folder: switch to its window to play on; "
                    "this copy closes\n");
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 24, 18, 12));
    SDL_Rect box{130, 160, 540, 280};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 120, 84, 44));
    SDL_Rect inner{136, 166, 528, 268};
    SDL_FillRect(screen, &inner, SDL_MapRGB(screen->format, 58, 40, 24));
    CentredLine("ALREADY RUNNING", 185, 2);
    CentredLine("Tovi Mudgrove is already open", 240, 3);
    CentredLine("with this save folder.", 268, 3);
    CentredLine("To play on, switch to that window:", 310, 3);
    CentredLine("look for it on the task bar.", 338, 3);
    CentredLine("This copy closes. Click to close it now.", 385, 1);
    ShowFrame(screen);
    uint32_t shown = ClockTicks();
    while (ClockTicks() - shown < ALREADY_RUNNING_MS) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT || e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN)
                return;
        ClockDelay(20);
    }
}

void StartUp()
{
    // Pictures are loaded, converted and the loaded copy freed, hundreds of them.
    // By default the C library raises its threshold for giving big blocks straight
    // back to the system each time such a block is freed, and the later pictures
    // then pile up in the heap; a fixed threshold keeps every picture buffer its
    // own mapping, returned whole when freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    start_level_no = 1;
    SDL_putenv(const_cast<char*>("SDL_VIDEO_YUV_HWACCEL=0"));
    int ownsFolder = AcquireSaveLock();
    if (ownsFolder) {
        // A save killed half-way leaves its temporary file; the data file is
        // whole. Only the copy that holds the folder may clear them: another's
        // may be a save in progress.
        RemoveStaleTemporary(CONFIG_FILE);
        RemoveStaleTemporary(PLAYER_FILE);
        RemoveStaleTemporary(HISCORE_FILE);
        RemoveStaleTemporary(DISPLAY_FILE);
        RemoveStaleTemporary(BEST_FILE);
    }
    ReadSettings();
    ReadDisplaySettings();
    Init();
    SDL_WM_SetCaption("Tovi Mudgrove", nullptr);
    if (!ownsFolder) {
        SayAlreadyRunning();
        exit(1);
    }
    // The window keeps its own copy of the icon.
    SDL_Surface* icon = SDL_LoadBMP_RW(SDL_RWFromFile(DISPLAY_ICON, "rb"), 1);
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
    Mix_VolumeMusic(slidm);
    Mix_Volume(-1, slidf);
}

int SDL_main(int, char*[])
{
    StartUp();
    Start();
    HintCancel();  // a hint search still running ends before the program does
    VideoRelease();
    SDL_WM_SetCaption("Quitting...", nullptr);
    return 0;
}
