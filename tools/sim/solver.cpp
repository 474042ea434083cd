// tovi-solve: finds the shortest way to win a level, on the game's own engine.
//
//   tovi-solve LEVELFILE [--level N] [--max-moves N] [--max-states N] [--first]
//
// A move grabs an element, slides it one or more cells left or right and lets
// go; then the board is left to settle (falls, matches and their vanishing
// played out). In a level with platforms the moment matters too, so there a
// move may also be a wait of one platform cell (40 frames); waits cost nothing
// in the move count. The search is breadth-first over settled boards, so the
// first win it meets uses the fewest moves. Every board is reached by restoring
// a saved engine state and playing on, frame by frame, through the same code the
// game runs; nothing is drawn, because the solver works in an empty scratch
// directory where no art is found. The winning script is then played once more
// from the level's start, as tovi-sim plays it, and only a replay that ends in
// WON is printed as a solution.
//
// Unless --first is given the search goes on after the first win until it has
// seen every board reachable within the limits, and counts the dead ends: boards
// from which no win can be reached (a move that loses at once counts too).
//
// Output: the solution as tovi-sim script lines, then a summary line
//   moves=M waits=W states=S deadends=D            (a full search)
//   moves=M waits=W states=S deadends=unknown      (a limit cut the search short)
// or "unsolved states=S[ too large]" with exit status 1.
// --level sets the level number the board is played as (its chapter decides
// whether a chapter picture gates the first frame); by default it is read from a
// file name "level<N>.bin", else 2.
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "level/level.h"
#include "shell/clock.h"
#include "shell/screen.h"
#include "tools/sim/simcore.h"

