// tovi-solve: finds the shortest way to win a level, on the game's own engine
// (the search itself is level/solver).
//
//   tovi-solve LEVELFILE [--level N] [--max-moves N] [--max-states N] [--first]
//                        [--probe [--probe-states N]] [--threads 1|2] [--millis MS]
//                        [--steps] [--greedy] [--random N [--seed S]]
//
// By default the whole graph of boards within the limits is searched, which
// settles the fewest drags, the dead ends and the choices along the way. With
// --first only the fewest drags are looked for, by the A* search over drags
// (level/solver.h), which reaches much deeper. Output: the solution as tovi-sim
// script lines, a line "used=..." naming what the winning play made use of (a platform that
// `carried` something, mud that caught an element (`stuck`), the teleport
// (`teleported`), a crumbling block that broke (`crumbled`), a block that
// `jammed` a spike pit, the magnet that `lifted` an element), then a summary
//   moves=M waits=W states=S deadends=D losing=L fewest=exact first=F firstlosing=FL
//   moves=M waits=W states=S deadends=unknown fewest=exact|bound
// or "unsolved states=S[ too large]" with exit status 1. --steps adds, before the
// summary, a line "steps=" with each step of the shortest win as
// drags/winning/shortest: the drags there are, those that keep a win, those that
// keep the shortest.
// --probe is for boards whose whole graph is too large: after --first's search,
// every drag at the start and at each step of the win it found is played and
// asked by a fewest-drags search of at most --probe-states boards (default
// 20000) whether a win is left after it (level/solver.h, SolveProbe). It prints
// the win, "used=", with --steps a line "steps=" of drags/winning/shortest/unknown
// per step, and the summary
//   moves=M waits=W states=S deadends=unknown fewest=exact|bound first=F firstlosing=FL
//   probe=1 firstunknown=U unknown=SU questions=Q
// (on one line) where a drag whose search ran out of budget is unknown, counted
// neither winning nor losing: firstlosing and a step's critical count are lower
// bounds. --millis bounds the search and the probe each.
// --greedy plays the level as a greedy player would instead (a winning drag, else
// a matching one, else the one that brings equal elements closest) and prints
// "greedy=won|lost|stuck drags=D"; --random N plays it N times with drags picked
// at random (seeds S..S+N-1) and prints "random=W/N" (the plays won), both within
// --max-moves drags. --level sets the level number the board is played as; by
// default it is read from a file name "level<N>.bin", else 2.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "level/level.h"
#include "level/solver.h"
#include "tools/sim/simcore.h"

namespace {

struct Options {
    const char* file = nullptr;
    std::string path;
    int level = 2;
    bool levelGiven = false;
    int maxMoves = 12;
    long maxStates = 200000;
    bool first = false;
    bool probe = false;
    long probeStates = 20000;
    bool steps = false;
    int threads = 1;
    long millis = 0;
    bool greedy = false;
    int random = 0;
    unsigned seed = 1;
};

bool ParseArgs(int argc, char** argv, Options* o)
{
    for (int i = 1; i < argc; i++) {
        bool more = i + 1 < argc;
        if (!strcmp(argv[i], "--max-moves") && more)
            o->maxMoves = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--max-states") && more)
            o->maxStates = atol(argv[++i]);
        else if (!strcmp(argv[i], "--level") && more)
            o->level = atoi(argv[++i]), o->levelGiven = true;
        else if (!strcmp(argv[i], "--threads") && more)
            o->threads = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--millis") && more)
            o->millis = atol(argv[++i]);
        else if (!strcmp(argv[i], "--first"))
            o->first = true;
        else if (!strcmp(argv[i], "--probe"))
            o->probe = true;
        else if (!strcmp(argv[i], "--probe-states") && more)
            o->probeStates = atol(argv[++i]);
        else if (!strcmp(argv[i], "--steps"))
            o->steps = true;
        else if (!strcmp(argv[i], "--greedy"))
            o->greedy = true;
        else if (!strcmp(argv[i], "--random") && more)
            o->random = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--seed") && more)
            o->seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 10));
        else if (!o->file && argv[i][0] != '-')
            o->file = argv[i];
        else
            return false;
    }
    return o->file && o->maxMoves >= 1 && o->maxMoves <= SOLVE_MAX_DRAGS && o->maxStates >= 1 && o->level >= 1 &&
           o->level <= 989 && (o->threads == 1 || o->threads == 2) && o->millis >= 0 && o->random >= 0 &&
           o->random <= 100000 && !(o->greedy && o->random) && o->probeStates >= 1 &&
           !(o->probe && (o->first || o->greedy || o->random));
}

