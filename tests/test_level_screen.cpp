// The level screen as the main loop runs it: the opening story, chapter
// pictures, the level advance, the relic sequence and the endings, the retry
// dialog, and where the HUD and the level-complete panel put their pixels.
// Every test plays frame by frame on the virtual clock, with the pointer and
// button given as mouse events, through the shell's own loop step.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/tovi.h"
#include "level/info.h"
#include "level/level.h"
#include "shell/clock.h"
#include "shell/media.h"
#include "shell/shot.h"
#include "tests/menu_driver.h"
#include "text/text.h"

namespace {

constexpr int PARK_X = 20, PARK_Y = 20;  // a pointer that touches nothing

// Test pictures are solid colours, so a pixel tells which one is on the screen.
Uint32 Colour(int k)
{
    return SDL_MapRGB(screen->format, 10 * k, 255 - 9 * k, 40 + 7 * k);
}

// Fills slots first..last of a table with w x h pictures, slot k in colour(k).
template <int N, class C> void Pictures(SDL_Surface* (&table)[N], int first, int last, int w, int h, C colour)
{
    for (int k = first; k <= last && k < N; k++)
        Replace(table[k], SolidSurface(w, h, colour(k)));
}

// Boards, bottom row of wall. "fall": one element drops onto its partner and
// the level finishes by itself; "apart": two partners wait to be pushed
// together; "lost": an element without a partner fails the level at once.
std::vector<unsigned char> Board(const std::string& kind)
{
    std::vector<unsigned char> b(BOARD_CELLS, 0);
    std::fill(b.begin() + 11 * BOARD_COLS, b.begin() + 12 * BOARD_COLS, 1);
    b[10 * BOARD_COLS + 5] = 101;
    b[(kind == "fall" ? 8 * BOARD_COLS + 5 : 10 * BOARD_COLS + 7)] = 101;
    if (kind == "lost")
        b[10 * BOARD_COLS + 9] = 102;
    return b;
}

class LevelScreen : public ::testing::Test {
protected:
    InScratchDir dir;

    void SetUp() override
    {
        // The fonts are there before SDL starts, so the texts are drawn (and checked).
        ASSERT_EQ(RunCommand("mkdir -p media/levels media/images && ln -s '" TOVI_SOURCE_DIR
                             "'/media/images/font*.png media/images/"),
                  0);
        HarnessOpen();
        ASSERT_NE(fmPicture, nullptr) << "the HUD's font";
        for (int c = 1; c <= 4; c++) {
            SDL_Surface* bg = SolidSurface(SCREEN_W, SCREEN_H, Colour(20 + c));
            SaveSurfacePng(bg, ("media/images/chapter" + std::to_string(c) + ".png").c_str());
            SDL_FreeSurface(bg);
        }
        SimResetState();
        cntintr = 6;
        bioret = finalpart = finalpartt = 0;
        FreeBackdrop();
        InitLevel();
        if (!vfont)
            vfont = LoadImageAlpha(TOVI_SOURCE_DIR "/media/images/fontcnt.png");
        auto relic = [](int k) { return Colour(10 + k); };
        Pictures(IntroImag, 1, 10, SCREEN_W, SCREEN_H, Colour);
        Pictures(AshcrystalImg, 1, 1, SCREEN_W, SCREEN_H, relic);
        Pictures(AshcrystalImg, 2, 5, 400, 300, relic);
        Pictures(AshcrystalImg, 6, 6, 500, 350, relic);
        Replace(leveldone, SolidSurface(560, 400, Colour(17)));
        Replace(ToviLevelImg[1], SolidSurface(76, 92, Colour(18)));
        EffectLogClear();
        DrainEvents();
    }

    void TearDown() override { FreeBackdrop(); }

    // A level as the game dialog starts it: the player is due to play it, with
    // the running score given; then the hand's first steps.
    void StartLevel(int level, const std::string& kind, int score = 0, const std::string& steps = "")
    {
        WriteBytes("media/levels/level" + std::to_string(level) + ".bin", Board(kind));
        proshli = level;
        PlayerScore = score;
        level_no = level;
        LevelStar = 1;
        lmap(level);
        Play(steps);
    }

    void PlayUntilWon()
    {
        for (int i = 0; i < 500 && end_level == 0; i++)
            Play("idle 1");
        ASSERT_EQ(end_level, 1);
    }

