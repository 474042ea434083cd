// Falling, dragging and moving platforms, played on boards drawn as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/scenario.h"

using namespace scenario;

// ---- falling -------------------------------------------------------------------

// The fall step is 7 pixels per 20 ms frame, but a falling element stops on every
// row boundary it crosses, so it comes to rest exactly on the cell above what
// holds it up, and sounds its landing once.
TEST(LevelFall, StopsExactlyOnTheRowBoundaryAndSoundsOnce)
{
    LoadBoard({
        "..c.................",  // row 6
        "....................",
        "....................",
        "....................",
        "..d............c.d..",  // row 10
        "####################",
    });
    int helm = RecordAt(2, 6), cup = RecordAt(2, 10);
    Idle(1);
    EXPECT_EQ(Rec(helm).y, 240) << "the first frame of a level moves nothing by gravity";
    Idle(1);
    EXPECT_EQ(Rec(helm).y, 247);
    Idle(16);  // frame 18
    EXPECT_EQ(Rec(helm).y, 355);
    EXPECT_EQ(Heard(&mhelm), 0);
    Idle(1);  // frame 19: 362 would pass the boundary; it stops on it
    EXPECT_EQ(Rec(helm).y, 360);
    EXPECT_EQ(Heard(&mhelm), 1);
    Idle(30);
    EXPECT_EQ(Rec(helm).y, 360);
    EXPECT_EQ(Rec(helm).x, 80);
    EXPECT_EQ(Rec(cup).y, 400);
    EXPECT_EQ(Heard(&mhelm), 1) << "one landing, one sound";
    EXPECT_EQ(Heard(&mmisce), 0);
    EXPECT_EQ(poen, 0);
}

TEST(LevelFall, EachElementLandsWithItsOwnSound)
{
    LoadBoard({
        "d.f.j.b.c...........",  // row 9: cup, ring, coin, 102, helm
        "..........d.f.j.b.c.",  // row 10: their partners, resting
        "####################",
    });
    EXPECT_EQ(Idle(20), SIM_GOING);
    EXPECT_EQ(Heard(&mcup), 1);
    EXPECT_EQ(Heard(&mring), 1);
    EXPECT_EQ(Heard(&mcoin), 1);
    EXPECT_EQ(Heard(&mhelm), 1);
    EXPECT_EQ(Heard(&mmisce), 1);
}

// A falling element that reaches a vertical platform sits on it at once, even when
// the platform rises to meet it, and rides it.
TEST(LevelFall, ElementFallingOntoARisingLiftSitsOnItAtOnce)
{
    LoadBoard({
        "....#...............",  // row 0: a ceiling
        "....................",
        "....................",
        "....a...............",  // row 3
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....V.....a.........",  // row 10: the floor turns the lift up at once
        "####################",
    });
    int el = RecordAt(4, 3), lift = RecordAt(4, 10);
    int landed = 0;
    for (int n = 1; n <= 80; n++) {
        Idle(1);
        ASSERT_LE(Rec(el).y + 40, Rec(lift).y) << "the element sank into the lift in frame " << n;
        if (landed == 0 && Rec(el).y + 40 == Rec(lift).y)
            landed = n;
        if (landed != 0) {
            ASSERT_EQ(Rec(el).y + 40, Rec(lift).y) << "frame " << n;
        }
        ASSERT_EQ(Rec(el).x, 160);
    }
    EXPECT_NE(landed, 0) << "never reached the lift";
    EXPECT_EQ(Rec(lift).y, 320) << "the lift rose a pixel a frame all along, now with its rider";
}

// ---- dragging --------------------------------------------------------------------

