// The player table and "player.dat": the progress that outlives a level.
//
// Every game is played by a named player. The player table keeps each player's
// name, the level they play next and their running score, and "player.dat"
// stores it: a sequence of 24-byte records with no header, record 0 an all-zero
// placeholder that is never a player, then players 1..N in list order. A record
// is the name (16 bytes: at most 15 characters, NUL-terminated; bytes after the
// terminator carry no meaning), then the level and the score, each a signed
// 32-bit little-endian integer. With no player left the file is empty. The high
// scores use the same record (progress/scores.h).
//
// Names are the key of a player's progress (the game dialog and the recording
// look players up by name), so the profile dialog (menu/players.h) keeps them
// unique.
#ifndef TOVI_PROGRESS_PLAYERS_H
#define TOVI_PROGRESS_PLAYERS_H

#include "shell/tls.h"

// ---- scores ------------------------------------------------------------------
// A score, stored or in play, is 0..SCORE_MAX. A file's score outside it is read
// as the nearest end (a negative one as 0), and points added to a score stop at
// the top instead of wrapping round to a negative number. The whole game makes
// about a million points, so no honest score comes near the top.
constexpr int SCORE_MAX = 999999999;
int ClampScore(int score);            // score brought into 0..SCORE_MAX
int AddScore(int score, int points);  // score + points, clamped, without overflow

// ---- records -----------------------------------------------------------------
constexpr int NAME_SIZE = 16;  // name bytes in a record, the NUL included
constexpr int NAME_MAX = NAME_SIZE - 1;
constexpr int RECORD_SIZE = 24;  // bytes of a record on disk
constexpr const char* PLAYER_FILE = "player.dat";

struct PlayerRecord {
    char name[NAME_SIZE];  // NUL-terminated, zero-padded in memory
    int level;             // level to play next (1 for a new player)
    int score;             // running score
};

// Reads whole records from path into table[0..capacity-1] and returns how many
// it read (0 for a missing file); a short last record and anything past the
// capacity are ignored, and a name without its NUL keeps its first 15 bytes.
int ReadRecords(const char* path, PlayerRecord* table, int capacity);
// Writes table[0..count-1] (count 0: an empty file) through a temporary file and
// a rename; 1 on success.
int WriteRecords(const char* path, const PlayerRecord* table, int count);
void SetRecordName(PlayerRecord* record, const char* name);  // bounded, zero-padded

// ---- the player table --------------------------------------------------------
constexpr int PLAYER_SLOTS = 999;              // slot 0 the placeholder
constexpr int MAX_PLAYERS = PLAYER_SLOTS - 1;  // 998
constexpr int PLAYER_NAME_SIZE = 20;

extern PlayerRecord pin[PLAYER_SLOTS];     // the table; slots past ukupl are all zero
extern int ukupl;                          // index of the last player; 0 = no player
extern char PlayerName[PLAYER_NAME_SIZE];  // the current player's name; empty = none
extern TOVI_TLS int proshli;               // the current player's level to play next
extern TOVI_TLS int PlayerScore;           // the current player's running score
extern TOVI_TLS int izmp;                  // 1: the main menu records the current player on its next redraw
extern int plsel;  // selected list index (settings word 4); ukupl + 1 while a new name is typed; 0 none

void ReadPlayers();                // fills pin from "player.dat"; ukupl = the last named record read
void SavePlayers();                // records 0..ukupl ("player.dat" left empty with no player)
void DropEmptyTail();              // lowers ukupl past trailing nameless records
int FindPlayer(const char* name);  // first index 1..ukupl with exactly this name; 0 none
// A name as the player sees it: the bytes no font draws left out, the spaces at
// either end trimmed; out holds at most NAME_MAX bytes. Two names that show the
// same are the same name, and a name that shows nothing is no name.
void ShownName(const char* name, char* out, int size);
// First index 1..ukupl other than except whose name shows the same as name; 0 none.
int FindSameName(const char* name, int except);
// Makes record index the current player: its name, level and score together
// (index 0, the placeholder, or one past ukupl, means nobody).
void SetCurrentPlayer(int index);

#endif
