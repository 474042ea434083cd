// The game dialog (screen 995) and the new-game confirmation (994).
//
// Play on the main menu, with a player chosen, opens the game dialog over the
// darkened menu: New game, Continue, High scores, Levels (the level list, see
// menu/levels.h) and a close button. New game
// starts at level 1 with the opening story, asking first when the player has
// come further than level 1; Continue goes on at the player's saved level with
// the saved score. Both are redrawn only when an input event arrives.
#ifndef TOVI_MENU_GAME_H
#define TOVI_MENU_GAME_H

#include <SDL.h>

// ---- the dialogs -------------------------------------------------------------
constexpr int GAME_ITEMS = 4;  // new game, continue, high scores, close

extern SDL_Rect Dialogitem[GAME_ITEMS + 1];  // hot boxes 1..4, strict on all sides
extern SDL_Surface* DialogImageg;            // the game dialog panel, at (120, 80)
extern SDL_Surface* DialogImagea;            // the confirmation panel, at (120, 80)
extern SDL_Surface* mnewg;                   // New game under the pointer (as loaded)
extern SDL_Surface* mcont;                   // Continue
extern SDL_Surface* mhs;                     // High scores
extern SDL_Surface* mexit;                   // close
extern int bioda;  // 1 once the confirmation panel has faded in (never cleared: it fades in once a run)

void SetGameRects();  // Dialogitem (done with the menu art)
// Each returns its own code to stay, or the next screen: the game dialog 994
// (confirmation), 998 (high scores), 0 (main menu) or the level to play; the
// confirmation 1 (a new game) or 0. key and unicode are not read.
int RenderDialogg(int x, int y, int button, int key, int unicode, SDL_Surface* screen);
int RenderDialoga(int x, int y, int button, int key, int unicode, SDL_Surface* screen);

#endif
