// The board model and the loading of a level.
//
// A level is a 20 x 12 grid of 40-pixel cells, read from a 240-byte file of type
// codes (row 0 first, each row left to right). Every object on it becomes one
// record of til, in file order; positions are in pixels, so an object between
// cells is as much a record as an aligned one. A rule that removes an object
// zeroes its record (type 0 at (0, 0)); the slot stays, and scans over the board
// still meet it, until the next level load.
#ifndef TOVI_LEVEL_BOARD_H
#define TOVI_LEVEL_BOARD_H

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/tls.h"

// ---- geometry ----------------------------------------------------------------
constexpr int CELL_SIZE = 40;
constexpr int BOARD_COLS = 20;
constexpr int BOARD_ROWS = 12;
constexpr int BOARD_CELLS = BOARD_COLS * BOARD_ROWS;  // 240 bytes per level file

// ---- type codes --------------------------------------------------------------
// 1..99 fixed tiles; 100..120 matchable elements; 121..130 special objects;
// element + STUCK_OFFSET: stuck in mud; element + PAD_OFFSET: on the teleport exit pad.
constexpr int EL_FIRST = 100;
constexpr int EL_HELM = 103;
constexpr int EL_CUP = 104;
constexpr int EL_RING = 106;
constexpr int EL_COIN = 110;
constexpr int EL_LAST_MATCHABLE = 120;  // the last code counted among the elements left (cnp)
constexpr int EL_LAST_MATCHING = 119;   // the last code that matches: 120 is an element that never does
constexpr int EL_BLOCK = 121;           // movable, never matches, jams spike pits
constexpr int EL_LIFT_H = 122;          // platform moving left and right
constexpr int EL_LIFT_V = 123;          // platform moving down and up
constexpr int EL_MUD = 124;
constexpr int EL_TELE_IN = 125;   // teleport entrance
constexpr int EL_TELE_OUT = 126;  // empty teleport exit pad
constexpr int EL_BUTTON = 127;    // magnet button
constexpr int EL_MAGNET = 128;
constexpr int EL_CRUMBLE = 129;  // breaks when loaded a second time
constexpr int EL_SPIKES = 130;
constexpr int STUCK_OFFSET = 100;
constexpr int PAD_OFFSET = 125;

// Platform states.
constexpr int LIFT_RIGHT = 1;
constexpr int LIFT_LEFT = 2;
constexpr int LIFT_DOWN = 3;
constexpr int LIFT_UP = 4;

struct TileRecord {
    int state;  // platform motion state (LIFT_*); 0 for every other object
    int x;      // left edge in pixels
    int y;      // top edge in pixels
    int type;   // type code; 0 marks a removed record
};

// ---- the board (rebuilt by every lmap) ---------------------------------------
constexpr int TIL_SIZE = 300;  // records; slot 0 is never used

extern TOVI_TLS TileRecord til[TIL_SIZE];  // the objects of the level in play, 1..ukupnot
extern TOVI_TLS int ukupnot;               // records in use; never shrinks until the next load
extern TOVI_TLS int poen;                  // score shown during the level; from PlayerScore when the level is proshli
extern SDL_Surface* LevelImage;            // background of the level in play (the chapter's picture)

// ---- frame clock -------------------------------------------------------------
extern TOVI_TLS int startt;  // tick of the previous get_delta; 0 makes the next delta 0 (cleared per level)
extern TOVI_TLS int gett;    // tick read by the latest get_delta: the time of the current level frame

// ---- level-play assets (loaded once per run by InitLevel) ---------------------
constexpr int RECT_TABLE_SIZE = 256;  // LoadedtrackRectangle entries; 1..80 filled
constexpr int SHEET_FRAMES = 80;
constexpr int SPIKE_RECTS = 19;     // SRect entries; 1..18 filled
constexpr int VF_RECTS = 120;       // VFrect entries 0..119
constexpr int MUSIC_CHAPTERS = 5;   // musicl slots; 1..4 filled
constexpr int POSITIVE_CLIPS = 17;  // positive slots; 1..16 filled
constexpr int NEGATIVE_CLIPS = 11;  // negative slots; 1..10 filled

extern int bioinitl;          // 1 once InitLevel has run
extern TOVI_TLS int FrameNo;  // frame counters of the level animations, cleared by InitLevel
extern TOVI_TLS int vfrm;
extern TOVI_TLS int pfrm;

