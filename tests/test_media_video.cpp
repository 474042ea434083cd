// The game's videos as the player sees them: each a Theora stream of the size
// its place needs, marked 40 ms a frame, as long as it was made to be, and
// showing a picture (not a blank frame) at its end.
#include <gtest/gtest.h>

#include <string>

#include "shell/clock.h"
#include "shell/screen.h"
#include "tests/harness.h"
#include "video/video.h"

namespace {

// How much of the rectangle at (x, y) differs from one colour.
int Busy(int x, int y, int w, int h)
{
    SDL_LockSurface(screen);
    const Uint32* px = static_cast<const Uint32*>(screen->pixels);
    int stride = screen->pitch / 4, busy = 0;
    Uint32 first = px[y * stride + x];
    for (int j = y; j < y + h; j += 3)
        for (int i = x; i < x + w; i += 3)
            busy += px[j * stride + i] != first;
    SDL_UnlockSurface(screen);
    return busy;
}

TEST(MediaVideo, SplashAndHelpClipsAreTheoraOfTheirSizeAndLength)
{
    HarnessOpen();
    const struct {
        std::string file;
        unsigned w, h;
        int minFrames, maxFrames;  // 40 ms each
    } videos[] = {
        {"splash", 800, 600, 75, 125},  {"help1", 240, 180, 40, 200},  {"help2", 240, 180, 40, 200},
        {"help3", 240, 180, 40, 200},   {"help4", 240, 180, 40, 200},  {"help5", 240, 180, 40, 200},
        {"help6", 240, 180, 40, 200},   {"help7", 240, 180, 40, 200},  {"help8", 240, 180, 40, 200},
        {"help9", 240, 180, 40, 200},   {"help10", 240, 180, 40, 200}, {"help11", 240, 180, 40, 200},
    };
    for (const auto& v : videos) {
        std::string path = std::string(TOVI_SOURCE_DIR) + "/media/video/" + v.file + ".ogg";
        SDL_FillRect(screen, nullptr, 0);
        Uint32 before = ClockTicks();
        LoadPlayV(path.c_str(), 430, 95);
        EXPECT_EQ(ti.frame_width, v.w) << v.file;
        EXPECT_EQ(ti.frame_height, v.h) << v.file;
        EXPECT_EQ(ti.fps_numerator, 40u) << v.file;
        EXPECT_GE(video_frames, v.minFrames) << v.file;
        EXPECT_LE(video_frames, v.maxFrames) << v.file;
        EXPECT_GE(ClockTicks() - before, 40u * static_cast<Uint32>(video_frames)) << v.file;
        int w = static_cast<int>(v.w) < SCREEN_W - 430 ? static_cast<int>(v.w) : SCREEN_W - 430;
        int h = static_cast<int>(v.h) < SCREEN_H - 95 ? static_cast<int>(v.h) : SCREEN_H - 95;
        EXPECT_GT(Busy(430, 95, w, h), w * h / 9 / 4) << v.file << ": the last frame is a picture";
    }
    VideoRelease();
}

}  // namespace
