// The chapter map, options, credits and help, driven call by call as the shell
// drives them, on the virtual clock, with small solid pictures standing in for
// the art so that what each screen drew can be read back from the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "level/sequences.h"
#include "menu/credits.h"
#include "menu/help.h"
#include "menu/map.h"
#include "menu/menu.h"
#include "menu/options.h"
#include "shell/clock.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "tests/harness.h"
#include "text/text.h"
#include "video/video.h"

namespace {

Uint32 Rgb(Uint8 r, Uint8 g, Uint8 b)
{
    return SDL_MapRGB(screen->format, r, g, b);
}

// The picture slots a test filled; they are freed and emptied when it ends.
std::vector<SDL_Surface**> given;

void Solid(SDL_Surface*& slot, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    slot = SolidSurface(w, h, Rgb(r, g, b));
    given.push_back(&slot);
}

class MenuScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        HarnessOpen();
        Solid(optimizedImageCur, 4, 4, 250, 250, 250);
        Solid(optimizedImageCursorp, 4, 4, 5, 5, 5);
        mousechk = 0;
    }
    void TearDown() override
    {
        for (SDL_Surface** slot : given)
            Replace(*slot, nullptr);
        given.clear();
        FreeMenuBackdrop();
        VideoRelease();
    }
};

// ---- chapter map ---------------------------------------------------------------

TEST_F(MenuScreens, MapDotsAndLabelForTheBlocksFinishedAndTheForwardButtonGoesOn)
{
    Solid(Mapi, 800, 600, 90, 70, 40);
    Solid(Mapb, 8, 8, 200, 0, 0);
    Solid(Maps, 6, 6, 0, 200, 0);
    Solid(forhon2, 113, 75, 0, 0, 200);
    Solid(forhoff2, 113, 75, 0, 0, 100);
    rendmp = pmapm = renderput = blink = mdrtm = clnex = mtdm = rmstartTicks = 0;
    auto Frame = [](int level, int button = 0, int x = 100, int y = 100) {
        return RenderMap(x, y, button, KEY_NONE, level, screen);
    };
    auto LabelReads = [](const char* text) {
        SDL_Surface* expect = SolidSurface(800, 600, Rgb(90, 70, 40));
        prikstr(expect, text, 330, 70, 3);
        int differing = PixelsDiffering(expect, screen, 330, 70, 560, 100);
        SDL_FreeSurface(expect);
        return differing == 0;
    };
    const Uint32 big = Rgb(200, 0, 0), small = Rgb(0, 200, 0), ground = Rgb(90, 70, 40);

    // Next level 6: the start and the first dot; the first frame steps at once.
    EXPECT_EQ(Frame(1006), 1006);
    EXPECT_EQ(std::make_tuple(renderput, PixelAt(screen, 506, 448)), std::make_tuple(1, big));
    EXPECT_EQ(PixelAt(screen, 492, 442), small);
    EXPECT_EQ(PixelAt(screen, 475, 433), ground) << "no dot for the second block yet";
    EXPECT_TRUE(LabelReads("LEVEL: 5"));
    EXPECT_EQ(PixelAt(screen, 101, 101), Rgb(250, 250, 250)) << "the pointer's fingertip is at the pointer";

    // Next level 26: five dots, the fifth big and 2 pixels left.
    renderput = 5;
    mdrtm = 0;
    Frame(1026);
    EXPECT_EQ(std::make_tuple(PixelAt(screen, 426, 417), PixelAt(screen, 434, 417)), std::make_tuple(big, ground));
    EXPECT_TRUE(LabelReads("LEVEL: 25"));

    // Next level 96: nineteen dots; the twentieth is not yet reached.
    renderput = 19;
    mdrtm = 0;
    Frame(1096);
    EXPECT_EQ(std::make_tuple(PixelAt(screen, 397, 331), PixelAt(screen, 331, 380), PixelAt(screen, 418, 331)),
              std::make_tuple(small, big, ground))
        << "the nineteenth dot, the third chapter's end, no twentieth";
    EXPECT_TRUE(LabelReads("LEVEL: 95"));

    // (Its 20 ms frames: Dispatch's pacing test.) The button lights under the
    // pointer; a press beside it does nothing, any button on it goes on, to the
    // level after the map.
    rendmp = 0;
    EXPECT_EQ(Frame(1011, 0, 700, 530), 1011);
    EXPECT_EQ(PixelAt(screen, 665, 505), Rgb(0, 0, 200)) << "lit under the pointer";
    EXPECT_EQ(Frame(1011, 0, 774, 530), 1011);
    EXPECT_EQ(PixelAt(screen, 665, 505), Rgb(0, 0, 100)) << "plain off it";
    EXPECT_EQ(Frame(1011, 3, 774, 530), 1011) << "a press beside the button";
    EXPECT_EQ(Frame(1011, 3, 773, 575), 11);
    EXPECT_EQ(rendmp + pmapm + renderput, 0);
}

