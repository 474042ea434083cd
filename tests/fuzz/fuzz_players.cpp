// "player.dat" and the profile dialog on it: whatever the file holds, the
// dialog opens on it, takes a player's clicks and keys, saves, closes and opens
// again on the file it left.
//
// Nothing is drawn (DrawingOff): the dialog decides as it would drawing.
//
// Input: two bytes (little-endian) the length of "player.dat", its bytes, then
// events of four bytes: the kind and three arguments. A kind is a pointer move,
// a press, a release, a key (Backspace, Return, the arrows or a typed
// character), the per-frame tick, or a click on one of the dialog's controls.
#include <SDL.h>

#include <cstdint>
#include <cstring>

#include "menu/menu.h"
#include "menu/players.h"
#include "progress/players.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "tests/fuzz/fuzz_common.h"
#include "tests/menu_driver.h"

static constexpr size_t MAX_FILE = 24 * 64;  // a longer file is cut here
static constexpr int MAX_EVENTS = 400;

// Where the controls answer: New, Edit, Delete, OK, Cancel, page up and down,
// list rows 1..5.
static const int Spot[][2] = {{270, 180}, {400, 180}, {520, 180}, {300, 400}, {480, 400}, {555, 240},
                              {555, 340}, {300, 220}, {300, 250}, {300, 280}, {300, 310}, {300, 340}};
static const int SpecialKey[] = {SDLK_BACKSPACE, SDLK_RETURN, SDLK_UP, SDLK_DOWN, SDLK_KP_ENTER, SDLK_ESCAPE};

int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    DrawingOff = 1;  // the checks read the dialog's state and files, never a frame
    SetPlayerRects();
    return 0;
}

static void CheckDialog()
{
    FUZZ_CHECK(ukupl >= 0 && ukupl <= MAX_PLAYERS);
    FUZZ_CHECK(plsel >= 0 && plsel <= ukupl + 1);
    FUZZ_CHECK(strlen(nizc) <= static_cast<size_t>(NAME_MAX));
    FUZZ_CHECK(strlen(PlayerName) <= static_cast<size_t>(NAME_MAX));
    FUZZ_CHECK(PlayerScore >= 0 && PlayerScore <= SCORE_MAX);
    for (int i = 1; i <= ukupl; i++)
        FUZZ_CHECK(memchr(pin[i].name, 0, NAME_SIZE) != nullptr);
}

static std::vector<uint8_t> given;  // "player.dat" as the input gave it

// What a closed dialog saved: whole records, the placeholder first.
static void CheckFiles()
{
    bool exists = false;
    std::vector<uint8_t> file = ReadBytes(PLAYER_FILE, &exists);
    if (!exists || file == given)
        return;
    FUZZ_CHECK(file.size() % RECORD_SIZE == 0);
    FUZZ_CHECK(file.size() / RECORD_SIZE <= static_cast<size_t>(PLAYER_SLOTS));
    for (size_t k = 0; k < RECORD_SIZE && !file.empty(); k++)
        FUZZ_CHECK(file[k] == 0);
    std::vector<uint8_t> config = ReadBytes(CONFIG_FILE, &exists);
    if (exists)
        FUZZ_CHECK(config.size() == POD_WORDS * 4);
}

static int Call(int x, int y, int button, int key, int character)
{
    int r = RenderDialogp(x, y, button, key, character, screen);
    CheckDialog();
    if (r != SCREEN_PLAYERS)
        CheckFiles();
    return r;
}

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    size_t length = static_cast<size_t>(in.Word16());
    given = in.Take(length < MAX_FILE ? length : MAX_FILE);
    WriteBytes(PLAYER_FILE, given);
    remove(CONFIG_FILE);
    ResetProfileDialog();

    for (int n = 0; n < MAX_EVENTS && !in.empty(); n++) {
        int kind = in.Byte() % 6;
        int a = in.Byte(), b = in.Byte(), third = in.Byte();
        int x = a * SCREEN_W / 256, y = b * SCREEN_H / 256;
        if (kind <= 2) {
            Call(x, y, kind == 0 ? third & 1 : kind == 1, KEY_NONE, KEY_NONE);
        } else if (kind == 3) {
            int key = a & 1 ? SpecialKey[third % (sizeof SpecialKey / sizeof SpecialKey[0])] : third;
            Call(tmpx, tmpy, 1, key, a & 1 ? 0 : third);
        } else if (kind == 4) {
            Call(tmpx, tmpy, 0, KEY_NONE, KEY_NONE);
        } else {
            const int* spot = Spot[third % (sizeof Spot / sizeof Spot[0])];
            Call(spot[0], spot[1], 1, KEY_NONE, KEY_NONE);
            Call(spot[0], spot[1], 0, KEY_NONE, KEY_NONE);
        }
    }
    FreeMenuBackdrop();
    return 0;
}
