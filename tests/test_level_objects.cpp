// Mud, teleport, spike pits, crumbling blocks and the magnet, played on boards
// drawn as text.
#include <gtest/gtest.h>

#include <vector>

#include "tests/scenario.h"

using namespace scenario;

static bool IsJammed(int pit)
{
    for (int k = 1; k <= spikedsi && k < SPIKEDS_SIZE; k++)
        if (spikeds[k] == pit)
            return true;
    return false;
}

static bool SpikesUp(int mic)
{
    return mic >= 5 && mic <= 13;
}

// ---- mud -------------------------------------------------------------------------

// Slid onto the cell above mud, an element sticks there in the next frame's
// object loop; that ends the drag, and a stuck element cannot be grabbed again.
TEST(LevelMud, ElementDraggedOverMudSticksInTheNextFrameAndTheDragEnds)
{
    LoadBoard({
        "...g...........g....",  // row 10
        "####M###############",
    });
    int el = RecordAt(3, 10);
    Grab(3, 10);
    HoldAt(8, 10, 1);
    EXPECT_EQ(Rec(el).x, 160);
    EXPECT_EQ(Rec(el).type, 107) << "it sticks only in the next frame";
    EXPECT_EQ(MovingElement, 1);
    HoldAt(8, 10, 1);
    EXPECT_EQ(Rec(el).type, 107 + STUCK_OFFSET);
    EXPECT_EQ(MovingElement, 0);
    EXPECT_EQ(Rec(el).x, 160);
    EXPECT_EQ(Heard(&mblato), 1);
    HoldAt(8, 10, 10);
    EXPECT_EQ(Rec(el).x, 160) << "a stuck element does not slide";
    EXPECT_EQ(Heard(&mblato), 1) << "it sticks once";
    Release();
    Grab(4, 10);
    EXPECT_EQ(MovingElement, 0) << "a stuck element cannot be grabbed";
    EXPECT_EQ(proslie, 0);
}

// A stuck element still counts as its plain code, so it saves its partner from
// being a singleton, and it still matches.
TEST(LevelMud, StuckElementStillCountsAndMatches)
{
    LoadBoard({
        "....c...............",  // row 8
        "....................",
        "........c...........",  // row 10
        "####M###############",
    });
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(CountType(103 + STUCK_OFFSET), 1);
    EXPECT_EQ(Rec(RecordAt(4, 10)).type, 203);
    EXPECT_EQ(cnp, 2);
    EXPECT_EQ(Heard(&mhelm), 1) << "it landed on the mud";
    EXPECT_EQ(Heard(&mblato), 1);

    Grab(8, 10);
    HoldAt(5, 10, 5);
    EXPECT_EQ(poen, 90);
    EXPECT_EQ(CountType(203), 0);
    EXPECT_EQ(CountType(103), 0);
}

// A block stuck in mud is no more counted than a free one: no singleton.
TEST(LevelMud, StuckBlockIsNotCounted)
{
    LoadBoard({
        "....B...............",  // row 8
        "....................",
        "........a...a.......",  // row 10
        "####M###############",
    });
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(CountType(EL_BLOCK + STUCK_OFFSET), 1);
    EXPECT_EQ(cnp, 2);
}

// ---- teleport --------------------------------------------------------------------

