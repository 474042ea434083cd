// The dispatcher: start-up, the main loop, the event pump and the screen dispatch.
// It sits above every screen, in a folder of its own: it calls them, they never call it. What the
// screens share with it and with each other is in shell/screen.h.
#ifndef TOVI_APP_TOVI_H
#define TOVI_APP_TOVI_H

#include <SDL.h>

#include <cstdint>

#include "shell/screen.h"

// ---- entry points ------------------------------------------------------------
constexpr uint32_t LOOP_PASS_MS = 15;  // a pass of the loop on a screen that does not hold its own frame
constexpr uint32_t PACE_NAP_MS = 4;    // the longest sleep of such a pass before it looks for input again

int SDL_main(int argc, char* argv[]);  // start-up, the main loop, shutdown; returns 0
void Init();                           // SDL, the mixer, the video mode and the fonts; exits 1 on failure
void StartUp();       // what comes before the first picture: clean-up, settings, Init, caption, icon, volumes
void Opening();       // the splash video and the loading screen
int Start();          // Opening, then the main loop until m_bQuit; returns 0
void MainLoopStep();  // one iteration of the main loop: the event pump, then the level or help frame
void CheckKeys();     // one pass of the event pump, with the per-frame tick
void MMoved(int button, int x, int y, int xrel, int yrel, int key, int unicode);  // store input, dispatch
void End(SDL_Surface* surface);  // free the menu audio, close audio, shut SDL down

#endif
