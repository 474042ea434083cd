#include "menu/levels.h"

#include <SDL_mixer.h>

#include <cstdio>

#include "level/info.h"
#include "level/level.h"
#include "menu/menu.h"
#include "menu/players.h"
#include "progress/best.h"
#include "progress/players.h"
#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "text/text.h"
#include "trans/trans.h"

int renddl = 0;
int llChapter = 1;
int llReached = 1;

SDL_Surface* LevelListImg = nullptr;
SDL_Surface* LevelCellImg[3];
SDL_Surface* LevelListCloseH = nullptr;
SDL_Surface* LevelPageImg[4];
SDL_Surface* LevelsButtonImg[2];

constexpr int LEVELS_PER_PAGE = 25;

constexpr int LIST_CHAPTERS = 4;

// After a replay the list comes back on the chapter it was played from.
static bool keepChapter = false;

// Every start of the menu comes here; a picture already in is kept, never loaded again.
void LoadLevelListArt()
{
    static const ImageRow rows[] = {LIST_IMAGES(IMAGE_ROW)};
    ForEachImage(rows, static_cast<int>(sizeof rows / sizeof rows[0]), 0, LoadIntoEmpty);
}

int LevelsButton(SDL_Surface* frame, int x, int y, int click)
{
    bool over = InRect(LEVELS_BUTTON, x, y);
    apply_clip(LEVELS_BUTTON_AT.x, LEVELS_BUTTON_AT.y, LevelsButtonImg[over ? 1 : 0], frame, nullptr);
    if (over && click)
        keepChapter = false;  // from the game dialog the list opens on the player's chapter
    return over && click;
}

static SDL_Rect Cell(int i)
{
    return SDL_Rect{static_cast<Sint16>(LEVEL_GRID_AT.x + LEVEL_PITCH.x * (i % 5)),
                    static_cast<Sint16>(LEVEL_GRID_AT.y + LEVEL_PITCH.y * (i / 5)),
                    static_cast<Uint16>(LEVEL_CELL_SIZE.w), static_cast<Uint16>(LEVEL_CELL_SIZE.h)};
}

// The player's saved level and score, as Continue reads them.
static void ReadPlayer(int* level, int* score)
{
    int i = FindPlayer(PlayerName);
    *level = i != 0 ? pin[i].level : proshli;
    *score = i != 0 ? pin[i].score : PlayerScore;
    if (*level < 1)
        *level = 1;
}

static void Enter()
{
    SDL_WarpMouse(400, 300);
    renddl = 1;
    mousechk = 1;  // the click that opened the list does not choose in it
    int score = 0;
    ReadPlayer(&llReached, &score);
    int shown = llReached > LAST_LEVEL ? LAST_LEVEL : llReached;
    if (!keepChapter)
        llChapter = ChapterOf(shown);
    keepChapter = false;
    ReadBest(BEST_FILE);
}

static int Leave(int code)
{
    renddl = 0;
    PlayEffect(&mdbtn);
    return code;
}

// A level chosen: a replay of one already finished, or the player's own.
static int Play(SDL_Surface* frame, int level)
{
    int saved = 0, score = 0;
    ReadPlayer(&saved, &score);
    cntintr = 6;
    izmp = 1;
    proshli = ContinueLevel(saved);
    PlayerScore = score;
    Mix_HaltMusic();
    FreeMenuBackdrop();
    ResetSequences();
    replaying = level < proshli ? 1 : 0;
    keepChapter = replaying != 0;
    bioret = replaying;  // a replay starts at once, without its chapter's picture
    lmap(level);
    level_no = level;
    if (!OpensChapter(level) || replaying)
        NLevel(frame, CopyScreen(frame), LevelImage, 1, 5);
    return level;
}

static void DrawCentredText(SDL_Surface* frame, const char* text, int cx, int y, int font)
{
    int w = strl(text, 0, 560, font);
    prikstr(frame, text, cx - w / 2, y, font);
}

