// The level solver: shortest wins, proofs of no win, its measures, and its
// search on a helper thread while a level plays on the main one.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "level/solver.h"
#include "tests/harness.h"
#include "tests/scenario.h"

using namespace scenario;

namespace {

// The limits for the board in play (on the heap: they hold a whole level's state).
std::unique_ptr<SolveLimits> LimitsHere(int maxDrags = 12)
{
    auto l = std::make_unique<SolveLimits>();
    LevelSave(&l->start);
    l->maxDrags = maxDrags;
    l->maxBoards = 200000;
    l->threads = 1;
    return l;
}

// The board as the game hands it to the hint, ten minutes into play: its times
// are read from the real clock, and the game's thread never ran a virtual one.
void OnTheGamesClock(LevelState* s)
{
    s->clock_virtual = 0;
    s->clockNow = 0;
    for (int* tick : {&s->startt, &s->gett, &s->movtim, &s->movtel, &s->movsp, &s->movspr, &s->parttim, &s->startTicks,
                      &s->LEVEL_TIMER})
        *tick += *tick != 0 ? 600000 : 0;
}

SolveResult Fewest(const SolveLimits& l)
{
    SolveResult r;
    SolveFewest(l, &r);
    return r;
}

// What two searches of one board must agree on.
auto Answer(const SolveResult& r)
{
    return std::tuple(r.outcome, r.drags, r.record, r.fromCol, r.toCol);
}

SolveGraph Explore(const SolveLimits& l)
{
    SolveGraph g;
    SolveExplore(l, &g);
    return g;
}

void StartLevel(int n)
{
    HarnessOpen();
    std::string path = "media/levels/level" + std::to_string(n) + ".bin";
    SimStart(n, path.c_str());
}

}  // namespace

// Two pairs far apart, cups on a walled ledge and rings in a walled pit: each
// pair needs a drag of its own, so the fewest is two, for every search and player.
TEST(Solver, ShortestWinAgreesBetweenSearchesAndReplays)
{
    LoadBoard({
        "#d...d#.............",
        "#######.............",
        "#######.f...f#######",
        "####################",
    });
    auto l = LimitsHere();
    SolveResult r = Fewest(*l);
    ASSERT_EQ(r.outcome, SOLVE_FOUND);
    EXPECT_EQ(r.drags, 2);
    EXPECT_TRUE(r.exact);
    EXPECT_TRUE(SolveReplays(l->start, r.script));

    SolveGraph g = Explore(*l);
    ASSERT_EQ(g.outcome, SOLVE_FOUND);
    EXPECT_TRUE(g.complete);
    EXPECT_EQ(g.fewest, 2);
    EXPECT_TRUE(SolveReplays(l->start, g.script));
    ASSERT_EQ(g.stepDrags.size(), 2u);
    for (size_t k = 0; k < 2; k++) {
        EXPECT_LE(g.stepShortest[k], g.stepWinning[k]);
        EXPECT_LE(g.stepWinning[k], g.stepDrags[k]);
        EXPECT_GE(g.stepShortest[k], 1);
    }
    EXPECT_EQ(g.stepDrags[0], g.firstDrags);
    // A drag that leaves a pair apart can always be mended here: nothing loses.
    EXPECT_EQ(g.firstLosing, 0);
    EXPECT_EQ(g.deadEnds, 0);

    // Two threads find the same win as one.
    l->threads = 2;
    EXPECT_EQ(Answer(Fewest(*l)), Answer(r));

    // The players that do not search: the greedy one wins in the fewest drags;
    // random drags win at times, never in fewer drags than the fewest, and never in one.
    SolvePlayout play;
    SolvePlay(*l, SOLVE_GREEDY, 0, &play);
    EXPECT_TRUE(play.won);
    EXPECT_EQ(play.drags, 2);
    int won = 0;
    for (unsigned seed = 1; seed <= 40; seed++) {
        SolvePlay(*l, SOLVE_RANDOM, seed, &play);
        EXPECT_LE(play.drags, 12);
        if (play.won) {
            won++;
            EXPECT_GE(play.drags, 2);
        }
    }
    EXPECT_GT(won, 0);
    l->maxDrags = 1;
    for (unsigned seed = 1; seed <= 10; seed++) {
        SolvePlay(*l, SOLVE_RANDOM, seed, &play);
        EXPECT_FALSE(play.won);
    }
}

