// tovi-vbench: how much faster than real time the video player decodes and
// shows a clip, with the frame waits left out. Plays FILE once through the
// real player on the dummy display and prints the frames, their playing time
// under the player's rule (numerator milliseconds per frame), the time taken
// and the ratio. Run by tools/dev/bench_video.sh.
//   tovi-vbench FILE
#include <cstdio>

#include "shell/clock.h"
#include "shell/screen.h"
#include "tools/sim/simcore.h"
#include "video/video.h"

int main(int argc, char* argv[])
{
    const char* file = SimToolStart(argc, argv, "tovi-vbench", "FILE");
    if (!file)
        return 2;
    // The virtual clock makes the splash's header waits free; the cost is
    // measured on the real steady clock.
    video_paced = 0;
    uint64_t start = ClockCostMicros();
    LoadPlayV(file, 0, 0);
    uint64_t took = ClockCostMicros() - start;
    double playing = static_cast<double>(video_frames) * ti.fps_numerator * 1000.0;
    printf("frames %d size %ux%u playing %.0f ms decoding %.1f ms ratio %.2f\n", video_frames, ti.frame_width,
           ti.frame_height, playing / 1000.0, static_cast<double>(took) / 1000.0,
           took ? playing / static_cast<double>(took) : 0.0);
    VideoRelease();
    SimClose();
    return video_frames > 0 ? 0 : 1;
}
