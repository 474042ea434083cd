#include "trans/trans.h"

#include <cstdlib>
#include <ctime>

#include "shell/clock.h"
#include "shell/display.h"
#include "shell/screen.h"

int array1[TILE_COUNT + 1];

int trans_frames = 0;
int trans_pushes = 0;
SDL_Rect TransPush[TRANS_PUSH_LOG_SIZE];

// The effects always work on the 800 x 600 screen, whatever the surface says.
static const int TILE_COLUMNS = 16;
static const int TILE_ROWS = 12;
static const int WIDE_BANDS = 12;    // the wide blinds: 12 bands of 50 rows
static const int NARROW_BANDS = 50;  // the narrow blinds: 50 bands of 12 rows
static const int BLIND_WAIT = 20;    // ms after each step of either blinds
static const int TILE_WAIT = 5;      // ms after each tile

static_assert(TILE_COLUMNS * TILE_ROWS == TILE_COUNT, "one array1 entry per tile");
static_assert(TRANS_PUSH_LOG_SIZE >= NARROW_BANDS * (SCREEN_H / NARROW_BANDS),
              "the log holds every rectangle of the narrow blinds");

// ---- drawing and the display -------------------------------------------------
static void StartEffect()
{
    trans_frames = 0;
    trans_pushes = 0;
}

static void ShowAll(SDL_Surface* frame)
{
    ShowFrame(frame);
    trans_frames++;
}

// Pushes one rectangle of the screen surface to the display; the blinds call it
// through SDL_UpdateRect, the tiles through SDL_UpdateRects.
static void Push(SDL_Surface* frame, int x, int y, int w, int h, int asList)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    if (trans_pushes < TRANS_PUSH_LOG_SIZE)
        TransPush[trans_pushes] = r;
    trans_pushes++;
    if (asList)
        ShowFrameRects(frame, 1, &r);
    else
        ShowFrameRect(frame, r.x, r.y, r.w, r.h);
}

// Draws image over the whole screen with per-surface alpha, then switches it off.
static void DrawSeeThrough(SDL_Surface* frame, SDL_Surface* image, int alpha)
{
    if (!image)
        return;
    SDL_SetAlpha(image, SDL_SRCALPHA | SDL_RLEACCEL, static_cast<Uint8>(alpha));
    apply_clip(0, 0, image, frame, nullptr);
    SDL_SetAlpha(image, SDL_RLEACCEL, 255);
}

// ---- Fade --------------------------------------------------------------------
// Every caller passes mode 1 and calls again until the result is 1, which is
// always the first call; mode changes nothing.
bool FadeInOnce(SDL_Surface* frame, SDL_Surface* panel, int x, int y, int* faded)
{
    if (*faded == 0) {
        while (Fade(frame, panel, 1, x, y) != 1) {
        }
        *faded = 1;
        return true;
    }
    apply_clip(x, y, panel, frame, nullptr);
    return false;
}

int Fade(SDL_Surface* target, SDL_Surface* image, int, int x, int y)
{
    StartEffect();
    if (!target || !image)
        return 1;
    SDL_Surface* snapshot = SDL_DisplayFormat(target);
    // Bigger images take bigger steps: a full-screen picture fades in 16 frames,
    // a dialog panel in 32.
    int step = image->w * image->h / 30000;
    if (step < 2)
        step = 2;
    // The old picture dissolves away from over the image. The last frame still
    // carries it faintly; the caller draws the image plainly right afterwards.
    for (int alpha = 255; alpha > 1; alpha -= step) {
        apply_clip(0, 0, snapshot, target, nullptr);
        apply_clip(x, y, image, target, nullptr);
        DrawSeeThrough(target, snapshot, alpha);
        ShowAll(target);
    }
    if (snapshot)
        SDL_FreeSurface(snapshot);
    return 1;
}

