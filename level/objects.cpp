#include "level/objects.h"

#include <cstdlib>

#include "level/level.h"
#include "shell/media.h"
#include "shell/screen.h"

thread_local int imeUP = 0;
thread_local int taster_pritisnut = 0;
thread_local int prekameni = 0;
thread_local int kameni = 0;
thread_local int raspad = 0;
thread_local int raspadx = 0;
thread_local int raspady = 0;
thread_local int spiked = 0;
thread_local int spikex = 0;
thread_local int spikey = 0;
thread_local int spikeds[SPIKEDS_SIZE];
thread_local int spikedsi = 0;
thread_local int MicIndex = 0;

static void PlayLanding(int code)
{
    switch (code) {
    case EL_HELM:
        PlayEffect(&mhelm);
        break;
    case EL_RING:
        PlayEffect(&mring);
        break;
    case EL_COIN:
        PlayEffect(&mcoin);
        break;
    case EL_CUP:
        PlayEffect(&mcup);
        break;
    default:
        PlayEffect(&mmisce);
        break;
    }
}

static void Remove(int i)
{
    ScanMoved(i);
    til[i] = TileRecord{0, 0, 0, 0};
}

// An element with nothing under it falls by the frame's fall step and stops
// exactly on the next row boundary it crosses; one that reaches a vertical
// platform sits on it at once.
static void Fall(int i)
{
    if (HeldUp(i))
        return;
    if (i == proslie)
        MovingElement = 0;
    TileRecord& e = til[i];
    ScanMoved(i);
    int y = e.y;
    if (y / CELL_SIZE < (y + fallstep) / CELL_SIZE) {
        e.y = ((y + fallstep) / CELL_SIZE) * CELL_SIZE;
        if (HeldUp(i)) {
            PlayLanding(e.type);
            ccf(e, i);
        }
    } else {
        e.y = y + fallstep;
    }
    if (e.type == 0)
        return;  // it matched on landing
    int lift = 0;
    ScanVerticalLifts([&](int j) {
        if (j != i && til[j].type == EL_LIFT_V && til[j].x == e.x && e.y <= til[j].y && til[j].y <= e.y + CELL_SIZE)
            lift = j;
        return false;  // the last one found
    });
    if (lift != 0) {
        e.y = til[lift].y - CELL_SIZE;
        PlayLanding(e.type);
        ccf(e, i);
    }
}

// The rider of a platform: the last movable record resting exactly on it (less
// than a cell to either side, its top edge a cell above the platform's).
static int FindRider(int platform)
{
    const TileRecord p = til[platform];  // a copy: the scan changes nothing
    return ScanLastNonFixedInBox(p.x - (CELL_SIZE - 1), p.x + CELL_SIZE - 1, p.y - CELL_SIZE, p.y - CELL_SIZE,
                                 [&](int j) { return j != platform && IsExistUp(p, til[j]) && IsMovable(til[j].type); });
}

static void CollectStack(int rider)
{
    iznad[0] = rider;
    uiznad = 0;
    provgore(rider);
}

// Carries the rider and its column sideways with the platform. An element of the
// column that touches something on the side the platform moves to stays behind.
// A match inside the column (the rider counts as entry 0) ends it there: what
// stood above the removed element falls by itself, and the removed record stays
// where removed records lie.
static void CarrySideways(int platform, int stayMark)
{
    int x = til[platform].x;
    for (int k = 0; k <= uiznad; k++) {
        int j = iznad[k];
        if (til[j].type == 0)
            return;
        bool stays = k > 0 && (gimasu[k] == j + stayMark || gimasu[k] == j + STAY_BOTH);
        if (!stays) {
            ScanMoved(j);
            til[j].x = x;
        }
    }
}

// Stacks the rider and its column on top of a vertical platform.
static void CarryVertically(int platform)
{
    int y = til[platform].y;
    for (int k = 0; k <= uiznad; k++) {
        int j = iznad[k];
        if (til[j].type == 0)
            return;
        y -= CELL_SIZE;
        ScanMoved(j);
        til[j].y = y;
    }
}

// Steps toward a boundary stop exactly on it: a platform between cells never
// overshoots the cell it is entering.
static int StepForward(int v, int step)
{
    if (v / CELL_SIZE < (v + step) / CELL_SIZE && v % CELL_SIZE != 0)
        return ((v + step) / CELL_SIZE) * CELL_SIZE;
    return v + step;
}

static int StepBack(int v, int step)
{
    if ((v - step) / CELL_SIZE < v / CELL_SIZE && v % CELL_SIZE != 0)
        return (v / CELL_SIZE) * CELL_SIZE;
    return v - step;
}

static void LiftLeft(int i);

