// tovi-sim: plays a level headless from a script, on the virtual clock, and
// prints the board after every frame. The reference tool for level design, the
// solver and the tests.
//
//   tovi-sim --level N [--file PATH] [--shot PNG] [--quiet] [SCRIPT]
//
// --shot saves the last frame the level screen drew as a PNG picture, drawn
// with the art found under media/ in the working directory; the printed
// trace is the same with or without it. --quiet prints only the last line (the
// outcome), for checks that replay whole levels.
// Script lines: "B X Y [K]" = K frames (default 1) with the left button B (0/1)
// and the pointer at (X, Y); "U" takes the last move back, as the undo button
// does, and prints "UNDO done", "UNDO nothing" or "UNDO busy" (after a lost
// level it takes back the move that lost it, and play goes on); "H" asks for a
// hint from the board as it stands, waits for the answer (the game's budget, in
// real time) and prints "HINT move R COL ROW TOCOL" (take record R at that cell,
// slide it to column TOCOL), "HINT wait", "HINT no way out", "HINT none in time"
// or "HINT busy" (the board moves); the board is left as it was. Blank lines and
// lines starting with '#' are skipped.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "level/level.h"
#include "shell/screen.h"
#include "shell/shot.h"
#include "tools/sim/simcore.h"

static int Usage(const char* why)
{
    fprintf(stderr, "tovi-sim: %s (usage: tovi-sim --level N [--file PATH] [--shot PNG] [--quiet] [SCRIPT])\n", why);
    return 2;
}

static bool ParseInt(const char* s, long lo, long hi, long* out)
{
    char* end = nullptr;
    errno = 0;
    long v = strtol(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0' || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

struct Step {
    char kind;  // 'B' frames, 'U' undo, 'H' hint
    int button, x, y;
    long frames;
};

// Parses one script line; returns 0 for a line to skip, 1 for a step, -1 if malformed.
static int ParseLine(char* line, Step* step)
{
    line[strcspn(line, "\r\n")] = '\0';
    char* p = line;
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p == '\0' || *p == '#')
        return 0;
    if ((*p == 'U' || *p == 'H') && p[1 + strspn(p + 1, " \t")] == '\0') {
        *step = Step{*p, 0, 0, 0, 0};
        return 1;
    }
    char* fields[5];
    int n = 0;
    for (char* tok = strtok(p, " \t"); tok; tok = strtok(nullptr, " \t")) {
        if (n == 4)
            return -1;
        fields[n++] = tok;
    }
    long b, x, y, k = 1;
    if (n < 3 || !ParseInt(fields[0], 0, 1, &b) || !ParseInt(fields[1], 0, 65535, &x) ||
        !ParseInt(fields[2], 0, 65535, &y) || (n == 4 && !ParseInt(fields[3], 1, 100000000, &k)))
        return -1;
    *step = Step{'B', static_cast<int>(b), static_cast<int>(x), static_cast<int>(y), k};
    return 1;
}

// The hint from the board as it stands, as the H key asks for it.
static void PrintHint(bool quiet)
{
    HintAsk();
    if (hintState != HINT_THINKING) {
        if (!quiet)
            printf("HINT busy\n");
        return;
    }
    while (!HintPoll())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (!quiet) {
        if (hintState == HINT_MOVE)
            printf("HINT move %d %d %d %d\n", hintRecord, til[hintRecord].x / CELL_SIZE, til[hintRecord].y / CELL_SIZE,
                   til[hintRecord].x / CELL_SIZE + hintCells);
        else
            printf("HINT %s\n", hintState == HINT_WAIT     ? "wait"
                                : hintState == HINT_NO_WAY ? "no way out"
                                                           : "none in time");
    }
}

int main(int argc, char* argv[])
{
    long level = -1;
    const char* file = nullptr;
    const char* shot = nullptr;
    const char* script = nullptr;
    bool quiet = false;
    for (int a = 1; a < argc; a++) {
        if (strcmp(argv[a], "--level") == 0 && a + 1 < argc) {
            if (!ParseInt(argv[++a], 1, 989, &level))
                return Usage("the level must be a number from 1 to 989");
        } else if (strcmp(argv[a], "--file") == 0 && a + 1 < argc) {
            file = argv[++a];
        } else if (strcmp(argv[a], "--shot") == 0 && a + 1 < argc) {
            shot = argv[++a];
        } else if (strcmp(argv[a], "--quiet") == 0) {
            quiet = true;
        } else if (argv[a][0] == '-' && argv[a][1] != '\0') {
            return Usage("unknown option");
        } else if (!script) {
            script = argv[a];
        } else {
            return Usage("more than one script");
        }
    }
    if (level < 0)
        return Usage("--level is required");

    FILE* in = script ? fopen(script, "r") : stdin;
    if (!in) {
        fprintf(stderr, "tovi-sim: cannot read %s: %s\n", script, strerror(errno));
        return 2;
    }
    // The whole script is checked before the first frame runs.
    std::vector<Step> steps;
    char line[1024];
    int lineNo = 0;
    while (fgets(line, sizeof line, in)) {
        lineNo++;
        Step step;
        int kind = ParseLine(line, &step);
        if (kind < 0) {
            fprintf(stderr, "tovi-sim: malformed script line %d\n", lineNo);
            return 2;
        }
        if (kind == 1)
            steps.push_back(step);
    }
    bool readError = ferror(in) != 0;
    if (in != stdin)
        fclose(in);
    if (readError) {
        fprintf(stderr, "tovi-sim: cannot read the script\n");
        return 2;
    }
    if (!SimOpen()) {
        fprintf(stderr, "tovi-sim: cannot start SDL\n");
        return 2;
    }
    if (shot)
        LoadLevelScreenArt();
    SimStart(static_cast<int>(level), file);

    long frame = 0;
    SimResult r = SIM_GOING;
    for (size_t s = 0; s < steps.size() && (r == SIM_GOING || (r == SIM_FAILED && steps[s].kind == 'U')); s++) {
        if (steps[s].kind == 'U') {
            UndoResult u = r == SIM_FAILED ? UndoLostMove() : UndoMove();
            if (u == UNDO_DONE)
                r = SIM_GOING;
            if (!quiet)
                printf("UNDO %s\n", u == UNDO_DONE ? "done" : u == UNDO_BUSY ? "busy" : "nothing");
            continue;
        }
        if (steps[s].kind == 'H') {
            if (r == SIM_GOING)
                PrintHint(quiet);
            continue;
        }
        for (long k = 0; k < steps[s].frames && r == SIM_GOING; k++) {
            frame++;
            r = SimFrame(steps[s].button, steps[s].x, steps[s].y);
            if (!quiet)
                printf("%s\n", SimFrameLine(static_cast<int>(frame)).c_str());
        }
    }
    if (r == SIM_WON)
        printf("WON %ld poen=%d time=%d\n", frame, poen, LEVEL_TIME);
    else if (r == SIM_FAILED)
        printf("FAILED %ld\n", frame);
    else if (r == SIM_MENU)
        printf("MENU %ld\n", frame);
    else
        printf("END %ld\n", frame);
    int status = 0;
    if (shot && !SaveSurfacePng(screen, shot)) {
        fprintf(stderr, "tovi-sim: cannot write %s\n", shot);
        status = 1;
    }
    SimClose();
    return status;
}