extern SDL_Rect LoadedtrackRectangle[RECT_TABLE_SIZE];  // sheet frame i - 1 at entry i (tiles, elements)
extern SDL_Rect SRect[SPIKE_RECTS];                     // spike frame i - 1 at entry i
extern SDL_Rect VFrect[VF_RECTS];                       // window n onto the digit strip: (0, 6n, 60, 60)
extern SDL_Rect Dialogritem[4];                         // retry dialog hot areas 1..3
extern TOVI_TLS SDL_Rect Cursor;                        // where the level cursor is drawn (its centre)

extern Mix_Music* musicl[MUSIC_CHAPTERS];  // level music per chapter 1..4
extern Mix_Music* musici;                  // opening story music
extern Mix_Music* musicash;                // relic music
extern Mix_Music* musica;                  // chapter picture music
extern Mix_Music* musicae;                 // first ending picture music
extern Mix_Music* musicairo;               // second ending picture music
extern Mix_Chunk* gong;                    // a chapter picture is left
extern Mix_Chunk* GoneEl;                  // a match
extern Mix_Chunk* Telep;                   // a teleport
extern Mix_Chunk* mblato;                  // an element sticks in mud
extern Mix_Chunk* mcoin;                   // landing sounds of 110, 104, 103, 106
extern Mix_Chunk* mcup;
extern Mix_Chunk* mhelm;
extern Mix_Chunk* mring;
extern Mix_Chunk* mmisce;                    // landing of any other element
extern Mix_Chunk* mdibtn;                    // dialog button
extern Mix_Chunk* mmact;                     // magnet working
extern Mix_Chunk* mmoff;                     // magnet button released
extern Mix_Chunk* mmon;                      // element reached the magnet
extern Mix_Chunk* mmbtn;                     // magnet button pressed
extern Mix_Chunk* mslid;                     // element dragged one cell
extern Mix_Chunk* mspike;                    // spike kill
extern Mix_Chunk* mstone;                    // loaded, not played
extern Mix_Chunk* mfin;                      // level finished
extern Mix_Chunk* mretr;                     // level failed
extern Mix_Chunk* positive[POSITIVE_CLIPS];  // praise voice lines 1..16
extern Mix_Chunk* negative[NEGATIVE_CLIPS];  // dismay voice lines 1..10 (1..3 also the menu's)
extern SDL_Surface* rr;                      // retry dialog highlights: retry, cancel, main menu (as loaded)
extern SDL_Surface* rexit;
extern SDL_Surface* rmm;
extern SDL_Surface* forhon;  // forward button of the story screens, highlighted / normal
extern SDL_Surface* forhoff;
extern SDL_Surface* dialogr;                // retry dialog panel
extern SDL_Surface* dialogrl;               // the retry dialog after a loss: no CANCEL
extern SDL_Surface* leveldone;              // level-complete panel
extern SDL_Surface* menubtn;                // HUD menu button highlight
extern SDL_Surface* vfont;                  // rolling digit strip of the score counter
extern SDL_Surface* failed;                 // panel of a failed level (as loaded)
extern SDL_Surface* optimizedImageCursor;   // level cursor, open hand
extern SDL_Surface* optimizedImageCursorh;  // level cursor, holding
extern SDL_Surface* TileTrack;              // tile sheet
extern SDL_Surface* SpikeTrac;              // spike sheet
extern SDL_Surface* ElemntsTrack;           // element sheet

// ---- loading -----------------------------------------------------------------
void lmap(int level);                         // loads "media/levels/level<level>.bin" and resets the level
void lmap_from(int level, const char* path);  // the same, with the board read from path
void InitLevel();                             // level-play sounds, music, images and rectangle tables
SDL_Surface* InitBackg(int chapter);          // "media/images/chapter<chapter>.png", display format
int get_delta();                              // ms since the previous call; 0 after startt was cleared
int ChapterOf(int level);                     // 1 for levels up to 25, 2 for 26..50, 3 for 51..75, 4 above

// ---- chapters ----------------------------------------------------------------
constexpr int LEVELS_PER_CHAPTER = 25;
constexpr int CHAPTERS = 4;
// The chapter of a level counted from 0, not capped (ChapterOf caps at 4).
inline int ChapterIndexOf(int level)
{
    return (level - 1) / LEVELS_PER_CHAPTER;
}
inline bool OpensChapter(int level)
{
    return (level - 1) % LEVELS_PER_CHAPTER == 0;
}  // 1, 26, 51, 76
inline bool ClosesChapter(int level)
{
    return level % LEVELS_PER_CHAPTER == 0;
}  // 25, 50, 75, 100
inline int FirstLevelOf(int chapter)
{
    return LEVELS_PER_CHAPTER * (chapter - 1) + 1;
}

#endif
