// Bitmap text. Three fonts, each one image strip holding every glyph in one row,
// with a table of glyph boxes and a table of pen advances. After a glyph the pen
// moves right by its advance plus 1; glyph boxes are wider than their advances,
// so glyphs overlap slightly, each drawn over the one before. A character that
// is not in the character list is neither drawn nor advanced over.
//   font 1: the 14-pixel font "media/images/font14.png", glyphs 23 pixels high
//   font 2: the 20-pixel font "media/images/font20.png", glyphs 34 pixels high
//   font 3: the 16-pixel font "media/images/font16.png", glyphs 26 pixels high
#ifndef TOVI_TEXT_TEXT_H
#define TOVI_TEXT_TEXT_H

#include <SDL.h>

// ---- fonts -------------------------------------------------------------------
constexpr int CHARLIST_SIZE = 223;  // room in the character list; 161 glyphs, the rest zero bytes
constexpr int GLYPHS = 161;         // glyph indexes 0..160; 160 is the space

extern const unsigned char CharList1[CHARLIST_SIZE];  // glyph index of a character = its position here
extern const int RectList1[GLYPHS][4];                // 20-pixel font boxes x, y, w, h
extern const int RectList2[GLYPHS][4];                // 14-pixel font boxes
extern const int RectList3[GLYPHS][4];                // 16-pixel font boxes
extern const int WidthList1[GLYPHS];                  // 20-pixel font advances
extern const int WidthList2[GLYPHS];                  // 14-pixel font advances
extern const int WidthList3[GLYPHS];                  // 16-pixel font advances
extern SDL_Rect fp1[GLYPHS];                          // clip rectangles built from RectList1 at start-up
extern SDL_Rect fp2[GLYPHS];                          // from RectList2
extern SDL_Rect fp3[GLYPHS];                          // from RectList3
extern SDL_Surface* fPicture;                         // font 2 image
extern SDL_Surface* fsPicture;                        // font 1 image
extern SDL_Surface* fmPicture;                        // font 3 image
extern int sled_x;                                    // running pen offset within a call; 0 between calls
extern int chr;                                       // glyph index matched last; kept after a call

// ---- drawing -----------------------------------------------------------------
void LoadFonts();  // builds fp1..fp3 and loads the three font images
void prikstr(SDL_Surface* surface, const char* str, int x, int y, int font);
int prikstrl(SDL_Surface* surface, const char* str, int x, int y, int font);  // x of the last glyph drawn
int strl(const char* str, int x, int y, int font);                            // the same walk without drawing
int HasGlyph(int ch);  // 1 when the byte ch (1..255) is in the character list (the space included)

#endif
