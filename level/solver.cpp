#include "level/solver.h"

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "level/level.h"
#include "shell/clock.h"
#include "shell/media.h"
#include "shell/screen.h"

namespace {

constexpr int SETTLE_CAP = 1500;  // frames a board may take to come to rest after a move
constexpr int HOLD_CAP = 45;      // frames a slide may wait for its element to pass a row boundary
// ... and one off a vertical platform, for the ride to bring it level with the way
// out: a whole trip down and up its shaft at a pixel a frame, and a cell more.
int RideCap(int top, int bottom)
{
    return (2 * (bottom - top + 1) + 1) * CELL_SIZE;
}
constexpr int TT_ENTRY_BYTES = 64;             // what one board of the fewest-drags search costs, with its table entry
constexpr int NODE_BYTES = 96;                 // what one board of the whole graph costs, with its moves
constexpr int STRANDED = SOLVE_MAX_DRAGS * 4;  // the lower bound of a board no win is left from

// What one thread needs to play a level: which records can change, whether the
// moment matters, whether the column bound holds, and its share of the budget.
struct Player {
    std::vector<int> live;  // records that can change during play: every object but the fixed tiles
    bool platforms = false;
    bool sideways = false;  // something but a drag moves elements sideways: no column bound
    bool fallsOnly = true;  // no platform or magnet: an element only falls, is dragged or teleported
    std::bitset<BOARD_CELLS> walls, entrances, pads;             // the fixed tiles' cells, from the start
    mutable std::vector<std::bitset<BOARD_CELLS>> reach, touch;  // per cell, once asked: see Stranded
    mutable std::vector<char> reachKnown;
    long frames = 0;
    const SolveLimits* limits = nullptr;
    uint64_t deadline = 0;  // ClockCostMicros() past which the search stops; 0 none
    std::atomic<int>* stop = nullptr;
};

void PlayerFor(Player* p, const SolveLimits& limits, std::atomic<int>* stop)
{
    p->limits = &limits;
    p->stop = stop;
    p->deadline = limits.maxMillis > 0 ? ClockCostMicros() + static_cast<uint64_t>(limits.maxMillis) * 1000 : 0;
    const LevelState& s = limits.start;
    for (int i = 1; i <= s.ukupnot && i < TIL_SIZE; i++) {
        int t = s.til[i].type;
        if (t >= EL_FIRST || t == 0)
            p->live.push_back(i);
        if (t == EL_LIFT_H || t == EL_LIFT_V)
            p->platforms = true;
        if (t == EL_LIFT_H || t == EL_TELE_IN)
            p->sideways = true;
        if (t == EL_LIFT_H || t == EL_LIFT_V || t == EL_MAGNET || t == EL_BUTTON)
            p->fallsOnly = false;
        int col = s.til[i].x / CELL_SIZE, row = s.til[i].y / CELL_SIZE;
        if (col < 0 || col >= BOARD_COLS || row < 0 || row >= BOARD_ROWS)
            continue;
        size_t cell = static_cast<size_t>(row * BOARD_COLS + col);
        if (t >= 1 && t <= 99)
            p->walls.set(cell);
        else if (t == EL_TELE_IN)
            p->entrances.set(cell);
        else if (t == EL_TELE_OUT || IsOnPad(t))
            p->pads.set(cell);
    }
}

// The cells in CELLS and those beside, above and below them.
std::bitset<BOARD_CELLS> Near(const std::bitset<BOARD_CELLS>& cells)
{
    static const std::bitset<BOARD_CELLS> inner = [] {
        std::bitset<BOARD_CELLS> m;  // every cell but those of the first column
        for (int c = 0; c < BOARD_CELLS; c++)
            m.set(static_cast<size_t>(c), c % BOARD_COLS != 0);
        return m;
    }();
    return cells | ((cells << 1) & inner) | ((cells & inner) >> 1) | (cells << BOARD_COLS) | (cells >> BOARD_COLS);
}

// Every cell an element at CELL could ever get to where it only falls, is dragged
// and is teleported: down, sideways and from an entrance to any pad, through every
// cell but a wall's, as if the other objects were not there (they may move away,
// crumble or let it sink). Worked out once a cell is asked, with the cells it
// could touch from there.
void ReachOf(const Player& p, size_t cell)
{
    if (p.reachKnown.empty()) {
        p.reach.assign(BOARD_CELLS, {});
        p.touch.assign(BOARD_CELLS, {});
        p.reachKnown.assign(BOARD_CELLS, 0);
    }
    if (p.reachKnown[cell])
        return;
    std::bitset<BOARD_CELLS>& got = p.reach[cell];
    int todo[BOARD_CELLS], n = 0;
    auto go = [&](int c) {
        if (!got.test(static_cast<size_t>(c)) && !p.walls.test(static_cast<size_t>(c))) {
            got.set(static_cast<size_t>(c));
            todo[n++] = c;
        }
    };
    got.set(cell);
    todo[n++] = static_cast<int>(cell);
    while (n > 0) {
        int c = todo[--n], col = c % BOARD_COLS, row = c / BOARD_COLS;
        if (row + 1 < BOARD_ROWS)
            go(c + BOARD_COLS);
        if (col > 0)
            go(c - 1);
        if (col + 1 < BOARD_COLS)
            go(c + 1);
        if (p.entrances.test(static_cast<size_t>(c)))
            for (int pad = 0; pad < BOARD_CELLS; pad++)
                if (p.pads.test(static_cast<size_t>(pad)))
                    go(pad);
    }
    p.touch[cell] = Near(got);
    p.reachKnown[cell] = 1;
}

// A batch's work, share 0 here and share 1 on a second thread when two cores
// are to be used, both done before it returns.
template <class Work> void OnOneOrTwoCores(bool two, Work& work)
{
    if (two) {
        std::thread helper(work, 1);
        work(0);
        helper.join();
    } else {
        work(0);
    }
}

// Each thread that plays for the solver plays silently on the virtual clock.
void BecomeSolverThread()
{
    EffectsMuted = 1;
    LevelSearching = 1;
    clock_virtual = 1;
}

// While one stands, this thread plays for the solver; when it goes, the thread's
// sound, searching and clock flags are as it found them.
struct SolverThreadScope {
    int muted = EffectsMuted, searching = LevelSearching, virtualClock = clock_virtual;
    SolverThreadScope() { BecomeSolverThread(); }
    ~SolverThreadScope()
    {
        EffectsMuted = muted;
        LevelSearching = searching;
        clock_virtual = virtualClock;
    }
};

bool OutOfBudget(const Player& p)
{
    if (p.stop && p.stop->load(std::memory_order_relaxed))
        return true;
    if (p.limits->cancel && p.limits->cancel->load(std::memory_order_relaxed))
        return true;
    return p.deadline != 0 && ClockCostMicros() > p.deadline;
}

LevelOutcome Frame(Player& p, int button, int x, int y)
{
    p.frames++;
    return LevelStep(button, x, y);
}

int MagnetRecord(const Player& p)
{
    for (int i : p.live)
        if (til[i].type == EL_MAGNET)
            return i;
    return 0;
}

// The kind a record counts as among the elements still to match (stuck in mud
// or on the exit pad too, the block never), 0 for any other record.
int MatchKind(int t)
{
    if (t >= STUCK_FIRST && t != EL_BLOCK + STUCK_OFFSET && t != EL_BLOCK + PAD_OFFSET)
        return t <= STUCK_LAST ? t - STUCK_OFFSET : t - PAD_OFFSET;
    return t >= EL_FIRST && t <= EL_LAST_MATCHABLE ? t : 0;
}

// The elements still to match: each one's kind, column and row; returns how many.
int Pieces(const Player& p, int* kinds, int* cols, int* rows)
{
    int n = 0;
    for (int i : p.live) {
        int kind = MatchKind(til[i].type);
        if (kind != 0 && n < BOARD_CELLS) {
            kinds[n] = kind;
            cols[n] = til[i].x / CELL_SIZE;
            rows[n++] = til[i].y / CELL_SIZE;
        }
    }
    return n;
}

// At rest: no animation running, nothing dragged, every movable object held up
// (or hanging under the magnet), and nothing but a block sitting in a spike pit.
// A cleared board is not at rest: the win comes once the last puff has gone.
bool Settled(const Player& p)
{
    bool left = false;
    for (int i : p.live) {
        int t = til[i].type;
        left = left || MatchKind(t) != 0;
    }
    if (cnp == 0 || !left)
        return false;
    if (telex != 0 || spiked != 0 || raspad != 0 || movsp != 0 || probo != 0 || MovingElement != 0)
        return false;
    int magnet = imeUP ? MagnetRecord(p) : 0;
    for (int i : p.live) {
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
            for (int j : p.live)
                if (til[j].type == EL_SPIKES && til[j].x == t.x && til[j].y == t.y)
                    return false;
    }
    return true;
}

// Where platforms travel, boards are taken only when the first platform stands
// exactly on a cell, so that it is met in few places: one for each cell of its
// run and way it goes. (A beat of the level's clock would not do: a platform
// rests a frame where it turns, so its ride drifts against any fixed beat and
// meets every beat in a different place.)
bool OnCell(const Player& p)
{
    for (int i : p.live)
        if (til[i].type == EL_LIFT_H || til[i].type == EL_LIFT_V)
            return til[i].x % CELL_SIZE == 0 && til[i].y % CELL_SIZE == 0;
    return true;
}

void Add(std::vector<SolveStep>* script, SolveStep s)
{
    if (script && s.frames > 0)
        script->push_back(s);
}

// Plays frames with the button up until the board rests.
LevelOutcome Settle(Player& p, std::vector<SolveStep>* script)
{
    LevelOutcome r = LEVEL_GOING;
    int frames = 0;
    while (frames < SETTLE_CAP) {
        r = Frame(p, 0, SOLVE_PARK_X, SOLVE_PARK_Y);
        frames++;
        if (r != LEVEL_GOING || (Settled(p) && frames >= 2 && (!p.platforms || OnCell(p))))
            break;
    }
    Add(script, {0, SOLVE_PARK_X, SOLVE_PARK_Y, frames});
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

// One cell of a slide: held frames until the element has come into the cell
// (one on a moving platform waits until it passes a row boundary). False when it
// could not get there.
bool SlideCell(Player& p, int i, int target, int gy, int cap, LevelOutcome* res, std::vector<SolveStep>* script)
{
    int tx = target * CELL_SIZE + CELL_SIZE / 2;
    int waited = 0;
    while (*res == LEVEL_GOING && waited < cap && proslie == i && MovingElement == 1 &&
           til[i].x != target * CELL_SIZE) {
        *res = Frame(p, 1, tx, gy);
        waited++;
    }
    Add(script, {1, tx, gy, waited});
    return !(*res == LEVEL_GOING && (proslie != i || til[i].x != target * CELL_SIZE) && MovingElement == 1);
}

LevelOutcome Release(Player& p, int tx, int gy, LevelOutcome res, std::vector<SolveStep>* script)
{
    if (res == LEVEL_GOING)
        res = Frame(p, 0, tx, gy);
    Add(script, {0, tx, gy, 1});
    if (res == LEVEL_GOING)
        res = Settle(p, script);
    return res;
}

// Whether element i rides a vertical platform, on it or higher up its column: held,
// it slides off wherever the ride brings it level with a free cell, so its first
// cell is not judged by the row it stands in now. Gives the rows of the shaft the
// ride runs in (first and last), or false.
bool WallAt(int col, int row)
{
    if (row < 0 || row >= BOARD_ROWS)
        return true;
    for (int j = 1; j <= ukupnot; j++)
        if (til[j].type != 0 && til[j].type <= 99 && til[j].x == col * CELL_SIZE && til[j].y == row * CELL_SIZE)
            return true;
    return false;
}

bool RidesLift(const Player& p, int i, int* top, int* bottom)
{
    int col = til[i].x / CELL_SIZE;
    if (til[i].x % CELL_SIZE != 0)
        return false;
    for (int j = i, depth = 0; depth < BOARD_ROWS; depth++) {
        int below = 0;
        for (int k : p.live)
            if (k != j && til[k].type != 0 && IsExistUp(til[k], til[j]))
                below = k;
        if (below == 0 || (til[below].type != EL_LIFT_V && !IsMovable(til[below].type)))
            return false;
        if (til[below].type == EL_LIFT_V)
            break;
        j = below;
        if (depth == BOARD_ROWS - 1)
            return false;
    }
    *top = *bottom = til[i].y / CELL_SIZE;
    while (!WallAt(col, *top - 1))
        --*top;
    while (!WallAt(col, *bottom + 1))
        ++*bottom;
    return true;
}

// Every move from the settled board on this thread, each played to rest; visit
// sees the board each one leaves (loaded on this thread) and the outcome, and
// returns false to stop. A slide of k cells goes on from the slide of k - 1, so
// each element and way is played once.
template <typename Visit> bool Expand(Player& p, const LevelState& here, Visit visit)
{
    std::vector<int> movers;
    LevelLoad(here);
    for (int i : p.live)
        if (IsMovable(til[i].type) && i != imeUP && HeldUp(i))
            movers.push_back(i);
    LevelState* mid = new LevelState;
    bool go = true;
    for (size_t m = 0; m < movers.size() && go; m++) {
        int i = movers[m];
        for (int dir = -1; dir <= 1 && go; dir += 2) {
            LevelLoad(here);
            const TileRecord t = til[i];
            int gx = t.x + CELL_SIZE / 2, gy = t.y + CELL_SIZE / 2;
            int col = gx / CELL_SIZE, row = gy / CELL_SIZE;
            int top = 0, bottom = 0;
            bool riding = RidesLift(p, i, &top, &bottom);
            if (!riding && !Free(i, col + dir, row))
                continue;
            if (riding) {  // no row of its shaft opens that way: no use waiting for one
                bool opening = false;
                for (int r = top; r <= bottom && !opening; r++)
                    opening = Free(i, col + dir, r);
                if (!opening)
                    continue;
            }
            LevelOutcome res = Frame(p, 0, gx, gy);
            if (res == LEVEL_GOING)
                res = Frame(p, 1, gx, gy);
            if (res != LEVEL_GOING || proslie != i)
                continue;
            for (int k = 1; k < BOARD_COLS && go; k++) {
                int target = col + dir * k;
                bool ride = riding && k == 1;
                if (!ride && !Free(i, target, til[i].y / CELL_SIZE))
                    break;
                if (!SlideCell(p, i, target, gy, ride ? RideCap(top, bottom) : HOLD_CAP, &res, nullptr))
                    break;
                bool dropped = res == LEVEL_GOING && !HeldUp(i);
                LevelOutcome holdRes = res;
                LevelSave(mid);
                LevelOutcome end = Release(p, target * CELL_SIZE + CELL_SIZE / 2, gy, res, nullptr);
                go = visit(SolveMove{static_cast<int16_t>(i), static_cast<int8_t>(dir), static_cast<int8_t>(k)}, end);
                LevelLoad(*mid);
                // The slide is over once the element has dropped off, vanished or stuck.
                if (holdRes != LEVEL_GOING || dropped || proslie != i || MovingElement == 0)
                    break;
            }
        }
    }
    delete mid;
    if (go && p.platforms) {
        LevelLoad(here);
        LevelOutcome res = LEVEL_GOING;
        for (int k = 0; k < SOLVE_WAIT_FRAMES && res == LEVEL_GOING; k++)
            res = Frame(p, 0, SOLVE_PARK_X, SOLVE_PARK_Y);
        if (res == LEVEL_GOING)
            res = Settle(p, nullptr);
        go = visit(SolveMove{0, 0, 0}, res);
    }
    return go;
}

// Plays one move from the settled board on this thread, exactly as Expand played it.
LevelOutcome PlayMove(Player& p, const SolveMove& mv, std::vector<SolveStep>* script)
{
    if (mv.record == 0) {
        LevelOutcome res = LEVEL_GOING;
        int k = 0;
        while (k < SOLVE_WAIT_FRAMES && res == LEVEL_GOING) {
            res = Frame(p, 0, SOLVE_PARK_X, SOLVE_PARK_Y);
            k++;
        }
        Add(script, {0, SOLVE_PARK_X, SOLVE_PARK_Y, k});
        return res == LEVEL_GOING ? Settle(p, script) : res;
    }
    int i = mv.record;
    if (i < 1 || i >= TIL_SIZE)
        return LEVEL_FAILED;
    int gx = til[i].x + CELL_SIZE / 2, gy = til[i].y + CELL_SIZE / 2;
    int col = gx / CELL_SIZE;
    int top = 0, bottom = 0;
    bool riding = RidesLift(p, i, &top, &bottom);
    LevelOutcome res = Frame(p, 0, gx, gy);
    Add(script, {0, gx, gy, 1});
    if (res == LEVEL_GOING)
        res = Frame(p, 1, gx, gy);
    Add(script, {1, gx, gy, 1});
    for (int k = 1; k <= mv.cells && res == LEVEL_GOING; k++)
        SlideCell(p, i, col + mv.dir * k, gy, riding && k == 1 ? RideCap(top, bottom) : HOLD_CAP, &res, script);
    return Release(p, (col + mv.dir * mv.cells) * CELL_SIZE + CELL_SIZE / 2, gy, res, script);
}

uint64_t Mix(uint64_t h, uint64_t v)
{
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h * 0xff51afd7ed558ccdULL;
}

// Whether the board at rest on this thread can no longer be won because an element
// can never touch one of its kind: where elements only fall, are dragged and are
// teleported, none ever rises but through a pad, so the cells each can get to are
// fixed by the walls, and only shrink as it moves.
bool Stranded(const Player& p)
{
    if (!p.fallsOnly)
        return false;
    // Each element still to match: its kind and cell (one stuck in mud stays there).
    int kinds[BOARD_CELLS], n = 0;
    size_t cells[BOARD_CELLS];
    bool stuck[BOARD_CELLS];
    for (int i : p.live) {
        int t = til[i].type, kind = MatchKind(t);
        int col = til[i].x / CELL_SIZE, row = til[i].y / CELL_SIZE;
        if (kind == 0 || n == BOARD_CELLS)
            continue;
        if (col < 0 || col >= BOARD_COLS || row < 0 || row >= BOARD_ROWS)
            return false;
        kinds[n] = kind;
        cells[n] = static_cast<size_t>(row * BOARD_COLS + col);
        stuck[n] = IsStuck(t);
        if (!stuck[n])
            ReachOf(p, cells[n]);
        n++;
    }
    for (int a = 0; a < n; a++) {
        if (kinds[a] > EL_LAST_MATCHING)
            continue;
        std::bitset<BOARD_CELLS> own;  // a stuck element's cell and those beside it
        if (stuck[a]) {
            own.set(cells[a]);
            own = Near(own);
        }
        const std::bitset<BOARD_CELLS>* near = stuck[a] ? &own : &p.touch[cells[a]];
        bool partner = false;
        for (int b = 0; b < n && !partner; b++)
            partner =
                b != a && kinds[b] == kinds[a] && (stuck[b] ? near->test(cells[b]) : (*near & p.reach[cells[b]]).any());
        if (!partner)
            return true;
    }
    return false;
}

// The fewest drags any win from this board still needs, never more: only a drag
// moves an element sideways (unless a platform or the teleport does), so every
// kind whose elements all stand two or more columns apart needs a drag of its own.
int LowerBound(const Player& p)
{
    if (cnp == 0)
        return 0;
    if (Stranded(p))
        return STRANDED;
    if (p.sideways)
        return 1;
    int kinds[BOARD_CELLS], cols[BOARD_CELLS], rows[BOARD_CELLS];
    int n = Pieces(p, kinds, cols, rows);
    int need = 0;
    for (int a = 0; a < n; a++) {
        bool firstOfKind = true, near = false;
        for (int b = 0; b < n; b++) {
            if (kinds[b] != kinds[a] || b == a)
                continue;
            if (b < a)
                firstOfKind = false;
            if (abs(cols[a] - cols[b]) <= 1)
                near = true;
        }
        if (!firstOfKind)
            continue;
        // Any two of the kind near each other may meet by falling alone.
        bool kindNear = near;
        for (int c = a + 1; c < n && !kindNear; c++)
            for (int d = c + 1; d < n && !kindNear; d++)
                kindNear = kinds[c] == kinds[a] && kinds[d] == kinds[a] && abs(cols[c] - cols[d]) <= 1;
        need += kindNear ? 0 : 1;
    }
    return need > 0 ? need : 1;
}

// The start board brought to rest; the frames it took go first in every script.
struct Root {
    LevelState state;
    std::vector<SolveStep> prefix;
    LevelOutcome outcome = LEVEL_GOING;
};

// The board to solve, on this thread's virtual clock: the state names the clock
// the board was saved on, and a board from the game (its real clock) would
// otherwise make every frame of the search wait 20 ms of real time. The virtual
// clock takes over where the game's last frame stood, so the frame steps and
// the animations' timers go on as they would in the game: read from a clock that
// stood elsewhere, the first frame would move a platform by the gap between the
// two clocks.
void LoadStart(const LevelState& start)
{
    LevelLoad(start);
    if (start.clock_virtual == 0 && start.startt != 0)
        clock_now = static_cast<uint32_t>(start.startt);
    clock_virtual = 1;
}

void SettleRoot(Player& p, const SolveLimits& limits, Root* root)
{
    LoadStart(limits.start);
    // A board on its way in (the level's first frame) holds no chapter picture here.
    if (LevelStar != 0 || (cntgh >= 1 && cntgh <= 5))
        bioret = 1;
    root->outcome = Settle(p, &root->prefix);
    LevelSave(&root->state);
}

std::vector<SolveStep> ScriptOf(Player& p, const Root& root, const std::vector<SolveMove>& moves)
{
    std::vector<SolveStep> s = root.prefix;
    LevelLoad(root.state);
    for (const SolveMove& mv : moves)
        if (PlayMove(p, mv, &s) != LEVEL_GOING)
            break;
    return s;
}

void Describe(const Root& root, SolveResult* r)
{
    if (r->moves.empty())
        return;
    const SolveMove& mv = r->moves[0];
    r->record = mv.record;
    if (mv.record > 0 && mv.record < TIL_SIZE) {
        const TileRecord& t = root.state.til[mv.record];
        r->fromCol = (t.x + CELL_SIZE / 2) / CELL_SIZE;
        r->fromRow = (t.y + CELL_SIZE / 2) / CELL_SIZE;
        r->toCol = r->fromCol + mv.dir * mv.cells;
    }
}

struct GraphNode {
    uint64_t key;
    int parent;
    SolveMove move;
    uint8_t drags;
    uint8_t waits;
    int16_t dragMoves;       // drags there are from this board (those that lose at once too)
    std::vector<int> edges;  // (child << 1) | wait; WIN_EDGE / WIN_WAIT_EDGE for a move that wins
};
constexpr int WIN_EDGE = -2;
constexpr int WIN_WAIT_EDGE = -1;

struct ChildSeen {
    SolveMove mv;
    LevelOutcome outcome;
    uint64_t key;
};

// Plays the path to node n from the root board on this thread. Brothers come
// one after the other in a layer, so the parent's board is kept to start from;
// and a board reached by waiting is often taken right after the one it waited
// from (a platform's ride, wait by wait), so the last board reached is kept too.
struct Reacher {
    int parent = -2;
    LevelState parentState;
    int last = -2;
    LevelState lastState;
};

bool Reach(Player& p, const std::vector<GraphNode>& nodes, const Root& root, int n, Reacher* r)
{
    int parent = nodes[static_cast<size_t>(n)].parent;
    if (parent < 0) {
        LevelLoad(root.state);
        return true;
    }
    if (r->parent != parent && r->last == parent) {
        LevelLoad(r->lastState);
        r->parent = parent;
        r->parentState = r->lastState;
    } else if (r->parent != parent) {
        std::vector<SolveMove> chain;
        for (int k = parent; k > 0; k = nodes[static_cast<size_t>(k)].parent)
            chain.push_back(nodes[static_cast<size_t>(k)].move);
        LevelLoad(root.state);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            if (PlayMove(p, *it, nullptr) != LEVEL_GOING)
                return false;
        LevelSave(&r->parentState);
        r->parent = parent;
    } else {
        LevelLoad(r->parentState);
    }
    if (PlayMove(p, nodes[static_cast<size_t>(n)].move, nullptr) != LEVEL_GOING)
        return false;
    LevelSave(&r->lastState);
    r->last = n;
    return true;
}

// ---- a known win, tried before searching --------------------------------------

// The drag a stretch of input made: the record grabbed and its columns.
struct KnownDrag {
    int record = 0;
    int fromCol = 0, fromRow = 0, toCol = 0;
};

// Plays known[from..] from the board on this thread (the first step cut to one
// frame when `brief`), noting the first drag it makes; appends what it played to
// script.
LevelOutcome PlayKnown(Player& p, const std::vector<SolveStep>& known, size_t from, bool brief, KnownDrag* drag,
                       std::vector<SolveStep>* script)
{
    LevelOutcome res = LEVEL_GOING;
    bool held = false, done = false;
    for (size_t i = from; i < known.size() && res == LEVEL_GOING; i++) {
        SolveStep st = known[i];
        if (i == from && brief)
            st.frames = 1;
        Add(script, st);
        for (int k = 0; k < st.frames && res == LEVEL_GOING; k++) {
            res = Frame(p, st.button, st.x, st.y);
            if (done)
                continue;
            if (st.button == 1 && !held) {
                held = true;
                if (proslie > 0 && proslie < TIL_SIZE && MovingElement == 1) {
                    drag->record = proslie;
                    drag->fromCol = drag->toCol = (til[proslie].x + CELL_SIZE / 2) / CELL_SIZE;
                    drag->fromRow = (til[proslie].y + CELL_SIZE / 2) / CELL_SIZE;
                }
            } else if (st.button == 1 && drag->record > 0) {
                // The hand moves the element a cell a frame (MoveX) until it lets go:
                // the element fell off, vanished with its partner or went through a
                // teleport (which sets no column: MoveX 0 is a fall's).
                if (MoveX > 0)
                    drag->toCol = MoveX;
                done = proslie != drag->record || MovingElement != 1;
            } else if (st.button == 0 && held) {
                done = true;
            }
        }
    }
    return res;
}

// The known win's drags are tried from its last back to its first: the rest of
// it from each played from the settled board, first the drag at once, then after
// the pause the win kept before it. The first that ends in WON answers, so the
// answer leaves the fewest of the known drags to play (following answers never
// goes round in a circle): its drag, or a wait when only the pause made it win.
// Nothing is taken on trust: the answer starts a win just played from this very
// board.
bool FromKnownWin(Player& p, const Root& root, const std::vector<SolveStep>& known, SolveResult* r)
{
    std::vector<size_t> press, after;  // where each drag's press is, and where the input after the one before begins
    size_t next = 0;
    for (size_t i = 0; i < known.size(); i++) {
        if (known[i].button != 1 || (i > 0 && known[i - 1].button == 1))
            continue;
        press.push_back(i);
        after.push_back(next);
        while (i + 1 < known.size() && known[i + 1].button == 1)
            i++;
        next = i + 1;
    }
    for (size_t d = press.size(); d-- > 0;) {
        size_t hover = press[d] > 0 ? press[d] - 1 : press[d];
        for (int paused = 0; paused < 2; paused++) {
            size_t from = paused ? after[d] : hover;
            if ((paused && from >= hover) || OutOfBudget(p))
                continue;
            LevelLoad(root.state);
            KnownDrag drag;
            std::vector<SolveStep> rest;
            if (PlayKnown(p, known, from, !paused, &drag, &rest) != LEVEL_WON || drag.record == 0)
                continue;
            r->outcome = SOLVE_FOUND;
            r->record = paused ? 0 : drag.record;
            r->fromCol = drag.fromCol;
            r->fromRow = drag.fromRow;
            r->toCol = paused ? drag.fromCol : drag.toCol;
            int cells = drag.toCol - drag.fromCol;
            r->moves.push_back(paused ? SolveMove{0, 0, 0}
                                      : SolveMove{static_cast<int16_t>(drag.record),
                                                  static_cast<int8_t>(cells < 0 ? -1 : 1),
                                                  static_cast<int8_t>(cells < 0 ? -cells : cells)});
            r->drags = static_cast<int>(press.size() - d);
            r->script = root.prefix;
            r->script.insert(r->script.end(), rest.begin(), rest.end());
            return true;
        }
    }
    return false;
}

// ---- fewest drags: A* over boards reached by replaying their moves -------------

// The A* search from the root board (at rest and still going) on this thread, p
// playing; a win found is reported once its script (the root's prefix and the
// moves) replays to WON from replayFrom, the board the prefix starts on.
// Boards are taken in rising order of drags made plus the lower bound (which
// never falls by more than the drag made, so a board's first taking is by its
// shortest way); a win is the fewest once no board promising less is left.
void FewestFrom(Player& p, const SolveLimits& limits, const Root& root, const LevelState& replayFrom,
                SolveResult* result)
{
    *result = SolveResult();
    std::atomic<int>& stop = *p.stop;
    long framesBefore = p.frames;
    // The root's own key and bound (a known win tried before leaves another board loaded).
    LevelLoad(root.state);
    std::vector<GraphNode> nodes;
    std::vector<int> bound;  // each board's lower bound
    std::unordered_map<uint64_t, int> seen;
    nodes.push_back({SolveBoardKey(), -1, {0, 0, 0}, 0, 0, 0, {}});
    bound.push_back(LowerBound(p));
    seen[nodes[0].key] = 0;
    if (bound[0] >= STRANDED) {  // no win is left (a search asked to stop still claims nothing)
        bool stopped = OutOfBudget(p);
        result->outcome = stopped ? SOLVE_BUDGET : SOLVE_NO_WIN;
        result->exact = !stopped;
        result->boards = 1;
        result->frames = p.frames - framesBefore;
        return;
    }
    long cap = std::min(limits.maxBoards, limits.maxMemoryKB * 1024 / TT_ENTRY_BYTES);
    int threads = limits.threads >= 2 ? 2 : 1;
    std::atomic<long> frames(0);
    std::unique_ptr<Reacher> reachers[2] = {std::make_unique<Reacher>(), std::make_unique<Reacher>()};
    std::vector<std::vector<int>> buckets(SOLVE_MAX_DRAGS * 2 + 2);
    buckets[static_cast<size_t>(std::min(bound[0], SOLVE_MAX_DRAGS * 2))].push_back(0);
    std::vector<char> expanded(1, 0);
    bool limited = false;
    int winFrom = -1, winCost = 1 << 29;
    SolveMove winMove{0, 0, 0};
    constexpr size_t BATCH = 32;
    for (size_t f = 0; f < buckets.size() && !limited; f++) {
        if (winFrom >= 0 && winCost <= static_cast<int>(f))
            break;
        size_t done = 0;
        while (done < buckets[f].size() && !limited) {
            // The next boards of this bucket still due: each once, at its own promise.
            std::vector<int> batch;
            while (done < buckets[f].size() && batch.size() < BATCH) {
                int n = buckets[f][done++];
                if (expanded[static_cast<size_t>(n)] ||
                    nodes[static_cast<size_t>(n)].drags + bound[static_cast<size_t>(n)] != static_cast<int>(f))
                    continue;
                expanded[static_cast<size_t>(n)] = 1;
                if (nodes[static_cast<size_t>(n)].drags >= limits.maxDrags) {
                    limited = true;
                    continue;
                }
                batch.push_back(n);
            }
            std::vector<std::vector<ChildSeen>> out(batch.size());
            std::vector<std::vector<int>> outBound(batch.size());
            auto work = [&](int w) {
                BecomeSolverThread();
                Player q;
                PlayerFor(&q, limits, &stop);
                LevelState* here = new LevelState;
                Reacher* reach = reachers[w].get();
                for (size_t b = static_cast<size_t>(w); b < batch.size(); b += static_cast<size_t>(threads)) {
                    if (OutOfBudget(q) || !Reach(q, nodes, root, batch[b], reach))
                        continue;
                    LevelSave(here);
                    Expand(q, *here, [&](const SolveMove& mv, LevelOutcome res) {
                        out[b].push_back({mv, res, res == LEVEL_GOING ? SolveBoardKey() : 0});
                        outBound[b].push_back(res == LEVEL_GOING ? LowerBound(q) : 0);
                        return true;
                    });
                }
                delete here;
                frames += q.frames;
            };
            OnOneOrTwoCores(threads == 2 && batch.size() > 1, work);
            if (OutOfBudget(p)) {
                limited = true;
                break;
            }
            // Merged in order, so the search is the same on one core or two.
            for (size_t b = 0; b < batch.size(); b++) {
                int n = batch[b];
                int g = nodes[static_cast<size_t>(n)].drags;
                for (size_t c = 0; c < out[b].size(); c++) {
                    const ChildSeen& ch = out[b][c];
                    int cost = ch.mv.record != 0 ? 1 : 0;
                    if (ch.outcome == LEVEL_WON) {
                        if (g + cost < winCost) {
                            winCost = g + cost;
                            winFrom = n;
                            winMove = ch.mv;
                        }
                        continue;
                    }
                    if (ch.outcome != LEVEL_GOING)
                        continue;
                    int h = outBound[b][c];
                    if (h >= STRANDED)
                        continue;  // no win is left from it
                    auto it = seen.find(ch.key);
                    int k;
                    if (it == seen.end()) {
                        if (static_cast<long>(nodes.size()) >= cap) {
                            limited = true;
                            continue;
                        }
                        k = static_cast<int>(nodes.size());
                        seen[ch.key] = k;
                        nodes.push_back({ch.key, n, ch.mv, static_cast<uint8_t>(g + cost), 0, 0, {}});
                        bound.push_back(h);
                        expanded.push_back(0);
                    } else {
                        k = it->second;
                        if (expanded[static_cast<size_t>(k)] || nodes[static_cast<size_t>(k)].drags <= g + cost)
                            continue;
                        nodes[static_cast<size_t>(k)].parent = n;  // a shorter way to a board not yet taken
                        nodes[static_cast<size_t>(k)].move = ch.mv;
                        nodes[static_cast<size_t>(k)].drags = static_cast<uint8_t>(g + cost);
                    }
                    size_t fk = static_cast<size_t>(std::min(g + cost + h, SOLVE_MAX_DRAGS * 2 + 1));
                    buckets[fk].push_back(k);
                }
            }
        }
    }
    result->boards = static_cast<long>(nodes.size());
    if (winFrom >= 0) {
        std::vector<SolveMove> chain;
        for (int k = winFrom; k > 0; k = nodes[static_cast<size_t>(k)].parent)
            chain.push_back(nodes[static_cast<size_t>(k)].move);
        result->moves.assign(chain.rbegin(), chain.rend());
        result->moves.push_back(winMove);
        for (const SolveMove& mv : result->moves) {
            result->drags += mv.record != 0;
            result->waits += mv.record == 0;
        }
        // Settled only when no board that could still promise fewer drags was cut off.
        result->exact = !limited || winCost <= 0;
        result->script = ScriptOf(p, root, result->moves);
        // A win is reported only once it replays from the start board to WON.
        result->outcome = SolveReplays(replayFrom, result->script) ? SOLVE_FOUND : SOLVE_BUDGET;
        BecomeSolverThread();
        Describe(root, result);
    } else {
        result->outcome = limited ? SOLVE_BUDGET : SOLVE_NO_WIN;
        result->exact = !limited;
    }
    result->frames = frames.load() + p.frames - framesBefore;
}

// The fewest-drags search from the limits' board; halt (if given) stops it as the
// caller's cancel does.
void Fewest(const SolveLimits& limits, SolveResult* result, std::atomic<int>* halt)
{
    *result = SolveResult();
    SolverThreadScope scope;
    std::atomic<int> none(0);
    Player p;
    PlayerFor(&p, limits, halt ? halt : &none);
    std::unique_ptr<Root> root(new Root);
    SettleRoot(p, limits, root.get());
    if (root->outcome != LEVEL_GOING) {
        result->outcome = root->outcome == LEVEL_WON ? SOLVE_FOUND : SOLVE_NO_WIN;
        result->exact = true;
        result->script = root->prefix;
        result->frames = p.frames;
        return;
    }
    if (!limits.knownWin.empty() && FromKnownWin(p, *root, limits.knownWin, result)) {
        result->frames = p.frames;
        return;
    }
    long settling = p.frames;
    FewestFrom(p, limits, *root, limits.start, result);
    result->frames += settling;
}

}  // namespace

namespace {

// How far a board is from won, as a player sees it: the elements left, then the
// cells between each element and the nearest of its kind, summed.
struct Look {
    int left = 0;
    int apart = 0;
};

Look LookAt(const Player& p)
{
    int kinds[BOARD_CELLS], cols[BOARD_CELLS], rows[BOARD_CELLS];
    int n = Pieces(p, kinds, cols, rows);
    Look look;
    look.left = n;
    for (int a = 0; a < n; a++) {
        int best = BOARD_COLS + BOARD_ROWS;
        for (int b = 0; b < n; b++)
            if (b != a && kinds[b] == kinds[a])
                best = std::min(best, abs(cols[a] - cols[b]) + abs(rows[a] - rows[b]));
        look.apart += best;
    }
    return look;
}

bool Closer(const Look& a, const Look& b)
{
    return a.left < b.left || (a.left == b.left && a.apart < b.apart);
}

}  // namespace

void SolvePlay(const SolveLimits& limits, SolvePolicy policy, unsigned seed, SolvePlayout* out)
{
    *out = SolvePlayout();
    SolverThreadScope scope;
    std::atomic<int> stop(0);
    Player p;
    PlayerFor(&p, limits, &stop);
    std::unique_ptr<Root> root(new Root);
    SettleRoot(p, limits, root.get());
    LevelOutcome res = root->outcome;
    LevelState* here = new LevelState;
    std::unordered_map<uint64_t, int> seen;
    uint64_t rng = seed * 0x9e3779b97f4a7c15ULL + 0x2545f4914f6cdd1dULL;
    int waits = 0;
    struct Option {
        SolveMove mv;
        LevelOutcome res;
        Look look;
        uint64_t key;
    };
    std::vector<Option> options;
    LevelLoad(root->state);
    seen[SolveBoardKey()] = 1;
    while (res == LEVEL_GOING && out->drags < limits.maxDrags && waits < 4 * SOLVE_MAX_DRAGS && !OutOfBudget(p)) {
        LevelSave(here);
        Look now = LookAt(p);
        options.clear();
        Expand(p, *here, [&](const SolveMove& mv, LevelOutcome r) {
            options.push_back({mv, r, r == LEVEL_GOING ? LookAt(p) : Look(), r == LEVEL_GOING ? SolveBoardKey() : 0});
            return true;
        });
        int pick = -1;
        if (policy == SOLVE_GREEDY) {
            Look best = now;
            for (size_t k = 0; k < options.size() && pick < 0; k++)
                if (options[k].res == LEVEL_WON && options[k].mv.record != 0)
                    pick = static_cast<int>(k);
            bool wins = pick >= 0;
            for (size_t k = 0; k < options.size() && !wins; k++) {
                const Option& o = options[k];
                if (o.mv.record == 0 || o.res != LEVEL_GOING || seen.count(o.key))
                    continue;
                if (Closer(o.look, best)) {
                    best = o.look;
                    pick = static_cast<int>(k);
                }
            }
            // Nothing brings a pair closer: a platform level may still be waited on.
            for (size_t k = 0; k < options.size() && pick < 0; k++)
                if (options[k].mv.record == 0 && options[k].res != LEVEL_FAILED &&
                    (options[k].res == LEVEL_WON || !seen.count(options[k].key)))
                    pick = static_cast<int>(k);
        } else if (!options.empty()) {
            rng ^= rng << 13;
            rng ^= rng >> 7;
            rng ^= rng << 17;
            pick = static_cast<int>(rng % options.size());
        }
        if (pick < 0) {
            out->stuck = true;
            break;
        }
        SolveMove mv = options[static_cast<size_t>(pick)].mv;
        LevelLoad(*here);
        res = PlayMove(p, mv, nullptr);
        if (mv.record != 0)
            out->drags++;
        else
            waits++;
        if (res == LEVEL_GOING)
            seen[SolveBoardKey()] = 1;
    }
    out->won = res == LEVEL_WON;
    out->frames = p.frames;
    delete here;
}

uint64_t SolveBoardKey()
{
    uint64_t h = 1469598103934665603ULL;
    for (int i = 1; i <= ukupnot && i < TIL_SIZE; i++) {
        const TileRecord& t = til[i];
        if (t.type > 0 && t.type < EL_FIRST)
            continue;
        h = Mix(h, (static_cast<uint64_t>(static_cast<uint32_t>(t.type)) << 40) ^
                       (static_cast<uint64_t>(static_cast<uint32_t>(t.x)) << 20) ^
                       static_cast<uint64_t>(static_cast<uint32_t>(t.y)) ^ (static_cast<uint64_t>(t.state) << 60));
    }
    h = Mix(h, static_cast<uint64_t>(imeUP) | static_cast<uint64_t>(taster_pritisnut) << 16 |
                   static_cast<uint64_t>(prekameni) << 24 | static_cast<uint64_t>(kameni) << 40);
    h = Mix(h, static_cast<uint64_t>(bio126) | static_cast<uint64_t>(spikedsi) << 32);
    for (int k = 1; k <= spikedsi && k < SPIKEDS_SIZE; k++)
        h = Mix(h, static_cast<uint64_t>(spikeds[k]));
    return h;
}

int SolveReplays(const LevelState& start, const std::vector<SolveStep>& script)
{
    SolverThreadScope scope;
    LoadStart(start);
    if (LevelStar != 0 || (cntgh >= 1 && cntgh <= 5))
        bioret = 1;
    LevelOutcome r = LEVEL_GOING;
    for (const SolveStep& st : script)
        for (int k = 0; k < st.frames && r == LEVEL_GOING; k++)
            r = LevelStep(st.button, st.x, st.y);
    return r == LEVEL_WON;
}

void SolveFewest(const SolveLimits& limits, SolveResult* result)
{
    Fewest(limits, result, nullptr);
}

// ---- the hint's helper thread -------------------------------------------------

namespace {
std::mutex jobLock;
std::thread jobThread;
bool jobRunning = false;      // a search was started and its result not yet taken
std::atomic<int> jobDone(0);  // 1 once the helper has put its result in
std::atomic<int> jobCancel(0);
SolveLimits* jobLimits = nullptr;
SolveResult jobResult;
}  // namespace

int SolveStart(const SolveLimits* limits)
{
    std::lock_guard<std::mutex> g(jobLock);
    if (jobRunning || !limits)
        return 0;
    if (jobThread.joinable())
        jobThread.join();
    // A program that ends while a search runs (the window closed during a hint)
    // stops it first: a thread still running at exit would abort the program.
    static bool stopAtExit = false;
    if (!stopAtExit)
        stopAtExit = std::atexit(SolveStop) == 0;
    delete jobLimits;
    jobLimits = new SolveLimits(*limits);
    jobCancel = 0;
    jobDone = 0;
    jobRunning = true;
    jobThread = std::thread([] {
        SolveResult r;
        Fewest(*jobLimits, &r, &jobCancel);
        std::lock_guard<std::mutex> g2(jobLock);
        jobResult = r;
        jobDone = 1;
    });
    return 1;
}

int SolveDone(SolveResult* result)
{
    std::lock_guard<std::mutex> g(jobLock);
    if (!jobRunning || !jobDone.load())
        return 0;
    if (result)
        *result = jobResult;
    jobRunning = false;
    return 1;
}

void SolveStop()
{
    jobCancel = 1;
    if (jobThread.joinable())
        jobThread.join();
    std::lock_guard<std::mutex> g(jobLock);
    jobRunning = false;
    delete jobLimits;
    jobLimits = nullptr;
}

// ---- the whole graph -----------------------------------------------------------

void SolveExplore(const SolveLimits& limits, SolveGraph* g)
{
    *g = SolveGraph();
    SolverThreadScope scope;
    std::atomic<int> stop(0);
    Player p;
    PlayerFor(&p, limits, &stop);
    std::unique_ptr<Root> root(new Root);
    SettleRoot(p, limits, root.get());
    if (root->outcome != LEVEL_GOING) {
        g->outcome = root->outcome == LEVEL_WON ? SOLVE_FOUND : SOLVE_NO_WIN;
        g->complete = true;
        g->fewest = root->outcome == LEVEL_WON ? 0 : -1;
        g->script = root->prefix;
        return;
    }
    std::vector<GraphNode> nodes;
    std::unordered_map<uint64_t, int> seen;
    nodes.push_back({SolveBoardKey(), -1, {0, 0, 0}, 0, 0, 0, {}});
    seen[nodes[0].key] = 0;
    long cap = std::min(limits.maxBoards, limits.maxMemoryKB * 1024 / NODE_BYTES);
    bool limited = false;
    int threads = limits.threads >= 2 ? 2 : 1;
    std::atomic<long> frames(0);
    std::unique_ptr<Reacher> reachers[2] = {std::make_unique<Reacher>(), std::make_unique<Reacher>()};
    // 0-1 breadth-first: a wait costs no drag, so its board joins the current depth.
    std::vector<int> current = {0}, later;
    constexpr size_t BATCH = 64;
    while (!current.empty() && !limited) {
        size_t done = 0;
        while (done < current.size() && !limited) {
            size_t end = std::min(current.size(), done + BATCH);
            std::vector<int> batch(current.begin() + static_cast<long>(done), current.begin() + static_cast<long>(end));
            done = end;
            std::vector<std::vector<ChildSeen>> out(batch.size());
            auto work = [&](int w) {
                BecomeSolverThread();
                Player q;
                PlayerFor(&q, limits, &stop);
                LevelState* here = new LevelState;
                Reacher* reach = reachers[w].get();
                for (size_t b = static_cast<size_t>(w); b < batch.size(); b += static_cast<size_t>(threads)) {
                    if (OutOfBudget(q))
                        break;
                    int n = batch[b];
                    if (nodes[n].drags >= limits.maxDrags || !Reach(q, nodes, *root, n, reach))
                        continue;
                    LevelSave(here);
                    Expand(q, *here, [&](const SolveMove& mv, LevelOutcome res) {
                        out[b].push_back({mv, res, res == LEVEL_GOING ? SolveBoardKey() : 0});
                        return true;
                    });
                }
                delete here;
                frames += q.frames;
            };
            OnOneOrTwoCores(threads == 2 && batch.size() > 1, work);
            if (OutOfBudget(p)) {
                limited = true;
                break;
            }
            // Merged in order, so the numbering is the same on one core or two.
            for (size_t b = 0; b < batch.size(); b++) {
                int n = batch[b];
                if (nodes[n].drags >= limits.maxDrags)
                    limited = true;
                for (const ChildSeen& c : out[b]) {
                    bool wait = c.mv.record == 0;
                    if (!wait)
                        nodes[n].dragMoves++;
                    if (c.outcome == LEVEL_WON) {
                        nodes[n].edges.push_back(wait ? WIN_WAIT_EDGE : WIN_EDGE);
                        continue;
                    }
                    if (c.outcome != LEVEL_GOING) {
                        if (!wait)
                            g->losingMoves++;
                        continue;
                    }
                    auto it = seen.find(c.key);
                    int k;
                    if (it != seen.end()) {
                        k = it->second;
                    } else {
                        if (static_cast<long>(nodes.size()) >= cap) {
                            limited = true;
                            continue;
                        }
                        k = static_cast<int>(nodes.size());
                        seen[c.key] = k;
                        nodes.push_back({c.key,
                                         n,
                                         c.mv,
                                         static_cast<uint8_t>(nodes[n].drags + (wait ? 0 : 1)),
                                         static_cast<uint8_t>(std::min(255, nodes[n].waits + (wait ? 1 : 0))),
                                         0,
                                         {}});
                        (wait ? current : later).push_back(k);
                    }
                    nodes[n].edges.push_back(k * 2 + (wait ? 1 : 0));
                }
            }
        }
        current.swap(later);
        later.clear();
    }
    g->boards = static_cast<long>(nodes.size());
    g->complete = !limited;
    // Drags still needed from each board to win (0-1 breadth-first backwards).
    size_t N = nodes.size();
    std::vector<std::vector<int>> back(N);
    const int INF = 1 << 29;
    std::vector<int> dist(N, INF);
    std::deque<int> dq;
    for (size_t n = 0; n < N; n++)
        for (int e : nodes[n].edges) {
            if (e < 0) {
                int d = e == WIN_EDGE ? 1 : 0;
                if (d < dist[n]) {
                    dist[n] = d;
                    dq.push_back(static_cast<int>(n));
                }
            } else {
                back[static_cast<size_t>(e >> 1)].push_back(static_cast<int>(n) * 2 + (e & 1));
            }
        }
    while (!dq.empty()) {
        int n = dq.front();
        dq.pop_front();
        for (int b : back[static_cast<size_t>(n)]) {
            int from = b >> 1, d = dist[static_cast<size_t>(n)] + ((b & 1) ? 0 : 1);
            if (d < dist[static_cast<size_t>(from)]) {
                dist[static_cast<size_t>(from)] = d;
                if (b & 1)
                    dq.push_front(from);
                else
                    dq.push_back(from);
            }
        }
    }
    auto edgeDist = [&](int e) {
        return e < 0 ? (e == WIN_EDGE ? 1 : 0) : dist[static_cast<size_t>(e >> 1)] + ((e & 1) ? 0 : 1);
    };
    auto winsAt = [&](int e) { return e < 0 || dist[static_cast<size_t>(e >> 1)] < INF; };
    for (size_t n = 0; n < N; n++)
        g->deadEnds += dist[n] >= INF;
    g->firstDrags = nodes[0].dragMoves;
    int firstWinning = 0;
    for (int e : nodes[0].edges)
        if (!(e >= 0 && (e & 1)) && e != WIN_WAIT_EDGE && winsAt(e))
            firstWinning++;
    g->firstLosing = g->firstDrags - firstWinning;
    if (dist[0] < INF) {
        g->outcome = SOLVE_FOUND;
        g->fewest = dist[0];
        // Of the shortest wins, the one through the most critical steps (at most a
        // third of the drags keep a win), then the most forced ones (one drag does):
        // how a win runs is up to the player, and the table asks whether a shortest
        // one meets a real choice. best[n] is the most a shortest way from board n
        // meets, as critical * 1024 + forced.
        auto isWait = [](int e) { return e == WIN_WAIT_EDGE || (e >= 0 && (e & 1)); };
        auto winningAt = [&](size_t n) {
            int w = 0;
            for (int e : nodes[n].edges)
                w += !isWait(e) && winsAt(e);
            return w;
        };
        auto stepWorth = [&](size_t n) {
            int w = winningAt(n), d = nodes[n].dragMoves;
            return (d && 3 * w <= d ? 1024 : 0) + (w == 1 ? 1 : 0);
        };
        const int UNKNOWN = -1, WORKING = -2, NONE = -(1 << 28);
        std::vector<int> best(N, UNKNOWN);
        auto edgeWorth = [&](int worth, int e) {  // down edge e from a board worth that much, once its child is known
            int gain = isWait(e) ? 0 : worth;
            if (e < 0)
                return gain;
            int after = best[static_cast<size_t>(e >> 1)];
            return after < 0 ? NONE : gain + after;
        };
        std::function<void(size_t)> settleBest = [&](size_t n) {
            best[n] = WORKING;  // a wait that comes back here is not a way on
            int most = NONE, worth = stepWorth(n);
            for (int e : nodes[n].edges) {
                if (edgeDist(e) != dist[n])
                    continue;
                if (e >= 0 && best[static_cast<size_t>(e >> 1)] == UNKNOWN)
                    settleBest(static_cast<size_t>(e >> 1));
                most = std::max(most, edgeWorth(worth, e));
            }
            best[n] = std::max(most, 0);
        };
        settleBest(0);
        // Down that win, noting the choices at each drag and the move of each edge.
        std::vector<bool> walked(N, false);
        int n = 0;
        for (int guard = 0; guard < 100000; guard++) {
            const GraphNode& nd = nodes[static_cast<size_t>(n)];
            walked[static_cast<size_t>(n)] = true;
            int want = dist[static_cast<size_t>(n)];
            int winning = winningAt(static_cast<size_t>(n)), worth = stepWorth(static_cast<size_t>(n));
            int shortest = 0, pick = INF, pickWorth = NONE - 1;
            for (int e : nd.edges) {
                if (edgeDist(e) != want)
                    continue;
                shortest += !isWait(e);
                int w = e >= 0 && walked[static_cast<size_t>(e >> 1)] ? NONE - 1 : edgeWorth(worth, e);
                if (pick == INF || w > pickWorth) {
                    pick = e;
                    pickWorth = w;
                }
            }
            if (pick == INF)
                break;
            if (!isWait(pick)) {
                g->stepDrags.push_back(nd.dragMoves);
                g->stepWinning.push_back(winning);
                g->stepShortest.push_back(shortest);
            } else {
                g->fewestWaits++;
            }
            // The move itself: the tree's own where the child was first met from here,
            // else found again by playing this board's moves.
            int child = pick < 0 ? -1 : pick >> 1;
            if (child >= 0 && nodes[static_cast<size_t>(child)].parent == n) {
                g->moves.push_back(nodes[static_cast<size_t>(child)].move);
            } else {
                Reacher again;
                Reach(p, nodes, *root, n, &again);
                LevelState* here = new LevelState;
                LevelSave(here);
                SolveMove found{0, 0, 0};
                bool hit = false;
                Expand(p, *here, [&](const SolveMove& mv, LevelOutcome res) {
                    if ((mv.record == 0) != isWait(pick))
                        return true;
                    hit = child < 0 ? res == LEVEL_WON
                                     : res == LEVEL_GOING && SolveBoardKey() == nodes[static_cast<size_t>(child)].key;
                    if (hit)
                        found = mv;
                    return !hit;
                });
                delete here;
                if (!hit)
                    break;
                g->moves.push_back(found);
            }
            if (child < 0)
                break;
            n = child;
        }
        // The win as frames of input, replayed to WON.
        g->script = ScriptOf(p, *root, g->moves);
        if (!SolveReplays(limits.start, g->script)) {
            g->outcome = SOLVE_BUDGET;
            g->fewest = -1;
        }
        BecomeSolverThread();
    } else {
        g->outcome = limited ? SOLVE_BUDGET : SOLVE_NO_WIN;
    }
    g->frames = frames.load() + p.frames;
}

// ---- the probe -------------------------------------------------------------------

namespace {

// A board a drag leaves, to be asked whether a win is left from it.
struct ProbeQuestion {
    std::unique_ptr<LevelState> board;
    int need = SOLVE_MAX_DRAGS;  // the fewest drags of the win left after the drags that lead here
    SolveOutcome answer = SOLVE_BUDGET;
    int drags = -1;  // drags of the win found from the board (FOUND)
    bool searched = false;
    long boards = 0, frames = 0;  // what its search met and played
};

// A drag at a board of the probe: a win or a loss at once, or the question it leaves.
struct ProbeDrag {
    int question = -1;  // -1: answered at once
    bool wins = false;  // answered at once: it wins
    int left = 0;       // drags of the win left after it
};

// The drags from the board on this thread (at rest), each played: those that end
// the level at once, and a question for every other board they leave (one per
// board). The win's own drag (own, when given) keeps the win, in left - 1 drags.
std::vector<ProbeDrag> ProbeDrags(Player& p, const LevelState& here, const SolveMove* own, int left,
                                  std::unordered_map<uint64_t, int>* asked, std::vector<ProbeQuestion>* questions)
{
    std::vector<ProbeDrag> drags;
    Expand(p, here, [&](const SolveMove& mv, LevelOutcome res) {
        if (mv.record == 0)
            return true;
        ProbeDrag d;
        d.left = left - 1;
        d.wins = res == LEVEL_WON;
        if (res == LEVEL_GOING) {
            auto it = asked->find(SolveBoardKey());
            if (it == asked->end()) {
                it = asked->emplace(SolveBoardKey(), static_cast<int>(questions->size())).first;
                questions->emplace_back();
                questions->back().board.reset(new LevelState);
                LevelSave(questions->back().board.get());
            }
            d.question = it->second;
            ProbeQuestion& q = (*questions)[static_cast<size_t>(d.question)];
            q.need = std::min(q.need, d.left);
            if (own && mv.record == own->record && mv.dir == own->dir && mv.cells == own->cells) {
                q.answer = SOLVE_FOUND;  // the walk plays the rest of the win from here to WON
                q.drags = q.drags < 0 ? d.left : std::min(q.drags, d.left);
            }
        }
        drags.push_back(d);
        return true;
    });
    return drags;
}

// Whether a win is left from the question's board: first the rest of the known
// win (the cheapest answer, exact enough when it is short enough), then the
// fewest-drags search within the limits' boards.
void Answer(Player& p, const SolveLimits& sub, const std::vector<SolveStep>& known, ProbeQuestion* q)
{
    std::unique_ptr<Root> root(new Root);
    root->state = *q->board;
    q->searched = true;
    SolveResult r;
    if (FromKnownWin(p, *root, known, &r)) {
        q->answer = SOLVE_FOUND;
        q->drags = r.drags;
        if (q->drags <= q->need)
            return;
    }
    long mine = p.frames;
    FewestFrom(p, sub, *root, *q->board, &r);
    q->boards = r.boards;
    q->frames = r.frames - (p.frames - mine);  // the rest is counted in p's
    if (r.outcome == SOLVE_FOUND) {
        q->drags = q->answer == SOLVE_FOUND ? std::min(q->drags, r.drags) : r.drags;
        q->answer = SOLVE_FOUND;
    } else if (r.outcome == SOLVE_NO_WIN && q->answer != SOLVE_FOUND) {
        q->answer = SOLVE_NO_WIN;
    }
}

// Counts the drags of one board by their answers.
void Tally(const std::vector<ProbeDrag>& drags, const std::vector<ProbeQuestion>& questions, int* winning,
           int* shortest, int* losing, int* unknown)
{
    *winning = *shortest = *losing = *unknown = 0;
    for (const ProbeDrag& d : drags) {
        SolveOutcome answer = d.wins           ? SOLVE_FOUND
                              : d.question < 0 ? SOLVE_NO_WIN
                                               : questions[static_cast<size_t>(d.question)].answer;
        int more = d.wins ? 0 : d.question < 0 ? -1 : questions[static_cast<size_t>(d.question)].drags;
        *winning += answer == SOLVE_FOUND;
        *shortest += answer == SOLVE_FOUND && more <= d.left;
        *losing += answer == SOLVE_NO_WIN;
        *unknown += answer == SOLVE_BUDGET;
    }
}

}  // namespace

void SolveProbe(const SolveLimits& limits, const std::vector<SolveMove>& win, SolveChoices* c)
{
    *c = SolveChoices();
    SolverThreadScope scope;
    std::atomic<int> stop(0);
    Player p;
    PlayerFor(&p, limits, &stop);
    std::unique_ptr<Root> root(new Root);
    SettleRoot(p, limits, root.get());
    if (root->outcome != LEVEL_GOING) {
        c->outcome = root->outcome == LEVEL_WON ? SOLVE_FOUND : SOLVE_NO_WIN;
        c->frames = p.frames;
        return;
    }
    // Down the win: the drags at the start and at each of its drags, played.
    int left = 0;
    for (const SolveMove& mv : win)
        left += mv.record != 0;
    std::unordered_map<uint64_t, int> asked;
    std::vector<ProbeQuestion> questions;
    std::vector<ProbeDrag> first;
    std::vector<std::vector<ProbeDrag>> steps;
    std::unique_ptr<LevelState> here(new LevelState);
    LevelLoad(root->state);
    LevelOutcome res = LEVEL_GOING;
    size_t played = 0;
    for (; played < win.size() && res == LEVEL_GOING; played++) {
        const SolveMove& mv = win[played];
        LevelSave(here.get());
        if (played == 0 && mv.record == 0)
            first = ProbeDrags(p, *here, nullptr, left, &asked, &questions);
        if (mv.record != 0)
            steps.push_back(ProbeDrags(p, *here, &mv, left--, &asked, &questions));
        LevelLoad(*here);
        res = PlayMove(p, mv, nullptr);
    }
    if (res != LEVEL_WON || played != win.size()) {
        c->frames = p.frames;
        return;  // not a win from this board: nothing to measure along it
    }
    if (!win.empty() && win[0].record != 0)
        first = steps[0];

    // The questions, on one core or two; the rest of the win is every one's known win.
    std::vector<SolveStep> known = ScriptOf(p, *root, win);
    std::atomic<size_t> next(0);
    std::atomic<long> frames(0);
    auto work = [&](int) {
        BecomeSolverThread();
        Player q;
        PlayerFor(&q, limits, &stop);
        q.deadline = p.deadline;
        std::unique_ptr<SolveLimits> sub(new SolveLimits(limits));
        sub->maxMillis = 0;
        sub->threads = 1;
        sub->knownWin.clear();
        for (size_t i = next++; i < questions.size() && !OutOfBudget(q); i = next++)
            if (questions[i].answer == SOLVE_BUDGET)
                Answer(q, *sub, known, &questions[i]);
        frames += q.frames;
    };
    OnOneOrTwoCores(limits.threads >= 2 && questions.size() > 1, work);
    BecomeSolverThread();

    int winning = 0, shortest = 0, unknown = 0;
    Tally(first, questions, &winning, &shortest, &c->firstLosing, &c->firstUnknown);
    c->firstDrags = static_cast<int>(first.size());
    for (const std::vector<ProbeDrag>& step : steps) {
        int losing = 0;
        Tally(step, questions, &winning, &shortest, &losing, &unknown);
        c->stepDrags.push_back(static_cast<int>(step.size()));
        c->stepWinning.push_back(winning);
        c->stepShortest.push_back(shortest);
        c->stepUnknown.push_back(unknown);
    }
    for (const ProbeQuestion& q : questions) {
        c->questions += q.searched;
        c->boards += q.boards;
        c->frames += q.frames;
    }
    c->outcome = SOLVE_FOUND;
    c->frames += p.frames + frames.load();
}