// An element pushed into the entrance goes through in the next frame and stands on
// the exit pad, which keeps its place; slid off the pad, it leaves the pad behind.
TEST(LevelTeleport, ElementPushedInReappearsOnThePadAndLeavesItBehind)
{
    LoadBoard({
        "....aT......O....a..",  // row 10
        "####################",
    });
    int el = RecordAt(4, 10), entrance = RecordAt(5, 10), pad = RecordAt(12, 10);
    Grab(4, 10);
    HoldAt(5, 10, 1);
    EXPECT_EQ(Rec(el).x, 200) << "an entrance does not stop a slide";
    EXPECT_EQ(Rec(el).type, 101);
    HoldAt(5, 10, 1);
    EXPECT_EQ(Rec(pad).type, 101 + PAD_OFFSET);
    EXPECT_EQ(Rec(pad).x, PixX(12));
    EXPECT_EQ(Rec(pad).y, PixY(10));
    EXPECT_EQ(Rec(el).type, 0);
    EXPECT_EQ(Rec(el).x, 0);
    EXPECT_EQ(Rec(el).y, 0);
    EXPECT_EQ(MovingElement, 0) << "the teleport ends the drag";
    EXPECT_EQ(telex, 10);
    EXPECT_EQ(telexi, entrance);
    EXPECT_EQ(telexo, pad);
    EXPECT_EQ(bio126, el);
    EXPECT_EQ(Heard(&Telep), 1);
    Release();
    EXPECT_EQ(Idle(20), SIM_GOING);
    EXPECT_EQ(Rec(pad).type, 226);
    EXPECT_EQ(Heard(&Telep), 1);
    EXPECT_EQ(cnp, 2) << "an element on the pad counts";

    ForgetSounds();
    Grab(12, 10);
    EXPECT_EQ(MovingElement, 1) << "an element on the pad can be grabbed";
    HoldAt(10, 10, 3);
    EXPECT_EQ(Rec(pad).type, 101) << "off the pad it is a plain element again";
    EXPECT_EQ(Rec(pad).x, PixX(10));
    EXPECT_EQ(Rec(el).type, EL_TELE_OUT) << "the freed record is the pad again";
    EXPECT_EQ(Rec(el).x, PixX(12));
    EXPECT_EQ(Rec(el).y, PixY(10));
    EXPECT_EQ(CountType(EL_TELE_OUT), 1);
    EXPECT_EQ(CountType(226), 0);
    EXPECT_EQ(Heard(&mslid), 2);
}

TEST(LevelTeleport, ElementOnThePadDoesNotFall)
{
    LoadBoard({
        "............O.......",  // row 5: a pad in mid-air
        "....................",
        "....................",
        "....................",
        "....................",
        "....aT...........a..",  // row 10
        "####################",
    });
    int pad = RecordAt(12, 5);
    Grab(4, 10);
    HoldAt(5, 10, 2);
    Release();
    ASSERT_EQ(Rec(pad).type, 226);
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(Rec(pad).y, PixY(5));
    EXPECT_EQ(Rec(pad).type, 226);
}

// The teleport animation takes 10 steps of more than 50 ms. Its step timer is not
// reset when it ends, so a later teleport in the same level takes its first step
// at once.
TEST(LevelTeleport, AnimationCountsDownTenStepsOfThreeFrames)
{
    LoadBoard({
        "..b.aT......O...ab..",  // row 10
        "####################",
    });
    Grab(4, 10);
    HoldAt(5, 10, 2);
    ASSERT_EQ(telex, 10);
    int teleported = FramesPlayed();
    while (telex != 0 && FramesPlayed() - teleported < 100) {
        int before = telex;
        Idle(1);
        ASSERT_GE(telex, before - 1);
    }
    EXPECT_EQ(FramesPlayed() - teleported, 30);

    // Off the pad with the first element, then the second one through.
    Grab(12, 10);
    HoldAt(11, 10, 2);
    Release();
    Grab(2, 10);
    HoldAt(5, 10, 4);
    ASSERT_EQ(Rec(RecordAt(12, 10)).type, 102 + PAD_OFFSET);
    EXPECT_EQ(telex, 9) << "the second teleport takes its first step in its own frame";
    teleported = FramesPlayed();
    while (telex != 0 && FramesPlayed() - teleported < 100)
        Idle(1);
    EXPECT_EQ(FramesPlayed() - teleported, 27);
}

// An entrance holds up what stands on it: only an element pushed in from the side
// goes through.
TEST(LevelTeleport, ElementStandingOnTheEntranceStaysPut)
{
    LoadBoard({
        ".....a..............",  // row 9
        ".....T......O....a..",  // row 10
        "####################",
    });
    int el = RecordAt(5, 9), pad = RecordAt(12, 10);
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(Rec(el).type, 101);
    EXPECT_EQ(Rec(el).y, 360);
    EXPECT_EQ(Rec(pad).type, EL_TELE_OUT);
    EXPECT_EQ(Heard(&Telep), 0);
}

// ---- spike pits ------------------------------------------------------------------