    Uint32 At(int x, int y) { return PixelAt(screen, x, y); }
};

// Sheets and pictures whose every frame is a solid colour of its own, so a pixel
// tells which frame was drawn. Frame f of sheet s is FrameColour(s, f).
Uint32 FrameColour(int sheet, int f)
{
    return SDL_MapRGB(screen->format, 3 * f + 1, 40 * sheet, 200 - f);
}
auto Tint(int sheet)
{
    return [sheet](int f) { return FrameColour(sheet, f); };
}

// A strip of 40 x 40 frames; each frame's right half is see-through (colour
// keyed) except frame `full`, so an image drawn beneath shows on the right.
SDL_Surface* Sheet(int sheet, int frames, int full = -1)
{
    SDL_Surface* s = SolidSurface(40 * frames, 40, SDL_MapRGB(screen->format, 255, 0, 255));
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(screen->format, 255, 0, 255));
    for (int f = 1; f <= frames; f++) {
        SDL_Rect r = {static_cast<Sint16>(40 * (f - 1)), 0, static_cast<Uint16>(f == full ? 40 : 20), 40};
        SDL_FillRect(s, &r, FrameColour(sheet, f));
    }
    return s;
}

// The colour a slot of such a table shows, or the background for an empty slot.
template <int N> Uint32 Shows(SDL_Surface* (&table)[N], int slot, Uint32 bg)
{
    return slot >= 0 && slot < N && table[slot] ? PixelAt(table[slot], 0, 0) : bg;
}

// How often the effect log holds a clip of table[first..last], and whether it
// holds any other slot of that table.
template <int N> int Plays(Mix_Chunk* (&table)[N], int first, int last, bool* stray)
{
    int n = 0;
    for (int k = 0; k < N; k++) {
        int times = EffectLogTimes(&table[k]);
        if (k >= first && k <= last)
            n += times;
        else if (times)
            *stray = true;
    }
    return n;
}

TEST_F(LevelScreen, ANewGameTellsTheStoryThenShowsTheChapterPictureBeforeItsLevel)
{
    cntintr = 0;
    StartLevel(1, "fall");
    Play("idle 1");
    EXPECT_EQ(LevelStar, 0) << "the first frame only restarts the level";
    // The story's steps (cntintr) are counted by PlayThrough; here, what each shows.
    for (int k = 1; k <= 4; k++) {
        Play(k == 1 ? "idle 1" : "click fwd");
        EXPECT_EQ(At(100, 100), Colour(k)) << "story picture " << k;
    }
    // The last story click goes straight over to the chapter picture: the
    // release frame shows it already, without a transition.
    Play("click fwd");
    uint32_t before = ClockTicks();
    Play("idle 1");
    EXPECT_LE(ClockTicks() - before, 21u);
    EXPECT_EQ(At(100, 100), Colour(5));

    int fallingY = til[2].y;
    Play("idle 20");
    EXPECT_EQ(til[2].y, fallingY) << "the board waits behind the chapter picture";
    EXPECT_EQ(EffectLogTimes(&gong), 0);

    Play("click fwd");
    EXPECT_EQ(EffectLogTimes(&gong), 1);
    Play("idle 5");
    EXPECT_EQ(At(100, 100), Colour(21)) << "the level's background, not a picture";
}

// A chapter's last level: the panel never came up (nothing was sounding), yet
// one click leads on into the relic sequence, its forward button to the map,
// and the next chapter opens with its picture. A finished game leaves nothing of
// the sequences behind: the first chapter's picture and the relic steps come
// back for the next game. (The steps of the sequences, the map after every fifth
// level and the levels in between are played through by PlayThrough; here, what
// the screen shows.)
TEST_F(LevelScreen, AChaptersLastLevelRunsTheRelicToTheMapAndAGameStartsFromACleanState)
{
    cntgh = 6;  // the first chapter's picture has been and gone
    StartLevel(25, "fall");
    PlayUntilWon();
    Play("press 400,300");
    Play("at 400,300 2");
    EXPECT_EQ(At(10, 10), Colour(11)) << "relic background";
    EXPECT_EQ(std::make_tuple(At(180, 115), brss), std::make_tuple(Colour(12), 2)) << "the relic with one part";
    Play("idle 60; click fwd");
    level_no = 26;  // as the map hands over when the player goes on
    lmap(26);
    Play("idle 2");
    EXPECT_EQ(At(100, 100), Colour(6)) << "the second chapter's picture";

    // What a finished game leaves behind.
    ashcrystal = 13, cntgh = 6, finalpart = 1, finalpartt = 5000, bioret = 1, end_level = 1, prikpp = 2;
    ResetSequences();
    StartLevel(1, "fall", 0, "idle 2");
    EXPECT_EQ(At(100, 100), Colour(5)) << "the first chapter's picture";
    EXPECT_EQ(ashcrystal + finalpart + finalpartt + end_level + prikpp, 0);
}

