// The video player on damaged files: whatever the file holds, the player shows
// what it can decode and returns, and the next video starts clean.
//
// Input: one byte the position of the picture (the splash's place, or the help
// pages'), the rest the file.
#include <cstdint>

#include "tests/fuzz/fuzz_common.h"
#include "video/video.h"

static constexpr const char* VIDEO_FILE = "fuzz.ogg";

int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    video_paced = 0;  // frames shown back to back: the clock is not what is tested
    return 0;
}

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    int where = in.Byte();
    WriteBytes(VIDEO_FILE, in.Take(size));
    LoadPlayV(VIDEO_FILE, where & 1 ? 128 : 0, where & 1 ? 92 : 0);
    FUZZ_CHECK(video_frames >= 0);
    if (yuv_overlay) {
        // A stream the player took is no bigger than the screen.
        FUZZ_CHECK(rectvi.w <= 800 && rectvi.h <= 600);
    }
    VideoRelease();
    FUZZ_CHECK(yuv_overlay == nullptr && theora_p == 0);
    return 0;
}