// While the pointer stays beyond the element's cell the element slides one cell
// per frame, one slide sound per cell; under an overhang too.
TEST(LevelDrag, SlidesOneCellPerFrameWhileThePointerIsBeyond)
{
    LoadBoard({
        "...#................",  // row 9: an overhang over the path
        "..a............a....",  // row 10
        "####################",
    });
    int el = RecordAt(2, 10);
    Grab(2, 10);
    EXPECT_EQ(proslie, el);
    EXPECT_EQ(MovingElement, 1);
    EXPECT_EQ(Rec(el).x, 80) << "grabbing does not move it";
    for (int k = 1; k <= 8; k++) {
        HoldAt(8, 10, 1);
        EXPECT_EQ(Rec(el).x, 80 + 40 * std::min(k, 6)) << "frame " << k << " of the drag";
        EXPECT_EQ(Rec(el).y, 400);
    }
    EXPECT_EQ(Heard(&mslid), 6);
    HoldAt(5, 10, 5);
    EXPECT_EQ(Rec(el).x, 200);
    EXPECT_EQ(Heard(&mslid), 9);
    EXPECT_EQ(MovingElement, 1);
    // The pointer on the cell's own edges is not beyond it.
    Frames(3, 1, 240, 420);
    EXPECT_EQ(Rec(el).x, 200);
    Frames(3, 1, 200, 420);
    EXPECT_EQ(Rec(el).x, 200);
    Frames(1, 1, 241, 420);
    EXPECT_EQ(Rec(el).x, 240);
    Frames(1, 1, 239, 420);
    EXPECT_EQ(Rec(el).x, 200);
    Release();
    EXPECT_EQ(MovingElement, 0);
    EXPECT_EQ(proslie, 0);
}

TEST(LevelDrag, WallsAndOtherElementsStopTheSlide)
{
    LoadBoard({
        "..a..#..e..f.....aef",  // row 10
        "####################",
    });
    int a = RecordAt(2, 10), e = RecordAt(8, 10);
    Grab(2, 10);
    HoldAt(9, 10, 6);
    EXPECT_EQ(Rec(a).x, 160) << "stops against the wall";
    EXPECT_EQ(Heard(&mslid), 2);
    Release();

    Grab(8, 10);
    HoldAt(2, 10, 6);
    EXPECT_EQ(Rec(e).x, 240) << "stops against the wall on its left";
    HoldAt(15, 10, 8);
    EXPECT_EQ(Rec(e).x, 400) << "stops against the element on its right";
    EXPECT_EQ(poen, 0);
}

// A press on the edge an element shares with a tile grabs nothing.
TEST(LevelDrag, TileEdgeUnderTheCursorRefusesTheGrab)
{
    LoadBoard({
        "...a#..........a....",  // row 10: the element's right edge is the tile's left edge
        "####################",
    });
    int el = RecordAt(3, 10);
    Idle(1);  // past the first frame, whose asset loading moves the cursor
    Frame(0, 160, 420);
    Frame(1, 160, 420);
    EXPECT_EQ(MovingElement, 0);
    EXPECT_EQ(proslie, 0);
    Frames(5, 1, 40, 420);
    EXPECT_EQ(Rec(el).x, 120) << "an element that was not grabbed does not slide";
    Release();

    Frame(0, 150, 420);
    Frame(1, 150, 420);
    EXPECT_EQ(MovingElement, 1) << "inside the element, away from the tile, the grab works";
    EXPECT_EQ(proslie, el);
    Frames(1, 1, 60, 420);
    EXPECT_EQ(Rec(el).x, 80);
}

// Pushed off its ledge, the element stops being dragged and falls straight down,
// however far the pointer is.
TEST(LevelDrag, PushedPastTheEdgeOfItsSupportItDropsAndFalls)
{
    LoadBoard({
        "...a................",  // row 9
        "...#...........a....",  // row 10
        "####################",
    });
    int el = RecordAt(3, 9);
    Grab(3, 9);
    HoldAt(9, 9, 1);
    EXPECT_EQ(Rec(el).x, 160);
    EXPECT_EQ(Rec(el).y, 360);
    HoldAt(9, 9, 1);
    EXPECT_EQ(MovingElement, 0) << "the drag ends when it starts to fall";
    EXPECT_EQ(Rec(el).x, 160);
    EXPECT_EQ(Rec(el).y, 367);
    HoldAt(9, 9, 20);
    EXPECT_EQ(Rec(el).x, 160);
    EXPECT_EQ(Rec(el).y, 400);
    EXPECT_EQ(Heard(&mslid), 1);
    EXPECT_EQ(Heard(&mmisce), 1);
}

