// The level's whole state as one plain copy: every global of the level-state
// list (level/state.h) with the board, its tables and the virtual clock.
// Restoring a saved state and playing on gives exactly the frames the original
// run would have given, so undo can take a move back and a search can branch
// from any moment of a level without replaying it from the start. Pictures,
// sounds and the screen are not part of it.
#ifndef TOVI_LEVEL_SNAPSHOT_H
#define TOVI_LEVEL_SNAPSHOT_H

#include <cstdint>

#include "level/board.h"
#include "level/objects.h"
#include "level/proc.h"
#include "level/rules.h"
#include "level/state.h"

struct LevelState {
#define LEVEL_STATE_FIELD(name, atStart, atLoad) int name;
    LEVEL_STATE_INTS(LEVEL_STATE_FIELD)
#undef LEVEL_STATE_FIELD
    uint32_t clockNow;  // the virtual clock's reading
    int cursor[4];      // Cursor: x, y, w, h
    TileRecord til[TIL_SIZE];
    int par[PAR_SIZE];
    int iznad[STACK_SIZE];
    int gimasu[STACK_SIZE];
    int spikeds[SPIKEDS_SIZE];
};

void LevelSave(LevelState* s);        // copies the level's state out
void LevelLoad(const LevelState& s);  // puts a saved state back, every field of it

#endif
