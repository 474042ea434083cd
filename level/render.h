// The level screen: paces the level to one frame per 20 ms, runs the level's
// animations against the frame clock, notices that a level is finished, draws the
// board with its HUD and the level-complete panel, and opens the in-level menu.
#ifndef TOVI_LEVEL_RENDER_H
#define TOVI_LEVEL_RENDER_H

#include <SDL.h>

#include "shell/tls.h"

// ---- pacing and latches ------------------------------------------------------
extern TOVI_TLS int startTicks;    // tick of the start of the current level frame; 0 = next frame does not wait
extern TOVI_TLS int mousec;        // level click latch: cleared with the button up, set when a click was used
extern TOVI_TLS int mousenomoved;  // tick of the last frame with the button down, for the idle blink (7 s); 0 restarts
extern TOVI_TLS int mousenomovel;  // the same for the idle voice line (15 s)
extern TOVI_TLS int brss;          // frame counter, +1 per call; times the relic dust
extern TOVI_TLS int play_menu_music;  // 1: the main menu restarts its music when next shown

// ---- animations (reset by every lmap) ------------------------------------------
extern TOVI_TLS int movtim;   // tick of the last spike-frame step
extern TOVI_TLS int movtel;   // tick of the last teleport step
extern TOVI_TLS int movsp;    // tick of the last spike-kill step; 0 when none runs
extern TOVI_TLS int movspr;   // tick of the last crumble step
extern TOVI_TLS int parttim;  // tick of the last vanish step

// ---- completion --------------------------------------------------------------
extern TOVI_TLS int end_level;   // 1 once the level is finished
extern TOVI_TLS int nijepust;    // 1 once the finished sound has played for this level
extern TOVI_TLS int drugiput;    // 0 on the first level frame after an advance; the completion test needs 1
extern TOVI_TLS int LEVEL_TIME;  // elapsed whole seconds shown by the HUD
extern TOVI_TLS int rendle;      // 0 = the level music (re)starts on the next level frame

// ---- hero portrait -----------------------------------------------------------
extern TOVI_TLS int tovita;   // 1 while the hero talks
extern TOVI_TLS int tovitad;  // idle blink: 0 off, 1 blinking, 2 about to stop
extern TOVI_TLS int tovii;    // portrait frame 1..4; starts 1

// ---- score counter of the level-complete panel ---------------------------------
extern int p1, p2, p3, p4, p5, p6;    // decimal digits of poen, units first
extern float i1, i2, i3, i4, i5, i6;  // wheel positions in 6-pixel units; never reset

// ---- animation images (loaded with the menu art) --------------------------------
constexpr int TELEPORT_IMAGES = 11;  // slots 1..10: tele0..tele9
constexpr int SPIKE_IMAGES = 35;     // slots 1..34
constexpr int PARTICLE_IMAGES = 64;  // slots 1..60
constexpr int PORTRAIT_IMAGES = 5;   // slots 1..4

extern SDL_Surface* TeleportImg[TELEPORT_IMAGES];
extern SDL_Surface* SpikeDestroyImg[SPIKE_IMAGES];
extern SDL_Surface* imgPartOfParticle[PARTICLE_IMAGES];
extern SDL_Surface* ToviLevelImg[PORTRAIT_IMAGES];

// Returns the new LevelStar: 0 or levelStar to stay, 996 for the in-level menu,
// 992 for the credits, or a new screen code after the next level was loaded.
// With a null screen it runs the frame's logic alone: nothing is drawn or loaded.
int RendLevel(SDL_Surface* screen, int x, int y, int button, int key, int levelStar, int last);
void prikr(int x, int y, SDL_Surface* screen);                     // the rolling score counter of the panel at (x, y)
void ToTime(int seconds, SDL_Surface* screen);                     // the level time as mm:ss
void LevelCursor(SDL_Surface* screen, int x, int y, int holding);  // cursor image with its top-left at (x, y)

#endif
