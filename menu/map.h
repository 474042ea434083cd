// The chapter map: shown before every sixth, eleventh, ... level, after a block
// of five levels. A picture of the land with a dotted path, one dot for every
// finished block and a big dot at each chapter's end, a glow that walks the path
// up to the newest dot, the number of the last finished level, and a forward
// button that starts the next level with the random-tiles transition.
#ifndef TOVI_MENU_MAP_H
#define TOVI_MENU_MAP_H

#include <SDL.h>

// ---- the path ----------------------------------------------------------------
constexpr int MAPCORD_POINTS = 24;  // points 0..20 lie on the path (0 its start, k the dot of block k); 21..23 unused
constexpr int MAP_LAST_DOT = 20;    // the dot of the last block of the fourth chapter
constexpr int MAP_BLOCK = 5;        // levels per block, and blocks between big dots

extern const int mapcord[MAPCORD_POINTS * 2];  // x, y of each point in screen pixels, fitted to the map picture

// ---- images, loaded with the menu art (as loaded) ----------------------------
// The map picture itself is Mapi (level/sequences.h), which the level advance
// also shows; the map music is mmap_music (menu/menu.h).
extern SDL_Surface* Mapb;      // big dot: the path's start and each chapter's end
extern SDL_Surface* Mapbg;     // big glow
extern SDL_Surface* Maps;      // small dot
extern SDL_Surface* Mapsg;     // small glow
extern SDL_Surface* forhon2;   // forward button, under the pointer
extern SDL_Surface* forhoff2;  // forward button, plain

// ---- map state (all 0 at start) ----------------------------------------------
extern int pmapm;         // 1 once the map tune was started; 0 restarts it (on leaving, or when it ended)
extern int rmstartTicks;  // tick of the previous map frame, for the 20 ms pacing; kept between visits
extern int mtdm;          // tick of the previous animation-clock reading; kept between visits
extern int mtdm2;         // tick of this frame's reading
extern int mdtm;          // ms between the two
extern int mdrtm;         // ms gathered towards the next 200 ms animation step; kept between visits
extern int blink;         // animation steps counted; the newest dot glows while blink % 4 is 0; kept
extern int renderput;     // the point the walking glow is on; 0 on leaving
extern int clnex;         // 1 when the forward button was pressed this frame

// One frame of the map (also one mouse or key event). level is the screen code,
// 1000 + the next level. Returns level to stay, or the next level's number once
// the player went on (that level is loaded and on the screen by then).
int RenderMap(int x, int y, int button, int key, int level, SDL_Surface* screen);

#endif
