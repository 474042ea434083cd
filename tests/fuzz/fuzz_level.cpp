// A level file, then a player's hand on it: the board is loaded as the game
// loads a level and played frame by frame, logic and drawing, on the virtual
// clock.
//
// Nothing is drawn (DrawingOff): every frame decides as it would drawing.
//
// A held step ends early once a frame changes nothing but the clock: the board
// has settled, nothing moves, and the same hand would only repeat that frame.
//
// Input: one byte picks the level number (1..100: its chapter, its rules), one
// byte whether the player brings a stored score and four bytes that score, 240
// bytes the board, then steps of three bytes: the button (bit 0) held for 1..32
// frames (bits 1..5), the pointer's x and y scaled to the screen.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "level/level.h"
#include "level/snapshot.h"
#include "menu/players.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/screen.h"
#include "tests/fuzz/fuzz_common.h"
#include "tools/sim/simcore.h"

static constexpr int MAX_FRAMES = 1500;  // a step list longer than this is cut
static constexpr const char* BOARD_FILE = "fuzz-level.bin";

int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    DrawingOff = 1;  // the checks read the board, never a frame
    return 0;
}

static void CheckBoard()
{
    FUZZ_CHECK(ukupnot >= 0 && ukupnot < TIL_SIZE);
    FUZZ_CHECK(poen >= 0 && poen <= SCORE_MAX);
    FUZZ_CHECK(cnp >= 0 && cnp <= ukupnot);
    FUZZ_CHECK(uiznad >= 0 && uiznad < STACK_SIZE);
}

// The level's state with what only tells the time (the clocks, the frame
// counters, the moments the pointer last moved) left out, and of the board only
// its records in play: no rule writes a record beyond ukupnot.
struct Untimed {
    LevelState s;
    int records;  // ukupnot
};

static void SaveUntimed(Untimed* u)
{
    LevelState* s = &u->s;
#define FUZZ_SAVE_INT(name, atStart, atLoad) s->name = name;
    LEVEL_STATE_INTS(FUZZ_SAVE_INT)
#undef FUZZ_SAVE_INT
    s->startt = s->gett = s->startTicks = s->brss = s->LEVEL_TIME = 0;
    s->mousenomoved = s->mousenomovel = 0;
    s->FrameNo = s->vfrm = s->pfrm = s->clock_virtual = 0;
    const int cursor[4] = {Cursor.x, Cursor.y, Cursor.w, Cursor.h};
    memcpy(s->cursor, cursor, sizeof cursor);
    u->records = ukupnot;
    memcpy(s->til, til, static_cast<size_t>(ukupnot + 1) * sizeof til[0]);
    memcpy(s->par, par, sizeof par);
    memcpy(s->iznad, iznad, sizeof iznad);
    memcpy(s->gimasu, gimasu, sizeof gimasu);
    memcpy(s->spikeds, spikeds, sizeof spikeds);
}

static bool SameUntimed(const Untimed& a, const Untimed& b)
{
    const LevelState& x = a.s;
    const LevelState& y = b.s;
    const char* tail = reinterpret_cast<const char*>(&x.par);
    size_t tailSize = sizeof x - static_cast<size_t>(tail - reinterpret_cast<const char*>(&x));
    return a.records == b.records && memcmp(&x, &y, offsetof(LevelState, til)) == 0 &&
           memcmp(x.til, y.til, static_cast<size_t>(a.records + 1) * sizeof x.til[0]) == 0 &&
           memcmp(&x.par, &y.par, tailSize) == 0;
}

static Untimed states[2];  // the state before and after the last frame

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    int level = 1 + in.Byte() % 100;
    bool stored = in.Byte() & 1;
    int score = in.Word32();
    const uint8_t* board = in.Next();
    WriteBytes(BOARD_FILE, std::vector<uint8_t>(board, board + in.Skip(BOARD_CELLS)));

    SimStart(level, BOARD_FILE);
    if (stored) {
        // The level a player continues: the stored score becomes the level's.
        proshli = level;
        PlayerScore = ClampScore(score);
        lmap_from(level, BOARD_FILE);
        proshli = 0;
    }
    CheckBoard();
    int frames = 0;
    int last = 0;  // states[last] is the state before the frame, in a step held longer than one
    while (!in.empty() && frames < MAX_FRAMES) {
        int flags = in.Byte();
        int x = in.Byte() * SCREEN_W / 256;
        int y = in.Byte() * SCREEN_H / 256;
        int hold = 1 + (flags >> 1) % 32;
        if (hold > 1)
            SaveUntimed(&states[last]);
        for (int k = 0; k < hold && frames < MAX_FRAMES; k++) {
            frames++;
            SimResult r = SimFrame(flags & 1, x, y);
            CheckBoard();
            if (r != SIM_GOING)
                return 0;
            if (k + 1 == hold)
                break;
            SaveUntimed(&states[1 - last]);
            bool settled = SameUntimed(states[0], states[1]);
            last = 1 - last;
            if (settled)
                break;
        }
    }
    return 0;
}
