// tovi-shots: pictures of the level screen as a player sees it, with the game's
// own art, for the screenshot tour. Run from the top of the repository (it reads
// media/ and the stored solutions in levels/); it plays the real main loop on
// the virtual clock with the player's input as events and saves:
//   story.png           the first story picture, the pointer on forward
//   chapter.png         the first chapter's picture
//   level_play.png      the first chapter's liveliest level in play, an element
//                       held by the hand on its way to the next cell
//   level_complete.png  that level finished: the panel and its score counter
//   level_hint.png      that level asked for a hint (the H key): the element to
//                       take lit, the ghost hand sliding it, the words above
//   level_no_way.png    a board that can no longer be won, after a hint: the
//                       words that say so
//   level_retry.png     a lost level under the retry dialog
//   relic.png           the relic screen after the first chapter
//
//   tovi-shots DIR
#include <SDL_mixer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/tovi.h"
#include "level/level.h"
#include "menu/players.h"
#include "shell/screen.h"
#include "shell/shot.h"
#include "tools/sim/boardtext.h"
#include "tools/sim/simcore.h"

static std::string outDir;
static int failures = 0;

constexpr int FWD_X = 716;
constexpr int FWD_Y = 537;
constexpr int PARK_X = 790;
constexpr int PARK_Y = 10;

static void Frame(int button, int x, int y)
{
    PushMotion(button, x, y);
    MainLoopStep();
}

static void Press(bool down, int x, int y)
{
    PushButton(down, x, y);
    MainLoopStep();
}

static void Click(int x, int y)
{
    Frame(0, x, y);
    Press(true, x, y);
    Press(false, x, y);
    Frame(0, x, y);
}

static void Shot(const char* name, bool ok, const char* what)
{
    std::string path = outDir + "/" + name;
    if (!ok) {
        fprintf(stderr, "tovi-shots: %s: %s\n", name, what);
        failures++;
        return;
    }
    if (!SaveSurfacePng(screen, path.c_str())) {
        fprintf(stderr, "tovi-shots: cannot write %s\n", path.c_str());
        failures++;
        return;
    }
    printf("%s\n", path.c_str());
}

static std::vector<SimInput> Solution(int level)
{
    return SimSolution("levels/level" + std::to_string(level) + ".txt");
}

// Starts a level as the simulator does, so its stored solution replays exactly.
static void Begin(int level, const char* file)
{
    SimStart(level, file);
    proshli = level;
}

// Plays a solution until `stop` holds or it ends; returns whether the level was won.
template <typename Stop> static bool Play(const std::vector<SimInput>& script, size_t& f, Stop stop)
{
    for (; f < script.size() && end_level == 0 && !stop(); f++)
        Frame(script[f].button, script[f].x, script[f].y);
    return end_level == 1;
}

// The first chapter's level with the most elements on its board among those
// with a stored solution.
static int Busiest()
{
    int busiest = 0, most = -1;
    for (int level = 1; level <= 25; level++) {
        char path[64];
        snprintf(path, sizeof path, "media/levels/level%d.bin", level);
        FILE* f = fopen(path, "rb");
        if (!f)
            continue;
        int n = 0, col;
        while ((col = fgetc(f)) != EOF)
            n += col > 100;
        fclose(f);
        if (n > most && !Solution(level).empty()) {
            most = n;
            busiest = level;
        }
    }
    return busiest;
}

// Asks for a hint with the H key and plays frames (at real time's pace, as the
// search runs in real time) until its answer is in and the ghost hand is halfway.
static bool AskHintAndWait(int x, int y)
{
    PushKey(SDLK_h, 'h');
    MainLoopStep();
    for (int i = 0; i < 400 && hintState == HINT_THINKING; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Frame(0, x, y);
    }
    for (int i = 0; i < 30; i++)
        Frame(0, x, y);
    return hintState != HINT_NONE && hintState != HINT_THINKING;
}

// A board that can no longer be won: each of the two treasures sits in a pit
// of its own, walled in on both sides.
static std::string WalledInBoard()
{
    const std::vector<std::string> rows = {
        "#..................#", "#..................#", "#..................#", "#..................#",
        "#..................#", "#..................#", "#..................#", "#....b....b........#",
        "#...###..###.......#", "#..................#", "#..#a#.......#a#...#", "####################",
    };
    std::string path = outDir + "/.walled-board.bin";
    std::string error;
    if (!WriteBoardText(rows, 1, path, &error)) {
        fprintf(stderr, "tovi-shots: %s\n", error.c_str());
        exit(1);
    }
    return path;
}

