#include "level/assist.h"

#include <cstdio>

#include "level/info.h"
#include "level/level.h"
#include "level/render.h"
#include "progress/best.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "text/text.h"

SDL_Surface* HudUndo[2];
SDL_Surface* HudHint[2];
SDL_Surface* RetryUndo[2];

char boardNote[NOTE_SIZE];
int boardNoteUntil = 0;

int hintsUsed = 0;
int replaying = 0;
int wonMoves = 0;
int wonSeconds = 0;
int wonHints = 0;
int bestMoves = 0;
int bestSeconds = 0;

void ClearNote()
{
    boardNote[0] = '\0';
    boardNoteUntil = 0;
}

void AssistReset()
{
    ClearNote();
    hintsUsed = wonMoves = wonSeconds = wonHints = bestMoves = bestSeconds = 0;
}

void LevelWon()
{
    if (!OnGameThread())
        return;  // a search won its copy of the level: not the player's win
    wonMoves = levelMoves;
    wonSeconds = LEVEL_TIME;  // the time the clock stopped at, with the last match (not after its vanishing)
    wonHints = hintsUsed;
    BestRecord before;
    RecordBest(BEST_FILE, PlayerName, level_no, wonMoves, wonSeconds, wonHints, &before);
    bestMoves = before.level != 0 ? before.moves : 0;
    bestSeconds = before.level != 0 ? before.seconds : 0;
}

static void StatLine(SDL_Surface* frame, const char* label, const char* value, int x, int y)
{
    prikstr(frame, label, x, y, 3);
    int w = strl(value, 0, 560, 3);
    prikstr(frame, value, x + 160 - w, y, 3);
}

void DrawWinStats(SDL_Surface* frame)
{
    char text[32];
    snprintf(text, sizeof text, "%d", wonMoves);
    StatLine(frame, "MOVES", text, 160, 160);
    snprintf(text, sizeof text, "%02d:%02d", wonSeconds / 60, wonSeconds % 60);
    StatLine(frame, "TIME", text, 462, 160);
    if (bestMoves != 0 || bestSeconds != 0) {
        snprintf(text, sizeof text, "%d", bestMoves);
        StatLine(frame, "BEST", text, 160, 192);
        snprintf(text, sizeof text, "%02d:%02d", bestSeconds / 60, bestSeconds % 60);
        StatLine(frame, "BEST", text, 462, 192);
    }
    snprintf(text, sizeof text, "%d", wonHints);
    StatLine(frame, "HINTS", text, 160, 224);
    // The par: the fewest moves that win the level; unknown, it is not shown.
    int parMoves = LevelPar(level_no);
    if (parMoves > 0) {
        snprintf(text, sizeof text, "%d", parMoves);
        StatLine(frame, "PAR", text, 462, 224);
    }
}

void ShowNote(const char* text, int ms)
{
    snprintf(boardNote, sizeof boardNote, "%s", text);
    boardNoteUntil = ms == 0 ? 0 : static_cast<int>(ClockTicks()) + ms;
    if (boardNoteUntil == 0 && ms != 0)
        boardNoteUntil = 1;
}

int BoardInPlay()
{
    if (level_no < 1 || level_no > SCREEN_LAST_LEVEL)
        return 0;
    if (cntintr >= 1 && cntintr <= 5)
        return 0;
    if (cntgh >= 1 && cntgh <= 5 && ChapterIndexOf(level_no) == cntgh - 1)
        return 0;
    return ashcrystal == 0 && end_level == 0 && cnp != 0;
}

void AskUndo()
{
    if (!BoardInPlay())
        return;
    UndoResult r = UndoMove();
    if (r == UNDO_BUSY)
        ShowNote("Wait until the board is still", NOTE_MS);
    else if (r == UNDO_NOTHING)
        ShowNote("Nothing to undo", NOTE_MS);
    else
        ClearNote();
    // The button that asked for it may still be down: it grabs nothing until it
    // has been let go (the pointer of the move taken back is where a grab looks).
    if (r == UNDO_DONE)
        plmc = 1;
}

void RestartLevel()
{
    if (!BoardInPlay())
        return;
    // As the retry dialog's Retry, without the dialog: the chapter picture is not
    // shown again and the music plays on.
    bioret = 1;
    cntintr = 6;
    startTicks = 0;
    lmap(level_no);
    plmc = 1;  // a button still held grabs nothing until it is let go
}

void LevelKey(int sym, int mod)
{
    if (sym == SDLK_BACKSPACE || sym == SDLK_u || (sym == SDLK_z && (mod & KMOD_CTRL) != 0))
        AskUndo();
    else if (sym == SDLK_r && (mod & (KMOD_CTRL | KMOD_ALT | KMOD_META)) == 0)
        RestartLevel();
    else if (sym == SDLK_h && (mod & (KMOD_CTRL | KMOD_ALT | KMOD_META)) == 0)
        HintAsk();
}

// The note: a dark band across the top of the board with the words centred.
static void DrawNote(SDL_Surface* frame)
{
    if (boardNote[0] == '\0')
        return;
    if (boardNoteUntil != 0 && static_cast<int>(ClockTicks()) - boardNoteUntil > 0) {
        ClearNote();
        return;
    }
    static SDL_Surface* band = nullptr;
    if (!band) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_W - 2 * CELL_SIZE, 34, 32, 0, 0, 0, 0);
        if (s) {
            SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0x1B, 0x12, 0x0A));
            SDL_SetAlpha(s, SDL_SRCALPHA | SDL_RLEACCEL, 190);
            band = s;
        }
    }
    apply_clip(CELL_SIZE, 6, band, frame, nullptr);
    int w = strl(boardNote, 0, 560, 3);
    prikstr(frame, boardNote, SCREEN_W / 2 - w / 2, 10, 3);
}

static void DrawButton(SDL_Surface* frame, SDL_Surface* const* img, const SDL_Rect& r, bool lit)
{
    apply_clip(r.x, r.y, img[lit ? 1 : 0], frame, nullptr);
}

int DrawAssist(SDL_Surface* frame, int x, int y, int button)
{
    DrawNote(frame);
    bool overUndo = InRect(HUD_UNDO, x, y);
    bool overHint = InRect(HUD_HINT, x, y);
    DrawButton(frame, HudUndo, HUD_UNDO, overUndo);
    // The hint button stays lit while its search runs.
    DrawButton(frame, HudHint, HUD_HINT, overHint || hintState == HINT_THINKING);
    if (button == 0 || mousec != 0 || !(overUndo || overHint))
        return 0;
    mousec = 1;
    if (overUndo)
        AskUndo();
    else
        HintAsk();
    return 1;
}
