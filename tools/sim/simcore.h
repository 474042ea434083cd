// The level simulator's core: plays a level headless, frame by frame, exactly as
// the game's main loop does, on the virtual clock. The tovi-sim tool and the
// tests both drive levels through here.
#ifndef TOVI_TOOLS_SIMCORE_H
#define TOVI_TOOLS_SIMCORE_H

#include <string>
#include <vector>

#include "level/level.h"
#include "level/snapshot.h"

enum SimResult { SIM_GOING, SIM_WON, SIM_FAILED, SIM_MENU };

int SimOpen();                                 // dummy drivers, SDL video and an 800 x 600 surface; 1 on success
void SimResetState();                          // every global of level play as at program start
void SimStart(int level, const char* path);    // the start state of a simulated level (path may be null)
SimResult SimFrame(int button, int x, int y);  // one level iteration of the main loop
std::string SimFrameLine(int frame);           // the per-frame state line
void SimClose();
// The start every tool with one argument shares: the usage check ("usage: NAME
// WHAT") and SimOpen. Returns the argument, or null once it has said on stderr
// what went wrong (the tool then exits with status 2).
const char* SimToolStart(int argc, char* argv[], const char* name, const char* what);
// A scratch folder of the program's own (TMPDIR/tovi-NAME-XXXXXX) becomes the
// working directory, and goes with everything in it when the program exits.
// A folder that cannot be made ends the program with status 1.
void SimEnterScratch(const char* name);
void SimForgetScratch();  // in a forked child: the folder is its parent's to remove

// One frame of input: the left button (1 held) and the pointer.
struct SimInput {
    int button, x, y;
};
// The stored solution in a level's source file (levels/level<N>.txt): the script
// lines "B X Y [K]" after its "solution:" line, one entry per frame. Empty when
// the file or the line is missing.
std::vector<SimInput> SimSolution(const std::string& path);

// A player's hand, as SDL delivers it: events queued for the next main-loop
// iteration to read.
void PushMotion(int button, int x, int y);        // pointer moved to (x, y), buttons held as the mask `button`
void PushButton(bool down, int x, int y);         // left button pressed or released at (x, y)
void PushKey(int sym, int unicode, int mod = 0);  // a key pressed, with the modifiers `mod` held

// The level's state as a plain copy (level/state.h): restoring it and playing on
// gives exactly the frames the original run would have given.
using SimState = LevelState;
void SimSave(SimState* s);        // copies the level's state out
void SimLoad(const SimState& s);  // puts a saved state back

#endif