// A block pushed into a pit survives every spike cycle and jams the pit; once it
// is slid out the pit works again.
TEST(LevelSpikes, BlockSurvivesAndJamsThePit)
{
    LoadBoard({
        "....BS....a...a.....",  // row 10
        "####################",
    });
    int block = RecordAt(4, 10), pit = RecordAt(5, 10);
    Grab(4, 10);
    HoldAt(5, 10, 1);
    EXPECT_EQ(Rec(block).x, 200) << "a spike pit does not stop a slide";
    Release();
    bool sawSpikesUp = false;
    for (int n = 0; n < 200; n++) {
        sawSpikesUp = sawSpikesUp || SpikesUp(MicIndex);
        ASSERT_EQ(Idle(1), SIM_GOING);
        ASSERT_EQ(Rec(block).type, EL_BLOCK);
        ASSERT_EQ(Rec(block).x, 200);
        ASSERT_EQ(Rec(block).y, 400);
        ASSERT_EQ(spiked, 0);
        ASSERT_EQ(probo, 0);
    }
    EXPECT_TRUE(sawSpikesUp);
    EXPECT_TRUE(IsJammed(pit));
    EXPECT_EQ(Heard(&mspike), 0);

    Grab(5, 10);
    HoldAt(6, 10, 1);
    EXPECT_EQ(Rec(block).x, 240);
    Idle(1);
    EXPECT_FALSE(IsJammed(pit)) << "the block has left the pit";
}

// Spike pits hold nothing up: an element above one falls into it.
TEST(LevelSpikes, ElementAboveAPitFallsIntoIt)
{
    LoadBoard({
        ".....a..............",  // row 9
        ".....S....a...a.....",  // row 10
        "####################",
    });
    int el = RecordAt(5, 9);
    Idle(10);
    EXPECT_EQ(Rec(el).type, 101);
    EXPECT_EQ(Rec(el).x, 200);
    EXPECT_EQ(Rec(el).y, 400) << "it rests in the pit, on the tile below it";
}

// Idles until the spike frame has just turned to mic.
static void WaitForSpikeFrame(int mic)
{
    for (int n = 0; n < 200 && MicIndex != mic; n++)
        ASSERT_EQ(Idle(1), SIM_GOING);
    ASSERT_EQ(MicIndex, mic);
}

// Pushes the element at (4, 10) into the pit at (5, 10), then plays until the
// level leaves play. Returns the frames of the push, the kill and the end; checks
// on the way that the element lives while the spikes are down and dies in the
// first frame they are up.
static void PlayIntoThePit(int* pushFrame, int* killFrame, int* endFrame, SimResult* end)
{
    int el = RecordAt(4, 10);
    Grab(4, 10);
    HoldAt(5, 10, 1);
    ASSERT_EQ(Rec(el).x, 200);
    *pushFrame = FramesPlayed();
    *killFrame = *endFrame = 0;
    int spikedBefore = -1;
    SimResult r = SIM_GOING;
    while (r == SIM_GOING && FramesPlayed() < 500) {
        int mic = MicIndex;
        spikedBefore = spiked;
        bool alive = Rec(el).type == 101;
        r = Idle(1);
        if (alive && Rec(el).type == 101) {
            ASSERT_FALSE(SpikesUp(mic)) << "alive in the pit with the spikes up (MicIndex " << mic << ")";
        } else if (alive) {
            *killFrame = FramesPlayed();
            EXPECT_TRUE(SpikesUp(mic)) << "died with MicIndex " << mic;
            EXPECT_EQ(spiked, 1);
            EXPECT_EQ(spikex, 200);
            EXPECT_EQ(spikey, 400);
            EXPECT_EQ(probo, 1);
            EXPECT_EQ(Rec(el).type, 0);
            EXPECT_EQ(Rec(el).x, 0);
            EXPECT_EQ(Rec(el).y, 0);
            EXPECT_EQ(Heard(&mspike), 1);
        }
    }
    ASSERT_NE(*killFrame, 0) << "the element never died";
    *endFrame = FramesPlayed();
    *end = r;
    EXPECT_EQ(spikedBefore, 0) << "the level left play while the kill was still shown";
}

// An element in a pit dies in the first frame the spikes are up; the level fails
// once the 34-step kill animation (steps of more than 50 ms) has run out.
TEST(LevelSpikes, ElementDiesWhenTheSpikesRiseAndTheLevelFailsAfterTheAnimation)
{
    LoadBoard({
        "....aS....a...a.....",  // row 10: the victim still leaves a pair
        "####################",
    });
    int pushFrame = 0, killFrame = 0, endFrame = 0;
    SimResult end = SIM_GOING;
    PlayIntoThePit(&pushFrame, &killFrame, &endFrame, &end);
    EXPECT_EQ(end, SIM_FAILED);
    EXPECT_EQ(endFrame - killFrame, 103) << "34 steps of 3 frames, then the next frame fails";
    EXPECT_EQ(Heard(&mretr), 0) << "a spike kill fails without the failed screen";
    EXPECT_EQ(Heard(&mspike), 1);
}

