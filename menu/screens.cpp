#include "menu/screens.h"

#include "level/level.h"
#include "menu/menu.h"
#include "menu/players.h"
#include "shell/screen.h"
#include "text/text.h"

// A plain page with a title; a click goes back to the main menu.
static int Page(SDL_Surface* screen, const char* title, int x, int y, int button, int self)
{
    if (button == 0)
        mousechk = 0;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 40, 30, 20));
    prikstr(screen, title, 400 - strl(title, 0, 280, 2) / 2, 280, 2);
    MenuCursor(screen, x, y);
    if (button == 1 && mousechk == 0) {
        mousechk = 1;
        return SCREEN_MENU;
    }
    return self;
}

int RenderDialoga(int x, int y, int button, int, int, SDL_Surface* screen)
{
    return Page(screen, "New game?", x, y, button, SCREEN_NEWGAME);
}

int RenderDialogHS(int x, int y, int button, int, int, SDL_Surface* screen)
{
    return Page(screen, "High scores", x, y, button, SCREEN_SCORES);
}

// The game dialog continues the current player's game.
int RenderDialogg(int, int, int button, int, int, SDL_Surface*)
{
    if (button == 0)
        mousechk = 0;
    // A finished game (saved at 101) plays its last level again, with its
    // running score; the record on disk stays as it is until that is finished.
    ResetSequences();
    int level = ContinueLevel(proshli > 0 ? proshli : start_level_no);
    proshli = level;
    lmap(level);
    return level;
}

void biljezi()
{
}
