#include "menu/menu.h"

#include "level/level.h"
#include "menu/players.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "text/text.h"

SDL_Rect MenuRectangle[MENU_ITEMS + 2];
int MenuPrviPut = 1;
int menu_first_time = 1;
SDL_Surface* MenuImage = nullptr;
SDL_Surface* optimizedImageCur = nullptr;
SDL_Surface* optimizedImageCursorp = nullptr;
SDL_Surface* LSImage = nullptr;
SDL_Surface* LSTImage = nullptr;
Mix_Music* mintro = nullptr;
Mix_Music* mmap_music = nullptr;
Mix_Chunk* mtomb = nullptr;
Mix_Chunk* mcamel = nullptr;
Mix_Chunk* mdbtn = nullptr;

// The five items and the screens they lead to: play, options, credits, help, quit.
static const char* const ItemNames[MENU_ITEMS + 1] = {nullptr, "Play", "Options", "Credits", "Help", "Quit"};
static const int ItemScreens[MENU_ITEMS + 1] = {0, SCREEN_GAME, SCREEN_OPTIONS, SCREEN_CREDITS, SCREEN_HELP,
                                                SCREEN_QUIT};

void InitMenu(SDL_Surface*)
{
    for (int i = 1; i <= MENU_ITEMS + 1; i++) {
        MenuRectangle[i].x = static_cast<Sint16>(3 * i + 90);
        MenuRectangle[i].y = static_cast<Sint16>(60 * i + 220);
        MenuRectangle[i].w = 120;
        MenuRectangle[i].h = 50;
    }
    MenuImage = InitBackg(0);
    optimizedImageCur = LoadImageAlpha("media/images/kursor.png");
    mintro = LoadMusic("media/audio/main.ogg");
    mdbtn = LoadEffect("media/audio/dialog_btn.ogg");
    if (!PlayerName[0])
        snprintf(PlayerName, sizeof PlayerName, "%s", "Player");
    if (proshli == 0)
        proshli = start_level_no;
    MenuPrviPut = 0;
}

void MenuCursor(SDL_Surface* screen, int x, int y)
{
    apply_clip(x, y, optimizedImageCur, screen, nullptr);
}

static bool OverItem(int i, int x, int y)
{
    const SDL_Rect& r = MenuRectangle[i];
    return x > r.x && x < r.x + r.w && y > r.y && y < r.y + r.h;
}

int RenderMenu(int x, int y, int button, SDL_Surface* screen)
{
    if (MenuPrviPut)
        InitMenu(screen);
    if (rendme == 0) {
        SDL_WarpMouse(400, 300);
        rendme = 1;
    }
    if (button == 0)
        mousechk = 0;
    if (MenuImage)
        apply_clip(0, 0, MenuImage, screen, nullptr);
    else
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 60, 40, 20));
    int next = SCREEN_MENU;
    for (int i = 1; i <= MENU_ITEMS; i++) {
        bool over = OverItem(i, x, y);
        prikstr(screen, ItemNames[i], MenuRectangle[i].x + 10, MenuRectangle[i].y + 8, over ? 2 : 3);
        if (over && button == 1 && mousechk == 0) {
            mousechk = 1;
            PlayEffect(&mdbtn);
            next = ItemScreens[i];
        }
    }
    prikstr(screen, PlayerName, 560, 550, 3);
    MenuCursor(screen, x, y);
    if (next != SCREEN_MENU)
        rendme = 0;
    return next;
}