// ---- options -------------------------------------------------------------------

TEST_F(MenuScreens, OptionsSlidersHoldTheirBandTheBoxFlipsOncePerPressAndEveryPressSaves)
{
    InScratchDir dir;
    Solid(loadedImageCrta, 10, 30, 1, 2, 3);
    renddo = bioo = slimy = chst = fulls = 0;
    slidm = slidf = 50;
    level_no = SCREEN_OPTIONS;
    auto Press = [](int x, int y) { RenderOptions(x, y, 1, screen); };
    auto Release = [](int x, int y) { RenderOptions(x, y, 0, screen); };
    auto Click = [&](int x, int y) { Press(x, y), Release(x, y); };
    const struct {
        int x, volume;
    } presses[] = {{361, 0}, {549, 127}, {434, 49}, {360, 49}, {550, 49}};
    for (const auto& p : presses) {
        Click(p.x, 220);
        EXPECT_EQ(slidm, p.volume) << p.x;
    }
    EXPECT_EQ(slidf, 50);
    Click(400, 280);
    EXPECT_EQ(slidf, 26);
    Release(0, 0);
    EXPECT_EQ(PixelAt(screen, 360 + 38, 262), Rgb(1, 2, 3)) << "the knob at 360 + 1.485 v";

    // A drag keeps to its band while the pointer drifts down over the other one,
    // and past the track's end keeps the last value reached on it.
    Press(400, 220);
    Press(450, 280);
    EXPECT_EQ(std::make_tuple(slidm, slidf), std::make_tuple(60, 26));
    Press(545, 275);
    Press(560, 275);
    EXPECT_EQ(std::make_tuple(slidm, slimy), std::make_tuple(124, 0));
    Release(560, 275);

    // The box flips once per press, and every press saves.
    for (int i = 0; i < 4; i++)
        Press(500, 350);
    EXPECT_EQ(fulls, 1);
    Release(500, 350);
    Click(500, 350);
    EXPECT_EQ(fulls, 0);
    Click(486, 331);
    EXPECT_EQ(fulls, 1);
    Click(485, 331);
    EXPECT_EQ(fulls, 1) << "x 485 is outside the box";

    // A press anywhere rewrites the file with the volumes and the switch.
    slidm = 77;
    remove(CONFIG_FILE);
    Press(10, 10);
    std::vector<unsigned char> bytes = ReadBytes(CONFIG_FILE);
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(GetLE32(&bytes[4]), 77);
    EXPECT_EQ(GetLE32(&bytes[8]), 26) << "the effects volume set above";
    EXPECT_EQ(GetLE32(&bytes[12]), 1);
    Release(10, 10);

    ASSERT_NE(proslisc, nullptr);
    Press(380, 420);
    EXPECT_EQ(std::make_tuple(level_no, proslisc, renddo), std::make_tuple(SCREEN_MENU, nullptr, 0));
}

// ---- credits -------------------------------------------------------------------

TEST_F(MenuScreens, CreditsRiseAPixelPer20MsStartAgainOnceOutAndBackGoesOnItsButton)
{
    Solid(optimizedImageCredits, 800, 600, 0, 0, 0);
    Solid(optimizedImageCreditsm, 690, 1000, 9, 9, 9);
    Solid(btmhon, 113, 75, 0, 0, 200);
    rendc = pcm = 0;
    cceka = 0;
    auto Frame = [](int button = 0, int x = 100, int y = 100, Uint32 gap = 5) {
        ClockDelay(gap);
        return RenderCredits(x, y, button, KEY_NONE, KEY_NONE, screen);
    };
    Frame();
    EXPECT_EQ(clipi, CREDITS_START);
    for (int i = 0; i < 8; i++)
        Frame();
    EXPECT_EQ(clipi, CREDITS_START + 2) << "five-millisecond frames: one pixel every four";
    Frame(0, 100, 100, 250);
    EXPECT_EQ(clipi, CREDITS_START + 2) << "a long gap does not make it jump";

    // The text's top edge shows -clipi pixels down the window.
    clipi = -100;
    cceka = 0;
    Frame();
    EXPECT_EQ(PixelAt(screen, 100, 70 + 99), Rgb(0, 0, 0));
    EXPECT_EQ(PixelAt(screen, 100, 70 + 100), Rgb(9, 9, 9));

    clipi = 999;
    cceka = 0;
    int highest = clipi;
    for (int i = 0; i < 12 && clipi > 0; i++) {
        Frame();
        highest = std::max(highest, clipi);
    }
    EXPECT_EQ(clipi, CREDITS_START);
    EXPECT_EQ(highest, 1000) << "it restarts in the frame that reaches 1001";

    // Opened afresh, back goes only on a press over its button.
    rendc = pcm = 0;
    EXPECT_EQ(Frame(0, 300, 300), SCREEN_CREDITS);
    EXPECT_EQ(Frame(1, 300, 300), SCREEN_CREDITS) << "a press beside the button";
    EXPECT_EQ(Frame(0, 700, 530), SCREEN_CREDITS);
    EXPECT_EQ(PixelAt(screen, 665, 505), Rgb(0, 0, 200));
    menu_first_time = 0;
    EXPECT_EQ(Frame(3, 700, 530), SCREEN_MENU);
    EXPECT_EQ(std::make_tuple(menu_first_time, rendc + pcm), std::make_tuple(1, 0));
}