// No music plays in tests, so every frame of an ending asks for its tune again:
// it must be the ending's, never the relic's.
TEST_F(LevelScreen, TheLastLevelEndsThroughTheCompleteRelicAndBothEndingsEachWithItsTune)
{
    StartLevel(100, "fall", 5000);
    PlayUntilWon();
    Play("click 400,300; idle 70");
    EXPECT_TRUE(finalpartt != 0 && finalpart == 0);
    Play("click fwd");
    EXPECT_EQ(ashcrystal, 10) << "no way on before the relic is whole";
    Play("idle 200");
    EXPECT_EQ(std::make_tuple(finalpart, At(55, 90)), std::make_tuple(1, Colour(16))) << "the complete relic";
    Play("click fwd");
    EXPECT_EQ(At(100, 100), Colour(9)) << "the first ending";
    Play("idle 5");
    EXPECT_TRUE(pash == 0 && pma == 1);
    Play("click fwd");
    EXPECT_EQ(At(100, 100), Colour(10)) << "the second ending";
    Play("idle 5");
    EXPECT_EQ(pash, 0);
}

TEST_F(LevelScreen, ALostLevelOffersOnlyMainMenuAndRetryByMouseOrReturnAndRetrySkipsThePicture)
{
    StartLevel(26, "lost", 0, "idle 2");
    EXPECT_EQ(std::make_tuple(cntgh, At(100, 100)), std::make_tuple(2, Colour(6)));
    Play("click fwd");
    for (int i = 0; i < 20 && level_no != SCREEN_RETRY; i++)
        Play("idle 1");
    ASSERT_EQ(level_no, SCREEN_RETRY);
    EXPECT_TRUE(dead == 1 && dple == 26);
    EXPECT_EQ(Play("wait; click retry3"), SCREEN_RETRY) << "no cancel after a lost level";
    EXPECT_EQ(Play("at retry1"), SCREEN_RETRY);
    EXPECT_EQ(cntgh, 0) << "passing over the main-menu choice forgets the chapter picture";

    EXPECT_EQ(Play("press retry2"), 26);
    EXPECT_EQ(std::make_tuple(ukupnot, dead), std::make_tuple(23, 0));
    EXPECT_NE(At(100, 100), Colour(6)) << "no chapter picture after a retry";
    // The board has not changed, so it fails again at its first move. Then Escape
    // does nothing and Return retries.
    ASSERT_EQ(Play("idle 1"), SCREEN_RETRY) << "the same board fails again";
    til[3].type = 0;  // the lone element gone: the board would play on, were the dialog left
    WriteBytes("media/levels/level26.bin", Board("apart"));  // a board the retry can go on with
    EXPECT_EQ(Play("key esc"), SCREEN_RETRY) << "a lost level has nothing to go back to";
    EXPECT_EQ(Play("key return"), 26);
    EXPECT_EQ(ukupnot, 22) << "retried: the board is read afresh";
}

