#include "menu/options.h"

#include <SDL_mixer.h>

#include "menu/menu.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "trans/trans.h"

int slimy = 0;
int chst = 0;
SDL_Surface* proslisc = nullptr;
SDL_Surface* OptionsImage = nullptr;
SDL_Surface* loadedImageCrta = nullptr;
SDL_Surface* loadedImageChk = nullptr;
SDL_Surface* loadedImageOk = nullptr;
SDL_Surface* loadedImageWindow[4] = {};
SDL_Surface* loadedImageWindowOff[4] = {};
const SDL_Rect WindowSizeHot[4] = {{0, 0, 0, 0}, WINDOW_SIZE_HOT[0], WINDOW_SIZE_HOT[1], WINDOW_SIZE_HOT[2]};

// The sliders' track: a volume v (0..127) puts the knob at 360 + 1.485 v, and a
// press at x on the track sets (x - 360) / 1.485, both truncated.
constexpr int TRACK_LEFT = KNOB_LEFT;  // x of volume 0; the track takes presses at 361..549
constexpr int TRACK_RIGHT = KNOB_RIGHT + 1;
constexpr float TRACK_SCALE = 1.485f;

static bool OverOk(int x, int y)
{
    return InRect(OPTIONS_OK, x, y);
}

static int KnobX(int volume)
{
    return TRACK_LEFT + static_cast<int>(TRACK_SCALE * static_cast<float>(volume));
}

// The window size under the pointer, 0 when none.
static int WindowSizeAt(int x, int y)
{
    for (int k = 1; k <= DISPLAY_MAX_SCALE; k++)
        if (InRect(WindowSizeHot[k], x, y))
            return k;
    return 0;
}

// The size in use is lit (in full screen too: the window leaving it gets that
// size); sizes the desktop has no room for are dimmed.
static void DrawWindowSizes(SDL_Surface* frame)
{
    int in_use = WindowScale(), max = MaxWindowScale();
    for (int k = 1; k <= DISPLAY_MAX_SCALE; k++) {
        SDL_Surface* img = k > max ? loadedImageWindowOff[k] : (k == in_use ? loadedImageWindow[k] : nullptr);
        if (img)
            apply_clip(WINDOW_SIZE_AT[k - 1].x, WINDOW_SIZE_AT[k - 1].y, img, frame, nullptr);
    }
}

static void DrawKnobs(SDL_Surface* frame)
{
    apply_clip(KnobX(slidm), KNOB_MUSIC_Y, loadedImageCrta, frame, nullptr);
    apply_clip(KnobX(slidf), KNOB_SOUND_Y, loadedImageCrta, frame, nullptr);
}

// The menu behind the panel, darkened; the panel fades in the first time.
static void DrawPanel(SDL_Surface* frame)
{
    DrawBackdrop(frame);
    if (FadeInOnce(frame, OptionsImage, DIALOG_AT.x, DIALOG_AT.y, &bioo))
        apply_clip(DIALOG_AT.x, DIALOG_AT.y, OptionsImage, frame, nullptr);
}

// Escape and Return close the options as OK does; the settings are already
// saved by every press that changed them.
static void CloseOptions()
{
    renddo = 0;
    slimy = chst = 0;
    PlayEffect(&mdbtn);
    FreeMenuBackdrop();
    level_no = SCREEN_MENU;
}

void RenderOptions(int x, int y, int button, SDL_Surface* frame)
{
    if (IsKeyPress(kkeyk)) {
        if (IsBackKey(kkeyk) || IsOkKey(kkeyk))
            CloseOptions();
        return;
    }
    if (renddo == 0) {
        WarpPointer(400, 300);
        renddo = 1;
    }
    if (button == 0)
        mousechk = 0;
    // A drag stays on its band while the pointer drifts up or down.
    if (slimy != 0)
        y = slimy;
    DrawPanel(frame);

    bool drag = false, box = false, ok = false;
    if (button == 1) {
        if (x > TRACK_LEFT && x <= TRACK_RIGHT) {
            int volume = static_cast<int>(static_cast<float>(x - TRACK_LEFT) / TRACK_SCALE);
            if (y > 205 && y <= 239) {
                slidm = volume;
                slimy = y;
                drag = true;
            }
            if (y > 265 && y <= 299) {
                slidf = volume;
                slimy = y;
                drag = true;
            }
        }
        if (InRect(CHECK_HOT, x, y) && mousechk == 0) {
            if (chst == 0) {
                fulls = fulls ? 0 : 1;
                chst = 1;
            }
            PlayEffect(&mcamel);
            box = true;
        }
        // A window size: kept in "display.dat", and the window shows at once in
        // it (out of full screen, as F10 does). The shell re-opens the mode.
        int k = WindowSizeAt(x, y);
        if (k != 0 && k <= MaxWindowScale() && mousechk == 0) {
            display_scale = k;
            WriteDisplaySettings();
            fulls = 0;
            PlayEffect(&mcamel);
            box = true;
        }
        // Every redraw with the button down saves, whatever the pointer is over.
        pod[1] = slidm;
        pod[2] = slidf;
        pod[3] = fulls;
        WriteSettings();
        DrawKnobs(frame);
        if (OverOk(x, y) && mousechk == 0) {
            renddo = 0;
            apply_clip(OPTIONS_OK_AT.x, OPTIONS_OK_AT.y, loadedImageOk, frame, nullptr);
            ok = true;
        }
        mousechk = 1;
    } else {
        slimy = 0;
        DrawKnobs(frame);
        chst = 0;
        if (OverOk(x, y))
            apply_clip(OPTIONS_OK_AT.x, OPTIONS_OK_AT.y, loadedImageOk, frame, nullptr);
    }
    if (fulls)
        apply_clip(CHECK_AT.x, CHECK_AT.y, loadedImageChk, frame, nullptr);
    DrawWindowSizes(frame);

    if (drag || box || ok) {
        apply_clip(x, y, optimizedImageCursorp, frame, nullptr);
        if (ok) {
            PlayEffect(&mdbtn);
            FreeMenuBackdrop();
            level_no = SCREEN_MENU;
        }
        if (box)
            PlayEffect(&mdbtn);
    } else {
        slimy = 0;
        apply_clip(x, y, optimizedImageCur, frame, nullptr);
    }
    Mix_VolumeMusic(slidm);
    Mix_Volume(-1, slidf);
}
