// Player profiles and "player.dat".
//
// Every game is played by a named player. The player table keeps each player's
// name, the level they play next and their running score, and "player.dat"
// stores it: a sequence of 24-byte records with no header, record 0 an all-zero
// placeholder that is never a player, then players 1..N in list order. A record
// is the name (16 bytes: at most 15 characters, NUL-terminated; bytes after the
// terminator carry no meaning), then the level and the score, each a signed
// 32-bit little-endian integer. With no player left the file is empty. The high
// scores use the same record (menu/scores.h).
//
// Names are the key of a player's progress (the game dialog and the recording
// look players up by name), so the dialog keeps them unique.
#ifndef TOVI_MENU_PLAYERS_H
#define TOVI_MENU_PLAYERS_H

#include <SDL.h>

// ---- records -----------------------------------------------------------------
constexpr int NAME_SIZE = 16;         // name bytes in a record, the NUL included
constexpr int NAME_MAX = NAME_SIZE - 1;
constexpr int RECORD_SIZE = 24;       // bytes of a record on disk
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

extern PlayerRecord pin[PLAYER_SLOTS];  // the table; slots past ukupl are all zero
extern int ukupl;                       // index of the last player; 0 = no player
extern char PlayerName[PLAYER_NAME_SIZE];  // the current player's name; empty = none
extern int proshli;                     // the current player's level to play next
extern int PlayerScore;                 // the current player's running score
extern int izmp;                        // 1: the main menu records the current player on its next redraw
extern int plsel;                       // selected list index (settings word 4); ukupl + 1 while a new name is typed; 0 none

void ReadPlayers();    // fills pin from "player.dat"; ukupl = the last named record read
void SavePlayers();    // records 0..ukupl ("player.dat" left empty with no player)
void DropEmptyTail();  // lowers ukupl past trailing nameless records
int FindPlayer(const char* name);  // first index 1..ukupl with exactly this name; 0 none
// Makes record index the current player: its name, level and score together
// (index 0, the placeholder, means nobody). withText also copies the name into
// the edit text.
void LoadPlayer(int index, int withText);

// ---- the profile dialog (screen 997) ---------------------------------------------
constexpr int LIST_ROWS = 5;          // players shown per page; pages start at 1, 6, 11, ...
constexpr int EDIT_TEXT_SIZE = 256;

extern int spll;       // first index shown on the page; kept between openings
extern int enpl;       // last index shown on the page; kept between openings
extern int badd;       // 1 in add mode (a new name is typed); cleared on closing
extern int bedit;      // 1 in edit mode (the selected name is retyped); cleared on closing
extern int bdel;       // 1 for the one redraw in which Delete was clicked
extern char nizc[EDIT_TEXT_SIZE];  // the edit text; otherwise a copy of the selected name; emptied on closing
extern char c;         // the last character typed
extern int chstp;      // page-button latch: 1 after page up, 2 after page down acted; 0 once the button is up
extern int renderp;    // redraws of the dialog, for the blinking caret
extern int tmpx, tmpy; // last pointer position the dialog saw
extern int plhint;     // hint under the list: 0 none, 1 name taken, 2 list full; cleared when the text changes or a mode begins

extern SDL_Surface* DialogImagep;  // the dialog panel, drawn at (120, 80)
extern SDL_Surface* mnew;   // New, Edit, Delete, OK and Cancel under the pointer
extern SDL_Surface* medit;
extern SDL_Surface* mdel;
extern SDL_Surface* mye;    // also the yes of the new-game confirmation
extern SDL_Surface* mno;    // also its no
extern SDL_Surface* mup;    // page up, plain and under the pointer
extern SDL_Surface* muph;
extern SDL_Surface* mdn;    // page down
extern SDL_Surface* mdnh;
extern SDL_Surface* mnc;    // highlight of the selected row

// Hot rectangles; a point is inside when x < px < x + w and y < py < y + h.
extern SDL_Rect Dialogpa;    // New
extern SDL_Rect Dialogpe;    // Edit
extern SDL_Rect Dialogpd;    // Delete
extern SDL_Rect Dialogpok;   // OK (also the confirmation's yes)
extern SDL_Rect Dialogpc;    // Cancel (also the confirmation's no)
extern SDL_Rect Dialogpup;   // page up
extern SDL_Rect Dialogpdn;   // page down
extern SDL_Rect Dialogppl[LIST_ROWS + 1];  // list rows 1..5

void SetPlayerRects();  // the rectangles above (done with the menu art)
int InRect(const SDL_Rect& r, int x, int y);  // the strict inside test of every menu dialog

// One redraw of the dialog with its input: a mouse event or the tick (key 999),
// or a key press (button 1, key and character set). Returns 997 to stay, 0 back
// to the main menu.
int RenderDialogp(int x, int y, int button, int key, int character, SDL_Surface* screen);

#endif
