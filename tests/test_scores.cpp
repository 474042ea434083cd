// Recording progress and the high-score table: the merge and ranking rules,
// "highscore.dat" byte for byte, the recording of a name not in the table, a
// win kept as soon as the level is won (on its panel, on a chapter's relic
// screen), and the high-score screen's back button.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "level/level.h"
#include "menu/scores.h"
#include "progress/best.h"
#include "tests/menu_driver.h"

class Scores : public ::testing::Test {
protected:
    MenuScratch scratch;
    // The players given, the first of them current, recorded once.
    void Record(const Bytes& players)
    {
        WriteBytes(PLAYER_FILE, players);
        ReadPlayers();
        LoadPlayer(1, 0);
        biljezi();
    }
    // Ann, at LEVEL with SCORE, continues her game from the game dialog.
    static int ContinueAt(int level, int score)
    {
        AnnPlays(level, score);
        level_no = SCREEN_GAME;
        return Click(hand::CONTINUE_X, hand::CONTINUE_Y);
    }
    // The game closed and started again: the player table read afresh, then
    // Continue; returns the level it opens.
    static int StartAgainAndContinue()
    {
        memset(pin, 0, sizeof pin);
        ReadPlayers();
        proshli = PlayerScore = 0;
        level_no = SCREEN_GAME;
        return Click(hand::CONTINUE_X, hand::CONTINUE_Y);
    }
};

// "highscore.dat": the placeholder, the rows given, empty rows to the end.
static Bytes Table(std::initializer_list<Bytes> rows)
{
    Bytes out = Cat({Rec("", 0, 0), Cat(rows)});
    out.resize(HS_RECORDS * RECORD_SIZE, 0);
    return out;
}

// The merge ranks stored rows and players by score; the recording stores the
// current player's level and touches no one else.
TEST_F(Scores, TheMergeRanksByScoreAndTheRecordingTouchesOnlyTheCurrentPlayer)
{
    Record(Cat({Rec("", 0, 0), Rec("Ann", 4, 500), Rec("Bob", 3, 300)}));
    EXPECT_EQ(ReadBytes(HISCORE_FILE), Table({Rec("Ann", 0, 500), Rec("Bob", 0, 300)}));

    // Ann rises to 700: her old row stays, her pair already in the table is not
    // added twice.
    PlayerScore = 700;
    biljezi();
    EXPECT_EQ(ReadBytes(HISCORE_FILE), Table({Rec("Ann", 0, 700), Rec("Ann", 0, 500), Rec("Bob", 0, 300)}));
    biljezi();
    EXPECT_EQ(ReadBytes(HISCORE_FILE), Table({Rec("Ann", 0, 700), Rec("Ann", 0, 500), Rec("Bob", 0, 300)}));

    // Bob's turn: the level he stands at (the map before level 4 is level 4) is
    // stored with his score, and nobody else's.
    LoadPlayer(2, 0);
    proshli = 1003;
    PlayerScore = 350;
    izmp = 1;
    biljezi();
    EXPECT_EQ(izmp, 0);
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Rec("", 0, 0), Rec("Ann", 4, 700), Rec("Bob", 4, 350)}));

    // A current name that is in no record changes nobody's progress.
    snprintf(PlayerName, sizeof PlayerName, "%s", "Gone");
    proshli = 1;
    PlayerScore = 0;
    biljezi();
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Rec("", 0, 0), Rec("Ann", 4, 700), Rec("Bob", 4, 350)}));
}

TEST_F(Scores, EqualScoresKeepTheOrderMetAndNothingAtOrBelowZeroEnters)
{
    WriteBytes(HISCORE_FILE,
               Table({Rec("A", 0, 90), Rec("B", 0, 80), Rec("C", 0, 70), Rec("D", 0, 60), Rec("E", 0, 50)}));
    Record(Cat({Rec("", 0, 0), Rec("Zed", 2, 50), Rec("Yan", 2, 80), Rec("Nil", 1, 0), Rec("Neg", 1, -5)}));
    // Yan's 80 comes after the stored B; Zed's 50 equals row 5 and stays out.
    EXPECT_EQ(ReadBytes(HISCORE_FILE),
              Table({Rec("A", 0, 90), Rec("B", 0, 80), Rec("Yan", 0, 80), Rec("C", 0, 70), Rec("D", 0, 60)}));

    WriteBytes(HISCORE_FILE, Bytes());
    Record(Cat({Rec("", 0, 0), Rec("Nil", 1, 0), Rec("Neg", 1, -5)}));
    EXPECT_EQ(ReadBytes(HISCORE_FILE), Table({}));
}