// A kill that leaves its partner alone: the partner is a singleton, but only once
// the kill animation is over does the board count as quiet.
TEST(LevelSpikes, KillThatLeavesASingletonFailsAfterTheAnimationWithTheFailedScreen)
{
    LoadBoard({
        "....aS....a.........",  // row 10
        "####################",
    });
    int pushFrame = 0, killFrame = 0, endFrame = 0;
    SimResult end = SIM_GOING;
    PlayIntoThePit(&pushFrame, &killFrame, &endFrame, &end);
    EXPECT_EQ(end, SIM_FAILED);
    EXPECT_EQ(endFrame - killFrame, 103);
    EXPECT_EQ(Heard(&mretr), 1);
}

// The spikes are up from frame 5 through frame 13 of their cycle: an element
// pushed in while frame 13 shows dies at once, one pushed in when frame 14 has
// come lives through the whole down phase.
TEST(LevelSpikes, SpikesAreUpThroughFrame13AndDownFromFrame14)
{
    const std::vector<std::string> board = {
        "....aS....a...a.....",  // row 10
        "####################",
    };
    LoadBoard(board);
    WaitForSpikeFrame(13);
    int pushFrame = 0, killFrame = 0, endFrame = 0;
    SimResult end = SIM_GOING;
    PlayIntoThePit(&pushFrame, &killFrame, &endFrame, &end);
    EXPECT_EQ(killFrame, pushFrame + 1);

    LoadBoard(board);
    WaitForSpikeFrame(14);
    PlayIntoThePit(&pushFrame, &killFrame, &endFrame, &end);
    EXPECT_GT(killFrame - pushFrame, 6 * 7) << "frames 14 to 17 and 1 to 4 are at least 8 steps of 120 ms";
}

// The spike cycle steps once more than 100 ms have passed, so every 6 frames of
// 20 ms, through frames 1 to 17 and round again; it stops with the board clear.
TEST(LevelSpikes, SpikeFramesStepEvery120MsAndWrapAfter17)
{
    LoadBoard({
        ".....S..............",  // row 9: a pit on a ledge
        "..a.a#..............",  // row 10
        "####################",
    });
    std::vector<int> mics;
    for (int n = 0; n < 240; n++) {
        Idle(1);
        mics.push_back(MicIndex);
    }
    std::vector<int> values, lengths;
    for (size_t n = 0; n < mics.size();) {
        size_t m = n;
        while (m < mics.size() && mics[m] == mics[n])
            m++;
        values.push_back(mics[n]);
        lengths.push_back(static_cast<int>(m - n));
        n = m;
    }
    ASSERT_GE(values.size(), 20u);
    EXPECT_EQ(values[0], 0);
    for (size_t k = 1; k < values.size(); k++) {
        EXPECT_EQ(values[k], values[k - 1] == 17 ? 1 : values[k - 1] + 1) << "step " << k;
        if (k + 1 < values.size()) {
            EXPECT_EQ(lengths[k], 6) << "frame " << values[k];
        }
    }

    Grab(2, 10);
    HoldAt(3, 10, 1);
    ASSERT_EQ(poen, 90);
    Release();
    int frozen = MicIndex;
    Idle(30);
    EXPECT_EQ(MicIndex, frozen) << "the spikes stop once the board is clear";
}

// ---- crumbling blocks --------------------------------------------------------------

static const std::vector<std::string> crumbleBoard = {
    ".....a.......a......",  // row 9
    "#####C##############",  // row 10
    "####################",
};

TEST(LevelCrumble, NeverBreaksUnderAnElementThatStaysOnIt)
{
    LoadBoard(crumbleBoard);
    int block = RecordAt(5, 10);
    EXPECT_EQ(Idle(150), SIM_GOING);
    EXPECT_EQ(Rec(block).type, EL_CRUMBLE);
    EXPECT_EQ(raspad, 0);
    EXPECT_EQ(prekameni, block);
    EXPECT_EQ(kameni, 0);
}

