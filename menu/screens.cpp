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

int RenderOptions(int x, int y, int button, SDL_Surface* screen)
{
    level_no = Page(screen, "Options", x, y, button, SCREEN_OPTIONS);
    return level_no;
}

int RenderCredits(int x, int y, int button, int, int, SDL_Surface* screen)
{
    return Page(screen, "Tovi Mudgrove", x, y, button, SCREEN_CREDITS);
}

void RenderHelp(int x, int y, int button, int, SDL_Surface* screen)
{
    level_no = Page(screen, "Help", x, y, button, SCREEN_HELP);
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

int RenderMap(int x, int y, int button, int, int level, SDL_Surface* screen)
{
    int next = Page(screen, "The way goes on", x, y, button, level);
    if (next == SCREEN_MENU) {
        lmap(level - SCREEN_MAP);
        return level - SCREEN_MAP;
    }
    return next;
}

void biljezi()
{
}
