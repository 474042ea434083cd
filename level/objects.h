// What the objects of a level do by themselves, once per frame, in record order:
// elements fall; platforms travel and carry stacks; mud traps; the teleport moves
// an element to the exit pad; spike pits kill; crumbling blocks break; a button
// switches the magnet, which lifts the element below it.
#ifndef TOVI_LEVEL_OBJECTS_H
#define TOVI_LEVEL_OBJECTS_H

#include "shell/tls.h"

// ---- object state (reset by every lmap) ---------------------------------------
constexpr int SPIKEDS_SIZE = 200;  // jammed-pit set; entries 1..199 can hold record indices

extern TOVI_TLS int imeUP;             // record the magnet holds or pulls, 0 none; it neither falls nor can be grabbed
extern TOVI_TLS int taster_pritisnut;  // 1 while a magnet button is pressed
extern TOVI_TLS int prekameni;         // crumbling block loaded once, 0 none
extern TOVI_TLS int kameni;            // crumbling block loaded and unloaded again, 0 none
extern TOVI_TLS int raspad;            // crumble animation step (1..34), 0 idle
extern TOVI_TLS int raspadx;           // where it is, pixels
extern TOVI_TLS int raspady;
extern TOVI_TLS int spiked;  // spike-kill animation step (1..34), 0 idle
extern TOVI_TLS int spikex;  // where it is, pixels
extern TOVI_TLS int spikey;
extern TOVI_TLS int spikeds[SPIKEDS_SIZE];  // spike pits jammed by a block, 1..spikedsi; drawn without spikes
extern TOVI_TLS int spikedsi;
extern TOVI_TLS int MicIndex;  // spike frame 1..17 (0 right after a load); the spikes are up at 5..13

// Runs every behaviour for record i, in the game's order. Returns 996 when a
// spike kill has played out and the level fails, else 0.
int ObjectStep(int i);

#endif
