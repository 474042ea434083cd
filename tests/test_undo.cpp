// Undo on boards with every mechanic: taking a move back and making it again
// plays exactly as if it had never been taken back; all the way back is the
// board as loaded; a lost level's last move can be taken back and played on.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "progress/players.h"
#include "tests/harness.h"
#include "tests/scenario.h"

using namespace scenario;

namespace {

// The first level whose board has the mechanic's character, and its stored win.
int LevelWith(char mechanic, std::vector<SimInput>* solution)
{
    for (int n = 1; n <= LAST_LEVEL; n++) {
        std::ifstream f(std::string(TOVI_SOURCE_DIR) + "/levels/level" + std::to_string(n) + ".txt");
        std::string line;
        bool found = false;
        for (int row = 0; std::getline(f, line) && line != "solution:"; row++)
            found = found || (row > 0 && line.find(mechanic) != std::string::npos);
        if (found) {
            *solution = StoredWin(n);
            return n;
        }
    }
    return 0;
}

// For every move k of a level's stored win (but its last, after which the level
// is won and nothing can be taken back): play to the end of move k, take it
// back, and play on from its grab with the same input. The frames from there
// must be those of the play that never took anything back, to the win.
void UndoEveryMove(char mechanic)
{
    std::vector<SimInput> f;
    int level = LevelWith(mechanic, &f);
    ASSERT_NE(level, 0) << "no level has '" << mechanic << "'";
    SCOPED_TRACE("level " + std::to_string(level));
    std::vector<size_t> start;  // each move's grab frame
    for (size_t i = 1; i < f.size(); i++)
        if (f[i].button == 1 && f[i - 1].button == 0)
            start.push_back(i);
    std::vector<std::string> straight;
    HarnessOpen();
    // No player: the wins played here in the source tree record no best results.
    PlayerName[0] = '\0';
    SimStart(level, nullptr);
    ASSERT_EQ(PlayScript(f, 0, f.size(), &straight), SIM_WON);
    EXPECT_EQ(UndoMove(), UNDO_NOTHING) << "a won level takes nothing back";
    // The first moves of each; every move plays alike, and a long level would
    // only cost time.
    for (size_t k = 0; k + 1 < start.size() && k < 3; k++) {
        SCOPED_TRACE("move " + std::to_string(k + 1));
        SimStart(level, nullptr);
        ASSERT_EQ(PlayScript(f, 0, start[k + 1]), SIM_GOING);
        EXPECT_EQ(levelMoves, static_cast<int>(k + 1));
        ASSERT_EQ(UndoMove(), UNDO_DONE);
        std::vector<std::string> again;
        EXPECT_EQ(PlayScript(f, start[k], f.size(), &again), SIM_WON);
        EXPECT_EQ(again, std::vector<std::string>(straight.begin() + start[k], straight.end()));
    }
}

}  // namespace

TEST(Undo, EveryMoveOnBoardsWithEachMechanic)
{
    // a platform ride, the teleport, mud, the magnet, a crumbling block, spikes
    for (char mechanic : {'H', 'V', 'T', 'M', 'G', 'C', 'S'})
        UndoEveryMove(mechanic);
}

// A spike kill loses the level; taken back, the board plays on to a win.
TEST(Undo, SpikeKillTakenBack)
{
    LoadBoard({
        "....................",
        "..a.S.a.............",  // row 10
        "####################",
    });
    Drag(2, 10, 4, 3, true);
    ASSERT_EQ(Idle(400), SIM_FAILED);
    ASSERT_EQ(UndoLostMove(), UNDO_DONE);
    EXPECT_EQ(UndoLostMove(), UNDO_NOTHING);
    ASSERT_EQ(CountType(101), 2);
    // The scenario's frames stop at the loss; from here the simulator plays on.
    SimResult r = SimFrame(0, CellX(6), CellY(10));
    for (int n = 0; n < 4 && r == SIM_GOING; n++)
        r = SimFrame(1, CellX(3), CellY(10));
    for (int n = 0; n < 200 && r == SIM_GOING; n++)
        r = SimFrame(0, CellX(19), CellY(0));
    EXPECT_EQ(r, SIM_WON);
}

// Refusals: nothing to take back at the start or after a grab that slid nothing;
// not while an element is held or falling. All the way back, the moves and the
// score are the loaded board's (what each move restores: EveryMoveOnBoardsWithEachMechanic).
TEST(Undo, RefusedWhileBusyAndBackToTheStart)
{
    std::vector<std::string> board = {
        "....c...............",  // row 7
        "....#...............", "....................",
        "a..a..b.....c.b.....",  // row 10
        "####################",
    };
    LoadBoard(board);
    int loadedPoen = poen;
    Idle(5);
    EXPECT_EQ(UndoMove(), UNDO_NOTHING);
    Grab(6, 10);
    Release();
    EXPECT_EQ(UndoMove(), UNDO_NOTHING) << "a grab that slid nothing is no move";
    Drag(6, 10, 8, 3);
    EXPECT_EQ(UndoMove(), UNDO_BUSY) << "held";
    Release();
    Drag(4, 7, 5, 1, true);
    EXPECT_EQ(UndoMove(), UNDO_BUSY) << "falling";
    Idle(40);
    Drag(0, 10, 2, 4, true);
    Idle(20);
    EXPECT_EQ(std::make_tuple(poen, levelMoves), std::make_tuple(90, 3));
    for (int k = 0; k < 3; k++)
        EXPECT_EQ(UndoMove(), UNDO_DONE);
    EXPECT_EQ(UndoMove(), UNDO_NOTHING);
    EXPECT_EQ(std::make_tuple(levelMoves, poen), std::make_tuple(0, loadedPoen));
}
