// Undo: every move the player makes (a grab with the slide it makes and the
// release) can be taken back, one after another, to the level's start. Before
// each grab the whole level state is copied; when the grab slides its element at
// least one cell the copy becomes a move on the undo stack (a grab that slides
// nothing is no move). Taking a move back puts that copy back, all of it (the
// board, the score, the platforms and their phases, the spikes' cycle, the
// magnet, crumbling blocks, mud), except what is not the board's: the input, the
// screen and sequence flags, the player's progress, the level clock (it keeps
// running: undo is no way to win time) and the music. The animation timers are
// moved on by the time since the copy, so the board plays on from there exactly
// as it did the first time.
#ifndef TOVI_LEVEL_UNDO_H
#define TOVI_LEVEL_UNDO_H

#include "level/snapshot.h"

// ---- the undo stack (emptied by every lmap) ------------------------------------
constexpr int UNDO_DEPTH = 1000;  // moves kept; past that the oldest move is forgotten

extern int undoCount;   // moves on the stack, 0..UNDO_DEPTH
extern int levelMoves;  // moves made in this level less those taken back (reset per level)
extern int undoEpoch;   // moved on by every level (re)start and every move taken back; never reset

// What UndoMove did.
enum UndoResult {
    UNDO_DONE,     // the last move was taken back
    UNDO_NOTHING,  // no move to take back (or the level is over)
    UNDO_BUSY,     // refused: an element is held or the board is still settling
};

void UndoReset();  // a level (re)starts: no moves; the thread that loads it is the game's
// 1 on the game's thread (the one that loads levels), 0 on a search's: only the
// game's moves are kept for undo and only its wins are the player's.
int OnGameThread();
// ProcLevel, before a grab is made: grabs is 1 when this frame grabs an element;
// then the state the grab starts from is copied.
void UndoFrameStart(int grabs);
void UndoNoteSlide();       // the dragged element moved a cell: its grab becomes a move
int BoardAtRest();          // 1 when nothing is held, falling, carried up by the magnet or about to be killed
UndoResult UndoMove();      // takes the last move back, unless the board is busy
UndoResult UndoLostMove();  // the same after the level was lost: the board is not asked to rest

#endif
