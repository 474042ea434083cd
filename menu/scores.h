// The high-score screen (998): the five best rows of "highscore.dat", which the
// progress module keeps (progress/scores.h).
#ifndef TOVI_MENU_SCORES_H
#define TOVI_MENU_SCORES_H

#include <SDL.h>

#include "menu/players.h"
#include "progress/scores.h"

// ---- the high-score screen (998) ---------------------------------------------
extern SDL_Surface* DialogImageHS;  // the high-score picture, full screen

// Returns 998 to stay, 0 back to the main menu; key and character are not read.
int RenderDialogHS(int x, int y, int button, int key, int character, SDL_Surface* screen);

#endif
