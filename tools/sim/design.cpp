// tovi-design: reshapes a level's board for decisions, by a search over boards.
//
//   tovi-design LEVELSOURCE --level N [--seconds S] [--seed S] [--target D]
//               [--pieces P] [--kinds K] [--cap B] [--require CHARS[,CHARS...]] [--add MCS]
//               [--decisions] [--full] [--write]
//
// Starting from the board in LEVELSOURCE (levels/level<N>.txt), it changes one
// thing at a time (a wall cell, a ledge, an element, a block or a mechanic moved,
// an element added, removed or turned into another kind) and measures the new board with the solver on the
// game's engine: the whole graph of boards up to B (20000) boards must be met,
// so the fewest drags, the first drags that lose and the choices along the
// shortest win are settled; and a greedy player plays it. A board scoring at
// least as high as the current one replaces it (plateaus are walked), and every
// so often the search goes back to the best board met. The score rewards, in
// this order of weight: fewest drags up to the target D, a share of losing first
// drags, steps of the shortest win where few drags keep the win (critical) or
// one does (forced), a greedy player who does not win, more elements and kinds,
// a kind of odd count, and walls up in the sky rather than six empty rows on top.
// Only walls ('#', never the border), elements ('a'..'s') and blocks ('B') are
// changed, and mud, crumbling blocks, spike pits, teleports and buttons moved;
// platforms and the magnet stay where they are. With --require CHARS,... each
// group of objects must be needed: the board is solved again with the group
// turned to wall and with it removed, and one of them must have no win. A board
// is kept only if it needs as many groups as the start does (one at least; from
// a start that needs none the search walks to one that does); each group it needs
// adds to its score. With --add CHARS mud ('M'), crumbling blocks ('C') or spike
// pits ('S') may be set into the ground, one of each at most. With --decisions
// the losing first drags, critical and forced steps weigh three times as much,
// and no board with fewer drags than the start's is kept. With --full no board
// with fewer than P elements or K kinds is kept (fewer than the start's, where
// the start has fewer).
//
// It prints the best board, its measures and the win, and with --write puts the
// board, the par and the win into LEVELSOURCE (title and caption kept).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "level/level.h"
#include "level/solver.h"
#include "tools/sim/boardtext.h"
#include "tools/sim/simcore.h"

