// The whole game, played through as a player would: a first start with no
// player, a new player, New game, the story, then every level from 1 to 100
// played by its stored solution, the maps, the relic sequences, the endings and
// the credits; then what a player who has finished the game gets from Continue
// and from a second New game.
//
// It runs the real main loop step by step on the virtual clock, headless, and
// reaches the game only through the events it pushes: mouse motion, presses,
// releases and key presses, exactly as SDL delivers a player's.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/tovi.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "tests/menu_driver.h"
#include "tests/scenario.h"

namespace {

using hand::Click, hand::Idle, hand::KeyPress, hand::Motion, hand::PlayStoredWin, hand::Press;
using namespace hand;
constexpr int NEWGAME_X = 400, NEWGAME_Y = 210;  // the game dialog's New game

// Iterations until the screen code is `code` (at most `limit`).
bool Reach(int code, int limit = 400)
{
    for (int i = 0; i < limit && level_no != code; i++)
        MainLoopStep();
    return level_no == code;
}

PlayerRecord StoredPlayer(const char* file, int index)
{
    PlayerRecord table[2] = {};
    ReadRecords(file, table, 2);
    return table[index];
}

class PlayThrough : public ::testing::Test {
protected:
    std::unique_ptr<InScratchDir> dir;

    void SetUp() override
    {
        HarnessOpen();
        dir = std::make_unique<InScratchDir>();
        // The levels are the game's own; the pictures and sounds stay away so
        // the hundred levels play quickly (a missing image draws nothing).
        ASSERT_TRUE(LinkLevelsOnly(false));
        start_level_no = 1;
        ReadSettings();
        level_no = SCREEN_MENU;
        LevelStar = 1;
        m_bQuit = 0;
    }

    // Plays a level's solution. The press that brought the level up has run its
    // first `entered` frames (counted as the simulator counts them: a chapter
    // picture's frames hold the board, so its forward press stands for two); the
    // release of that press comes with the hand's move to the solution's next
    // frame, as a player lets go and moves on. The solutions begin by letting
    // the board settle with the button up, so the frames the entry took had no
    // input that mattered.
    void PlaySolution(int level, int entered, int releaseX, int releaseY)
    {
        PushButton(false, releaseX, releaseY);
        size_t f = PlayStoredWin(level, entered);
        ASSERT_EQ(level_no, level) << "level " << level << " left at solution frame " << f;
        ASSERT_EQ(end_level, 1) << "level " << level << " is not won by its solution";
    }

    // From the menu, its first item opens the game dialog, and a click there.
    void InTheGameDialog(int x, int y)
    {
        hand::Play("idle 5; click play");
        EXPECT_EQ(level_no, SCREEN_GAME);
        Click(x, y);
    }

    // The story: four pictures, each left by forward.
    void WatchTheStory()
    {
        Idle(2);
        for (int k = 2; k <= 5; k++) {
            ASSERT_EQ(cntintr, k);
            Click(FWD_X, FWD_Y);
        }
        ASSERT_EQ(cntintr, 6);
    }

