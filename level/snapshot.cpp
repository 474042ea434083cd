#include "level/snapshot.h"

#include <cstring>

#include "level/level.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/screen.h"

void LevelSave(LevelState* s)
{
#define LEVEL_STATE_SAVE(name, atStart, atLoad) s->name = name;
    LEVEL_STATE_INTS(LEVEL_STATE_SAVE)
#undef LEVEL_STATE_SAVE
    s->clockNow = clock_now;
    s->cursor[0] = Cursor.x;
    s->cursor[1] = Cursor.y;
    s->cursor[2] = Cursor.w;
    s->cursor[3] = Cursor.h;
    memcpy(s->til, til, sizeof til);
    memcpy(s->par, par, sizeof par);
    memcpy(s->iznad, iznad, sizeof iznad);
    memcpy(s->gimasu, gimasu, sizeof gimasu);
    memcpy(s->spikeds, spikeds, sizeof spikeds);
}

void LevelLoad(const LevelState& s)
{
#define LEVEL_STATE_LOAD(name, atStart, atLoad) name = s.name;
    LEVEL_STATE_INTS(LEVEL_STATE_LOAD)
#undef LEVEL_STATE_LOAD
    clock_now = s.clockNow;
    Cursor.x = static_cast<Sint16>(s.cursor[0]);
    Cursor.y = static_cast<Sint16>(s.cursor[1]);
    Cursor.w = static_cast<Uint16>(s.cursor[2]);
    Cursor.h = static_cast<Uint16>(s.cursor[3]);
    memcpy(til, s.til, sizeof til);
    memcpy(par, s.par, sizeof par);
    memcpy(iznad, s.iznad, sizeof iznad);
    memcpy(gimasu, s.gimasu, sizeof gimasu);
    memcpy(spikeds, s.spikeds, sizeof spikeds);
}