namespace {

using Board = std::vector<std::string>;

struct Options {
    std::string source;
    int level = 0;
    double seconds = 60;
    unsigned seed = 1;
    int target = 5;
    int pieces = 8;
    int kinds = 3;
    long cap = 20000;
    std::string require;
    int needFloor = 0;       // groups a board must need to be kept: as many as the start needs
    std::string add;         // mechanics that may be set into the ground where there are none ("MCS")
    bool decisions = false;  // --decisions: choices weigh most, and no board shorter than the start
    int fewestFloor = 0;     // with --decisions, the start's fewest drags
    int piecesFloor = 0;     // with --full, the fewest elements a kept board has: P, or the start's if fewer
    int kindsFloor = 0;      // with --full, the same for kinds: K, or the start's if fewer
    bool write = false;
};

struct Source {
    std::vector<std::string> head;  // title, caption: every line before the board but par
    Board board;
};

struct Measure {
    bool solved = false;  // the whole graph was met and has a win
    bool ok = false;      // solved, scores high enough and needs what it must
    int fewest = 0, firstDrags = 0, firstLosing = 0, critical = 0, forced = 0;
    bool greedyWon = true;
    int pieces = 0, kinds = 0;
    bool odd = false;
    int emptyTop = 0;
    int wallPieces = 0;        // walls standing apart from one another (the border and what touches it is one)
    int needed = 0;            // of the groups that must be needed, those the board needs
    bool needsEnough = false;  // the board needs as many groups as it must (Options::needFloor)
    double score = -1e9;
    std::vector<SolveStep> script;
};

bool IsElement(char c)
{
    return c >= 'a' && c <= 's';
}

bool IsLoose(char c)
{
    return IsElement(c) || c == 'B';
}

bool ReadSource(const std::string& path, Source* s)
{
    std::ifstream f(path);
    std::string line;
    while (std::getline(f, line)) {
        if (line.size() == BOARD_COLS && line.find_first_not_of(".#abcdefghijklmnopqrsBHVMTOPGCS") == std::string::npos)
            s->board.push_back(line);
        else if (!s->board.empty())
            break;
        else if (line.compare(0, 4, "par:") != 0)
            s->head.push_back(line);
    }
    return s->board.size() == BOARD_ROWS;
}

void WriteSource(const std::string& path, const Source& s, const Measure& m)
{
    std::string tmp = path + ".tmp";
    FILE* f = fopen(tmp.c_str(), "w");
    if (!f)
        return;
    for (const std::string& h : s.head)
        fprintf(f, "%s\n", h.c_str());
    fprintf(f, "par: %d\n", m.fewest);
    for (const std::string& row : s.board)
        fprintf(f, "%s\n", row.c_str());
    fprintf(f, "solution:\n");
    for (const SolveStep& st : m.script)
        fprintf(f, "%d %d %d %d\n", st.button, st.x, st.y, st.frames);
    if (fclose(f) == 0)
        rename(tmp.c_str(), path.c_str());
}

// Loose things fall through empty cells to rest, as they would at the start.
void Settle(Board* b)
{
    for (int r = BOARD_ROWS - 2; r >= 0; r--)
        for (int c = 0; c < BOARD_COLS; c++) {
            if (!IsLoose((*b)[r][c]))
                continue;
            int to = r;
            while (to + 1 < BOARD_ROWS && (*b)[to + 1][c] == '.')
                to++;
            if (to != r) {
                (*b)[to][c] = (*b)[r][c];
                (*b)[r][c] = '.';
            }
        }
}

// ---- measuring ---------------------------------------------------------------
constexpr double NEED_BONUS = 12;  // score for each group of objects the board needs

bool LoadBoard(const Board& b, int level, LevelState* start)
{
    std::string error;
    if (!WriteBoardText(b, ChapterOf(level), "design.bin", &error))
        return false;
    SimStart(level, "design.bin");
    LevelSave(start);
    return true;
}

SolveLimits* Limits(const Options& o)
{
    static SolveLimits limits;
    limits.maxDrags = 24;
    limits.maxBoards = o.cap;
    limits.threads = 1;
    return &limits;
}

// 1 when the board has a win within the cap, 0 when it has none, -1 when the cap
// settles neither.
int HasWin(const Board& b, const Options& o)
{
    SolveLimits* limits = Limits(o);
    if (!LoadBoard(b, o.level, &limits->start))
        return -1;
    SolveGraph g;
    SolveExplore(*limits, &g);
    if (g.outcome == SOLVE_FOUND)
        return 1;
    return g.complete ? 0 : -1;
}

// Each group of objects in o.require ("B,TO": the blocks, and the teleport with
// its pad) turned to wall, or removed: the board must then have no win (either
// way counts, as in the level table: a wall gives every move mud gives, an empty
// cell every move a spike pit gives). Counts the groups so needed, of *of, so a
// board needing one group already scores above one needing none.
int Needed(const Board& b, const Options& o, int* of)
{
    std::stringstream groups(o.require);
    std::string group;
    int needed = 0;
    *of = 0;
    while (std::getline(groups, group, ',')) {
        ++*of;
        for (char fill : {'#', '.'}) {
            Board without = b;
            for (std::string& row : without)
                for (char& c : row)
                    if (group.find(c) != std::string::npos)
                        c = fill;
            Settle(&without);
            if (without != b && HasWin(without, o) == 0) {
                needed++;
                break;
            }
        }
    }
    return needed;
}

void Census(const Board& b, Measure* m)
{
    int count[26] = {};
    for (const std::string& row : b)
        for (char c : row)
            if (IsElement(c))
                count[c - 'a']++, m->pieces++;
    for (int n : count) {
        m->kinds += n > 0;
        m->odd = m->odd || n % 2 == 1;
    }
    for (int r = 0; r < BOARD_ROWS && b[r].find_first_not_of('.', 1) == BOARD_COLS - 1; r++)
        m->emptyTop++;
    bool seen[BOARD_ROWS][BOARD_COLS] = {};
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLS; c++) {
            if (b[r][c] != '#' || seen[r][c])
                continue;
            m->wallPieces++;
            std::vector<std::pair<int, int>> todo{{r, c}};
            seen[r][c] = true;
            while (!todo.empty()) {
                auto [y, x] = todo.back();
                todo.pop_back();
                const int dy[] = {-1, 1, 0, 0}, dx[] = {0, 0, -1, 1};
                for (int d = 0; d < 4; d++) {
                    int ny = y + dy[d], nx = x + dx[d];
                    if (ny >= 0 && ny < BOARD_ROWS && nx >= 0 && nx < BOARD_COLS && b[ny][nx] == '#' && !seen[ny][nx])
                        seen[ny][nx] = true, todo.push_back({ny, nx});
                }
            }
        }
}

