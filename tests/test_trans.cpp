// Fades and level transitions: frame counts, what the display shows once an
// effect is over (rebuilt from the rectangles it pushed, so every tile and band
// must come once), and the time it waits on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "shell/clock.h"
#include "shell/display.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "tests/harness.h"
#include "trans/trans.h"

namespace {

using Pixels = std::vector<Uint32>;

// Rows of the screen in which a and b differ anywhere.
std::vector<int> DifferingRows(const Pixels& a, const Pixels& b)
{
    std::vector<int> rows;
    for (int y = 0; y < SCREEN_H; y++)
        if (!std::equal(a.begin() + y * SCREEN_W, a.begin() + (y + 1) * SCREEN_W, b.begin() + y * SCREEN_W))
            rows.push_back(y);
    return rows;
}

class Trans : public ::testing::Test {
protected:
    void SetUp() override { HarnessOpen(); }
};

}  // namespace

TEST_F(Trans, BiggerImagesTakeFewerFramesAndMissingPicturesNoneAndNeverCrash)
{
    const struct {
        int w, h, frames;
    } cases[] = {{100, 100, 127}, {SCREEN_W, SCREEN_H, 16}};  // steps of 2 and of 16
    for (const auto& c : cases) {
        SDL_Surface* image = NoiseSurface(c.w, c.h, 2);
        EXPECT_EQ(Fade(screen, image, 1, 0, 0), 1);
        EXPECT_EQ(trans_frames, c.frames) << c.w;
        SDL_FreeSurface(image);
    }
    EXPECT_EQ(Fade(screen, nullptr, 1, 0, 0), 1);
    EXPECT_EQ(trans_frames, 0);

    for (int effect : {1, 2, 3, 4, 5}) {
        NLevel(screen, nullptr, nullptr, effect, 5);
        NLevel(screen, CopyScreen(screen), nullptr, effect, 5);
    }
    NLevel(nullptr, CopyScreen(screen), NoiseSurface(SCREEN_W, SCREEN_H, 2), 5, 5);
    EXPECT_EQ(trans_frames + trans_pushes, 0);
}

TEST_F(Trans, EachEffectEndsOnTheNewPicture)
{
    const struct {
        int effect, frames, pushes;
        Uint32 waited;
    } cases[] = {{1, 52, 0, 0}, {2, 1, 25 * 12, 500}, {3, 1, TILE_COUNT, 960}, {5, 0, 12 * 50, 240}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        // The old picture is on the screen and the display, as when a level changes
        // (the two noise pictures differ in every row).
        SDL_Surface* picture = NoiseSurface(SCREEN_W, SCREEN_H, 1);
        apply_clip(0, 0, picture, screen, nullptr);
        ShowFrame(screen);
        Pixels old = SurfacePixels(picture);
        SDL_FreeSurface(picture);
        SDL_Surface* fresh = NoiseSurface(SCREEN_W, SCREEN_H, 2);
        Pixels wanted = SurfacePixels(fresh);
        Uint32 start = clock_now;
        NLevel(screen, CopyScreen(screen), fresh, c.effect, 5);  // effect 5 frees fresh itself

        EXPECT_EQ(std::make_tuple(clock_now - start, trans_frames), std::make_tuple(c.waited, c.frames));
        ASSERT_EQ(trans_pushes, c.pushes);
        Pixels shown = old;  // the display: the cross-fade flips, the others push rectangles
        for (int i = 0; i < trans_pushes; i++) {
            const SDL_Rect& r = TransPush[i];
            for (int y = r.y; y < r.y + r.h; y++)
                std::copy_n(wanted.begin() + y * SCREEN_W + r.x, r.w, shown.begin() + y * SCREEN_W + r.x);
        }
        if (c.effect == 1) {
            shown = SurfacePixels(screen);
            EXPECT_FALSE((fresh->flags & SDL_SRCALPHA) || fresh->format->alpha != 255) << "alpha left on";
        }
        std::vector<int> bottoms, others;  // the wide blinds never push the bottom row of a band
        for (int y = 0; y < SCREEN_H; y++)
            (c.effect == 2 && y % 50 == 49 ? bottoms : others).push_back(y);
        EXPECT_EQ(DifferingRows(shown, wanted), bottoms);
        EXPECT_EQ(DifferingRows(shown, old), others);

        if (c.effect != 5)
            SDL_FreeSurface(fresh);
    }
}