// ---- NLevel ------------------------------------------------------------------
static void CrossFade(SDL_Surface* frame, SDL_Surface* old, SDL_Surface* newimg, int step)
{
    // Every caller passes 5 (52 frames, the last at alpha 255); a step below 1
    // would never finish, so it is taken as 1.
    if (step < 1)
        step = 1;
    for (int alpha = 0; alpha < 256; alpha += step) {
        apply_clip(0, 0, old, frame, nullptr);
        DrawSeeThrough(frame, newimg, alpha);
        ShowAll(frame);
    }
}

// The top of every band grows by two rows per step and shows the new picture: 25
// steps, heights 1 to 49. So the bottom row of each band is never pushed and
// shows the old picture until the next full flip; kept, as the game always
// looked like this and the next frame covers it anyway.
static void WideBlinds(SDL_Surface* frame, SDL_Surface* old, SDL_Surface* newimg)
{
    apply_clip(0, 0, old, frame, nullptr);
    ShowAll(frame);
    apply_clip(0, 0, newimg, frame, nullptr);
    const int band = SCREEN_H / WIDE_BANDS;
    for (int h = 1; h < band; h += 2) {
        for (int y = 0; y < SCREEN_H; y += band)
            Push(frame, 0, y, SCREEN_W, h, 0);
        ClockDelay(BLIND_WAIT);
    }
}

// The new picture appears tile by tile in the order rnda chose; tile k is in
// column (k - 1) / 12 and row (k - 1) mod 12.
static void RandomTiles(SDL_Surface* frame, SDL_Surface* old, SDL_Surface* newimg)
{
    apply_clip(0, 0, old, frame, nullptr);
    ShowAll(frame);
    apply_clip(0, 0, newimg, frame, nullptr);
    const int tw = static_cast<int>(SCREEN_W / static_cast<double>(TILE_COLUMNS));
    const int th = static_cast<int>(SCREEN_H / static_cast<double>(TILE_ROWS));
    for (int i = 1; i <= TILE_COUNT; i++) {
        int k = array1[i];
        if (k < 1 || k > TILE_COUNT)
            continue;
        Push(frame, (k - 1) / TILE_ROWS * tw, (k - 1) % TILE_ROWS * th, tw, th, 1);
        ClockDelay(TILE_WAIT);
    }
}

// Twelve steps of one row each. There is no flip first: old is what the display
// already shows, so drawing it and then new leaves the display untouched.
static void NarrowBlinds(SDL_Surface* frame, SDL_Surface* old, SDL_Surface* newimg)
{
    apply_clip(0, 0, old, frame, nullptr);
    apply_clip(0, 0, newimg, frame, nullptr);
    const int band = SCREEN_H / NARROW_BANDS;
    int grow = band / 24;  // 12 / 24 is 0, which would never end: one row per step
    if (grow < 1)
        grow = 1;
    for (int h = 1; h <= band; h += grow) {
        for (int y = 0; y < SCREEN_H; y += band)
            Push(frame, 0, y, SCREEN_W, h, 0);
        ClockDelay(BLIND_WAIT);
    }
}

void NLevel(SDL_Surface* frame, SDL_Surface* old, SDL_Surface* newimg, int effect, int step)
{
    StartEffect();
    rnda();
    if (frame) {
        if (effect == 1)
            CrossFade(frame, old, newimg, step);
        else if (effect == 2)
            WideBlinds(frame, old, newimg);
        else if (effect == 3)
            RandomTiles(frame, old, newimg);
        else if (effect == 5)
            NarrowBlinds(frame, old, newimg);
    }
    // Every caller takes old as a fresh copy of the screen and forgets it, so it
    // is freed here. The narrow blinds close the level: its picture goes too.
    if (old)
        SDL_FreeSurface(old);
    if (effect == 5 && newimg)
        SDL_FreeSurface(newimg);
}

// ---- rnda --------------------------------------------------------------------
// Two calls in the same second give the same order.
void rnda()
{
    srand(static_cast<unsigned>(time(nullptr)));
    for (int n = 1; n <= TILE_COUNT; n++) {
        int v;
        int seen;
        do {
            v = rand() % TILE_COUNT + 1;
            seen = 0;
            for (int m = 1; m < n; m++)
                if (array1[m] == v)
                    seen = 1;
        } while (seen);
        array1[n] = v;
    }
}
