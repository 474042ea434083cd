// The main menu (screen 0) and the one-time loading of the art and sound of all
// menus (and of much of the level art), behind a loading bar.
//
// The menu is a scene: five items in a column on the left, each an 11-frame
// strip that plays forward while the pointer is on it and back when it leaves,
// with a dust puff under it; the hero standing on the right, fidgeting and
// talking when the player is idle; a camel walking across, a beetle and a
// balloon, all on one scene cycle counted in 20 ms steps; and in the bottom
// right the current player's name in an area that opens the player profiles.
#ifndef TOVI_MENU_MENU_H
#define TOVI_MENU_MENU_H

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/geometry.h"

// ---- items -------------------------------------------------------------------
constexpr int MENU_ITEMS = 5;              // play, options, credits, help, quit
constexpr int MENU_HOT_AREAS = 6;          // a sixth area lies below the last item and leads nowhere
constexpr int MENU_STRIP_SLOTS = 8;        // menui slots; 1..5 filled
constexpr int STRIP_FRAMES = MENU_FRAMES;  // frames of MENU_FRAME_SIZE side by side

extern SDL_Rect MenuRectangle[MENU_HOT_AREAS + 1];  // hot area i: MENU_ITEM moved i - 1 MENU_ITEM_STEPs
extern SDL_Surface* menui[MENU_STRIP_SLOTS];        // item strips; slot 6 stays empty
extern SDL_Surface* menuRest[MENU_STRIP_SLOTS];     // each strip's first frame on its own, for the items at rest
extern SDL_Rect MRect[STRIP_FRAMES + 1];            // frame k of a strip: (300k - 300, 0, 300, 400)
extern int proslastavka;                            // the item whose strip is animating; 0 none
extern int br;                                      // frame of that strip, 1..11 (2 again once the item is let go)
extern int smer;                                    // strip direction: 1 forward, -1 back, 0 held
extern int brs;                                     // dust-puff frame under the active item, in 20 ms steps
extern int as;                                      // 1 when an item is under the pointer in this redraw
extern int menu_item;                               // item under the pointer plus one (2..7); 0 none
extern int level_num;                               // the screen code the menu and the game dialogs return

// ---- the scene ---------------------------------------------------------------
constexpr int CAMEL_FRAMES = 5;
constexpr int BUG_IMAGES = 51;   // beetle frames 1..47
constexpr int HERO_IMAGES = 14;  // hero frames 1..12
constexpr int LOADING_STEPS = 11;

extern SDL_Surface* CamelImage;              // the camel's walk strip
extern SDL_Rect CRect[CAMEL_FRAMES + 1];     // frame k: (150k - 150, 0, 150, 157)
extern int kamila;                           // camel frame counter; frame = kamila / 6
extern float gdesam;                         // scene step 0..500: camel, beetle, balloon, camel sound
extern SDL_Surface* MaskImage;               // foreground drawn over the camel
extern SDL_Surface* BugImage[BUG_IMAGES];    // beetle frames
extern SDL_Surface* ToviImage[HERO_IMAGES];  // 1..4 first idle (1 the rest pose), 5..8 talking, 9..12 second idle
extern int tovital;                          // talk start: 0 not running, 1 start now, else the drc it started at
extern int tovices;                          // second idle animation start, the same way
extern int tovimig;                          // first idle animation start, the same way
extern int drc;                              // hero animation steps (20 ms each)
extern int mousenomove;                      // tick the talk timer last restarted (17 s); 0 restarts it
extern int mousenomoveces;                   // tick the fidget timer last restarted (7 s); 0 restarts it
extern int tdm;                              // tick of the previous redraw
extern int tdm2;                             // tick of this redraw
extern float dtm;                            // ms since the previous redraw
extern float drtm;                           // ms gathered towards the next 20 ms step (the rest is dropped)
extern SDL_Surface* MenuImage;               // background
extern SDL_Surface* WpImage;                 // the player area lit (as loaded)
extern SDL_Surface* BaImage;                 // the balloon

// ---- shared by every menu screen ---------------------------------------------
extern SDL_Surface* optimizedImageCur;      // the pointer, drawn with its top-left at the pointer
extern SDL_Surface* optimizedImageCursorp;  // the pointer while a button is pressed
extern Mix_Music* mintro;                   // menu music
extern Mix_Music* mmap_music;               // map music (not "mmap": that name belongs to the C library)
extern Mix_Chunk* mtomb;                    // an item comes up
extern Mix_Chunk* mcamel;                   // the camel
extern Mix_Chunk* mdbtn;                    // click sound of all dialogs
extern int MenuPrviPut;                     // 1: the next redraw loads everything (InitMenu); starts 1
extern SDL_Surface* LSImage;                // loading-screen backdrop (as loaded); released by InitMenu
extern SDL_Surface* LSTImage;               // loading-bar strip (as loaded); released by InitMenu
extern SDL_Rect LST[LOADING_STEPS + 1];     // bar after step k: (0, 0, 47k, 44)

void InitMenu(SDL_Surface* screen);
int RenderMenu(int x, int y, int button, SDL_Surface* screen);
void mi(int item, SDL_Surface* screen);  // level_num for menu_item (its first argument is not read)

void MenuCursor(SDL_Surface* screen, int x, int y);                // the menu pointer at (x, y)
void MenuPointer(SDL_Surface* screen, int x, int y, int pressed);  // plain or pressed
// The darkened picture behind a menu dialog: takes the copy of the screen when
// there is none, fills the screen black and draws the copy at alpha 170.
void DrawBackdrop(SDL_Surface* screen);
void FreeMenuBackdrop();  // releases that copy (the next dialog takes a fresh one)

#endif
