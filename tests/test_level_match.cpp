// Matching, scoring, failing and winning a level, played on boards drawn as text.
#include <gtest/gtest.h>

#include "tests/scenario.h"

using namespace scenario;

// ---- matching and scoring --------------------------------------------------------

// An element that comes to rest on an equal one takes it away with itself: 45
// points for each of the two, the vanish puff centred on the element that fell.
TEST(LevelMatch, PairMeetingByFallingScores90)
{
    LoadBoard({
        "....a...............",  // row 7
        "....................",
        "....................",
        "....a...............",  // row 10
        "####################",
    });
    int upper = RecordAt(4, 7), lower = RecordAt(4, 10);
    ASSERT_NE(upper, 0);
    ASSERT_NE(lower, 0);
    int matchFrame = 0;
    for (int n = 0; n < 40 && matchFrame == 0; n++) {
        Idle(1);
        if (poen != 0)
            matchFrame = FramesPlayed();
    }
    ASSERT_NE(matchFrame, 0) << "the pair never matched";
    EXPECT_EQ(poen, 90);
    EXPECT_EQ(pind, 63) << "the vanish starts at 63 in the frame of the match";
    EXPECT_EQ(part, 1) << "the partner was below";
    EXPECT_EQ(parta, 8) << "row - 1 of the element that fell (it rested on row 9)";
    EXPECT_EQ(partb, 3) << "column - 1 of it";
    for (int i : {upper, lower}) {
        EXPECT_EQ(Rec(i).type, 0);
        EXPECT_EQ(Rec(i).x, 0);
        EXPECT_EQ(Rec(i).y, 0);
    }
    EXPECT_EQ(Heard(&GoneEl), 1);
}

TEST(LevelMatch, ElementLandingBetweenTwoEqualOnesScores135)
{
    LoadBoard({
        "....e...............",  // row 8
        "....................",
        "...e.e..............",  // row 10
        "####################",
    });
    Idle(30);
    EXPECT_EQ(poen, 135);
    EXPECT_EQ(part, 6) << "left (2) and right (4)";
    EXPECT_EQ(CountType(105), 0);
    EXPECT_EQ(Heard(&GoneEl), 1) << "one match, one sound";
}

// One match takes the element and what touches it directly, not a whole group:
// the third element of a row of three stays behind.
TEST(LevelMatch, MatchTakesDirectNeighboursOnlyNotTheWholeGroup)
{
    LoadBoard({
        ".....a..............",  // row 8
        "....................",
        "...aa...............",  // row 10: two equal elements laid side by side
        "####################",
    });
    int far = RecordAt(3, 10);
    Idle(5);
    EXPECT_EQ(CountType(101), 3) << "elements laid touching do not match until one of them moves";
    EXPECT_EQ(poen, 0);
    Idle(20);
    EXPECT_EQ(poen, 90);
    EXPECT_EQ(Rec(far).type, 101) << "the element two cells away stays";
    EXPECT_EQ(Rec(far).x, PixX(3));
    EXPECT_EQ(CountType(101), 1);
}

TEST(LevelMatch, Element120NeverMatches)
{
    LoadBoard({
        "....t...............",  // row 8
        "....................",
        "....t.......ss......",  // row 10
        "####################",
    });
    EXPECT_EQ(Idle(40), SIM_GOING);
    EXPECT_EQ(CountType(120), 2);
    EXPECT_EQ(Rec(RecordAt(4, 9)).type, 120) << "it came to rest on the other 120";
    EXPECT_EQ(poen, 0);
    EXPECT_EQ(pind, 0);
    EXPECT_EQ(Heard(&GoneEl), 0);
    EXPECT_EQ(CountType(119), 2) << "touching 119s laid side by side wait for a move";

    // Pushed off the other one, it drops beside it and lands touching it: no match.
    Grab(4, 9);
    HoldAt(3, 9, 1);
    Release();
    Idle(20);
    EXPECT_EQ(Rec(RecordAt(3, 10)).type, 120);
    EXPECT_EQ(CountType(120), 2);
    EXPECT_EQ(poen, 0);
}

