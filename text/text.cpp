#include "text/text.h"

const unsigned char CharList1[CHARLIST_SIZE] = {0};
const int RectList1[GLYPHS][4] = {};
const int RectList2[GLYPHS][4] = {};
const int RectList3[GLYPHS][4] = {};
const int WidthList1[GLYPHS] = {};
const int WidthList2[GLYPHS] = {};
const int WidthList3[GLYPHS] = {};
SDL_Rect fp1[GLYPHS];
SDL_Rect fp2[GLYPHS];
SDL_Rect fp3[GLYPHS];
SDL_Surface* fPicture = nullptr;
SDL_Surface* fsPicture = nullptr;
SDL_Surface* fmPicture = nullptr;
int sled_x = 0;
int chr = 0;

void LoadFonts()
{
}

void prikstr(SDL_Surface*, const char*, int, int, int)
{
}

int prikstrl(SDL_Surface*, const char*, int x, int, int)
{
    return x;
}

int strl(const char*, int x, int, int)
{
    return x;
}
