// The darkened backdrop behind the dialogs: drawn from a blend kept per
// backdrop, it must look exactly as blending the backdrop over black at alpha
// 170 on every redraw did, and a new backdrop must never show the old blend.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "shell/media.h"
#include "shell/screen.h"
#include "tests/harness.h"

namespace {

void Scribble(SDL_Surface* s, unsigned seed)
{
    srand(seed);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; x++)
            row[x] = static_cast<Uint32>(rand()) ^ static_cast<Uint32>(rand()) << 16;
    }
    SDL_UnlockSurface(s);
}

// The screen as the blitter darkens a copy of it: black, then the copy at alpha 170.
std::vector<Uint32> BlendedByBlitter()
{
    SDL_Surface* copy = SDL_DisplayFormat(screen);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    SDL_SetAlpha(copy, SDL_SRCALPHA | SDL_RLEACCEL, 170);
    SDL_BlitSurface(copy, nullptr, screen, nullptr);
    SDL_FreeSurface(copy);
    return SurfacePixels(screen);
}

TEST(Backdrop, LooksAsTheBlitterBlendsItOnEveryRedrawAndFollowsANewBackdrop)
{
    HarnessOpen();
    SDL_Surface* backdrop = nullptr;
    for (unsigned seed : {1u, 2u}) {
        Scribble(screen, seed);
        std::vector<Uint32> before = SurfacePixels(screen);
        std::vector<Uint32> expected = BlendedByBlitter();
        SDL_LockSurface(screen);
        memcpy(screen->pixels, before.data(), before.size() * 4);  // the pitch is 4 w: a display surface
        SDL_UnlockSurface(screen);
        ASSERT_EQ(screen->pitch, screen->w * 4);

        DrawDarkened(screen, &backdrop);
        ASSERT_NE(backdrop, nullptr);
        EXPECT_TRUE(SurfacePixels(screen) == expected) << "first redraw, screen " << seed;
        EXPECT_TRUE(SurfacePixels(backdrop) == before) << "the backdrop itself stays the picture taken";
        // The dialog draws over it; the next redraw shows the same backdrop.
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
        DrawDarkened(screen, &backdrop);
        EXPECT_TRUE(SurfacePixels(screen) == expected) << "later redraw, screen " << seed;
        ReleaseSurface(&backdrop);
        EXPECT_EQ(backdrop, nullptr);
    }
}

}  // namespace