static void LiftRight(int i)
{
    int rider = FindRider(i);
    if (Blocked(DIR_RIGHT, i, 0)) {
        til[i].state = LIFT_LEFT;
        LiftLeft(i);
        return;
    }
    bool riderBlocked = rider != 0 && Blocked(DIR_RIGHT, rider, 0);
    if (rider != 0)
        CollectStack(rider);
    ScanMoved(i);
    til[i].x = StepForward(til[i].x, pomera);
    if (rider != 0 && !riderBlocked)
        CarrySideways(i, STAY_RIGHT);
}

static void LiftLeft(int i)
{
    int rider = FindRider(i);
    if (Blocked(DIR_LEFT, i, 0)) {
        til[i].state = LIFT_RIGHT;  // takes effect from the next frame
        return;
    }
    bool riderBlocked = rider != 0 && Blocked(DIR_LEFT, rider, 0);
    if (rider != 0)
        CollectStack(rider);
    ScanMoved(i);
    til[i].x = StepBack(til[i].x, pomera);
    if (rider != 0 && !riderBlocked)
        CarrySideways(i, STAY_LEFT);
}

static void LiftUp(int i);

static void LiftDown(int i)
{
    int rider = FindRider(i);
    if (Blocked(DIR_DOWN, i, 0)) {
        til[i].state = LIFT_UP;
        LiftUp(i);
        return;
    }
    if (rider != 0)
        CollectStack(rider);
    ScanMoved(i);
    til[i].y = StepForward(til[i].y, pomera);
    if (rider != 0)
        CarryVertically(i);
}

// Going up, a platform with a rider turns back exactly when the column on it is
// capped by something that cannot be carried.
static void LiftUp(int i)
{
    int rider = FindRider(i);
    bool blocked;
    if (rider == 0) {
        blocked = Blocked(DIR_UP, i, 0);
    } else {
        tralala = 0;
        CollectStack(rider);
        blocked = tralala == 1;
    }
    if (blocked) {
        til[i].state = LIFT_DOWN;  // takes effect from the next frame
        return;
    }
    ScanMoved(i);
    til[i].y = StepBack(til[i].y, pomera);
    if (rider != 0)
        CarryVertically(i);
}

static void Mud(int i)
{
    if (!IsMovable(til[i].type))
        return;
    const TileRecord& a = til[i];
    if (ScanAnyMud([&](int j) { return j != i && WhoIsDown(a, til[j]) == EL_MUD; })) {
        til[i].type += STUCK_OFFSET;
        MovingElement = 0;
        PlayEffect(&mblato);
    }
}

static void TeleportEntrance(int i)
{
    int element = 0;
    ScanAnyInBox(til[i].x, til[i].y, 0, 0, 0, 0, [&](int j) {
        if (j > element && j != i && til[j].x == til[i].x && til[j].y == til[i].y)
            element = j;
        return false;  // the last one, ascending
    });
    if (element == 0)
        return;
    int exit = 0;
    ScanNonFixed([&](int k) {
        exit = til[k].type == EL_TELE_OUT ? k : 0;
        return exit != 0;
    });
    if (exit != 0)
        telep(element, i, exit);
}

static int SpikedsIndex(int pit)
{
    for (int k = 1; k <= spikedsi; k++)
        if (spikeds[k] == pit)
            return k;
    return 0;
}

static void SpikedsRemove(int pit)
{
    int k = SpikedsIndex(pit);
    if (k == 0)
        return;
    spikeds[k] = spikeds[spikedsi];
    spikeds[spikedsi--] = 0;
}

// A movable element in a pit while the spikes are up dies; a block survives and
// jams the pit, which then shows no spikes until the block has left.
static void SpikePit(int i)
{
    const TileRecord pit = til[i];  // a copy: the scan changes nothing
    int victim = ScanLastNonFixedInBox(pit.x, pit.x, pit.y, pit.y, [&](int j) {
        return j != i && IsMovable(til[j].type) && til[j].x == pit.x && til[j].y == pit.y;
    });
    if (victim == 0) {
        SpikedsRemove(i);
        return;
    }
    if (MicIndex < 5 || MicIndex > 13)
        return;
    if (til[victim].type == EL_BLOCK) {
        if (SpikedsIndex(i) == 0 && spikedsi + 1 < SPIKEDS_SIZE)
            spikeds[++spikedsi] = i;
        return;
    }
    PlayEffect(&mspike);
    spiked = 1;
    spikex = til[victim].x;
    spikey = til[victim].y;
    Remove(victim);
    probo = 1;
    SpikedsRemove(i);
}