// Walls no slide can pass keep each pair apart: every search proves there is no
// win (the fewest-drags search from the start board alone, as nothing can rise
// over a wall), every first drag is counted as losing, and no player wins.
TEST(Solver, ProvesNoWinAndCountsEveryDragAsLosing)
{
    LoadBoard({
        "....#...............",
        "d...#.d....#.f...#f.",
        "####################",
    });
    auto l = LimitsHere();
    SolveResult r = Fewest(*l);
    EXPECT_EQ(r.outcome, SOLVE_NO_WIN);
    EXPECT_TRUE(r.exact);
    EXPECT_EQ(r.boards, 1);
    SolveGraph g = Explore(*l);
    EXPECT_EQ(g.outcome, SOLVE_NO_WIN);
    EXPECT_TRUE(g.complete);
    EXPECT_GT(g.firstDrags, 0);
    EXPECT_EQ(g.firstLosing, g.firstDrags);
    EXPECT_EQ(g.deadEnds, g.boards);
    // Neither player wins, and the greedy one finds no drag worth making.
    SolvePlayout play;
    SolvePlay(*l, SOLVE_GREEDY, 0, &play);
    EXPECT_FALSE(play.won);
    EXPECT_TRUE(play.stuck);
    SolvePlay(*l, SOLVE_RANDOM, 7, &play);
    EXPECT_FALSE(play.won);

    // A search asked to stop gives up without a claim either way.
    std::atomic<int> cancel(1);
    l->cancel = &cancel;
    SolveResult c = Fewest(*l);
    EXPECT_EQ(c.outcome, SOLVE_BUDGET);
    EXPECT_FALSE(c.exact);
}

// A piece let go in a pit just as the spikes went down, the board handed over
// by the game then: the spikes' cycle goes on in the search, and kills, so no
// search takes the board for a win. (The engine's own loss of a board the
// spikes emptied: LevelSpikes.KillingTheLastElementsLosesTheLevel.)
TEST(Solver, ASpikeCycleGoesOnFromTheGamesClock)
{
    LoadBoard({
        "a..S..a.............",
        "####################",
    });
    for (int k = 0; k < 100 && MicIndex != 14; k++)
        Idle(1);
    Grab(0, 10);
    for (int col = 1; col <= 3; col++)
        HoldAt(col, 10, 2);
    Release();
    ASSERT_NE(RecordAt(3, 10), 0);
    auto l = LimitsHere(3);
    OnTheGamesClock(&l->start);
    SolveResult r = Fewest(*l);
    EXPECT_EQ(r.outcome, SOLVE_NO_WIN);
}

