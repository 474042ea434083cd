#include "tests/scenario.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "shell/media.h"
#include "tests/harness.h"
#include "tools/sim/boardtext.h"

std::vector<SimInput> StoredWin(int level)
{
    return SimSolution(std::string(TOVI_SOURCE_DIR) + "/levels/level" + std::to_string(level) + ".txt");
}

SimResult PlayScript(const std::vector<SimInput>& script, size_t from, size_t to, std::vector<std::string>* lines)
{
    SimResult r = SIM_GOING;
    for (size_t i = from; i < to && i < script.size() && r == SIM_GOING; i++) {
        r = SimFrame(script[i].button, script[i].x, script[i].y);
        if (lines)
            lines->push_back(SimFrameLine(static_cast<int>(i)));
    }
    return r;
}

bool Settle(SimResult* ended)
{
    SimResult r = SIM_GOING;
    for (int i = 0; i < 800 && r == SIM_GOING; i++) {
        if (cnp != 0 && BoardAtRest() && MovingElement == 0)
            return true;
        r = SimFrame(0, 790, 10);
    }
    if (ended)
        *ended = r;
    return false;
}

namespace scenario {

static int framesPlayed = 0;
static SimResult lastResult = SIM_GOING;
static int pointerX = 0;
static int pointerY = 0;
static int effectsSeen = 0;  // EffectLogCount after the previous frame
static std::map<Mix_Chunk**, int> heard;

void LoadBoard(const std::vector<std::string>& rows)
{
    unsigned char cells[BOARD_CELLS];
    std::string error;
    ASSERT_TRUE(EncodeBoardText(rows, 1, cells, &error, BOARD_TEXT_WITH_EDGE_CODES)) << error;
    std::string dir = ScratchDir();
    std::string path = dir + "/board.bin";
    WriteBytes(path, std::vector<unsigned char>(cells, cells + BOARD_CELLS));
    HarnessOpen();
    SimStart(2, path.c_str());
    unlink(path.c_str());
    rmdir(dir.c_str());
    framesPlayed = 0;
    lastResult = SIM_GOING;
    pointerX = CellX(19);
    pointerY = CellY(0);
    ForgetSounds();
}

SimResult Frames(int k, int button, int x, int y)
{
    for (int n = 0; n < k; n++) {
        if (lastResult == SIM_FAILED || lastResult == SIM_MENU)
            return lastResult;
        pointerX = x;
        pointerY = y;
        lastResult = SimFrame(button, x, y);
        framesPlayed++;
        // Tallied per frame so that no request is lost to the log's wrap-around.
        if (EffectLogCount < effectsSeen)
            effectsSeen = 0;
        EXPECT_LE(EffectLogCount - effectsSeen, EFFECT_LOG_SIZE);
        for (; effectsSeen < EffectLogCount; effectsSeen++)
            heard[EffectLog[effectsSeen % EFFECT_LOG_SIZE]]++;
        if (lastResult != SIM_GOING)
            return lastResult;
    }
    return SIM_GOING;
}

SimResult Grab(int col, int row)
{
    // The first frame of a level loads its assets, which moves the cursor.
    SimResult r = Frames(framesPlayed == 0 ? 2 : 1, 0, CellX(col), CellY(row));
    return r != SIM_GOING ? r : Frames(1, 1, CellX(col), CellY(row));
}

SimResult Release()
{
    return Frames(1, 0, pointerX, pointerY);
}

SimResult Drag(int col, int row, int toCol, int k, bool letGo)
{
    Grab(col, row);
    SimResult r = HoldAt(toCol, row, k);
    return letGo ? Release() : r;
}

int FramesPlayed()
{
    return framesPlayed;
}

int RecordAt(int col, int row)
{
    for (int i = 1; i <= ukupnot; i++)
        if (til[i].type != 0 && til[i].x == col * CELL_SIZE && til[i].y == row * CELL_SIZE)
            return i;
    return 0;
}

int CountType(int type)
{
    int n = 0;
    for (int i = 1; i <= ukupnot; i++)
        n += til[i].type == type;
    return n;
}

int Heard(Mix_Chunk** handle)
{
    auto it = heard.find(handle);
    return it == heard.end() ? 0 : it->second;
}

void ForgetSounds()
{
    heard.clear();
    effectsSeen = EffectLogCount;
}

}  // namespace scenario
