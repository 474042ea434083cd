#include "level/rules.h"

#include <cstdlib>
#include <cstring>

#include "level/proc.h"
#include "progress/players.h"
#include "shell/media.h"

thread_local int MovingElement = 0;
thread_local int pind = 0;
thread_local int part = 0;
thread_local int parta = 0;
thread_local int partb = 0;
thread_local int sklop = 0;
thread_local int telex = 0;
thread_local int telexi = 0;
thread_local int telexo = 0;
thread_local int bio126 = 0;
thread_local int uiznad = 0;
thread_local int iznad[STACK_SIZE];
thread_local int gimasu[STACK_SIZE];
thread_local int tralala = 0;
thread_local int ScanIndexOn = 0;
thread_local int ScanFixed[BOARD_ROWS][BOARD_COLS];
thread_local int ScanOthers[TIL_SIZE];
thread_local int ScanOtherCount = 0;
thread_local int ScanActors[TIL_SIZE];
thread_local int ScanActorCount = 0;
thread_local int ScanMudList[TIL_SIZE];
thread_local int ScanMudCount = 0;
thread_local int ScanLiftList[TIL_SIZE];
thread_local int ScanLiftCount = 0;
thread_local int ScanCellHead[SCAN_OFF_BOARD + 1];
thread_local int ScanCellNext[TIL_SIZE];
thread_local int ScanCellPrev[TIL_SIZE];
thread_local int ScanCellOfRecord[TIL_SIZE];
thread_local TileRecord ScanBuiltFrom[TIL_SIZE] = {};
thread_local int ScanBuiltCount = -1;
thread_local unsigned char ScanMovedMark[TIL_SIZE];
thread_local int ScanMovedList[TIL_SIZE];
thread_local int ScanMovedCount = 0;

static constexpr bool IsFixedCode(int code)
{
    return (code >= 1 && code <= 99) || code == EL_MUD || code == EL_TELE_IN || code == EL_BUTTON ||
           code == EL_MAGNET || code == EL_SPIKES || (code > EL_SPIKES && code < EL_FIRST + STUCK_OFFSET);
}

// IsFixedCode for every code below 256, looked up once per record and frame.
struct FixedCodes {
    bool is[256];
    constexpr FixedCodes() : is()
    {
        for (int c = 0; c < 256; c++)
            is[c] = IsFixedCode(c);
    }
};
static constexpr FixedCodes FixedTable;

static bool IsFixed(int code)
{
    return code >= 0 && code < 256 && FixedTable.is[code];
}

static void BucketAdd(int j, int bucket)
{
    int head = ScanCellHead[bucket];
    ScanCellNext[j] = head;
    ScanCellPrev[j] = 0;
    if (head != 0)
        ScanCellPrev[head] = j;
    ScanCellHead[bucket] = j;
    ScanCellOfRecord[j] = bucket;
}

static void BucketRemove(int j)
{
    int prev = ScanCellPrev[j];
    int next = ScanCellNext[j];
    if (prev != 0)
        ScanCellNext[prev] = next;
    else
        ScanCellHead[ScanCellOfRecord[j]] = next;
    if (next != 0)
        ScanCellPrev[next] = prev;
}

void ScanIndexBuild()
{
    // The board as the last frame left it: the index then still describes it.
    size_t used = static_cast<size_t>(ukupnot < TIL_SIZE ? ukupnot + 1 : TIL_SIZE) * sizeof til[0];
    if (ScanBuiltCount == ukupnot && memcmp(ScanBuiltFrom, til, used) == 0) {
        ScanIndexOn = 1;
        return;
    }
    memset(ScanFixed, 0, sizeof ScanFixed);
    memset(ScanCellHead, 0, sizeof ScanCellHead);
    for (int k = 0; k < ScanMovedCount; k++)
        ScanMovedMark[ScanMovedList[k]] = 0;
    ScanMovedCount = 0;
    ScanOtherCount = 0;
    ScanActorCount = 0;
    ScanMudCount = 0;
    ScanLiftCount = 0;
    int n = ukupnot < TIL_SIZE ? ukupnot : TIL_SIZE - 1;
    for (int i = 1; i <= n; i++) {
        const TileRecord& t = til[i];
        if (t.type == EL_MUD)
            ScanMudList[ScanMudCount++] = i;
        if (t.type == EL_LIFT_V)
            ScanLiftList[ScanLiftCount++] = i;
        int col = ScanCellOf(t.x);
        int row = ScanCellOf(t.y);
        bool onBoard = col >= 0 && col < BOARD_COLS && row >= 0 && row < BOARD_ROWS;
        // Only a fixed record aligned on a cell of the board, alone there, is
        // looked up by its cell; anything else is visited by every scan.
        if (IsFixed(t.type) && onBoard && t.x % CELL_SIZE == 0 && t.y % CELL_SIZE == 0 && ScanFixed[row][col] == 0) {
            ScanFixed[row][col] = i;
            ScanCellOfRecord[i] = -1;
            if (t.type >= EL_FIRST && t.type <= EL_SPIKES)
                ScanActors[ScanActorCount++] = i;
        } else {
            ScanOthers[ScanOtherCount++] = i;
            ScanActors[ScanActorCount++] = i;
            BucketAdd(i, onBoard ? row * BOARD_COLS + col : SCAN_OFF_BOARD);
        }
    }
    ScanIndexOn = 1;
}

