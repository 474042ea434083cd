// What every screen of the game shares: the screen codes, the display, the
// latest input, the click latches, the screen-entry flags and the one way an
// image is drawn.
//
// The screen contract: every screen is a plain function that draws one frame of
// that screen (or handles one input event) and returns the code of the screen
// that comes next. The shell keeps that code in level_no and, once per loop
// iteration and once per input event, calls the function of the screen the code
// names. Nothing else passes between screens: all state lives in module globals
// owned by the module that writes them. Screens include this header and never
// the shell's loop and dispatcher (app/tovi.h), which sit above them all.
#ifndef TOVI_SHELL_SCREEN_H
#define TOVI_SHELL_SCREEN_H

#include <SDL.h>

#include "shell/tls.h"

// ---- screen codes (values of level_no) --------------------------------------
constexpr int SCREEN_MENU = 0;          // main menu
constexpr int SCREEN_LAST_LEVEL = 989;  // 1..989: that level in play
constexpr int SCREEN_LEVELS = 990;      // the level list: a finished level played again
constexpr int SCREEN_OPTIONS = 991;
constexpr int SCREEN_CREDITS = 992;
constexpr int SCREEN_HELP = 993;
constexpr int SCREEN_NEWGAME = 994;  // new-game confirmation
constexpr int SCREEN_GAME = 995;     // game dialog
constexpr int SCREEN_RETRY = 996;    // retry dialog (also the level's "open the menu" result)
constexpr int SCREEN_PLAYERS = 997;  // player profiles
constexpr int SCREEN_SCORES = 998;   // high scores
constexpr int SCREEN_QUIT = 999;
constexpr int SCREEN_MAP = 1000;  // 1000 + n: the chapter map before level n
constexpr int KEY_NONE = 999;     // key and unicode of the per-frame tick
constexpr int KEY_TYPED = 998;    // key of a press that typed a character but has no key symbol

// A call for a key press (a mouse event or the tick carries KEY_NONE, the
// dispatcher's own redraws 0). A key is never a mouse press: Escape goes back as a
// screen's Cancel or Close does, Return takes a dialog's default button.
inline bool IsKeyPress(int key)
{
    return key != KEY_NONE && key != 0;
}
inline bool IsBackKey(int key)
{
    return key == SDLK_ESCAPE;
}
inline bool IsOkKey(int key)
{
    return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

// The one hit test of every screen: (x, y) strictly inside r, so a pointer on
// the rectangle's edge is outside.
inline bool InRect(const SDL_Rect& r, int x, int y)
{
    return x > r.x && x < r.x + r.w && y > r.y && y < r.y + r.h;
}
// The same for an area given by the pixels that bound it, as the art is
// measured: left and top outside, right and bottom inside.
inline bool InBox(int x, int y, int left, int top, int right, int bottom)
{
    SDL_Rect r = {static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left + 1),
                  static_cast<Uint16>(bottom - top + 1)};
    return InRect(r, x, y);
}

constexpr int SCREEN_W = 800;
constexpr int SCREEN_H = 600;
constexpr int SCREEN_BPP = 32;

// ---- the display and the loop -----------------------------------------------
extern SDL_Surface* screen;    // the display surface, 800 x 600 x 32; replaced when full screen toggles
extern TOVI_TLS int level_no;  // the screen code; starts 0 (main menu)
extern int m_bQuit;            // 1 ends the main loop after the current iteration
extern int start_level_no;     // the level a new game starts at; 1, set at start-up

// ---- input, written by MMoved on every dispatch (but also by CheckKeys) -------
extern TOVI_TLS int but;                 // button code of the latest input; 1 = left button
extern TOVI_TLS int ToviMouseX;          // pointer x in screen pixels
extern TOVI_TLS int ToviMouseY;          // pointer y in screen pixels
extern TOVI_TLS int ToviRelativeMouseX;  // relative motion of the latest motion event, signed
extern TOVI_TLS int ToviRelativeMouseY;
extern TOVI_TLS int kkeyk;  // key symbol of the latest key press; 999 on the tick

// ---- latches and tokens ------------------------------------------------------
extern TOVI_TLS int mousechk;   // menu click latch: cleared by a call with button 0, set as a click acts; starts 1
extern TOVI_TLS int LevelStar;  // what RendLevel returned last frame; non-zero = level (re)starting; starts 1
extern TOVI_TLS int dple;       // while the retry dialog is up: the level that opened it; else 0
extern TOVI_TLS int dead;       // 1 when the retry dialog was opened because the level was lost
extern int
    menu_first_time;  // 1: the main menu's next redraw restarts its scene cycle and sets the music volume; starts 1

// ---- screen-entry flags: 0 until the screen's first frame warps the pointer ---
extern int rendme;           // main menu
extern int rendmp;           // chapter map
extern int renddp;           // player profiles
extern int rendda;           // new-game confirmation (never cleared: warps on its first entry only)
extern int renddg;           // game dialog
extern int renddhs;          // high scores
extern int renddo;           // options
extern int renddh;           // help
extern int rendc;            // credits
extern TOVI_TLS int renddr;  // retry dialog

// ---- one-time set-up flags of the dialogs, cleared by the dispatcher ----------
extern int biodg;            // the game dialog has faded in; kept only while the game dialog stays up
extern int biodp;            // the player dialog has faded in
extern int bioo;             // the options panel has faded in
extern TOVI_TLS int biodr;   // the retry dialog has faded in
extern TOVI_TLS int prikpp;  // level-complete panel: 0 not shown, 1 shown, 2 acknowledged

// 1 in a program that runs the screens' logic only and never looks at a frame (the
// fuzz harnesses): apply_clip, the darkened backdrop and ShowFrame then draw
// nothing and CopyScreen copies no pixels, while every screen decides exactly as
// it would drawing. Starts 0; the game never sets it.
extern int DrawingOff;

// Draws source (or its clip rectangle) onto destination with its top-left at (x, y).
// Every image of the game is drawn through here; a missing image draws nothing.
void apply_clip(int x, int y, SDL_Surface* source, SDL_Surface* destination, SDL_Rect* clip);
// The button in the bottom-right corner of the full-screen pictures (forward on
// the story, the map and the relics; back on the high scores and the credits):
// draws lit or plain as the pointer is over it and says whether it is.
bool CornerButton(SDL_Surface* screen, int x, int y, SDL_Surface* lit, SDL_Surface* plain);

#endif
