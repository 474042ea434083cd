// Bitmap text: loading the three font images and drawing and measuring strings.
// CharList1 and the box and advance tables live in text/fontmetrics.cpp, written
// by tools/gen/gen_fonts.py together with the font images.
#include "text/text.h"

#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/screen.h"

SDL_Rect fp1[GLYPHS];
SDL_Rect fp2[GLYPHS];
SDL_Rect fp3[GLYPHS];
SDL_Surface* fPicture = nullptr;
SDL_Surface* fsPicture = nullptr;
SDL_Surface* fmPicture = nullptr;
int sled_x = 0;
int chr = 0;

// Only the first GLYPHS entries of CharList1 hold characters; the rest are zero
// bytes, which no string contains, so a walk over the glyphs alone finds the same.
static_assert(GLYPHS <= CHARLIST_SIZE, "every glyph needs its place in the character list");

static void BuildRects(SDL_Rect* rects, const int (*list)[4])
{
    for (int i = 0; i < GLYPHS; i++) {
        rects[i].x = static_cast<Sint16>(list[i][0]);
        rects[i].y = static_cast<Sint16>(list[i][1]);
        rects[i].w = static_cast<Uint16>(list[i][2]);
        rects[i].h = static_cast<Uint16>(list[i][3]);
    }
}

static void Reload(SDL_Surface*& picture, const char* path, int)
{
    if (picture)
        SDL_FreeSurface(picture);
    picture = LoadImageAlpha(path);
}

void LoadFonts()
{
    BuildRects(fp1, RectList1);
    BuildRects(fp2, RectList2);
    BuildRects(fp3, RectList3);
    static const ImageRow rows[] = {FONT_IMAGES(IMAGE_ROW)};
    ForEachImage(rows, static_cast<int>(sizeof rows / sizeof rows[0]), 0, Reload);
}

// The image, boxes and advances of a font number; false for a number that is no font.
static bool FontTables(int font, SDL_Surface** picture, SDL_Rect** rects, const int** advances)
{
    if (font == 1) {
        *picture = fsPicture;
        *rects = fp2;
        *advances = WidthList2;
    } else if (font == 2) {
        *picture = fPicture;
        *rects = fp1;
        *advances = WidthList1;
    } else if (font == 3) {
        *picture = fmPicture;
        *rects = fp3;
        *advances = WidthList3;
    } else {
        return false;
    }
    return true;
}

// The walk shared by all three routines: each character found in the list is drawn
// (onto surface, if any) at x + sled_x and moves the pen by its advance plus 1;
// any other byte is skipped without moving. Returns the x of the last glyph found,
// x when none was, 0 for an empty string.
// The glyph of each byte: its first place in the character list, -1 for none.
struct GlyphTable {
    int of[256];
    GlyphTable()
    {
        for (int b = 0; b < 256; b++)
            of[b] = -1;
        for (int i = GLYPHS - 1; i >= 0; i--)
            of[CharList1[i]] = i;
    }
};

static int GlyphOfByte(unsigned char c)
{
    static const GlyphTable table;  // built once, on first use, safely from any thread
    return table.of[c];
}

static int Walk(SDL_Surface* surface, const char* str, int x, int y, int font)
{
    if (!str || !*str)
        return 0;
    SDL_Surface* picture = nullptr;
    SDL_Rect* rects = nullptr;
    const int* advances = nullptr;
    bool known = FontTables(font, &picture, &rects, &advances);
    int last = x;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(str); *c; c++) {
        int i = GlyphOfByte(*c);
        if (i < 0)
            continue;
        last = x + sled_x;
        chr = i;
        if (known) {
            apply_clip(last, y, picture, surface, &rects[i]);  // draws nothing without a surface
            sled_x += advances[i] + 1;
        }
    }
    sled_x = 0;
    return last;
}

void prikstr(SDL_Surface* surface, const char* str, int x, int y, int font)
{
    Walk(surface, str, x, y, font);
}

int prikstrl(SDL_Surface* surface, const char* str, int x, int y, int font)
{
    return Walk(surface, str, x, y, font);
}

int strl(const char* str, int x, int y, int font)
{
    return Walk(nullptr, str, x, y, font);
}

int HasGlyph(int ch)
{
    if (ch <= 0 || ch > 255)
        return 0;
    for (int i = 0; i < GLYPHS; i++)
        if (CharList1[i] == ch)
            return 1;
    return 0;
}
