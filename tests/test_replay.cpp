// Playing a finished level again from the level list, and the per-level best
// results it keeps: the file's round trip and its damage, a replay that never
// touches the player's progress, and the level's keys through the dispatcher.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/tovi.h"
#include "level/level.h"
#include "menu/game.h"
#include "menu/levels.h"
#include "progress/best.h"
#include "shell/clock.h"
#include "tests/menu_driver.h"

namespace {

Bytes BestHeader(int count)
{
    Bytes b = {'T', 'M', 'L', 'B', 1, 0, 0, 0};
    for (int k = 0; k < 4; k++)
        b.push_back(static_cast<unsigned char>(count >> (8 * k)));
    return b;
}

Bytes BestRec(const char* name, int level, int moves, int seconds, int clean)
{
    Bytes b(BEST_NAME_SIZE, 0);
    memcpy(b.data(), name, strlen(name));
    for (int v : {level, moves, seconds, clean})
        for (int k = 0; k < 4; k++)
            b.push_back(static_cast<unsigned char>(static_cast<unsigned>(v) >> (8 * k)));
    return b;
}

}  // namespace

TEST(BestFile, RoundTripKeepsTheBestOfEach)
{
    InScratchDir dir;
    BestRecord before;
    EXPECT_EQ(RecordBest(BEST_FILE, "Ann", 3, 5, 40, 1, &before), 1);
    EXPECT_EQ(before.level, 0) << "no record before the first win";
    EXPECT_EQ(RecordBest(BEST_FILE, "Ann", 3, 7, 20, 0, &before), 1);
    EXPECT_TRUE(before.moves == 5 && before.seconds == 40 && before.clean == 0);
    EXPECT_EQ(RecordBest(BEST_FILE, "Bob", 3, 9, 90, 2, &before), 1);
    EXPECT_EQ(ReadBest(BEST_FILE), 1);
    ASSERT_EQ(bestCount, 2);
    const BestRecord* a = FindBest("Ann", 3);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->moves == 5 && a->seconds == 20 && a->clean == 1) << "each field keeps its own best";
    EXPECT_EQ(FindBest("Ann", 4), nullptr);
    EXPECT_EQ(ReadBytes(BEST_FILE), Cat({BestHeader(2), BestRec("Ann", 3, 5, 20, 1), BestRec("Bob", 3, 9, 90, 0)}));
    EXPECT_EQ(access("levelbest.dat.tmp", F_OK), -1) << "the temporary file is renamed away";
    EXPECT_EQ(RecordBest(BEST_FILE, "", 3, 1, 1, 0, &before), 0) << "no player, nothing kept";
}

TEST(BestFile, MissingShortOrDamagedIsReadAsEmpty)
{
    InScratchDir dir;
    EXPECT_EQ(ReadBest(BEST_FILE), 0);
    EXPECT_EQ(bestCount, 0);
    Bytes good = Cat({BestHeader(1), BestRec("Ann", 3, 5, 20, 1)});
    WriteBytes(BEST_FILE, good);
    ASSERT_EQ(ReadBest(BEST_FILE), 1);
    std::vector<Bytes> bad = {
        Bytes(good.begin(), good.end() - 1),                     // short
        Cat({good, Bytes{0}}),                                   // longer than its count
        Cat({BestHeader(2), BestRec("Ann", 3, 5, 20, 1)}),       // a count the length lacks
        Cat({BestHeader(1), BestRec("Ann", 990, 5, 20, 1)}),     // a level past the game's
        Cat({BestHeader(1), BestRec("Ann", 3, -1, 20, 1)}),      // negative moves
        Cat({BestHeader(1), BestRec("Ann", 3, 5, 20, 2)}),       // a flag that is not 0 or 1
        Cat({BestHeader(1), BestRec("", 3, 5, 20, 1)}),          // no name
        Cat({Bytes{'X'}, Bytes(good.begin() + 1, good.end())}),  // the wrong magic
    };
    Bytes unterminated = good;
    memset(unterminated.data() + 12, 'A', BEST_NAME_SIZE);
    bad.push_back(unterminated);
    for (size_t k = 0; k < bad.size(); k++) {
        WriteBytes(BEST_FILE, bad[k]);
        EXPECT_EQ(ReadBest(BEST_FILE), 0) << "case " << k;
        EXPECT_EQ(bestCount, 0) << "case " << k;
    }
    BestRecord before;
    EXPECT_EQ(RecordBest(BEST_FILE, "Ann", 4, 2, 9, 0, &before), 1) << "a damaged file is written anew";
    EXPECT_EQ(ReadBytes(BEST_FILE), Cat({BestHeader(1), BestRec("Ann", 4, 2, 9, 1)}));
}