// The board's measures and score; a board that cannot beat `floor` is not
// checked for what it requires (and is not ok).
Measure Evaluate(const Board& b, const Options& o, double floor)
{
    Measure m;
    Census(b, &m);
    SolveLimits* limits = Limits(o);
    if (!LoadBoard(b, o.level, &limits->start))
        return m;
    SolveGraph g;
    SolveExplore(*limits, &g);
    if (g.outcome != SOLVE_FOUND || !g.complete)
        return m;
    m.solved = true;
    SolvePlayout play;
    SolvePlay(*limits, SOLVE_GREEDY, 0, &play);
    m.greedyWon = play.won;
    m.fewest = g.fewest;
    m.firstDrags = g.firstDrags;
    m.firstLosing = g.firstLosing;
    m.script = g.script;
    for (size_t k = 0; k < g.stepDrags.size(); k++) {
        m.critical += g.stepWinning[k] * 3 <= g.stepDrags[k];
        m.forced += g.stepWinning[k] == 1;
    }
    double losing = m.firstDrags ? std::min(0.5, double(m.firstLosing) / m.firstDrags) : 0;
    double choice = o.decisions ? 3 : 1;  // how much more the choices weigh with --decisions
    m.score = 10.0 * std::min(m.fewest, o.target + 2) + (m.fewest >= o.target ? 10 : 0) + 40 * choice * losing +
              6 * choice * std::min(m.critical, 3) + 5 * choice * std::min(m.forced, 2) + (m.greedyWon ? 0 : 10) +
              1.5 * std::min(m.pieces, o.pieces) + 3 * std::min(m.kinds, o.kinds) + (m.odd ? 3 : 0) -
              (m.emptyTop >= 6 ? 6 : 0) - 5.0 * std::max(0, m.fewest - o.target - 2) -
              2.0 * std::max(0, m.wallPieces - 5);
    // What is required is measured only where it could lift the board past floor.
    if (!o.require.empty() &&
        m.score + NEED_BONUS * (1 + std::count(o.require.begin(), o.require.end(), ',')) >= floor) {
        int of = 0;
        m.needed = Needed(b, o, &of);
        m.score += NEED_BONUS * m.needed;
        m.needsEnough = m.needed >= std::min(of, o.needFloor);
    }
    m.ok = m.score >= floor && (o.require.empty() || m.needsEnough) && m.fewest >= o.fewestFloor &&
           m.pieces >= o.piecesFloor && m.kinds >= o.kindsFloor;
    return m;
}

// ---- changing a board --------------------------------------------------------
struct Cell {
    int r, c;
};

std::vector<Cell> CellsWhere(const Board& b, bool (*want)(char))
{
    std::vector<Cell> cells;
    for (int r = 0; r < BOARD_ROWS - 1; r++)
        for (int c = 1; c < BOARD_COLS - 1; c++)
            if (want(b[r][c]))
                cells.push_back({r, c});
    return cells;
}

bool IsEmptyCell(char c)
{
    return c == '.';
}
bool IsBlock(char c)
{
    return c == 'B';
}
bool IsWall(char c)
{
    return c == '#';
}

int WallsAround(const Board& b, Cell k)
{
    int n = 0;
    const int dr[] = {-1, 1, 0, 0}, dc[] = {0, 0, -1, 1};
    for (int d = 0; d < 4; d++) {
        int r = k.r + dr[d], c = k.c + dc[d];
        n += r < 0 || r >= BOARD_ROWS || c < 0 || c >= BOARD_COLS || b[r][c] == '#';
    }
    return n;
}

