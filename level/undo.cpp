#include "level/undo.h"

#include <atomic>
#include <thread>

#include "level/level.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/screen.h"

int undoCount = 0;
int levelMoves = 0;
int undoEpoch = 0;

// A move: the level's state just before its grab, and the tick it was taken at.
struct UndoEntry {
    LevelState state;
    uint32_t tick;
};

static UndoEntry undoStack[UNDO_DEPTH];
static int undoTop = 0;                          // slot the next move goes into (a ring once full)
static UndoEntry pending;                        // the state at the start of the latest frame that grabbed
static bool pendingFresh = false;                // pending is a grab's start that has not slid yet
static std::atomic<std::thread::id> gameThread;  // the thread that loaded the level

int OnGameThread()
{
    return std::this_thread::get_id() == gameThread.load() ? 1 : 0;
}

void UndoReset()
{
    undoCount = undoTop = levelMoves = 0;
    pendingFresh = false;
    undoEpoch++;
    gameThread = std::this_thread::get_id();
}

void UndoFrameStart(int grabs)
{
    if (proslie != 0 || !OnGameThread())
        return;  // a drag goes on: its grab's state is kept
    // Only a grab's start can become a move: a frame that grabs nothing leaves
    // nothing to keep, and the copy (the whole state) is not taken.
    pendingFresh = grabs != 0;
    if (!pendingFresh)
        return;
    LevelSave(&pending.state);
    pending.tick = ClockTicks();
}

void UndoNoteSlide()
{
    if (!pendingFresh || !OnGameThread())
        return;
    pendingFresh = false;
    undoStack[undoTop] = pending;
    undoTop = (undoTop + 1) % UNDO_DEPTH;
    if (undoCount < UNDO_DEPTH)
        undoCount++;
    levelMoves++;
}

static int MagnetRecord()
{
    for (int i = 1; i <= ukupnot && i < TIL_SIZE; i++)
        if (til[i].type == EL_MAGNET)
            return i;
    return 0;
}

int BoardAtRest()
{
    if (MovingElement != 0 || proslie != 0)
        return 0;
    if (telex != 0 || spiked != 0 || raspad != 0 || movsp != 0 || probo != 0)
        return 0;
    int magnet = imeUP ? MagnetRecord() : 0;
    for (int i = 1; i <= ukupnot && i < TIL_SIZE; i++) {
        const TileRecord& t = til[i];
        if (!IsMovable(t.type))
            continue;
        if (i == imeUP) {
            if (magnet == 0 || t.y != til[magnet].y + CELL_SIZE)
                return 0;
            continue;
        }
        if (!HeldUp(i))
            return 0;
        // An element standing in a spike pit dies when the spikes come up.
        if (t.type != EL_BLOCK)
            for (int j = 1; j <= ukupnot && j < TIL_SIZE; j++)
                if (til[j].type == EL_SPIKES && til[j].x == t.x && til[j].y == t.y)
                    return 0;
    }
    return 1;
}

// A tick of the copy, moved on by the time since it was taken; 0 stays "not started".
static int Shifted(int tick, uint32_t since)
{
    return tick == 0 ? 0 : tick + static_cast<int>(since);
}

static void Restore(const UndoEntry& e)
{
    LevelState now;
    LevelSave(&now);
    LevelLoad(e.state);
    // What is not the board's stays as it is now.
#define UNDO_KEEP(name) name = now.name;
    UNDO_KEEP(but)
    UNDO_KEEP(ToviMouseX) UNDO_KEEP(ToviMouseY) UNDO_KEEP(ToviRelativeMouseX) UNDO_KEEP(ToviRelativeMouseY)
        UNDO_KEEP(kkeyk) UNDO_KEEP(mousechk) UNDO_KEEP(LevelStar) UNDO_KEEP(dple) UNDO_KEEP(dead) UNDO_KEEP(level_no)
            UNDO_KEEP(biodr) UNDO_KEEP(prikpp) UNDO_KEEP(renddr) UNDO_KEEP(dplev) UNDO_KEEP(startTicks)
                UNDO_KEEP(mousec) UNDO_KEEP(mousenomoved) UNDO_KEEP(mousenomovel) UNDO_KEEP(brss)
                    UNDO_KEEP(play_menu_music) UNDO_KEEP(LEVEL_TIMER) UNDO_KEEP(LEVEL_TIME) UNDO_KEEP(rendle)
                        UNDO_KEEP(tovita) UNDO_KEEP(tovitad) UNDO_KEEP(tovii) UNDO_KEEP(cntintr) UNDO_KEEP(cntgh)
                            UNDO_KEEP(biointo) UNDO_KEEP(bioret) UNDO_KEEP(ashcrystal) UNDO_KEEP(psi) UNDO_KEEP(pma)
                                UNDO_KEEP(pash) UNDO_KEEP(mpk) UNDO_KEEP(finalpart) UNDO_KEEP(finalpartt)
                                    UNDO_KEEP(proshli) UNDO_KEEP(PlayerScore) UNDO_KEEP(izmp) UNDO_KEEP(clock_virtual)
#undef UNDO_KEEP
                                        clock_now = now.clockNow;
    uint32_t since = ClockTicks() - e.tick;
    startt = Shifted(startt, since);
    gett = Shifted(gett, since);
    movtim = Shifted(movtim, since);
    movtel = Shifted(movtel, since);
    movsp = Shifted(movsp, since);
    movspr = Shifted(movspr, since);
    parttim = Shifted(parttim, since);
    pendingFresh = false;
}

static UndoResult PopMove()
{
    if (undoCount == 0)
        return UNDO_NOTHING;
    undoTop = (undoTop + UNDO_DEPTH - 1) % UNDO_DEPTH;
    undoCount--;
    if (levelMoves > 0)
        levelMoves--;
    Restore(undoStack[undoTop]);
    undoEpoch++;
    return UNDO_DONE;
}

UndoResult UndoMove()
{
    if (end_level != 0 || cnp == 0)
        return UNDO_NOTHING;
    if (!BoardAtRest())
        return UNDO_BUSY;
    return PopMove();
}

UndoResult UndoLostMove()
{
    return PopMove();
}
