// Saving a surface as a PNG picture, so that tests and people can look at a frame
// the game drew without a display.
#ifndef TOVI_SHELL_SHOT_H
#define TOVI_SHELL_SHOT_H

#include <SDL.h>

int SaveSurfacePng(SDL_Surface* surface, const char* path);  // 1 on success

#endif
