#include "shell/screen.h"

#include <algorithm>
#include <cstring>

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

// An opaque picture onto a surface of its own pixel format is a copy of rows:
// the same pixels SDL's blit gives, clipped the way it clips, but without a
// blitter that writes past the cache. Under the compatibility library SDL 2's
// copy does, and the board's walls and backdrop cost more than the rest of the
// frame through it. False when the blit is not such a copy.
static bool CopyOpaque(int x, int y, SDL_Surface* source, const SDL_Rect* clip, SDL_Surface* destination)
{
    const SDL_PixelFormat* a = source->format;
    const SDL_PixelFormat* b = destination->format;
    if (source == destination || a->BytesPerPixel != b->BytesPerPixel || a->BitsPerPixel != b->BitsPerPixel ||
        a->Rmask != b->Rmask || a->Gmask != b->Gmask || a->Bmask != b->Bmask || a->BytesPerPixel < 2 || a->palette ||
        b->palette || (source->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY)))
        return false;
    int dx = static_cast<Sint16>(x), dy = static_cast<Sint16>(y);
    int sx = 0, sy = 0, w = source->w, h = source->h;
    if (clip) {
        sx = clip->x;
        sy = clip->y;
        w = clip->w;
        h = clip->h;
        if (sx < 0) {
            w += sx;
            dx -= sx;
            sx = 0;
        }
        if (sy < 0) {
            h += sy;
            dy -= sy;
            sy = 0;
        }
        w = std::min(w, source->w - sx);
        h = std::min(h, source->h - sy);
    }
    const SDL_Rect& c = destination->clip_rect;
    if (dx < c.x) {
        w -= c.x - dx;
        sx += c.x - dx;
        dx = c.x;
    }
    if (dy < c.y) {
        h -= c.y - dy;
        sy += c.y - dy;
        dy = c.y;
    }
    w = std::min(w, c.x + c.w - dx);
    h = std::min(h, c.y + c.h - dy);
    if (w <= 0 || h <= 0)
        return true;
    if (SDL_LockSurface(source) != 0)
        return false;
    if (SDL_LockSurface(destination) != 0) {
        SDL_UnlockSurface(source);
        return false;
    }
    size_t bpp = a->BytesPerPixel, row = static_cast<size_t>(w) * bpp;
    for (int k = 0; k < h; k++)
        memcpy(static_cast<Uint8*>(destination->pixels) + static_cast<size_t>(dy + k) * destination->pitch + dx * bpp,
               static_cast<const Uint8*>(source->pixels) + static_cast<size_t>(sy + k) * source->pitch + sx * bpp, row);
    SDL_UnlockSurface(destination);
    SDL_UnlockSurface(source);
    return true;
}

void apply_clip(int x, int y, SDL_Surface* source, SDL_Surface* destination, SDL_Rect* clip)
{
    if (!source || !destination || DrawingOff)
        return;
    if (CopyOpaque(x, y, source, clip, destination))
        return;
    SDL_Rect offset;
    offset.x = static_cast<Sint16>(x);
    offset.y = static_cast<Sint16>(y);
    offset.w = 0;
    offset.h = 0;
    SDL_BlitSurface(source, clip, destination, &offset);
}
