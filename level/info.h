// What the game shows about each level beside its board: the par (the fewest
// drags that win it, as the level tools found them) and, for a level that
// teaches something, a one-line caption shown on the board until the first
// move. Both come from "media/levels/info.txt", one level a line:
//   <level> <par> <caption, up to the end of the line; may be empty>
// Lines starting with '#' are comments. A line that does not read as a level
// number in range, a par of 0..99 and a caption of at most CAPTION_SIZE - 1
// printable characters is skipped; a level without a good line has par 0 and
// no caption, as has every level when the file is missing.
#ifndef TOVI_LEVEL_INFO_H
#define TOVI_LEVEL_INFO_H

constexpr int INFO_LEVELS = 101;  // levels 1..100; entry 0 unused
constexpr int CAPTION_SIZE = 72;  // caption bytes with the closing zero

extern int levelPar[INFO_LEVELS];                     // par per level, 0 unknown; read once, on first use
extern char levelCaption[INFO_LEVELS][CAPTION_SIZE];  // caption per level, "" none
extern int levelInfoRead;                             // 1 once the file was read (or found missing)

int LevelInfoLoad(const char* path);  // reads the notes from path into the tables; returns the good lines
int LevelPar(int level);              // the level's par, 0 when unknown or out of range
const char* LevelCaption(int level);  // the level's caption, "" when none or out of range

#endif
