#include "menu/players.h"

#include "menu/menu.h"
#include "shell/screen.h"

char PlayerName[NAME_SIZE];
int proshli = 0;
int PlayerScore = 0;
int izmp = 0;
PlayerRecord pin[MAX_PLAYERS];
int ukupl = 0;
int plsel = 0;

int RenderDialogp(int x, int y, int button, int, int, SDL_Surface* screen)
{
    if (button == 0)
        mousechk = 0;
    MenuCursor(screen, x, y);
    if (button == 1 && mousechk == 0) {
        mousechk = 1;
        return SCREEN_MENU;
    }
    return SCREEN_PLAYERS;
}
