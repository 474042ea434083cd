// Bitmap text: the character list, the three fonts' tables and images against the
// strip rules, measuring with strl and prikstrl, drawing onto a headless surface,
// and the score counter's digit wheel.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "tests/harness.h"
#include "text/text.h"

namespace {

struct Font {
    int number;               // as callers pass it
    const int (*rects)[4];    // its boxes
    const int* advances;
    const SDL_Rect* clips;    // built by LoadFonts
    SDL_Surface** picture;
    int height;               // glyph height of the strip
    int spaceStep;            // how far a space moves the pen
};

const Font FONTS[] = {
    {1, RectList2, WidthList2, fp2, &fsPicture, 23, 13},
    {2, RectList1, WidthList1, fp1, &fPicture, 34, 21},
    {3, RectList3, WidthList3, fp3, &fmPicture, 26, 17},
};

int IndexOf(unsigned char c)
{
    for (int i = 0; i < CHARLIST_SIZE; i++)
        if (CharList1[i] == c)
            return i;
    return -1;
}

Uint32 Pixel(SDL_Surface* s, int x, int y)
{
    return *reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4);
}

Uint8 Alpha(SDL_Surface* s, int x, int y)
{
    Uint8 r, g, b, a;
    SDL_GetRGBA(Pixel(s, x, y), s->format, &r, &g, &b, &a);
    return a;
}

// A 32-bit surface with alpha, whatever format the image had.
SDL_Surface* Rgba(SDL_Surface* s)
{
    SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    SDL_Surface* out = SDL_ConvertSurface(s, model->format, SDL_SWSURFACE);
    SDL_FreeSurface(model);
    return out;
}

bool SameArea(SDL_Surface* a, int ay, SDL_Surface* b, int by, int w, int h)
{
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (Pixel(a, x, ay + y) != Pixel(b, x, by + y))
                return false;
    return true;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        HarnessOpen();
        LoadFonts();
        a = Canvas();
        b = Canvas();
    }
    void TearDown() override
    {
        SDL_FreeSurface(a);
        SDL_FreeSurface(b);
    }
    static SDL_Surface* Canvas()
    {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 60, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 214, 180, 120));  // sand
        return s;
    }
    bool Same() const { return SameArea(a, 0, b, 0, a->w, a->h); }
    bool Blank() const
    {
        SDL_Surface* empty = Canvas();
        bool same = SameArea(a, 0, empty, 0, a->w, a->h);
        SDL_FreeSurface(empty);
        return same;
    }
    SDL_Surface* a = nullptr;  // drawn by the call under test
    SDL_Surface* b = nullptr;  // drawn the expected way
};

}  // namespace

TEST(TextCharList, HoldsTheGlyphsInOrderAndNothingElse)
{
    std::set<unsigned char> seen;
    for (int i = 0; i < GLYPHS; i++)
        seen.insert(CharList1[i]);
    EXPECT_EQ(seen.size(), static_cast<size_t>(GLYPHS));
    EXPECT_EQ(seen.count(0), 0u);
    for (int i = GLYPHS; i < CHARLIST_SIZE; i++)
        EXPECT_EQ(CharList1[i], 0) << i;

    const int where[][2] = {{'A', 0},   {'Z', 25},  {'a', 26},  {'z', 51},  {'0', 52},  {'9', 61},
                            {'~', 62},  {'`', 63},  {'!', 64},  {'-', 74},  {'\'', 84}, {'"', 85},
                            {'?', 91},  {0xA1, 92}, {0xA5, 95}, {0xBF, 99}, {0xC0, 100}, {0xD6, 122},
                            {0xD8, 123}, {0xDD, 128}, {0xDF, 129}, {0xE6, 136}, {0xF6, 152}, {0xF8, 153},
                            {0xFD, 158}, {0xFF, 159}, {' ', 160}};
    for (const auto& w : where)
        EXPECT_EQ(IndexOf(static_cast<unsigned char>(w[0])), w[1]) << std::hex << w[0];

    const std::set<int> latin = {0xA1, 0xA2, 0xA3, 0xA5, 0xA7, 0xA9, 0xAE, 0xBF};
    for (int c = 1; c < 256; c++) {
        bool ascii = c >= 0x20 && c <= 0x7E && c != '\\' && c != '|';
        bool upper = c >= 0xC0 && c != 0xD7 && c != 0xDE && c != 0xF7 && c != 0xFE;
        EXPECT_EQ(IndexOf(static_cast<unsigned char>(c)) >= 0, ascii || upper || latin.count(c) > 0) << c;
    }
}

