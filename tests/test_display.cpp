// The frame on big screens: the window and full-screen layouts, the pointer's
// way back from the display to the frame at every scale and bar layout, the
// scaled frame against the frame itself, the display settings file, and the
// event pump's mapping, bars and F10/F11 on a real (dummy) display.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "app/tovi.h"
#include "menu/options.h"
#include "shell/display.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "tests/harness.h"
#include "tools/sim/simcore.h"

// Every layout a player is likely to meet: the window at each scale, and full
// screens wider, taller and of the frame's own shape.
static std::vector<FrameLayout> Layouts()
{
    std::vector<FrameLayout> layouts = {WindowLayout(1), WindowLayout(2), WindowLayout(3)};
    const int desktops[][2] = {{2560, 1440}, {1366, 768}, {1920, 1080}, {3840, 2160},
                               {1280, 1024}, {800, 600},  {1600, 1200}, {1440, 900}};
    for (const auto& d : desktops)
        layouts.push_back(FullScreenLayout(d[0], d[1]));
    return layouts;
}

// Full screen is as large as fits with even bars; the window's scale fits the
// desktop with room for its panels; the library that scales is told by its version.
TEST(DisplayLayout, TheFrameFitsTheFullScreenAndTheDesktopAndTheScalerFitsTheLibrary)
{
    const struct {
        int outW, outH, x, y, w, h;
    } fits[] = {{2560, 1440, 320, 0, 1920, 1440},
                {1366, 768, 171, 0, 1024, 768},
                {1280, 1024, 0, 32, 1280, 960},  // taller than the frame: bars above and below
                {800, 600, 0, 0, 800, 600}};
    for (const auto& c : fits) {
        FrameLayout l = FullScreenLayout(c.outW, c.outH);
        EXPECT_TRUE(l.x == c.x && l.y == c.y && l.w == c.w && l.h == c.h) << c.outW << "x" << c.outH;
    }

    // An unknown desktop; 1200 rows do not fit 1080, they and the panels fit 1280; 1599 is too narrow for 2x.
    const int scales[][3] = {{0, 0, 1},       {1024, 768, 1},  {1366, 768, 1},
                             {1920, 1080, 1}, {1920, 1280, 2}, {1920, 1279, 1},
                             {2560, 1440, 2}, {3840, 2160, 3}, {7680, 4320, DISPLAY_MAX_SCALE},
                             {1599, 2000, 1}};
    for (const auto& f : scales)
        EXPECT_EQ(FitWindowScale(f[0], f[1]), f[2]) << f[0] << "x" << f[1];
    // The compatibility library over SDL 2 reports itself as 1.2.50 or later, and scales the frame itself.
    EXPECT_TRUE(ScalerOfLibrary(1, 2, 15) == SCALER_SOFTWARE && ScalerOfLibrary(2, 0, 50) == SCALER_SOFTWARE);
    EXPECT_TRUE(ScalerOfLibrary(1, 2, 50) == SCALER_LIBRARY && ScalerOfLibrary(1, 2, 68) == SCALER_LIBRARY);
}