bool FindLevel(Options* o)
{
    char* full = realpath(o->file, nullptr);
    if (!full)
        return false;
    o->path = full;
    free(full);
    const char* base = strrchr(o->path.c_str(), '/');
    int n = 0;
    if (!o->levelGiven && base && sscanf(base, "/level%d.bin", &n) == 1 && n >= 1 && n <= 989)
        o->level = n;
    return true;
}

void Print(const std::vector<SolveStep>& s)
{
    for (const SolveStep& st : s)
        printf("%d %d %d %d\n", st.button, st.x, st.y, st.frames);
}

// What the winning play made use of, seen frame by frame as it replays.
struct Used {
    bool carried = false, stuck = false, teleported = false, crumbled = false, jammed = false, lifted = false;
};

void NoteUse(Used* u)
{
    for (int i = 1; i <= ukupnot; i++) {
        const TileRecord& t = til[i];
        if (t.type > 200 && t.type < 221)
            u->stuck = true;
        if (t.type == EL_LIFT_H || t.type == EL_LIFT_V)
            for (int j = 1; j <= ukupnot; j++)
                if (j != i && IsMovable(til[j].type) && IsExistUp(t, til[j]))
                    u->carried = true;
    }
    u->teleported = u->teleported || telex != 0;
    u->crumbled = u->crumbled || raspad != 0;
    u->jammed = u->jammed || spikedsi > 0;
    u->lifted = u->lifted || imeUP != 0;
}

void PrintUsed(const LevelState& start, const std::vector<SolveStep>& script)
{
    Used u;
    LevelLoad(start);
    bioret = 1;
    LevelOutcome r = LEVEL_GOING;
    for (const SolveStep& st : script)
        for (int k = 0; k < st.frames && r == LEVEL_GOING; k++) {
            r = LevelStep(st.button, st.x, st.y);
            NoteUse(&u);
        }
    printf("used=%s%s%s%s%s%s-\n", u.carried ? "carried," : "", u.stuck ? "stuck," : "",
           u.teleported ? "teleported," : "", u.crumbled ? "crumbled," : "", u.jammed ? "jammed," : "",
           u.lifted ? "lifted," : "");
}

int RunFirst(const Options& o, const SolveLimits& limits)
{
    SolveResult r;
    SolveFewest(limits, &r);
    fprintf(stderr, "tovi-solve: %ld frames played in the search\n", r.frames);
    if (r.outcome != SOLVE_FOUND) {
        printf("unsolved states=%ld%s\n", r.boards, r.outcome == SOLVE_BUDGET ? " too large" : "");
        return 1;
    }
    Print(r.script);
    PrintUsed(limits.start, r.script);
    (void)o;
    printf("moves=%d waits=%d states=%ld deadends=unknown fewest=%s\n", r.drags, r.waits, r.boards,
           r.exact ? "exact" : "bound");
    return 0;
}

int RunProbe(const Options& o, SolveLimits* limits)
{
    SolveResult r;
    SolveFewest(*limits, &r);
    if (r.outcome != SOLVE_FOUND) {
        fprintf(stderr, "tovi-solve: %ld frames played in the search\n", r.frames);
        printf("unsolved states=%ld%s\n", r.boards, r.outcome == SOLVE_BUDGET ? " too large" : "");
        return 1;
    }
    limits->maxBoards = o.probeStates;
    SolveChoices c;
    SolveProbe(*limits, r.moves, &c);
    fprintf(stderr, "tovi-solve: %ld frames played in the search, %ld in the probe's %ld searches of %ld boards\n",
            r.frames, c.frames, c.questions, c.boards);
    Print(r.script);
    PrintUsed(limits->start, r.script);
    if (c.outcome != SOLVE_FOUND) {
        fprintf(stderr, "tovi-solve: the win found did not replay along the probe\n");
        return 1;
    }
    int unknown = c.firstUnknown;
    for (int u : c.stepUnknown)
        unknown += u;
    if (o.steps) {
        printf("steps=");
        for (size_t k = 0; k < c.stepDrags.size(); k++)
            printf("%s%d/%d/%d/%d", k ? "," : "", c.stepDrags[k], c.stepWinning[k], c.stepShortest[k],
                   c.stepUnknown[k]);
        printf("\n");
    }
    printf("moves=%d waits=%d states=%ld deadends=unknown fewest=%s first=%d firstlosing=%d probe=1 firstunknown=%d "
           "unknown=%d questions=%ld\n",
           r.drags, r.waits, r.boards, r.exact ? "exact" : "bound", c.firstDrags, c.firstLosing, c.firstUnknown,
           unknown, c.questions);
    return 0;
}

