// One frame of level play with nothing drawn and nothing loaded, for searches
// that play boards on their own thread (the level state is thread_local).
#ifndef TOVI_LEVEL_STEP_H
#define TOVI_LEVEL_STEP_H

// What one frame of level play came to.
enum LevelOutcome { LEVEL_GOING, LEVEL_WON, LEVEL_FAILED, LEVEL_LEFT };

// One iteration of the level screen with the left button (1 held) and the pointer
// at (x, y), as the main loop plays it, but on a null screen: LEVEL_WON in the
// frame the level is finished, LEVEL_FAILED when it is lost, LEVEL_LEFT when the
// level screen hands over to another screen.
LevelOutcome LevelStep(int button, int x, int y);

#endif