static void DrawCell(SDL_Surface* frame, int i, int level, bool lit)
{
    SDL_Rect r = Cell(i);
    bool locked = level > llReached;
    apply_clip(r.x, r.y, LevelCellImg[locked ? 2 : lit ? 1 : 0], frame, nullptr);
    char text[32];
    snprintf(text, sizeof text, "%d", level);
    // The first line: the level's number, and its par (the fewest moves that
    // win it) at the right when it is known and the level is open.
    int parMoves = locked ? 0 : LevelPar(level);
    if (parMoves > 0) {
        prikstr(frame, text, r.x + 6, r.y + 2, 3);
        snprintf(text, sizeof text, "par%d", parMoves);
        // (strl gives where the last glyph starts: one glyph's width is added)
        prikstr(frame, text, r.x + LEVEL_CELL_SIZE.w - 13 - strl(text, 0, 560, 1), r.y + 6, 1);
    } else {
        DrawCentredText(frame, text, r.x + LEVEL_CELL_SIZE.w / 2, r.y + 2, 3);
    }
    // The second line: the player's best moves at the left, the best time at the
    // right with a star when the level was won without a hint.
    const BestRecord* b = locked ? nullptr : FindBest(PlayerName, level);
    if (b) {
        snprintf(text, sizeof text, "%d", b->moves);
        prikstr(frame, text, r.x + 8, r.y + 28, 1);
        snprintf(text, sizeof text, "%d:%02d%s", b->seconds / 60, b->seconds % 60, b->clean ? "*" : "");
        prikstr(frame, text, r.x + LEVEL_CELL_SIZE.w - 14 - strl(text, 0, 560, 1), r.y + 28, 1);
    }
}

int RenderLevelList(int x, int y, int button, int, SDL_Surface* frame)
{
    if (renddl == 0)
        Enter();
    if (button == 0)
        mousechk = 0;
    bool click = button != 0 && mousechk == 0;
    if (click)
        mousechk = 1;
    DrawBackdrop(frame);
    apply_clip(LEVEL_LIST_AT.x, LEVEL_LIST_AT.y, LevelListImg, frame, nullptr);
    char title[32];
    snprintf(title, sizeof title, "CHAPTER %d", llChapter);
    DrawCentredText(frame, title, 400, 76, 2);

    if (llChapter > 1) {
        bool over = InRect(LEVEL_LIST_LEFT, x, y);
        apply_clip(LEVEL_LIST_LEFT.x, LEVEL_LIST_LEFT.y, LevelPageImg[over ? 1 : 0], frame, nullptr);
        if (over && click) {
            llChapter--;
            PlayEffect(&mdbtn);
        }
    }
    if (llChapter < LIST_CHAPTERS) {
        bool over = InRect(LEVEL_LIST_RIGHT, x, y);
        apply_clip(LEVEL_LIST_RIGHT.x, LEVEL_LIST_RIGHT.y, LevelPageImg[over ? 3 : 2], frame, nullptr);
        if (over && click) {
            llChapter++;
            PlayEffect(&mdbtn);
        }
    }
    int chosen = 0;
    for (int i = 0; i < LEVELS_PER_PAGE; i++) {
        int level = (llChapter - 1) * LEVELS_PER_PAGE + i + 1;
        bool over = InRect(Cell(i), x, y) && level <= llReached;
        DrawCell(frame, i, level, over);
        if (over && click)
            chosen = level;
    }
    // What a tablet's second line says, either side of CLOSE.
    prikstr(frame, "best moves  time", 160, 492, 1);
    prikstr(frame, "* no hint", 500, 492, 1);
    if (InRect(LEVEL_LIST_CLOSE, x, y)) {
        apply_clip(LEVEL_LIST_CLOSE_AT.x, LEVEL_LIST_CLOSE_AT.y, LevelListCloseH, frame, nullptr);
        if (click)
            return Leave(SCREEN_GAME);
    }
    if (chosen != 0 && chosen <= LAST_LEVEL) {
        Leave(chosen);
        return Play(frame, chosen);
    }
    MenuPointer(frame, x, y, button == 1);
    return SCREEN_LEVELS;
}
