// tovi-bench: what one level frame costs. Plays the busiest of the game's levels
// (the one with the most objects) headless on the virtual clock, with all its
// art, and measures in real time the logic and drawing of each frame beside one
// bare full-screen blit onto the same surface.
//
//   tovi-bench [FRAMES]     prints: level, objects, frame and blit medians in
//                           microseconds, and their ratio
//   tovi-bench FRAMES K     the same in a window K times the frame, the game
//                           scaling its frame into it: the frame now includes
//                           showing it, and the blit is one bare blit of a
//                           surface of the window's size onto the window
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "level/level.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "tools/sim/simcore.h"

static int CountObjects(int level)
{
    char path[64];
    snprintf(path, sizeof path, "media/levels/level%d.bin", level);
    FILE* f = fopen(path, "rb");
    if (!f)
        return -1;
    unsigned char cells[BOARD_CELLS];
    size_t got = fread(cells, 1, BOARD_CELLS, f);
    fclose(f);
    int n = 0;
    for (size_t i = 0; i < got; i++)
        n += cells[i] != 0;
    return n;
}

static uint64_t Median(std::vector<uint64_t> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int main(int argc, char* argv[])
{
    int frames = argc > 1 ? atoi(argv[1]) : 400;
    if (frames < 1 || frames > 100000) {
        fprintf(stderr, "tovi-bench: FRAMES must be 1 to 100000\n");
        return 2;
    }
    int scale = argc > 2 ? atoi(argv[2]) : 0;
    if (scale < 0 || scale > DISPLAY_MAX_SCALE) {
        fprintf(stderr, "tovi-bench: K must be 1 to %d\n", DISPLAY_MAX_SCALE);
        return 2;
    }
    int busiest = 0, most = -1;
    for (int level = 1; level <= 100; level++) {
        int n = CountObjects(level);
        if (n > most) {
            most = n;
            busiest = level;
        }
    }
    if (most < 0) {
        fprintf(stderr, "tovi-bench: no levels under media/levels (run it from the game's directory)\n");
        return 2;
    }
    if (!SimOpen()) {
        fprintf(stderr, "tovi-bench: cannot start SDL\n");
        return 2;
    }
    if (scale > 0) {
        display_scaler = SCALER_SOFTWARE;
        display_scale = scale;
        fulls = 0;
        if (!DisplayOpen()) {
            fprintf(stderr, "tovi-bench: cannot open a %dx window\n", scale);
            return 2;
        }
    }
    LoadLevelScreenArt();
    SimStart(busiest, nullptr);

    // The pointer rests away from the board, as while the player thinks: the
    // board's objects move and animate by themselves.
    std::vector<uint64_t> frameCost, blitCost;
    SDL_Surface* backdrop = LevelImage ? LevelImage : CopyScreen(screen);
    SDL_Surface* target = screen;
    if (scale > 0) {
        // A picture of the window's size, in its layout, drawn whole onto it.
        target = display;
        backdrop = SDL_CreateRGBSurface(SDL_SWSURFACE, display->w, display->h, 32, display->format->Rmask,
                                        display->format->Gmask, display->format->Bmask, 0);
        SDL_FillRect(backdrop, nullptr, SDL_MapRGB(backdrop->format, 90, 80, 60));
    }
    for (int i = 0; i < frames; i++) {
        uint64_t t0 = ClockCostMicros();
        SimFrame(0, 790, 10);
        if (scale > 0)
            ShowFrame(screen);
        uint64_t t1 = ClockCostMicros();
        SDL_BlitSurface(backdrop, nullptr, target, nullptr);  // the library's own blit, as the yardstick
        uint64_t t2 = ClockCostMicros();
        if (i >= 10) {  // the first frames load and settle
            frameCost.push_back(t1 - t0);
            blitCost.push_back(t2 - t1);
        }
    }
    uint64_t f = Median(frameCost), b = Median(blitCost);
    printf("level %d objects %d frame_us %llu blit_us %llu ratio %.2f\n", busiest, most,
           static_cast<unsigned long long>(f), static_cast<unsigned long long>(b),
           b ? static_cast<double>(f) / static_cast<double>(b) : 0.0);
    if (backdrop != LevelImage)
        SDL_FreeSurface(backdrop);
    SimClose();
    return 0;
}