// A small board of the first chapter that is lost a moment after it starts:
// one of two equal treasures drops into a spike pit and leaves its partner alone.
static std::string LosingBoard()
{
    const std::vector<std::string> rows = {
        "#..................#", "#....b.............#", "#..................#", "#..................#",
        "#..................#", "#.......a..........#", "#......###.........#", "#..................#",
        "#..................#", "#..................#", "#....S......b..a...#", "####################",
    };
    std::string path = outDir + "/.losing-board.bin";
    std::string error;
    if (!WriteBoardText(rows, 1, path, &error)) {
        fprintf(stderr, "tovi-shots: %s\n", error.c_str());
        exit(1);
    }
    return path;
}

int main(int argc, char* argv[])
{
    const char* dir = SimToolStart(argc, argv, "tovi-shots", "DIR");
    if (!dir)
        return 2;
    outDir = dir;
    SDL_ShowCursor(0);  // the game draws its own pointer
    // With a (silent) sound device the finished level's sound plays, and with it
    // the level-complete panel comes up as in the game.
    bool sound = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 4096) == 0;
    InitLevel();
    LoadLevelScreenArt();
    start_level_no = 1;

    // A new game: the story, then the first chapter's picture.
    SimResetState();
    cntintr = 0;
    proshli = 1;
    level_no = 1;
    LevelStar = 1;
    lmap(1);
    for (int i = 0; i < 4; i++)
        Frame(0, FWD_X, FWD_Y);
    Shot("story.png", cntintr == 2, "the story did not start");
    for (int k = 0; k < 4; k++)
        Click(FWD_X, FWD_Y);
    for (int i = 0; i < 4; i++)
        Frame(0, FWD_X, FWD_Y);
    Shot("chapter.png", cntintr == 6 && cntgh == 1, "the chapter picture did not come up");

    // That level, up to its first slide: the hand takes the element there and
    // moves along slowly, as a player's would, and the picture is taken with the
    // element on its way. Then the level is played again by its solution to the end.
    int level = Busiest();
    std::vector<SimInput> script = Solution(level);
    size_t f = 0;
    Begin(level, nullptr);
    Play(script, f, [&] { return f > 0 && script[f].button == 1 && script[f - 1].button == 1; });
    bool sliding = f < script.size() && end_level == 0;
    if (sliding) {
        int x = script[f - 1].x, y = script[f - 1].y, to = script[f].x;
        int step = to > x ? 2 : -2;
        for (int i = 0; i < 8; i++)
            Frame(1, x += step, y);
    }
    Shot("level_play.png", level != 0 && sliding && proslie > 0, "no level with a stored solution, or no slide in it");
    f = 0;
    Begin(level, nullptr);
    bool won = Play(script, f, [] { return false; });
    for (int i = 0; i < 150 && won; i++)
        Frame(0, PARK_X, PARK_Y);
    Shot("level_complete.png", won && prikpp == 1, sound ? "the panel did not come up" : "no sound device");

    // That level from its start, a hint asked for; then a board with no way out.
    f = 0;
    Begin(level, nullptr);
    for (int i = 0; i < 60; i++)
        Frame(0, 560, 300);
    bool hinted = AskHintAndWait(560, 300);
    Shot("level_hint.png", hinted && hintState == HINT_MOVE, "the hint gave no move");
    Begin(2, WalledInBoard().c_str());
    for (int i = 0; i < 60; i++)
        Frame(0, 560, 300);
    hinted = AskHintAndWait(560, 300);
    Shot("level_no_way.png", hinted && hintState == HINT_NO_WAY, "the hint did not find the board lost");
    remove(WalledInBoard().c_str());

    // A lost level under the retry dialog, the pointer on Retry.
    Begin(2, LosingBoard().c_str());
    for (int i = 0; i < 200 && level_no != SCREEN_RETRY; i++)
        Frame(0, PARK_X, PARK_Y);
    const SDL_Rect& retry = Dialogritem[2];
    for (int i = 0; i < 3; i++)
        Frame(0, retry.x + 60, retry.y + 22);
    Shot("level_retry.png", level_no == SCREEN_RETRY && dead == 1, "the board was not lost");
    remove(LosingBoard().c_str());

    // The first chapter's last level, acknowledged: the relic screen.
    script = Solution(25);
    f = 0;
    Begin(25, nullptr);
    won = Play(script, f, [] { return false; });
    Frame(0, PARK_X, PARK_Y);
    Press(true, PARK_X, PARK_Y);
    Press(false, PARK_X, PARK_Y);
    for (int i = 0; i < 70; i++)
        Frame(0, FWD_X, FWD_Y);
    Shot("relic.png", won && ashcrystal == 7, "level 25 was not won by its solution");

    if (sound)
        Mix_CloseAudio();
    SimClose();
    return failures ? 1 : 0;
}
