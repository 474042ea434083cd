#include "level/retry.h"

#include "level/level.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "trans/trans.h"

thread_local int dplev = 0;

// What every way out of the dialog does: it closes, the click is used up, the
// button sounds and the darkened backdrop goes.
static void CloseDialog()
{
    biodr = renddr = 0;
    mousec = 1;
    PlayEffect(&mdibtn);
    FreeBackdrop();
}

static int ToMainMenu()
{
    dead = 0;
    cntintr = 6;  // a later game start skips the opening story
    CloseDialog();
    Mix_HaltMusic();
    menu_first_time = 1;
    // A level played again from the level list never lowers the player's level.
    if (!replaying)
        proshli = dplev;
    replaying = 0;
    dplev = 0;
    level_no = SCREEN_MENU;
    return SCREEN_MENU;
}

static int Retry(int level)
{
    dead = 0;
    bioret = 1;  // the chapter picture is not shown again
    cntintr = 6;
    CloseDialog();
    Mix_HaltMusic();
    startTicks = 0;
    LEVEL_TIMER = 0;
    spiked = movsp = 0;
    probo = 0;
    rendle = 0;
    dplev = 0;
    lmap(level);
    return level;
}

static int Cancel()
{
    CloseDialog();
    Cursor.x = Cursor.y = 0;
    int level = dplev;
    dplev = 0;
    return level;
}

// After a lost level: the move that lost it is taken back and play goes on.
static int UndoLoss()
{
    if (UndoLostMove() != UNDO_DONE)
        return SCREEN_RETRY;
    dead = 0;
    return Cancel();
}

static uint32_t openedAt = 0;  // tick of the dialog's first frame

int RenderDialogr(int dialogLevel, int x, int y, int button, int key, int, SDL_Surface* frame)
{
    if (button == 0)
        mousec = 0;
    if (renddr == 0) {
        mousec = 1;  // the click that opened the dialog does not act in it
        // The level menu puts the pointer on CANCEL, the lost level's dialog on RETRY.
        if (dead == 1)
            WarpPointer(400, 300);
        else
            WarpPointer(400, 396);
        openedAt = ClockTicks();
        renddr = 1;
    }
    if (dplev == 0)
        dplev = dialogLevel;
    DarkenScreen(frame);
    SDL_Surface* panel = dead == 1 && dialogrl ? dialogrl : dialogr;
    FadeInOnce(frame, panel, DIALOG_AT.x, DIALOG_AT.y, &biodr);
    bool settled = ClockTicks() - openedAt >= DOUBLE_CLICK_MS;
    bool click = button != 0 && mousec == 0 && settled && !IsKeyPress(key);
    // Return takes RETRY after a loss and CANCEL otherwise; Escape closes the
    // level menu as CANCEL does (a lost level has nothing to go back to).
    int chosen = 0;
    if (IsOkKey(key))
        chosen = dead == 1 ? 2 : 3;
    else if (IsBackKey(key) && dead != 1)
        chosen = 3;
    if (dead == 1 && undoCount > 0) {
        bool over = InRect(RETRY_CANCEL, x, y);
        apply_clip(RETRY_CANCEL_AT.x, RETRY_CANCEL_AT.y, RetryUndo[over ? 1 : 0], frame, nullptr);
        if (over && click) {
            int r = UndoLoss();
            if (r != SCREEN_RETRY)
                return r;
        }
    }
    int items = dead == 1 ? 2 : 3;
    for (int k = 1; k <= items; k++) {
        if (!InRect(Dialogritem[k], x, y))
            continue;
        if (k == 1) {
            bioret = rendle = cntgh = 0;
            apply_clip(RETRY_MAIN_MENU_AT.x, RETRY_MAIN_MENU_AT.y, rmm, frame, nullptr);
        } else if (k == 2) {
            apply_clip(RETRY_RETRY_AT.x, RETRY_RETRY_AT.y, rr, frame, nullptr);
        } else {
            apply_clip(RETRY_CANCEL_AT.x, RETRY_CANCEL_AT.y, rexit, frame, nullptr);
        }
        if (click)
            chosen = k;
        break;
    }
    if (chosen == 1)
        return ToMainMenu();
    if (chosen == 2)
        return Retry(dialogLevel);
    if (chosen == 3)
        return Cancel();
    LevelCursor(frame, x, y, button == 1);
    return SCREEN_RETRY;
}