// Whether a movable record stands on record i: in its column, its top edge at
// most a cell above i's (WhoIsUp), so among the others in that box.
static int LoadedFromAbove(int i)
{
    const TileRecord a = til[i];  // a copy: the scan changes nothing
    auto test = [&](int j) { return j != i && IsMovable(til[j].type) && WhoIsUp(a, til[j]) != 0; };
    bool loaded = ScanIndexOn ? ScanOthersInBox(a.x, a.x, a.y - CELL_SIZE, a.y, test) : ScanEvery(test);
    return loaded ? 1 : 0;
}

// A crumbling block carries one visit and breaks under the second. Only one
// block at a time can be on its way to breaking.
static void Crumble(int i)
{
    if (LoadedFromAbove(i)) {
        if (prekameni == 0)
            prekameni = i;
        if (kameni == i) {
            raspad = 1;
            raspadx = til[i].x;
            raspady = til[i].y;
            Remove(i);
            kameni = prekameni = 0;
        }
    } else if (prekameni == i) {
        kameni = i;
    }
}

static void MagnetButton(int i)
{
    if (LoadedFromAbove(i)) {
        if (taster_pritisnut == 0)
            PlayEffect(&mmbtn);
        taster_pritisnut = 1;
    } else {
        if (taster_pritisnut == 1)
            PlayEffect(&mmoff);
        taster_pritisnut = 0;
        imeUP = 0;  // the held element falls
    }
}

// While a button is pressed the magnet pulls the first movable element below it
// in its column up, one cell every two frames, until it hangs under the magnet.
static void Magnet(int i)
{
    if (taster_pritisnut != 1)
        return;
    PlayEffect(&mmact);
    int target = 0;
    ScanNonFixed([&](int j) {
        const TileRecord& t = til[j];
        if (j != i && t.y >= til[i].y + CELL_SIZE && t.x == til[i].x && t.type >= 101 && t.type <= 245 &&
            IsMovable(t.type) && (imeUP == 0 || imeUP == j))
            target = j;
        return target != 0;  // the first one found
    });
    imeUP = target;
    if (target == 0)
        return;
    for (int j = 1; j <= ukupnot; j++)
        if (j != i && j != target && til[i].y + CELL_SIZE < til[j].y && til[j].y + CELL_SIZE <= til[target].y &&
            abs(til[j].x - til[i].x) < 39)
            return;
    TileRecord& t = til[target];
    if (IsOnPad(t.type))
        LeavePad(target);
    ScanMoved(target);
    if (til[i].y + CELL_SIZE < t.y) {
        int y = t.y;
        if (y / CELL_SIZE >= (y + pomera) / CELL_SIZE || y % CELL_SIZE == 0)
            t.y = y - pomera;
        else
            t.y = ((y - pomera) / CELL_SIZE) * CELL_SIZE;
    } else {
        PlayEffect(&mmon);
        t.y = til[i].y + CELL_SIZE;
    }
}

// The steps of a record some rule acts on. Kept out of line: the many inert
// records need not set up its frame.
[[gnu::noinline]] static int ActiveStep(int i)
{
    int t = til[i].type;
    if (t >= EL_FIRST && t <= EL_BLOCK && i != imeUP)
        Fall(i);
    if (til[i].type == EL_LIFT_H) {
        if (til[i].state == LIFT_RIGHT)
            LiftRight(i);
        else if (til[i].state == LIFT_LEFT)
            LiftLeft(i);
    }
    if (til[i].type == EL_LIFT_V) {
        if (til[i].state == LIFT_DOWN)
            LiftDown(i);
        else if (til[i].state == LIFT_UP)
            LiftUp(i);
    }
    Mud(i);
    if (til[i].type == EL_TELE_IN)
        TeleportEntrance(i);
    if (til[i].type == EL_SPIKES)
        SpikePit(i);
    if (probo == 1 && spiked == 0 && movsp == 0) {
        probo = 0;
        return SCREEN_RETRY;
    }
    if (til[i].type == EL_CRUMBLE)
        Crumble(i);
    if (til[i].type == EL_BUTTON)
        MagnetButton(i);
    if (til[i].type == EL_MAGNET)
        Magnet(i);
    return 0;
}

int ObjectStep(int i)
{
    int t = til[i].type;
    if ((t >= EL_FIRST && t <= EL_SPIKES) || IsOnPad(t)) {
        int r = ActiveStep(i);
        ScanCatchUp();  // what the step moved goes back in the buckets
        return r;
    }
    // Tiles, removed records and the codes no rule acts on: of the object steps
    // only the check for a spiked element applies to them.
    if (probo == 1 && spiked == 0 && movsp == 0) {
        probo = 0;
        return SCREEN_RETRY;
    }
    return 0;
}
