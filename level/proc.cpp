#include "level/proc.h"

#include <cstdlib>

#include "level/level.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"

thread_local int proslie = 0;
thread_local int MoveX = 0;
thread_local int MoveY = 0;
thread_local int plmc = 0;
thread_local int ispada = 0;
thread_local int pomera = 0;
thread_local int fallstep = 0;
thread_local int par[PAR_SIZE];
thread_local int cnp = 0;
thread_local int LEVEL_TIMER = 0;
thread_local int probo = 0;
thread_local int CaptionGone = 0;
thread_local int LevelSearching = 0;
SDL_Surface* prosliscr = nullptr;

void DarkenScreen(SDL_Surface* frame)
{
    DrawDarkened(frame, &prosliscr);
}

void FreeBackdrop()
{
    ReleaseSurface(&prosliscr);
}

static void DropGrab(int mx, int my)
{
    MovingElement = 0;
    ispada = 0;
    proslie = 0;
    Cursor.x = static_cast<Sint16>(mx);
    Cursor.y = static_cast<Sint16>(my);
}

// Pressing the button with the cursor over a movable element grabs it. The test
// runs anew every frame the button is held; since the cursor sits on the dragged
// element's centre, the same element is found again. A tile under the cursor
// (such as an edge shared with the element) refuses the grab.
// GrabTarget is the test alone: the record this frame's press grabs, 0 for none.
static int GrabTarget(int button)
{
    if (button != 1 || ispada != 0 || plmc != 0)
        return 0;
    int cx = Cursor.x;
    int cy = Cursor.y;
    int candidate = 0;
    bool tile = false;
    ScanAnyInBox(cx, cy, -CELL_SIZE, 0, -CELL_SIZE, 0, [&](int i) {
        const TileRecord& t = til[i];
        if (t.x <= cx && cx <= t.x + CELL_SIZE && t.y <= cy && cy <= t.y + CELL_SIZE) {
            if (t.type <= 99)
                tile = true;
            if (IsMovable(t.type) && i > candidate)
                candidate = i;
        }
        return false;  // the last element, ascending
    });
    if (tile || candidate == imeUP)
        return 0;
    return candidate;
}

static void GrabOrRelease(int button, int target, int mx, int my)
{
    if (button == 0) {
        plmc = mousec = 0;
        DropGrab(mx, my);
        return;
    }
    if (target == 0) {
        DropGrab(mx, my);
        return;
    }
    proslie = target;
    MovingElement = 1;
    CaptionGone = 1;
    mousec = 1;
    MoveX = Cursor.x / CELL_SIZE;
    MoveY = Cursor.y / CELL_SIZE;
}

// The frame clock: steps scale with the time since the last frame, in 20 ms units.
// A frame that stalled (the window was dragged, the machine was busy) counts as
// at most MAX_FRAME_STEPS units: a longer fall step could carry an element past
// a whole row, through the floor it should land on; one that reads earlier than
// the last counts as none.
constexpr int MAX_FRAME_STEPS = 5;

static void FrameSteps(int resumed)
{
    if (resumed)
        startt = 0;  // the time spent in the dialog does not count
    int d = get_delta();
    float s = static_cast<float>(d) / 20.0f;
    int steps = static_cast<int>(s);
    if (steps < 0)
        steps = 0;  // a clock that went back (wrapped) moves nothing backwards
    if (steps > MAX_FRAME_STEPS)
        steps = MAX_FRAME_STEPS;
    pomera = steps != 0 ? steps : 1;
    fallstep = 7 * steps;
    if (resumed)
        pomera = fallstep = 0;
}

static void CountElements()
{
    for (int k = 1; k <= cnp; k++)
        par[k] = 0;
    cnp = 0;
    par[0] = 0;
    ScanNonFixed([](int j) {
        int t = til[j].type;
        int plain = 0;
        if (t > STUCK_FIRST - 1 && t != EL_BLOCK + STUCK_OFFSET && t != EL_BLOCK + PAD_OFFSET)
            plain = t <= STUCK_LAST ? t - STUCK_OFFSET : t - PAD_OFFSET;
        else if (t >= EL_FIRST && t <= EL_LAST_MATCHABLE)
            plain = t;
        // ukupnot is at most 240, so par always has room.
        if (plain != 0 && cnp + 1 < PAR_SIZE)
            par[++cnp] = plain;
        return false;
    });
}

// A level fails once an element can no longer find a partner: one left alone,
// or a code that occurs exactly once. Judged only while nothing is animating, so
// a pair in the middle of vanishing is never taken for a singleton.
static int HasSingleton()
{
    if (cnp == 1)
        return 1;
    // par[0] is 0 and every code counted is above it: sorting from 1 leaves the
    // same order, and the span the sort counts over starts at the least code.
    quicksort(1, cnp);
    for (int k = 1; k <= cnp; k++) {
        bool samePrev = k > 1 && par[k - 1] == par[k];
        bool sameNext = k < cnp && par[k + 1] == par[k];
        if (!samePrev && !sameNext)
            return 1;
    }
    return 0;
}