TEST_F(Text, TablesAndImagesFollowTheStripRules)
{
    for (const Font& f : FONTS) {
        SCOPED_TRACE(f.number);
        int x = 0;
        for (int i = 0; i < GLYPHS - 1; i++) {
            const int* r = f.rects[i];
            ASSERT_EQ(r[0], x) << i;
            ASSERT_EQ(r[1], 0) << i;
            ASSERT_EQ(r[3], f.height) << i;
            ASSERT_GT(f.advances[i], 0) << i;
            ASSERT_GT(r[2], f.advances[i]) << i;  // each glyph overlaps the next
            x += r[2] + 1;
        }
        const int* space = f.rects[GLYPHS - 1];
        EXPECT_EQ(space[0] | space[1] | space[2] | space[3], 0);
        EXPECT_EQ(f.advances[GLYPHS - 1] + 1, f.spaceStep);
        for (int i = 0; i < GLYPHS; i++) {
            const SDL_Rect& c = f.clips[i];
            ASSERT_TRUE(c.x == f.rects[i][0] && c.y == 0 && c.w == f.rects[i][2] && c.h == f.rects[i][3]) << i;
        }

        // The strip ends with the last box; every box shows ink, every gap is clear.
        SDL_Surface* p = *f.picture;
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->format->BytesPerPixel, 4);
        EXPECT_EQ(p->w, x - 1);
        EXPECT_EQ(p->h, f.height);
        SDL_LockSurface(p);
        for (int i = 0; i < GLYPHS - 1; i++) {
            const int* r = f.rects[i];
            int ink = 0, gap = 0;
            for (int y = 0; y < p->h; y++) {
                for (int gx = r[0]; gx < r[0] + r[2]; gx++)
                    ink += Alpha(p, gx, y) > 128;
                if (r[0] + r[2] < p->w)
                    gap += Alpha(p, r[0] + r[2], y) != 0;
            }
            EXPECT_GT(ink, 0) << "glyph " << i;
            EXPECT_EQ(gap, 0) << "after glyph " << i;
        }
        SDL_UnlockSurface(p);
    }
}

TEST_F(Text, MeasuringFollowsThePenRule)
{
    for (const Font& f : FONTS) {
        SCOPED_TRACE(f.number);
        int stepA = f.advances[IndexOf('A')] + 1;
        EXPECT_EQ(strl("", 57, 0, f.number), 0);
        EXPECT_EQ(prikstrl(a, "", 57, 0, f.number), 0);
        EXPECT_EQ(strl("A", 10, 0, f.number), 10);  // the last glyph starts at x
        EXPECT_EQ(strl("AA", 10, 0, f.number), 10 + stepA);
        EXPECT_EQ(strl("   A", 0, 0, f.number), 3 * f.spaceStep);
        EXPECT_EQ(strl("A   ", 0, 0, f.number), stepA + 2 * f.spaceStep);
        // Bytes not in the list neither draw nor move the pen.
        EXPECT_EQ(strl("A\\B", 0, 0, f.number), stepA);
        EXPECT_EQ(strl("A\xA4|\x01" "B", 0, 0, f.number), stepA);
        EXPECT_EQ(strl("\\|\xA4\xD7", 5, 0, f.number), 5);
        EXPECT_EQ(sled_x, 0);
        EXPECT_EQ(strl("A\\B", 3, 0, f.number), strl("A\\B", 3, 99, f.number));  // y is not used
        EXPECT_EQ(strl("\xC0\xE7\xDF\xBF", 0, 0, f.number), prikstrl(a, "\xC0\xE7\xDF\xBF", 0, 0, f.number));
        EXPECT_EQ(sled_x, 0);
    }
    // The fonts differ, so a mix-up of font numbers and tables shows.
    EXPECT_EQ(strl("AA", 0, 0, 1), WidthList2[0] + 1);
    EXPECT_EQ(strl("AA", 0, 0, 2), WidthList1[0] + 1);
    EXPECT_EQ(strl("AA", 0, 0, 3), WidthList3[0] + 1);
    EXPECT_EQ(std::set<int>({strl("Mudgrove!", 0, 0, 1), strl("Mudgrove!", 0, 0, 2), strl("Mudgrove!", 0, 0, 3)}).size(), 3u);

    for (int bad : {0, 4, -1, 20}) {
        EXPECT_EQ(strl("AB", 7, 0, bad), 7) << bad;
        EXPECT_EQ(prikstrl(a, "AB", 7, 0, bad), 7) << bad;
        EXPECT_EQ(sled_x, 0);
    }
    // Calls do not shift each other, even after an unusual font number; chr keeps
    // the last glyph found.
    int once = strl("Tovi Mudgrove", 4, 0, 2);
    prikstr(a, "Tovi Mudgrove", 4, 0, 2);
    EXPECT_EQ(strl("Tovi Mudgrove", 4, 0, 2), once);
    strl("AB\\|", 0, 0, 1);
    EXPECT_EQ(chr, IndexOf('B'));
}

