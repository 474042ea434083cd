// The hint from the board as it stands: its keys and button through the real
// dispatcher, what cancels it, what it costs (the "won without hints" mark), a
// board with no way out; a level's stored solution answers along it and is
// never taken on trust; tovi-sim's trace is the same with hint lines in the script.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/tovi.h"
#include "level/info.h"
#include "level/level.h"
#include "level/solver.h"
#include "menu/menu.h"
#include "menu/players.h"
#include "progress/best.h"
#include "tests/menu_driver.h"
#include "tests/scenario.h"
#include "tools/sim/simcore.h"

namespace {

// Two boards: level 40, two treasures a cell apart on a floor (one slide wins);
// level 41, two treasures each walled into a pit of its own (no way out).
class HintDispatch : public ::testing::Test {
protected:
    MenuScratch scratch;

    void SetUp() override
    {
        Bytes b = PairOnAFloor();
        // The same pair, each walled in where it stands.
        Bytes walled = b;
        walled[10 * BOARD_COLS + 7] = 0;
        for (int c : {3, 5, 12, 14})
            walled[10 * BOARD_COLS + c] = 1;
        walled[10 * BOARD_COLS + 4] = 101;
        walled[10 * BOARD_COLS + 13] = 101;
        OwnLevelsFolder();
        WriteBytes("media/levels/level40.bin", b);
        WriteBytes("media/levels/level41.bin", walled);
        AnnPlays(41, 5000);
    }
    void TearDown() override { HintCancel(); }

    // Frames (at real time's pace: the search runs in real time) until the answer is in.
    void AwaitAnswer()
    {
        for (int i = 0; i < 1000 && hintState == HINT_THINKING; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            Step(0, 20, 20);
        }
    }
};

}  // namespace

TEST_F(HintDispatch, KeyAndButtonAskAndEveryMoveOrLeavingCancels)
{
    OpenLevel(40);
    int left = TreasureAt(5), right = TreasureAt(7);
    ASSERT_TRUE(left != 0 && right != 0);
    Key(SDLK_h);
    EXPECT_EQ(hintsUsed, 1);
    AwaitAnswer();
    ASSERT_EQ(hintState, HINT_MOVE) << "H gives the move that wins";
    EXPECT_TRUE((hintRecord == left && hintCells == 1) || (hintRecord == right && hintCells == -1))
        << "record " << hintRecord << " cells " << hintCells;
    EXPECT_NE(strstr(boardNote, "Slide"), nullptr) << boardNote;

    // A grab clears it.
    Play("press 300,420");
    EXPECT_TRUE(hintState == HINT_NONE && boardNote[0] == '\0');
    Play("at 300,420");

    // The HUD button asks as H does; R cancels a running search or a shown hint.
    Click(HUD_HINT.x + 50, HUD_HINT.y + 25);
    EXPECT_EQ(hintsUsed, 2);
    EXPECT_NE(hintState, HINT_NONE);
    EXPECT_EQ(Play("key r"), 40);
    EXPECT_EQ(hintState, HINT_NONE) << "a restart cancels it";

    // Esc opens the level menu and cancels the hint.
    Key(SDLK_h);
    EXPECT_NE(hintState, HINT_NONE);
    EXPECT_EQ(Play("key esc"), SCREEN_RETRY);
    EXPECT_EQ(hintState, HINT_NONE) << "the level menu cancels it";
}

TEST_F(HintDispatch, AnUndoCancelsAndAWinWithAHintIsNotClean)
{
    OpenLevel(40);
    int right = TreasureAt(7);
    // Slid away, a hint asked, the slide taken back: the hint goes with it.
    SlideRightAway();
    ASSERT_EQ(til[right].x, 320);
    Key(SDLK_h);
    AwaitAnswer();
    EXPECT_EQ(hintState, HINT_MOVE);
    Key(SDLK_u);
    EXPECT_EQ(til[right].x, 280);
    EXPECT_EQ(hintState, HINT_NONE) << "the move it was for was taken back";
    // Won after that hint: counted, and the best results do not say "without hints".
    WinPair();
    EXPECT_EQ(wonHints, 1);
    ReadBest(BEST_FILE);
    const BestRecord* b = FindBest("Ann", 40);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->clean, 0);
}

TEST_F(HintDispatch, AWalledInBoardHasNoWayOut)
{
    OpenLevel(41);
    Key(SDLK_h);
    AwaitAnswer();
    EXPECT_EQ(hintState, HINT_NO_WAY);
    EXPECT_STREQ(boardNote, "No way out from here: undo or retry");
    Play("idle 50");
    EXPECT_EQ(hintState, HINT_NO_WAY) << "the words stay until the player acts";
}