int KindCount(const Board& b, char kind)
{
    int n = 0;
    for (const std::string& row : b)
        n += static_cast<int>(std::count(row.begin(), row.end(), kind));
    return n;
}

// One of cells, drawn at random, made into c; false when there is none.
template <typename Pick> bool SetOne(Board* b, const std::vector<Cell>& cells, char c, Pick pick)
{
    if (cells.empty())
        return false;
    Cell k = cells[pick(cells.size())];
    (*b)[k.r][k.c] = c;
    return true;
}

// One of things, drawn at random, swapped with one of the empty cells.
template <typename Pick>
bool MoveOne(Board* b, const std::vector<Cell>& things, const std::vector<Cell>& empty, Pick pick)
{
    if (things.empty() || empty.empty())
        return false;
    Cell from = things[pick(things.size())], to = empty[pick(empty.size())];
    std::swap((*b)[from.r][from.c], (*b)[to.r][to.c]);
    return true;
}

bool IsSunk(char c)  // a mechanic set into the ground: mud, a crumbling block, a spike pit
{
    return c == 'M' || c == 'C' || c == 'S';
}
bool IsStanding(char c)  // one that stands on the ground: a teleport's entrance or pad, a button
{
    return c == 'T' || c == 'O' || c == 'P';
}

// A mechanic moved. One set into the ground goes into another wall cell with sky
// above and leaves wall behind; one standing on the ground goes onto another
// empty cell with wall below and leaves sky. Platforms and the magnet stay.
template <typename Pick> bool MoveMechanic(Board* b, Pick pick)
{
    std::vector<Cell> sunk = CellsWhere(*b, IsSunk), standing = CellsWhere(*b, IsStanding);
    if (sunk.size() + standing.size() == 0)
        return false;
    size_t k = pick(sunk.size() + standing.size());
    bool isSunk = k < sunk.size();
    Cell from = isSunk ? sunk[k] : standing[k - sunk.size()];
    std::vector<Cell> to = CellsWhere(*b, isSunk ? IsWall : IsEmptyCell);
    to.erase(std::remove_if(to.begin(), to.end(),
                            [b, isSunk](Cell c) {
                                return c.r == 0 || (isSunk ? (*b)[c.r - 1][c.c] != '.' : (*b)[c.r + 1][c.c] != '#');
                            }),
             to.end());
    if (to.empty())
        return false;
    Cell there = to[pick(to.size())];
    (*b)[there.r][there.c] = (*b)[from.r][from.c];
    (*b)[from.r][from.c] = isSunk ? '#' : '.';
    return true;
}

