// Bitmap text: the fonts' generated tables and images, measuring and drawing by
// the pen rule, and the score counter's digit strip.
#include <gtest/gtest.h>

#include "shell/media.h"
#include "tests/harness.h"
#include "text/text.h"

namespace {

// A font number as callers pass it, its tables and image, box height and space step.
struct Font {
    int number;
    const int (*rects)[4];
    const int* advances;
    SDL_Surface** picture;
    int height, spaceStep;
    int StepA() const { return advances[0] + 1; }  // glyph 0 is 'A'
};
const Font FONTS[] = {
    // 1 is the 14-pixel font, 2 the 20-pixel one, 3 the 16-pixel one
    {1, RectList2, WidthList2, &fsPicture, 23, 13},
    {2, RectList1, WidthList1, &fPicture, 34, 21},
    {3, RectList3, WidthList3, &fmPicture, 26, 17},
};

// Whether the 60 x 60 digit cells of the strip at y0 and y1 are alike.
bool SameCell(SDL_Surface* s, int y0, int y1)
{
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 60; x++)
            if (PixelAt(s, x, y0 + y) != PixelAt(s, x, y1 + y))
                return false;
    return true;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        HarnessOpen();
        LoadFonts();
        a = ScreenLikeSurface(400, 60);
        b = ScreenLikeSurface(400, 60);
        Clear();
    }
    void TearDown() override { SDL_FreeSurface(a), SDL_FreeSurface(b); }
    void Clear()  // both canvases to sand
    {
        for (SDL_Surface* s : {a, b})
            SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 214, 180, 120));
    }
    bool Same() const { return PixelsDiffering(a, b) == 0; }
    SDL_Surface* a = nullptr;  // drawn by the call under test
    SDL_Surface* b = nullptr;  // drawn the expected way
};

}  // namespace

TEST_F(Text, TablesAndImagesFollowTheStripRules)
{
    for (const Font& f : FONTS) {
        SCOPED_TRACE(f.number);
        int x = 0;  // boxes sit side by side in one row, 1 pixel apart
        for (int i = 0; i < GLYPHS - 1; i++) {
            const int* r = f.rects[i];
            ASSERT_TRUE(r[0] == x && r[1] == 0 && r[3] == f.height) << i;
            ASSERT_GT(f.advances[i], 0) << i;
            x += r[2] + 1;
        }
        const int* space = f.rects[GLYPHS - 1];
        EXPECT_EQ(space[0] | space[1] | space[2] | space[3], 0);
        ASSERT_NE(*f.picture, nullptr);
        EXPECT_EQ((*f.picture)->w, x - 1);
    }
}

// Measuring and drawing follow the pen rule: bytes not in the character list
// neither draw nor move the pen, and glyphs land in their boxes at the pen.
// Unknown fonts measure and draw nothing.
TEST_F(Text, MeasuringAndDrawingFollowThePenRuleAndUnknownFontsDrawNothing)
{
    for (const Font& f : FONTS) {
        SCOPED_TRACE(f.number);
        const struct {
            const char* text;
            int x, want;
        } measures[] = {{"", 57, 0},
                        {"A", 10, 10},
                        {"AA", 10, 10 + f.StepA()},
                        {"   A", 0, 3 * f.spaceStep},
                        {"A\\B", 0, f.StepA()},
                        {"A\xA4|B", 0, f.StepA()},
                        {"\\|\xA4", 5, 5}};
        for (const auto& c : measures) {
            EXPECT_EQ(strl(c.text, c.x, 0, f.number), c.want) << c.text;
            EXPECT_EQ(sled_x, 0);
            EXPECT_EQ(prikstrl(a, c.text, c.x, 9, f.number), c.want) << c.text;
            EXPECT_EQ(sled_x, 0);
        }
        Clear();
        prikstr(a, "A", 30, 12, f.number);
        int ink = PixelsDiffering(a, b);  // pixels drawn: all inside A's box placed at (30, 12)
        EXPECT_GT(ink, 0);
        EXPECT_EQ(PixelsDiffering(a, b, 30, 12, 30 + f.rects[0][2], 12 + f.height), ink);
        // A string draws its glyphs one by one, each where the pen stands.
        const struct {
            const char* text;
            int gap;                                                           // pen step from A to B beyond A's own
        } draws[] = {{"AB", 0}, {"A\\|\244B", 0}, {"A  B", 2 * f.spaceStep}};  // \244: the byte 0xA4
        for (const auto& c : draws) {
            Clear();
            prikstr(a, c.text, 9, 5, f.number);
            prikstr(b, "A", 9, 5, f.number);
            prikstr(b, "B", 9 + f.StepA() + c.gap, 5, f.number);
            EXPECT_TRUE(Same()) << c.text;
        }
        Clear();
        prikstr(a, "   \\|\xA4", 9, 5, f.number);  // nothing to see
        EXPECT_TRUE(Same());
    }
    for (int bad : {0, 4, -1}) {
        EXPECT_EQ(strl("AB", 7, 0, bad), 7) << bad;
        EXPECT_EQ(prikstrl(a, "AB", 7, 0, bad), 7) << bad;
        EXPECT_EQ(sled_x, 0);
        prikstr(a, "Tovi", 9, 5, bad);
    }
    EXPECT_TRUE(Same());
}

TEST(TextCounter, DigitStripRepeatsNineZeroOneAtItsEnds)
{
    HarnessOpen();
    SDL_Surface* s = LoadImageAlpha("media/images/fontcnt.png");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->h, 780);
    // A 9 above the 0 and a 0 and a 1 below the 9; the ten digits all differ.
    EXPECT_TRUE(SameCell(s, 0, 600) && SameCell(s, 660, 60) && SameCell(s, 720, 120));
    for (int d = 1; d <= 10; d++)
        for (int e = 1; e < d; e++)
            EXPECT_FALSE(SameCell(s, 60 * d, 60 * e)) << d << " " << e;
    SDL_FreeSurface(s);
}