int RunPlayers(const Options& o, const SolveLimits& limits)
{
    SolvePlayout play;
    long frames = 0;
    if (o.greedy) {
        SolvePlay(limits, SOLVE_GREEDY, 0, &play);
        printf("greedy=%s drags=%d\n", play.won ? "won" : play.stuck ? "stuck" : "lost", play.drags);
        frames = play.frames;
    } else {
        int won = 0;
        for (int k = 0; k < o.random; k++) {
            SolvePlay(limits, SOLVE_RANDOM, o.seed + static_cast<unsigned>(k), &play);
            won += play.won ? 1 : 0;
            frames += play.frames;
        }
        printf("random=%d/%d\n", won, o.random);
    }
    fprintf(stderr, "tovi-solve: %ld frames played\n", frames);
    return 0;
}

int RunGraph(const Options& o, const SolveLimits& limits)
{
    SolveGraph g;
    SolveExplore(limits, &g);
    fprintf(stderr, "tovi-solve: %ld frames played in the search\n", g.frames);
    if (g.outcome != SOLVE_FOUND) {
        printf("unsolved states=%ld%s\n", g.boards, g.complete ? "" : " too large");
        return 1;
    }
    Print(g.script);
    PrintUsed(limits.start, g.script);
    if (o.steps) {
        printf("steps=");
        for (size_t k = 0; k < g.stepDrags.size(); k++)
            printf("%s%d/%d/%d", k ? "," : "", g.stepDrags[k], g.stepWinning[k], g.stepShortest[k]);
        printf("\n");
    }
    if (g.complete)
        printf("moves=%d waits=%d states=%ld deadends=%ld losing=%ld fewest=exact first=%d firstlosing=%d\n", g.fewest,
               g.fewestWaits, g.boards, g.deadEnds, g.losingMoves, g.firstDrags, g.firstLosing);
    else
        printf("moves=%d waits=%d states=%ld deadends=unknown fewest=bound\n", g.fewest, g.fewestWaits, g.boards);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseArgs(argc, argv, &o)) {
        fprintf(stderr, "usage: tovi-solve LEVELFILE [--level N] [--max-moves N] [--max-states N] [--first] "
                        "[--probe [--probe-states N]] [--threads 1|2] [--millis MS] [--steps] [--greedy] "
                        "[--random N [--seed S]]\n");
        return 2;
    }
    if (!FindLevel(&o)) {
        fprintf(stderr, "tovi-solve: cannot find %s\n", o.file);
        return 2;
    }
    // An empty working directory: no art, no fonts, nothing loaded by accident.
    char scratch[] = "/tmp/tovi-solve-XXXXXX";
    if (!mkdtemp(scratch) || chdir(scratch) != 0) {
        fprintf(stderr, "tovi-solve: no scratch directory\n");
        return 2;
    }
    if (!SimOpen()) {
        fprintf(stderr, "tovi-solve: SDL would not start\n");
        rmdir(scratch);
        return 2;
    }
    SimStart(o.level, o.path.c_str());
    SolveLimits* limits = new SolveLimits;
    LevelSave(&limits->start);
    limits->maxDrags = o.maxMoves;
    limits->maxBoards = o.maxStates;
    limits->maxMillis = o.millis;
    limits->threads = o.threads;
    int status = o.greedy || o.random ? RunPlayers(o, *limits)
                 : o.probe            ? RunProbe(o, limits)
                 : o.first            ? RunFirst(o, *limits)
                                      : RunGraph(o, *limits);
    delete limits;
    SimClose();
    rmdir(scratch);
    return status;
}
