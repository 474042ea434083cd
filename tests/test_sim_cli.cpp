// The simulator's command line: usage and script errors, and its output format.
#include <gtest/gtest.h>

#include "tests/harness.h"

static int Sim(const std::string& args, const std::string& script, std::string* out, std::string* err)
{
    std::string dir = ScratchDir();
    std::string path = dir + "/script.txt";
    WriteBytes(path, std::vector<unsigned char>(script.begin(), script.end()));
    WriteBytes(dir + "/zero.bin", std::vector<unsigned char>(240, 0));
    std::string cmd = "cd '" + dir + "' && '" TOVI_SIM_BINARY "' " + args;
    return RunCommand(cmd, out, err);
}

TEST(SimCli, EmptyBoardOneFrame)
{
    std::string out, err;
    ASSERT_EQ(Sim("--level 1 --file zero.bin script.txt", "0 100 100\n", &out, &err), 0) << err;
    EXPECT_EQ(out, "1 poen=0 cnp=0 end=0 drag=0 til=\nEND 1\n");
}

TEST(SimCli, ScriptFromStandardInputSkipsCommentsAndBlankLines)
{
    std::string out, err;
    ASSERT_EQ(Sim("--level 3 --file zero.bin < script.txt", "# two frames\n\n0 5 5 2\n", &out, &err), 0) << err;
    EXPECT_EQ(out, "1 poen=0 cnp=0 end=0 drag=0 til=\n2 poen=0 cnp=0 end=0 drag=0 til=\nEND 2\n");
    ASSERT_EQ(Sim("--level 3 --file zero.bin script.txt", "", &out, &err), 0);
    EXPECT_EQ(out, "END 0\n");
}

TEST(SimCli, BadUsageAndBadScriptsExitTwo)
{
    struct Case {
        const char* args;
        const char* script;
        const char* message;
    } cases[] = {
        {"", "", "--level"},
        {"--level", "", "--level"},
        {"--level x script.txt", "", "level"},
        {"--level 0 script.txt", "", "level"},
        {"--level 2 --bogus script.txt", "", "option"},
        {"--level 2 missing.txt", "", "missing.txt"},
        {"--level 2 script.txt", "0 1 1\n1 2\n", "line 2"},
        {"--level 2 script.txt", "0 1 1\n\n2 1 1\n", "line 3"},
        {"--level 2 script.txt", "1 1 1 0\n", "line 1"},
        {"--level 2 script.txt", "1 1 1 1 1\n", "line 1"},
        {"--level 2 script.txt", "0 -4 1\n", "line 1"},
    };
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(Sim(c.args, c.script, &out, &err), 2) << c.args << " / " << c.script;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(out, "") << "nothing runs before the script is known to be good";
    }
}

// --shot draws with the art under the working directory and saves the last
// frame; the trace does not change with it.
TEST(SimCli, ShotSavesTheLastFrameAndKeepsTheTrace)
{
    std::string script = "0 220 420 1\n1 220 420 1\n1 260 420 3\n0 260 420 80\n";
    std::vector<unsigned char> board(240, 0);
    for (int c = 0; c < 20; c++)
        board[220 + c] = 1;
    board[205] = board[207] = 101;
    std::string plain, shot, err;
    std::string setup = "mkdir -p media && ln -s '" TOVI_SOURCE_DIR "/media/images' media/images && ";
    std::string dir = ScratchDir();
    WriteBytes(dir + "/board.bin", board);
    WriteBytes(dir + "/script.txt", std::vector<unsigned char>(script.begin(), script.end()));
    std::string run = "cd '" + dir + "' && " + setup + "'" TOVI_SIM_BINARY "' --level 2 --file board.bin ";
    ASSERT_EQ(RunCommand(run + "script.txt", &plain, &err), 0) << err;
    ASSERT_EQ(RunCommand("cd '" + dir + "' && '" TOVI_SIM_BINARY "' --level 2 --file board.bin --shot f.png script.txt",
                         &shot, &err),
              0)
        << err;
    EXPECT_EQ(shot, plain);
    EXPECT_NE(plain.find("WON"), std::string::npos);
    std::vector<unsigned char> png = ReadBytes(dir + "/f.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ((png[18] << 8) | png[19], 800) << "width";
    EXPECT_EQ((png[22] << 8) | png[23], 600) << "height";

    EXPECT_EQ(RunCommand("cd '" + dir +
                             "' && '" TOVI_SIM_BINARY "' --level 2 --file board.bin --shot no/such/f.png "
                             "script.txt",
                         &shot, &err),
              1);
    EXPECT_NE(err.find("no/such/f.png"), std::string::npos);
}