namespace {

long framesPlayed = 0;
SimResult Frame(int button, int x, int y)
{
    framesPlayed++;
    return SimFrame(button, x, y);
}

struct Step {
    int button, x, y, frames;
};
using Script = std::vector<Step>;

constexpr int SETTLE_CAP = 1500;  // frames a board may take to come to rest after a move
constexpr int WAIT_FRAMES = 40;
constexpr int HOLD_CAP = 45;     // frames a slide may wait for its element to pass a row boundary   // one cell of platform travel
constexpr int PARK_X = 790;       // where the pointer rests between moves: over no element
constexpr int PARK_Y = 10;

std::string levelPath;
int levelNo = 2;
bool hasPlatforms = false;

// Records that can change during play: every object but the fixed tiles.
std::vector<int> live;

// A node of the search: a settled board, how it was reached, and its successors.
struct Node {
    SimState* state;  // freed once the node is expanded
    int parent;
    Script move;      // the script from the parent's board to this one
    int moves;        // drag moves from the start
    int waits;
    bool wins;        // a win is reachable from here
    std::vector<int> next;
};
std::vector<Node> nodes;

uint64_t Mix(uint64_t h, uint64_t v)
{
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h * 0xff51afd7ed558ccdULL;
}

// What tells two settled boards apart: every object's place, type and platform
// state, and the state of the magnet, the crumbling block, the teleport pad and
// the jammed pits. The spike phase and the clock are left out.
uint64_t BoardHash()
{
    uint64_t h = 1469598103934665603ULL;
    for (int i : live) {
        const TileRecord& t = til[i];
        h = Mix(h, (static_cast<uint64_t>(static_cast<uint32_t>(t.type)) << 40) ^
                       (static_cast<uint64_t>(static_cast<uint32_t>(t.x)) << 20) ^
                       static_cast<uint64_t>(static_cast<uint32_t>(t.y)) ^
                       (static_cast<uint64_t>(t.state) << 60));
    }
    h = Mix(h, static_cast<uint64_t>(imeUP) | static_cast<uint64_t>(taster_pritisnut) << 16 |
                   static_cast<uint64_t>(prekameni) << 24 | static_cast<uint64_t>(kameni) << 40);
    h = Mix(h, static_cast<uint64_t>(bio126) | static_cast<uint64_t>(spikedsi) << 32);
    for (int k = 1; k <= spikedsi && k < SPIKEDS_SIZE; k++)
        h = Mix(h, static_cast<uint64_t>(spikeds[k]));
    return h;
}

int MagnetRecord()
{
    for (int i : live)
        if (til[i].type == EL_MAGNET)
            return i;
    return 0;
}

// At rest: no animation running, nothing dragged, every movable object held up
// (or hanging under the magnet), and nothing but a block sitting in a spike pit.
bool Settled()
{
    // A cleared board is not at rest: the win comes once the last puff has gone.
    // (cnp is counted at the start of a frame, so a match in it shows next frame.)
    bool left = false;
    for (int i : live) {
        int t = til[i].type;
        left = left || (t >= EL_FIRST && t <= EL_LAST_MATCHABLE) || (t > 200 && t != EL_BLOCK + STUCK_OFFSET &&
                                                                      t != EL_BLOCK + PAD_OFFSET);
    }
    if (cnp == 0 || !left)
        return false;
    // The puff of a match may still be playing: the next move can start meanwhile.
    if (telex != 0 || spiked != 0 || raspad != 0 || movsp != 0 || probo != 0 || MovingElement != 0)
        return false;
    int magnet = imeUP ? MagnetRecord() : 0;
    for (int i : live) {
        const TileRecord& t = til[i];
        if (!IsMovable(t.type))
            continue;
        if (i == imeUP) {
            if (magnet == 0 || t.y != til[magnet].y + CELL_SIZE)
                return false;
            continue;
        }
        if (!HeldUp(i))
            return false;
        if (t.type != EL_BLOCK)
            for (int j : live)
                if (til[j].type == EL_SPIKES && til[j].x == t.x && til[j].y == t.y)
                    return false;
    }
    return true;
}

int PlatformPhase()
{
    return static_cast<int>((clock_now / 20) % WAIT_FRAMES);
}

// Plays frames with the button up until the board rests; appends them to script.
SimResult Settle(Script& script)
{
    SimResult r = SIM_GOING;
    int frames = 0;
    while (frames < SETTLE_CAP) {
        r = Frame(0, PARK_X, PARK_Y);
        frames++;
        // Where platforms travel, boards are taken only on every WAIT_FRAMES-th
        // frame of the level, so that a platform is met in few places.
        if (r != SIM_GOING || (Settled() && frames >= 2 && (!hasPlatforms || PlatformPhase() == 0)))
            break;
    }
    script.push_back({0, PARK_X, PARK_Y, frames});
    return r;
}

SimResult Play(const Script& s)
{
    SimResult r = SIM_GOING;
    for (const Step& st : s)
        for (int k = 0; k < st.frames && r == SIM_GOING; k++)
            r = Frame(st.button, st.x, st.y);
    return r;
}

// Whether the cell (col, row) lets a slid element in: nothing in it but a
// teleport entrance or a spike pit, as the drag itself decides.
bool Free(int self, int col, int row)
{
    if (col < 0 || col >= BOARD_COLS)
        return false;
    int cx = col * CELL_SIZE, cy = row * CELL_SIZE;
    for (int j = 1; j <= ukupnot; j++) {
        if (j == self)
            continue;
        const TileRecord& t = til[j];
        if (t.type == EL_TELE_IN || t.type == EL_SPIKES)
            continue;
        if (abs(t.y - cy) < CELL_SIZE && t.x > cx - CELL_SIZE && t.x < cx + CELL_SIZE)
            return false;
    }
    return true;
}

struct Stats {
    long deadMoves = 0;
};
Stats stats;

void Print(const Script& s)
{
    for (const Step& st : s)
        printf("%d %d %d %d\n", st.button, st.x, st.y, st.frames);
}

Script PathTo(int n)
{
    std::vector<int> chain;
    for (int k = n; k >= 0; k = nodes[k].parent)
        chain.push_back(k);
    Script s;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        s.insert(s.end(), nodes[*it].move.begin(), nodes[*it].move.end());
    return s;
}

// What the winning play made use of, for grading a level: a platform that
// carried something, mud that caught an element, the teleport, a crumbling block
// that broke, a block that jammed a spike pit, and the magnet lifting an element.
struct Used {
    bool carried = false, stuck = false, teleported = false, crumbled = false, jammed = false, lifted = false;
};
Used used;

void NoteUse()
{
    for (int i : live) {
        const TileRecord& t = til[i];
        if (t.type > 200 && t.type < 221)
            used.stuck = true;
        if (t.type == EL_LIFT_H || t.type == EL_LIFT_V)
            for (int j : live)
                if (j != i && IsMovable(til[j].type) && IsExistUp(t, til[j]))
                    used.carried = true;
    }
    used.teleported = used.teleported || telex != 0;
    used.crumbled = used.crumbled || raspad != 0;
    used.jammed = used.jammed || spikedsi > 0;
    used.lifted = used.lifted || imeUP != 0;
}

// Plays the whole script from the level's start, as tovi-sim does.
bool Replays(const Script& s)
{
    SimStart(levelNo, levelPath.c_str());
    used = Used();
    SimResult r = SIM_GOING;
    for (const Step& st : s)
        for (int k = 0; k < st.frames && r == SIM_GOING; k++) {
            r = Frame(st.button, st.x, st.y);
            NoteUse();
        }
    return r == SIM_WON;
}

}  // namespace

