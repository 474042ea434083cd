// The level solver: searches a board for its wins on the game's own engine.
//
// A move is what a player's hand does: grab an element, slide it k cells left or
// right, let go, and leave the board to settle (falls, matches and their
// vanishing played out). Where platforms travel the moment matters too, so there
// a move may also be a wait of one platform cell (SOLVE_WAIT_FRAMES frames),
// and boards are taken where the first platform stands on a cell; waits cost no
// drag. Boards are told apart by a compact key (every object's
// place, type and platform state, the magnet, the crumbling block, the exit pad
// and the jammed pits; not the spike phase or the clock).
//
// Nothing stores an engine state per board: a board is reached again by
// replaying the moves that lead to it from its parent (whose board a thread
// keeps while it expands the parent's children), so a search holds only a key,
// a parent and a move per board, in a table of the boards met. Two searches, and
// a probe made of the first:
// - Fewest drags (SolveFewest, SolveStart): A* over drags, with a lower bound
//   that never overestimates (every kind whose elements all stand two or more
//   columns apart needs a drag of its own, unless a platform or the teleport
//   carries things sideways). Where nothing but a drag, a fall or the teleport
//   moves an element (no platform, no magnet), the walls fix the cells each one
//   can ever get to, and a board where one of them can no longer touch one of its
//   kind is passed over: no win is left from it. It gives the first move of a
//   shortest win, proof that no win is left, or "out of budget". Given a known
//   win, it first tries what is left of it from the board and answers at once
//   when that still wins.
// - The whole graph (SolveExplore): every board reachable within the limits,
//   breadth-first, and from it the fewest drags, the dead ends, which first drags
//   lose, and how many drags keep the win at each step of a shortest win (the
//   one that meets the most critical steps, then forced ones).
// - The probe (SolveProbe), for boards whose whole graph is too large: along a
//   given win, every drag there is asked by a bounded fewest-drags search whether
//   a win is left after it, which settles the same choices drag by drag, or
//   leaves a drag unknown when its search runs out of budget.
// All run on both cores when asked, each thread on its own copy of the level
// (the level state is thread_local), and neither draws, loads or sounds
// anything. Every win they report has been replayed to WON: from the start, or in
// the probe from the board a drag left (itself played by the engine).
#ifndef TOVI_LEVEL_SOLVER_H
#define TOVI_LEVEL_SOLVER_H

#include <atomic>
#include <cstdint>
#include <vector>

#include "level/snapshot.h"
#include "level/step.h"

// ---- moves -------------------------------------------------------------------
constexpr int SOLVE_WAIT_FRAMES = 40;  // one wait: a platform's travel of one cell
constexpr int SOLVE_MAX_DRAGS = 60;    // the deepest a search goes
constexpr int SOLVE_PARK_X = 790;      // where the pointer rests between moves: over no element
constexpr int SOLVE_PARK_Y = 10;

// One move: the record dragged, the way (-1 left, 1 right) and the cells slid;
// or a wait (record 0).
struct SolveMove {
    int16_t record;
    int8_t dir;
    int8_t cells;
};

// Frames of input, as a tovi-sim script line "B X Y K".
struct SolveStep {
    int button, x, y, frames;
};

// ---- limits and results ------------------------------------------------------
struct SolveLimits {
    LevelState start;                    // the board to solve, at rest or not, as LevelSave took it
    int maxDrags = 30;                   // deepest win looked for
    long maxBoards = 2000000;            // boards a search may meet (each thread's share of the memory)
    long maxMemoryKB = 262144;           // memory the search's tables may take
    long maxMillis = 0;                  // real time the search may take; 0: no limit
    int threads = 2;                     // 1 or 2
    std::atomic<int>* cancel = nullptr;  // set non-zero to stop the search early (may be null)
    // A win known from the level's start (its stored solution), or empty. The
    // fewest-drags search first plays the rest of it from the board, drag by drag,
    // and answers with the first drag from which it wins (not the fewest, then).
    std::vector<SolveStep> knownWin;
};

enum SolveOutcome {
    SOLVE_FOUND,   // a win: first is its first move, drags its length
    SOLVE_NO_WIN,  // every board reachable was searched: no win is left
    SOLVE_BUDGET,  // the limits (or a cancel) ended the search first
};

struct SolveResult {
    SolveOutcome outcome = SOLVE_BUDGET;
    int drags = 0;       // drags of the win found
    int waits = 0;       // waits in it
    bool exact = false;  // no shorter win exists (the search went through every shorter one)
    int record = 0;      // the first move: the element dragged (0: a wait comes first)
    int fromCol = 0, fromRow = 0, toCol = 0;
    std::vector<SolveMove> moves;   // the win, move by move
    std::vector<SolveStep> script;  // the win as frames of input from the start board
    long boards = 0;                // boards met
    long frames = 0;                // engine frames played
};

