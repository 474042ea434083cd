#include "tests/scenario.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "shell/media.h"
#include "tests/harness.h"

namespace scenario {

static const int SCENARIO_LEVEL = 2;  // not the first of its chapter: no chapter picture first
static const int PARK_COL = 19;       // where Idle leaves the pointer: the top-right cell
static const int PARK_ROW = 0;

static int framesPlayed = 0;
static SimResult lastResult = SIM_GOING;
static int pointerX = 0;
static int pointerY = 0;
static int effectsSeen = 0;  // EffectLogCount as it stood after the previous frame
static std::map<Mix_Chunk**, int> heard;

static int TypeOf(char c)
{
    if (c == '.')
        return 0;
    if (c == '#')
        return 1;
    if (c >= 'a' && c <= 't')
        return 101 + (c - 'a');
    switch (c) {
    case 'z': return 100;
    case 'B': return EL_BLOCK;
    case 'H': return EL_LIFT_H;
    case 'V': return EL_LIFT_V;
    case 'M': return EL_MUD;
    case 'T': return EL_TELE_IN;
    case 'O': return EL_TELE_OUT;
    case 'P': return EL_BUTTON;
    case 'G': return EL_MAGNET;
    case 'C': return EL_CRUMBLE;
    case 'S': return EL_SPIKES;
    default: return -1;
    }
}

void LoadBoard(const std::vector<std::string>& rows)
{
    ASSERT_LE(rows.size(), static_cast<size_t>(BOARD_ROWS)) << "a board has 12 rows";
    std::vector<unsigned char> bytes(BOARD_CELLS, 0);
    int top = BOARD_ROWS - static_cast<int>(rows.size());
    for (size_t r = 0; r < rows.size(); r++) {
        ASSERT_EQ(rows[r].size(), static_cast<size_t>(BOARD_COLS)) << "row " << r << ": " << rows[r];
        for (int c = 0; c < BOARD_COLS; c++) {
            int type = TypeOf(rows[r][c]);
            ASSERT_GE(type, 0) << "unknown board character '" << rows[r][c] << "'";
            bytes[(top + static_cast<int>(r)) * BOARD_COLS + c] = static_cast<unsigned char>(type);
        }
    }

    std::string dir = ScratchDir();
    std::string path = dir + "/board.bin";
    WriteBytes(path, bytes);
    HarnessOpen();
    SimStart(SCENARIO_LEVEL, path.c_str());
    unlink(path.c_str());
    rmdir(dir.c_str());

    framesPlayed = 0;
    lastResult = SIM_GOING;
    pointerX = CellX(PARK_COL);
    pointerY = CellY(PARK_ROW);
    ForgetSounds();
}

// Adds the effects asked for during the frame just played to the tally.
static void TallySounds()
{
    if (EffectLogCount < effectsSeen)
        effectsSeen = 0;  // someone cleared the log
    int fresh = EffectLogCount - effectsSeen;
    EXPECT_LE(fresh, EFFECT_LOG_SIZE) << "more effects in one frame than the log keeps";
    for (int n = effectsSeen; n < EffectLogCount; n++)
        heard[EffectLog[n % EFFECT_LOG_SIZE]]++;
    effectsSeen = EffectLogCount;
}

SimResult Frame(int button, int x, int y)
{
    if (lastResult == SIM_FAILED || lastResult == SIM_MENU)
        return lastResult;
    pointerX = x;
    pointerY = y;
    lastResult = SimFrame(button, x, y);
    framesPlayed++;
    TallySounds();
    return lastResult;
}

SimResult Frames(int k, int button, int x, int y)
{
    SimResult r = SIM_GOING;
    for (int n = 0; n < k && r == SIM_GOING; n++)
        r = Frame(button, x, y);
    return r;
}

SimResult Idle(int k)
{
    return Frames(k, 0, CellX(PARK_COL), CellY(PARK_ROW));
}

SimResult Grab(int col, int row)
{
    if (framesPlayed == 0)
        Frame(0, CellX(col), CellY(row));
    SimResult r = Frame(0, CellX(col), CellY(row));
    if (r != SIM_GOING)
        return r;
    return Frame(1, CellX(col), CellY(row));
}

SimResult HoldAt(int col, int row, int k)
{
    return Frames(k, 1, CellX(col), CellY(row));
}

SimResult Release()
{
    return Frame(0, pointerX, pointerY);
}

int FramesPlayed()
{
    return framesPlayed;
}

int CellX(int col)
{
    return col * CELL_SIZE + CELL_SIZE / 2;
}

int CellY(int row)
{
    return row * CELL_SIZE + CELL_SIZE / 2;
}

int PixX(int col)
{
    return col * CELL_SIZE;
}

int PixY(int row)
{
    return row * CELL_SIZE;
}

int RecordAt(int col, int row)
{
    for (int i = 1; i <= ukupnot; i++)
        if (til[i].type != 0 && til[i].x == PixX(col) && til[i].y == PixY(row))
            return i;
    return 0;
}

int FindType(int type)
{
    for (int i = 1; i <= ukupnot; i++)
        if (til[i].type == type)
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

const TileRecord& Rec(int i)
{
    return til[i];
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
