// The main menu (screen 0) and the one-time loading of the menu art.
#ifndef TOVI_MENU_MENU_H
#define TOVI_MENU_MENU_H

#include <SDL.h>
#include <SDL_mixer.h>

// ---- main menu ---------------------------------------------------------------
constexpr int MENU_ITEMS = 5;

extern SDL_Rect MenuRectangle[MENU_ITEMS + 2];  // hit areas of the items 1..5 (6 beyond the last)
extern int MenuPrviPut;       // 1: the next redraw loads the menu art (InitMenu); starts 1
extern int menu_first_time;   // 1: the next redraw restarts the scene and its music; starts 1
extern SDL_Surface* MenuImage;          // menu background
extern SDL_Surface* optimizedImageCur;  // the menu pointer
extern SDL_Surface* optimizedImageCursorp;  // the menu pointer while a button is held
extern SDL_Surface* LSImage;            // loading-screen backdrop (as loaded)
extern SDL_Surface* LSTImage;           // loading-bar strip (as loaded)
extern Mix_Music* mintro;    // menu music
extern Mix_Music* mmap_music;  // map music (not "mmap": that name belongs to the C library)
extern Mix_Chunk* mtomb;     // item hover
extern Mix_Chunk* mcamel;    // camel
extern Mix_Chunk* mdbtn;     // click sound of all dialogs

void InitMenu(SDL_Surface* screen);
int RenderMenu(int x, int y, int button, SDL_Surface* screen);
void MenuCursor(SDL_Surface* screen, int x, int y);  // the menu pointer at (x, y)

#endif
