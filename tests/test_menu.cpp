// The main menu's items; the loading's choice of the current player; the game
// dialog and the new-game question, with the levels they start.
#include <gtest/gtest.h>

#include <tuple>

#include "level/level.h"
#include "menu/game.h"
#include "menu/options.h"
#include "menu/scores.h"
#include "tests/menu_driver.h"
#include "trans/trans.h"

class Menu : public ::testing::Test {
protected:
    MenuScratch scratch;
    // The menu loaded from this directory (no art: it is not under test here).
    void Load(const Bytes& players, int remembered)
    {
        WriteBytes(PLAYER_FILE, players);
        pod[4] = remembered;
        InitMenu(screen);
        rendme = 1;
    }
    int Frame(int x, int y, int button) { return RenderMenu(x, y, button, screen); }
    int Click(int x, int y)
    {
        Frame(x, y, 0);
        return Frame(x, y, 1);
    }
};

TEST_F(Menu, ItemsAreStrictOnTheirEdgesAndWithoutAPlayerTheProfilesOpen)
{
    Load(Players(2), 0);
    EXPECT_STREQ(PlayerName, "P2");
    EXPECT_EQ(Click(93, 300), SCREEN_MENU) << "x 93 is item 1's edge";
    EXPECT_EQ(Click(94, 300), SCREEN_GAME);
    EXPECT_EQ(Click(100, 370), SCREEN_OPTIONS);
    EXPECT_EQ(Click(110, 430), SCREEN_CREDITS);
    EXPECT_EQ(Click(110, 490), SCREEN_HELP);
    rendme = 1;
    EXPECT_EQ(Click(150, 590), SCREEN_MENU) << "the sixth area leads nowhere";
    EXPECT_EQ(rendme, 0) << "but the next redraw warps the pointer";
    EXPECT_EQ(Click(600, 570), SCREEN_PLAYERS) << "the player area";

    PlayerName[0] = 0;
    EXPECT_EQ(Click(94, 300), SCREEN_PLAYERS) << "no current player: the profiles";
}

// The remembered profile makes the menu's count the index of the last record,
// so a player added later goes right after the last one, with nothing between.
TEST_F(Menu, ARememberedProfileKeepsTheCountAndANewPlayerGoesLast)
{
    Load(Players(3), 2);
    EXPECT_EQ(ukupl, 3);
    EXPECT_STREQ(PlayerName, "P2");
    EXPECT_EQ(plsel, 2);

    // Game dialog, close, player area, New.
    EXPECT_EQ(Click(94, 300), SCREEN_GAME);
    RenderDialogg(400, 300, 0, KEY_NONE, KEY_NONE, screen);
    EXPECT_EQ(RenderDialogg(400, 420, 1, KEY_NONE, KEY_NONE, screen), SCREEN_MENU);
    rendme = 1;
    EXPECT_EQ(Click(600, 570), SCREEN_PLAYERS);
    Dlg(400, 300, 0);
    EXPECT_STREQ(PlayerName, "P2") << "opening keeps the chosen player";
    DlgClick(NEW_X, NEW_Y);
    DlgType("Dee");
    DlgKey(SDLK_RETURN);
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Players(3), Rec("Dee", 1, 0)}));
}

class GameDialog : public Menu {
protected:
    int G(int x, int y, int button) { return RenderDialogg(x, y, button, KEY_NONE, KEY_NONE, screen); }
    int GClick(int x, int y)
    {
        G(x, y, 0);
        return G(x, y, 1);
    }
    int AClick(int x, int y)
    {
        RenderDialoga(x, y, 0, KEY_NONE, KEY_NONE, screen);
        return RenderDialoga(x, y, 1, KEY_NONE, KEY_NONE, screen);
    }
    void As(int level, int score)
    {
        Load(Cat({Rec("", 0, 0), Rec("Ann", level, score)}), 1);
        cntintr = 0;
    }
};

TEST_F(GameDialog, NewGameStartsLevelOneWithItsStoryAndAsksFirstWhenThePlayerHasComeFurther)
{
    As(1, 0);
    EXPECT_EQ(GClick(235, 200), SCREEN_GAME) << "x 235 is the box's edge";
    EXPECT_EQ(GClick(236, 200), 1);
    EXPECT_EQ(std::make_tuple(cntintr, proshli, izmp), std::make_tuple(1, 1, 1));
    EXPECT_EQ(proslisc, nullptr);

    // A player who has come further is asked first.
    As(7, 640);
    EXPECT_EQ(GClick(300, 200), SCREEN_NEWGAME);
    EXPECT_EQ(AClick(480, 400), SCREEN_MENU) << "no";
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Rec("", 0, 0), Rec("Ann", 7, 640)}));
}

TEST_F(GameDialog, ContinueGoesOnAtTheSavedLevelAndScoreHighScoresAndCloseLeave)
{
    As(7, 640);
    EXPECT_EQ(GClick(300, 280), 7);
    EXPECT_EQ(std::make_tuple(proshli, PlayerScore, poen, cntintr), std::make_tuple(7, 640, 640, 6));

    // A chapter's first level comes without the cross-fade; the next with it.
    As(26, 10);
    trans_frames = 0;
    EXPECT_EQ(GClick(300, 280), 26);
    EXPECT_EQ(trans_frames, 0);
    As(27, 10);
    EXPECT_EQ(GClick(300, 280), 27);
    EXPECT_GT(trans_frames, 0);

    As(3, 90);
    EXPECT_EQ(GClick(300, 350), SCREEN_SCORES);
    EXPECT_EQ(proslisc, nullptr);
    G(400, 420, 0);
    EXPECT_EQ(G(400, 420, 3), SCREEN_MENU) << "any button acts";
    PlayerName[0] = 0;
    EXPECT_EQ(GClick(300, 280), SCREEN_GAME) << "no player: no buttons";
}