// Every frame pixel is reached by the warp to it and read back exactly; every
// display pixel maps to a frame pixel in order, the frame's edges to its edge
// pixels, and the bars report themselves.
TEST(DisplayLayout, PointerMapsExactlyOnEveryLayout)
{
    for (const FrameLayout& l : Layouts()) {
        SCOPED_TRACE(std::to_string(l.outW) + "x" + std::to_string(l.outH) + " frame " + std::to_string(l.w));
        for (int fx = 0; fx < SCREEN_W; fx++) {
            int dx, dy, bx, by;
            FrameToDisplay(l, fx, fx % SCREEN_H, &dx, &dy);
            ASSERT_EQ(DisplayToFrame(l, dx, dy, &bx, &by), 1);
            ASSERT_EQ(std::make_tuple(bx, by), std::make_tuple(fx, fx % SCREEN_H));
        }
        int last = -1;
        for (int d = 0; d < l.outW; d++) {
            int fx, fy;
            int inside = DisplayToFrame(l, d, l.y, &fx, &fy);
            ASSERT_EQ(inside, d >= l.x && d < l.x + l.w) << d;
            ASSERT_TRUE(fx >= last && (!inside || fx - last <= 1)) << "in order, no frame column skipped at " << d;
            last = fx;
        }
        // The frame's corners, and the bars beyond them, which give the nearest frame pixel.
        const int corners[][5] = {{l.x, l.y, 1, 0, 0},
                                  {l.x + l.w - 1, l.y + l.h - 1, 1, SCREEN_W - 1, SCREEN_H - 1},
                                  {l.x + l.w, l.y + l.h, 0, SCREEN_W - 1, SCREEN_H - 1},
                                  {l.x - 1, l.y - 1, 0, 0, 0}};
        for (const auto& c : corners) {
            int fx, fy, inside = DisplayToFrame(l, c[0], c[1], &fx, &fy);
            EXPECT_TRUE(inside == c[2] && fx == c[3] && fy == c[4])
                << c[0] << "," << c[1] << " gives " << fx << "," << fy;
        }
    }
}

// ---- the scaler ----------------------------------------------------------------
static std::vector<uint32_t> Pattern(uint32_t seed)
{
    SDL_Surface* noise = NoiseSurface(SCREEN_W, SCREEN_H, seed);
    std::vector<uint32_t> p = SurfacePixels(noise);
    SDL_FreeSurface(noise);
    return p;
}

static std::vector<uint32_t> Scaled(const FrameLayout& l, const std::vector<uint32_t>& src)
{
    std::vector<uint32_t> out(static_cast<size_t>(l.outW) * l.outH, 0xdeadbeefu);
    SDL_Rect r;
    ScaleFrame(l, src.data(), SCREEN_W, out.data(), l.outW, 0, 0, SCREEN_W, SCREEN_H, &r);
    EXPECT_TRUE(r.x == l.x && r.w == l.w && r.h == l.h) << "the display rectangle written";
    return out;
}

// In-between scales: a display pixel inside one frame pixel shows it exactly;
// one across an edge lies between the frame pixels it covers, channel by
// channel; bars are left alone; a flat frame stays flat.
TEST(DisplayScaler, InBetweenScalesBlendOnlyAcrossPixelEdges)
{
    std::vector<uint32_t> src = Pattern(11);
    for (FrameLayout l : {FullScreenLayout(2560, 1440), FullScreenLayout(1366, 768)}) {
        std::vector<uint32_t> out = Scaled(l, src);
        int exact = 0;
        for (int y = 0; y < l.h; y++)
            for (int x = 0; x < l.w; x++) {
                int64_t x0 = static_cast<int64_t>(x) * SCREEN_W, x1 = x0 + SCREEN_W;  // in 1/w frame pixels
                int64_t y0 = static_cast<int64_t>(y) * SCREEN_H, y1 = y0 + SCREEN_H;
                int a = static_cast<int>(x0 / l.w), b = static_cast<int>((x1 - 1) / l.w);
                int c = static_cast<int>(y0 / l.h), d = static_cast<int>((y1 - 1) / l.h);
                uint32_t got = out[static_cast<size_t>(y + l.y) * l.outW + x + l.x];
                if (a == b && c == d) {
                    ASSERT_EQ(got, src[static_cast<size_t>(c) * SCREEN_W + a]) << x << "," << y;
                    exact++;
                    continue;
                }
                for (int shift = 0; shift < 24; shift += 8) {
                    int lo = 255, hi = 0, v = (got >> shift) & 0xff;
                    for (int yy = c; yy <= d; yy++)
                        for (int xx = a; xx <= b; xx++) {
                            int w = (src[static_cast<size_t>(yy) * SCREEN_W + xx] >> shift) & 0xff;
                            lo = std::min(lo, w), hi = std::max(hi, w);
                        }
                    ASSERT_TRUE(v >= lo - 1 && v <= hi + 1)
                        << x << "," << y << ": " << v << " not in " << lo << ".." << hi;
                }
            }
        // Each edge between two frame pixels blends at most one display column
        // (row); every other display pixel shows one frame pixel as it is.
        EXPECT_GE(exact, (l.w - SCREEN_W + 1) * (l.h - SCREEN_H + 1));
        EXPECT_EQ(out[0], 0xdeadbeefu) << "bars are not written";
        std::vector<uint32_t> flat(static_cast<size_t>(SCREEN_W) * SCREEN_H, 0x00a0b0c0u);
        std::vector<uint32_t> flatOut = Scaled(l, flat);
        for (int y = 0; y < l.h; y++)
            for (int x = 0; x < l.w; x++)
                ASSERT_EQ(flatOut[static_cast<size_t>(y + l.y) * l.outW + x + l.x], 0x00a0b0c0u);
    }
}