// ---- help ----------------------------------------------------------------------

TEST_F(MenuScreens, HelpPagesTurnOncePerPressTheLastLeadsBackAndSlotsLightTheirButtonsAndPlayTheirVideos)
{
    for (int p = 1; p <= HELP_PAGES; p++)
        Solid(hbackg[p], 800, 600, static_cast<Uint8>(40 * p), 0, 0);
    Solid(hpb, 40, 40, 0, 100, 0);
    Solid(hpbh, 40, 40, 0, 250, 0);
    backi = renddh = 0;
    level_no = SCREEN_HELP;
    auto Frame = [](int button, int x, int y) { RenderHelp(x, y, button, KEY_NONE, screen); };
    auto Click = [&](int x, int y) { Frame(0, x, y), Frame(1, x, y); };  // a fresh press: over it first
    Frame(0, 400, 300);
    EXPECT_EQ(backi, 1);
    for (int i = 0; i < 5; i++)
        Frame(1, 750, 30);
    EXPECT_EQ(backi, 2);
    // Next, previous, previous by the other button, and none before page 1.
    const int turns[][3] = {{750, 30, 3}, {50, 30, 2}, {109, 71, 1}, {50, 30, 1}};
    for (const auto& t : turns) {
        Click(t[0], t[1]);
        EXPECT_EQ(backi, t[2]) << "a click at " << t[0] << "," << t[1];
    }
    for (int page = 1; page <= 3; page++)
        Click(799, 71);
    EXPECT_EQ(std::make_tuple(level_no, backi + renddh), std::make_tuple(SCREEN_MENU, 0)) << "closed, on no page";

    const Uint32 plain = Rgb(0, 100, 0), lit = Rgb(0, 250, 0);
    Frame(0, 500, 150);
    EXPECT_EQ(std::make_tuple(PixelAt(screen, 534, 163), PixelAt(screen, 200, 409)), std::make_tuple(lit, plain));
    EXPECT_EQ(PixelAt(screen, 200, 163), Rgb(40, 0, 0)) << "page 1's first slot has no button";
    Frame(0, 374, 235);
    EXPECT_EQ(PixelAt(screen, 200, 163), Rgb(40, 0, 0));
    backi = 2;
    Frame(0, 374, 235);
    EXPECT_EQ(PixelAt(screen, 200, 163), lit) << "(374, 235) is inside the top-left slot";
    Frame(0, 95, 235);
    EXPECT_EQ(PixelAt(screen, 200, 163), plain) << "x 95 is outside";
    Frame(0, 300, 90);
    EXPECT_EQ(PixelAt(screen, 200, 163), plain) << "y 90 is outside";

    // Page 3's top-right slot plays help9 at (430, 95), its top-left one help8 at (95, 90).
    InScratchDir dir;
    ASSERT_EQ(system("mkdir -p media/video"), 0);
    for (int k : {8, 9})
        ASSERT_EQ(RunCommand("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=s=240x180:r=40 -frames:v " +
                             std::to_string(k - 6) + " -c:v libtheora media/video/help" + std::to_string(k) + ".ogg"),
                  0);
    backi = 3;
    Click(500, 150);
    EXPECT_TRUE(video_frames == 3 && rectvi.x == 430 && rectvi.y == 95) << video_frames << " at " << rectvi.x;
    EXPECT_EQ(backi, 3);
    Uint32 before = ClockTicks();
    Frame(1, 500, 150);
    EXPECT_EQ(ClockTicks(), before) << "held, it does not play again";
    Click(200, 200);
    EXPECT_TRUE(video_frames == 2 && rectvi.x == 95 && rectvi.y == 90) << video_frames << " at " << rectvi.x;
}

}  // namespace