// An element moves sideways only from a row boundary: a rider on a descending
// lift cannot be slid until the lift brings it level with a row.
TEST(LevelDrag, ElementBetweenRowsCannotBeSlid)
{
    LoadBoard({
        "....................",
        "....................",
        "....................",
        "....a...............",  // row 3
        "....V...............",  // row 4
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "..........a.........",
        "####################",
    });
    int rider = RecordAt(4, 3);
    Grab(4, 3);
    ASSERT_EQ(MovingElement, 1);
    for (int n = FramesPlayed() + 1; n < 40; n++) {
        HoldAt(8, 3, 1);
        ASSERT_NE(Rec(rider).y % 40, 0) << "frame " << n;
        ASSERT_EQ(Rec(rider).x, 160) << "slid between rows in frame " << n;
    }
    HoldAt(8, 3, 1);  // frame 40: the lift has brought the rider to y = 160
    EXPECT_EQ(Rec(rider).x, 200);
    EXPECT_EQ(Heard(&mslid), 1);
}

// The match test after a slide runs only for an element that is still held up:
// one slid off its ledge against its partner drops past it.
TEST(LevelDrag, SlidOffItsLedgeBesideItsPartnerItDropsWithoutMatching)
{
    LoadBoard({
        "...a.a..............",  // row 9
        "...#.#..............",  // row 10
        "####################",
    });
    int el = RecordAt(3, 9), partner = RecordAt(5, 9);
    Grab(3, 9);
    HoldAt(4, 9, 1);
    EXPECT_EQ(Rec(el).x, 160);
    EXPECT_EQ(poen, 0) << "touching its partner, but in mid-air";
    Release();
    EXPECT_EQ(Idle(20), SIM_GOING);
    EXPECT_EQ(Rec(el).y, 400);
    EXPECT_EQ(Rec(partner).type, 101);
    EXPECT_EQ(poen, 0);
}

// A vanished element's record stays on the board as an object of code 0 in the
// top-left cell, and every scan still meets it: it blocks a slide into that cell.
TEST(LevelDrag, VanishedRecordStillBlocksTheTopLeftCell)
{
    const std::vector<std::string> rows = {
        ".b..................",  // row 0
        "##..................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....a...............",  // row 7
        "....................",
        "....................",
        "....a.........b.....",  // row 10
        "####################",
    };
    LoadBoard(rows);
    int b = RecordAt(1, 0);
    Idle(20);
    ASSERT_EQ(poen, 90);
    Grab(1, 0);
    HoldAt(0, 0, 3);
    EXPECT_EQ(Rec(b).x, 40) << "the removed records at (0, 0) block the cell";

    std::vector<std::string> noPair = rows;
    noPair[7] = "....................";
    noPair[10] = "..............b.....";
    LoadBoard(noPair);
    b = RecordAt(1, 0);
    Idle(20);
    Grab(1, 0);
    HoldAt(0, 0, 3);
    EXPECT_EQ(Rec(b).x, 0) << "without a vanished record the cell is free";
}

// ---- platforms ---------------------------------------------------------------------

