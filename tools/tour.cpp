// tovi-tour: the menu screens for the screenshot tour (tools/tour.sh) that the
// other tour programs do not show, saved as PNG pictures into one folder. Run from a folder that holds (or links) media/;
// the menus may write config.dat and player.dat there.
//
// Every picture is one row of Steps below. A screen whose code is in the game
// is played for real: the tour hands the dispatcher (MMoved) the row's input,
// one event at a time, exactly as the event pump does, and saves what the
// screen drew. A screen still to be written is shown as its art laid out at the
// places the game will draw it. To add a screen, add a row; when its code
// lands, give the row its screen code and input and drop the layout.
//
//   tovi-tour DIR
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <string>

#include "menu/menu.h"
#include "shell/clock.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/shot.h"
#include "shell/tovi.h"
#include "text/text.h"
#include "tools/simcore.h"

namespace {

constexpr int LAYOUT = -1;  // the row's screen is shown as laid-out art

// One input event for the dispatcher: the button state and the pointer, given
// `times` times in a row (the per-frame ticks of the main loop, or held input).
struct Input {
    int button, x, y, times;
};

// One image of a layout: drawn with its top-left at (x, y), through the clip
// rectangle when it has a width. dim darkens what is on the screen first, as a
// dialog opening over another screen does.
struct Draw {
    const char* image;
    int x, y;
    SDL_Rect clip;
    int dim;
};

// A line of text in one of the bitmap fonts; right: x is where the last glyph starts.
struct Text {
    const char* text;
    int x, y, font, right;
};

constexpr int MAX_INPUT = 8;
constexpr int MAX_DRAW = 14;
constexpr int MAX_TEXT = 6;

struct Step {
    const char* file;
    int code;                 // the screen code to play, or LAYOUT
    Input input[MAX_INPUT];   // for a played screen; ends at times 0
    Draw draw[MAX_DRAW];      // for a layout; ends at a null image
    Text text[MAX_TEXT];      // for a layout, drawn after the images; ends at a null text
};

constexpr SDL_Rect WHOLE = {0, 0, 0, 0};
constexpr SDL_Rect Frame300(int k) { return {static_cast<Sint16>(300 * (k - 1)), 0, 300, 400}; }

// The main menu at rest with the first item lifted, as every dialog row starts from.
#define MENU_LAYOUT                                                                                       \
    {"chapter0.png", 0, 0, WHOLE, 0}, {"kamila_anim_final.png", 300, 250, {0, 0, 150, 157}, 0},            \
        {"mask.png", 0, 0, WHOLE, 0}, {"tovi_anim1.png", 530, 130, WHOLE, 0},                              \
        {"level01.png", 24, 225, Frame300(11), 0}, {"level02.png", 24, 225, Frame300(1), 0},               \
        {"level03.png", 24, 225, Frame300(1), 0}, {"level04.png", 24, 225, Frame300(1), 0},                \
        {"level05.png", 24, 225, Frame300(1), 0}

const Step Steps[] = {
    {"loading.png", LAYOUT, {},
     {{"loading_screen.png", 0, 0, WHOLE, 0}, {"loading_screen_tape.png", 138, 383, {0, 0, 47 * 6, 44}, 0}},
     {}},
    {"menu.png", LAYOUT, {},
     {MENU_LAYOUT, {"welcome_pl.png", 425, 539, WHOLE, 0}, {"kursorb.png", 600, 566, WHOLE, 0}},
     {{"Amira", 770, 560, 2, 1}}},
    {"players.png", LAYOUT, {},
     {MENU_LAYOUT, {"playeredit.png", 120, 80, WHOLE, 1}, {"selc.png", 225, 237, WHOLE, 0},
      {"pl_new.png", 225, 156, WHOLE, 0}, {"down_edit.png", 530, 310, WHOLE, 0},
      {"kursorb.png", 262, 180, WHOLE, 0}},
     {{"Amira", 230, 205, 2, 0}, {"Bastian", 230, 235, 2, 0}, {"Chiara", 230, 265, 2, 0},
      {"Dario", 230, 295, 2, 0}, {"Elif", 230, 325, 2, 0}}},
    {"game_dialog.png", LAYOUT, {},
     {MENU_LAYOUT, {"new_game.png", 120, 80, WHOLE, 1}, {"continue_hover.png", 235, 245, WHOLE, 0},
      {"kursorb.png", 420, 282, WHOLE, 0}},
     {}},
    {"new_game_confirm.png", LAYOUT, {},
     {MENU_LAYOUT, {"dialog_new_areusure.png", 120, 80, WHOLE, 1}, {"pl_no.png", 401, 372, WHOLE, 0},
      {"kursorb.png", 480, 410, WHOLE, 0}},
     {}},
    {"high_scores.png", LAYOUT, {},
     {MENU_LAYOUT, {"hiscore_screen.png", 0, 0, WHOLE, 1}, {"backtomenu_hoveroff.png", 660, 500, WHOLE, 0},
      {"kursorb.png", 700, 440, WHOLE, 0}},
     {{"Amira", 136, 260, 2, 0}, {"48210", 600, 260, 2, 1}, {"Dario", 136, 320, 2, 0}, {"31470", 600, 320, 2, 1},
      {"Elif", 136, 380, 2, 0}, {"9360", 600, 380, 2, 1}}},
};

std::string outDir;
int failures = 0;

SDL_Surface* Image(const char* name)
{
    std::string path = std::string("media/images/") + name;
    SDL_Surface* s = IMG_Load(path.c_str());
    if (!s) {
        fprintf(stderr, "tovi-tour: cannot load %s\n", path.c_str());
        failures++;
    }
    return s;
}

// Darkens the screen as a dialog's backdrop does: black, then the old picture at alpha 170.
void Dim()
{
    SDL_Surface* copy = CopyScreen(screen);
    SDL_FillRect(screen, nullptr, 0);
    SDL_SetAlpha(copy, SDL_SRCALPHA | SDL_RLEACCEL, 170);
    SDL_BlitSurface(copy, nullptr, screen, nullptr);
    SDL_FreeSurface(copy);
}

void Layout(const Step& step)
{
    SDL_FillRect(screen, nullptr, 0);
    for (const Draw& d : step.draw) {
        if (!d.image)
            break;
        if (d.dim)
            Dim();
        SDL_Surface* s = Image(d.image);
        SDL_Rect clip = d.clip;
        apply_clip(d.x, d.y, s, screen, clip.w ? &clip : nullptr);
        SDL_FreeSurface(s);
    }
    for (const Text& t : step.text) {
        if (!t.text)
            break;
        int x = t.right ? t.x - strl(t.text, 0, t.y, t.font) : t.x;
        prikstr(screen, t.text, x, t.y, t.font);
    }
}

// Plays a screen through the dispatcher, from the main menu.
void Play(const Step& step)
{
    level_no = SCREEN_MENU;
    MMoved(0, 400, 300, 0, 0, KEY_NONE, KEY_NONE);
    level_no = step.code;
    for (const Input& in : step.input) {
        if (in.times == 0)
            break;
        for (int k = 0; k < in.times; k++) {
            ClockDelay(20);  // one main-loop frame of time passes between events
            MMoved(in.button, in.x, in.y, 0, 0, KEY_NONE, KEY_NONE);
        }
    }
    if (level_no != step.code) {
        fprintf(stderr, "tovi-tour: %s left its screen (now %d)\n", step.file, level_no);
        failures++;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: tovi-tour DIR\n");
        return 2;
    }
    outDir = argv[1];
    if (!SimOpen()) {
        fprintf(stderr, "tovi-tour: cannot start SDL\n");
        return 2;
    }
    SDL_ShowCursor(0);  // the game draws its own pointer
    start_level_no = 1;
    level_no = SCREEN_MENU;
    MMoved(0, 400, 300, 0, 0, KEY_NONE, KEY_NONE);  // the menu's first redraw loads the menu art
    for (const Step& step : Steps) {
        if (step.code == LAYOUT)
            Layout(step);
        else
            Play(step);
        std::string path = outDir + "/" + step.file;
        if (!SaveSurfacePng(screen, path.c_str())) {
            fprintf(stderr, "tovi-tour: cannot write %s\n", path.c_str());
            failures++;
            continue;
        }
        printf("%s\n", path.c_str());
    }
    SimClose();
    return failures ? 1 : 0;
}