class Replay : public ::testing::Test {
protected:
    MenuScratch scratch;

    void SetUp() override
    {
        // Every level is two treasures a cell apart on a floor: one slide wins it.
        Bytes b = PairOnAFloor();
        OwnLevelsFolder();
        for (int n : {3, 4, 40})
            WriteBytes("media/levels/level" + std::to_string(n) + ".bin", b);
        AnnPlays(40, 5000);
        renddl = 0;
        level_no = SCREEN_GAME;
    }
};

// Locked levels do nothing and Close goes back; a finished one plays again
// without touching the player's progress.
TEST_F(Replay, AnEarlierLevelLeavesThePlayersProgressAlone)
{
    Bytes saved = ReadBytes(PLAYER_FILE);
    EXPECT_EQ(Click(560, 420), SCREEN_LEVELS) << "the game dialog's LEVELS";
    EXPECT_EQ(llReached, 40);
    EXPECT_EQ(llChapter, 2) << "the list opens on the player's chapter";
    Click(575, 100);
    EXPECT_EQ(llChapter, 3);
    EXPECT_EQ(Click(LEVEL_GRID_AT.x + 40, LEVEL_GRID_AT.y + 30), SCREEN_LEVELS) << "level 51 is not reached";
    EXPECT_EQ(Click(LEVEL_LIST_CLOSE.x + 50, LEVEL_LIST_CLOSE.y + 20), SCREEN_GAME) << "Close goes back";
    ASSERT_EQ(Click(560, 420), SCREEN_LEVELS);
    Click(225, 100);
    EXPECT_EQ(llChapter, 1);
    EXPECT_EQ(Click(LEVEL_GRID_AT.x + 2 * LEVEL_PITCH.x + 40, LEVEL_GRID_AT.y + 30), 3);
    EXPECT_EQ(std::make_tuple(replaying, poen), std::make_tuple(1, 0)) << "a replay scores on its own";
    WinPair();
    EXPECT_EQ(wonSeconds, LEVEL_TIME) << "the panel's time is the clock's, stopped at the last match";
    EXPECT_EQ(Click(20, 20), SCREEN_LEVELS) << "won, it leads back to the list";
    EXPECT_EQ(std::make_tuple(replaying, proshli, PlayerScore), std::make_tuple(0, 40, 5000));
    EXPECT_EQ(ReadBytes(PLAYER_FILE), saved) << "player.dat is untouched";
    ASSERT_EQ(ReadBest(BEST_FILE), 1);
    const BestRecord* r = FindBest("Ann", 3);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->moves == 1 && r->clean == 1);

    // Opened again and left through the level menu's main menu: still level 40.
    Click(LEVEL_GRID_AT.x + 3 * LEVEL_PITCH.x + 40, LEVEL_GRID_AT.y + 30);
    ASSERT_EQ(level_no, 4);
    EXPECT_EQ(Click(79, 566), SCREEN_RETRY);
    for (int k = 0; k < 40; k++)
        Step(0, 400, 236);  // the level menu takes no press in its first moments
    EXPECT_EQ(Click(400, 236), SCREEN_MENU);
    EXPECT_EQ(proshli, 40);
    EXPECT_EQ(Click(LEVEL_LIST_CLOSE.x + 50, LEVEL_LIST_CLOSE.y + 20), SCREEN_MENU) << "the list is gone";
}

// The level's keys through the real event pump: U, Backspace and Ctrl+Z take
// the move back, R restarts; none of them acts as a click.
TEST_F(Replay, LevelKeysUndoAndRestart)
{
    OpenLevel(40);
    int right = TreasureAt(7);
    ASSERT_NE(right, 0);
    // Slid right, away from its partner, then taken back by each key.
    const int keys[][2] = {{SDLK_u, 0}, {SDLK_BACKSPACE, 0}, {SDLK_z, KMOD_LCTRL}};
    for (const auto& key : keys) {
        SlideRightAway();
        ASSERT_EQ(til[right].x, 320);
        Key(key[0], key[1]);
        EXPECT_EQ(std::make_tuple(til[right].x, level_no), std::make_tuple(280, 40)) << "key " << key[0];
    }
    SlideRightAway();
    Key(SDLK_z);
    EXPECT_EQ(til[right].x, 320) << "z alone does nothing";
    Key(SDLK_r);
    EXPECT_EQ(til[right].x, 280) << "R restarts";
    EXPECT_EQ(std::make_tuple(levelMoves, level_no), std::make_tuple(0, 40));
}