// A horizontal platform reverses at a wall: on its right it turns back in the same
// frame, on its left it waits one frame before it moves again.
TEST(LevelPlatform, HorizontalReversesAtWalls)
{
    LoadBoard({
        "..#.H.#.............",  // row 8
        "....................",
        "..........a...a.....",  // row 10
        "####################",
    });
    int lift = RecordAt(4, 8);
    std::vector<int> xs;
    for (int n = 0; n < 250; n++) {
        int before = Rec(lift).x;
        Idle(1);
        int x = Rec(lift).x;
        xs.push_back(x);
        ASSERT_LE(std::abs(x - before), 1) << "frame " << n + 1;
        if (x > before) {
            EXPECT_EQ(Rec(lift).state, LIFT_RIGHT) << "frame " << n + 1;
        }
        if (x < before) {
            EXPECT_EQ(Rec(lift).state, LIFT_LEFT) << "frame " << n + 1;
        }
        EXPECT_EQ(Rec(lift).y, 320);
    }
    EXPECT_EQ(xs[0], 161) << "the first frame moves a platform one pixel";
    EXPECT_EQ(*std::max_element(xs.begin(), xs.end()), 200);
    EXPECT_EQ(*std::min_element(xs.begin(), xs.end()), 120);
    // Lengths of the runs of frames spent at each end.
    std::vector<int> atRight, atLeft;
    for (size_t n = 0; n < xs.size();) {
        size_t m = n;
        while (m < xs.size() && xs[m] == xs[n])
            m++;
        if (xs[n] == 200)
            atRight.push_back(static_cast<int>(m - n));
        if (xs[n] == 120 && m < xs.size())
            atLeft.push_back(static_cast<int>(m - n));
        n = m;
    }
    ASSERT_EQ(atRight.size(), 2u);
    EXPECT_EQ(atRight[0], 1);
    EXPECT_EQ(atRight[1], 1);
    ASSERT_EQ(atLeft.size(), 1u);
    EXPECT_EQ(atLeft[0], 2);
}

TEST(LevelPlatform, RiderIsCarriedBothWays)
{
    LoadBoard({
        "....a...............",  // row 7
        "..#.H...#...........",  // row 8
        "....................",
        "..........a.........",  // row 10
        "####################",
    });
    int rider = RecordAt(4, 7), lift = RecordAt(4, 8);
    int minX = 1000, maxX = 0;
    for (int n = 1; n <= 300; n++) {
        Idle(1);
        ASSERT_EQ(Rec(rider).x, Rec(lift).x) << "frame " << n;
        ASSERT_EQ(Rec(rider).y, 280) << "frame " << n;
        minX = std::min(minX, Rec(lift).x);
        maxX = std::max(maxX, Rec(lift).x);
    }
    EXPECT_EQ(maxX, 280);
    EXPECT_EQ(minX, 120);
}

// A rider with a wall on its right stays while its platform moves on under it,
// and falls once the platform is a whole cell away.
TEST(LevelPlatform, RiderAgainstAWallStaysThenFalls)
{
    LoadBoard({
        "....a#..............",  // row 7: the wall is in the rider's row only
        "....H.......#.......",  // row 8
        "....................",
        "..........a.........",  // row 10
        "####################",
    });
    int rider = RecordAt(4, 7), lift = RecordAt(4, 8);
    int fellWith = 0;
    for (int n = 1; n <= 150; n++) {
        Idle(1);
        ASSERT_EQ(Rec(rider).x, 160) << "frame " << n;
        if (Rec(lift).x <= 200) {
            ASSERT_EQ(Rec(rider).y, 280) << "fell while still on the platform, frame " << n;
        }
        if (fellWith == 0 && Rec(rider).y != 280)
            fellWith = Rec(lift).x;
    }
    EXPECT_EQ(fellWith, 201) << "falls in the first frame after the platform is 40 pixels away";
    EXPECT_EQ(Rec(rider).y, 400);
    EXPECT_GT(Rec(lift).x, 300) << "the platform went on";
}

