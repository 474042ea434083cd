// Falling, dragging and platforms, on boards drawn as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "tests/scenario.h"

using namespace scenario;

// A fall of 7 pixels a frame stops on every row boundary it crosses, so the helm
// rests exactly on the cup; each landing sounds once, with the element's own sound.
TEST(LevelFall, StopsOnTheRowBoundaryAndSoundsOnce)
{
    LoadBoard({
        "..c.................",  // row 6
        "....................",
        "....................",
        "....d.f.j.b.........",  // row 9: cup, ring, coin, 102
        "c.d.........d.f.j.b.",  // row 10
        "####################",
    });
    int helm = RecordAt(2, 6);
    // Frames played, then where the helm is and whether it sounded: the first
    // frame moves nothing by gravity; 362 would pass the boundary at 360.
    const int steps[][3] = {{1, 240, 0}, {1, 247, 0}, {5, 280, 0}, {11, 355, 0}, {1, 360, 1}, {30, 360, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(Idle(step[0]), SIM_GOING);
        EXPECT_EQ(til[helm].y, step[1]) << "frame " << FramesPlayed();
        EXPECT_EQ(Heard(&mhelm), step[2]) << "frame " << FramesPlayed() << ": one landing, one sound";
    }
    EXPECT_EQ(til[helm].x, 80);
    for (Mix_Chunk** sound : {&mcup, &mring, &mcoin, &mmisce})
        EXPECT_EQ(Heard(sound), 1);
    EXPECT_EQ(poen, 0);
}

// A press on an element's edge shared with a tile grabs nothing; a grabbed element
// slides one cell per frame toward the pointer until something blocks it; pushed
// off its ledge it is let go and falls, without matching the partner it passes;
// the records a match removed lie at (0, 0) and block that cell.
TEST(LevelDrag, SlideBlockLedgeAndRemovedRecords)
{
    LoadBoard({
        ".b..................",  // row 0
        "##..................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "...a.a..............",  // row 9
        "...#.#.f.e...#...fbe",  // row 10
        "####################",
    });
    int a = RecordAt(3, 9), b = RecordAt(1, 0), e = RecordAt(9, 10);
    Idle(1);
    Frames(1, 0, 140, 400);
    Frames(1, 1, 140, 400);
    EXPECT_EQ(MovingElement, 0) << "the element's bottom edge is the tile's top edge";
    EXPECT_EQ(proslie, 0);
    Release();

    Drag(1, 0, 0, 1);
    EXPECT_EQ(til[b].x, 0) << "the top-left cell is free before any match";
    HoldAt(1, 0, 1);
    Release();

    Grab(3, 9);
    EXPECT_EQ(proslie, a);
    HoldAt(9, 9, 1);
    EXPECT_EQ(std::make_tuple(til[a].x, poen), std::make_tuple(160, 0)) << "beside its partner, but in mid-air";
    HoldAt(9, 9, 1);
    EXPECT_EQ(MovingElement, 0) << "losing its support ends the drag";
    EXPECT_EQ(std::make_tuple(til[a].x, til[a].y), std::make_tuple(160, 367));
    HoldAt(9, 9, 20);
    EXPECT_EQ(til[a].y, 400);
    Release();

    ForgetSounds();
    Grab(9, 10);
    for (int k = 1; k <= 5; k++) {
        HoldAt(16, 10, 1);
        EXPECT_EQ(til[e].x, 360 + 40 * std::min(k, 3)) << "frame " << k << ": the wall stops it";
    }
    HoldAt(2, 10, 6);
    EXPECT_EQ(std::make_tuple(til[e].x, Heard(&mslid)), std::make_tuple(320, 7)) << "the other element stops it";
    Frames(2, 1, 320, 420);
    Frames(2, 1, 360, 420);
    EXPECT_EQ(til[e].x, 320) << "the pointer on the cell's own edges is not beyond it";
    Frames(1, 1, 361, 420);
    EXPECT_EQ(til[e].x, 360);
    Release();

    Drag(5, 9, 4, 1);
    ASSERT_EQ(poen, 90);
    Release();
    Drag(1, 0, 0, 3);
    EXPECT_EQ(til[b].x, 40);
}

// Horizontal platforms between walls: one carries its rider and the element on it
// both ways. A rider, or an element stacked on one, with a wall on its right stays,
// and falls once the platform has moved a whole cell away.
TEST(LevelPlatform, HorizontalReversesAndCarries)
{
    LoadBoard({
        "....c...............",  // row 3
        "....a...............",
        "..#.H...#...........",  // row 5
        "..............d#....",  // row 6
        "....b#........e.....",  // row 7
        "....H.......#.H....#",  // row 8
        "....................",
        "a.c.....b.d.e.......",  // row 10
        "####################",
    });
    int c = RecordAt(4, 3), a = RecordAt(4, 4), lift = RecordAt(4, 5), b = RecordAt(4, 7), lift2 = RecordAt(4, 8);
    int d = RecordAt(14, 6), e = RecordAt(14, 7), lift3 = RecordAt(14, 8);
    int minX = 1000, maxX = 0, fellWith = 0;
    for (int n = 1; n <= 300; n++) {
        int before = til[lift].x;
        ASSERT_EQ(Idle(1), SIM_GOING);
        int x = til[lift].x;
        ASSERT_LE(std::abs(x - before), 1) << "frame " << n;
        if (x != before) {
            ASSERT_EQ(til[lift].state, x > before ? LIFT_RIGHT : LIFT_LEFT) << "frame " << n;
        }
        ASSERT_TRUE(til[a].x == x && til[c].x == x && til[a].y == 160 && til[c].y == 120) << "frame " << n;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        ASSERT_EQ(til[b].x, 160);
        if (til[lift2].x <= 200) {
            ASSERT_EQ(til[b].y, 280) << "fell while still on the platform, frame " << n;
        }
        if (fellWith == 0 && til[b].y != 280)
            fellWith = til[lift2].x;
        ASSERT_TRUE(til[e].x == til[lift3].x && til[d].x == 560) << "frame " << n;
        if (til[lift3].x <= 600 && n < 160) {
            ASSERT_EQ(til[d].y, 240) << "frame " << n;
        }
    }
    EXPECT_EQ(std::make_tuple(maxX, minX), std::make_tuple(280, 120));
    EXPECT_EQ(til[lift].x, 139) << "back from the left wall, after a frame's wait there";
    EXPECT_EQ(std::make_tuple(fellWith, til[b].y, til[d].y), std::make_tuple(201, 400, 400));

    // Carried back against its equal, a stacked element matches it once it touches
    // (in the platform's next move); the rider does not.
    LoadBoard({
        "..a..a..............",  // row 8
        "..b..b..............",
        "..#..H.#............",  // row 10
        "####################",
    });
    lift = RecordAt(5, 10);
    int liftAtMatch = 0;
    for (int n = 0; n < 250 && liftAtMatch == 0; n++)
        liftAtMatch = Idle(1) == SIM_GOING && poen == 90 ? til[lift].x : 0;
    EXPECT_EQ(std::make_tuple(liftAtMatch, CountType(101), CountType(102)), std::make_tuple(121, 0, 2));
}

// A descending platform carries its rider, which slides only once it is level
// with a row; a rising platform catches a falling element, which then rides it.
TEST(LevelPlatform, VerticalCarriesAndCatches)
{
    LoadBoard({
        "............#.......",  // row 0: a ceiling
        "....................",
        "....................",
        "....a.......c.......",  // row 3
        "....V...............",  // row 4
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "..........a.V.....c.",  // row 10
        "####################",
    });
    int rider = RecordAt(4, 3), down = RecordAt(4, 4), c = RecordAt(12, 3), up = RecordAt(12, 10);
    Grab(4, 3);
    ASSERT_EQ(MovingElement, 1);
    int landed = 0;
    for (int n = FramesPlayed() + 1; n <= 80; n++) {
        HoldAt(8, 3, 1);
        if (n < 40) {
            ASSERT_EQ(til[down].y, 160 + n);
            ASSERT_EQ(til[rider].y, til[down].y - 40) << "frame " << n;
            ASSERT_EQ(til[rider].x, 160) << "slid between rows in frame " << n;
        } else if (n == 40) {
            EXPECT_EQ(til[rider].x, 200) << "level with row 4, it slides";
            EXPECT_EQ(Heard(&mmisce), 0) << "a carried rider does not land";
        }
        ASSERT_LE(til[c].y + 40, til[up].y) << "sank into the platform in frame " << n;
        if (landed == 0 && til[c].y + 40 == til[up].y)
            landed = n;
        if (landed != 0) {
            ASSERT_EQ(til[c].y + 40, til[up].y) << "frame " << n;
        }
    }
    EXPECT_NE(landed, 0);
    EXPECT_EQ(til[up].y, 320) << "it rose a pixel a frame all along";
    EXPECT_EQ(Heard(&mslid), 1);
}

TEST(LevelPlatform, EmptyVerticalShuttlesBetweenTileAndFloor)
{
    LoadBoard({
        "...#................",  // row 6
        "....................",
        "...V................",  // row 8
        "....................",
        "..........a...a.....",  // a pair keeps the level going
        "####################",
    });
    int lift = RecordAt(3, 8);
    int lowest = til[lift].y, highest = til[lift].y;
    for (int n = 0; n < 400; n++) {
        Idle(1);
        lowest = std::max(lowest, til[lift].y);
        highest = std::min(highest, til[lift].y);
    }
    EXPECT_EQ(lowest, 400) << "turns back on the floor";
    EXPECT_EQ(highest, 280) << "turns back under the tile";
}
