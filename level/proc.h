// One frame of level logic: the player's grab and drag, the frame clock and step
// sizes, the count of what is left to match, the failure test, and every object's
// behaviour. Nothing is drawn here except the "failed" panel.
#ifndef TOVI_LEVEL_PROC_H
#define TOVI_LEVEL_PROC_H

#include <SDL.h>

#include "level/board.h"
#include "shell/tls.h"

// ---- drag and frame state ----------------------------------------------------
constexpr int PAR_SIZE = BOARD_CELLS + 1;  // a board can hold 240 matchable elements; entry 0 stays 0

extern TOVI_TLS int proslie;   // record of the dragged element, 0 if none (cleared per level)
extern TOVI_TLS int MoveX;     // column of the dragged element
extern TOVI_TLS int MoveY;     // row of the dragged element
extern TOVI_TLS int plmc;      // 1 after the retry dialog while the button is still held: no grab until released
extern TOVI_TLS int ispada;    // the dragged element lost its support (skip one grab test); also "cursor on a tile"
extern TOVI_TLS int pomera;    // platform and magnet step of this frame, pixels, at least 1
extern TOVI_TLS int fallstep;  // fall step of this frame, pixels (7 per 20 ms, 0 in a frame under 20 ms)
extern TOVI_TLS int par[PAR_SIZE];   // plain codes of the matchable elements left, 1..cnp (recounted per frame)
extern TOVI_TLS int cnp;             // matchable elements left; 0 = board cleared
extern TOVI_TLS int LEVEL_TIMER;     // clock reading of the level's first frame, ms; 0 = take it next frame
extern TOVI_TLS int probo;           // 1 after a spike kill until the level is failed
extern TOVI_TLS int CaptionGone;     // 1 once the level's first grab hid its caption (cleared per level)
extern TOVI_TLS int LevelSearching;  // 1 on a thread that plays levels for a search: no undo history; 0 in the game
extern SDL_Surface* prosliscr;       // screen copy used as a darkened backdrop; whoever makes it frees it

// ProcLevel returns 996 when the level has failed, else 0. A null screen draws nothing.
int ProcLevel(SDL_Surface* screen, int but, int ToviMouseX, int ToviMouseY, int ToviRelativeMouseX,
              int ToviRelativeMouseY, int LevelStar, int dple);

// Darkens what is on the screen: the frame shown at surface alpha 170 over black.
// Takes the copy in prosliscr first if there is none.
void DarkenScreen(SDL_Surface* screen);
void FreeBackdrop();  // frees prosliscr and sets it back to null

#endif