// One change; false when the board allows none of the kind drawn.
bool Mutate(Board* b, const Options& o, std::mt19937* rng)
{
    auto pick = [rng](size_t n) { return static_cast<size_t>((*rng)() % n); };
    std::vector<Cell> elements = CellsWhere(*b, IsElement);
    std::vector<Cell> empty = CellsWhere(*b, IsEmptyCell);
    Measure census;
    Census(*b, &census);
    switch ((*rng)() % 9) {
    case 8:  // a mechanic moved, or one of o.add set into the ground
        if (!o.add.empty() && pick(2) == 0) {
            char c = o.add[pick(o.add.size())];
            if (KindCount(*b, c) > 0)
                return false;
            std::vector<Cell> ground = CellsWhere(*b, IsWall);
            ground.erase(std::remove_if(ground.begin(), ground.end(),
                                        [b](Cell k) { return k.r == 0 || (*b)[k.r - 1][k.c] != '.'; }),
                         ground.end());
            return SetOne(b, ground, c, pick);
        }
        return MoveMechanic(b, pick);
    case 7:  // a block moved
        return MoveOne(b, CellsWhere(*b, IsBlock), empty, pick);
    case 0: {  // a wall grown by a cell from a wall it touches (never the border, never the top row)
        std::vector<Cell> cells = empty;
        cells.erase(
            std::remove_if(cells.begin(), cells.end(), [b](Cell k) { return k.r == 0 || WallsAround(*b, k) == 0; }),
            cells.end());
        return SetOne(b, cells, '#', pick);
    }
    case 1: {  // a ledge of 2..4 cells in the air (not in the top row)
        if (empty.empty())
            return false;
        Cell k = empty[pick(empty.size())];
        if (k.r == 0)
            return false;
        int len = 2 + static_cast<int>(pick(3));
        for (int c = k.c; c < k.c + len && c < BOARD_COLS - 1 && (*b)[k.r][c] == '.'; c++)
            (*b)[k.r][c] = '#';
        return true;
    }
    case 2: {  // a wall cell knocked down where it has sky beside it
        std::vector<Cell> walls = CellsWhere(*b, IsWall);
        walls.erase(std::remove_if(walls.begin(), walls.end(), [b](Cell k) { return WallsAround(*b, k) == 4; }),
                    walls.end());
        return SetOne(b, walls, '.', pick);
    }
    case 3:  // an element moved
        return MoveOne(b, elements, empty, pick);
    case 4: {  // an element added: to a kind there is, or a new pair
        if (census.pieces >= o.pieces || empty.size() < 2)
            return false;
        char kind;
        if (census.kinds < o.kinds && pick(2) == 0) {
            do
                kind = static_cast<char>('a' + pick(19));
            while (KindCount(*b, kind) > 0);
            Cell k = empty[pick(empty.size())];
            (*b)[k.r][k.c] = kind;
            empty = CellsWhere(*b, IsEmptyCell);
        } else {
            if (elements.empty())
                return false;
            Cell e = elements[pick(elements.size())];
            kind = (*b)[e.r][e.c];
        }
        Cell k = empty[pick(empty.size())];
        (*b)[k.r][k.c] = kind;
        return true;
    }
    case 5: {  // an element taken away (a kind keeps two)
        if (elements.empty())
            return false;
        Cell k = elements[pick(elements.size())];
        char kind = (*b)[k.r][k.c];
        int n = KindCount(*b, kind);
        if (n == 2 && census.kinds > 1) {
            for (std::string& row : *b)
                std::replace(row.begin(), row.end(), kind, '.');
            return true;
        }
        if (n <= 2)
            return false;
        (*b)[k.r][k.c] = '.';
        return true;
    }
    default: {  // an element turned into another kind there is
        if (elements.size() < 2)
            return false;
        Cell k = elements[pick(elements.size())], other = elements[pick(elements.size())];
        char from = (*b)[k.r][k.c], to = (*b)[other.r][other.c];
        if (from == to || KindCount(*b, from) <= 2)
            return false;
        (*b)[k.r][k.c] = to;
        return true;
    }
    }
}

// Every kind twice or more, and no two equal elements touching at the start.
bool Keeps(const Board& b)
{
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLS; c++)
            if (IsElement(b[r][c]) &&
                ((c + 1 < BOARD_COLS && b[r][c + 1] == b[r][c]) || (r + 1 < BOARD_ROWS && b[r + 1][c] == b[r][c])))
                return false;
    for (int c = 0; c < 26; c++)
        if (KindCount(b, static_cast<char>('a' + c)) == 1)
            return false;
    Measure m;
    Census(b, &m);
    return m.kinds > 0;
}

void Print(const char* what, const Measure& m)
{
    fprintf(stderr,
            "%s: score=%.1f fewest=%d losing=%d/%d critical=%d forced=%d greedy=%s pieces=%d kinds=%d odd=%d "
            "emptytop=%d walls=%d needed=%d\n",
            what, m.score, m.fewest, m.firstLosing, m.firstDrags, m.critical, m.forced, m.greedyWon ? "won" : "not",
            m.pieces, m.kinds, m.odd ? 1 : 0, m.emptyTop, m.wallPieces, m.needed);
}