TEST(LevelMatch, Element100Matches)
{
    LoadBoard({
        "....z...............",  // row 8
        "....................",
        "....z...............",  // row 10
        "####################",
    });
    Idle(30);
    EXPECT_EQ(poen, 90);
    EXPECT_EQ(CountType(100), 0);
}

// An element that arrives on the exit pad next to its partner matches at once;
// the pad stays where it was, empty, and takes the next element.
TEST(LevelMatch, MatchOnTheExitPadLeavesThePad)
{
    LoadBoard({
        "..b.aT......Oa....b.",  // row 10
        "####################",
    });
    int pad = RecordAt(12, 10), partner = RecordAt(13, 10);
    Grab(4, 10);
    HoldAt(5, 10, 2);  // into the entrance, then through it
    EXPECT_EQ(poen, 90);
    EXPECT_EQ(Rec(pad).type, EL_TELE_OUT) << "the pad is left empty where it was";
    EXPECT_EQ(Rec(pad).x, PixX(12));
    EXPECT_EQ(Rec(pad).y, PixY(10));
    EXPECT_EQ(Rec(partner).type, 0);
    EXPECT_EQ(CountType(101), 0);
    EXPECT_EQ(CountType(226), 0);

    // The pad works again.
    Release();
    Grab(2, 10);
    HoldAt(5, 10, 4);
    EXPECT_EQ(Rec(pad).type, 102 + PAD_OFFSET);
    EXPECT_EQ(Rec(pad).x, PixX(12));
}

// The neighbour standing on the pad leaves the pad behind too.
TEST(LevelMatch, NeighbourOnThePadLeavesThePadWhenMatched)
{
    LoadBoard({
        "....aT......O..a....",  // row 10
        "####################",
    });
    int pad = RecordAt(12, 10), mover = RecordAt(15, 10);
    Grab(4, 10);
    HoldAt(5, 10, 2);
    ASSERT_EQ(Rec(pad).type, 101 + PAD_OFFSET);
    Release();
    Grab(15, 10);
    HoldAt(13, 10, 3);
    EXPECT_EQ(poen, 90);
    EXPECT_EQ(Rec(pad).type, EL_TELE_OUT);
    EXPECT_EQ(Rec(pad).x, PixX(12));
    EXPECT_EQ(Rec(pad).y, PixY(10));
    EXPECT_EQ(Rec(mover).type, 0);
    EXPECT_EQ(part, 2) << "the partner was on the left";
    EXPECT_EQ(MovingElement, 0) << "a match ends the drag";
}

// ---- failing ---------------------------------------------------------------------

TEST(LevelOutcome, ElementWithoutPartnerFailsAsSoonAsTheBoardIsQuiet)
{
    LoadBoard({
        "..c...e...e.........",  // row 10
        "####################",
    });
    EXPECT_EQ(Frame(0, CellX(19), CellY(0)), SIM_FAILED);
    EXPECT_EQ(FramesPlayed(), 1);
    EXPECT_EQ(Heard(&mretr), 1);
}

TEST(LevelOutcome, TwoOfEachCodeDoesNotFail)
{
    LoadBoard({
        "..c...e...e...c.....",  // row 10
        "####################",
    });
    EXPECT_EQ(Idle(100), SIM_GOING);
    EXPECT_EQ(cnp, 4);
    EXPECT_EQ(Heard(&mretr), 0);
}

// A pair in the middle of vanishing is not taken for a singleton: the lone third
// element fails the level only once the vanish has run out.
TEST(LevelOutcome, FailureWaitsForTheVanishToEnd)
{
    LoadBoard({
        "....a...............",  // row 8
        "....................",
        "....a.........a.....",  // row 10
        "####################",
    });
    int matchFrame = 0;
    SimResult r = SIM_GOING;
    int partBefore = -1, pindBefore = -1;
    while (r == SIM_GOING && FramesPlayed() < 300) {
        partBefore = part;
        pindBefore = pind;
        r = Idle(1);
        if (matchFrame == 0 && poen == 90)
            matchFrame = FramesPlayed();
    }
    ASSERT_NE(matchFrame, 0);
    ASSERT_EQ(r, SIM_FAILED);
    EXPECT_EQ(partBefore, 0) << "failed while the vanish was still drawn";
    EXPECT_EQ(pindBefore, 0);
    EXPECT_GT(FramesPlayed() - matchFrame, 63) << "63 vanish steps of more than 10 ms each";
    EXPECT_EQ(Heard(&mretr), 1);
}

