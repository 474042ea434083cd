// The options screen: music and effects volume on two sliders, full screen on a
// check box, the window's size (1x, 2x, 3x as the desktop allows) on three
// buttons under it, and OK back to the main menu. Every redraw with the button down
// saves the settings, and the volumes apply at once, so a drag is heard live.
// The volumes and the full-screen switch themselves are slidm, slidf and fulls
// (shell/settings.h); the shell re-opens the window when fulls changes.
#ifndef TOVI_MENU_OPTIONS_H
#define TOVI_MENU_OPTIONS_H

#include <SDL.h>

// ---- options state -----------------------------------------------------------
extern int slimy;  // y of the slider band being dragged; 0 when none (cleared on release)
extern int chst;   // 1 once the check box flipped under this press; cleared on release

// The darkened picture behind a menu dialog: a copy of the screen taken by the
// first dialog frame that finds it null, released (null) by the exit that closes
// the dialog. Shared by options, player profiles, high scores and the game dialog.
extern SDL_Surface* proslisc;

// ---- images, loaded with the menu art (alpha) --------------------------------
extern SDL_Surface* OptionsImage;             // the options panel, drawn at (120, 80)
extern SDL_Surface* loadedImageCrta;          // slider knob
extern SDL_Surface* loadedImageChk;           // the full-screen check mark
extern SDL_Surface* loadedImageOk;            // OK button, under the pointer
extern SDL_Surface* loadedImageWindow[4];     // window size k (1..3) lit: the one in use; slot 0 empty
extern SDL_Surface* loadedImageWindowOff[4];  // window size k (2..3) dimmed: no room on the desktop

// The window size buttons' hot areas, slot k for k times the frame (slot 0
// empty): a press at x, y acts when x < px < x + w and y < py < y + h. Each
// button's images are drawn at (x - 3, y - 3).
extern const SDL_Rect WindowSizeHot[4];

// One redraw of the options screen. It leaves by setting level_no to 0 itself.
void RenderOptions(int x, int y, int button, SDL_Surface* screen);

#endif
