#include "shell/screen.h"

#include "shell/geometry.h"

SDL_Surface* screen = nullptr;
thread_local int level_no = SCREEN_MENU;
int m_bQuit = 0;
int start_level_no = 1;

thread_local int but = 0;
thread_local int ToviMouseX = 0;
thread_local int ToviMouseY = 0;
thread_local int ToviRelativeMouseX = 0;
thread_local int ToviRelativeMouseY = 0;
thread_local int kkeyk = 0;

thread_local int mousechk = 1;
thread_local int LevelStar = 1;
thread_local int dple = 0;
thread_local int dead = 0;
int menu_first_time = 1;

int rendme = 0;
int rendmp = 0;
int renddp = 0;
int rendda = 0;
int renddg = 0;
int renddhs = 0;
int renddo = 0;
int renddh = 0;
int rendc = 0;
thread_local int renddr = 0;

int biodg = 0;
int biodp = 0;
int bioo = 0;
thread_local int biodr = 0;
thread_local int prikpp = 0;
int DrawingOff = 0;

bool CornerButton(SDL_Surface* frame, int x, int y, SDL_Surface* lit, SDL_Surface* plain)
{
    // The hot area reaches one pixel past the image at the right and the bottom.
    const ScreenAt at = CORNER_BUTTON_AT;
    bool over = InBox(x, y, at.x, at.y, at.x + CORNER_BUTTON_SIZE.w, at.y + CORNER_BUTTON_SIZE.h);
    apply_clip(at.x, at.y, over ? lit : plain, frame, nullptr);
    return over;
}

void apply_clip(int x, int y, SDL_Surface* source, SDL_Surface* destination, SDL_Rect* clip)
{
    if (!source || !destination || DrawingOff)
        return;
    SDL_Rect offset;
    offset.x = static_cast<Sint16>(x);
    offset.y = static_cast<Sint16>(y);
    offset.w = 0;
    offset.h = 0;
    SDL_BlitSurface(source, clip, destination, &offset);
}