// However many players there are, the merge keeps to its tables.
TEST_F(Scores, AFullPlayerTableAndAnOversizedFileMergeWithinBounds)
{
    Bytes big;
    for (int i = 0; i < 1200; i++)
        big = Cat({big, Rec(("S" + std::to_string(i)).c_str(), 0, i)});
    WriteBytes(HISCORE_FILE, big);
    Record(Players(MAX_PLAYERS));
    EXPECT_EQ(ReadBytes(HISCORE_FILE), Table({Rec("P998", 0, 9980), Rec("P997", 0, 9970), Rec("P996", 0, 9960),
                                              Rec("P995", 0, 9950), Rec("P994", 0, 9940)}));
}

// A press made while the last pair vanishes may still be held as the panel
// comes up. Carried over the HUD's MENU button and let go there it opens no
// menu, whose Retry or Main menu would undo the kept win; a click there then
// acknowledges the panel as anywhere else, and the score is counted once.
TEST_F(Scores, APressHeldFromTheWinOpensNoMenuOverTheMenuButton)
{
    using hand::HUD_MENU_X, hand::HUD_MENU_Y;
    OwnLevelsFolder();
    for (int n : {2, 3})
        WriteBytes("media/levels/level" + std::to_string(n) + ".bin", PairOnAFloor());
    ASSERT_EQ(ContinueAt(2, 700), 2);
    Play("idle 3; at 300,420 3; hold 260,420 4; idle 1");
    ASSERT_EQ(end_level, 0);
    for (int k = 0; k < 200 && end_level == 0; k++)
        Step(1, 20, 20);  // pressed on the empty board, held
    ASSERT_EQ(end_level, 1) << "won with the button still down";
    for (int k = 0; k < 5; k++)
        ASSERT_EQ(Step(1, HUD_MENU_X, HUD_MENU_Y), 2) << "held over MENU, frame " << k;
    EXPECT_EQ(Step(0, HUD_MENU_X, HUD_MENU_Y), 2) << "let go over MENU";
    Key(SDLK_ESCAPE);
    EXPECT_EQ(level_no, 2) << "Escape neither";
    EXPECT_EQ(Click(HUD_MENU_X, HUD_MENU_Y), 3) << "a click acknowledges the panel";
    EXPECT_EQ(poen, 790);
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Rec("", 0, 0), Rec("Ann", 3, 790)}));
}

// Ann continues her game at a chapter's last level and wins it through the
// dispatcher. The game could be closed on its panel, before any click, and on
// the relic screen that follows: her file already holds the next level and the
// score with the level's points, and her best and the high score are stored. A
// start from that file opens the next chapter with its picture.
TEST_F(Scores, AWinIsKeptOnItsPanelAndOnTheRelicScreen)
{
    OwnLevelsFolder();
    for (int n : {25, 26})
        WriteBytes("media/levels/level" + std::to_string(n) + ".bin", PairOnAFloor());
    ASSERT_EQ(ContinueAt(25, 700), 25);
    Play("idle 3");
    WinPair();
    Play("idle 3");
    ASSERT_EQ(level_no, 25) << "on the panel";
    const Bytes kept = Cat({Rec("", 0, 0), Rec("Ann", 26, 790)});
    EXPECT_EQ(ReadBytes(PLAYER_FILE), kept);
    EXPECT_EQ(ReadBytes(HISCORE_FILE), Table({Rec("Ann", 0, 790)}));
    ASSERT_EQ(ReadBest(BEST_FILE), 1);
    EXPECT_NE(FindBest("Ann", 25), nullptr);
    Play("click park; idle 3");  // the panel: on to the relic
    ASSERT_EQ(ashcrystal, 7) << "the relic screen with its first part";
    EXPECT_EQ(ReadBytes(PLAYER_FILE), kept);

    EXPECT_EQ(StartAgainAndContinue(), 26);
    Play("idle 3");
    EXPECT_EQ(std::make_tuple(cntgh, poen), std::make_tuple(2, 790)) << "the second chapter's picture";
}

TEST_F(Scores, TheScreenShowsTheStoredRowsAndItsBackButtonIsStrict)
{
    WriteBytes(HISCORE_FILE, Table({Rec("Ann", 0, 700)}));
    EXPECT_EQ(RenderDialogHS(400, 300, 0, KEY_NONE, KEY_NONE, screen), SCREEN_SCORES);
    EXPECT_STREQ(phss[1].name, "Ann");
    EXPECT_EQ(phss[1].score, 700);
    EXPECT_EQ(RenderDialogHS(660, 500, 1, KEY_NONE, KEY_NONE, screen), SCREEN_SCORES);
    RenderDialogHS(661, 501, 0, KEY_NONE, KEY_NONE, screen);
    EXPECT_EQ(RenderDialogHS(661, 501, 1, KEY_NONE, KEY_NONE, screen), SCREEN_MENU);
    EXPECT_EQ(renddhs, 0);
}
