#include "trans/trans.h"

#include "shell/tovi.h"

int array1[TILE_COUNT + 1];

int Fade(SDL_Surface* screen, SDL_Surface* image, int, int x, int y)
{
    apply_clip(x, y, image, screen, nullptr);
    return 1;
}

void NLevel(SDL_Surface* screen, SDL_Surface* old, SDL_Surface* newimg, int effect, int)
{
    apply_clip(0, 0, newimg, screen, nullptr);
    if (old)
        SDL_FreeSurface(old);
    if (effect == 5 && newimg)
        SDL_FreeSurface(newimg);
}

void rnda()
{
}
