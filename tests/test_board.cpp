// Loading a level: records in file order, platform states, short files, the
// chapter of a level, the score a level starts with, and the frame clock.
#include <gtest/gtest.h>

#include <utility>

#include "level/level.h"
#include "menu/players.h"
#include "shell/clock.h"
#include "tests/harness.h"

class Board : public ::testing::Test {
protected:
    void SetUp() override
    {
        HarnessOpen();
        file = ScratchDir() + "/level.bin";
    }
    std::string file;
};

TEST_F(Board, RecordsInFileOrderWithPlatformStates)
{
    std::vector<unsigned char> b(240, 0);
    b[3 * 20 + 5] = 122;
    b[3 * 20 + 6] = 123;
    b[11 * 20 + 19] = 7;
    b[0] = 105;
    WriteBytes(file, b);
    lmap_from(2, file.c_str());
    ASSERT_EQ(ukupnot, 4);
    const int want[][4] = {{105, 0, 0, 0}, {122, 200, 120, LIFT_RIGHT}, {123, 240, 120, LIFT_DOWN}, {7, 760, 440, 0}};
    for (int i = 1; i <= 4; i++)
        EXPECT_TRUE(til[i].type == want[i - 1][0] && til[i].x == want[i - 1][1] && til[i].y == want[i - 1][2] &&
                    til[i].state == want[i - 1][3])
            << "record " << i;
    EXPECT_EQ(til[5].type, 0) << "records past ukupnot are cleared";
}

TEST_F(Board, ShortMissingAndLongFiles)
{
    std::vector<unsigned char> b(45, 0);
    b[44] = 110;  // row 2, column 4: present; the rest of the board is empty
    WriteBytes(file, b);
    lmap_from(2, file.c_str());
    ASSERT_EQ(ukupnot, 1);
    EXPECT_EQ(til[1].x, 160);
    EXPECT_EQ(til[1].y, 80);

    lmap_from(2, (file + ".missing").c_str());
    EXPECT_EQ(ukupnot, 0);

    std::vector<unsigned char> longer(300, 1);
    WriteBytes(file, longer);
    lmap_from(2, file.c_str());
    EXPECT_EQ(ukupnot, 240) << "bytes past the 240th are ignored";
}

TEST_F(Board, ALoadResetsTheLevelState)
{
    WriteBytes(file, std::vector<unsigned char>(240, 0));
    poen = 500;
    cnp = 3;
    end_level = 1;
    MovingElement = proslie = imeUP = taster_pritisnut = kameni = prekameni = 7;
    MicIndex = pind = part = LEVEL_TIMER = LEVEL_TIME = startt = movtim = 9;
    lmap_from(2, file.c_str());
    EXPECT_EQ(poen + cnp + end_level + MovingElement + proslie + imeUP + taster_pritisnut + kameni + prekameni, 0);
    EXPECT_EQ(MicIndex + pind + part + LEVEL_TIMER + LEVEL_TIME + startt + movtim, 0);
}

TEST_F(Board, ScoreAndIntroDependOnThePlayersLevel)
{
    WriteBytes(file, std::vector<unsigned char>(240, 0));
    proshli = 12;
    PlayerScore = 4321;
    lmap_from(12, file.c_str());
    EXPECT_EQ(poen, 4321);
    EXPECT_EQ(bioinitl, 1) << "loading the player's level loads the level assets";
    lmap_from(11, file.c_str());
    EXPECT_EQ(poen, 0) << "replaying an earlier level starts from 0";

    cntintr = 0;
    lmap_from(1, file.c_str());
    EXPECT_EQ(cntintr, 1);
    cntintr = 6;
    lmap_from(1, file.c_str());
    EXPECT_EQ(cntintr, 6);
}

TEST_F(Board, ChaptersAndTheFrameClock)
{
    for (const auto& lc : {std::pair(1, 1), {25, 1}, {26, 2}, {50, 2}, {51, 3}, {76, 4}, {100, 4}})
        EXPECT_EQ(ChapterOf(lc.first), lc.second) << "level " << lc.first;
    EXPECT_EQ(InitBackg(7), nullptr);

    ClockUseVirtual();
    startt = 0;
    EXPECT_EQ(get_delta(), 0) << "the first frame of a level moves nothing";
    ClockDelay(35);
    EXPECT_EQ(get_delta(), 35);
    EXPECT_EQ(gett, 1035);
}
