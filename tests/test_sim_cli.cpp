// The simulator's command line: usage and script errors, and its output format.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/menu_driver.h"

// Each case works in a scratch folder with an empty board (zero.bin), a board
// won by one slide (pair.bin: a floor, two treasures a cell apart) and the game's
// pictures; the script given goes to script.txt.
class SimCli : public ::testing::Test {
protected:
    InScratchDir dir;
    void SetUp() override
    {
        WriteBytes("pair.bin", PairOnAFloor());
        WriteBytes("zero.bin", std::vector<unsigned char>(240, 0));
        mkdir("media", 0755);
        ASSERT_EQ(symlink(TOVI_SOURCE_DIR "/media/images", "media/images"), 0);
    }
    static int Sim(const std::string& args, const std::string& script, std::string* out, std::string* err)
    {
        WriteBytes("script.txt", std::vector<unsigned char>(script.begin(), script.end()));
        return RunCommand("'" TOVI_SIM_BINARY "' " + args, out, err);
    }
};

// A script by name or on standard input (comments and blank lines skipped, a
// fourth number repeating a frame), one trace line a frame and the count.
TEST_F(SimCli, TraceOfScriptsByNameAndOnStandardInput)
{
    std::string out, err, frame = " poen=0 cnp=0 end=0 drag=0 til=\n";
    ASSERT_EQ(Sim("--level 1 --file zero.bin script.txt", "0 100 100\n", &out, &err), 0) << err;
    EXPECT_EQ(out, "1" + frame + "END 1\n");
    ASSERT_EQ(Sim("--level 3 --file zero.bin < script.txt", "# two frames\n\n0 5 5 2\n", &out, &err), 0) << err;
    EXPECT_EQ(out, "1" + frame + "2" + frame + "END 2\n");
    ASSERT_EQ(Sim("--level 3 --file zero.bin script.txt", "", &out, &err), 0);
    EXPECT_EQ(out, "END 0\n");
}

TEST_F(SimCli, BadUsageAndBadScriptsExitTwo)
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
    for (const Case& k : cases) {
        std::string out, err;
        EXPECT_EQ(Sim(k.args, k.script, &out, &err), 2) << k.args << " / " << k.script;
        EXPECT_NE(err.find(k.message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(out, "") << "nothing runs before the script is known to be good";
    }
}

// --shot draws with the art under the working directory and saves the last
// frame; the trace does not change with it.
TEST_F(SimCli, ShotSavesTheLastFrameAndKeepsTheTrace)
{
    std::string script = "0 220 420 1\n1 220 420 1\n1 260 420 3\n0 260 420 80\n";
    std::string plain, shot, err;
    ASSERT_EQ(Sim("--level 2 --file pair.bin script.txt", script, &plain, &err), 0) << err;
    ASSERT_EQ(Sim("--level 2 --file pair.bin --shot f.png script.txt", script, &shot, &err), 0) << err;
    EXPECT_EQ(shot, plain);
    EXPECT_NE(plain.find("WON"), std::string::npos);
    std::vector<unsigned char> png = ReadBytes("f.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ((png[18] << 8) | png[19], 800) << "width";
    EXPECT_EQ((png[22] << 8) | png[23], 600) << "height";

    EXPECT_EQ(Sim("--level 2 --file pair.bin --shot no/such/f.png script.txt", script, &shot, &err), 1);
    EXPECT_NE(err.find("no/such/f.png"), std::string::npos);
}
