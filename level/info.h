// What the game shows about each level beside its board: the par (the fewest
// drags that win it, as the level tools found them) and, for a level that
// teaches something, a one-line caption shown on the board until the first
// move. Both come from "media/levels/info.txt", one level a line:
//   <level> <par> <caption, up to the end of the line; may be empty>
// Lines starting with '#' are comments. A line that does not read as a level
// number in range, a par of 0..99 and a caption of at most CAPTION_SIZE - 1
// printable characters is skipped; a level without a good line has par 0 and
// no caption, as has every level when the file is missing.
//
// Beside it, "media/levels/level<N>.win" holds the level's stored solution as
// lines of input ("<button> <x> <y> <frames>"), a known win the hint tries
// before it searches. A file with any line out of shape reads as no known win.
#ifndef TOVI_LEVEL_INFO_H
#define TOVI_LEVEL_INFO_H

#include <vector>

#include "level/solver.h"

constexpr int INFO_LEVELS = 101;          // levels 1..100; entry 0 unused
constexpr int CAPTION_SIZE = 72;          // caption bytes with the closing zero
constexpr int KNOWN_WIN_LINES = 4096;     // lines a known win may have
constexpr int KNOWN_WIN_FRAMES = 100000;  // frames it may play in all

extern int levelPar[INFO_LEVELS];                     // par per level, 0 unknown; read once, on first use
extern char levelCaption[INFO_LEVELS][CAPTION_SIZE];  // caption per level, "" none
extern int levelInfoRead;                             // 1 once the file was read (or found missing)

int LevelInfoLoad(const char* path);  // reads the notes from path into the tables; returns the good lines
int LevelPar(int level);              // the level's par, 0 when unknown or out of range
const char* LevelCaption(int level);  // the level's caption, "" when none or out of range
// Reads a known win from path into script; its steps, or 0 (script empty) when
// the file is missing or any line is out of shape.
int KnownWinLoad(const char* path, std::vector<SolveStep>* script);
int LevelKnownWin(int level, std::vector<SolveStep>* script);  // the level's, from media/levels

#endif