bool ParseArgs(int argc, char** argv, Options* o)
{
    for (int i = 1; i < argc; i++) {
        bool more = i + 1 < argc;
        if (!strcmp(argv[i], "--level") && more)
            o->level = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--seconds") && more)
            o->seconds = atof(argv[++i]);
        else if (!strcmp(argv[i], "--seed") && more)
            o->seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 10));
        else if (!strcmp(argv[i], "--target") && more)
            o->target = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--pieces") && more)
            o->pieces = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--kinds") && more)
            o->kinds = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--cap") && more)
            o->cap = atol(argv[++i]);
        else if (!strcmp(argv[i], "--require") && more)
            o->require = argv[++i];
        else if (!strcmp(argv[i], "--add") && more)
            o->add = argv[++i];
        else if (!strcmp(argv[i], "--decisions"))
            o->decisions = true;
        else if (!strcmp(argv[i], "--full"))
            o->piecesFloor = o->kindsFloor = 1;
        else if (!strcmp(argv[i], "--write"))
            o->write = true;
        else if (o->source.empty() && argv[i][0] != '-')
            o->source = argv[i];
        else
            return false;
    }
    return !o->source.empty() && o->level >= 1 && o->level <= CHAPTERS * LEVELS_PER_CHAPTER && o->seconds > 0 &&
           o->target >= 1 && o->target <= 20 && o->pieces >= 2 && o->pieces <= 24 && o->kinds >= 1 && o->kinds <= 19 &&
           o->cap >= 100 && o->add.find_first_not_of("MCS") == std::string::npos;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseArgs(argc, argv, &o)) {
        fprintf(stderr,
                "usage: tovi-design LEVELSOURCE --level N [--seconds S] [--seed S] [--target D] "
                "[--pieces P] [--kinds K] [--cap B] [--require CHARS[,CHARS...]] [--add MCS] [--decisions] [--full] "
                "[--write]\n");
        return 2;
    }
    Source src;
    char* full = realpath(o.source.c_str(), nullptr);
    if (!full || !ReadSource(full, &src)) {
        fprintf(stderr, "tovi-design: no board of %d rows in %s\n", BOARD_ROWS, o.source.c_str());
        free(full);
        return 2;
    }
    std::string path = full;
    free(full);
    SimEnterScratch("design");
    if (!SimOpen()) {
        fprintf(stderr, "tovi-design: SDL would not start\n");
        return 2;
    }
    std::mt19937 rng(o.seed);
    Board current = src.board;
    Measure now = Evaluate(current, o, -1e9), best = now;
    if (o.decisions)
        o.fewestFloor = now.fewest;
    if (o.piecesFloor) {
        o.piecesFloor = std::min(o.pieces, now.pieces);
        o.kindsFloor = std::min(o.kinds, now.kinds);
    }
    if (!o.require.empty()) {  // keep what the start needs
        o.needFloor = std::max(1, now.needed);
        now = Evaluate(current, o, -1e9), best = now;
    }
    Board bestBoard = current;
    Print("start", now);
    auto begin = std::chrono::steady_clock::now();
    int tries = 0, sinceBest = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() < o.seconds) {
        Board next = current;
        int changes = 1 + static_cast<int>(rng() % 2);
        bool changed = false;
        for (int k = 0; k < changes; k++)
            changed = Mutate(&next, o, &rng) || changed;
        Settle(&next);
        if (!changed || next == current || !Keeps(next))
            continue;
        tries++;
        Measure m = Evaluate(next, o, now.ok ? now.score : -1e9);
        // Once a board meets every demand only such boards are taken; before, any
        // board with a settled win not much worse is, to wander towards one.
        bool take = now.ok ? m.ok && m.score >= now.score : m.ok || (m.solved && m.score >= now.score - 5);
        if (!take) {
            if (++sinceBest > 60) {
                current = bestBoard, now = best, sinceBest = 0;
            }
            continue;
        }
        current = next, now = m;
        if (m.ok && (!best.ok || m.score > best.score)) {
            best = m, bestBoard = next, sinceBest = 0;
            Print("better", best);
        }
    }
    fprintf(stderr, "tovi-design: %d boards measured\n", tries);
    Print("best", best);
    for (const std::string& row : bestBoard)
        printf("%s\n", row.c_str());
    if (!best.ok) {
        SimClose();
        return 1;
    }
    printf("fewest=%d losing=%d/%d critical=%d forced=%d greedy=%s\n", best.fewest, best.firstLosing, best.firstDrags,
           best.critical, best.forced, best.greedyWon ? "won" : "not");
    if (o.write && bestBoard != src.board) {
        src.board = bestBoard;
        WriteSource(path, src, best);
    }
    SimClose();
    return 0;
}