namespace {

// A drag as a hand makes it: onto the element's centre, press, along the row
// `pace` pixels a frame, held there `hold` frames more, release.
SimResult Drag(int record, int cells, int pace = 8, int hold = 3)
{
    int x = til[record].x + 20, y = til[record].y + 20, to = x + cells * CELL_SIZE;
    SimResult r = SimFrame(0, x, y);
    r = r == SIM_GOING ? SimFrame(1, x, y) : r;
    int step = cells < 0 ? -pace : pace;
    for (int px = x; r == SIM_GOING && px != to; px += step)
        r = SimFrame(1, px + step, y);
    for (int k = 0; k < hold && r == SIM_GOING; k++)
        r = SimFrame(1, to, y);
    return r == SIM_GOING ? SimFrame(0, to, y) : r;
}

}  // namespace

// The level's stored solution answers at once where the board still follows it,
// from its start and after each of its drags; the answer always starts a win
// played from the board itself. A damaged known win is never taken (nor one
// that does not fit the board: Solver.ProbeAgreesWithTheWholeGraphOnChoices).
TEST(HintKnownWin, AnswersAlongItAndIsNeverTakenOnTrust)
{
    const char* path = "known-win-test.txt";
    std::vector<SolveStep> read;
    const char* texts[] = {"0 10 10 2\n1 10 10 1\n0 10 10 1\n",
                           "2 10 10 1\n",
                           "0 800 10 1\n",
                           "0 10 10 0\n",
                           "0 10 10 1 9\n",
                           "0 10 10\n",
                           "0 10 10 100001\n"};
    for (const char* text : texts) {
        WriteBytes(path, Bytes(text, text + strlen(text)));
        int n = KnownWinLoad(path, &read);
        EXPECT_EQ(n, text == texts[0] ? 3 : 0) << text;  // the first is good, every other is damaged
        EXPECT_EQ(read.size(), static_cast<size_t>(n));
    }
    remove(path);
    EXPECT_EQ(KnownWinLoad("no-such-known-win", &read), 0);

    ASSERT_TRUE(SimOpen());
    static SolveLimits limits;
    limits.maxDrags = SOLVE_MAX_DRAGS;
    limits.threads = 1;
    for (int level : {49, 99}) {
        SCOPED_TRACE("level " + std::to_string(level));
        SimStart(level, nullptr);
        ASSERT_TRUE(Settle());
        ASSERT_GT(LevelKnownWin(level, &limits.knownWin), 0);
        limits.maxBoards = 1;  // no room to search: only the known win can answer
        // Following the answers wins; each answer is a drag of the stored win.
        SimResult r = SIM_GOING;
        int asked = 0;
        for (; asked < 2 * LevelPar(level) && r == SIM_GOING && Settle(&r); asked++) {
            SCOPED_TRACE("after " + std::to_string(asked) + " hinted drags");
            LevelSave(&limits.start);
            SolveResult answer;
            SimState keep;
            SimSave(&keep);
            SolveFewest(limits, &answer);
            EXPECT_TRUE(SolveReplays(limits.start, answer.script));
            SimLoad(keep);
            ASSERT_EQ(answer.outcome, SOLVE_FOUND);
            if (answer.drags == 0)
                break;  // the last match is on its way: the board wins by itself
            ASSERT_GT(answer.record, 0);
            ASSERT_NE(answer.fromCol, answer.toCol);
            EXPECT_EQ(til[answer.record].x, answer.fromCol * CELL_SIZE);
            // A quick hand: a cell a frame, let go as the element comes in.
            r = Drag(answer.record, answer.toCol - answer.fromCol, CELL_SIZE, 0);
        }
        for (int k = 0; k < 600 && r == SIM_GOING; k++)
            r = SimFrame(0, 790, 10);
        EXPECT_EQ(r, SIM_WON);
        EXPECT_LE(asked, LevelPar(level)) << "every answer is a drag of the stored win";
    }
    SimClose();
}

TEST(HintSim, ScriptedHintsLeaveTheTraceAsItWas)
{
    std::vector<SimInput> script = SimSolution("levels/level11.txt");
    ASSERT_FALSE(script.empty());
    std::string plain, hinted;
    for (size_t f = 0; f < script.size(); f++) {
        std::string line = std::to_string(script[f].button) + " " + std::to_string(script[f].x) + " " +
                           std::to_string(script[f].y) + "\n";
        plain += line;
        hinted += (f == 40 || f + 1 == script.size() / 2 ? "H\n" : "") + line;
    }
    // The trace without the HINT lines the hinted script adds.
    auto run = [](const std::string& text) {
        InScratchDir dir(true);
        WriteBytes("script.txt", Bytes(text.begin(), text.end()));
        std::string out;
        EXPECT_EQ(RunCommand("'" TOVI_SIM_BINARY "' --level 11 script.txt | grep -v '^HINT '", &out), 0);
        return out;
    };
    std::string withoutHints = run(plain);
    EXPECT_NE(withoutHints.find("WON"), std::string::npos);
    EXPECT_EQ(run(hinted), withoutHints);
}
