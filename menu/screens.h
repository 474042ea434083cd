// The other menu screens, each one redraw per call, returning the next screen code.
#ifndef TOVI_MENU_SCREENS_H
#define TOVI_MENU_SCREENS_H

#include <SDL.h>

int RenderOptions(int x, int y, int button, SDL_Surface* screen);  // sets level_no itself
int RenderCredits(int x, int y, int button, int key, int unicode, SDL_Surface* screen);
void RenderHelp(int x, int y, int button, int key, SDL_Surface* screen);  // sets level_no itself
int RenderDialoga(int x, int y, int button, int key, int unicode, SDL_Surface* screen);  // new-game confirmation
int RenderDialogg(int x, int y, int button, int key, int unicode, SDL_Surface* screen);  // game dialog
int RenderDialogHS(int x, int y, int button, int key, int unicode, SDL_Surface* screen); // high scores
int RenderMap(int x, int y, int button, int key, int level, SDL_Surface* screen);       // chapter map
void biljezi();  // records the current player's progress and merges the high scores

#endif
