// The levels' pars and captions: the notes file the game reads, and the caption
// that goes once the player first grabs something.
#include <gtest/gtest.h>

#include <string>

#include "level/info.h"
#include "level/sequences.h"
#include "tests/harness.h"

namespace {
std::string Notes(const std::string& text)
{
    std::string path = ScratchDir() + "/info.txt";
    WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
    return path;
}
}  // namespace

// Good lines are read; every line out of shape is skipped alone, and a level
// without a good line keeps par 0 and no caption.
TEST(LevelInfo, ReadsGoodLinesAndSkipsDamagedOnes)
{
    std::string longCaption(CAPTION_SIZE, 'x');
    std::string path = Notes("# a comment\n"
                             "1 3 Mud holds whatever falls into it\r\n"
                             "2 7\n"
                             "100 16 The last one\n"
                             "0 4 level zero\n"
                             "101 4 past the end\n"
                             "5 100 par too big\n"
                             "6 -1 negative\n"
                             "7 x not a number\n"
                             "8 2 " +
                             longCaption +
                             "\n"
                             "9 2 tab\there\n"
                             "10\n");
    EXPECT_EQ(LevelInfoLoad(path.c_str()), 3);
    EXPECT_EQ(LevelPar(1), 3);
    EXPECT_STREQ(LevelCaption(1), "Mud holds whatever falls into it");
    EXPECT_EQ(LevelPar(2), 7);
    EXPECT_STREQ(LevelCaption(2), "");
    EXPECT_EQ(LevelPar(100), 16);
    for (int n : {5, 6, 7, 8, 9, 10, 0, 101, -5, 1000}) {
        EXPECT_EQ(LevelPar(n), 0) << n;
        EXPECT_STREQ(LevelCaption(n), "") << n;
    }

    // A missing file forgets what an earlier one said.
    EXPECT_EQ(LevelInfoLoad((ScratchDir() + "/none.txt").c_str()), 0);
    EXPECT_EQ(LevelPar(1), 0);
    EXPECT_STREQ(LevelCaption(1), "");
}

// The game's own file has a par for every level and a caption for each level
// that teaches a mechanic.
TEST(LevelInfo, TheGamesNotesCoverEveryLevel)
{
    EXPECT_EQ(LevelInfoLoad("media/levels/info.txt"), LAST_LEVEL);
    for (int n = 1; n <= LAST_LEVEL; n++)
        EXPECT_GT(LevelPar(n), 0) << n;
    for (int n : {26, 29, 32, 51, 54, 57, 76, 79})
        EXPECT_STRNE(LevelCaption(n), "") << n;
}