// Escape opens and closes the level's dialog. The HUD's menu button opens it
// over the frame that opened it. Neither
// the press that opened it, still held (the pointer warp's motion carries it on a
// real display), nor the second press of a double click chooses anything: no
// press acts within a double click's time. Cancel goes on where the level was. A
// dialog closed by Cancel leaves LevelStar at 996 for one frame; a level lost in
// that very frame opens the dialog for the level, not for "level 996". Main menu
// leaves for the menu with the level remembered.
TEST_F(LevelScreen, TheMenuDialogTakesOnlyDeliberatePressesCancelGoesOnAndMainMenuRemembersTheLevel)
{
    // The element grabbed and let go: the level has progress.
    StartLevel(2, "apart", 300, "idle 3; click 220,420");
    // Escape opens the dialog and closes it again as Cancel does, once a press.
    ASSERT_EQ(Play("key esc"), SCREEN_RETRY);
    EXPECT_EQ(dead, 0);
    EXPECT_EQ(Play("key esc"), 2);
    EXPECT_EQ(Play("idle 7; at hud"), 2) << "the key is used once";
    std::vector<TileRecord> board(til, til + TIL_SIZE);
    ASSERT_EQ(Play("hold hud"), SCREEN_RETRY);
    EXPECT_TRUE(dead == 0 && dple == 2);
    ASSERT_NE(prosliscr, nullptr);
    EXPECT_EQ(PixelAt(prosliscr, 400, 550), Colour(18)) << "the frame that opened the menu keeps its portrait";
    DrainEvents();
    EXPECT_EQ(Play("hold retry2"), SCREEN_RETRY) << "the press that opened it, held";
    for (int x : {400, Dialogritem[2].x + 20}) {
        std::string at = std::to_string(x) + ",300";
        EXPECT_EQ(Play("at " + at + "; hold " + at), SCREEN_RETRY) << "the second press of the double click";
        Play("at " + at);
    }
    EXPECT_EQ(Play("wait; click retry3"), 2);
    EXPECT_EQ(poen, 300);
    for (int i = 1; i <= ukupnot; i++)
        EXPECT_EQ(til[i].x, board[i].x) << i;
    EXPECT_EQ(Play("idle 3"), 2);
    EXPECT_EQ(prosliscr, nullptr);

    ASSERT_EQ(Play("press hud"), SCREEN_RETRY);
    til[2].type = 102;  // no partner left: the level is lost at its next frame
    EXPECT_EQ(Play("wait; press retry3"), SCREEN_RETRY);
    EXPECT_TRUE(dead == 1 && dple == 2) << "lost in the frame Cancel closed the dialog: " << dple;
    EXPECT_EQ(Play("wait; press retry2"), 2);
    EXPECT_EQ(std::make_tuple(til[2].type, poen), std::make_tuple(101, 300)) << "a retry keeps the running score";

    // Main menu from the dialog: the player's level is the one it was opened
    // from, a later start skips the story, and the darkened level stays put meanwhile.
    proshli = 9;
    ASSERT_EQ(Play("idle 3; press hud"), SCREEN_RETRY);
    SDL_Surface* backdrop = prosliscr;
    ASSERT_NE(backdrop, nullptr);
    Uint32 dark = At(100, 40);
    EXPECT_NE(dark, Colour(21));
    Play("at 700,40 3");
    EXPECT_EQ(std::make_tuple(prosliscr, At(100, 40)), std::make_tuple(backdrop, dark));
    Play("wait; at retry1");
    cntintr = 1;
    EXPECT_EQ(Play("hold retry1"), SCREEN_MENU);
    EXPECT_EQ(std::make_tuple(proshli, cntintr, menu_first_time), std::make_tuple(2, 6, 1));
    EXPECT_EQ(std::make_tuple(prosliscr, dplev), std::make_tuple(nullptr, 0));
}