// Whole scales repeat each pixel. Scaling only a changed rectangle (and its
// neighbours) gives the same display as scaling the whole changed frame.
TEST(DisplayScaler, WholeScalesRepeatEachPixelAndPartOfTheFrameMatchesTheWhole)
{
    for (FrameLayout l : {WindowLayout(1), WindowLayout(2), WindowLayout(3), FullScreenLayout(2560, 1440),
                          FullScreenLayout(1366, 768), FullScreenLayout(1280, 1024)}) {
        std::vector<uint32_t> src = Pattern(3);
        std::vector<uint32_t> piece = Scaled(l, src);
        for (int k = l.w / SCREEN_W, y = 0; l.outW == k * SCREEN_W && y < l.outH; y++)
            for (int x = 0; x < l.outW; x++)
                ASSERT_EQ(piece[static_cast<size_t>(y) * l.outW + x],
                          src[static_cast<size_t>(y / k) * SCREEN_W + x / k])
                    << k << "x at " << x << "," << y;
        for (int y = 101; y < 157; y++)
            for (int x = 333; x < 391; x++)
                src[static_cast<size_t>(y) * SCREEN_W + x] ^= 0x00ffffffu;
        SDL_Rect r;
        ScaleFrame(l, src.data(), SCREEN_W, piece.data(), l.outW, 332, 100, 392, 158, &r);
        EXPECT_EQ(piece, Scaled(l, src)) << l.outW << "x" << l.outH;
    }
}

// ---- "display.dat" ----------------------------------------------------------------
TEST(DisplaySettings, RoundTripAndDamagedFiles)
{
    InScratchDir dir;
    EXPECT_EQ(ReadDisplaySettings(), 0) << "no file";
    EXPECT_EQ(display_scale, 0);
    for (int k = 0; k <= DISPLAY_MAX_SCALE; k++) {
        display_scale = k;
        ASSERT_EQ(WriteDisplaySettings(), 1);
        display_scale = -5;
        EXPECT_EQ(ReadDisplaySettings(), 1);
        EXPECT_EQ(display_scale, k);
    }
    std::vector<unsigned char> good = ReadBytes(DISPLAY_FILE);
    ASSERT_EQ(good, (std::vector<unsigned char>{'T', 'O', 'V', 'D', 1, 0, 0, 0, DISPLAY_MAX_SCALE, 0, 0, 0}));
    EXPECT_EQ(ReadBytes(std::string(DISPLAY_FILE) + ".tmp").size(), 0u) << "no temporary file is left";
    auto damaged = [&](std::vector<unsigned char> bytes, const char* what) {
        WriteBytes(DISPLAY_FILE, bytes);
        display_scale = 2;
        EXPECT_EQ(ReadDisplaySettings(), 0) << what;
        EXPECT_EQ(display_scale, 0) << what << " reads as the desktop's fit";
    };
    const struct {
        int at;
        unsigned char value;
        const char* what;
    } changes[] = {{0, 'X', "wrong magic"},
                   {4, 2, "unknown version"},
                   {8, 4, "scale too large"},
                   {11, 0xff, "negative scale"},
                   {12, 0, "longer than written"}};
    for (const auto& c : changes) {
        std::vector<unsigned char> b = good;
        b.resize(std::max<size_t>(b.size(), c.at + 1));
        b[c.at] = c.value;
        damaged(b, c.what);
    }
    damaged(std::vector<unsigned char>(good.begin(), good.begin() + 11), "cut short");
    damaged({}, "empty");
}

