// The game's only clock. Every part of the game asks this module for the time
// and sleeps through it, never through SDL directly, so that tests and tools can
// run the very same code on a virtual clock: a level frame then takes exactly the
// time the code sleeps, and every run of a level is reproducible.
#ifndef TOVI_SHELL_CLOCK_H
#define TOVI_SHELL_CLOCK_H

#include <cstdint>

#include "shell/tls.h"

// ---- clock ------------------------------------------------------------------
constexpr uint32_t CLOCK_VIRTUAL_START = 1000;  // first reading of the virtual clock, ms

extern TOVI_TLS int clock_virtual;   // 1 when the virtual clock runs; 0 (start) means SDL's clock
extern TOVI_TLS uint32_t clock_now;  // virtual clock reading in ms; advanced only by ClockDelay

uint32_t ClockTicks();         // milliseconds, as SDL_GetTicks
void ClockDelay(uint32_t ms);  // sleeps (real) or advances the virtual clock by ms
void ClockUseVirtual();        // switches to the virtual clock, reset to CLOCK_VIRTUAL_START
uint64_t ClockCostMicros();    // real microseconds from a steady clock, whatever clock runs: for measuring costs

#endif
