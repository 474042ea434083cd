// The retry dialog (screen 996): the level's pop-up menu over the darkened level,
// with main menu, retry and cancel. After a lost level there is nothing to go
// back to: in cancel's place stands undo, which takes back the move that lost
// it, when there is a move to take back.
#ifndef TOVI_LEVEL_RETRY_H
#define TOVI_LEVEL_RETRY_H

#include <SDL.h>

#include <cstdint>

#include "shell/tls.h"

// The press that opened the menu and a double click's second press land on the
// dialog the moment it opens; neither may act, least of all on RETRY, which
// throws the level's progress away. Presses this soon after opening do nothing.
constexpr uint32_t DOUBLE_CLICK_MS = 500;

// ---- dialog state ------------------------------------------------------------
extern TOVI_TLS int dplev;  // level the dialog was opened from, taken on its first frame; 0 while closed

int RenderDialogr(int dple, int x, int y, int button, int key, int unicode, SDL_Surface* screen);

#endif