void ScanCatchUp()
{
    if (!ScanIndexOn)
        return;
    int kept = 0;
    for (int k = 0; k < ScanMovedCount; k++) {
        int j = ScanMovedList[k];
        if (j > ukupnot || ScanCellOfRecord[j] < 0) {  // in no bucket: it stays on the list
            ScanMovedList[kept++] = j;
            continue;
        }
        BucketRemove(j);
        BucketAdd(j, ScanBucketOf(til[j].x, til[j].y));
        ScanMovedMark[j] = 0;
    }
    ScanMovedCount = kept;
}

void ScanIndexDrop()
{
    if (!ScanIndexOn)
        return;
    // Every record in the bucket of its place, and the board kept as the index
    // describes it: a next frame on the same board need not build it again.
    ScanCatchUp();
    if (ScanMovedCount == 0) {
        size_t used = static_cast<size_t>(ukupnot < TIL_SIZE ? ukupnot + 1 : TIL_SIZE) * sizeof til[0];
        memcpy(ScanBuiltFrom, til, used);
        ScanBuiltCount = ukupnot;
    } else {
        ScanBuiltCount = -1;
    }
    ScanIndexOn = 0;
}

int ScanFixedNear(int x, int y, int* fixed)
{
    // A fixed record within a cell's width of (x, y) either way lies in these cells.
    int nf = 0;
    int col = ScanCellOf(x);
    int row = ScanCellOf(y);
    for (int r = row - 1; r <= row + 1; r++)
        for (int c = col - 1; c <= col + 1; c++)
            if (r >= 0 && r < BOARD_ROWS && c >= 0 && c < BOARD_COLS && ScanFixed[r][c] != 0) {
                int k = nf++;
                fixed[k] = ScanFixed[r][c];
                for (; k > 0 && fixed[k - 1] > fixed[k]; k--) {
                    int swap = fixed[k];
                    fixed[k] = fixed[k - 1];
                    fixed[k - 1] = swap;
                }
            }
    return nf;
}

int WhoIsLeft(TileRecord a, TileRecord b)
{
    return (a.y == b.y && b.x < a.x && a.x <= b.x + CELL_SIZE) ? b.type : 0;
}

int WhoIsRight(TileRecord a, TileRecord b)
{
    return (a.y == b.y && a.x < b.x && b.x <= a.x + CELL_SIZE) ? b.type : 0;
}

int WhoIsDown(TileRecord a, TileRecord b)
{
    return (a.x == b.x && a.y <= b.y && b.y <= a.y + CELL_SIZE) ? b.type : 0;
}

int WhoIsUp(TileRecord a, TileRecord b)
{
    return (a.x == b.x && a.y - CELL_SIZE <= b.y && b.y <= a.y) ? b.type : 0;
}

int checkc(int dir, int i, int j)
{
    int dx = til[j].x - til[i].x;
    int dy = til[j].y - til[i].y;
    switch (dir) {
    case DIR_RIGHT:
        return dx > 0 && dx <= CELL_SIZE && abs(dy) < CELL_SIZE;
    case DIR_LEFT:
        return dx >= -CELL_SIZE && dx < 0 && abs(dy) < CELL_SIZE;
    case DIR_DOWN:
        return dy > 0 && dy <= CELL_SIZE && abs(dx) < CELL_SIZE;
    case DIR_UP:
        return dy >= -CELL_SIZE && dy < 0 && abs(dx) < CELL_SIZE;
    default:
        return 0;
    }
}

