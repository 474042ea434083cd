// The level list (screen 990): any level the current player has reached, to
// play again. Opened from the game dialog's LEVELS button, and again after a
// level played from it is won. One chapter at a time, its 25 levels as tablets
// with the player's best for each (fewest moves and shortest time, a star when
// it was won without a hint); levels not reached yet are dark and do nothing.
// A level before the player's own is a replay: winning it keeps only the best
// results, never lowering the player's saved level or score. The player's own
// level plays as Continue does.
#ifndef TOVI_MENU_LEVELS_H
#define TOVI_MENU_LEVELS_H

#include <SDL.h>

#include "shell/geometry.h"  // the list's places: LEVEL_LIST_AT, LEVEL_GRID_AT, LEVEL_LIST_CLOSE, ...

// ---- state --------------------------------------------------------------------
extern int renddl;     // screen-entry flag of the list; cleared when it is left
extern int llChapter;  // the chapter shown, 1..4; set on entry from the player's level
extern int llReached;  // the player's saved level, read on entry

extern SDL_Surface* LevelListImg;        // the panel
extern SDL_Surface* LevelCellImg[3];     // a level's tablet: reached, under the pointer, not reached
extern SDL_Surface* LevelListCloseH;     // CLOSE lit
extern SDL_Surface* LevelPageImg[4];     // page buttons: left, left lit, right, right lit
extern SDL_Surface* LevelsButtonImg[2];  // the game dialog's LEVELS: resting, lit

void LoadLevelListArt();
// One frame or event of the list. Returns 990 to stay, 995 (the game dialog)
// on CLOSE, or the number of the level chosen (loaded and on the screen).
int RenderLevelList(int x, int y, int button, int key, SDL_Surface* screen);
// The game dialog's LEVELS button: drawn resting or lit; 1 when clicked.
int LevelsButton(SDL_Surface* screen, int x, int y, int click);

#endif
