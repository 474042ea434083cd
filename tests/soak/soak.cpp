// The soak and the kill test: the whole game, started as a process starts it and
// driven through the real dispatcher by the events a player's hand makes.
//
//   tovi-soak soak ITERATIONS [SEED]
//       sessions of random input over every screen, each a fresh process that
//       starts on the files the one before left; every other session first plays
//       a chapter's last level by its stored solution into the relic sequence
//       (the last chapter's into the ending and the credits). ITERATIONS counts
//       the main-loop iterations of all sessions together. A session fails on
//       a crash, a sanitizer report, a leak, a hang or a file the next start
//       could not read.
//   tovi-soak kill KILLS [SEED]
//       a process that saves through the real screens without end (the profile
//       dialog, the options, the recording after a level) is killed with SIGKILL
//       at a random moment, KILLS times; after each kill every data file must be
//       the old one or a whole new one, and the next start must be clean.
//
// Both work in a scratch folder with the game's levels and videos; pictures and
// sounds stay away so the screens run at the speed of their own code (the
// --art option links the whole media instead). Exit status 0 when clean, 1 on a
// finding, 2 on bad usage.
#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/tovi.h"
#include "level/level.h"
#include "progress/best.h"
#include "progress/players.h"
#include "progress/scores.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/files.h"
#include "tests/menu_driver.h"
#include "video/video.h"