int IsMovable(int code)
{
    return (code >= EL_FIRST && code <= EL_BLOCK) || IsOnPad(code);
}

int IsEmptyDown(TileRecord a, TileRecord b)
{
    // The rows first: most records fail there.
    return a.y < b.y && b.y <= a.y + CELL_SIZE && abs(a.x - b.x) < CELL_SIZE && b.type != EL_SPIKES;
}

int IsExistUp(TileRecord a, TileRecord b)
{
    return abs(a.x - b.x) < CELL_SIZE && a.y == b.y + CELL_SIZE;
}

int HeldUp(int i)
{
    const TileRecord a = til[i];  // a copy: the scan changes nothing
    return ScanAnyBelow(a.x, a.y, [&](int j) { return j != i && IsEmptyDown(a, til[j]) != 0; }) ? 1 : 0;
}

// Whether a record other than i and except is in record i's way in direction dir
// (checkc): its top-left corner then lies within a cell of i's, on the side dir says.
int Blocked(int dir, int i, int except)
{
    // The box checkc's test reaches: beside, up to a cell that way and less than
    // a cell higher or lower; below or above, the other way round.
    int left = -(CELL_SIZE - 1);
    int right = CELL_SIZE - 1;
    int top = -(CELL_SIZE - 1);
    int bottom = CELL_SIZE - 1;
    if (dir == DIR_RIGHT) {
        left = 1;
        right = CELL_SIZE;
    } else if (dir == DIR_LEFT) {
        left = -CELL_SIZE;
        right = -1;
    } else if (dir == DIR_DOWN) {
        top = 1;
        bottom = CELL_SIZE;
    } else if (dir == DIR_UP) {
        top = -CELL_SIZE;
        bottom = -1;
    }
    return ScanAnyInBox(til[i].x, til[i].y, left, right, top, bottom,
                        [&](int j) { return j != i && j != except && checkc(dir, i, j) != 0; })
               ? 1
               : 0;
}

int PlainCode(int code)
{
    if (code >= PAD_FIRST)
        code -= PAD_OFFSET;
    if (code >= STUCK_FIRST)
        code -= STUCK_OFFSET;
    return code;
}

// A matched element vanishes; one that stood on the exit pad leaves the pad behind.
static void Vanish(int j, bool onPad)
{
    ScanMoved(j);
    if (onPad) {
        til[j].type = EL_TELE_OUT;
    } else {
        til[j].type = 0;
        til[j].x = 0;
        til[j].y = 0;
    }
}

void ccf(TileRecord a, int idx)
{
    enum { DOWN, UP, LEFT, RIGHT, DIRS };
    static const int bit[DIRS] = {1, 8, 2, 4};
    int code[DIRS] = {0, 0, 0, 0};
    int who[DIRS] = {0, 0, 0, 0};
    ScanNear(a.x, a.y, [&](int j) {
        if (j == idx)
            return false;
        int answer[DIRS] = {WhoIsDown(a, til[j]), WhoIsUp(a, til[j]), WhoIsLeft(a, til[j]), WhoIsRight(a, til[j])};
        for (int d = 0; d < DIRS; d++)
            if (answer[d] != 0) {
                code[d] = answer[d];
                who[d] = j;
            }
        return false;  // the last record found in each direction counts
    });

    int c = PlainCode(a.type);
    if (c < EL_FIRST || c > EL_LAST_MATCHING)  // 120 and every special object never match
        return;

    int mask = 0;
    for (int d = 0; d < DIRS; d++) {
        if (who[d] == 0 || PlainCode(code[d]) != c)
            continue;
        MovingElement = 0;
        Vanish(who[d], code[d] >= PAD_FIRST);
        poen = AddScore(poen, 45);
        mask += bit[d];
    }
    if (mask == 0)
        return;
    if (EffectsPlaying())
        sklop = 1;
    PlayEffect(&GoneEl);
    poen = AddScore(poen, 45);
    parta = til[idx].y / CELL_SIZE - 1;
    partb = til[idx].x / CELL_SIZE - 1;
    pind = 63;
    part = mask;
    Vanish(idx, a.type >= PAD_FIRST);
}

