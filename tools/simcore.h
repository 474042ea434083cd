// The level simulator's core: plays a level headless, frame by frame, exactly as
// the game's main loop does, on the virtual clock. The tovi-sim tool and the
// tests both drive levels through here.
#ifndef TOVI_TOOLS_SIMCORE_H
#define TOVI_TOOLS_SIMCORE_H

#include <string>

enum SimResult { SIM_GOING, SIM_WON, SIM_FAILED, SIM_MENU };

int SimOpen();                                // dummy drivers, SDL video and an 800 x 600 surface; 1 on success
void SimResetState();                         // every global of level play as at program start
void SimStart(int level, const char* path);   // the start state of a simulated level (path may be null)
SimResult SimFrame(int button, int x, int y); // one level iteration of the main loop
std::string SimFrameLine(int frame);          // the per-frame state line
void SimClose();

#endif
