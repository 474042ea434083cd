// tovi-hintbench: how long the hint takes to answer, on every level from its
// start and from the middle of its stored solution, with the game's own budget
// and the search on its helper thread as in play. Prints a line per board and a
// summary: the median and the worst time, and how many starts were answered in
// time (a move or "no way out", not "none in time").
//
//   tovi-hintbench [FIRST LAST]     (levels 1..100 by default)
//
// Run from the top of the repository (it reads media/levels and levels/).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "level/level.h"
#include "tools/sim/simcore.h"

// Plays idle frames until the board is at rest (or a limit); 1 when it is.
static int Settle()
{
    for (int i = 0; i < 600; i++) {
        if (cnp != 0 && BoardAtRest() && MovingElement == 0)
            return 1;
        if (SimFrame(0, 790, 10) != SIM_GOING)
            return 0;
    }
    return 0;
}

// The hint from the board in play: its time in milliseconds and its answer.
static double TimeHint(int* state)
{
    auto t0 = std::chrono::steady_clock::now();
    HintAsk();
    if (hintState != HINT_THINKING) {
        *state = HINT_NONE;
        return 0;
    }
    while (!HintPoll())
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    *state = hintState;
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    HintCancel();
    return ms;
}

static const char* Answer(int state)
{
    return state == HINT_MOVE      ? "move"
           : state == HINT_WAIT    ? "wait"
           : state == HINT_NO_WAY  ? "no-way"
           : state == HINT_NO_TIME ? "no-time"
                                   : "refused";
}

static double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int main(int argc, char* argv[])
{
    int first = 1, last = 100;
    if (argc == 3) {
        first = atoi(argv[1]);
        last = atoi(argv[2]);
    }
    if (first < 1 || last > 100 || first > last) {
        fprintf(stderr, "usage: tovi-hintbench [FIRST LAST] (1..100)\n");
        return 2;
    }
    if (!SimOpen()) {
        fprintf(stderr, "tovi-hintbench: cannot start SDL\n");
        return 2;
    }
    std::vector<double> all, starts;
    int startsInTime = 0, startsAsked = 0;
    for (int level = first; level <= last; level++) {
        for (int half = 0; half < 2; half++) {
            SimStart(level, nullptr);
            if (half == 1) {
                std::vector<SimInput> script = SimSolution("levels/level" + std::to_string(level) + ".txt");
                if (script.empty())
                    continue;
                // Half its drags (a level of one drag has no middle).
                int drags = 0;
                for (size_t f = 1; f < script.size(); f++)
                    drags += script[f - 1].button == 1 && script[f].button == 0;
                if (drags < 2)
                    continue;
                int released = 0;
                SimResult r = SIM_GOING;
                for (size_t f = 0; f < script.size() && r == SIM_GOING && released < drags / 2; f++) {
                    r = SimFrame(script[f].button, script[f].x, script[f].y);
                    released += f > 0 && script[f - 1].button == 1 && script[f].button == 0;
                }
                if (r != SIM_GOING) {
                    printf("level %3d middle ended before its middle\n", level);
                    continue;
                }
            }
            if (!Settle()) {
                printf("level %3d %-6s never at rest\n", level, half ? "middle" : "start");
                continue;
            }
            int state = HINT_NONE;
            double ms = TimeHint(&state);
            printf("level %3d %-6s %8.1f ms %s\n", level, half ? "middle" : "start", ms, Answer(state));
            fflush(stdout);
            if (state == HINT_NONE)
                continue;
            all.push_back(ms);
            if (half == 0) {
                starts.push_back(ms);
                startsAsked++;
                startsInTime += state == HINT_MOVE || state == HINT_WAIT || state == HINT_NO_WAY;
            }
        }
    }
    double worst = all.empty() ? 0 : *std::max_element(all.begin(), all.end());
    printf("summary: boards %zu median %.1f ms worst %.1f ms; starts %d answered in time of %d (median %.1f ms)\n",
           all.size(), Median(all), worst, startsInTime, startsAsked, Median(starts));
    SimClose();
    return 0;
}