// The HUD centres score, time and level number by their width in the 20-pixel
// font and draws them in the 16-pixel font. The level-complete panel rolls the
// counter over the darkened level, and a press goes on.
TEST_F(LevelScreen, TheHudCentresItsTextsAndThePanelRollsTheCounterOverTheDarkenedLevel)
{
    StartLevel(12, "apart", 1144, "idle 3");
    const struct {
        const char* text;
        int cx, y;
    } fields[] = {{"1144", 172, 520}, {"00:00", 617, 520}, {"12", 743, 555}};
    for (const auto& f : fields) {
        SDL_Surface* want = SolidSurface(SCREEN_W, SCREEN_H, Colour(21));
        prikstr(want, f.text, f.cx - strl(f.text, 0, 560, 2) / 2, f.y, 3);
        EXPECT_EQ(PixelsDiffering(want, screen, f.cx - 80, f.y - 4, f.cx + 57, f.y + 36), 0) << f.text;
        SDL_FreeSurface(want);
    }
    Play("press 220,420; hold 260,420 80");
    EXPECT_EQ(end_level, 1) << "the pair met and the level is finished";
    ASSERT_EQ(poen, 1234);
    prikpp = 1;  // as once it has faded in (no sound plays here to bring it up)
    Play("idle 400");
    EXPECT_EQ(std::make_tuple(At(120, 50), At(679, 449)), std::make_tuple(Colour(17), Colour(17)));
    EXPECT_NE(At(119, 50), Colour(17));
    EXPECT_NE(At(680, 449), Colour(17));
    EXPECT_NE(At(100, 40), Colour(21)) << "the level is darkened";

    // The six wheels show 001234, each as the digit strip's window drawn on the panel.
    const int digits[6] = {0, 0, 1, 2, 3, 4};
    SDL_Surface* want = SolidSurface(SCREEN_W, SCREEN_H, Colour(17));
    for (int k = 0; k < 6; k++)
        apply_clip(220 + 60 * k, 335, vfont, want, &VFrect[10 * (digits[k] + 1)]);
    EXPECT_EQ(PixelsDiffering(want, screen, 220, 335, 580, 395), 0);
    SDL_FreeSurface(want);

    // A score the six wheels cannot hold stands at 999999 instead of a wheel
    // that never stops.
    poen = 1234567;
    for (int i = 0; i < 400; i++)
        prikr(120, 50, screen);
    for (float w : {i1, i2, i3, i4, i5, i6})
        EXPECT_EQ(w, 100.0f);
    EXPECT_EQ(Play("press 260,420"), 13);
}

TEST_F(LevelScreen, TheBoardDrawsEachKindOfRecordFromItsOwnFrameAndWallsAsIfBlended)
{
    StartLevel(2, "apart", 0, "idle 3");
    SDL_Surface* kept[3] = {TileTrack, ElemntsTrack, SpikeTrac};
    TileTrack = Sheet(1, 80);
    ElemntsTrack = Sheet(2, 30, EL_TELE_IN - 100);
    SpikeTrac = Sheet(3, 18);
    struct Rec {
        int type, x;
    } recs[] = {{3, 0}, {105, 40}, {205, 80}, {230, 120}, {EL_SPIKES, 160}, {EL_SPIKES, 200}, {0, 240}};
    ukupnot = 0;
    for (const Rec& r : recs)
        til[++ukupnot] = TileRecord{0, r.x, 0, r.type};
    spikedsi = 1, spikeds[1] = 6;  // the second pit is jammed by a block
    MicIndex = 6, movtim = gett;
    Uint32 bg = Colour(21);

    bio126 = 1;
    RendLevel(screen, PARK_X, PARK_Y, 0, KEY_NONE, 0, 0);
    EXPECT_EQ(At(5, 10), FrameColour(1, 3)) << "tile 3";
    EXPECT_EQ(At(45, 10), FrameColour(2, 5)) << "element 105";
    EXPECT_EQ(At(85, 10), FrameColour(2, 5)) << "105 stuck in mud";
    EXPECT_EQ(At(125, 10), FrameColour(2, 5)) << "105 on the exit pad";
    EXPECT_EQ(At(145, 10), FrameColour(2, EL_TELE_IN - 100)) << "the pad under it once a teleport has happened";
    EXPECT_EQ(At(165, 10), FrameColour(3, 6)) << "the spike pit at its cycle's frame";
    EXPECT_EQ(At(205, 10), bg) << "a jammed pit is not drawn";
    EXPECT_EQ(At(245, 10), bg) << "an emptied record";

    bio126 = 0, MicIndex = 0;
    RendLevel(screen, PARK_X, PARK_Y, 0, KEY_NONE, 0, 0);
    EXPECT_EQ(At(145, 10), bg) << "no pad before the first teleport";
    EXPECT_EQ(At(165, 10), bg) << "no spikes before the cycle starts";

    // Wall tiles without a see-through pixel are copied rather than blended: the
    // board must look exactly as if every tile had been blended.
    SDL_FreeSurface(TileTrack);
    TileTrack = LoadImageAlpha(TOVI_SOURCE_DIR "/media/images/tile.png");
    ukupnot = 0;
    for (int code = 1; code <= SHEET_FRAMES; code++)
        til[++ukupnot] = TileRecord{0, 40 * ((code - 1) % 20), 40 * ((code - 1) / 20), code};
    RendLevel(screen, PARK_X, PARK_Y, 0, KEY_NONE, 0, 0);
    SDL_Surface* want = SolidSurface(SCREEN_W, SCREEN_H, 0);
    apply_clip(0, 0, LevelImage, want, nullptr);
    for (int code = 1; code <= SHEET_FRAMES && TileTrack; code++)
        apply_clip(40 * ((code - 1) % 20), 40 * ((code - 1) / 20), TileTrack, want, &LoadedtrackRectangle[code]);
    EXPECT_TRUE(TileTrack && PixelsDiffering(screen, want, 0, 0, SCREEN_W, 160) == 0) << "the walls as blended";
    SDL_FreeSurface(want);

    SDL_FreeSurface(TileTrack), SDL_FreeSurface(ElemntsTrack), SDL_FreeSurface(SpikeTrac);
    TileTrack = kept[0], ElemntsTrack = kept[1], SpikeTrac = kept[2];
}