// ---- fewest drags ------------------------------------------------------------
// Blocks until done. Also used on the helper thread of SolveStart.
void SolveFewest(const SolveLimits& limits, SolveResult* result);

// The hint's search on a helper thread while the level plays on: SolveStart takes
// a copy of limits (the board in it, the caller's cancel flag) and returns at
// once (0 if a search is still running); SolveDone is 1 once the result is in and
// then copies it out; SolveStop cancels and waits for the helper. One at a time.
int SolveStart(const SolveLimits* limits);
int SolveDone(SolveResult* result);
void SolveStop();

// ---- the whole graph ---------------------------------------------------------
struct SolveGraph {
    SolveOutcome outcome = SOLVE_BUDGET;  // FOUND with a win, NO_WIN, BUDGET when a limit cut it short
    bool complete = false;                // every reachable board was met: dead ends and losing drags are settled
    int fewest = -1;                      // fewest drags that win (-1 none found)
    int fewestWaits = 0;
    long boards = 0;       // settled boards met
    long deadEnds = 0;     // boards from which no win can be reached (complete only)
    long losingMoves = 0;  // drags that lose at once, over every board
    int firstDrags = 0;    // drags from the start board
    int firstLosing = 0;   // of them, those after which no win is left (complete only)
    // Along a shortest win, of them the one through the most critical steps (at most
    // a third of the drags keep a win), then forced ones: at each step, the drags
    // there are, those that keep a win at all and those that keep the shortest
    // (complete only).
    std::vector<int> stepDrags, stepWinning, stepShortest;
    std::vector<SolveMove> moves;   // the shortest win
    std::vector<SolveStep> script;  // as frames of input, replayed to WON
    long frames = 0;
};
void SolveExplore(const SolveLimits& limits, SolveGraph* graph);

// ---- the probe -----------------------------------------------------------------
// The choices along a win, settled drag by drag where the whole graph is too
// large. At the start board and at each drag of the win, every drag there is
// played and asked whether a win is left after it: one that wins or loses at
// once answers itself; the win's own drag keeps it (the probe plays the win to
// WON, or measures nothing); any other board is first
// given the rest of the win (as the known win of SolveLimits) and else searched
// for its fewest drags within limits.maxBoards boards (each question on its own;
// the drags that leave the same board ask once). A win found (always replayed to
// WON) keeps, proof of no win loses, a search out of budget leaves the drag
// unknown. Unknown drags are counted neither as winning nor as losing: the
// losing counts are lower bounds, the winning ones too, and winning + unknown an
// upper bound, so a step with 3 * (winning + unknown) <= drags is surely critical.
// limits.maxMillis bounds the whole probe (questions left are unknown), threads
// run that many questions at once, cancel stops it (the rest unknown).
struct SolveChoices {
    SolveOutcome outcome = SOLVE_BUDGET;  // FOUND when the win replayed to WON and was probed (else nothing is)
    int firstDrags = 0;                   // drags from the start board
    int firstLosing = 0;                  // of them, those proven to leave no win
    int firstUnknown = 0;                 // those whose search ran out of budget
    // At each drag of the win: the drags there are, those that surely keep a win,
    // those that keep one of no more drags than the win has left (where the
    // search could tell), and the unknown ones.
    std::vector<int> stepDrags, stepWinning, stepShortest, stepUnknown;
    long questions = 0;  // boards searched
    long boards = 0;     // boards their searches met
    long frames = 0;
};
// win: the moves of a whole win from the start board at rest, waits included, as
// SolveExplore or a SolveFewest without a known win gives them.
void SolveProbe(const SolveLimits& limits, const std::vector<SolveMove>& win, SolveChoices* choices);

// ---- players -------------------------------------------------------------------
// How a level fares in hands that do not search: a greedy player (wins when a drag
// wins, else matches when a drag matches, else brings equal elements closer; never
// a drag that loses at once or comes back to a board it has seen) and a random one
// (any drag, or in a platform level the wait, with the same chance each). A play
// ends in a win, a loss, no drag the player would make (stuck) or maxDrags drags.
enum SolvePolicy {
    SOLVE_GREEDY,
    SOLVE_RANDOM,
};
struct SolvePlayout {
    bool won = false;
    bool stuck = false;  // the player had no drag to make (greedy: none brought a pair closer)
    int drags = 0;
    long frames = 0;
};
// Blocks until the play ends; seed picks the random player's drags (the greedy
// one ignores it). One thread.
void SolvePlay(const SolveLimits& limits, SolvePolicy policy, unsigned seed, SolvePlayout* out);

// ---- helpers -----------------------------------------------------------------
// Plays a script from a saved board on this thread; 1 when it ends in WON.
int SolveReplays(const LevelState& start, const std::vector<SolveStep>& script);
// The board's key as the searches see it (this thread's level).
uint64_t SolveBoardKey();

#endif
