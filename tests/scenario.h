// Level scenarios: a board drawn as text is loaded as level 2 (no chapter picture)
// and played frame by frame through the simulator on the virtual clock.
// Board: up to 12 rows of 20 characters; fewer rows are the bottom of the level.
// The legend of tools/sim/boardtext.h, with 't' the element 120 and 'z' the
// element 100 beside it.
// Frame 1 moves nothing by gravity and platforms one pixel; every later frame is
// 20 ms: falls of 7 pixels, platform and magnet steps of 1 pixel.
#ifndef TOVI_TESTS_SCENARIO_H
#define TOVI_TESTS_SCENARIO_H

#include <SDL_mixer.h>

#include <string>
#include <vector>

#include "level/level.h"
#include "tools/sim/simcore.h"

// Level N's stored win, frame by frame, from the source tree (empty when it has none).
std::vector<SimInput> StoredWin(int level);
// Frames [from, to) of a script on the level in play, each frame's trace line
// (numbered by its place in the script) added to *lines when given; stops at
// the first result other than SIM_GOING and returns the last.
SimResult PlayScript(const std::vector<SimInput>& script, size_t from, size_t to,
                     std::vector<std::string>* lines = nullptr);
// Idle frames until the board is at rest (true), or the level ended or never
// rested (false, with the result in *ended when given).
bool Settle(SimResult* ended = nullptr);

namespace scenario {

void LoadBoard(const std::vector<std::string>& rows);  // starts the level; clears frames and sounds
// k frames (stopping at the first result other than SIM_GOING); once the level has
// failed or gone to the menu nothing more is played and that result is repeated.
SimResult Frames(int k, int button, int x, int y);
SimResult Grab(int col, int row);  // button up over the cell for a frame, then down
SimResult Release();               // one frame, button up where the pointer is
// Grab (col, row), then k frames held over (toCol, row); with letGo, Release after.
SimResult Drag(int col, int row, int toCol, int k, bool letGo = false);
int FramesPlayed();
inline int CellX(int col)
{
    return col * CELL_SIZE + CELL_SIZE / 2;
}  // pixel centre
inline int CellY(int row)
{
    return row * CELL_SIZE + CELL_SIZE / 2;
}
inline SimResult Idle(int k)
{
    return Frames(k, 0, CellX(19), CellY(0));
}  // pointer parked top-right
inline SimResult HoldAt(int col, int row, int k)
{
    return Frames(k, 1, CellX(col), CellY(row));
}
int RecordAt(int col, int row);  // the live record whose top-left is that cell's, else 0
int CountType(int type);
int Heard(Mix_Chunk** handle);  // requests of that effect since LoadBoard or ForgetSounds
void ForgetSounds();

}  // namespace scenario

#endif
