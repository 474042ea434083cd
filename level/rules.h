// The rules of the board: which object touches which, what may be dragged, what
// holds an object up, the match rule, the teleport and the stack on a platform.
// Everything works on pixel positions of the records in til, so objects between
// cells are handled like aligned ones. A removed record takes part in every
// scan as an object of code 0 at (0, 0).
#ifndef TOVI_LEVEL_RULES_H
#define TOVI_LEVEL_RULES_H

#include "level/board.h"
#include "shell/tls.h"

// ---- match, teleport and stack state -----------------------------------------
constexpr int STACK_SIZE = 12;  // a column is at most 12 rows: the rider and 11 above it

extern TOVI_TLS int MovingElement;  // 1 while the player drags an element; a match, teleport or mud clears it
extern TOVI_TLS int pind;           // vanish animation step, 63 at a match, counted down by the renderer; 0 idle
extern TOVI_TLS int part;           // neighbours of the last match: 1 below, 2 left, 4 right, 8 above
extern TOVI_TLS int parta;          // row - 1 of the element that caused the last match
extern TOVI_TLS int partb;          // column - 1 of it
extern TOVI_TLS int sklop;          // 1 when a match happened while a sound played: asks for praise
extern TOVI_TLS int telex;          // teleport animation step, 10 at a teleport, counted down to 0
extern TOVI_TLS int telexi;         // record of the teleport entrance used last
extern TOVI_TLS int telexo;         // record of the exit pad used last
extern TOVI_TLS int bio126;         // record freed by the last teleport; re-used for the pad when it is left; 0 none
extern TOVI_TLS int uiznad;         // depth of the stack collected by provgore
extern TOVI_TLS int iznad[STACK_SIZE];   // [0] the platform's rider, [1..uiznad] the elements stacked on it
extern TOVI_TLS int gimasu[STACK_SIZE];  // per stacked element: 0, or iznad[k] + a stay mark (below)
extern TOVI_TLS int tralala;             // 1 when the stack is capped by something that cannot be carried

// ---- codes -------------------------------------------------------------------
// An element stuck in mud is its code + STUCK_OFFSET, one standing on the exit
// pad its code + PAD_OFFSET.
constexpr int STUCK_FIRST = EL_FIRST + STUCK_OFFSET + 1;  // 201
constexpr int STUCK_LAST = 224;
constexpr int PAD_FIRST = STUCK_LAST + 1;  // 225
constexpr int PAD_LAST = 247;
inline bool IsStuck(int code)
{
    return code >= STUCK_FIRST && code <= STUCK_LAST;
}
inline bool IsOnPad(int code)
{
    return code >= PAD_FIRST && code <= PAD_LAST;
}
int PlainCode(int code);  // the code without the mud or the pad

// Directions of checkc and of the platforms' blocking tests.
enum Direction { DIR_RIGHT = 1, DIR_LEFT = 2, DIR_DOWN = 3, DIR_UP = 4 };

// Stay marks of a stacked element that touched something while the column was
// collected: a platform moving that way leaves it where it is.
constexpr int STAY_RIGHT = 1000;
constexpr int STAY_LEFT = 2000;
constexpr int STAY_BOTH = STAY_RIGHT + STAY_LEFT;

// ---- queries -----------------------------------------------------------------
int WhoIsLeft(TileRecord a, TileRecord b);    // b.type if b touches a from the left, else 0
int WhoIsRight(TileRecord a, TileRecord b);   // b.type if b touches a from the right, else 0
int WhoIsDown(TileRecord a, TileRecord b);    // b.type if b is below a in its column (or in its square)
int WhoIsUp(TileRecord a, TileRecord b);      // b.type if b is above a in its column (or in its square)
int checkc(int dir, int i, int j);            // 1 if record j is in record i's way in direction dir (a Direction)
int IsMovable(int code);                      // 1 for what the player may drag and platforms carry
int IsEmptyDown(TileRecord a, TileRecord b);  // 1 if b holds a up
int IsExistUp(TileRecord a, TileRecord b);    // 1 if b rests exactly on a
int HeldUp(int i);                            // 1 if any other record holds record i up
int Blocked(int dir, int i, int except);      // 1 if a record but i and except is in i's way in direction dir

