// Level scenarios for the engine tests: a board drawn as text is loaded as level 2
// and played frame by frame through the simulator, on the virtual clock, exactly
// as the game's main loop plays a level (ProcLevel, then RendLevel).
//
// Board text: at most 12 rows of exactly 20 characters, top row first. A board of
// fewer rows is the BOTTOM of the level: empty rows are added above it, so a
// scenario that needs only a floor and what stands on it writes its last rows and
// the last row given is row 11. Characters:
//
//   '.' empty          '#' tile 1          'a'..'t' elements 101..120   'z' element 100
//   'B' block 121      'H' platform 122    'V' platform 123             'M' mud 124
//   'T' teleport 125   'O' exit pad 126    'P' magnet button 127        'G' magnet 128
//   'C' crumbling 129  'S' spike pit 130
//
// Timing: level 2 is not the first of its chapter, so no chapter picture holds the
// start. Frame 1 of a scenario is the level's first frame: the frame clock gives
// 0 ms (nothing falls, platforms move 1 pixel) and RendLevel takes its restart
// branch (no animation advances). Every later frame is exactly 20 ms: elements
// fall 7 pixels, platforms and the magnet move 1 pixel. Each scenario is a fresh
// run of the game, so that restart branch also loads the level assets, which puts
// the cursor at (200, 200) and clears the frame's clock reading: the level clock
// (LEVEL_TIMER) takes the reading of frame 2.
//
// The pointer: the grab test of a frame looks where the cursor was left by the
// previous frame, so grabbing takes a frame with the button up over the element
// and then a frame with the button down (Grab does both, with one more frame up
// when it starts the level, whose asset loading moves the cursor).
#ifndef TOVI_TESTS_SCENARIO_H
#define TOVI_TESTS_SCENARIO_H

#include <SDL_mixer.h>

#include <string>
#include <vector>

#include "level/level.h"
#include "tools/simcore.h"

// The helpers live in their own namespace so that they cannot collide with the
// helpers of other test files linked into the same program.
namespace scenario {

// ---- loading ------------------------------------------------------------------
// Writes the board to a scratch level file and starts level 2 on it. A malformed
// board (row of the wrong length, unknown character, more than 12 rows) fails the
// test. Clears the frame count and the sounds heard.
void LoadBoard(const std::vector<std::string>& rows);

// ---- playing -------------------------------------------------------------------
// One frame with the button (1 down, 0 up) and the pointer at (x, y) in pixels.
// After a FAILED or MENU result the level has left play: no more frames are
// played and that result is returned again.
SimResult Frame(int button, int x, int y);
// Up to k frames; stops at the first result other than SIM_GOING and returns it.
SimResult Frames(int k, int button, int x, int y);
// k frames with the button up and the pointer parked over the top-right cell.
SimResult Idle(int k);
// The button up over cell (col, row) for a frame (two if the level has not played
// a frame yet), then down there for one frame.
SimResult Grab(int col, int row);
// Up to k frames with the button held and the pointer over cell (col, row).
SimResult HoldAt(int col, int row, int k);
// One frame with the button up where the pointer is.
SimResult Release();

int FramesPlayed();  // frames played since LoadBoard

// ---- the board -----------------------------------------------------------------
int CellX(int col);  // pixel centre of a column
int CellY(int row);  // pixel centre of a row
int PixX(int col);   // left edge of a column, pixels
int PixY(int row);   // top edge of a row, pixels

int RecordAt(int col, int row);  // a live record whose top-left is that cell's, else 0
int FindType(int type);          // first record of that type, else 0
int CountType(int type);         // records of that type
const TileRecord& Rec(int i);    // record i of the board

// ---- sounds --------------------------------------------------------------------
// How many times the effect with that handle was asked for since LoadBoard (or
// since the last ForgetSounds), counted frame by frame so that no request is lost
// however many effects a frame asks for.
int Heard(Mix_Chunk** handle);
void ForgetSounds();

}  // namespace scenario

#endif
