// The profile dialog (screen 997): the players listed five to a page, a new
// name typed, a name retyped or deleted. The table it edits and "player.dat"
// are the progress module's (progress/players.h).
#ifndef TOVI_MENU_PLAYERS_H
#define TOVI_MENU_PLAYERS_H

#include <SDL.h>

#include "progress/players.h"
#include "shell/geometry.h"

// ---- the profile dialog (screen 997) ---------------------------------------------
// Makes record index the current player (SetCurrentPlayer); withText also
// copies the name into the edit text.
void LoadPlayer(int index, int withText);
constexpr int LIST_ROWS = PLAYER_ROWS;  // players shown per page; pages start at 1, 6, 11, ...
constexpr int EDIT_TEXT_SIZE = 256;

extern int spll;                   // first index shown on the page; kept between openings
extern int enpl;                   // last index shown on the page; kept between openings
extern int badd;                   // 1 in add mode (a new name is typed); cleared on closing
extern int bedit;                  // 1 in edit mode (the selected name is retyped); cleared on closing
extern int bdel;                   // 1 for the one redraw in which Delete was clicked
extern char nizc[EDIT_TEXT_SIZE];  // the edit text; otherwise a copy of the selected name; emptied on closing
extern char c;                     // the last character typed
extern int chstp;       // page-button latch: 1 after page up, 2 after page down acted; 0 once the button is up
extern int renderp;     // redraws of the dialog, for the blinking caret
extern int tmpx, tmpy;  // last pointer position the dialog saw
extern int plhint;      // hint under the panel: 0 none, 1 name taken, 2 list full, 3 a name that shows nothing; cleared
                        // when the text changes or a mode begins
constexpr int HINT_COUNT = 4;  // plhint's values
constexpr int HINT_Y = 484;    // the hint's top, under the panel (which ends at y 480)

extern SDL_Surface* DialogImagep;  // the dialog panel, drawn at (120, 80)
extern SDL_Surface* mnew;          // New, Edit, Delete, OK and Cancel under the pointer
extern SDL_Surface* medit;
extern SDL_Surface* mdel;
extern SDL_Surface* mye;  // also the yes of the new-game confirmation
extern SDL_Surface* mno;  // also its no
extern SDL_Surface* mup;  // page up, plain and under the pointer
extern SDL_Surface* muph;
extern SDL_Surface* mdn;  // page down
extern SDL_Surface* mdnh;
extern SDL_Surface* mnc;  // highlight of the selected row

// Hot rectangles; a point is inside when x < px < x + w and y < py < y + h.
extern SDL_Rect Dialogpa;                  // New
extern SDL_Rect Dialogpe;                  // Edit
extern SDL_Rect Dialogpd;                  // Delete
extern SDL_Rect Dialogpok;                 // OK (also the confirmation's yes)
extern SDL_Rect Dialogpc;                  // Cancel (also the confirmation's no)
extern SDL_Rect Dialogpup;                 // page up
extern SDL_Rect Dialogpdn;                 // page down
extern SDL_Rect Dialogppl[LIST_ROWS + 1];  // list rows 1..5

void SetPlayerRects();  // the rectangles above (done with the menu art)

// One redraw of the dialog with its input: a mouse event or the tick (key 999),
// or a key press (button 1, key and character set). Returns 997 to stay, 0 back
// to the main menu.
int RenderDialogp(int x, int y, int button, int key, int character, SDL_Surface* screen);

#endif
