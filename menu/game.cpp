#include "menu/game.h"

#include <SDL_mixer.h>

#include "level/level.h"
#include "menu/levels.h"
#include "menu/menu.h"
#include "menu/players.h"
#include "menu/scores.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "trans/trans.h"

SDL_Rect Dialogitem[GAME_ITEMS + 1];
SDL_Surface* DialogImageg = nullptr;
SDL_Surface* DialogImagea = nullptr;
SDL_Surface* mnewg = nullptr;
SDL_Surface* mcont = nullptr;
SDL_Surface* mhs = nullptr;
SDL_Surface* mexit = nullptr;
int bioda = 0;

void SetGameRects()
{
    Dialogitem[1] = GAME_NEW;
    Dialogitem[2] = GAME_CONTINUE;
    Dialogitem[3] = GAME_HIGH_SCORES;
    Dialogitem[4] = GAME_CLOSE;
}

// The panel over the darkened menu; it fades in when *faded is still 0.
static void DrawPanel(SDL_Surface* frame, SDL_Surface* panel, int* faded)
{
    DrawBackdrop(frame);
    FadeInOnce(frame, panel, DIALOG_AT.x, DIALOG_AT.y, faded);
}

// Leaves the menus for a level: the menu tune stops, the backdrop goes, the
// sequences of any earlier game are forgotten and the board is loaded. The
// level's own picture comes in by effect (0: none, the level or its story
// draws itself).
static int StartLevel(SDL_Surface* frame, int level, int effect)
{
    Mix_HaltMusic();
    FreeMenuBackdrop();
    ResetSequences();
    lmap(level);
    if (effect != 0)
        NLevel(frame, CopyScreen(frame), LevelImage, effect, 5);
    return level;
}

// A new game is level 1 with score 0, whatever the player had: the level load
// reads both, and the first recording stores them.
static int NewGame(SDL_Surface* frame)
{
    level_num = start_level_no;
    proshli = level_num;
    PlayerScore = 0;
    return StartLevel(frame, level_num, cntintr != 1 ? 2 : 0);
}

static int ClickNewGame(SDL_Surface* frame)
{
    cntintr = 1;
    izmp = 1;
    int i = FindPlayer(PlayerName);
    if (i != 0 && pin[i].level > 1)
        return SCREEN_NEWGAME;  // the backdrop stays for the question
    return NewGame(frame);
}

static int ClickContinue(SDL_Surface* frame)
{
    cntintr = 6;
    izmp = 1;
    int i = FindPlayer(PlayerName);
    if (i != 0) {
        // A finished game (saved past the last level) plays its last level again.
        level_num = ContinueLevel(pin[i].level);
        PlayerScore = pin[i].score;
    } else {
        level_num = start_level_no;
        PlayerScore = 0;
    }
    proshli = level_num;
    // A chapter's first level opens with its own picture, so no effect there.
    return StartLevel(frame, level_num, !OpensChapter(level_num) ? 1 : 0);
}

int RenderDialogg(int x, int y, int button, int key, int, SDL_Surface* frame)
{
    if (renddg == 0) {
        WarpPointer(400, 300);
        renddg = 1;
    }
    if (button == 0)
        mousechk = 0;
    DrawPanel(frame, DialogImageg, &biodg);
    if (!PlayerName[0])
        return SCREEN_GAME;

    if (LevelsButton(frame, x, y, button != 0 && mousechk == 0)) {
        mousechk = 1;
        renddg = 0;
        PlayEffect(&mdbtn);
        return SCREEN_LEVELS;  // the backdrop stays for the list
    }
    static const ScreenAt hoverAt[GAME_ITEMS + 1] = {
        {0, 0}, GAME_NEW_AT, GAME_CONTINUE_AT, GAME_HIGH_SCORES_AT, GAME_CLOSE_AT};
    SDL_Surface* const hover[GAME_ITEMS + 1] = {nullptr, mnewg, mcont, mhs, mexit};
    // Return continues the game, the usual choice; Escape is EXIT.
    int chosen = IsOkKey(key) ? 2 : IsBackKey(key) ? 4 : 0;
    for (int i = 1; i <= GAME_ITEMS; i++) {
        if (!InRect(Dialogitem[i], x, y))
            continue;
        apply_clip(hoverAt[i].x, hoverAt[i].y, hover[i], frame, nullptr);
        if (button != 0 && mousechk == 0 && !IsKeyPress(key))
            chosen = i;
    }
    if (chosen != 0) {
        mousechk = 1;
        renddg = 0;
        PlayEffect(&mdbtn);
        if (chosen == 1)
            return ClickNewGame(frame);
        if (chosen == 2)
            return ClickContinue(frame);
        if (chosen == 3) {
            level_num = SCREEN_SCORES;
            while (Fade(frame, DialogImageHS, 1, 0, 0) != 1) {
            }
            FreeMenuBackdrop();
            return SCREEN_SCORES;
        }
        MenuPointer(frame, x, y, 1);
        return SCREEN_MENU;  // the backdrop is kept for the next dialog
    }
    MenuPointer(frame, x, y, button == 1);
    return SCREEN_GAME;
}

int RenderDialoga(int x, int y, int button, int key, int, SDL_Surface* frame)
{
    if (rendda == 0) {
        WarpPointer(400, 300);
        rendda = 1;
    }
    if (button == 0)
        mousechk = 0;
    DrawPanel(frame, DialogImagea, &bioda);
    bool click = button != 0 && mousechk == 0 && !IsKeyPress(key);
    bool yes = false;
    // Yes throws the saved game away, so no key says it: Return and Escape are No.
    bool no = IsOkKey(key) || IsBackKey(key);
    if (InRect(Dialogpok, x, y)) {
        apply_clip(DIALOG_OK_AT.x, DIALOG_OK_AT.y, mye, frame, nullptr);
        yes = click;
    }
    if (InRect(Dialogpc, x, y)) {
        apply_clip(DIALOG_CANCEL_AT.x, DIALOG_CANCEL_AT.y, mno, frame, nullptr);
        no = no || click;
    }
    if (yes || no) {
        mousechk = 1;
        PlayEffect(&mdbtn);
        if (yes)
            return NewGame(frame);
        FreeMenuBackdrop();
        return SCREEN_MENU;
    }
    MenuPointer(frame, x, y, button == 1);
    return SCREEN_NEWGAME;
}