static void ShowFailed(SDL_Surface* frame)
{
    PlayEffect(&mretr);
    if (frame) {
        DarkenScreen(frame);
        FreeBackdrop();
        apply_clip(LEVEL_FAILED_AT.x, LEVEL_FAILED_AT.y, failed, frame, nullptr);
        ShowFrame(frame);
    }
    ClockDelay(2000);
}

// The dragged element follows the mouse one cell per frame along its row while
// it stands on something and the way is free. It can be pushed into a teleport
// entrance or a spike pit, but into nothing else.
static void DragStep(int mx, int my)
{
    int p = proslie;
    int dir = mx > MoveX * CELL_SIZE + CELL_SIZE ? 1 : mx < MoveX * CELL_SIZE ? -1 : 0;
    if (!HeldUp(p)) {
        ispada = 1;
        MovingElement = 0;
        MoveX = 0;
        proslie = 0;
        Cursor.x = static_cast<Sint16>(mx);
        Cursor.y = static_cast<Sint16>(my);
        return;
    }
    bool leftFree = true;
    bool rightFree = true;
    int rowY = MoveY * CELL_SIZE;
    int colX = MoveX * CELL_SIZE;
    ScanAnyInBox(colX, rowY, -CELL_SIZE, CELL_SIZE, -(CELL_SIZE - 1), CELL_SIZE - 1, [&](int j) {
        if (j == p || abs(til[j].y - rowY) >= CELL_SIZE)
            return false;
        if (til[j].type == EL_TELE_IN || til[j].type == EL_SPIKES)
            return false;
        if (colX - CELL_SIZE <= til[j].x && til[j].x <= colX)
            leftFree = false;
        if (colX <= til[j].x && til[j].x <= colX + CELL_SIZE)
            rightFree = false;
        return false;
    });
    Cursor.y = static_cast<Sint16>(til[p].y + 20);
    bool moves = ((dir == 1 && rightFree) || (dir == -1 && leftFree)) && til[p].y % CELL_SIZE == 0;
    if (!moves) {
        Cursor.x = static_cast<Sint16>(til[p].x + 20);
        return;
    }
    if (!LevelSearching)
        UndoNoteSlide();
    MoveX += dir;
    PlayEffect(&mslid);
    Cursor.x = static_cast<Sint16>(MoveX * CELL_SIZE + 20);
    if (IsOnPad(til[p].type))
        LeavePad(p);
    ScanMoved(p);
    til[p].x = MoveX * CELL_SIZE;
    if (HeldUp(p))
        ccf(til[p], p);
}

static int LevelLogic(SDL_Surface* frame, int buttons, int mx, int my, int dialogLevel)
{
    // The opening story and a chapter picture hold the board still.
    if (cntintr >= 1 && cntintr <= 5)
        return 0;
    int chapter = ChapterIndexOf(level_no);
    if (cntgh == 0 && OpensChapter(level_no))
        cntgh = chapter + 1;
    if (cntgh == chapter + 1)
        return 0;

    if (dialogLevel != 0)
        plmc = 1;
    if (LEVEL_TIMER == 0)
        LEVEL_TIMER = gett;
    int target = GrabTarget(buttons);
    // A search plays its boards on its own thread: the player's moves are not its.
    if (!LevelSearching)
        UndoFrameStart(target != 0);
    GrabOrRelease(buttons, target, mx, my);
    FrameSteps(dialogLevel != 0);
    CountElements();

    if (cnp != 0 && end_level == 0 && raspad == 0 && spiked == 0 && telex == 0 && part == 0 && HasSingleton()) {
        ShowFailed(frame);
        return SCREEN_RETRY;
    }
    // A board a spike kill emptied is lost, never won: the kill's failure comes
    // once its animation has ended, as when elements are left.
    if (cnp == 0) {
        if (probo == 1 && spiked == 0 && movsp == 0) {
            probo = 0;
            return SCREEN_RETRY;
        }
        return 0;
    }

    // A tile, or a fixed code no rule acts on, has a step that only ends the
    // level once a spiked element is gone (probo), and that can only hold at the
    // frame's first record: every step that acts checks it too, and only a spike
    // pit sets it, together with spiked. So the first record and then those the
    // index lists as acting (ScanActors, ascending) are all that need a step.
    if (ukupnot >= 1 && ObjectStep(1) == SCREEN_RETRY)
        return SCREEN_RETRY;
    for (int k = 0; k < ScanActorCount; k++)
        if (int i = ScanActors[k]; i > 1 && ObjectStep(i) == SCREEN_RETRY)
            return SCREEN_RETRY;
    if (MovingElement == 1)
        DragStep(mx, ToviMouseY);
    return 0;
}

int ProcLevel(SDL_Surface* frame, int buttons, int mx, int my, int, int, int, int dialogLevel)
{
    ScanIndexBuild();
    int r = LevelLogic(frame, buttons, mx, my, dialogLevel);
    ScanIndexDrop();
    return r;
}
