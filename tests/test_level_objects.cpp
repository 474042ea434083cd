// Mud, teleport, spike pits, crumbling blocks and the magnet, on boards drawn as text.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "level/snapshot.h"
#include "progress/best.h"
#include "progress/players.h"
#include "shell/media.h"
#include "tests/harness.h"
#include "tests/scenario.h"

using namespace scenario;

// An element slid over mud sticks in the next frame, which ends the drag; stuck,
// it neither slides nor can be grabbed, yet it counts and matches. A block stuck
// in mud is not counted.
TEST(LevelMud, SticksEndsTheDragStillMatches)
{
    LoadBoard({
        "...............B....",  // row 8
        "....................",
        "...g......g.........",  // row 10
        "####M##########M####",
    });
    int g = RecordAt(3, 10), block = RecordAt(15, 8);
    Drag(3, 10, 8, 1);
    EXPECT_EQ(std::make_tuple(til[g].x, til[g].type), std::make_tuple(160, 107)) << "it sticks only in the next frame";
    EXPECT_EQ(MovingElement, 1);
    HoldAt(8, 10, 1);
    EXPECT_EQ(std::make_tuple(til[g].type, MovingElement, Heard(&mblato)), std::make_tuple(207, 0, 1));
    HoldAt(8, 10, 10);
    EXPECT_EQ(til[g].x, 160) << "a stuck element does not slide";
    Release();
    Grab(4, 10);
    EXPECT_EQ(MovingElement, 0) << "a stuck element cannot be grabbed";
    EXPECT_EQ(Idle(10), SIM_GOING);
    EXPECT_EQ(std::make_tuple(til[block].type, til[block].y, cnp), std::make_tuple(221, 400, 2));
    EXPECT_EQ(Heard(&mblato), 2) << "each sticks once";

    Drag(10, 10, 5, 5);
    EXPECT_EQ(std::make_tuple(poen, CountType(207)), std::make_tuple(90, 0));
}

// Pushed into the entrance, an element stands on the exit pad in the next frame,
// as the pad's record, code + 125; its own record is cleared. Slid off, it leaves
// the pad behind in that cleared record. One arriving beside its partner matches
// at once and leaves the pad behind too. One standing on the entrance stays put.
TEST(LevelTeleport, OntoThePadOffItAndMatchOnIt)
{
    LoadBoard({
        ".....c..............",  // row 9
        "c.b.aT...a..O.....b.",  // row 10
        "####################",
    });
    int onTop = RecordAt(5, 9);
    int el = RecordAt(4, 10), entrance = RecordAt(5, 10), pad = RecordAt(12, 10), partner = RecordAt(18, 10);
    Drag(4, 10, 5, 1);
    EXPECT_EQ(til[el].x, 200) << "an entrance does not stop a slide";
    EXPECT_EQ(til[el].type, 101);
    HoldAt(5, 10, 1);
    EXPECT_TRUE(til[pad].type == 226 && til[pad].x == 480 && til[pad].y == 400);
    EXPECT_TRUE(til[el].type == 0 && til[el].x == 0 && til[el].y == 0);
    EXPECT_EQ(MovingElement, 0) << "the teleport ends the drag";
    EXPECT_TRUE(telex == 10 && telexi == entrance && telexo == pad);
    EXPECT_EQ(Heard(&Telep), 1);
    Release();
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(std::make_tuple(telex, til[pad].type), std::make_tuple(0, 226));
    EXPECT_EQ(cnp, 6) << "an element on the pad counts";

    Drag(12, 10, 11, 2);
    EXPECT_TRUE(til[pad].type == 101 && til[pad].x == 440);
    EXPECT_TRUE(til[el].type == EL_TELE_OUT && til[el].x == 480 && til[el].y == 400);
    Release();

    Drag(18, 10, 13, 6);
    ASSERT_EQ(til[partner].x, 520) << "the pad blocks a slide";
    Release();
    Drag(2, 10, 5, 4);
    EXPECT_EQ(std::make_tuple(poen, part), std::make_tuple(90, 4));
    EXPECT_TRUE(til[el].type == EL_TELE_OUT && til[el].x == 480 && til[el].y == 400);
    EXPECT_EQ(std::make_tuple(CountType(EL_TELE_OUT), CountType(102)), std::make_tuple(1, 0));
    EXPECT_EQ(Idle(20), SIM_GOING);
    EXPECT_TRUE(til[onTop].type == 103 && til[onTop].x == 200 && til[onTop].y == 360);
}