int main(int argc, char** argv)
{
    int maxMoves = 12;
    long maxStates = 200000;
    bool first = false;
    bool levelGiven = false;
    const char* file = nullptr;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--max-moves") && i + 1 < argc)
            maxMoves = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--max-states") && i + 1 < argc)
            maxStates = atol(argv[++i]);
        else if (!strcmp(argv[i], "--level") && i + 1 < argc)
            levelNo = atoi(argv[++i]), levelGiven = true;
        else if (!strcmp(argv[i], "--first"))
            first = true;
        else if (!file && argv[i][0] != '-')
            file = argv[i];
        else
            file = nullptr, i = argc;
    }
    if (!file || maxMoves < 1 || maxStates < 1 || levelNo < 1 || levelNo > 989) {
        fprintf(stderr, "usage: tovi-solve LEVELFILE [--level N] [--max-moves N] [--max-states N] [--first]\n");
        return 2;
    }
    char* full = realpath(file, nullptr);
    if (!full) {
        fprintf(stderr, "tovi-solve: cannot find %s\n", file);
        return 2;
    }
    levelPath = full;
    free(full);
    const char* base = strrchr(levelPath.c_str(), '/');
    int n = 0;
    if (!levelGiven && base && sscanf(base, "/level%d.bin", &n) == 1 && n >= 1 && n <= 989)
        levelNo = n;

    // An empty working directory: no art, no fonts, so nothing is drawn.
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
    SimStart(levelNo, levelPath.c_str());
    for (int i = 1; i <= ukupnot; i++) {
        if (til[i].type >= EL_FIRST)
            live.push_back(i);
        if (til[i].type == EL_LIFT_H || til[i].type == EL_LIFT_V)
            hasPlatforms = true;
    }

    Script start;
    SimResult r = Settle(start);
    std::unordered_map<uint64_t, int> seen;
    nodes.push_back({new SimState, -1, start, 0, 0, false, {}});
    SimSave(nodes[0].state);
    int won = -1;           // the first winning node (a pseudo node holding the last move)
    std::vector<int> wins;  // every node a winning move leaves from
    bool limited = false;
    bool exact = true;      // no board was left out before the first win: its move count is the least
    if (r == SIM_WON) {
        Print(start);
        printf("moves=0 waits=0 states=1 deadends=0\n");
        SimClose();
        rmdir(scratch);
        return 0;
    }
    if (r != SIM_GOING) {
        printf("unsolved states=1\n");
        SimClose();
        rmdir(scratch);
        return 1;
    }
    seen[BoardHash()] = 0;
    // 0-1 breadth-first: a wait costs no move, so its board joins the current depth.
    std::vector<int> current = {0}, later;
    int depth = 0;
    SimState mid;
    while (!current.empty()) {
        for (size_t qi = 0; qi < current.size(); qi++) {
            int ni = current[qi];
            if (nodes[ni].moves >= maxMoves) {
                limited = true;
                continue;
            }
            SimState here = *nodes[ni].state;
            delete nodes[ni].state;
            nodes[ni].state = nullptr;
            auto consider = [&](Script move, SimResult res, bool wait) {
                if (res == SIM_WON) {
                    if (won < 0) {
                        exact = !limited;
                        won = static_cast<int>(nodes.size());
                        nodes.push_back({nullptr, ni, move, nodes[ni].moves + (wait ? 0 : 1),
                                         nodes[ni].waits + (wait ? 1 : 0), false, {}});
                    }
                    nodes[ni].wins = true;
                    wins.push_back(ni);
                    return;
                }
                if (res != SIM_GOING) {
                    stats.deadMoves++;
                    return;
                }
                uint64_t h = BoardHash();
                auto it = seen.find(h);
                if (it != seen.end()) {
                    nodes[ni].next.push_back(it->second);
                    return;
                }
                if (static_cast<long>(nodes.size()) >= maxStates) {
                    limited = true;
                    return;
                }
                int k = static_cast<int>(nodes.size());
                seen[h] = k;
                nodes.push_back({new SimState, ni, move, nodes[ni].moves + (wait ? 0 : 1),
                                 nodes[ni].waits + (wait ? 1 : 0), false, {}});
                SimSave(nodes[k].state);
                nodes[ni].next.push_back(k);
                (wait ? current : later).push_back(k);
            };
            // The moves: every movable element that stands on something (riders of
            // platforms too), slid 1.. cells either way.
            std::vector<int> movers;
            SimLoad(here);
            for (int i : live)
                if (IsMovable(til[i].type) && i != imeUP && HeldUp(i))
                    movers.push_back(i);
            for (int i : movers) {
                for (int dir : {-1, 1}) {
                    SimLoad(here);
                    const TileRecord t = til[i];
                    int gx = t.x + CELL_SIZE / 2, gy = t.y + CELL_SIZE / 2;
                    int col = gx / CELL_SIZE, row = (t.y + CELL_SIZE / 2) / CELL_SIZE;
                    if (!Free(i, col + dir, row))
                        continue;
                    Script prefix = {{0, gx, gy, 1}, {1, gx, gy, 1}};
                    SimResult res = Play(prefix);
                    if (res != SIM_GOING || proslie != i)
                        continue;
                    Script slide = prefix;  // the held frames, cell by cell
                    for (int k = 1; k < BOARD_COLS; k++) {
                        int target = col + dir * k;
                        if (!Free(i, target, til[i].y / CELL_SIZE))
                            break;
                        int tx = target * CELL_SIZE + CELL_SIZE / 2;
                        // Held frames slide the element into the next cell; one on a
                        // moving platform waits until it passes a row boundary.
                        int waited = 0;
                        while (res == SIM_GOING && waited < HOLD_CAP && proslie == i && MovingElement == 1 &&
                               til[i].x != target * CELL_SIZE) {
                            res = Frame(1, tx, gy);
                            waited++;
                        }
                        slide.push_back({1, tx, gy, waited});
                        if (res == SIM_GOING && (proslie != i || til[i].x != target * CELL_SIZE) &&
                            MovingElement == 1)
                            break;  // it could not get there
                        bool dropped = res == SIM_GOING && !HeldUp(i);
                        SimResult holdRes = res;
                        SimSave(&mid);
                        Script move = slide;
                        if (res == SIM_GOING)
                            res = Frame(0, tx, gy);
                        move.push_back({0, tx, gy, 1});
                        if (res == SIM_GOING)
                            res = Settle(move);
                        consider(move, res, false);
                        SimLoad(mid);
                        // The slide is over once the element has dropped off, vanished or stuck.
                        if (holdRes != SIM_GOING || dropped || proslie != i || MovingElement == 0)
                            break;
                        res = SIM_GOING;
                    }
                }
            }
            if (hasPlatforms) {
                SimLoad(here);
                Script move = {{0, PARK_X, PARK_Y, WAIT_FRAMES}};
                SimResult res = Play(move);
                if (res == SIM_GOING)
                    res = Settle(move);
                consider(move, res, true);
            }
        }
        if (won >= 0 && first)
            break;
        current.swap(later);
        later.clear();
        depth++;
    }
    for (Node& nd : nodes) {
        delete nd.state;
        nd.state = nullptr;
    }
    long states = static_cast<long>(nodes.size()) - (won >= 0 ? 1 : 0);
    if (won < 0) {
        printf("unsolved states=%ld%s\n", states, limited ? " too large" : "");
        SimClose();
        rmdir(scratch);
        return 1;
    }
    Script solution = PathTo(won);
    if (!Replays(solution)) {
        printf("unsolved states=%ld (the found script does not replay to a win)\n", states);
        SimClose();
        rmdir(scratch);
        return 1;
    }
    Print(solution);
    fprintf(stderr, "tovi-solve: %ld frames played in the search\n", framesPlayed);
    printf("used=%s%s%s%s%s%s-\n", used.carried ? "carried," : "", used.stuck ? "stuck," : "",
           used.teleported ? "teleported," : "", used.crumbled ? "crumbled," : "", used.jammed ? "jammed," : "",
           used.lifted ? "lifted," : "");
    if (limited || first) {
        printf("moves=%d waits=%d states=%ld deadends=unknown fewest=%s\n", nodes[won].moves, nodes[won].waits,
               states, exact ? "exact" : "bound");
    } else {
        // A board is a dead end when none of its successors leads to a win.
        std::vector<std::vector<int>> back(nodes.size());
        for (size_t k = 0; k < nodes.size(); k++)
            for (int m : nodes[k].next)
                back[m].push_back(static_cast<int>(k));
        std::vector<int> todo(wins.begin(), wins.end());
        while (!todo.empty()) {
            int k = todo.back();
            todo.pop_back();
            for (int p : back[k])
                if (!nodes[p].wins) {
                    nodes[p].wins = true;
                    todo.push_back(p);
                }
        }
        long dead = 0;
        for (size_t k = 0; k < nodes.size(); k++)
            if (static_cast<int>(k) != won && !nodes[k].wins)
                dead++;
        printf("moves=%d waits=%d states=%ld deadends=%ld losing=%ld fewest=exact\n", nodes[won].moves, nodes[won].waits, states,
               dead, stats.deadMoves);
    }
    SimClose();
    rmdir(scratch);
    return 0;
}
