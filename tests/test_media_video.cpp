// The game's videos as the player sees them: each a Theora stream of the size
// its place needs, marked 40 ms a frame, as long as it was made to be, and
// showing a picture (not a blank frame) at its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/display.h"
#include "shell/screen.h"
#include "tests/harness.h"
#include "video/video.h"

namespace {

// How much of the rectangle at (x, y) differs from one colour.
int Busy(int x, int y, int w, int h)
{
    std::vector<Uint32> px = SurfacePixels(screen);
    int busy = 0;
    for (int j = y; j < y + h; j += 3)
        for (int i = x; i < x + w; i += 3)
            busy += px[j * screen->w + i] != px[y * screen->w + x];
    return busy;
}

static bool OverlayDrawnByLibrary()
{
    const SDL_version* v = SDL_Linked_Version();
    return ScalerOfLibrary(v->major, v->minor, v->patch) == SCALER_LIBRARY;
}

TEST(MediaVideo, SplashAndHelpClipsAreTheoraOfTheirSizeAndLength)
{
    HarnessOpen();
    // The splash fills the frame for 3 to 5 s; the eleven help clips fill their
    // page's box for 1.6 to 8 s.
    for (int n = 0; n <= 11; n++) {
        std::string file = n == 0 ? "splash" : "help" + std::to_string(n);
        unsigned w = n == 0 ? 800 : 240, h = n == 0 ? 600 : 180;
        int minFrames = n == 0 ? 75 : 40, maxFrames = n == 0 ? 125 : 200;
        std::string path = std::string(TOVI_SOURCE_DIR) + "/media/video/" + file + ".ogg";
        SDL_FillRect(screen, nullptr, 0);
        LoadPlayV(path.c_str(), 430, 95);
        EXPECT_TRUE(ti.frame_width == w && ti.frame_height == h) << file;
        EXPECT_EQ(ti.fps_numerator, 40u) << file;
        EXPECT_TRUE(video_frames >= minFrames && video_frames <= maxFrames) << file << ": " << video_frames;
        int shownW = std::min<int>(w, SCREEN_W - 430), shownH = std::min<int>(h, SCREEN_H - 95);
        // The compatibility library's renderer draws the overlay itself, not
        // into the frame's pixels: there the picture cannot be read back.
        if (!OverlayDrawnByLibrary()) {
            EXPECT_GT(Busy(430, 95, shownW, shownH), shownW * shownH / 9 / 4)
                << file << ": the last frame is a picture";
        }
    }
    VideoRelease();
}

// The frames of a help clip as the player would show them, decoded by ffmpeg
// into 240 x 180 RGB pictures.
constexpr int CLIP_PIXELS = 240 * 180;
std::vector<std::vector<unsigned char>> ClipFrames(int n)
{
    std::string path = std::string(TOVI_SOURCE_DIR) + "/media/video/help" + std::to_string(n) + ".ogg";
    std::string cmd = "ffmpeg -nostdin -loglevel error -i '" + path + "' -f rawvideo -pix_fmt rgb24 -";
    std::vector<std::vector<unsigned char>> frames;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return frames;
    std::vector<unsigned char> f(CLIP_PIXELS * 3);
    while (fread(f.data(), 1, f.size(), p) == f.size())
        frames.push_back(f);
    pclose(p);
    return frames;
}

// Share of a frame in the parchment of the level's panels (LEVEL FAILED, LEVEL
// COMPLETE); the boards' sand and stone stay well below it.
double Parchment(const std::vector<unsigned char>& f)
{
    int n = 0;
    for (int i = 0; i < CLIP_PIXELS; i++)
        n += f[i * 3] > 225 && f[i * 3 + 1] > 210 && f[i * 3 + 2] > 165;
    return n / static_cast<double>(CLIP_PIXELS);
}

// Share of a frame that differs clearly (beyond the grain) from another.
double Changed(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int n = 0;
    for (int i = 0; i < CLIP_PIXELS; i++) {
        int d = 0;
        for (int c = 0; c < 3; c++)
            d += a[i * 3 + c] > b[i * 3 + c] ? a[i * 3 + c] - b[i * 3 + c] : b[i * 3 + c] - a[i * 3 + c];
        n += d > 120;
    }
    return n / static_cast<double>(CLIP_PIXELS);
}

// What each clip shows against its caption: clips 1 to 9 show a mechanic at
// work, so the board moves and the level is neither lost nor won in them (a
// board whose lone treasures fail at once shows the LEVEL FAILED panel for the
// whole clip); clip 10 ("the level fails") ends on the failed panel and clip 11
// ("to finish the level") on the finished one, after a board in play.
TEST(MediaVideo, EachHelpClipShowsWhatItsCaptionSays)
{
    for (int n = 1; n <= 11; n++) {
        std::vector<std::vector<unsigned char>> frames = ClipFrames(n);
        ASSERT_GE(frames.size(), 40u) << "help" << n;
        double moved = 0;
        for (const auto& f : frames)
            moved = std::max(moved, Changed(frames[0], f));
        EXPECT_GT(moved, 0.01) << "help" << n << ": the board never moves";
        EXPECT_LT(Parchment(frames[0]), 0.05) << "help" << n << ": starts on a board in play";
        if (n <= 9) {
            for (size_t i = 0; i < frames.size(); i++)
                ASSERT_LT(Parchment(frames[i]), 0.05) << "help" << n << " frame " << i << " shows a level panel";
        } else {
            EXPECT_GT(Parchment(frames.back()), 0.15) << "help" << n << " ends on its level panel";
            size_t third = frames.size() / 3;
            EXPECT_LT(Parchment(frames[third]), 0.05) << "help" << n << ": the panel comes only at the end";
        }
    }
}

}  // namespace