// Blocks never match and are not counted: a board of blocks is a cleared board,
// on which nothing moves any more.
TEST(LevelOutcome, BlocksAloneAreAClearedBoardAndNothingMoves)
{
    LoadBoard({
        "....B.......B.......",  // row 8
        "....................",
        "....................",
        "####################",
    });
    int one = RecordAt(4, 8), two = RecordAt(12, 8);
    SimResult r = Idle(10);
    EXPECT_EQ(r, SIM_WON);
    EXPECT_EQ(cnp, 0);
    Idle(10);
    EXPECT_EQ(Rec(one).y, PixY(8)) << "nothing falls on a cleared board";
    EXPECT_EQ(Rec(two).y, PixY(8));
}

// ---- winning ---------------------------------------------------------------------

TEST(LevelOutcome, WinComesOnlyAfterTheVanishHasRunOut)
{
    LoadBoard({
        "....a...............",  // row 8
        "....................",
        "....a...............",  // row 10
        "####################",
    });
    int matchFrame = 0;
    SimResult r = SIM_GOING;
    int pindBefore = -1;
    while (r == SIM_GOING && FramesPlayed() < 300) {
        pindBefore = pind;
        r = Idle(1);
        if (matchFrame == 0 && poen == 90)
            matchFrame = FramesPlayed();
        if (r == SIM_GOING) {
            ASSERT_EQ(end_level, 0) << "finished in frame " << FramesPlayed() << " with pind " << pind;
        }
    }
    ASSERT_NE(matchFrame, 0);
    ASSERT_EQ(r, SIM_WON);
    EXPECT_EQ(pindBefore, 0) << "won while the vanish was still running";
    EXPECT_GE(FramesPlayed() - matchFrame, 63);
    EXPECT_EQ(end_level, 1);
    EXPECT_EQ(Heard(&mfin), 1);
    Idle(30);
    EXPECT_EQ(end_level, 1);
    EXPECT_EQ(Heard(&mfin), 1) << "the finished sound plays once per level";
}

// The clock counts whole seconds from the level's first frame and stops once the
// last element is gone.
TEST(LevelOutcome, LevelTimeCountsSecondsAndStopsWhenTheBoardIsClear)
{
    LoadBoard({
        "..a.a...............",  // row 10
        "####################",
    });
    // Whole seconds, truncated: 0 for the whole first second. The clock starts
    // with the level's first frames (in a fresh run, whose first frame loads the
    // level assets and clears the frame's clock reading, from the second one, and
    // until the third frame has taken that reading the clock is not running yet),
    // so it shows 1 at frame 51 or 52.
    Idle(3);
    EXPECT_EQ(LEVEL_TIME, 0);
    int firstSecond = 0;
    while (firstSecond == 0 && FramesPlayed() < 60) {
        Idle(1);
        if (LEVEL_TIME != 0)
            firstSecond = FramesPlayed();
    }
    EXPECT_EQ(LEVEL_TIME, 1);
    EXPECT_GE(firstSecond, 51);
    EXPECT_LE(firstSecond, 52);
    // From there one second is 50 frames of 20 ms.
    Idle(58 * 50 - 1);
    EXPECT_EQ(LEVEL_TIME, 58);
    Idle(1);
    EXPECT_EQ(LEVEL_TIME, 59);
    Idle(49);
    EXPECT_EQ(LEVEL_TIME, 59);
    Idle(1);
    EXPECT_EQ(LEVEL_TIME, 60);

    Grab(2, 10);
    HoldAt(3, 10, 1);
    ASSERT_EQ(poen, 90);
    Release();
    int stopped = LEVEL_TIME;
    EXPECT_EQ(stopped, 60);
    Idle(200);
    EXPECT_EQ(end_level, 1);
    EXPECT_EQ(LEVEL_TIME, stopped);
}