namespace {

constexpr int SESSION_STEPS = 300;    // random inputs of one soak session
constexpr int PATIENCE = 120;         // iterations a player stays on one screen before looking for the way out
constexpr int SESSION_LIMIT_S = 300;  // a session longer than this (wall time) hangs
constexpr const char* JOURNEY_NAME = "SOAK";
constexpr const char* DataFiles[] = {CONFIG_FILE, PLAYER_FILE, HISCORE_FILE};
// Every file the game saves; a save to any other is a finding of its own.
constexpr const char* SavedFiles[] = {CONFIG_FILE, PLAYER_FILE, HISCORE_FILE, DISPLAY_FILE, BEST_FILE};

bool withArt = false;
using hand::Click, hand::Idle, hand::KeyPress, hand::Motion, hand::Step;
using namespace hand;

// ---- the scratch folder ----------------------------------------------------------

void EnterScratch()
{
    SimEnterScratch("soak");
    if (!(withArt ? symlink(TOVI_SOURCE_DIR "/media", "media") == 0 : LinkLevelsOnly(true))) {
        perror("tovi-soak: media");
        exit(1);
    }
}

// ---- the files a next start reads ------------------------------------------------

// A file's bytes and whether it is there.
struct Content {
    bool exists;
    std::vector<unsigned char> bytes;
};
Content Slurp(const char* path)
{
    return Content{access(path, F_OK) == 0, ReadBytes(path)};
}

// What is wrong with a data file as a next start would read it; empty when it is
// whole (a missing file is whole: the game starts without it).
std::string FileFault(const char* name)
{
    if (access(name, F_OK) != 0)
        return "";
    const Bytes b = ReadBytes(name);
    std::string file = name + (" holds " + std::to_string(b.size()) + " bytes, not ");
    if (strcmp(name, CONFIG_FILE) == 0)
        return b.size() == POD_WORDS * 4 ? "" : file + "20";
    if (b.size() % RECORD_SIZE != 0)
        return file + "whole records";
    if (strcmp(name, HISCORE_FILE) == 0 && b.size() != HS_RECORDS * RECORD_SIZE)
        return file + "six records";
    if (!b.empty() && Bytes(b.begin(), b.begin() + RECORD_SIZE) != Bytes(RECORD_SIZE, 0))
        return name + std::string(": the placeholder record is not empty");
    for (size_t at = RECORD_SIZE; at < b.size(); at += RECORD_SIZE)
        if (GetLE32(b.data() + at + 20) < 0 || GetLE32(b.data() + at + 20) > SCORE_MAX)
            return name + (": record " + std::to_string(at / RECORD_SIZE) + " has a score out of range");
    return "";
}

std::string TemporaryLeft()
{
    for (const char* name : SavedFiles)
        if (access((name + std::string(".tmp")).c_str(), F_OK) == 0)
            return name + std::string(".tmp was left behind");
    return "";
}

// The first fault of the files a next start reads, or a temporary file left behind.
std::string DataFault()
{
    for (const char* name : DataFiles)
        if (!FileFault(name).empty())
            return FileFault(name);
    return TemporaryLeft();
}

// Prints a finding and returns the exit status that reports it.
int Finding(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    fputs("tovi-soak: ", stderr);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
    return 1;
}

// ---- a player's hand ------------------------------------------------------------

std::map<std::string, long> tally;  // loop iterations of this process per screen

// Where a player's clicks land most: the controls of the game's screens.
const int Spots[][2] = {
    {133, 305}, {136, 365}, {139, 425}, {142, 485},     {145, 545}, {600, 60},   // menu items, player area
    {400, 210}, {400, 280}, {400, 350}, {400, 420},                              // game dialog
    {270, 180}, {400, 180}, {520, 180}, {300, 400},     {480, 400}, {555, 240},  // profiles
    {555, 340}, {300, 220}, {300, 250}, {FWD_X, FWD_Y}, {700, 540}, {79, 566},   // forward, back, HUD menu
    {330, 380}, {390, 390}, {360, 290}, {200, 255},     {500, 255}, {360, 420},  // options, retry
    {60, 540},  {740, 540}, {400, 560}, {740, 35},      {50, 35},                // help
    {560, 419},                                                                  // the game dialog's level list
};

void RandomInput(std::mt19937& rng)
{
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    int x = pick(SCREEN_W), y = pick(SCREEN_H);
    int kind = pick(10);  // 0-1 a move, 2 the button, 3-5 a click on a control, 6 a key, else nothing
    if (kind <= 1) {
        PushMotion(pick(2), x, y);
    } else if (kind == 2) {
        PushButton(pick(2) == 0, x, y);
    } else if (kind <= 5) {
        const int* s = Spots[pick(sizeof Spots / sizeof Spots[0])];
        PushMotion(0, s[0], s[1]);
        PushButton(true, s[0], s[1]);
        PushButton(false, s[0], s[1]);
    } else if (kind == 6) {
        static const int Keys[] = {SDLK_BACKSPACE, SDLK_RETURN, SDLK_UP, SDLK_DOWN, SDLK_ESCAPE, SDLK_LEFT};
        int c = 'A' + pick(26);
        if (pick(2))
            PushKey(Keys[pick(6)], 0);
        else
            PushKey(c, c);
    }
    Step();
}

// The class of screen a code names, for the counts.
const char* ScreenName(int code)
{
    static const char* const Dialogs[] = {"level-list", "options", "credits", "help",   "new-game",
                                          "game",       "retry",   "players", "scores", "quit"};
    if (code == SCREEN_MENU)
        return "menu";
    if (code >= 1 && code <= SCREEN_LAST_LEVEL)
        return ashcrystal >= 10 ? "ending" : ashcrystal != 0 ? "relic" : cntintr < 6 ? "story" : "level";
    if (code >= SCREEN_LEVELS && code <= SCREEN_QUIT)
        return Dialogs[code - SCREEN_LEVELS];
    return code > SCREEN_MAP ? "map" : "other";
}

// Every screen a soak must reach: the menu and each screen behind it, play and
// what play leads to (the story, the relic sequences, the ending and its credits).
const char* const Expected[] = {"menu",     "story",   "level",   "retry",   "map",  "relic",  "ending",     "game",
                                "new-game", "players", "options", "credits", "help", "scores", "level-list", "quit"};

// ---- a soak session (runs in its own process) ------------------------------------------

// A player at the last level of a chapter, remembered as the one chosen last.
void PrepareJourney(int level)
{
    static PlayerRecord table[PLAYER_SLOTS];
    int n = std::max(1, ReadRecords(PLAYER_FILE, table, PLAYER_SLOTS)), at = 1;
    while (at < n && strcmp(table[at].name, JOURNEY_NAME) != 0)
        at++;
    if (at == n)
        at = n < PLAYER_SLOTS ? n++ : PLAYER_SLOTS - 1;
    table[0] = PlayerRecord{};
    SetRecordName(&table[at], JOURNEY_NAME);
    table[at].level = level;
    table[at].score = 1000 * level;
    WriteRecords(PLAYER_FILE, table, n);
    const int words[POD_WORDS] = {0, 50, 50, 0, at};
    memcpy(pod, words, sizeof pod);
    WriteSettings();
}

// The screens random clicks seldom find: the game dialog's high scores (left by
// forward), its level list (by its Close) and, for a player past the first level,
// the new-game question (answered No), Escape closing the game dialog behind each.
void DialogTour(int level)
{
    const char* const ways[] = {"300,350; idle 3; click fwd", "560,419; idle 3; click 405,505",
                                "300,200; idle 3; click 480,400"};
    for (int w = 0; w < (level > 1 ? 3 : 2); w++)
        hand::Play("idle 3; click play; click " + std::string(ways[w]) + "; idle 3; key esc; idle 3");
}

// Continue (New game for a beginner, which tells the story first), the level's
// stored solution, and on into what follows it.
void Journey(int level)
{
    DialogTour(level);
    hand::Play(level == 1 ? "idle 3; click play; click 300,200" : "idle 3; click play; click 400,280");
    if (level_no != level)
        return;
    PushButton(false, PARK_X, PARK_Y);
    PlayStoredWin(level, 0);
    int wait = 70 + (level == LAST_LEVEL ? 4000 / 20 + 60 : 0);
    hand::Play("click park; idle " + std::to_string(wait) +
               "; click fwd; idle 5; click fwd; idle 5; click fwd; idle 5");
}

void Session(int seed, int journeyLevel, bool quitByMenu, int steps, int reportFd)
{
    watch = [](bool after) {
        if (!after)
            tally[ScreenName(level_no)]++;
        else if (m_bQuit && level_no == SCREEN_QUIT)
            tally["quit"]++;  // the game ended through its Quit
    };
    ClockUseVirtual();
    if (journeyLevel)
        PrepareJourney(journeyLevel);
    StartUp();
    ClockUseVirtual();
    Opening();
    std::mt19937 rng(static_cast<unsigned>(seed));
    if (journeyLevel)
        Journey(journeyLevel);
    if (quitByMenu) {
        hand::Play("idle 3; click 145,545; idle 3");  // Quit, the closing picture, the end of the loop
        steps = 0;
    }
    int same = 0, last = level_no;
    for (int i = 0; i < steps && !m_bQuit; i++) {
        same = level_no == last ? same + 1 : 0;
        last = level_no;
        if (same > PATIENCE) {
            // Long enough here: the way out of the pictures, the help and the dialogs.
            static const int Out[][2] = {{FWD_X, FWD_Y}, {740, 35}, {700, 540}, {480, 400}};
            const int* o = Out[rng() % 4];
            Click(o[0], o[1]);
            continue;
        }
        RandomInput(rng);
    }
    if (!m_bQuit) {
        // The window closed: the loop ends after this iteration, SDL by its exit hook.
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        Step();
    }
    VideoRelease();
    std::string line;
    for (const auto& kv : tally)
        line += kv.first + " " + std::to_string(kv.second) + "\n";
    if (write(reportFd, line.data(), line.size()) < 0)
        perror("tovi-soak: report");
}

// Runs fn in a child process; returns "" when it exited 0, else what happened.
// The child's report, if any, is appended to *report.
template <typename Fn> std::string RunChild(Fn fn, int limitS, std::string* report, int killAfterMs = -1)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    fflush(stdout);
    fflush(stderr);
    pid_t pid = fork();
    if (pid < 0)
        return "no fork";
    if (pid == 0) {
        close(fds[0]);
        SimForgetScratch();  // the parent owns the folder
        fn(fds[1]);
        close(fds[1]);
        exit(0);
    }
    close(fds[1]);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    auto drain = [&]() {
        char buf[4096];
        ssize_t got;
        while ((got = read(fds[0], buf, sizeof buf)) > 0)
            report->append(buf, static_cast<size_t>(got));
    };
    auto start = std::chrono::steady_clock::now();
    int status = 0;
    bool killed = false, hung = false;
    for (drain(); waitpid(pid, &status, WNOHANG) != pid; drain()) {
        long ms = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        bool due = killAfterMs >= 0 && ms >= killAfterMs;
        if (!killed && (due || ms > limitS * 1000L)) {
            kill(pid, SIGKILL);
            killed = true;
            hung = !due;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    drain();
    close(fds[0]);
    if (hung)
        return "hung (killed after " + std::to_string(limitS) + " s)";
    if (killed)
        return "";
    if (WIFSIGNALED(status))
        return "died of signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0)
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    return "";
}

int Soak(long iterations, int seed)
{
    std::map<std::string, long> totals;
    int sessions = 0;
    for (long done = 0; done < iterations; sessions++) {
        int steps = static_cast<int>(iterations - done < SESSION_STEPS ? iterations - done : SESSION_STEPS);
        // Every other session plays into a relic sequence (the last chapter's first,
        // into the ending and the credits, then chapters one to three), every
        // fourth starts a new game with its story first, and the fourth between
        // leaves by the menu's Quit at once: the first four sessions hold each kind.
        static const int JourneyLevels[] = {LAST_LEVEL, 25, 50, 75};
        int journey = sessions % 2 == 1 ? JourneyLevels[(sessions / 2) % 4] : sessions % 4 == 0 ? 1 : 0;
        bool quitByMenu = sessions % 4 == 2;
        std::string report;
        std::string fault = RunChild([&](int fd) { Session(seed + sessions, journey, quitByMenu, steps, fd); },
                                     SESSION_LIMIT_S, &report);
        if (fault.empty())
            fault = DataFault();
        if (!fault.empty())
            return Finding("session %d (seed %d%s): %s", sessions, seed + sessions, journey ? ", journey" : "",
                           fault.c_str());
        std::istringstream lines(report);
        std::string name;
        long count, ran = 0;
        while (lines >> name >> count)
            totals[name] += count, ran += count;
        done += ran > 0 ? ran : steps;
    }
    long all = 0;
    std::string perScreen, missing;
    for (const auto& kv : totals) {
        all += kv.second;
        perScreen += " " + kv.first + " " + std::to_string(kv.second);
    }
    int reached = 0;
    for (const char* name : Expected)
        if (totals.count(name))
            reached++;
        else
            missing += std::string(" ") + name;
    printf("tovi-soak: %ld loop iterations in %d sessions (%d into a story, relic or ending, %d left by the "
           "menu's Quit), clean; per screen:%s\ntovi-soak: screens reached: %d of %zu%s%s\n",
           all, sessions, sessions / 2 + (sessions + 3) / 4, (sessions + 1) / 4, perScreen.c_str(), reached,
           std::size(Expected), missing.empty() ? "" : "; never reached:", missing.c_str());
    // Once every kind of session has had its turn (four sessions), each screen
    // must have been seen: one that was not has lost its way in.
    return sessions >= 4 && !missing.empty() ? Finding("a screen was never reached") : 0;
}

// ---- the kill test ------------------------------------------------------------------

// The saver tells the parent every file it is about to write, before the first
// byte of it reaches the disk: the path and its NUL, the size (a little-endian
// word), the bytes.
int announceFd = -1;

void Announce(const char* path, const unsigned char* data, size_t size)
{
    std::vector<unsigned char> msg(path, path + strlen(path) + 1);
    msg.resize(msg.size() + 4);
    PutLE32(&msg[msg.size() - 4], static_cast<int>(size));
    msg.insert(msg.end(), data, data + size);
    for (size_t at = 0; at < msg.size();) {
        ssize_t put = write(announceFd, msg.data() + at, msg.size() - at);
        if (put <= 0)
            _exit(4);  // the parent would not know what the disk may hold
        at += static_cast<size_t>(put);
    }
}

// The saves a saver announced, per file, in order; a message cut by the kill is
// a save that never began.
std::map<std::string, std::vector<std::vector<unsigned char>>> Announced(const std::string& stream)
{
    std::map<std::string, std::vector<std::vector<unsigned char>>> out;
    const auto* p = reinterpret_cast<const unsigned char*>(stream.data());
    for (size_t at = 0, end; (end = stream.find('\0', at)) != std::string::npos && end + 5 <= stream.size();) {
        size_t size = static_cast<size_t>(GetLE32(p + end + 1));
        if (end + 5 + size > stream.size())
            break;
        out[stream.substr(at, end - at)].emplace_back(p + end + 5, p + end + 5 + size);
        at = end + 5 + size;
    }
    return out;
}

// Saves without end through the real screens: a new player in the profile
// dialog and OK (player.dat, config.dat), the options' sliders (config.dat),
// and the menu's recording of a finished level (player.dat, highscore.dat).
void Saver(int seed, int fd)
{
    announceFd = fd;
    FileWriteWatch = Announce;
    StartUp();
    ClockUseVirtual();
    std::mt19937 rng(static_cast<unsigned>(seed));
    for (long n = 0;; n++) {
        level_no = SCREEN_PLAYERS;
        hand::Play("idle 2; click 270,180");  // New
        TypeLine(("K" + std::to_string(rng() % 100000)).c_str());
        Click(OK_X, OK_Y);  // the menu records the player on its next redraw
        proshli = 1 + static_cast<int>(rng() % 100);
        PlayerScore = static_cast<int>(rng() % 100000);
        izmp = 1;
        Idle(2);
        level_no = SCREEN_OPTIONS;
        Idle(1);
        Motion(1, 300 + static_cast<int>(rng() % 200), 250);
        PushButton(false, 300, 250);
        Step();
        level_no = SCREEN_MENU;
        if (n % 50 == 49) {
            // A long list: from time to time the last player goes again.
            level_no = SCREEN_PLAYERS;
            hand::Play("idle 1; click 520,180; click 480,400");
            level_no = SCREEN_MENU;
        }
    }
}

// A clean next start: the start-up and the first redraws of the menu.
void NextStart(int)
{
    StartUp();
    ClockUseVirtual();
    Idle(5);
    if (!TemporaryLeft().empty())
        exit(3);
    exit(0);
}

int KillTest(int kills, int seed)
{
    std::mt19937 rng(static_cast<unsigned>(seed));
    int checked = 0, stayedOld = 0, becameNew = 0, staleLeft = 0;
    long saves = 0;
    std::map<std::string, Content> before;
    for (int k = 0; k < kills; k++) {
        for (const char* name : SavedFiles)
            before[name] = Slurp(name);
        std::string report;
        // The first start writes the settings at once; later ones save within
        // a few tens of milliseconds: the kill falls anywhere among the saves.
        int after = 20 + static_cast<int>(rng() % 1500);
        std::string fault = RunChild([&](int fd) { Saver(seed + k, fd); }, 60, &report, after);
        if (!fault.empty())
            return Finding("saver %d: %s", k, fault.c_str());
        auto announced = Announced(report);
        for (const auto& kv : announced) {
            saves += static_cast<long>(kv.second.size());
            if (before.count(kv.first) == 0)
                return Finding("kill %d: the game saved %s, which this test does not know", k, kv.first.c_str());
        }
        for (const char* name : SavedFiles) {
            // Whole, and byte for byte the file the last save began to write,
            // or the one before it: the last save's when there was one, else
            // the file as the saver found it.
            Content now = Slurp(name), old = before[name];
            const auto& list = announced[name];
            if (list.size() >= 2)
                old = Content{true, list[list.size() - 2]};
            bool isOld = now.exists == old.exists && now.bytes == old.bytes;
            bool isNew = !list.empty() && now.exists && now.bytes == list.back();
            if (!FileFault(name).empty() || (!isOld && !isNew))
                return Finding("kill %d after %d ms: %s holds %zu bytes%s (%s), neither the old file (%zu bytes%s) nor "
                               "the new one (%zu bytes) of %zu saves",
                               k, after, name, now.bytes.size(), now.exists ? "" : " (missing)",
                               FileFault(name).c_str(), old.bytes.size(), old.exists ? "" : ", missing",
                               list.empty() ? 0 : list.back().size(), list.size());
            checked++;
            (isNew && !isOld ? becameNew : stayedOld)++;
        }
        staleLeft += !TemporaryLeft().empty();
        fault = RunChild(NextStart, 60, &report);
        if (fault.empty())
            fault = DataFault();
        if (!fault.empty())
            return Finding("the start after kill %d: %s", k, fault.c_str());
    }
    printf("tovi-soak: %d kills during %ld saves, %d files checked byte for byte: %d the old file, %d the new "
           "one; %d kills left a temporary file; every next start clean and without one\n",
           kills, saves, checked, stayedOld, becameNew, staleLeft);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--art") == 0)
            withArt = true;
        else
            args.push_back(argv[i]);
    }
    long count = args.size() >= 2 ? atol(args[1].c_str()) : 0;
    int seed = args.size() >= 3 ? atoi(args[2].c_str()) : 1;
    if (args.size() < 2 || count <= 0 || (args[0] != "soak" && args[0] != "kill")) {
        fprintf(stderr, "usage: tovi-soak [--art] soak ITERATIONS [SEED] | kill KILLS [SEED]\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EnterScratch();
    return args[0] == "soak" ? Soak(count, seed) : KillTest(static_cast<int>(count), seed);
}
