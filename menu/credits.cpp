#include "menu/credits.h"

#include "level/render.h"
#include "menu/menu.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"

SDL_Surface* optimizedImageCredits = nullptr;
SDL_Surface* optimizedImageCreditsm = nullptr;
SDL_Surface* btmhon = nullptr;
SDL_Surface* btmhoff = nullptr;
Mix_Music* musicredits = nullptr;

SDL_Rect clipy = {0, CREDITS_START, CREDITS_WINDOW.w, CREDITS_WINDOW.h};
int clipi = CREDITS_START;
int cgt = 0;
int cgtt = 0;
float ctm = 0.0f;
float cceka = 0.0f;
int pcm = 0;

constexpr int CREDITS_STEP_MS = 20;  // the text rises one pixel per 20 ms
constexpr int CREDITS_GAP_MS = 200;  // a longer gap between frames (a dragged window) is not counted

// The credits open at the end of the game on the press that left the last
// picture, whose forward button sits where the back button is; a press still
// held from there must not close the credits at once. So a press held on entry
// counts as used, as a menu item's press does when it opens the credits.
static void Enter(int button)
{
    cgtt = 0;
    clipi = CREDITS_START;
    clipy.y = static_cast<Sint16>(clipi);
    WarpPointer(400, 300);
    play_menu_music = 0;
    rendc = 1;
    if (button != 0)
        mousechk = 1;
}

// Pixels to scroll this frame: one per 20 ms of frame time gathered, the rest
// of a step dropped.
static int ScrollStep()
{
    cgt = static_cast<int>(ClockTicks());
    ctm = static_cast<float>(cgt - cgtt);
    if (ctm < CREDITS_GAP_MS)
        cceka += ctm;
    int step = 0;
    if (cceka >= CREDITS_STEP_MS) {
        step = static_cast<int>(cceka / CREDITS_STEP_MS);
        cceka = 0.0f;
    }
    cgtt = cgt;
    return step;
}

int RenderCredits(int x, int y, int button, int key, int, SDL_Surface* frame)
{
    if (rendc == 0)
        Enter(button);
    KeepTunePlaying(&pcm, musicredits);
    if (button == 0)
        mousechk = 0;
    apply_clip(0, 0, optimizedImageCredits, frame, nullptr);

    clipi += ScrollStep();
    clipy.y = static_cast<Sint16>(clipi);
    // While clipi is negative the blit is clipped at the text's top edge and
    // moved down by as much, so the text rises from the bottom of the window.
    apply_clip(CREDITS_WINDOW.x, CREDITS_WINDOW.y, optimizedImageCreditsm, frame, &clipy);
    int height = optimizedImageCreditsm ? optimizedImageCreditsm->h : 0;
    if (height < clipi)
        clipi = CREDITS_START;

    bool back = IsBackKey(key) || IsOkKey(key);
    if (CornerButton(frame, x, y, btmhon, btmhoff) && button != 0 && mousechk == 0 && !IsKeyPress(key))
        back = true;
    if (back) {
        menu_first_time = 1;
        mousechk = 1;
        pcm = 0;
        play_menu_music = 1;
        rendc = 0;
        return SCREEN_MENU;
    }
    apply_clip(x, y, button == 1 ? optimizedImageCursorp : optimizedImageCur, frame, nullptr);
    return SCREEN_CREDITS;
}
