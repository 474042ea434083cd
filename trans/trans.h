// Screen transitions. Both effects block: they draw, flip and wait inside the
// call and return once the new picture is complete; no input is read meanwhile.
#ifndef TOVI_TRANS_TRANS_H
#define TOVI_TRANS_TRANS_H

#include <SDL.h>

// ---- transitions -------------------------------------------------------------
constexpr int TILE_COUNT = 192;  // 16 columns x 12 rows of 50-pixel tiles

extern int array1[TILE_COUNT + 1];  // random order of the tiles 1..192 (entry 0 unused), from rnda

// Cross-fades image in at (x, y) over what is on the screen; returns 1 when done.
int Fade(SDL_Surface* screen, SDL_Surface* image, int mode, int x, int y);
// Replaces the whole screen (showing old) by new: effect 1 cross-fade (alpha +step
// per frame), 2 wide blinds, 3 random tiles, 5 narrow blinds. Frees old; effect 5
// also frees new.
void NLevel(SDL_Surface* screen, SDL_Surface* old, SDL_Surface* newimg, int effect, int step);
void rnda();  // refills array1 with a permutation of 1..192

#endif
