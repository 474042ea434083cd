#include "level/hint.h"

#include <atomic>
#include <cstdio>
#include <vector>

#include "level/info.h"
#include "level/level.h"
#include "level/solver.h"
#include "shell/clock.h"
#include "shell/media.h"
#include "shell/screen.h"

int hintState = HINT_NONE;
int hintRecord = 0;
int hintCells = 0;
int hintShownAt = 0;
int hintEpoch = 0;

static std::atomic<int> hintStop{0};  // the running search's cancel flag
static int hintLevel = 0;             // the level the hint was asked on

// The searches play the level on threads of their own; only the game's thread
// asks for a hint, cancels it or takes its answer in.
static bool OnAskingThread()
{
    return OnGameThread() != 0;
}

// The words of each answer, on the board's note band.
static const char* const NO_WAY_TEXT = "No way out from here: undo or retry";
static const char* const NO_TIME_TEXT = "No hint found in time";

void HintCancel()
{
    if (!OnAskingThread())
        return;
    if (hintState == HINT_THINKING) {
        hintStop = 1;
        SolveStop();
    }
    if (hintState != HINT_NONE)
        ClearNote();
    hintState = HINT_NONE;
    hintRecord = hintCells = 0;
}

void HintAsk()
{
    if (!BoardInPlay() || hintState == HINT_THINKING)
        return;
    if (!BoardAtRest()) {
        ShowNote("Wait until the board is still", NOTE_MS);
        return;
    }
    HintCancel();
    static SolveLimits limits;  // holds a whole level state: kept off the stack
    LevelSave(&limits.start);
    limits.maxDrags = HINT_MAX_DRAGS;
    limits.maxMemoryKB = HINT_MEMORY_KB;
    limits.maxMillis = HINT_MILLIS;
    limits.threads = HINT_THREADS;
    hintStop = 0;
    limits.cancel = &hintStop;
    // The level's stored solution, read once a level: where the board still
    // follows it, the answer comes without a search.
    static int knownLevel = 0;
    static std::vector<SolveStep> known;
    if (knownLevel != level_no) {
        LevelKnownWin(level_no, &known);
        knownLevel = level_no;
    }
    limits.knownWin = known;
    if (!SolveStart(&limits)) {
        ShowNote(NO_TIME_TEXT, NOTE_MS);
        return;
    }
    hintState = HINT_THINKING;
    hintEpoch = undoEpoch;
    hintLevel = level_no;
    hintsUsed++;
    ShowNote("Looking for a move...", 0);
}

int HintPoll()
{
    if (!OnAskingThread())
        return 0;
    if (hintState != HINT_THINKING)
        return hintState != HINT_NONE;
    static SolveResult result;
    if (!SolveDone(&result))
        return 0;
    SolveStop();  // the helper has finished: this only lets it go
    hintShownAt = static_cast<int>(ClockTicks());
    if (result.outcome == SOLVE_NO_WIN) {
        hintState = HINT_NO_WAY;
        ShowNote(NO_WAY_TEXT, 0);
    } else if (result.outcome != SOLVE_FOUND) {
        hintState = HINT_NO_TIME;
        ShowNote(NO_TIME_TEXT, 2 * NOTE_MS);
    } else if (result.record <= 0 || result.record >= TIL_SIZE || til[result.record].type == 0 ||
               result.toCol == result.fromCol) {
        hintState = HINT_WAIT;
        ShowNote("Wait for the platform to move on", 0);
    } else {
        hintState = HINT_MOVE;
        hintRecord = result.record;
        hintCells = result.toCol - result.fromCol;
        char text[NOTE_SIZE];
        int n = hintCells < 0 ? -hintCells : hintCells;
        snprintf(text, sizeof text, "Slide the lit piece %d %s to the %s", n, n == 1 ? "cell" : "cells",
                 hintCells < 0 ? "left" : "right");
        ShowNote(text, 0);
    }
    return 1;
}

void HintFrame()
{
    if (hintState == HINT_NONE || !OnAskingThread())
        return;
    // Anything the player does to the board makes the hint stale.
    if (hintEpoch != undoEpoch || hintLevel != level_no || MovingElement != 0 || !BoardInPlay()) {
        HintCancel();
        return;
    }
    HintPoll();
    // A note that timed out ("no hint in time") ends the hint.
    if (hintState != HINT_THINKING && boardNote[0] == '\0')
        hintState = HINT_NONE;
}