// A level may hold several exit pads. An element goes to the first empty one;
// with none free it stays in the entrance until one is.
void telep(int element, int entranceIdx, int exitIdx)
{
    if (til[exitIdx].type != EL_TELE_OUT || til[element].type == 0)
        return;
    telexi = entranceIdx;
    telexo = exitIdx;
    telex = 10;
    til[exitIdx].type = til[element].type + PAD_OFFSET;
    MovingElement = 0;
    ScanMoved(element);
    til[element] = TileRecord{0, 0, 0, 0};
    ccf(til[exitIdx], exitIdx);
    bio126 = element;
    PlayEffect(&Telep);
}

// The element leaves the exit pad: the pad comes back in the record the teleport
// freed. With several pads in play that record may have been handed to another
// pad already; then any removed record serves, so no pad is ever lost.
void LeavePad(int p)
{
    int slot = bio126;
    if (slot <= 0 || slot > ukupnot || til[slot].type != 0) {
        slot = 0;
        for (int k = 1; k <= ukupnot && slot == 0; k++)
            if (til[k].type == 0 && k != p)
                slot = k;
    }
    if (slot != 0) {
        ScanMoved(slot);
        til[slot] = TileRecord{0, til[p].x, til[p].y, EL_TELE_OUT};
    }
    til[p].type -= PAD_OFFSET;
}

void provgore(int i)
{
    for (;;) {
        // The first record, ascending, resting on i that either carries on the
        // column (an element) or caps it (a tile, a removed record, an object).
        int first = 0;
        ScanAnyInBox(til[i].x, til[i].y, -(CELL_SIZE - 1), CELL_SIZE - 1, -CELL_SIZE, -1, [&](int j) {
            if ((first != 0 && j > first) || j == i || !checkc(DIR_UP, i, j))
                return false;
            int t = til[j].type;
            if ((t >= 101 && t <= 120) || t <= 99 || (t >= 122 && t <= 199))
                first = j;
            return false;
        });
        if (first == 0)
            return;
        if (til[first].type < 101 || til[first].type > 120) {
            tralala = 1;
            return;
        }
        int next = first;
        // The column cannot be higher than the board; a taller one is treated as capped.
        if (uiznad + 1 >= STACK_SIZE) {
            tralala = 1;
            return;
        }
        int j = next;
        ccf(til[j], j);
        uiznad++;
        int touch = 0;
        if (Blocked(DIR_RIGHT, j, i))
            touch += STAY_RIGHT;
        if (Blocked(DIR_LEFT, j, i))
            touch += STAY_LEFT;
        gimasu[uiznad] = touch != 0 ? touch + j : 0;
        iznad[uiznad] = j;
        i = j;
    }
}

// Codes spread wider than the counting sort's span: split around the first.
// Out of line, so the common case does not set up its tables.
[[gnu::noinline]] static void SortAroundPivot(int lo, int hi)
{
    int below[PAR_SIZE];
    int above[PAR_SIZE];
    int nb = 0;
    int na = 0;
    int pivot = par[lo];
    for (int k = lo + 1; k <= hi; k++) {
        if (par[k] < pivot)
            below[nb++] = par[k];
        else
            above[na++] = par[k];
    }
    int w = lo;
    for (int k = 0; k < nb; k++)
        par[w++] = below[k];
    par[w++] = pivot;
    for (int k = 0; k < na; k++)
        par[w++] = above[k];
    quicksort(lo, lo + nb - 1);
    quicksort(lo + nb + 1, hi);
}

void quicksort(int lo, int hi)
{
    if (lo >= hi)
        return;
    static_assert(PAR_SIZE >= BOARD_CELLS + 1, "par must hold every element a board can have");
    // The codes are a few dozen values apart: counted, not compared, they come out
    // in the same order in one pass however many repeat.
    constexpr int SPAN = 512;
    int least = par[lo];
    int most = par[lo];
    for (int k = lo + 1; k <= hi; k++) {
        if (par[k] < least)
            least = par[k];
        if (par[k] > most)
            most = par[k];
    }
    if (most - least >= SPAN) {
        SortAroundPivot(lo, hi);
        return;
    }
    int count[SPAN];
    for (int v = 0; v <= most - least; v++)
        count[v] = 0;
    for (int k = lo; k <= hi; k++)
        count[par[k] - least]++;
    int w = lo;
    for (int v = 0; v <= most - least; v++)
        for (int c = 0; c < count[v]; c++)
            par[w++] = least + v;
}