// A crumbling block carries one visit and breaks under the second; what stood on
// it falls through.
TEST(LevelCrumble, BreaksUnderTheSecondVisit)
{
    LoadBoard(crumbleBoard);
    int block = RecordAt(5, 10), el = RecordAt(5, 9);
    Idle(3);
    Grab(5, 9);
    HoldAt(6, 9, 2);
    EXPECT_EQ(Rec(el).x, 240);
    EXPECT_EQ(Rec(block).type, EL_CRUMBLE) << "taking the element away does not break it";
    EXPECT_EQ(kameni, block);
    HoldAt(5, 9, 1);
    EXPECT_EQ(Rec(el).x, 200);
    HoldAt(5, 9, 1);
    EXPECT_EQ(Rec(block).type, 0);
    EXPECT_EQ(Rec(block).x, 0);
    EXPECT_EQ(Rec(block).y, 0);
    EXPECT_EQ(raspad, 1);
    EXPECT_EQ(raspadx, 200);
    EXPECT_EQ(raspady, 400);
    EXPECT_EQ(kameni, 0);
    EXPECT_EQ(prekameni, 0);
    Release();
    EXPECT_EQ(Idle(20), SIM_GOING);
    EXPECT_EQ(Rec(el).x, 200);
    EXPECT_EQ(Rec(el).y, 400) << "it fell through where the block was";
}

// Only one crumbling block at a time is on its way to breaking: the first one
// loaded holds that place until it breaks, and a second one, however often it is
// visited, waits for its turn.
TEST(LevelCrumble, OnlyOneBlockAtATimeIsOnItsWayToBreaking)
{
    LoadBoard({
        ".a...b.......a...b..",  // row 9
        "#C###C##############",  // row 10
        "####################",
    });
    int first = RecordAt(1, 10), second = RecordAt(5, 10);
    Idle(3);
    ASSERT_EQ(prekameni, first);
    for (int visit = 0; visit < 2; visit++) {
        Grab(5, 9);
        HoldAt(6, 9, 2);
        HoldAt(5, 9, 2);
        Release();
    }
    Idle(5);
    EXPECT_EQ(Rec(second).type, EL_CRUMBLE) << "the second block broke out of turn";

    Grab(1, 9);
    HoldAt(2, 9, 2);
    HoldAt(1, 9, 2);
    Release();
    EXPECT_EQ(Rec(first).type, 0);
    Idle(10);
    EXPECT_EQ(prekameni, second) << "now it is the second block's turn";
    Grab(5, 9);
    HoldAt(6, 9, 2);
    HoldAt(5, 9, 2);
    Release();
    EXPECT_EQ(Rec(second).type, 0);
}

// ---- magnet ------------------------------------------------------------------------

static const std::vector<std::string> magnetBoard = {
    "....................",
    "....................",
    "........G...........",  // row 2
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
    "..b.....a......a.b..",  // row 10: b will press the button, a is under the magnet
    "###P################",
};

// Slides the element at (2, 10) onto the button at (3, 11) and lets go.
static void PressTheButton()
{
    Grab(2, 10);
    HoldAt(3, 10, 1);
    Release();
    ASSERT_EQ(Rec(RecordAt(3, 10)).type, 102);
}

// Pulled from a cell boundary the element rises one pixel, then snaps to the
// boundary above: one cell every two frames, until it hangs under the magnet.
TEST(LevelMagnet, PressedButtonLiftsTheElementBelowTheMagnet)
{
    LoadBoard(magnetBoard);
    int el = RecordAt(8, 10);
    PressTheButton();
    std::vector<int> ys;
    for (int n = 0; n < 40; n++) {
        ASSERT_EQ(Idle(1), SIM_GOING);
        if (!ys.empty() || Rec(el).y != 400)
            ys.push_back(Rec(el).y);
        EXPECT_EQ(Rec(el).x, 320);
    }
    const std::vector<int> climb = {399, 360, 359, 320, 319, 280, 279, 240, 239, 200, 199, 160, 159, 120, 120, 120};
    ASSERT_GE(ys.size(), climb.size());
    EXPECT_EQ(std::vector<int>(ys.begin(), ys.begin() + climb.size()), climb);
    EXPECT_EQ(ys.back(), 120) << "it hangs right under the magnet";
    EXPECT_EQ(imeUP, el);
    EXPECT_EQ(taster_pritisnut, 1);
    EXPECT_EQ(Heard(&mmbtn), 1);
    EXPECT_GE(Heard(&mmact), 1);
    EXPECT_GE(Heard(&mmon), 1);
}