// ---- the display on the dummy driver ----------------------------------------------
// The game scaling its frame into a 3x window and a full screen with bars.
class DisplayOnDummy : public ::testing::Test {
protected:
    void SetUp() override
    {
        HarnessOpen();
        display_scaler = SCALER_SOFTWARE;
        desktop_w = 2400;
        desktop_h = 1800;
    }
    InScratchDir dir;
    void TearDown() override
    {
        fulls = 0;
        display_scale = 0;
        desktop_w = desktop_h = 0;
        HarnessOpen();  // back to the plain 800 x 600 surface for the tests after
    }
};

TEST_F(DisplayOnDummy, ShownFrameIsTheFrameScaledAndFollowsChangesAndOnTheFullScreenThePointerMapsAndBarsClickNothing)
{
    fulls = 0;
    display_scale = 3;
    ASSERT_EQ(DisplayOpen(), 1);
    ASSERT_TRUE(display->w == 2400 && display->h == 1800);
    ASSERT_TRUE(screen != display && screen->w == SCREEN_W) << "the game draws into a frame of its own";
    SDL_Surface* noise = NoiseSurface(SCREEN_W, SCREEN_H, 5);
    SDL_BlitSurface(noise, nullptr, screen, nullptr);
    SDL_FreeSurface(noise);
    ShowFrame(screen);
    for (int y = 0; y < 1800; y += 7)
        for (int x = 0; x < 2400; x += 5)
            ASSERT_EQ(PixelAt(display, x, y), PixelAt(screen, x / 3, y / 3) & 0x00ffffffu) << x << "," << y;
    // A small change reaches the display, as does one far away in the same frame.
    SDL_Rect box = {500, 400, 10, 10};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 1, 2, 3));
    SDL_Rect dot = {3, 590, 1, 1};
    SDL_FillRect(screen, &dot, SDL_MapRGB(screen->format, 9, 9, 9));
    ShowFrame(screen);
    EXPECT_EQ(PixelAt(display, 1500, 1200), PixelAt(screen, 500, 400));
    EXPECT_EQ(PixelAt(display, 1529, 1229), PixelAt(screen, 509, 409));
    EXPECT_EQ(PixelAt(display, 11, 1772), SDL_MapRGB(display->format, 9, 9, 9));
    EXPECT_EQ(PixelAt(display, 1530, 1230), PixelAt(screen, 510, 410));

    desktop_w = 2560;
    desktop_h = 1440;
    fulls = 1;
    ASSERT_EQ(DisplayOpen(), 1);
    ASSERT_EQ(display->w, 2560) << "full screen at the desktop's own size";
    ASSERT_EQ(display_layout.x, 320);
    level_no = SCREEN_QUIT;        // a screen that takes input and draws nothing
    PushMotion(0, 320 + 12, 719);  // 2.4 display pixels per frame pixel
    CheckKeys();
    EXPECT_EQ(std::make_tuple(ToviMouseX, ToviMouseY), std::make_tuple(5, 299));
    PushButton(true, 2300, 700);  // on the right bar
    CheckKeys();
    EXPECT_EQ(std::make_tuple(but, display_bar_press), std::make_tuple(0, 1)) << "a press on a bar is no click";
    PushMotion(1, 1000, 700);  // held down, into the frame
    CheckKeys();
    EXPECT_EQ(but, 0) << "a press begun on a bar holds nothing in the frame";
    PushButton(false, 1000, 700);
    CheckKeys();
    EXPECT_EQ(display_bar_press, 0);
    PushButton(true, 1000, 700);
    CheckKeys();
    EXPECT_EQ(std::make_tuple(but, ToviMouseX), std::make_tuple(1, 283)) << "a press in the frame clicks";
}