// A vertical platform whose rider has a tile right above it cannot rise: it
// turns down again in the same frame and never moves.
TEST(LevelPlatform, VerticalWithRiderUnderATileReversesAtOnce)
{
    LoadBoard({
        "....#...............",  // row 8
        "....a...............",
        "....V.....a.........",  // row 10
        "####################",
    });
    int rider = RecordAt(4, 9), lift = RecordAt(4, 10);
    for (int n = 1; n <= 30; n++) {
        Idle(1);
        ASSERT_EQ(Rec(lift).y, 400) << "frame " << n;
        ASSERT_EQ(Rec(rider).y, 360) << "frame " << n;
        EXPECT_EQ(Rec(lift).state, LIFT_DOWN) << "frame " << n;
    }
}

// With one free cell above the rider the platform rises until the rider touches
// the tile, then goes back down to the floor and up again.
TEST(LevelPlatform, VerticalRisesUntilTheRiderTouchesTheTile)
{
    LoadBoard({
        "....#...............",  // row 7
        "....................",
        "....a...............",
        "....V.....a.........",  // row 10
        "####################",
    });
    int rider = RecordAt(4, 9), lift = RecordAt(4, 10);
    Idle(1);
    EXPECT_EQ(Rec(lift).y, 399) << "blocked below, it turns up and moves in the same frame";
    int minY = 1000, maxAfterTop = 0;
    for (int n = 2; n <= 150; n++) {
        Idle(1);
        ASSERT_EQ(Rec(rider).y, Rec(lift).y - 40) << "frame " << n;
        ASSERT_EQ(Rec(rider).x, 160);
        minY = std::min(minY, Rec(lift).y);
        if (minY == 360)
            maxAfterTop = std::max(maxAfterTop, Rec(lift).y);
    }
    EXPECT_EQ(minY, 360) << "the rider stops right under the tile";
    EXPECT_EQ(maxAfterTop, 400) << "and the platform goes back down to the floor";
}

TEST(LevelPlatform, DescendingLiftCarriesItsRiderDown)
{
    LoadBoard({
        "....................",
        "....................",
        "....................",
        "....a...............",  // row 3
        "....V...............",  // row 4
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "..........a.........",
        "####################",
    });
    int rider = RecordAt(4, 3), lift = RecordAt(4, 4);
    for (int n = 1; n <= 60; n++) {
        Idle(1);
        ASSERT_EQ(Rec(lift).y, 160 + n) << "frame " << n;
        ASSERT_EQ(Rec(rider).y, Rec(lift).y - 40) << "frame " << n;
    }
    EXPECT_EQ(Heard(&mmisce), 0) << "a carried rider does not land";
}

// Any fixed object caps the column as a tile does (here a crumbling block).
TEST(LevelPlatform, VerticalWithRiderUnderAFixedObjectReversesAtOnce)
{
    LoadBoard({
        "....C...............",  // row 8
        "....a...............",
        "....V.....a.........",  // row 10
        "####################",
    });
    int lift = RecordAt(4, 10);
    for (int n = 1; n <= 20; n++) {
        Idle(1);
        ASSERT_EQ(Rec(lift).y, 400) << "frame " << n;
    }
    EXPECT_EQ(tralala, 1);
}

// Three different elements on a rider, capped by a tile: the stack is three deep
// and capped; the side marks say which stacked element touches a wall where.
TEST(LevelPlatform, StackOfThreeCappedByATile)
{
    LoadBoard({
        "....#...............",  // row 5: the cap
        "....d...............",
        "....c#..............",  // row 7: a wall right of c
        "...#b...............",  // row 8: a wall left of b
        "....a...............",  // row 9: the rider
        "....V.....a.b.c.d...",  // row 10
        "####################",
    });
    int b = RecordAt(4, 8), c = RecordAt(4, 7), d = RecordAt(4, 6), lift = RecordAt(4, 10);
    for (int n = 1; n <= 5; n++) {
        Idle(1);
        ASSERT_EQ(uiznad, 3) << "frame " << n;
        EXPECT_EQ(tralala, 1);
        EXPECT_EQ(iznad[1], b);
        EXPECT_EQ(iznad[2], c);
        EXPECT_EQ(iznad[3], d);
        EXPECT_EQ(gimasu[1], b + 2000) << "touched on the left";
        EXPECT_EQ(gimasu[2], c + 1000) << "touched on the right";
        EXPECT_EQ(gimasu[3], 0);
        EXPECT_EQ(Rec(lift).y, 400);
    }
    EXPECT_EQ(poen, 0);
}