// Pits hold nothing up: a block falls into one, survives and jams it. An element
// pushed in as the spikes go down (MicIndex 14) lives until they rise (5); one
// pushed in at 13 dies at once. The level fails once the kill animation is over.
TEST(LevelSpikes, BlockJamsElementsDieOnlyWhileUp)
{
    LoadBoard({
        "..B.................",  // row 9
        "..S.aS...bS..a.a.b.b",  // row 10
        "####################",
    });
    int block = RecordAt(2, 9), pit = RecordAt(2, 10), a = RecordAt(4, 10), b = RecordAt(9, 10);
    auto waitFor = [](int mic) {
        for (int n = 0; n < 200 && MicIndex != mic; n++)
            Idle(1);
    };
    waitFor(14);
    int turned = FramesPlayed();
    Drag(4, 10, 5, 1);
    ASSERT_EQ(til[a].x, 200) << "a pit does not stop a slide";
    Release();
    int mic = 0;
    for (int n = 0; n < 200 && til[a].type != 0; n++) {
        mic = MicIndex;
        Idle(1);
    }
    EXPECT_EQ(mic, 5);
    EXPECT_EQ(FramesPlayed() - turned, 8 * 6 + 1) << "14..17 and 1..4, six 20 ms frames each";
    EXPECT_TRUE(spiked == 1 && spikex == 200 && spikey == 400 && til[a].x == 0 && til[a].y == 0);
    waitFor(13);
    Drag(9, 10, 10, 1);
    ASSERT_EQ(til[b].x, 400);
    Idle(1);
    EXPECT_EQ(til[b].type, 0);
    int killFrame = FramesPlayed();
    EXPECT_EQ(Idle(200), SIM_FAILED);
    EXPECT_GE(FramesPlayed() - killFrame, 100) << "the 34 steps of the kill animation play out first";
    EXPECT_TRUE(til[block].type == EL_BLOCK && til[block].x == 80 && til[block].y == 400);
    EXPECT_TRUE(spikedsi == 1 && spikeds[1] == pit) << "the block jams its pit";
    EXPECT_EQ(Heard(&mspike), 2);
    EXPECT_EQ(Heard(&mretr), 0) << "pairs are left: no failed screen";
}

// An element the spikes kill loses the level also when no element is left after
// it: the last one killed while its kin vanish, and the last two equal ones
// falling into two pits together. Nothing counts as won (no best result for the
// player); the level menu comes up once the kill has played out, without the
// failed screen, as after any kill.
TEST(LevelSpikes, KillingTheLastElementsLosesTheLevel)
{
    InScratchDir dir;
    snprintf(PlayerName, sizeof PlayerName, "%s", "Ann");
    const std::vector<std::vector<std::string>> boards = {
        {
            "..........a.........",  // row 9: falls into the pit while the pair vanishes
            "...a.a....S.........",  // row 10
            "####################",
        },
        {
            "....a...a...........",  // row 9: both fall in at once
            "....S...S...........",  // row 10
            "####################",
        },
    };
    for (size_t k = 0; k < boards.size(); k++) {
        LoadBoard(boards[k]);
        if (k == 0)
            Drag(5, 10, 4, 2, true);
        SimResult r = SIM_GOING;
        for (int n = 0; n < 300 && r == SIM_GOING && end_level == 0; n++)
            r = Idle(1);
        EXPECT_EQ(end_level, 0) << "board " << k << ": not won";
        EXPECT_EQ(r, SIM_FAILED) << "board " << k;
        EXPECT_EQ(cnp, 0) << "board " << k << ": every element is gone";
        EXPECT_GE(Heard(&mspike), 1) << "board " << k;
        EXPECT_EQ(Heard(&mretr), 0) << "board " << k;
        EXPECT_EQ(spiked + movsp + probo, 0) << "board " << k << ": the kill played out";
    }
    EXPECT_NE(access(BEST_FILE, F_OK), 0) << "no best result was recorded";
    PlayerName[0] = '\0';
}

