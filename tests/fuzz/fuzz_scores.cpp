// "highscore.dat" and "player.dat" through the recording of a finished level:
// the current player's progress is stored, the high scores merged and the
// high-score screen drawn from the file the merge left.
//
// Input: two bytes (little-endian) the length of "highscore.dat" and its bytes,
// two bytes the length of "player.dat" and its bytes, a byte choosing the
// current player, four bytes the points the level added to their score.
#include <cstdint>
#include <cstring>

#include "menu/menu.h"
#include "menu/players.h"
#include "menu/scores.h"
#include "progress/players.h"
#include "progress/scores.h"
#include "shell/screen.h"
#include "tests/fuzz/fuzz_common.h"

static constexpr size_t MAX_FILE = 24 * 64;

int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    return 0;
}

static std::vector<uint8_t> Piece(FuzzReader& in)
{
    size_t length = static_cast<size_t>(in.Word16());
    return in.Take(length < MAX_FILE ? length : MAX_FILE);
}

static void CheckTable()
{
    std::vector<uint8_t> file = ReadBytes(HISCORE_FILE);
    FUZZ_CHECK(file.size() == HS_RECORDS * RECORD_SIZE);
    PlayerRecord rows[HS_RECORDS];
    FUZZ_CHECK(ReadRecords(HISCORE_FILE, rows, HS_RECORDS) == HS_RECORDS);
    FUZZ_CHECK(rows[0].name[0] == 0 && rows[0].level == 0 && rows[0].score == 0);
    for (int k = 1; k <= HS_ROWS; k++) {
        FUZZ_CHECK(rows[k].score >= 0 && rows[k].score <= SCORE_MAX);
        FUZZ_CHECK(rows[k].level == 0);
        FUZZ_CHECK(rows[k].name[0] != 0 || rows[k].score == 0);
        if (k > 1)
            FUZZ_CHECK(rows[k].score <= rows[k - 1].score);
    }
}

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    WriteBytes(HISCORE_FILE, Piece(in));
    WriteBytes(PLAYER_FILE, Piece(in));
    int chosen = in.Byte();
    int points = in.Word32();

    ReadPlayers();
    LoadPlayer(ukupl > 0 ? 1 + chosen % ukupl : 0, 0);
    // What a finished level records: the next level and the score with the
    // level's points added, as the level screen adds them. The level played is
    // a level's code, so the next one never goes past the last code (a file may
    // hold any number).
    if (proshli >= 0 && proshli < SCREEN_LAST_LEVEL)
        proshli += 1;
    PlayerScore = AddScore(PlayerScore, points);
    izmp = 1;
    biljezi();
    CheckTable();
    FUZZ_CHECK(izmp == 0);
    FUZZ_CHECK(ReadBytes(PLAYER_FILE).size() % RECORD_SIZE == 0);

    // The screen's first redraw shows the merge, the next ones re-read the file.
    FreeMenuBackdrop();
    renddhs = 0;
    mousechk = 1;
    PlayerRecord merged[HS_RECORDS];
    memcpy(merged, phss, sizeof merged);
    for (int k = 0; k < 3; k++)
        FUZZ_CHECK(RenderDialogHS(300, 300, 0, KEY_NONE, KEY_NONE, screen) == SCREEN_SCORES);
    FUZZ_CHECK(memcmp(merged, phss, sizeof merged) == 0);
    FUZZ_CHECK(RenderDialogHS(700, 540, 1, KEY_NONE, KEY_NONE, screen) == SCREEN_MENU);
    FreeMenuBackdrop();
    return 0;
}