// F11 switches to the window and back, F10 steps the window's scale, and both are
// kept. The options screen's window sizes, clicked through the event pump: the
// window opens at once in the size picked (out of full screen), the size is kept
// in "display.dat", and a size the desktop has no room for takes no click.
TEST_F(DisplayOnDummy, F11AndF10SwitchAndAreKeptAndTheOptionsPickTheWindowSizeTheDesktopAllows)
{
    ReadSettings();  // defaults: full screen
    ReadDisplaySettings();
    ASSERT_EQ(fulls, 1);
    ASSERT_EQ(DisplayOpen(), 1);
    ASSERT_EQ(display->w, 2400);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 40, 50, 60));
    level_no = SCREEN_QUIT;
    auto key = [](SDLKey sym) { PushKey(sym, 0), CheckKeys(); };
    // The window shows at width w, and display.dat keeps scale k.
    auto shows = [](int w, int k) { return display->w == w && ReadDisplaySettings() == 1 && display_scale == k; };
    key(SDLK_F11);
    EXPECT_EQ(std::make_tuple(fulls, ReadBytes(CONFIG_FILE)[12], display->w), std::make_tuple(0, 0, 1600))
        << "the switch saved in config.dat, the window the 2400 x 1800 desktop fits with its panels";
    EXPECT_EQ(PixelAt(display, 800, 600), SDL_MapRGB(display->format, 40, 50, 60)) << "the picture survives the switch";
    key(SDLK_F10);
    EXPECT_EQ(display->w, 2400);
    key(SDLK_F10);
    EXPECT_TRUE(shows(800, 1)) << "past the largest scale, back to 1x";
    key(SDLK_F11);
    EXPECT_EQ(fulls, 1);
    key(SDLK_F10);
    EXPECT_TRUE(fulls == 0 && display->w == 800) << "F10 in full screen shows the window at the scale it had";
    EXPECT_EQ(ReadBytes(CONFIG_FILE).size(), 20u) << "config.dat keeps its five words";

    fulls = 1;  // the options, opened in full screen
    ASSERT_EQ(DisplayOpen(), 1);
    level_no = SCREEN_OPTIONS;
    renddo = bioo = 1;  // entered, the panel shown
    // A press (and its release) at a frame point; the new mode forgets the held
    // button: the pointer is reported up.
    auto click = [](int fx, int fy, int events = 2) {
        int dx, dy;
        FrameToDisplay(display_layout, fx, fy, &dx, &dy);
        for (int e = 0; e < events; e++) {
            PushMotion(0, dx, dy);
            PushButton(e == 0, dx, dy);
            CheckKeys();
        }
    };
    auto size = [&](const SDL_Rect& r) { click(r.x + r.w / 2, r.y + r.h / 2); };
    size(WindowSizeHot[3]);
    EXPECT_EQ(std::make_tuple(fulls, ReadBytes(CONFIG_FILE)[12], level_no), std::make_tuple(0, 0, SCREEN_OPTIONS))
        << "a window size leaves full screen and says so in config.dat";
    EXPECT_TRUE(shows(2400, 3) && !(display->flags & SDL_FULLSCREEN));
    size(WindowSizeHot[1]);
    EXPECT_TRUE(shows(800, 1));
    desktop_w = 1920, desktop_h = 1200;  // a smaller desktop: 2x fits, 3x does not
    size(WindowSizeHot[3]);
    EXPECT_TRUE(shows(800, 1)) << "no room for 3x: the click does nothing";
    size(WindowSizeHot[2]);
    EXPECT_TRUE(shows(1600, 2));
    click(400, 415, 1);  // OK still answers at the new scale
    EXPECT_TRUE(level_no == SCREEN_MENU && shows(1600, 2));
}