// A crumbling block carries its first visitor for good and breaks under the second.
// Only the first block loaded is on its way to breaking; another one waits.
TEST(LevelCrumble, SecondVisitBreaksIt)
{
    LoadBoard({
        ".....a.......a......",  // row 9
        "#####C#######C######",  // row 10
        "####################",
    });
    int block = RecordAt(5, 10), el = RecordAt(5, 9), other = RecordAt(13, 10);
    EXPECT_EQ(Idle(30), SIM_GOING);
    EXPECT_EQ(til[block].type, EL_CRUMBLE);
    Drag(13, 9, 14, 2);
    HoldAt(13, 9, 2);
    Release();
    EXPECT_EQ(til[other].type, EL_CRUMBLE);
    Drag(5, 9, 6, 2);
    EXPECT_EQ(til[el].x, 240);
    EXPECT_EQ(til[block].type, EL_CRUMBLE) << "taking the element away does not break it";
    HoldAt(5, 9, 1);
    EXPECT_EQ(til[el].x, 200);
    HoldAt(5, 9, 1);
    EXPECT_TRUE(til[block].type == 0 && til[block].x == 0 && til[block].y == 0);
    EXPECT_TRUE(raspad == 1 && raspadx == 200 && raspady == 400);
    Release();
    EXPECT_EQ(Idle(20), SIM_GOING);
    EXPECT_EQ(til[el].y, 400) << "it fell through where the block was";
}

// With the button pressed the magnet lifts the element below it, here off the exit
// pad (which stays), one cell every two frames until it hangs under it; released,
// it drops with one off-sound. The element the magnet holds cannot be grabbed.
TEST(LevelMagnet, LiftsDropsAndHolds)
{
    std::vector<std::string> board = {
        "....................", "....................",
        "........G...........",  // row 2
        "....................", "....................", "....................",
        "....................", "....................", "....................",
        "........O...........",  // row 9: the pad in mid-air
        "..b.aT.........a.b..",  // row 10
        "###P################",
    };
    LoadBoard(board);
    int el = RecordAt(4, 10), pad = RecordAt(8, 9);
    Drag(4, 10, 5, 1, true);
    Idle(10);
    ASSERT_TRUE(til[pad].type == 226 && til[pad].y == 360) << "an element on the pad does not fall";
    Drag(2, 10, 3, 1, true);
    std::vector<int> ys;
    for (int n = 0; n < 40; n++) {
        ASSERT_EQ(Idle(1), SIM_GOING);
        if (!ys.empty() || til[pad].y != 360)
            ys.push_back(til[pad].y);
    }
    const std::vector<int> climb = {359, 320, 319, 280, 279, 240, 239, 200, 199, 160, 159, 120, 120};
    ASSERT_GE(ys.size(), climb.size());
    EXPECT_EQ(std::vector<int>(ys.begin(), ys.begin() + climb.size()), climb);
    EXPECT_TRUE(ys.back() == 120 && til[pad].x == 320 && til[pad].type == 101);
    EXPECT_TRUE(til[el].type == EL_TELE_OUT && til[el].x == 320 && til[el].y == 360);
    EXPECT_EQ(Heard(&mmbtn), 1);
    EXPECT_GE(Heard(&mmon), 1);
    ForgetSounds();
    Drag(3, 10, 2, 1, true);
    EXPECT_EQ(Idle(60), SIM_GOING);
    EXPECT_EQ(std::make_tuple(Heard(&mmoff), imeUP), std::make_tuple(1, 0));
    EXPECT_EQ(til[pad].y, 320) << "it fell back onto the pad";
    EXPECT_EQ(Heard(&mmisce), 1) << "and landed once";

    board[5] = "........z...z.......";  // element 100 is not pulled, but it stops the pull
    board[6] = "........#...#.......";
    board[9] = "....................";
    board[10] = "..b.....a......a.b..";
    LoadBoard(board);
    el = RecordAt(8, 10);
    Drag(2, 10, 3, 1, true);
    Idle(5);
    ASSERT_EQ(imeUP, el);
    EXPECT_EQ(til[el].y, 400);
    Grab(8, 10);
    EXPECT_EQ(MovingElement, 0);
    HoldAt(11, 10, 3);
    EXPECT_EQ(til[el].x, 320);
    Release();
    Drag(3, 10, 2, 1, true);
    Grab(8, 10);
    EXPECT_EQ(MovingElement, 1) << "let go by the magnet, it can be grabbed";
    HoldAt(11, 10, 2);
    EXPECT_EQ(til[el].x, 400);
}