// A teaching level's caption darkens a band across the top of the board from
// the first frame until the player first takes hold of an element, and again
// after a retry; a level without a caption leaves the board as it is.
TEST_F(LevelScreen, ATeachingCaptionStaysOnTheBoardUntilTheFirstGrab)
{
    const std::string notes = "# notes\n29 2 A platform carries what stands on it\n";
    WriteBytes("info.txt", std::vector<unsigned char>(notes.begin(), notes.end()));
    ASSERT_EQ(LevelInfoLoad("info.txt"), 1);
    // How many pixels of the band (60..740 x 8..38) differ from those of a frame kept before.
    auto differ = [](SDL_Surface* kept) { return PixelsDiffering(kept, screen, 60, 8, 740, 38); };
    StartLevel(29, "apart", 0, "idle 3");
    SDL_Surface* first = CopyScreen(screen);
    Play("idle 40");
    EXPECT_EQ(differ(first), 0) << "it has no time limit";
    Play("click 220,420; idle 2");
    EXPECT_GT(differ(first), 680 * 30 * 8 / 10) << "gone once an element is held: the band covered the board";
    SDL_Surface* plain = CopyScreen(screen);
    StartLevel(29, "apart", 0, "idle 3");
    EXPECT_EQ(differ(first), 0) << "back after a retry";
    StartLevel(28, "apart", 0, "idle 3");
    EXPECT_EQ(differ(plain), 0) << "a level without a caption";
    SDL_FreeSurface(first);
    SDL_FreeSurface(plain);
    LevelInfoLoad("no-such-file");
}

// The teleport, the two break animations and the vanish puff each step on the
// frame clock and draw around the place they belong to; a level load stops them.
TEST_F(LevelScreen, AnimationsStepOnTheClockAroundTheirPlacesAndALevelLoadStopsThem)
{
    StartLevel(2, "apart", 0, "idle 3");
    Pictures(TeleportImg, 1, 10, 40, 40, Tint(4));
    Pictures(SpikeDestroyImg, 1, 34, 40, 40, Tint(5));
    Pictures(imgPartOfParticle, 1, 60, 20, 20, Tint(6));
    Uint32 bg = Colour(21);
    // An image whose top-left corner is at (x, y): its colour there, not beyond.
    auto placed = [&](int x, int y, Uint32 c) { return At(x, y) == c && (c == bg || At(x - 1, y - 1) == bg); };

    // Entrance record 1 at (200, 400), exit record 2 at (280, 400).
    telex = 10, telexi = 1, telexo = 2, movtel = 0;
    int frames = 0;
    for (; telex != 0 && frames < 100; frames++) {
        int t = telex;
        Play("idle 1");
        ASSERT_TRUE(placed(145, 345, Shows(TeleportImg, t - 1, bg))) << "entrance at step " << t;
        ASSERT_TRUE(placed(225, 345, Shows(TeleportImg, 10 - t, bg))) << "exit at step " << t;
    }
    EXPECT_TRUE(frames >= 30 && frames <= 33) << frames << " frames: a step lasts more than 50 ms";

    spiked = 1, spikex = 300, spikey = 200, movsp = 0;
    raspad = 1, raspadx = 600, raspady = 200, movspr = 0;
    for (frames = 0; (spiked != 0 || raspad != 0) && frames < 200; frames++) {
        int s = spiked, c = raspad;
        Play("idle 1");
        ASSERT_TRUE(placed(220, 120, Shows(SpikeDestroyImg, s - 1, bg))) << "spike kill at step " << s;
        ASSERT_TRUE(placed(520, 120, Shows(SpikeDestroyImg, c - 1, bg))) << "crumble at step " << c;
    }
    EXPECT_GE(frames, 34 * 3);
    EXPECT_EQ(movsp + movspr, 0) << "a finished break forgets its timer";

    // A match in the cell at (320, 200) whose partners were above and below it.
    pind = 63, part = 8 + 1, parta = 5, partb = 8, parttim = 0;
    for (frames = 0; pind != 0 && frames < 100; frames++) {
        Uint32 puff = Shows(imgPartOfParticle, 63 - pind, bg);
        Play("idle 1");
        ASSERT_TRUE(placed(270, 150, puff)) << "centre";
        ASSERT_TRUE(placed(270, 110, puff)) << "above";
        ASSERT_TRUE(placed(270, 190, puff)) << "below";
        ASSERT_EQ(At(315, 155), bg) << "no partner on the right";
        ASSERT_EQ(At(235, 155), bg) << "no partner on the left";
    }
    EXPECT_EQ(frames, 64) << "63 steps of more than 10 ms after the first frame";
    Play("idle 1");
    EXPECT_EQ(part + parta + partb, 0);

    // A level load stops what still plays of the board before.
    telex = 6, telexi = 1, telexo = 2;
    raspad = 12, raspadx = 100;
    spiked = 3, spikey = 80;
    spikedsi = 1, spikeds[1] = 2;
    probo = 1;  // an element met the spikes as the board was won
    lmap(2);
    EXPECT_EQ(telex + raspad + spiked + spikedsi + spikeds[1], 0);
    EXPECT_EQ(probo, 0) << "a kill on the old board would fail the new one at once";
}

