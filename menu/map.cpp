#include "menu/map.h"

#include <SDL_mixer.h>

#include <cstdio>

#include "level/board.h"
#include "level/sequences.h"
#include "menu/menu.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "text/text.h"
#include "trans/trans.h"

// The path as the map picture draws it, from the camp by the river (point 0)
// west along the dunes and up to the hills in the north.
const int mapcord[MAPCORD_POINTS * 2] = {505, 447, 491, 441, 474, 432, 464, 413, 445, 441, 427, 416, 426, 399, 406, 405,
                                         397, 432, 372, 422, 353, 435, 339, 449, 324, 436, 326, 413, 316, 392, 333, 379,
                                         367, 382, 364, 361, 373, 339, 396, 330, 417, 330, 0,   0,   0,   0,   0,   0};

SDL_Surface* Mapb = nullptr;
SDL_Surface* Mapbg = nullptr;
SDL_Surface* Maps = nullptr;
SDL_Surface* Mapsg = nullptr;
SDL_Surface* forhon2 = nullptr;
SDL_Surface* forhoff2 = nullptr;

int pmapm = 0;
int rmstartTicks = 0;
int mtdm = 0;
int mtdm2 = 0;
int mdtm = 0;
int mdrtm = 0;
int blink = 0;
int renderput = 0;
int clnex = 0;

constexpr int MAP_FRAME_MS = 20;  // one map frame per 20 ms
constexpr int MAP_STEP_MS = 200;  // the glow moves one point per 200 ms

// The press that finished the level (or the relic sequence, whose forward button
// sits exactly where the map's does) is often still held when the map opens;
// the map's button acts on any press without the menus' click latch, so that
// press would skip the map at once. The map therefore ignores its button until
// it has seen the button up once since it opened.
static int heldSinceEntry = 0;

static int PointX(int k)
{
    return mapcord[2 * k];
}

static int PointY(int k)
{
    return mapcord[2 * k + 1];
}

static bool IsBigPoint(int k)
{
    return k != 0 && k % MAP_BLOCK == 0;
}

static void DrawGlow(SDL_Surface* frame, int k)
{
    if (IsBigPoint(k))
        apply_clip(PointX(k) - 14, PointY(k) - 12, Mapbg, frame, nullptr);
    else
        apply_clip(PointX(k) - 11, PointY(k) - 11, Mapsg, frame, nullptr);
}

static void WaitForFrame()
{
    if (rmstartTicks == 0)
        rmstartTicks = static_cast<int>(ClockTicks());
    while (static_cast<int>(ClockTicks()) - rmstartTicks < MAP_FRAME_MS)
        ClockDelay(1);
    rmstartTicks = static_cast<int>(ClockTicks());
}

static void AnimationClock()
{
    mtdm2 = static_cast<int>(ClockTicks());
    mdtm = mtdm2 - mtdm;
    mdrtm += mdtm;
    if (mdrtm >= MAP_STEP_MS) {
        mdrtm = 0;
        blink += 1;
        renderput += 1;
    }
    mtdm = mtdm2;
}

// The dots of the finished blocks 1..c, the walking glow, then the newest dot's
// slow blink once the glow has passed it.
static void DrawPath(SDL_Surface* frame, int c)
{
    for (int k = 1; k <= c; k++) {
        apply_clip(PointX(0), PointY(0), Mapb, frame, nullptr);
        if (k % MAP_BLOCK == 0)
            apply_clip(PointX(k) - 2, PointY(k), Mapb, frame, nullptr);
        else
            apply_clip(PointX(k), PointY(k), Maps, frame, nullptr);
    }
    if (renderput < c)
        DrawGlow(frame, renderput);
    if (blink % 4 == 0 && renderput > c) {
        apply_clip(PointX(0), PointY(0), Mapb, frame, nullptr);
        DrawGlow(frame, c);
    }
}

int RenderMap(int x, int y, int button, int key, int level, SDL_Surface* frame)
{
    if (rendmp == 0) {
        WarpPointer(400, 300);
        rendmp = 1;
        heldSinceEntry = button != 0;
    }
    KeepTunePlaying(&pmapm, mmap_music);
    if (button == 0) {
        mousechk = 0;
        heldSinceEntry = 0;
    }
    WaitForFrame();
    AnimationClock();

    apply_clip(0, 0, Mapi, frame, nullptr);
    if (CornerButton(frame, x, y, forhon2, forhoff2) && button != 0 && !heldSinceEntry && !IsKeyPress(key))
        clnex = 1;

    // The map has one way on: Return and Escape both take it.
    if (IsOkKey(key) || IsBackKey(key))
        clnex = 1;

    // Only levels up to the fourth chapter's end lead here; a code beyond them
    // still draws, with the path full.
    int c = (level - SCREEN_MAP - 1) / MAP_BLOCK;
    if (c < 0)
        c = 0;
    if (c > MAP_LAST_DOT)
        c = MAP_LAST_DOT;
    DrawPath(frame, c);

    char label[32];
    snprintf(label, sizeof label, "LEVEL: %d", level - SCREEN_MAP - 1);
    prikstr(frame, label, 330, 70, 3);

    if (clnex) {
        pmapm = rendmp = renderput = 0;
        level -= SCREEN_MAP;
        lmap(level);
        NLevel(frame, CopyScreen(frame), LevelImage, 3, 5);
        clnex = 0;
    }

    // The menu hands have their fingertip at the top-left corner, so the map
    // draws them there like every other menu screen: drawn 20 pixels up and
    // left, the finger would point beside what a click hits.
    apply_clip(x, y, button == 1 ? optimizedImageCursorp : optimizedImageCur, frame, nullptr);
    return level;
}
