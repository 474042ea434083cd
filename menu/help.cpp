#include "menu/help.h"

#include <cstdio>

#include "menu/menu.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "video/video.h"

int backi = 0;
SDL_Surface* hbackg[HELP_PAGES + 1] = {};
SDL_Surface* hpb = nullptr;
SDL_Surface* hpbh = nullptr;
SDL_Surface* hleft = nullptr;
SDL_Surface* hlefth = nullptr;
SDL_Surface* hright = nullptr;
SDL_Surface* hrighth = nullptr;
SDL_Surface* hback = nullptr;
SDL_Surface* hbackh = nullptr;

// The four slots of a page, in the order of their video numbers: slot s of page
// p shows video 4p - 3 + s, which is "help<4p - 4 + s>.ogg". Page 1's first slot
// holds the page's introduction and has no video. Each slot's play button is
// drawn at HELP_PLAY_AT and its video at HELP_VIDEO_AT.
struct HelpSlot {
    int left, top, right, bottom;  // hot area, open on the left and top
};
constexpr int HELP_SLOTS = 4;
static const HelpSlot Slots[HELP_SLOTS] = {
    {95, 90, 374, 235},    // top left
    {430, 90, 709, 235},   // top right
    {95, 344, 374, 489},   // bottom left
    {430, 344, 709, 489},  // bottom right
};

static bool HasVideo(int page, int slot)
{
    return !(page == 1 && slot == 0);
}

// Draws the play buttons, the one under the pointer lit, and returns the slot
// whose button was clicked, or -1.
static int PlayButtons(SDL_Surface* frame, int x, int y, int button)
{
    int clicked = -1;
    for (int s = 0; s < HELP_SLOTS; s++) {
        if (!HasVideo(backi, s))
            continue;
        const HelpSlot& slot = Slots[s];
        bool over = InBox(x, y, slot.left, slot.top, slot.right, slot.bottom);
        apply_clip(HELP_PLAY_AT[s].x, HELP_PLAY_AT[s].y, over ? hpbh : hpb, frame, nullptr);
        if (over && button != 0 && mousechk == 0) {
            mousechk = 1;
            clicked = s;
        }
    }
    // A click on page 1's first slot is taken by the latch and does nothing.
    if (backi == 1 && InBox(x, y, Slots[0].left, Slots[0].top, Slots[0].right, Slots[0].bottom) && button != 0 &&
        mousechk == 0)
        mousechk = 1;
    return clicked;
}

static void PlaySlot(SDL_Surface* frame, int slot)
{
    int video = 4 * backi - 4 + slot;  // 1..11
    if (video < 1 || video > HELP_VIDEOS)
        return;
    char path[64];
    snprintf(path, sizeof path, "media/video/help%d.ogg", video);
    // The page with its lit button stays on the screen around the video.
    ShowFrame(frame);
    LoadPlayV(path, HELP_VIDEO_AT[slot].x, HELP_VIDEO_AT[slot].y);
}

// The arrows: next (or, on the last page, back to the menu) and previous.
// Returns 1 when help closed.
static int PageButtons(SDL_Surface* frame, int x, int y, int button)
{
    bool last = backi >= HELP_PAGES;
    const SDL_Rect right = {HELP_PAGE_RIGHT_AT.x, HELP_PAGE_RIGHT_AT.y, HELP_PAGE_SIZE.w, HELP_PAGE_SIZE.h};
    const SDL_Rect left = {0, 0, HELP_PAGE_SIZE.w, HELP_PAGE_SIZE.h};
    if (InRect(right, x, y)) {
        apply_clip(right.x, right.y, last ? hbackh : hrighth, frame, nullptr);
        if (button != 0 && mousechk == 0) {
            mousechk = 1;
            PlayEffect(&mdbtn);
            if (!last) {
                backi += 1;
            } else {
                backi = 0;
                renddh = 0;
                level_no = SCREEN_MENU;
                return 1;
            }
        }
    } else {
        apply_clip(right.x, right.y, last ? hback : hright, frame, nullptr);
    }
    if (backi > 1) {
        if (InRect(left, x, y)) {
            apply_clip(0, 0, hlefth, frame, nullptr);
            if (button != 0 && mousechk == 0) {
                mousechk = 1;
                PlayEffect(&mdbtn);
                backi -= 1;
            }
        } else {
            apply_clip(0, 0, hleft, frame, nullptr);
        }
    }
    return 0;
}

// Escape closes help from any page.
static void CloseHelp()
{
    PlayEffect(&mdbtn);
    backi = 0;
    renddh = 0;
    level_no = SCREEN_MENU;
}

void RenderHelp(int x, int y, int button, int key, SDL_Surface* frame)
{
    if (IsKeyPress(key)) {
        if (IsBackKey(key))
            CloseHelp();
        return;
    }
    if (renddh == 0) {
        WarpPointer(400, 300);
        renddh = 1;
    }
    if (button == 0)
        mousechk = 0;
    if (backi < 1 || backi > HELP_PAGES)
        backi = 1;
    apply_clip(0, 0, hbackg[backi], frame, nullptr);

    int slot = PlayButtons(frame, x, y, button);
    if (slot >= 0) {
        PlaySlot(frame, slot);
        return;
    }
    if (PageButtons(frame, x, y, button))
        return;
    apply_clip(x, y, button != 0 ? optimizedImageCursorp : optimizedImageCur, frame, nullptr);
}
