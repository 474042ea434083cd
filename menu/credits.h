// The credits: one tall picture of text rises through a window on the credits
// background, one pixel per 20 ms, to its own looping tune, and starts again
// from below once it has scrolled out, until the back-to-menu button is pressed.
#ifndef TOVI_MENU_CREDITS_H
#define TOVI_MENU_CREDITS_H

#include <SDL.h>
#include <SDL_mixer.h>

// ---- images and music, loaded with the menu art ------------------------------
extern SDL_Surface* optimizedImageCredits;   // background (alpha)
extern SDL_Surface* optimizedImageCreditsm;  // the text picture, 690 wide, any height (alpha)
extern SDL_Surface* btmhon;     // back-to-menu button, under the pointer (as loaded; the high scores use it too)
extern SDL_Surface* btmhoff;    // back-to-menu button, plain (as loaded; the high scores use it too)
extern Mix_Music* musicredits;  // the credits tune

// ---- scroll state ------------------------------------------------------------
constexpr int CREDITS_START = -500;  // scroll position on entry and after the text has scrolled out

extern SDL_Rect clipy;  // the part of the text shown: x 0, y = clipi, 690 x 520 (set with the menu art)
extern int clipi;       // text row at the top of the window; starts CREDITS_START on every entry
extern int cgt;         // tick of this frame
extern int cgtt;        // tick of the previous frame; 0 on entry
extern float ctm;       // ms between the two; gaps of 200 ms or more are not counted
extern float cceka;     // ms gathered towards the next one-pixel step
extern int pcm;         // 1 once the credits tune was started; 0 restarts it (on leaving, or when it ended)

// One frame of the credits. Returns 992 to stay, 0 back to the main menu.
int RenderCredits(int x, int y, int button, int key, int unicode, SDL_Surface* screen);

#endif