// A piece riding a lift in a walled shaft can leave it only at the top, onto a
// ledge beside a pocket holding its partner. Held and pulled, it steps off
// whenever the ride brings it there, so one drag wins from any moment of the
// ride, with no wait for the lift first; with the lift turned to wall it cannot.
TEST(Solver, ARiderPulledOffALiftWinsFromAnyMomentOfTheRide)
{
    // clang-format off
    const std::vector<std::string> shaft = {
        ".....#####..........",
        "........#...........",
        "........#.#d########",
        "........#d##########",
        "........#V##########",
        "####################",
    };
    // clang-format on
    for (int late : {0, 37, 70, 121}) {
        LoadBoard(shaft);
        Frames(late, 0, SOLVE_PARK_X, SOLVE_PARK_Y);
        auto l = LimitsHere();
        SolveResult r = Fewest(*l);
        ASSERT_EQ(r.outcome, SOLVE_FOUND) << "after " << late << " frames";
        EXPECT_EQ(r.drags, 1);
        EXPECT_EQ(r.waits, 0) << "after " << late << " frames";
        EXPECT_TRUE(SolveReplays(l->start, r.script));
        // The same moment as the game hands it over, ten minutes into play on
        // the real clock: the search's clock takes over from the game's last frame.
        OnTheGamesClock(&l->start);
        r = Fewest(*l);
        ASSERT_EQ(r.outcome, SOLVE_FOUND) << "from the game's clock, after " << late << " frames";
        EXPECT_EQ(r.drags, 1);
    }
    // The ride is met in a few places only (a cell and a way to go), however its
    // rest where it turns shifts it against the level's clock: a handful of
    // boards, not one for every frame of the ride.
    LoadBoard(shaft);
    SolveGraph riding = Explore(*LimitsHere());
    std::vector<std::string> walled = shaft;
    walled[4][9] = '#';
    LoadBoard(walled);
    auto l = LimitsHere();
    SolveGraph g = Explore(*l);
    EXPECT_EQ(g.outcome, SOLVE_NO_WIN);
    EXPECT_TRUE(g.complete);
    EXPECT_TRUE(riding.complete);
    EXPECT_LE(riding.boards, 12);
}

// The fewest drags that A* finds (with its lower bound, and passing over boards
// where an element can no longer reach a partner) match the breadth-first graph's
// on real levels, mud and the teleport among them, and the graph's counts add up.
TEST(Solver, FewestMatchesTheFullGraphOnRealLevels)
{
    for (int n : {4, 6, 26, 51, 54}) {
        SCOPED_TRACE("level " + std::to_string(n));
        StartLevel(n);
        auto l = LimitsHere(40);  // deep enough that the whole graph is met
        SolveResult r = Fewest(*l);
        SolveGraph g = Explore(*l);
        ASSERT_TRUE(r.outcome == SOLVE_FOUND && g.outcome == SOLVE_FOUND && g.complete);
        EXPECT_EQ(r.drags, g.fewest);
        EXPECT_TRUE(g.deadEnds < g.boards && g.firstLosing <= g.firstDrags);
        EXPECT_EQ(static_cast<int>(g.stepDrags.size()), g.fewest);
        EXPECT_TRUE(SolveReplays(l->start, r.script));
        // The graph's win, the one through the narrowest choices, is played again
        // move by move from boards the search met by other ways too.
        EXPECT_TRUE(SolveReplays(l->start, g.script));
    }
}

