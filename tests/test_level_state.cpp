// The board-text encoder against the level builder's files, and the level-state
// list against a run: a saved state played on gives the frames the run gave.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "level/level.h"
#include "tests/harness.h"
#include "tools/sim/boardtext.h"
#include "tools/sim/simcore.h"

static std::vector<std::string> BoardRows(const std::string& source)
{
    std::ifstream in(source);
    std::string line;
    std::vector<std::string> rows;
    std::getline(in, line);  // title
    while (static_cast<int>(rows.size()) < BOARD_ROWS && std::getline(in, line))
        if (rows.empty() && (line.rfind("caption:", 0) == 0 || line.rfind("par:", 0) == 0))
            continue;  // the level's notes come before its board
        else
            rows.push_back(line);
    return rows;
}

TEST(BoardText, LegendCodesWallsAndErrors)
{
    unsigned char cells[BOARD_CELLS];
    std::string error;
    // One row at the bottom: every legend character, walls joined to the edge.
    ASSERT_TRUE(EncodeBoardText({"#.asBHVMTOPGCS#..##."}, 2, cells, &error)) << error;
    const unsigned char* row = cells + (BOARD_ROWS - 1) * BOARD_COLS;
    const int want[BOARD_COLS] = {
        16 + 1 + 4 + 8, 0, 101, 119, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 16 + 1 + 4, 0, 0, 16 + 1 + 4 + 2,
        16 + 1 + 4 + 8, 0};
    for (int c = 0; c < BOARD_COLS; c++)
        EXPECT_EQ(row[c], want[c]) << "column " << c;
    for (int i = 0; i < (BOARD_ROWS - 1) * BOARD_COLS; i++)
        ASSERT_EQ(cells[i], 0) << "rows above the text are empty";

    // The edge codes only where asked for.
    EXPECT_FALSE(EncodeBoardText({"z..................t"}, 1, cells, &error));
    EXPECT_NE(error.find("'z'"), std::string::npos) << error;
    ASSERT_TRUE(EncodeBoardText({"z..................t"}, 1, cells, &error, BOARD_TEXT_WITH_EDGE_CODES));
    EXPECT_EQ(cells[(BOARD_ROWS - 1) * BOARD_COLS], EL_FIRST);
    EXPECT_EQ(cells[BOARD_CELLS - 1], EL_FIRST + 20);

    // Bad shapes leave nothing behind.
    EXPECT_FALSE(EncodeBoardText({"short"}, 1, cells, &error));
    EXPECT_FALSE(
        EncodeBoardText(std::vector<std::string>(BOARD_ROWS + 1, std::string(BOARD_COLS, '.')), 1, cells, &error));
    std::string dir = ScratchDir();
    EXPECT_FALSE(WriteBoardText({"?..................."}, 1, dir + "/bad.bin", &error));
    EXPECT_TRUE(ReadBytes(dir + "/bad.bin").empty());
    EXPECT_FALSE(WriteBoardText({"...................."}, 1, dir + "/no/such/dir.bin", &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    rmdir(dir.c_str());
}

// The level builder and the encoder agree on every stored level.
TEST(BoardText, MatchesEveryBuiltLevel)
{
    int compared = 0;
    for (int n = 1; n <= 100; n++) {
        std::string src = std::string(TOVI_SOURCE_DIR) + "/levels/level" + std::to_string(n) + ".txt";
        std::vector<unsigned char> built =
            ReadBytes(std::string(TOVI_SOURCE_DIR) + "/media/levels/level" + std::to_string(n) + ".bin");
        std::vector<std::string> rows = BoardRows(src);
        if (rows.empty() && built.empty())
            continue;
        unsigned char cells[BOARD_CELLS];
        std::string error;
        ASSERT_TRUE(EncodeBoardText(rows, ChapterOf(n), cells, &error)) << "level " << n << ": " << error;
        ASSERT_EQ(built, std::vector<unsigned char>(cells, cells + BOARD_CELLS)) << "level " << n;
        compared++;
    }
    EXPECT_GE(compared, 25);
}

// A state saved in the middle of a level and put back plays on exactly as the
// run did: whatever the level's play keeps is in the saved state.
TEST(LevelState, RestoredStatePlaysOnAlike)
{
    HarnessOpen();
    for (int n : {9, 40, 77, 96}) {
        std::string dir = std::string(TOVI_SOURCE_DIR);
        std::vector<SimInput> script = SimSolution(dir + "/levels/level" + std::to_string(n) + ".txt");
        ASSERT_GT(script.size(), 10u) << "level " << n;
        std::string bin = dir + "/media/levels/level" + std::to_string(n) + ".bin";
        SimStart(n, bin.c_str());
        size_t half = script.size() / 2;
        for (size_t f = 0; f < half; f++)
            SimFrame(script[f].button, script[f].x, script[f].y);
        SimState saved;
        SimSave(&saved);
        auto playOn = [&]() {
            std::string trace;
            for (size_t f = half; f < script.size(); f++) {
                SimResult r = SimFrame(script[f].button, script[f].x, script[f].y);
                trace += SimFrameLine(static_cast<int>(f + 1)) + " " + std::to_string(r) + "\n";
            }
            return trace;
        };
        std::string first = playOn();
        // Something else is played in between, from the level's start.
        SimStart(n == 96 ? 1 : n + 1, nullptr);
        for (int f = 0; f < 30; f++)
            SimFrame(f % 2, 300 + f, 200);
        SimLoad(saved);
        EXPECT_EQ(playOn(), first) << "level " << n;
        EXPECT_EQ(end_level, 1) << "level " << n << " is won";
    }
}