// The ghost hand: the level's open hand at half its opacity, made once.
static SDL_Surface* GhostHand()
{
    static SDL_Surface* ghost = nullptr;
    static bool tried = false;
    if (tried || !optimizedImageCursor)
        return ghost;
    tried = true;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, optimizedImageCursor->w, optimizedImageCursor->h, 32,
                                          0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (!s)
        return nullptr;
    SDL_Surface* src = optimizedImageCursor;
    Uint8 alpha = src->format->alpha;
    Uint32 flags = src->flags & (SDL_SRCALPHA | SDL_RLEACCELOK);
    SDL_SetAlpha(src, 0, 0);  // copy the pixels with their alpha as they are
    SDL_BlitSurface(src, nullptr, s, nullptr);
    SDL_SetAlpha(src, flags, alpha);
    if (SDL_LockSurface(s) == 0) {
        for (int y = 0; y < s->h; y++) {
            Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
            for (int x = 0; x < s->w; x++) {
                Uint32 a = (row[x] >> 24) * 11 / 20;
                row[x] = (row[x] & 0x00FFFFFF) | (a << 24);
            }
        }
        SDL_UnlockSurface(s);
    }
    ghost = s;
    return ghost;
}

// A square ring of light around a cell and a glow over it, pulsing.
static void LightCell(SDL_Surface* frame, int x, int y, int phase)
{
    static SDL_Surface* glow = nullptr;
    if (!glow) {
        glow = SDL_CreateRGBSurface(SDL_SWSURFACE, CELL_SIZE, CELL_SIZE, 32, 0, 0, 0, 0);
        if (glow)
            SDL_FillRect(glow, nullptr, SDL_MapRGB(glow->format, 0xFF, 0xE0, 0x70));
    }
    if (glow) {
        SDL_SetAlpha(glow, SDL_SRCALPHA, static_cast<Uint8>(40 + phase / 2));
        apply_clip(x, y, glow, frame, nullptr);
    }
    Uint32 gold = SDL_MapRGB(frame->format, 0xFF, 0xD8, 0x60 + phase);
    Uint32 dark = SDL_MapRGB(frame->format, 0x3A, 0x24, 0x0C);
    for (int k = 0; k < 3; k++) {
        int d = k - 1;
        Uint32 c = k == 2 ? dark : gold;
        SDL_Rect sides[4] = {
            {static_cast<Sint16>(x - 2 - d), static_cast<Sint16>(y - 2 - d), static_cast<Uint16>(44 + 2 * d), 1},
            {static_cast<Sint16>(x - 2 - d), static_cast<Sint16>(y + 41 + d), static_cast<Uint16>(44 + 2 * d), 1},
            {static_cast<Sint16>(x - 2 - d), static_cast<Sint16>(y - 2 - d), 1, static_cast<Uint16>(44 + 2 * d)},
            {static_cast<Sint16>(x + 41 + d), static_cast<Sint16>(y - 2 - d), 1, static_cast<Uint16>(44 + 2 * d)}};
        for (SDL_Rect& r : sides)
            SDL_FillRect(frame, &r, c);
    }
}

void DrawHint(SDL_Surface* frame)
{
    if (!frame || hintState != HINT_MOVE || hintRecord <= 0 || hintRecord >= TIL_SIZE || til[hintRecord].type == 0)
        return;
    int x = til[hintRecord].x, y = til[hintRecord].y;
    int toX = x + hintCells * CELL_SIZE;
    int t = (static_cast<int>(ClockTicks()) - hintShownAt) % 1600;
    if (t < 0)
        t += 1600;
    int phase = t < 800 ? t / 8 : (1600 - t) / 8;
    LightCell(frame, x, y, phase > 0x9F ? 0x9F : phase);
    // The path: a dotted line along the row to the cell it must reach, and that cell outlined.
    Uint32 trail = SDL_MapRGB(frame->format, 0xFF, 0xE8, 0xA0);
    int step = hintCells < 0 ? -8 : 8;
    for (int px = x + 20 + step * 2; step > 0 ? px < toX + 20 : px > toX + 20; px += step) {
        SDL_Rect dot = {static_cast<Sint16>(px - 2), static_cast<Sint16>(y + 18), 4, 4};
        SDL_FillRect(frame, &dot, trail);
    }
    SDL_Rect corners[4] = {{static_cast<Sint16>(toX + 2), static_cast<Sint16>(y + 2), 8, 2},
                           {static_cast<Sint16>(toX + 30), static_cast<Sint16>(y + 2), 8, 2},
                           {static_cast<Sint16>(toX + 2), static_cast<Sint16>(y + 36), 8, 2},
                           {static_cast<Sint16>(toX + 30), static_cast<Sint16>(y + 36), 8, 2}};
    for (SDL_Rect& r : corners)
        SDL_FillRect(frame, &r, trail);
    // The ghost hand: rests on the element, slides it over, rests at the end.
    int along = t < 300 ? 0 : t < 1200 ? (t - 300) * 1000 / 900 : 1000;
    int hx = x + (toX - x) * along / 1000;
    SDL_Surface* hand = GhostHand();
    if (hand)
        apply_clip(hx, y, hand, frame, nullptr);  // as the level cursor: its centre on the element's
}