// ---- the scan index ------------------------------------------------------------
// A fixed record never moves and never changes within a level frame: a tile
// (1..99), mud, a teleport entrance, a magnet and its button, a spike pit, and
// the codes 131..199 no rule acts on (200, element 100 stuck in mud, is made in
// play, so it is not counted among them). The scans of one frame need not visit
// every one of them: while the index is on, a scan around a point visits every
// other record and only the fixed ones in the 3 x 3 cells around the point,
// still in ascending record order. Every rule whose test reaches at most one
// cell away therefore sees exactly what a scan of all records sees, and the
// frames stay the same. ProcLevel turns the index on for its frame and off
// after; without it a scan visits 1..ukupnot.
extern TOVI_TLS int ScanIndexOn;                        // 1 while the index below describes til (one level frame)
extern TOVI_TLS int ScanFixed[BOARD_ROWS][BOARD_COLS];  // the fixed record aligned on each cell; 0 none
extern TOVI_TLS int ScanOthers[TIL_SIZE];  // every record not in ScanFixed, ascending, 0..ScanOtherCount - 1
extern TOVI_TLS int ScanOtherCount;
// Every record whose object step may act this frame, ascending, 0..ScanActorCount
// - 1: the others, and the fixed ones of the codes EL_FIRST..EL_SPIKES (mud, a
// teleport entrance, a magnet, its button, a spike pit).
extern TOVI_TLS int ScanActors[TIL_SIZE];
extern TOVI_TLS int ScanActorCount;
extern TOVI_TLS int ScanMudList[TIL_SIZE];  // every mud record, ascending, 0..ScanMudCount - 1
extern TOVI_TLS int ScanMudCount;
extern TOVI_TLS int ScanLiftList[TIL_SIZE];  // every vertical platform, ascending, 0..ScanLiftCount - 1
extern TOVI_TLS int ScanLiftCount;
// The records of ScanOthers by the cell their top-left corner lies in: each
// cell of the board is a bucket, and one more (SCAN_OFF_BOARD) holds every
// record whose corner lies off the board. A bucket is a list in no particular
// order: ScanCellHead[b] its first record, ScanCellNext[j] the one after j,
// ScanCellPrev[j] the one before (0 at either end), ScanCellOfRecord[j] the
// bucket holding j, -1 for a fixed one (records beyond ukupnot are in none).
constexpr int SCAN_OFF_BOARD = BOARD_ROWS * BOARD_COLS;
extern TOVI_TLS int ScanCellHead[SCAN_OFF_BOARD + 1];
extern TOVI_TLS int ScanCellNext[TIL_SIZE];
extern TOVI_TLS int ScanCellPrev[TIL_SIZE];
extern TOVI_TLS int ScanCellOfRecord[TIL_SIZE];
// The records moved since they were put in their buckets (each rule that moves
// a record, or removes one, reports it through ScanMoved before any scan can
// see it moved): ScanMovedMark[j] is 1 for each, ScanMovedList[0..ScanMovedCount
// - 1] lists them. The bucket scans skip them in their buckets and visit them
// all; ScanCatchUp puts them back in the buckets they now belong in.
extern TOVI_TLS unsigned char ScanMovedMark[TIL_SIZE];
extern TOVI_TLS int ScanMovedList[TIL_SIZE];
extern TOVI_TLS int ScanMovedCount;
// The board as the index last described it, kept when a frame ends with every
// record in its bucket: ScanBuiltFrom[0..ScanBuiltCount] holds til[0..ukupnot]
// as it was (ScanBuiltCount -1 for none). A frame that starts on the same board
// (nothing outside the rules changed it: no load, no undo) keeps that index.
extern TOVI_TLS TileRecord ScanBuiltFrom[TIL_SIZE];
extern TOVI_TLS int ScanBuiltCount;
void ScanIndexBuild();  // builds the index from til, or keeps the one that still describes it, and turns it on
void ScanIndexDrop();   // turns it off, keeping the board it describes
void ScanCatchUp();     // every moved record into the bucket of its place now
// The fixed records a scan around pixel (x, y) visits, ascending, into fixed
// (room for 9); returns their count.
int ScanFixedNear(int x, int y, int* fixed);
// The cell of pixel v, rounding down (v may lie left of or above the board).
inline int ScanCellOf(int v)
{
    return v >= 0 ? v / CELL_SIZE : -((CELL_SIZE - 1 - v) / CELL_SIZE);
}
// Visits every record, ascending, calling visit(j) for each until it returns
// true; returns whether it did. What each scan does while the index is off.
template <typename Visit> bool ScanEvery(Visit visit)
{
    for (int j = 1; j <= ukupnot && j < TIL_SIZE; j++)
        if (visit(j))
            return true;
    return false;
}
// Whether test(j) holds for any record a scan around pixel (x, y) visits: the
// same records as ScanNear, the fixed neighbours first and without a list, for
// the tests that ask only whether such a record exists.
template <typename Test> bool ScanAnyNear(int x, int y, Test test)
{
    if (!ScanIndexOn)
        return ScanEvery(test);
    int col = ScanCellOf(x);
    int row = ScanCellOf(y);
    for (int r = row - 1; r <= row + 1; r++)
        for (int k = col - 1; k <= col + 1; k++)
            if (r >= 0 && r < BOARD_ROWS && k >= 0 && k < BOARD_COLS && ScanFixed[r][k] != 0 && test(ScanFixed[r][k]))
                return true;
    for (int k = 0; k < ScanOtherCount; k++)
        if (test(ScanOthers[k]))
            return true;
    return false;
}
// Record j is about to move or be removed, or has: until ScanCatchUp the
// bucket scans look at it wherever it is.
inline void ScanMoved(int j)
{
    if (ScanIndexOn && j > 0 && j < TIL_SIZE && ScanMovedMark[j] == 0) {
        ScanMovedMark[j] = 1;
        ScanMovedList[ScanMovedCount++] = j;
    }
}
// The bucket of pixel (x, y): its cell, or SCAN_OFF_BOARD.
inline int ScanBucketOf(int x, int y)
{
    int col = ScanCellOf(x);
    int row = ScanCellOf(y);
    return col >= 0 && col < BOARD_COLS && row >= 0 && row < BOARD_ROWS ? row * BOARD_COLS + col : SCAN_OFF_BOARD;
}
// Calls visit(j), until it returns true, for every record outside ScanFixed
// whose top-left corner may lie in [left, right] x [top, bottom] (a box at most
// three cells wide and high): those in the buckets the box touches that have
// not moved, then every record moved. Returns whether visit returned true.
// The records come in no particular order; the index must be on.
template <typename Visit> bool ScanOthersInBox(int left, int right, int top, int bottom, Visit visit)
{
    int c0 = ScanCellOf(left);
    int c1 = ScanCellOf(right);
    int r0 = ScanCellOf(top);
    int r1 = ScanCellOf(bottom);
    for (int r = r0 < 0 ? 0 : r0; r <= r1 && r < BOARD_ROWS; r++)
        for (int col = c0 < 0 ? 0 : c0; col <= c1 && col < BOARD_COLS; col++)
            for (int j = ScanCellHead[r * BOARD_COLS + col]; j != 0; j = ScanCellNext[j])
                if (ScanMovedMark[j] == 0 && visit(j))
                    return true;
    if (c0 < 0 || r0 < 0 || c1 >= BOARD_COLS || r1 >= BOARD_ROWS)
        for (int j = ScanCellHead[SCAN_OFF_BOARD]; j != 0; j = ScanCellNext[j])
            if (ScanMovedMark[j] == 0 && visit(j))
                return true;
    for (int k = 0; k < ScanMovedCount; k++)
        if (visit(ScanMovedList[k]))
            return true;
    return false;
}
// Whether test(j) holds for any record a scan around pixel (x, y) visits, for a
// test that holds only for records whose top-left corner lies in
// [x + left, x + right] x [y + top, y + bottom]: the fixed records aligned on a
// cell whose corner lies in that box, then the other records in or moved into it.
template <typename Test> bool ScanAnyInBox(int x, int y, int left, int right, int top, int bottom, Test test)
{
    if (!ScanIndexOn)
        return ScanAnyNear(x, y, test);
    int c0 = ScanCellOf(x + left + CELL_SIZE - 1);  // the first corner at or right of x + left
    int c1 = ScanCellOf(x + right);
    int r0 = ScanCellOf(y + top + CELL_SIZE - 1);
    int r1 = ScanCellOf(y + bottom);
    for (int r = r0 < 0 ? 0 : r0; r <= r1 && r < BOARD_ROWS; r++)
        for (int k = c0 < 0 ? 0 : c0; k <= c1 && k < BOARD_COLS; k++)
            if (ScanFixed[r][k] != 0 && test(ScanFixed[r][k]))
                return true;
    return ScanOthersInBox(x + left, x + right, y + top, y + bottom, test);
}
// Whether test(j) holds for any record a scan around pixel (x, y) visits, for a
// test that holds only for records less than a cell to either side whose top
// edge lies in (y, y + CELL_SIZE].
template <typename Test> bool ScanAnyBelow(int x, int y, Test test)
{
    return ScanAnyInBox(x, y, -(CELL_SIZE - 1), CELL_SIZE - 1, 1, CELL_SIZE, test);
}
// The last record, ascending, of those ScanNonFixed visits for which test(j)
// holds, 0 for none; for a test that holds only for records whose top-left
// corner lies in [left, right] x [top, bottom] (at most three cells wide and high).
template <typename Test> int ScanLastNonFixedInBox(int left, int right, int top, int bottom, Test test)
{
    int found = 0;
    if (!ScanIndexOn) {
        ScanEvery([&](int j) {
            if (test(j))
                found = j;
            return false;
        });
        return found;
    }
    ScanOthersInBox(left, right, top, bottom, [&](int j) {
        if (j > found && test(j))
            found = j;
        return false;
    });
    return found;
}
// The same over the records of list[0..count) while the index is on.
template <typename Visit> bool ScanListed(const int* list, int count, Visit visit)
{
    if (!ScanIndexOn)
        return ScanEvery(visit);
    for (int k = 0; k < count; k++)
        if (visit(list[k]))
            return true;
    return false;
}
// Whether test(j) holds for any mud record j. No rule ever makes mud (a stuck,
// teleported or freed code never becomes 124), so while the index is on the
// records it listed are all a test for mud can find; without it every record is
// tried.
template <typename Test> bool ScanAnyMud(Test test)
{
    return ScanListed(ScanMudList, ScanMudCount, test);
}
// Visits the records a scan around pixel (x, y) visits, ascending, calling
// visit(j) for each until it returns true; returns whether it did. The order
// is that of a scan of all records, for the rules where the first or the last
// record found wins.
template <typename Visit> bool ScanNear(int x, int y, Visit visit)
{
    if (!ScanIndexOn)
        return ScanEvery(visit);
    int fixed[9];
    int nf = ScanFixedNear(x, y, fixed);
    int a = 0;
    int b = 0;
    while (a < ScanOtherCount || b < nf) {
        int j = (b == nf || (a < ScanOtherCount && ScanOthers[a] < fixed[b])) ? ScanOthers[a++] : fixed[b++];
        if (visit(j))
            return true;
    }
    return false;
}
// Visits the vertical platforms, ascending, calling visit(j) for each until it
// returns true; returns whether it did. No rule ever makes one (a code on the
// exit pad steps off it as 100..122, mud adds 100 to what it catches), so while
// the index is on the records it listed are all there can be; without it every
// record is visited.
template <typename Visit> bool ScanVerticalLifts(Visit visit)
{
    return ScanListed(ScanLiftList, ScanLiftCount, visit);
}
// Visits the records that are not fixed, ascending, calling visit(j) for each
// until it returns true; returns whether it did. Enough for every scan that
// looks only for what can move or change: elements, blocks, platforms, exit
// pads, crumbling blocks and what is stuck in mud.
template <typename Visit> bool ScanNonFixed(Visit visit)
{
    return ScanListed(ScanOthers, ScanOtherCount, visit);
}

// ---- rules -------------------------------------------------------------------
void ccf(TileRecord a, int idx);                        // match rule for the element in record idx
void telep(int element, int entranceIdx, int exitIdx);  // element from the entrance onto the exit pad
void provgore(int i);                                   // collects the stack above record i
void quicksort(int lo, int hi);                         // sorts par[lo..hi] ascending
void LeavePad(int p);                                   // element p steps off the exit pad, which is re-created

#endif