TEST(LevelMagnet, ReleasingTheButtonDropsTheElementAndSoundsOffOnce)
{
    LoadBoard(magnetBoard);
    int el = RecordAt(8, 10);
    PressTheButton();
    Idle(40);
    ASSERT_EQ(Rec(el).y, 120);
    ForgetSounds();
    Grab(3, 10);
    HoldAt(2, 10, 1);
    Release();
    EXPECT_EQ(Idle(60), SIM_GOING);
    EXPECT_EQ(Heard(&mmoff), 1);
    EXPECT_EQ(Heard(&mmbtn), 0);
    EXPECT_EQ(taster_pritisnut, 0);
    EXPECT_EQ(imeUP, 0);
    EXPECT_EQ(Rec(el).y, 400) << "it fell back to the floor";
    EXPECT_EQ(Rec(el).x, 320);
    EXPECT_EQ(Heard(&mmisce), 1) << "and landed once";
}

// Lifted off the exit pad, an element leaves the pad behind.
TEST(LevelMagnet, LiftsAnElementOffTheExitPadAndThePadStays)
{
    std::vector<std::string> board = magnetBoard;
    board[10] = "..b.aT..O......a.b..";  // the pad right under the magnet
    LoadBoard(board);
    int el = RecordAt(4, 10), pad = RecordAt(8, 10);
    Grab(4, 10);
    HoldAt(5, 10, 2);
    Release();
    ASSERT_EQ(Rec(pad).type, 226);
    Idle(5);
    EXPECT_EQ(Rec(pad).y, 400) << "nothing pulls while the button is up";
    PressTheButton();
    EXPECT_EQ(Idle(40), SIM_GOING);
    EXPECT_EQ(Rec(pad).type, 101);
    EXPECT_EQ(Rec(pad).y, 120);
    EXPECT_EQ(Rec(el).type, EL_TELE_OUT);
    EXPECT_EQ(Rec(el).x, PixX(8));
    EXPECT_EQ(Rec(el).y, PixY(10));
    EXPECT_EQ(CountType(EL_TELE_OUT), 1);
}

// The element the magnet holds cannot be grabbed, even standing on the floor.
TEST(LevelMagnet, HeldElementCannotBeGrabbed)
{
    std::vector<std::string> board = magnetBoard;
    board[2] = "....................";
    board[9] = "........G...........";  // the magnet right above a
    LoadBoard(board);
    int el = RecordAt(8, 10);
    PressTheButton();
    Idle(5);
    ASSERT_EQ(imeUP, el);
    EXPECT_EQ(Rec(el).y, 400);
    Grab(8, 10);
    EXPECT_EQ(MovingElement, 0);
    EXPECT_EQ(proslie, 0);
    HoldAt(11, 10, 3);
    EXPECT_EQ(Rec(el).x, 320);
    Release();

    Grab(3, 10);
    HoldAt(2, 10, 1);
    Release();
    Idle(2);
    ASSERT_EQ(imeUP, 0);
    Grab(8, 10);
    EXPECT_EQ(MovingElement, 1) << "let go by the magnet, it can be grabbed";
    HoldAt(11, 10, 2);
    EXPECT_EQ(Rec(el).x, 400);
}

// Something between the magnet and the element stops the pull, but the magnet
// still holds the element where it stands.
TEST(LevelMagnet, TileBetweenStopsThePull)
{
    std::vector<std::string> board = magnetBoard;
    board[5] = "........#...........";
    LoadBoard(board);
    int el = RecordAt(8, 10);
    PressTheButton();
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(Rec(el).y, 400);
    EXPECT_EQ(imeUP, el);
}

// The magnet pulls elements 101 and up; element 100 stays where it is.
TEST(LevelMagnet, DoesNotPullElement100)
{
    std::vector<std::string> board = magnetBoard;
    board[10] = "..b.....z......z.b..";
    LoadBoard(board);
    int el = RecordAt(8, 10);
    PressTheButton();
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(Rec(el).y, 400);
    EXPECT_EQ(imeUP, 0);
    EXPECT_EQ(taster_pritisnut, 1);
}