// Left alone for 7 s the hero blinks, and again 7 s later; he sighs at most once
// every 15 s, one of ten lines, half the time. Clicks start the waits again. A
// match made while a sound plays asks for praise: one of the sixteen lines, half
// the time.
TEST_F(LevelScreen, LeftAloneTheHeroBlinksAndSighsAndAMatchIsPraised)
{
    srand(7);
    StartLevel(2, "apart", 0, "idle 2");  // the level's first frame draws nothing
    Pictures(ToviLevelImg, 1, 4, 76, 76, Tint(7));
    auto shut = [&]() { return At(400, 550) == FrameColour(7, 3); };  // the middle of a blink
    bool stray = false;
    std::vector<int> blinks;  // the frames his eyes shut
    for (int frame = 2; frame < 900; frame++) {
        bool was = shut();
        Play("idle 1");
        EXPECT_TRUE(frame != 740 || Plays(negative, 1, 10, &stray) == 0) << "no sigh before 15 s";
        if (shut() && !was)
            blinks.push_back(frame);
    }
    ASSERT_EQ(blinks.size(), 2u) << "two blinks in 18 s";
    EXPECT_TRUE(blinks[0] >= 350 && blinks[0] <= 350 + 110)
        << blinks[0] << ": not before 7 s, and a blink waits at most one spike cycle for its frames";
    Play("idle 2100");  // 15 s x 4 in all
    int sighs = Plays(negative, 1, 10, &stray);
    EXPECT_TRUE(sighs >= 1 && sighs <= 4) << sighs << " sighs: at most one chance in 15 s";
    EffectLogClear();
    for (int i = 0; i < 60; i++) {
        mousenomovel = 1;  // as if 15 s had passed at every frame
        Play("idle 1");
    }
    sighs = Plays(negative, 1, 10, &stray);
    EXPECT_TRUE(sighs > 15 && sighs < 45) << sighs << " sighs in 60 chances";

    // 20 s of clicks on empty board, a match in each of the first 60 frames.
    EffectLogClear();
    for (int i = 0; i < 1000; i++) {
        sklop = i < 60;
        Step(i % 2, PARK_X, PARK_Y);
        ASSERT_FALSE(shut()) << i;
    }
    int praised = Plays(positive, 1, 16, &stray);
    EXPECT_TRUE(praised > 15 && praised < 45) << praised;
    EXPECT_EQ(Plays(negative, 1, 10, &stray), 0) << "clicks keep the sighs away";
    EXPECT_FALSE(stray) << "a line outside its range";
}

}  // namespace
