// Each player's best results per level: the fewest moves, the shortest time and
// whether the level was ever won without a hint. They are kept in "levelbest.dat"
// in the same folder as "player.dat", a record per player and level:
//   header   4 bytes "TMLB", then the format (int32, 1) and the record count (int32)
//   record   32 bytes: the player's name (16 bytes, NUL-terminated, as in
//            player.dat), the level, the fewest moves, the shortest time in
//            seconds and 1 when won without hints (each int32)
// All integers little-endian, read and written field by field; the file is
// written to a temporary file and renamed over the old one. A missing, short,
// long or damaged file (a wrong header, a count that does not match its length,
// a field out of range) is read as empty: the game goes on and the next win
// writes a good file.
#ifndef TOVI_PROGRESS_BEST_H
#define TOVI_PROGRESS_BEST_H

// ---- the table (read from the file before each use) --------------------------
constexpr int BEST_RECORDS = 8192;   // records kept; past that a new player's new level is not kept
constexpr int BEST_NAME_SIZE = 16;   // as a player record's name
constexpr int BEST_LEVEL_MAX = 989;  // the highest level a record may name
constexpr char BEST_FILE[] = "levelbest.dat";

struct BestRecord {
    char name[BEST_NAME_SIZE];
    int level;
    int moves;    // fewest moves the level was won in
    int seconds;  // shortest time it was won in
    int clean;    // 1 once it was won without a hint
};

extern BestRecord bestTable[BEST_RECORDS];  // the records read last, 0..bestCount - 1
extern int bestCount;

int ReadBest(const char* path);   // reads the table; 0 (and an empty table) when the file is missing or bad
int WriteBest(const char* path);  // writes the table atomically; 0 when it could not
// The record of that player and level, or null.
const BestRecord* FindBest(const char* name, int level);
// A win of a level: reads the file, keeps what is better, writes it back.
// *before gets the record as it was (level 0 when there was none). Returns 1
// when the file was written.
int RecordBest(const char* path, const char* name, int level, int moves, int seconds, int hints, BestRecord* before);

#endif
