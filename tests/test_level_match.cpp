// Matching, scoring, failing and winning, on boards drawn as text.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/scenario.h"

using namespace scenario;

// Idle frames until the level ends (at most `limit`); *vanish is the vanish's
// step (pind) before the last frame.
static SimResult IdleToTheEnd(int limit, int* vanish)
{
    SimResult r = SIM_GOING;
    for (int n = 0; n < limit && r == SIM_GOING; n++) {
        *vanish = pind;
        r = Idle(1);
    }
    return r;
}

// Elements land one after the other: z on z (frame 7), e between two e's (frame 13),
// a on the right one of two touching a's (frame 37); the 120s never match.
TEST(LevelMatch, PairsAndThreeWayScoreButNot120)
{
    LoadBoard({
        ".............a..t...",  // row 3
        "....................",
        "....................",
        "....................",
        "....................",
        ".z......e...........",  // row 8
        "....................",
        ".z.....e.e..aa..t.a.",  // row 10
        "####################",
    });
    int upper = RecordAt(13, 3), lower = RecordAt(13, 10), left = RecordAt(12, 10);
    Idle(6);
    EXPECT_EQ(poen, 0);
    Idle(1);
    EXPECT_EQ(poen, 90) << "element 100 matches; 45 for each of the pair";
    EXPECT_EQ(std::make_tuple(part, pind), std::make_tuple(1, 63));
    Idle(5);
    EXPECT_EQ(poen, 90);
    Idle(1);
    EXPECT_EQ(poen, 225) << "three elements, 45 each";
    EXPECT_EQ(part, 6) << "left (2) and right (4)";
    EXPECT_EQ(std::make_tuple(CountType(105), Heard(&GoneEl)), std::make_tuple(0, 2)) << "one sound per match";
    Idle(23);
    EXPECT_EQ(poen, 225);
    Idle(1);
    EXPECT_EQ(std::make_tuple(poen, part), std::make_tuple(315, 1)) << "the partner was below";
    EXPECT_EQ(parta, 8) << "row - 1 of the element that fell";
    EXPECT_EQ(partb, 12) << "column - 1 of it";
    for (int i : {upper, lower})
        EXPECT_TRUE(til[i].type == 0 && til[i].x == 0 && til[i].y == 0) << "record " << i;
    EXPECT_EQ(til[left].type, 101) << "only direct neighbours go, not the whole group";
    EXPECT_EQ(Idle(40), SIM_GOING);
    EXPECT_EQ(CountType(120), 2);
    EXPECT_EQ(til[RecordAt(16, 9)].type, 120) << "it came to rest on the other 120";
    EXPECT_EQ(Heard(&GoneEl), 3);
}

// The clock counts whole seconds from the level's first frames and stops with the
// board clear; the level is won only after the vanish has run out, with one sound.
TEST(LevelOutcome, LevelTimeAndWinAfterTheVanish)
{
    LoadBoard({
        "..a.a...............",  // row 10
        "####################",
    });
    int firstSecond = 0;
    for (int n = 0; n < 60 && firstSecond == 0; n++) {
        Idle(1);
        if (LEVEL_TIME != 0)
            firstSecond = FramesPlayed();
    }
    EXPECT_EQ(LEVEL_TIME, 1);
    EXPECT_TRUE(firstSecond >= 51 && firstSecond <= 52) << firstSecond;
    Idle(59 * 50 - 1);
    EXPECT_EQ(LEVEL_TIME, 59);
    Idle(1);
    EXPECT_EQ(LEVEL_TIME, 60);

    Drag(2, 10, 3, 1);
    ASSERT_EQ(poen, 90);
    int matchFrame = FramesPlayed(), pindBefore = -1;
    ASSERT_EQ(Release(), SIM_GOING);
    ASSERT_EQ(IdleToTheEnd(200, &pindBefore), SIM_WON);
    EXPECT_EQ(pindBefore, 0) << "won while the vanish was still running";
    EXPECT_GE(FramesPlayed() - matchFrame, 63);
    Idle(30);
    EXPECT_EQ(std::make_tuple(end_level, Heard(&mfin)), std::make_tuple(1, 1)) << "the finished sound plays once";
    EXPECT_EQ(LEVEL_TIME, 60) << "the clock stopped with the board clear";
}