TEST(LevelPlatform, StackRidesAHorizontalPlatform)
{
    LoadBoard({
        "....b...............",  // row 6
        "....a...............",  // row 7
        "..#.H...#...........",  // row 8
        "....................",
        "..........a.b.......",  // row 10
        "####################",
    });
    int a = RecordAt(4, 7), b = RecordAt(4, 6), lift = RecordAt(4, 8);
    for (int n = 1; n <= 200; n++) {
        Idle(1);
        ASSERT_EQ(Rec(a).x, Rec(lift).x) << "frame " << n;
        ASSERT_EQ(Rec(b).x, Rec(lift).x) << "frame " << n;
        ASSERT_EQ(Rec(a).y, 280);
        ASSERT_EQ(Rec(b).y, 240);
    }
}

// A stacked element with a wall on its right stays behind, held up by the rider
// until the rider has moved a whole cell, then falls to the floor.
TEST(LevelPlatform, StackedElementTouchingAWallOnItsRightStaysBehind)
{
    LoadBoard({
        "....b#..............",  // row 6
        "....a...............",  // row 7
        "....H.......#.......",  // row 8
        "....................",
        "..........a.b.......",  // row 10
        "####################",
    });
    int a = RecordAt(4, 7), b = RecordAt(4, 6), lift = RecordAt(4, 8);
    for (int n = 1; n <= 100; n++) {
        Idle(1);
        ASSERT_EQ(Rec(a).x, Rec(lift).x) << "frame " << n;
        ASSERT_EQ(Rec(b).x, 160) << "frame " << n;
        if (Rec(a).x <= 200) {
            ASSERT_EQ(Rec(b).y, 240) << "frame " << n;
        }
    }
    EXPECT_EQ(Rec(b).y, 400);
    EXPECT_EQ(Rec(a).y, 280);
}

// Every frame in which a platform with a rider moves, the elements stacked on the
// rider get the match test: one carried against its partner vanishes with it.
TEST(LevelPlatform, StackedElementMatchesWhatItIsCarriedAgainst)
{
    LoadBoard({
        "..a..a..............",  // row 6: the stacked a and its partner on a pillar
        "..b..#..............",  // row 7: the rider
        "#.H.........#.......",  // row 8
        "....................",
        "..........b.........",  // row 10
        "####################",
    });
    int lift = RecordAt(2, 8);
    int liftAtMatch = 0;
    for (int n = 1; n <= 150 && liftAtMatch == 0; n++) {
        Idle(1);
        if (poen == 90)
            liftAtMatch = Rec(lift).x;
    }
    ASSERT_NE(liftAtMatch, 0) << "the carried element never matched";
    EXPECT_EQ(liftAtMatch, 161) << "matched in the frame after it came to touch";
    EXPECT_EQ(CountType(101), 0);
}

// The rider itself gets no match test from its platform: carried against an equal
// element it stays beside it.
TEST(LevelPlatform, RiderCarriedAgainstAnEqualElementDoesNotMatch)
{
    LoadBoard({
        "..a..a..............",  // row 7
        "#.H..#..............",  // row 8
        "....................",
        "....................",
        "####################",
    });
    int rider = RecordAt(2, 7);
    int maxX = 0;
    for (int n = 1; n <= 300; n++) {
        Idle(1);
        maxX = std::max(maxX, Rec(rider).x);
    }
    EXPECT_EQ(maxX, 160) << "the rider came to touch its partner";
    EXPECT_EQ(CountType(101), 2);
    EXPECT_EQ(poen, 0);
}
