// tovi-solve: finds the shortest way to win a level, on the game's own engine.
//
//   tovi-solve LEVELFILE [--max-moves N] [--max-states N]
//
// A move grabs an element, slides it one or more cells left or right and lets
// go; then the board is left to settle (falls, matches and their vanishing
// played out). The search is breadth-first over settled boards, so the first win
// it finds uses the fewest moves. Every candidate is played from the level's
// start through the real engine on the virtual clock, exactly as tovi-sim would
// play the printed script, so a solution found here replays to WON there.
//
// Output: the solution as tovi-sim script lines, then a summary line
//   moves=M states=S deadends=D
// (dead ends: settled boards that are lost, or from which no move is left), or
//   unsolved states=S deadends=D    (exit status 1; "too large" when a limit stopped it)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include "level/level.h"
#include "shell/screen.h"
#include "tools/simcore.h"

namespace {

struct Step {
    int button, x, y, frames;
};
using Script = std::vector<Step>;

const char* levelFile = nullptr;
constexpr int SETTLE_CAP = 400;   // frames a board may take to come to rest after a move
constexpr int SLIDE_FRAMES = 3;   // frames the pointer holds over each cell it slides into
constexpr int LEVEL_NO = 2;       // played as a level with no story or chapter picture

bool Movable(int t)
{
    return (t >= 100 && t <= 121) || (t >= 225 && t <= 246);
}

// The board as a string: every live record but the platforms' own phase.
std::string Signature()
{
    std::string s;
    for (int i = 1; i <= ukupnot; i++) {
        if (til[i].type == 0)
            continue;
        char rec[48];
        snprintf(rec, sizeof rec, "%d,%d,%d;", til[i].type, til[i].x, til[i].y);
        s += rec;
    }
    return s;
}

bool Busy()
{
    return pind != 0 || telex != 0 || spiked != 0 || raspad != 0 || movsp != 0;
}

// Plays frames with the button up until the board rests; appends them to script.
SimResult Settle(Script& script)
{
    std::string last = Signature();
    int still = 0, frames = 0;
    SimResult r = SIM_GOING;
    while (frames < SETTLE_CAP) {
        r = SimFrame(0, 790, 10);
        frames++;
        if (r != SIM_GOING)
            break;
        std::string now = Signature();
        still = (now == last && !Busy()) ? still + 1 : 0;
        last = now;
        if (still >= 3)
            break;
    }
    script.push_back({0, 790, 10, frames});
    return r;
}

SimResult Play(const Script& script)
{
    SimStart(LEVEL_NO, levelFile);
    SimResult r = SIM_GOING;
    for (const Step& s : script)
        for (int k = 0; k < s.frames && r == SIM_GOING; k++)
            r = SimFrame(s.button, s.x, s.y);
    return r;
}

bool Empty(int col, int row)
{
    if (col < 0 || col >= BOARD_COLS)
        return false;
    for (int i = 1; i <= ukupnot; i++)
        if (til[i].type != 0 && til[i].x / CELL_SIZE == col && til[i].y / CELL_SIZE == row &&
            til[i].x % CELL_SIZE == 0)
            return false;
    return true;
}

struct Move {
    int col, row, dir, cells;
};

std::vector<Move> Moves()
{
    std::vector<Move> out;
    for (int i = 1; i <= ukupnot; i++) {
        const TileRecord& t = til[i];
        if (!Movable(t.type) || t.x % CELL_SIZE || t.y % CELL_SIZE)
            continue;
        int col = t.x / CELL_SIZE, row = t.y / CELL_SIZE;
        for (int dir : {-1, 1})
            for (int k = 1; k < BOARD_COLS; k++) {
                if (!Empty(col + dir * k, row))
                    break;
                out.push_back({col, row, dir, k});
            }
    }
    return out;
}

void AddMove(Script& s, const Move& m)
{
    int y = m.row * CELL_SIZE + CELL_SIZE / 2;
    int x = m.col * CELL_SIZE + CELL_SIZE / 2;
    s.push_back({0, x, y, 1});
    s.push_back({1, x, y, 1});
    for (int k = 1; k <= m.cells; k++)
        s.push_back({1, x + m.dir * k * CELL_SIZE, y, SLIDE_FRAMES});
    s.push_back({0, x + m.dir * m.cells * CELL_SIZE, y, 1});
}

void Print(const Script& s)
{
    for (const Step& st : s)
        printf("%d %d %d %d\n", st.button, st.x, st.y, st.frames);
}

}  // namespace

int main(int argc, char** argv)
{
    int maxMoves = 8, maxStates = 20000;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--max-moves") && i + 1 < argc)
            maxMoves = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--max-states") && i + 1 < argc)
            maxStates = atoi(argv[++i]);
        else if (!levelFile)
            levelFile = argv[i];
        else {
            fprintf(stderr, "usage: tovi-solve LEVELFILE [--max-moves N] [--max-states N]\n");
            return 2;
        }
    }
    if (!levelFile) {
        fprintf(stderr, "usage: tovi-solve LEVELFILE [--max-moves N] [--max-states N]\n");
        return 2;
    }
    if (!SimOpen()) {
        fprintf(stderr, "tovi-solve: SDL would not start\n");
        return 2;
    }
    struct Node {
        Script script;
        int moves;
    };
    std::deque<Node> queue;
    std::unordered_set<std::string> seen;
    Script start;
    SimStart(LEVEL_NO, levelFile);
    SimResult r = Settle(start);
    int deadEnds = 0;
    bool limited = false;
    if (r == SIM_WON) {
        Print(start);
        printf("moves=0 states=1 deadends=0\n");
        return 0;
    }
    seen.insert(Signature());
    queue.push_back({start, 0});
    while (!queue.empty()) {
        Node node = queue.front();
        queue.pop_front();
        if (node.moves >= maxMoves) {
            limited = true;
            continue;
        }
        Play(node.script);
        std::vector<Move> moves = Moves();
        if (moves.empty())
            deadEnds++;
        for (const Move& m : moves) {
            Script next = node.script;
            AddMove(next, m);
            SimResult res = Play(next);
            if (res == SIM_GOING)
                res = Settle(next);
            if (res == SIM_WON) {
                Print(next);
                printf("moves=%d states=%zu deadends=%d\n", node.moves + 1, seen.size(), deadEnds);
                return 0;
            }
            if (res != SIM_GOING) {
                deadEnds++;
                continue;
            }
            if (!seen.insert(Signature()).second)
                continue;
            if (static_cast<int>(seen.size()) >= maxStates) {
                limited = true;
                queue.clear();
                break;
            }
            queue.push_back({next, node.moves + 1});
        }
    }
    printf("unsolved states=%zu deadends=%d%s\n", seen.size(), deadEnds, limited ? " too large" : "");
    return 1;
}