    // The chapter's picture before its first level, left by a press on forward.
    void LeaveChapterPicture(int level)
    {
        Idle(3);
        ASSERT_EQ(level_no, level);
        ASSERT_EQ(cntgh, (level - 1) / 25 + 1) << "the chapter's picture is up before level " << level;
        hand::Play("press fwd");
        ASSERT_EQ(cntgh, (level - 1) / 25 + 2) << "forward left the picture";
    }
};

TEST_F(PlayThrough, FromANewPlayerToTheCreditsAndBeyond)
{
    // First start: no player exists, so the profiles open in add mode.
    ASSERT_TRUE(Reach(SCREEN_PLAYERS, 50));
    Idle(2);
    TypeLine("Tovi");
    Click(OK_X, OK_Y);
    ASSERT_EQ(level_no, SCREEN_MENU);

    InTheGameDialog(NEWGAME_X, NEWGAME_Y);
    ASSERT_EQ(level_no, 1) << "New game for a new player starts level 1 at once";

    WatchTheStory();
    if (HasFatalFailure())
        return;

    int score = 0;
    for (int level = 1; level <= LAST_LEVEL; level++) {
        SCOPED_TRACE("level " + std::to_string(level));
        ASSERT_EQ(level_no, level);
        // What brought the level up: the click on the last one, the map's
        // forward button (whose press runs the level's first frame), or the
        // chapter's picture.
        int entered = 0, releaseX = PARK_X, releaseY = PARK_Y;
        if ((level - 1) % 25 == 0) {
            LeaveChapterPicture(level);
            entered = 2, releaseX = FWD_X, releaseY = FWD_Y;
        } else if ((level - 1) % 5 == 0) {
            entered = 1, releaseX = FWD_X, releaseY = FWD_Y;
        }
        if (HasFatalFailure())
            return;
        ASSERT_EQ(poen, score) << "the running score comes with the level";
        PlaySolution(level, entered, releaseX, releaseY);
        if (HasFatalFailure())
            return;
        score = poen;

        // The panel never comes up here (no sound plays), so this click both
        // acknowledges it and goes on.
        hand::Play("press park");
        if (level % 25 == 0) {
            Press(false, PARK_X, PARK_Y);
            Idle(70);
            if (level == LAST_LEVEL)
                break;
            hand::Play("click fwd");
            ASSERT_EQ(std::make_tuple(level_no, ashcrystal), std::make_tuple(SCREEN_MAP + level + 1, 0));
        } else if (level % 5 == 0) {
            ASSERT_EQ(level_no, SCREEN_MAP + level + 1);
        } else {
            ASSERT_EQ(level_no, level + 1);
            continue;
        }
        ASSERT_EQ(proshli, level + 1);
        PlayerRecord saved = StoredPlayer("player.dat", 1);
        EXPECT_EQ(std::make_tuple(saved.level, saved.score), std::make_tuple(level + 1, score));
        // The map: forward goes on with its press.
        hand::Play("idle 5; press fwd");
        ASSERT_EQ(level_no, level + 1) << "the map leads on to the next level";
    }

    // The last part of the relic; 4 s later the whole relic, then the two ending
    // pictures and the credits.
    Idle(60 + 4000 / 20 + 60);
    hand::Play("click fwd; click fwd; click fwd; idle 2");
    ASSERT_EQ(level_no, SCREEN_CREDITS);
    EXPECT_EQ(proshli, 101);
    PlayerRecord done = StoredPlayer("player.dat", 1);
    EXPECT_EQ(std::make_tuple(done.level, done.score), std::make_tuple(101, score)) << "the record of a finished game";

    // From the credits back to the menu.
    hand::Play("idle 20; click fwd");
    ASSERT_EQ(level_no, SCREEN_MENU);

    // Continue after the end plays the last level again, never a board beyond it.
    InTheGameDialog(CONTINUE_X, CONTINUE_Y);
    ASSERT_EQ(level_no, LAST_LEVEL);
    Idle(3);
    EXPECT_EQ(StoredPlayer("player.dat", 1).level, 101) << "the record stays as it is";

    // The HUD menu button, main menu, and a second new game: the confirmation,
    // then the story and the first chapter's picture as the first time.
    hand::Play("press hud");
    ASSERT_EQ(level_no, SCREEN_RETRY);
    Press(false, HUD_MENU_X, HUD_MENU_Y);
    hand::Play("idle 40; click retry1");  // a press as the dialog opens would be a double click's second
    ASSERT_EQ(level_no, SCREEN_MENU);
    InTheGameDialog(NEWGAME_X, NEWGAME_Y);
    ASSERT_EQ(level_no, SCREEN_NEWGAME) << "a player with progress is asked first";
    Click(OK_X, OK_Y);
    ASSERT_EQ(level_no, 1);
    WatchTheStory();
    LeaveChapterPicture(1);
    ASSERT_EQ(poen, 0);
    PlaySolution(1, 2, FWD_X, FWD_Y);
    ASSERT_EQ(finalpart + ashcrystal, 0);
    int first = poen;
    hand::Play("press park");
    ASSERT_EQ(level_no, 2);
    PlayerRecord again = StoredPlayer("player.dat", 1);
    EXPECT_EQ(std::make_tuple(again.level, again.score), std::make_tuple(2, first));
}

}  // namespace
