// Screen transitions. Both effects block: they draw, flip and wait inside the
// call and return once the new picture is complete; no input is read meanwhile.
#ifndef TOVI_TRANS_TRANS_H
#define TOVI_TRANS_TRANS_H

#include <SDL.h>

// ---- transitions -------------------------------------------------------------
constexpr int TILE_COUNT = 192;  // 16 columns x 12 rows of 50-pixel tiles

extern int array1[TILE_COUNT + 1];  // random order of the tiles 1..192 (entry 0 unused), from rnda

// Cross-fades image in at (x, y) over what is on the screen; returns 1 when done.
// A missing image fades nothing and returns 1 at once.
int Fade(SDL_Surface* screen, SDL_Surface* image, int mode, int x, int y);
// Replaces the whole screen (showing old) by new: effect 1 cross-fade (alpha +step
// per frame), 2 wide blinds, 3 random tiles, 5 narrow blinds; any other number
// only reshuffles array1. Frees old for every effect; effect 5 also frees new.
void NLevel(SDL_Surface* screen, SDL_Surface* old, SDL_Surface* newimg, int effect, int step);
// A panel that fades in once: the first call (while *faded is 0) fades it in at
// (x, y) and sets *faded, returning true; later calls draw it at once and return false.
bool FadeInOnce(SDL_Surface* screen, SDL_Surface* panel, int x, int y, int* faded);
void rnda();  // refills array1 with a permutation of 1..192, seeded by the time in seconds

// ---- what the last effect put on the display (for tests and tools) -----------
constexpr int TRANS_PUSH_LOG_SIZE = 1024;  // rectangles kept; the narrow blinds push the most, 600

extern int trans_frames;  // whole-screen flips by the last Fade or NLevel call; reset as each call starts
extern int trans_pushes;  // rectangles pushed to the display by the last call (may exceed the log)
extern SDL_Rect TransPush[TRANS_PUSH_LOG_SIZE];  // the first of those rectangles, in the order pushed

#endif
