// The other menu screens, each one redraw per call, returning the next screen code.
#ifndef TOVI_MENU_SCREENS_H
#define TOVI_MENU_SCREENS_H

#include <SDL.h>

int RenderDialoga(int x, int y, int button, int key, int unicode, SDL_Surface* screen);  // new-game confirmation
int RenderDialogg(int x, int y, int button, int key, int unicode, SDL_Surface* screen);  // game dialog
int RenderDialogHS(int x, int y, int button, int key, int unicode, SDL_Surface* screen); // high scores
void biljezi();  // records the current player's progress and merges the high scores

#endif
