// The pictures around the levels: the opening story before level 1, a chapter's
// picture before its first level, the relic sequence after a chapter's last
// level, and the advance from a finished level to the next one or the map.
#ifndef TOVI_LEVEL_SEQUENCES_H
#define TOVI_LEVEL_SEQUENCES_H

#include <SDL.h>

#include "shell/tls.h"

// ---- sequence state ----------------------------------------------------------
constexpr int INTRO_IMAGES = 11;      // kadar1..kadar10 in slots 1..10
constexpr int ASHCRYSTAL_IMAGES = 8;  // slots 1..6
constexpr int SAND_IMAGES = 43;       // dust frames 1..40

extern TOVI_TLS int cntintr;  // opening story: 0 never started, 1 start, 2..5 picture 1..4, 6 done
extern TOVI_TLS int cntgh;    // chapter picture: 0 none, 1..4 pending or shown, counted past 5 once left
extern TOVI_TLS int biointo;  // 1 once the current chapter picture has faded in
extern TOVI_TLS int bioret;   // 1: a pending chapter picture is skipped (after one was left, or a retry)
extern TOVI_TLS int
    ashcrystal;            // relic sequence step: 0 none, 2..5 due, 7..10 shown, 11..12 endings, 13 done, 1 advance due
extern TOVI_TLS int psi;   // story music started
extern TOVI_TLS int pma;   // chapter picture / ending music started
extern TOVI_TLS int pash;  // relic music started
extern TOVI_TLS int mpk;   // relic screen sound played
extern TOVI_TLS int finalpart;   // the complete relic has faded in (never cleared in a run)
extern TOVI_TLS int finalpartt;  // tick its 4-second wait began
extern SDL_Surface* IntroImag[INTRO_IMAGES];
extern SDL_Surface* AshcrystalImg[ASHCRYSTAL_IMAGES];
extern SDL_Surface* SandImage[SAND_IMAGES];
extern SDL_Surface* Mapi;  // the chapter map picture

// Each returns what RendLevel returns; ChapterPicture returns -1 when the level
// frame goes on.
int OpeningStory(SDL_Surface* screen, int x, int y, int button, int levelStar);
int ChapterPicture(SDL_Surface* screen, int x, int y, int button, int levelStar);
int LevelAdvance(SDL_Surface* screen, int levelStar);
int RelicSequence(SDL_Surface* screen, int x, int y, int button, int levelStar);
// The level just won is kept at once: the player's record gets the next level
// and the running score, so a game closed on the level-complete panel or the
// relic screen goes on after it. Leaving the panel saves the same again. A
// replay, a search's copy of the level and a player with no record keep nothing.
void KeepWin();

constexpr int LAST_LEVEL = 100;  // the last level of the fourth chapter

// A game about to start (new or continued) begins with no story step, chapter
// picture, relic step or finished level left over from an earlier one in this run.
void ResetSequences();
// The level Continue plays for a saved level: a finished game (saved 101) plays
// its last level again instead of boards beyond the game.
int ContinueLevel(int saved);
void LoadLevelScreenArt();  // loads the level screen's pictures and animations not loaded yet

#endif
