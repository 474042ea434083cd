// Player profiles and "player.dat": a sequence of 24-byte records, the first an
// all-zero placeholder; each a NUL-terminated name of at most 15 characters in 16
// bytes, then the level to play next and the running score, both signed 32-bit
// little-endian.
#ifndef TOVI_MENU_PLAYERS_H
#define TOVI_MENU_PLAYERS_H

#include <SDL.h>

// ---- players -----------------------------------------------------------------
constexpr int NAME_SIZE = 16;      // name bytes including the NUL
constexpr int MAX_PLAYERS = 100;   // player table slots; 1..ukupl in use

struct PlayerRecord {
    char name[NAME_SIZE];
    int level;  // level to play next
    int score;  // running score
};

extern char PlayerName[NAME_SIZE];  // name of the current player
extern int proshli;                 // level the current player plays next
extern int PlayerScore;             // the current player's running score
extern int izmp;                    // 1: record the current player on the next menu redraw
extern PlayerRecord pin[MAX_PLAYERS];  // the player table; slot 0 the placeholder
extern int ukupl;                   // players in the table
extern int plsel;                   // profile chosen last (settings word 4); 0 none

int RenderDialogp(int x, int y, int button, int key, int unicode, SDL_Surface* screen);

#endif
