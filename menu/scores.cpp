#include "menu/scores.h"

#include <cstdio>
#include <cstring>

#include "menu/credits.h"
#include "menu/menu.h"
#include "shell/display.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "text/text.h"

SDL_Surface* DialogImageHS = nullptr;

int RenderDialogHS(int x, int y, int button, int key, int, SDL_Surface* frame)
{
    if (renddhs == 0) {
        WarpPointer(400, 300);
        renddhs = 1;
    }
    if (button == 0)
        mousechk = 0;
    // The rows as stored, on every redraw (the first one too, so a table kept
    // from an earlier run shows at once).
    memset(phss, 0, sizeof phss);
    ReadRecords(HISCORE_FILE, phss, HS_RECORDS);
    DrawBackdrop(frame);
    apply_clip(0, 0, DialogImageHS, frame, nullptr);

    bool close = IsBackKey(key) || IsOkKey(key);
    if (CornerButton(frame, x, y, btmhon, btmhoff) && button != 0 && mousechk == 0 && !IsKeyPress(key))
        close = true;
    if (close) {
        mousechk = 1;
        renddhs = 0;
        PlayEffect(&mdbtn);
        FreeMenuBackdrop();
        return SCREEN_MENU;
    }
    for (int k = HS_ROWS; k >= 1; k--) {
        int rowY = 60 * k + 200;
        char score[16];
        snprintf(score, sizeof score, "%d", phss[k].score);
        prikstr(frame, phss[k].name, 136, rowY, 2);
        prikstr(frame, score, 600 - strl(score, 0, 560, 2), rowY, 2);
    }
    MenuPointer(frame, x, y, button == 1);
    return SCREEN_SCORES;
}
