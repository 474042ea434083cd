// tovi-tour: the menu screens for the screenshot tour (tools/dev/tour.sh) that the
// other tour programs do not show, saved as PNG pictures into one folder. Run from a folder that holds (or links)
// media/; the menus may write config.dat and player.dat there.
//
// Every picture is one row of Steps below. A screen is played for real: the
// tour hands the dispatcher (MMoved) the row's input, one event at a time,
// exactly as the event pump does, and saves what the screen drew. The loading
// screen, which only shows while the menu art loads, is its art laid out at the
// places the game draws it. To add a screen, add a row.
//
//   tovi-tour DIR
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <string>

#include "app/tovi.h"
#include "level/info.h"
#include "menu/menu.h"
#include "menu/players.h"
#include "menu/scores.h"
#include "progress/best.h"
#include "shell/clock.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/shot.h"
#include "text/text.h"
#include "tools/sim/simcore.h"

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
    int code;                // the screen code to play, or LAYOUT
    Input input[MAX_INPUT];  // for a played screen; ends at times 0
    Draw draw[MAX_DRAW];     // for a layout; ends at a null image
    Text text[MAX_TEXT];     // for a layout, drawn after the images; ends at a null text
};

constexpr SDL_Rect WHOLE = {0, 0, 0, 0};
const Step Steps[] = {
    {"loading.png",
     LAYOUT,
     {},
     {{"loading_screen.png", 0, 0, WHOLE, 0},
      {"loading_screen_tape.png", TAPE_AT.x, TAPE_AT.y, {0, 0, TAPE_STEP * 6, TAPE_SIZE.h}, 0}},
     {}},
    // The first item lifted, its dust puff rising, the camel on its way.
    {"menu.png", SCREEN_MENU, {{0, 150, 300, 14}, {0, 152, 302, 1}}, {}, {}},
    // Bastian chosen from the list, the pointer on New.
    {"players.png", SCREEN_PLAYERS, {{0, 300, 250, 2}, {1, 300, 250, 1}, {0, 300, 250, 1}, {0, 270, 181, 2}}, {}, {}},
    {"game_dialog.png", SCREEN_GAME, {{0, 420, 282, 2}}, {}, {}},
    {"new_game_confirm.png", SCREEN_NEWGAME, {{0, 480, 410, 2}}, {}, {}},
    {"high_scores.png", SCREEN_SCORES, {{0, 700, 440, 3}}, {}, {}},
    // Bastian's first chapter with his best results, the pointer on level 8.
    {"level_list.png", SCREEN_LEVELS, {{0, 395, 236, 2}}, {}, {}},
};

// The players the tour's menus show, with their progress; the high scores are
// merged from them as the game does after a level.
struct TourPlayer {
    const char* name;
    int level, score;
};
const TourPlayer TourPlayers[] = {
    {"Amira", 38, 48210}, {"Bastian", 12, 9360}, {"Chiara", 7, 5120},
    {"Dario", 27, 31470}, {"Elif", 3, 1980},     {"Farid", 1, 0},
};

void MakePlayers()
{
    ukupl = 0;
    for (const TourPlayer& p : TourPlayers) {
        ukupl++;
        SetRecordName(&pin[ukupl], p.name);
        pin[ukupl].level = p.level;
        pin[ukupl].score = p.score;
    }
    SavePlayers();
    chkHS();
    // Bastian's best results in the first chapter: fewest moves (the par or a
    // little over it: no win takes fewer), shortest time, whether she needed a hint.
    for (int level = 1; level < 12; level++) {
        BestRecord before;
        RecordBest(BEST_FILE, "Bastian", level, LevelPar(level) + level % 3, 20 + (level * 37) % 160, level % 4 == 0,
                   &before);
    }
    pod[4] = 1;  // Amira was chosen last
}

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
    FreeMenuBackdrop();  // every dialog darkens the menu afresh
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
    const char* dir = SimToolStart(argc, argv, "tovi-tour", "DIR");
    if (!dir)
        return 2;
    outDir = dir;
    SDL_ShowCursor(0);  // the game draws its own pointer
    start_level_no = 1;
    MakePlayers();
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