TEST_F(Text, GlyphsLandInTheirBoxesAndFollowThePen)
{
    for (const Font& f : FONTS) {
        SCOPED_TRACE(f.number);
        const int* boxA = f.rects[IndexOf('A')];
        int stepA = f.advances[IndexOf('A')] + 1;

        // One glyph draws only inside its box placed at (x, y).
        SDL_FillRect(a, nullptr, SDL_MapRGB(a->format, 214, 180, 120));
        prikstr(a, "A", 30, 12, f.number);
        int left = a->w, right = -1, top = a->h, bottom = -1;
        Uint32 sand = Pixel(b, 0, 0);
        for (int y = 0; y < a->h; y++)
            for (int x = 0; x < a->w; x++)
                if (Pixel(a, x, y) != sand) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0) << "nothing drawn";
        EXPECT_GE(left, 30);
        EXPECT_LT(right, 30 + boxA[2]);
        EXPECT_GE(top, 12);
        EXPECT_LT(bottom, 12 + f.height);

        // A string draws as its glyphs one by one, left to right, each at the pen.
        const struct {
            const char* text;
            int gap;  // pen step from A to B beyond A's own
        } cases[] = {{"AB", 0}, {"A\\B", 0}, {"A\xA4|B", 0}, {"A  B", 2 * f.spaceStep}};
        for (const auto& c : cases) {
            SDL_FillRect(a, nullptr, SDL_MapRGB(a->format, 214, 180, 120));
            SDL_FillRect(b, nullptr, SDL_MapRGB(b->format, 214, 180, 120));
            prikstr(a, c.text, 9, 5, f.number);
            prikstr(b, "A", 9, 5, f.number);
            prikstr(b, "B", 9 + stepA + c.gap, 5, f.number);
            EXPECT_TRUE(Same()) << c.text;
        }

        // Spaces and unknown bytes alone draw nothing.
        SDL_FillRect(a, nullptr, SDL_MapRGB(a->format, 214, 180, 120));
        prikstr(a, "   \\|\xA4", 9, 5, f.number);
        EXPECT_TRUE(Blank());
    }
    for (int bad : {0, 4, -1}) {
        prikstr(a, "Tovi", 9, 5, bad);
        EXPECT_TRUE(Blank()) << bad;
    }
}

TEST(TextCounter, DigitWheelRollsRoundFromNineToZero)
{
    SDL_Surface* loaded = IMG_Load("media/images/fontcnt.png");
    ASSERT_NE(loaded, nullptr);
    SDL_Surface* s = Rgba(loaded);
    SDL_FreeSurface(loaded);
    ASSERT_EQ(s->w, 60);
    ASSERT_EQ(s->h, 780);
    SDL_LockSurface(s);
    // A 9 above the 0, and a 0 and a 1 below the 9, the same as the ones they repeat.
    EXPECT_TRUE(SameArea(s, 0, s, 600, 60, 60));
    EXPECT_TRUE(SameArea(s, 660, s, 60, 60, 60));
    EXPECT_TRUE(SameArea(s, 720, s, 120, 60, 60));
    for (int d = 0; d < 10; d++) {
        int ink = 0;
        for (int y = 0; y < 60; y++)
            for (int x = 0; x < 60; x++)
                ink += Alpha(s, x, 60 * (d + 1) + y) > 128;
        EXPECT_GT(ink, 100) << d;
        for (int e = 0; e < d; e++)
            EXPECT_FALSE(SameArea(s, 60 * (d + 1), s, 60 * (e + 1), 60, 60)) << d << " " << e;
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
}
