#include "tools/sim/simcore.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "level/level.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/screen.h"
#include "text/text.h"

static SDL_Surface* simScreen = nullptr;

int SimOpen()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ClockUseVirtual();
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_Init(SDL_INIT_VIDEO) < 0)
        return 0;
    // The simulator runs silent: whether a sound is still playing would make the
    // run depend on the speed of the machine.
    simScreen = SDL_SetVideoMode(SCREEN_W, SCREEN_H, SCREEN_BPP, 0);
    screen = simScreen;
    if (!screen)
        return 0;
    if (!fPicture)
        LoadFonts();
    return 1;
}

void SimClose()
{
    SDL_Quit();
    screen = simScreen = nullptr;
}

static std::string scratchDir;  // the folder SimEnterScratch made; removed at exit

static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

static void RemoveScratch()
{
    if (!scratchDir.empty() && chdir("/") == 0)
        nftw(scratchDir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void SimEnterScratch(const char* name)
{
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/tovi-" + name + "-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()) || chdir(buf.data()) != 0) {
        fprintf(stderr, "tovi-%s: scratch folder: %s\n", name, strerror(errno));
        exit(1);
    }
    scratchDir = buf.data();
    atexit(RemoveScratch);
}

void SimForgetScratch()
{
    scratchDir.clear();
}

const char* SimToolStart(int argc, char* argv[], const char* name, const char* what)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s %s\n", name, what);
        return nullptr;
    }
    if (!SimOpen()) {
        fprintf(stderr, "%s: cannot start SDL\n", name);
        return nullptr;
    }
    return argv[1];
}

// Every global that level play touches, as it stands when the program starts.
static void ProgramStartState()
{
    LEVEL_STATE_INTS(LEVEL_STATE_AT_START)
    bioinitl = 0;
    Cursor = SDL_Rect{0, 0, 0, 0};
    for (int& s : spikeds)
        s = 0;
    ClockUseVirtual();
}

void SimResetState()
{
    ProgramStartState();
}

void SimStart(int level, const char* path)
{
    ProgramStartState();
    cntintr = 6;
    bioret = 1;
    level_no = level;
    LevelStar = 1;
    if (path)
        lmap_from(level, path);
    else
        lmap(level);
    proshli = 0;
}

SimResult SimFrame(int button, int x, int y)
{
    but = button;
    ToviMouseX = x;
    ToviMouseY = y;
    int r = ProcLevel(screen, button, x, y, 0, 0, LevelStar, 0);
    if (r == SCREEN_RETRY)
        return SIM_FAILED;
    int wasEnded = end_level;
    LevelStar = RendLevel(screen, x, y, button, KEY_NONE, LevelStar, 0);
    if (LevelStar == SCREEN_RETRY)
        return SIM_MENU;
    if (wasEnded == 0 && end_level == 1)
        return SIM_WON;
    return SIM_GOING;
}

std::string SimFrameLine(int frame)
{
    char head[96];
    snprintf(head, sizeof head, "%d poen=%d cnp=%d end=%d drag=%d til=", frame, poen, cnp, end_level, proslie);
    std::string line = head;
    for (int i = 1; i <= ukupnot; i++) {
        char rec[64];
        snprintf(rec, sizeof rec, "%s%d,%d,%d,%d", i > 1 ? ";" : "", til[i].type, til[i].x, til[i].y, til[i].state);
        line += rec;
    }
    return line;
}

void PushMotion(int button, int x, int y)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.state = static_cast<Uint8>(button);
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    SDL_PushEvent(&e);
}

void PushButton(bool down, int x, int y)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    SDL_PushEvent(&e);
}

void PushKey(int sym, int unicode, int mod)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    e.key.keysym.mod = static_cast<SDLMod>(mod);
    e.key.keysym.unicode = static_cast<Uint16>(unicode);
    SDL_PushEvent(&e);
}

std::vector<SimInput> SimSolution(const std::string& path)
{
    std::ifstream f(path);
    std::vector<SimInput> frames;
    std::string line;
    bool inScript = false;
    while (std::getline(f, line)) {
        if (!inScript) {
            inScript = line == "solution:";
            continue;
        }
        std::istringstream in(line);
        int b, x, y, k = 1;
        if (!(in >> b >> x >> y))
            continue;
        if (!(in >> k))
            k = 1;
        for (int i = 0; i < k && i < 100000; i++)
            frames.push_back({b, x, y});
    }
    return frames;
}

void SimSave(SimState* s)
{
    LevelSave(s);
}

void SimLoad(const SimState& s)
{
    LevelLoad(s);
}