// The per-frame scan index only saves work: every object step of a frame leaves
// the same board, the same state and the same sounds with it as without it, on
// boards of every code, records between cells, two on one cell and removed ones.
TEST(LevelScanIndex, ObjectStepsAgreeWithAndWithoutIt)
{
    static const int codes[] = {0,   5,   42,  99,  100, 103, 107, 110, 119, 120, 121, 122, 123, 124,
                                125, 126, 127, 128, 129, 130, 150, 200, 207, 221, 226, 240, 247, 250};
    std::mt19937 rng(12345);
    auto next = [&rng](unsigned n) { return rng() % n; };
    static LevelState before, withIndex, without;
    for (int board = 0; board < 300; board++) {
        LoadBoard({"...................."});
        ukupnot = static_cast<int>(20 + next(120));
        for (int i = 1; i <= ukupnot; i++) {
            TileRecord& t = til[i];
            t.type = codes[next(sizeof codes / sizeof codes[0])];
            t.x = static_cast<int>(next(BOARD_COLS)) * CELL_SIZE;
            t.y = static_cast<int>(next(BOARD_ROWS)) * CELL_SIZE;
            if (next(4) == 0)
                t.x += static_cast<int>(next(CELL_SIZE));  // between cells
            if (next(4) == 0)
                t.y += static_cast<int>(next(CELL_SIZE));
            if (t.type == 0)
                t.x = t.y = 0;
            t.state = t.type == EL_LIFT_H ? LIFT_RIGHT : t.type == EL_LIFT_V ? LIFT_DOWN : 0;
        }
        fallstep = 7;
        pomera = 1;
        MicIndex = static_cast<int>(next(18));
        LevelSave(&before);
        // Every record's step of the frame, as the frame runs them: the first result
        // other than 0, and the effects asked for on the way (straight from the log:
        // the scenario's own count of them follows only its frames).
        auto stepAll = [](std::vector<Mix_Chunk**>* sounds) {
            int result = 0, from = EffectLogCount;
            for (int i = 1; i <= ukupnot && result == 0; i++)
                result = ObjectStep(i);
            for (int k = from; k < EffectLogCount; k++)
                sounds->push_back(EffectLog[k % EFFECT_LOG_SIZE]);
            return result;
        };
        std::vector<Mix_Chunk**> soundsWith, soundsWithout;
        ScanIndexBuild();
        int resultWith = stepAll(&soundsWith);
        ScanIndexDrop();
        LevelSave(&withIndex);
        LevelLoad(before);
        int resultWithout = stepAll(&soundsWithout);
        LevelSave(&without);
        ASSERT_EQ(resultWith, resultWithout) << "board " << board;
        ASSERT_EQ(soundsWith, soundsWithout) << "board " << board;
        ASSERT_EQ(memcmp(&withIndex, &without, sizeof without), 0) << "board " << board;
    }
}
