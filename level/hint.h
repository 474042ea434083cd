// The hint: the next move from the board as it stands, whatever was played
// before. The search runs on the solver's helper thread with a time and memory
// budget while the level goes on drawing; its answer is shown on the board (the
// element to take lit, a ghost hand sliding it to where it must go, and words),
// or the words say that no win is left or that none was found in time. A grab,
// an undo, a restart, the level menu or leaving the level cancels a running
// search and clears a shown hint. A hint costs no score: it is counted, shown on
// the level-complete panel, and a level won with one is not "won without hints".
#ifndef TOVI_LEVEL_HINT_H
#define TOVI_LEVEL_HINT_H

#include <SDL.h>

// ---- the search's budget -------------------------------------------------------
constexpr long HINT_MILLIS = 2500;       // real time a hint may think
constexpr long HINT_MEMORY_KB = 131072;  // memory its tables may take
constexpr int HINT_THREADS = 2;          // both cores: the level's frames take little
constexpr int HINT_MAX_DRAGS = 40;       // deepest win looked for

// What the hint shows (cleared per level and by every cancel).
enum HintState {
    HINT_NONE,      // nothing asked, or cleared
    HINT_THINKING,  // the search runs
    HINT_MOVE,      // the next move is shown
    HINT_WAIT,      // the next move is to wait for a platform
    HINT_NO_WAY,    // the search proved that no win is left
    HINT_NO_TIME,   // the budget ran out first
};

extern int hintState;    // a HintState
extern int hintRecord;   // HINT_MOVE: the element to take (a til record)
extern int hintCells;    // HINT_MOVE: cells to slide it, < 0 left, > 0 right
extern int hintShownAt;  // tick the answer came in (the ghost hand's animation starts there)
extern int hintEpoch;    // undoEpoch when the hint was asked; another value cancels it

void HintAsk();                      // starts a search from the board in play (refused while it moves)
int HintPoll();                      // takes the search's answer in if it is there; 1 once it was
void HintCancel();                   // stops a running search and clears what is shown
void HintFrame();                    // each level frame: polls, and cancels on a grab, an undo or a reload
void DrawHint(SDL_Surface* screen);  // the lit element and the ghost hand

#endif