// The probe settles, drag by drag along a shortest win, what the whole graph says
// of the choices there. A pair on a walled ledge needs a drag; three of a kind
// below win only together (a piece dropped between the other two), so the drags
// that bring two of them together first leave the third alone and lose.
TEST(Solver, ProbeAgreesWithTheWholeGraphOnChoices)
{
    LoadBoard({
        "#d...d#.............",
        "#######.............",
        "#....a#.............",
        "#....##.............",
        "#..a.a#.............",
        "####################",
    });
    auto l = LimitsHere();
    SolveGraph g = Explore(*l);
    ASSERT_EQ(g.outcome, SOLVE_FOUND);
    ASSERT_TRUE(g.complete);
    EXPECT_EQ(g.fewest, 2);
    EXPECT_GE(g.firstLosing, 2);

    for (int threads : {1, 2}) {
        l->threads = threads;
        SolveChoices c;
        SolveProbe(*l, g.moves, &c);
        ASSERT_EQ(c.outcome, SOLVE_FOUND) << threads << " threads";
        EXPECT_EQ(std::tie(c.firstDrags, c.firstLosing, c.stepDrags, c.stepWinning, c.stepShortest),
                  std::tie(g.firstDrags, g.firstLosing, g.stepDrags, g.stepWinning, g.stepShortest));
        EXPECT_TRUE(c.firstUnknown == 0 && c.stepUnknown == std::vector<int>(g.stepDrags.size(), 0));
    }

    // A search too small to settle a loss leaves the drag unknown, counted
    // neither losing nor winning: the counts stay bounds of the true ones.
    l->maxBoards = 1;
    SolveChoices tight;
    SolveProbe(*l, g.moves, &tight);
    ASSERT_EQ(tight.outcome, SOLVE_FOUND);
    EXPECT_GT(tight.firstUnknown, 0);
    EXPECT_LE(tight.firstLosing, g.firstLosing);
    EXPECT_GE(tight.firstLosing + tight.firstUnknown, g.firstLosing);
    for (size_t k = 0; k < g.stepDrags.size(); k++) {
        EXPECT_LE(tight.stepWinning[k], g.stepWinning[k]);
        EXPECT_GE(tight.stepWinning[k] + tight.stepUnknown[k], g.stepWinning[k]);
    }
    // A win that is not one from this board is refused, with nothing measured.
    std::vector<SolveMove> half(g.moves.begin(), g.moves.end() - 1);
    SolveProbe(*l, half, &tight);
    EXPECT_EQ(tight.outcome, SOLVE_BUDGET);
    EXPECT_TRUE(tight.stepDrags.empty());

    // A known win (each question's first try) that does not win on another
    // board leaves that board's search as it was: the same win from as many
    // boards (it used to start from the board the failed try left behind).
    LoadBoard({
        "#d...d#.............",
        "#######.............",
        "#######.f...f#######",
        "####################",
    });
    auto other = LimitsHere();
    SolveResult plain = Fewest(*other);
    other->knownWin = g.script;
    SolveResult known = Fewest(*other);
    EXPECT_EQ(known.outcome, SOLVE_FOUND);
    EXPECT_EQ(known.drags, plain.drags);
    EXPECT_EQ(known.boards, plain.boards);
}

// The hint's search runs on a helper thread while the main thread plays a level
// frame by frame, drawing: the main thread's frames are exactly those of the
// same play alone, and the helper's answer is exactly that of a search alone.
TEST(Solver, HelperThreadAndPlayingLevelLeaveEachOtherAlone)
{
    StartLevel(20);
    auto l = LimitsHere();
    SolveResult alone = Fewest(*l);
    ASSERT_EQ(alone.outcome, SOLVE_FOUND);

    std::vector<SimInput> play = StoredWin(13);
    auto playLevel = [&]() {
        StartLevel(13);
        std::vector<std::string> trace;
        trace.push_back(PlayScript(play, 0, play.size(), &trace) == SIM_WON ? "WON" : "not won");
        return trace;
    };
    std::vector<std::string> reference = playLevel();
    ASSERT_EQ(reference.back(), "WON");

    ASSERT_EQ(SolveStart(l.get()), 1);
    EXPECT_EQ(SolveStart(l.get()), 0) << "one search at a time";
    SolveResult helped;
    int plays = 0;
    while (!SolveDone(&helped)) {
        std::vector<std::string> trace = playLevel();
        plays++;
        ASSERT_EQ(trace, reference) << "play " << plays << " was disturbed";
    }
    EXPECT_GE(plays, 1);
    EXPECT_EQ(Answer(helped), Answer(alone));
    EXPECT_EQ(helped.script.size(), alone.script.size());

    // A search stopped half way ends at once and leaves nothing to collect.
    StartLevel(100);
    auto big = LimitsHere(40);
    ASSERT_EQ(SolveStart(big.get()), 1);
    SolveStop();
    EXPECT_EQ(SolveDone(nullptr), 0);
    EXPECT_EQ(SolveStart(l.get()), 1) << "a new search may start after a stop";
    SolveStop();

    // A program that ends while a search runs ends normally (it used to abort).
    EXPECT_EXIT(
        {
            SolveStart(big.get());
            exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
