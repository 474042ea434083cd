#include "tests/menu_driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "app/tovi.h"
#include "level/board.h"
#include "level/retry.h"
#include "menu/game.h"
#include "menu/options.h"
#include "menu/scores.h"
#include "shell/clock.h"
#include "tests/scenario.h"

Bytes Rec(const char* name, int level, int score)
{
    Bytes b(RECORD_SIZE, 0);
    memcpy(b.data(), name, strnlen(name, NAME_SIZE));
    PutLE32(b.data() + 16, level);
    PutLE32(b.data() + 20, score);
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Players(int n)
{
    Bytes out = Rec("", 0, 0);
    for (int i = 1; i <= n; i++) {
        std::string name = "P" + std::to_string(i);
        Bytes r = Rec(name.c_str(), i, 10 * i);
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

void AnnPlays(int level, int score)
{
    SimResetState();
    InitLevel();
    WriteBytes(PLAYER_FILE, Cat({Rec("", 0, 0), Rec("Ann", level, score)}));
    ReadPlayers();
    snprintf(PlayerName, sizeof PlayerName, "Ann");
    proshli = level;
    PlayerScore = score;
}

Bytes PairOnAFloor()
{
    Bytes b(BOARD_CELLS, 0);
    for (int col = 0; col < BOARD_COLS; col++)
        b[11 * BOARD_COLS + col] = 1;
    b[10 * BOARD_COLS + 5] = 101;
    b[10 * BOARD_COLS + 7] = 101;
    return b;
}

void OwnLevelsFolder()
{
    if (unlink("media") != 0)
        throw std::runtime_error("media is not the scratch folder's link");
    mkdir("media", 0755);
    mkdir("media/levels", 0755);
}

bool LinkLevelsOnly(bool videos)
{
    mkdir("media", 0755);
    return symlink(TOVI_SOURCE_DIR "/media/levels", "media/levels") == 0 &&
           (!videos || symlink(TOVI_SOURCE_DIR "/media/video", "media/video") == 0);
}

int Step(int button, int x, int y)
{
    PushMotion(button, x, y);
    MainLoopStep();
    return level_no;
}

int Click(int x, int y)
{
    Step(0, x, y);
    Step(1, x, y);
    return Step(0, x, y);
}

void Key(int sym, int mod)
{
    PushKey(sym, mod == 0 && sym < 128 ? sym : 0, mod);
    Step(0, 20, 20);
}

// Play's steps, by motion events or (events) by SDL's button and key events
// through hand::Step, where idle parks the pointer at hand's parking place and
// fwd is hand's forward spot.
static int PlaySteps(const std::string& steps, bool events)
{
    std::stringstream in(steps);
    std::string step;
    while (std::getline(in, step, ';')) {
        char verb[8] = "", at[16] = "";
        int k = 1, x = 20, y = 20;
        if (sscanf(step.c_str(), " %7s %15s %d", verb, at, &k) < 1)
            continue;
        const std::string v = verb, a = at;
        if (v == "idle" || v == "wait")
            k = atoi(at);
        else if (a == "fwd")
            x = events ? hand::FWD_X : 700, y = events ? hand::FWD_Y : 540;
        else if (a == "play")
            x = hand::PLAY_X, y = hand::PLAY_Y;
        else if (a == "park" && events)
            x = hand::PARK_X, y = hand::PARK_Y;
        else if (a == "hud")
            x = 79, y = 566;
        else if (a.rfind("retry", 0) == 0 && a.size() == 6 && a[5] >= '1' && a[5] <= '3')
            x = Dialogritem[a[5] - '0'].x + 20, y = Dialogritem[a[5] - '0'].y + 20;
        else if (v != "key" && a != "park" && sscanf(at, "%d,%d", &x, &y) != 2)
            ADD_FAILURE() << "no such place: " << step;
        // A frame at (x, y) with the button up or down; the press or release of the button there.
        auto frame = [events](int b, int fx, int fy) { events ? hand::Motion(b, fx, fy) : (void)Step(b, fx, fy); };
        auto button = [&](bool down) { events ? hand::Press(down, x, y) : frame(down, x, y); };
        if (v == "key") {
            int sym = a == "esc" ? int(SDLK_ESCAPE) : a == "return" ? int(SDLK_RETURN) : a[0];
            if (events)
                hand::KeyPress(sym, sym == SDLK_RETURN ? '\r' : sym);
            else
                PushKey(sym, 0), MainLoopStep();
        } else if (v == "wait") {
            for (uint32_t opened = ClockTicks(); ClockTicks() - opened < DOUBLE_CLICK_MS;)
                events ? hand::Idle(1) : frame(0, 20, 20);
        } else if (v == "idle" && events) {
            hand::Idle(k);
        } else if (v == "idle" || v == "at" || v == "hold") {
            for (int i = 0; i < k; i++)
                frame(v == "hold", x, y);
        } else if (v == "press" || v == "click") {
            frame(0, x, y), button(true);
            if (v == "click")
                button(false);
        } else {
            ADD_FAILURE() << "no such step: " << step;
        }
    }
    return level_no;
}

int Play(const std::string& steps)
{
    return PlaySteps(steps, false);
}

void OpenLevel(int level)
{
    level_no = level;
    LevelStar = 1;
    cntintr = 6;
    bioret = 1;
    lmap(level);
    Step(0, 20, 20);
    Step(0, 20, 20);
}

int TreasureAt(int col)
{
    for (int i = 1; i <= ukupnot; i++)
        if (til[i].type == 101 && til[i].x == col * CELL_SIZE && til[i].y == 10 * CELL_SIZE)
            return i;
    return 0;
}

void SlideRightAway()
{
    Play("at 300,420; hold 300,420; hold 340,420 2; idle 2");
}

void WinPair()
{
    Play("at 300,420 3; hold 260,420 4");
    for (int k = 0; k < 200 && end_level == 0; k++)
        Step(0, 20, 20);
    ASSERT_EQ(end_level, 1) << "the pair met and the level was won";
}

MenuScratch::MenuScratch()
{
    dir = std::make_unique<InScratchDir>(true);
    HarnessOpen();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    ResetProfileDialog();
    SetPlayerRects();
    SetGameRects();
    renddg = renddhs = rendme = rendda = 0;
    biodg = bioda = 1;  // no fade-ins: they only slow the tests
    level_no = SCREEN_MENU;
    memset(phss, 0, sizeof phss);
}

MenuScratch::~MenuScratch()
{
    FreeMenuBackdrop();
}

int Dlg(int x, int y, int button)
{
    return RenderDialogp(x, y, button, KEY_NONE, KEY_NONE, screen);
}

int DlgClick(int x, int y)
{
    Dlg(x, y, 0);
    int r = Dlg(x, y, 1);
    if (r != SCREEN_PLAYERS)
        return r;
    return Dlg(x, y, 1);  // the release also arrives as button 1
}

int DlgKey(int sym)
{
    return RenderDialogp(tmpx, tmpy, 1, sym, sym < 128 ? sym : 0, screen);
}

int DlgType(const char* text)
{
    int r = SCREEN_PLAYERS;
    for (const char* p = text; *p; p++) {
        int ch = static_cast<unsigned char>(*p);
        int sym = ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch;
        r = RenderDialogp(tmpx, tmpy, 1, sym, ch, screen);
    }
    return r;
}

namespace hand {

void Step()
{
    if (m_bQuit)
        return;
    if (watch)
        watch(false);
    MainLoopStep();
    if (watch)
        watch(true);
}

void Motion(int button, int x, int y)
{
    PushMotion(button, x, y);
    Step();
}

void Press(bool down, int x, int y)
{
    PushButton(down, x, y);
    Step();
}

void Click(int x, int y)
{
    Motion(0, x, y);
    Press(true, x, y);
    Press(false, x, y);
}

void KeyPress(int sym, int unicode)
{
    PushKey(sym, unicode);
    Step();
}

void Type(const char* text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++)
        KeyPress(*p < 128 ? *p : 0, *p);
}

void TypeLine(const char* text)
{
    Type(text);
    KeyPress(SDLK_RETURN, '\r');
}

void Idle(int frames)
{
    for (int i = 0; i < frames && !m_bQuit; i++)
        Motion(0, PARK_X, PARK_Y);
}

void Play(const std::string& steps)
{
    PlaySteps(steps, true);
}

size_t PlayStoredWin(int level, size_t from)
{
    std::vector<SimInput> script = StoredWin(level);
    size_t f = from;
    for (; f < script.size() && end_level == 0 && level_no == level; f++)
        Motion(script[f].button, script[f].x, script[f].y);
    return f;
}

}  // namespace hand
