// Scores stay within 0..SCORE_MAX: read from a damaged or doctored file and
// carried into a level, a match at the top of the range neither wraps round to
// a negative score nor is lost to an overflow.
#include <gtest/gtest.h>

#include <vector>

#include "level/level.h"
#include "progress/players.h"
#include "tests/menu_driver.h"

namespace {

constexpr int INT_TOP = 0x7fffffff;  // the largest a stored score can claim

// Two coins on a floor, one falling beside the other: they meet and vanish.
std::vector<unsigned char> TwoCoins()
{
    std::vector<unsigned char> board(BOARD_CELLS, 0);
    for (int x = 0; x < BOARD_COLS; x++)
        board[11 * BOARD_COLS + x] = 1;
    board[10 * BOARD_COLS + 5] = EL_COIN;
    board[6 * BOARD_COLS + 6] = EL_COIN;
    return board;
}

TEST(ScoreRange, StoredScoresAreClampedAndAMatchAtTheTopDoesNotWrap)
{
    InScratchDir dir;
    WriteBytes(PLAYER_FILE, Cat({Rec("", 0, 0), Rec("MAX", 1, INT_TOP), Rec("NEG", 1, -5), Rec("OK", 2, 1234)}));
    ReadPlayers();
    ASSERT_EQ(ukupl, 3);
    EXPECT_EQ(pin[1].score, SCORE_MAX);
    EXPECT_EQ(pin[2].score, 0) << "a negative stored score reads as none";
    EXPECT_EQ(pin[3].score, 1234) << "an honest score is kept as it is";

    HarnessOpen();
    WriteBytes("board.bin", TwoCoins());
    for (int stored : {pin[1].score, pin[3].score}) {
        SimStart(1, "board.bin");
        proshli = 1;
        PlayerScore = stored;
        lmap_from(1, "board.bin");
        proshli = 0;
        ASSERT_EQ(poen, stored);
        int frames = 0;
        while (frames < 100 && (frames < 3 || cnp != 0))
            SimFrame(0, 790, 10), frames++;
        EXPECT_LT(frames, 100) << "the coins met";
        EXPECT_EQ(poen, stored == SCORE_MAX ? SCORE_MAX : stored + 90) << "from " << stored;
    }
    EXPECT_EQ(AddScore(INT_TOP, INT_TOP), SCORE_MAX);
    EXPECT_EQ(AddScore(10, -INT_TOP - 1), 0);
}

}  // namespace
