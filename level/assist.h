// The player's helpers on the level screen: the undo and hint buttons on the
// HUD, the level's keys (Ctrl+Z, Backspace and U undo, H asks for a hint, R
// restarts), a restart without the chapter picture, and the short notes the
// board shows in words.
#ifndef TOVI_LEVEL_ASSIST_H
#define TOVI_LEVEL_ASSIST_H

#include <SDL.h>

#include "shell/geometry.h"

// ---- HUD buttons (HUD_UNDO and HUD_HINT; the art is drawn over the carved roundels) ----
// The lost level's undo stands where the level menu's cancel does (RETRY_CANCEL,
// its images drawn at RETRY_CANCEL_AT).

extern SDL_Surface* HudUndo[2];    // undo button: resting, lit (loaded with the level art)
extern SDL_Surface* HudHint[2];    // hint button: resting, lit
extern SDL_Surface* RetryUndo[2];  // the retry dialog's undo: resting, lit

// ---- notes over the board (cleared per level) ---------------------------------
constexpr int NOTE_SIZE = 64;
constexpr int NOTE_MS = 2500;  // how long a note stays

extern char boardNote[NOTE_SIZE];  // the note shown at the top of the board; empty = none
extern int boardNoteUntil;         // tick after which it goes; 0 = until replaced or the level ends

// ---- the level's own results (reset per level) ---------------------------------
extern int hintsUsed;  // hints asked for in this level
extern int replaying;  // 1 while a level already finished is played again from the level list:
                       // its win records only the best results, never the player's progress
extern int wonMoves;   // the finished level's moves, time and hints, taken as it was won
extern int wonSeconds;
extern int wonHints;
extern int bestMoves;  // the player's best for it before this win; 0 = none yet
extern int bestSeconds;

void AssistReset();  // a level (re)starts: no note, no hints, no result
void ClearNote();
void LevelWon();                          // the level was just won: its result and the player's best are kept
void DrawWinStats(SDL_Surface* screen);   // moves, time and hints on the level-complete panel
void ShowNote(const char* text, int ms);  // ms 0 keeps it up until replaced
void AskUndo();                           // undo, with a note when it is refused
void RestartLevel();                      // the level in play starts again at once, without its chapter picture
int BoardInPlay();                        // 1 while the board of a level takes moves (no picture, not over)
void LevelKey(int sym, int mod);          // a key pressed on a level
// Draws the HUD buttons and the note; a click on a button acts on it. Returns 1
// when the click was used.
int DrawAssist(SDL_Surface* screen, int x, int y, int button);

#endif
