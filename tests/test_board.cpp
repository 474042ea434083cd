// Loading a level: records in file order, platform states, short files, and
// the score a level starts with.
#include <gtest/gtest.h>

#include "level/level.h"
#include "menu/players.h"
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

// Records come in file order, platforms with their first direction; a short
// file is the top of a board, a missing one no board, a long one is cut at 240 bytes.
TEST_F(Board, RecordsFromFilesOfEveryLength)
{
    std::vector<unsigned char> full(240, 0), shortFile(45, 0), longFile(300, 1);
    full[3 * 20 + 5] = 122;
    full[3 * 20 + 6] = 123;
    full[11 * 20 + 19] = 7;
    full[0] = 105;
    shortFile[44] = 110;
    const struct {
        const std::vector<unsigned char>* bytes;  // null: no file
        int records;
        std::vector<std::vector<int>> first;  // type, x, y, state of the first records
    } cases[] = {
        {&full,
         4,
         {{105, 0, 0, 0}, {122, 200, 120, LIFT_RIGHT}, {123, 240, 120, LIFT_DOWN}, {7, 760, 440, 0}, {0, 0, 0, 0}}},
        {&shortFile, 1, {{110, 160, 80, 0}}},
        {nullptr, 0, {}},
        {&longFile, 240, {{1, 0, 0, 0}}},
    };
    for (const auto& k : cases) {
        remove(file.c_str());
        if (k.bytes)
            WriteBytes(file, *k.bytes);
        lmap_from(2, file.c_str());
        ASSERT_EQ(ukupnot, k.records);
        for (size_t i = 0; i < k.first.size(); i++)
            EXPECT_EQ((std::vector<int>{til[i + 1].type, til[i + 1].x, til[i + 1].y, til[i + 1].state}), k.first[i])
                << "record " << i + 1 << " of " << k.records;
    }
}

// A load starts the level afresh; the player's own level brings the level's
// assets in.
TEST_F(Board, ALoadResetsTheLevelStateAndThePlayersLevelLoadsItsAssets)
{
    WriteBytes(file, std::vector<unsigned char>(240, 0));
    poen = 500;
    cnp = end_level = 3;
    MovingElement = proslie = imeUP = taster_pritisnut = kameni = prekameni = 7;
    MicIndex = pind = part = LEVEL_TIMER = LEVEL_TIME = startt = movtim = 9;
    lmap_from(2, file.c_str());
    EXPECT_EQ(poen + cnp + end_level + MovingElement + proslie + imeUP + taster_pritisnut + kameni + prekameni, 0);
    EXPECT_EQ(MicIndex + pind + part + LEVEL_TIMER + LEVEL_TIME + startt + movtim, 0);

    proshli = 12;
    lmap_from(12, file.c_str());
    EXPECT_EQ(bioinitl, 1) << "loading the player's level loads the level assets";
}
