// Help: a book of three pages, each with up to four video slots. A click on a
// slot's play button plays that slot's short video in place; the arrows in the
// top corners turn the pages, and on the last page the right one leads back to
// the main menu.
#ifndef TOVI_MENU_HELP_H
#define TOVI_MENU_HELP_H

#include <SDL.h>

// ---- pages -------------------------------------------------------------------
constexpr int HELP_PAGES = 3;
constexpr int HELP_VIDEOS = 11;  // "media/video/help1.ogg" .. "help11.ogg"

extern int backi;  // page shown, 1..HELP_PAGES; 0 while help is closed (the next call opens page 1)

// ---- images, loaded with the menu art (as loaded) ----------------------------
extern SDL_Surface* hbackg[HELP_PAGES + 1];  // the pages, full screen, slots 1..3
extern SDL_Surface* hpb;                     // play button
extern SDL_Surface* hpbh;                    // play button, under the pointer
extern SDL_Surface* hleft;                   // previous page (pages 2 and 3)
extern SDL_Surface* hlefth;
extern SDL_Surface* hright;  // next page (pages 1 and 2)
extern SDL_Surface* hrighth;
extern SDL_Surface* hback;  // back to the main menu (page 3)
extern SDL_Surface* hbackh;

// One redraw of help; a click on a play button plays the video before it returns.
// It leaves by setting level_no to 0 itself.
void RenderHelp(int x, int y, int button, int key, SDL_Surface* screen);

#endif
