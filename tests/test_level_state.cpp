// The board-text encoder and its program, and the level-state
// list against a run: a saved state played on gives the frames the run gave.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/harness.h"
#include "tests/scenario.h"
#include "tools/sim/boardtext.h"

// The legend's own codes and the walls' joins are every level's (LevelsValidAndBuilt
// checks the built levels against the encoder and its legend): here the codes
// the scenarios add, and the boards it refuses.
TEST(BoardText, EdgeCodesOnlyWhenAskedAndBadShapesRefused)
{
    unsigned char cells[BOARD_CELLS];
    std::string error;
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

// tovi-encode, as the level builder runs it: blocks of "level N" and rows on
// standard input, one line a block in order (a refused block too, named on
// stderr), the chapter from the level's number; --out writes the files.
TEST(BoardText, EncoderProgramReadsBlocks)
{
    InScratchDir dir;
    std::string input = "level 26\n####################\n"
                        "level 3\n#..a.?..a..........#\n####################\n"
                        "level 100\n#..................#\n";
    WriteBytes("boards.txt", std::vector<unsigned char>(input.begin(), input.end()));
    std::string out, err;
    EXPECT_EQ(RunCommand("'" TOVI_ENCODE_BINARY "' < boards.txt", &out, &err), 1);
    EXPECT_NE(out.find("\nlevel 3 error\nlevel 100 "), std::string::npos) << out;
    EXPECT_EQ(err, "level 3: unknown board character '?' at column 5, row 10\n");

    mkdir("out", 0755);
    EXPECT_EQ(RunCommand("'" TOVI_ENCODE_BINARY "' --out out < boards.txt", &out, &err), 1);
    EXPECT_EQ(ReadBytes("out/level26.bin").size(), static_cast<size_t>(BOARD_CELLS));
    EXPECT_EQ(ReadBytes("out/level100.bin")[BOARD_CELLS - 1], 16 * 3 + 1 + 2 + 4) << "chapter 4, edges right and below";
    EXPECT_TRUE(ReadBytes("out/level3.bin").empty()) << "a refused board writes nothing";

    // Lines before the first block, a level the game does not have, bad usage.
    struct Case {
        const char* args;
        const char* input;
        int status;
        const char* message;
    } cases[] = {
        {"", "....................\nlevel 1\n", 1, "line 1: a block starts with 'level N'"},
        {"", "level 101\n....................\n", 1, "line 1: 'level 101' names no level"},
        {"", "level 2\n....................\n...\n", 1, "level 2: row '...' is not 20 characters"},
        {"--bogus", "", 2, "usage"},
        {"--out", "", 2, "usage"},
    };
    for (const Case& c : cases) {
        WriteBytes("in.txt", std::vector<unsigned char>(c.input, c.input + strlen(c.input)));
        EXPECT_EQ(RunCommand("'" TOVI_ENCODE_BINARY "' " + std::string(c.args) + " < in.txt", &out, &err), c.status)
            << c.input;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
    }
}

// A state saved in the middle of a level and put back plays on exactly as the
// run did: whatever the level's play keeps is in the saved state.
TEST(LevelState, RestoredStatePlaysOnAlike)
{
    HarnessOpen();
    for (int n : {9, 40, 77, 96}) {
        std::vector<SimInput> script = StoredWin(n);
        ASSERT_GT(script.size(), 10u) << "level " << n;
        SimStart(n, nullptr);
        size_t half = script.size() / 2;
        PlayScript(script, 0, half);
        SimState saved;
        SimSave(&saved);
        std::vector<std::string> first, again;
        SimResult won = PlayScript(script, half, script.size(), &first);
        // Something else is played in between, from the level's start.
        SimStart(n == 96 ? 1 : n + 1, nullptr);
        for (int f = 0; f < 30; f++)
            SimFrame(f % 2, 300 + f, 200);
        SimLoad(saved);
        EXPECT_EQ(PlayScript(script, half, script.size(), &again), won) << "level " << n;
        EXPECT_EQ(again, first) << "level " << n;
        EXPECT_EQ(end_level, 1) << "level " << n << " is won";
    }
}
