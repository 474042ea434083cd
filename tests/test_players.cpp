// The profile dialog and "player.dat", driven through the dialog's own events:
// typing, Return, New, Edit, Delete, rows, page buttons, OK and Cancel. Every
// case checks the files byte for byte. No player may lose progress: names stay
// unique, a rename can be taken back, a full table stays whole.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>
#include <tuple>

#include "app/tovi.h"
#include "menu/options.h"
#include "menu/scores.h"
#include "shell/media.h"
#include "tests/menu_driver.h"
#include "text/text.h"

class Profiles : public ::testing::Test {
protected:
    MenuScratch scratch;
    static void Open(const Bytes& file)
    {
        WriteBytes(PLAYER_FILE, file);
        ReadPlayers();
        Dlg(400, 300, 0);
    }
};

// A hand on the dialog, word by word: a control's name clicks it (New, Edit,
// Delete, OK, Cancel, PgUp, PgDn), rowN clicks a row of the list, Return,
// Backspace, Up and Down are keys, and 'text types the text. Returns the screen
// the last word left.
static int Do(const std::string& words)
{
    static const std::map<std::string, std::pair<int, int>> Spots = {
        {"New", {NEW_X, NEW_Y}},          {"Edit", {EDIT_X, EDIT_Y}}, {"Delete", {DEL_X, DEL_Y}}, {"OK", {OK_X, OK_Y}},
        {"Cancel", {CANCEL_X, CANCEL_Y}}, {"PgUp", {PGUP_X, PGUP_Y}}, {"PgDn", {PGDN_X, PGDN_Y}}};
    static const std::map<std::string, int> Keys = {
        {"Return", SDLK_RETURN}, {"Backspace", SDLK_BACKSPACE}, {"Up", SDLK_UP}, {"Down", SDLK_DOWN}};
    std::istringstream in(words);
    std::string w;
    int r = SCREEN_PLAYERS;
    while (in >> w) {
        if (Spots.count(w))
            r = DlgClick(Spots.at(w).first, Spots.at(w).second);
        else if (Keys.count(w))
            r = DlgKey(Keys.at(w));
        else if (w.rfind("row", 0) == 0)
            r = DlgClick(ROW_X, RowY(std::stoi(w.substr(3))));
        else if (w[0] == '\'')
            r = DlgType(w.c_str() + 1);
        else
            ADD_FAILURE() << "no such word: " << w;
    }
    return r;
}

// What a hand's words leave, each case on a fresh dialog over the players
// given: the file (after the menu's recording, once the dialog closed), the
// screen, the current player, the hint (-1: any) and the remembered place (-1: any).
TEST_F(Profiles, WhatEachUseLeavesInTheFile)
{
    const Bytes ab = Cat({Rec("", 0, 0), Rec("Ann", 7, 900), Rec("Bob", 3, 200)});
    const Bytes full = Players(MAX_PLAYERS);
    const char* const rename = "row2 Edit Backspace Backspace Backspace ";
    const struct {
        Bytes start;
        std::string words;
        Bytes file;
        int screen;
        const char* current;
        int hint, remembered;
    } cases[] = {
        // The first start opens in add mode: a typed name makes the player
        // (Backspace erases nothing), a name holds 15 characters, and OK keeps
        // the selection in the settings.
        {Bytes(), "Backspace 'Ann Return New 'ABCDEFGHIJKLMNOPQ Return OK",
         Cat({Rec("", 0, 0), Rec("Ann", 1, 0), Rec("ABCDEFGHIJKLMNO", 1, 0)}), SCREEN_MENU, "ABCDEFGHIJKLMNO", -1, 2},
        // A clicked row is current (an empty row does nothing); New, then OK
        // with no name typed, keeps it.
        {Players(3), "row3 row5 New OK", Players(3), SCREEN_MENU, "P3", -1, 3},
        // Deleting moves the rest up, on any page, and the player then current
        // keeps their progress; the last leaves an empty file.
        {Players(3), "row2 Delete OK", Cat({Rec("", 0, 0), Rec("P1", 1, 10), Rec("P3", 3, 30)}), SCREEN_MENU, "P1", -1,
         1},
        {Players(3), "row2 Delete Delete Delete", Bytes(), SCREEN_PLAYERS, "", -1, -1},
        // Delete while a new name is typed only abandons the name.
        {Players(3), "row2 New 'Zed Delete", Players(3), SCREEN_PLAYERS, "P2", -1, -1},
        {Players(7), "PgDn row1 Delete", Cat({Players(5), Rec("P7", 7, 70)}), SCREEN_PLAYERS, "P1", -1, -1},
        // A full table takes no one more, says so, and closes whole.
        {full, "New", full, SCREEN_PLAYERS, "P998", 2, -1},
        {full, "New 'Extra Return OK", full, SCREEN_MENU, "P998", -1, -1},
        // A name already there is refused; the hint goes once the typed text
        // changes, and the changed name is taken.
        {ab, "New 'Ann Return 'e", ab, SCREEN_PLAYERS, "Bob", 0, -1},
        {ab, "New 'Ann Return 'e Return", Cat({ab, Rec("Anne", 1, 0)}), SCREEN_PLAYERS, "Anne", -1, -1},
        // Bob renamed to Ann is refused; Cancel takes a rename back; erased to
        // nothing, Return does nothing and OK keeps the old name.
        {ab, rename + std::string("'Ann Return"), ab, SCREEN_PLAYERS, "Bob", 1, -1},
        {ab, rename + std::string("'Ann Return Cancel"), ab, SCREEN_MENU, "Bob", -1, -1},
        {ab, rename + std::string("'Zed Cancel"), ab, SCREEN_MENU, "Bob", -1, -1},
        {ab, rename + std::string("Return OK"), ab, SCREEN_MENU, "Bob", -1, -1},
        // A real rename keeps the level and the score.
        {ab, "row2 Edit 'by Return", Cat({Rec("", 0, 0), Rec("Ann", 7, 900), Rec("Bobby", 3, 200)}), SCREEN_PLAYERS,
         "Bobby", -1, -1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.words);
        MenuScratch fresh;
        Open(k.start);
        EXPECT_EQ(Do(k.words), k.screen);
        if (k.screen == SCREEN_MENU)
            biljezi();
        EXPECT_EQ(ReadBytes(PLAYER_FILE), k.file);
        EXPECT_STREQ(PlayerName, k.current);
        EXPECT_TRUE(k.hint < 0 || plhint == k.hint) << "hint " << plhint;
        EXPECT_TRUE(k.remembered < 0 || GetLE32(ReadBytes(CONFIG_FILE).data() + 16) == k.remembered);
    }
}

// The remembered player stays the same person: deleting another player moves it
// with them, a click on another row then Cancel changes nothing, and the next
// start makes the same player current as the menu showed.
TEST_F(Profiles, TheRememberedPlayerStaysTheSamePersonWhateverIsDeleted)
{
    pod[4] = 2;
    WriteSettings();
    Open(Players(3));
    ASSERT_EQ(Do("row2 OK"), SCREEN_MENU);
    ASSERT_STREQ(PlayerName, "P2");
    // P1 goes (P2 is now the first), P3 is clicked, then Cancel.
    renddp = 0;
    EXPECT_EQ(Do("row1 Delete row2 Cancel"), SCREEN_MENU);
    EXPECT_STREQ(PlayerName, "P2") << "Cancel keeps the player who was current";
    std::vector<unsigned char> config = ReadBytes(CONFIG_FILE);
    ASSERT_EQ(config.size(), 20u);
    EXPECT_EQ(GetLE32(config.data() + 16), 1) << "the remembered place followed P2";

    // The remembered player deleted: forgotten, and the last one is current.
    renddp = 0;
    EXPECT_EQ(Do("row1 Delete Cancel"), SCREEN_MENU);
    EXPECT_EQ(GetLE32(ReadBytes(CONFIG_FILE).data() + 16), 0);
    EXPECT_STREQ(PlayerName, "P3");
}

// Pages of five turn once per press (a held button turns no second one); Down
// on the last row of a page turns it only when a player follows. With five
// players New types on an empty second page; a key press is not a click, so
// typing with the pointer on Cancel types.
TEST_F(Profiles, PagesOfFiveTurnOncePerPress)
{
    auto at = [] { return std::pair(plsel, spll); };  // the selected row, the page's first
    Open(Players(7));
    DlgClick(ROW_X, RowY(1));
    for (int button : {0, 1, 1})
        Dlg(PGDN_X, PGDN_Y, button);
    EXPECT_EQ(at(), std::pair(6, 6));
    EXPECT_EQ(enpl, 7);
    EXPECT_STREQ(PlayerName, "P6");
    const struct {
        const char* words;
        int selected, first;
    } steps[] = {{"PgUp", 1, 1}, {"Down Down Down Down", 5, 1}, {"Down", 6, 6}, {"Down Down", 7, 6}, {"Up Up", 5, 1}};
    for (const auto& step : steps) {
        Do(step.words);
        EXPECT_EQ(at(), std::pair(step.selected, step.first)) << step.words;
    }

    MenuScratch fresh;
    Open(Players(5));
    Do("New");
    EXPECT_EQ(at(), std::pair(6, 6));
    Dlg(CANCEL_X, CANCEL_Y, 0);
    EXPECT_EQ(DlgType("Six"), SCREEN_PLAYERS);
    Do("Return");
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Players(5), Rec("Six", 1, 0)}));
    EXPECT_EQ(std::pair(spll, enpl), std::pair(6, 6));
}

// Files the game did not write: too long, cut short, names without their NUL.
TEST_F(Profiles, OddFilesLoadWhatIsIntactAndNothingMore)
{
    Bytes tooLong = Players(MAX_PLAYERS + 20);
    WriteBytes(PLAYER_FILE, tooLong);
    ReadPlayers();
    EXPECT_EQ(ukupl, MAX_PLAYERS);
    EXPECT_STREQ(pin[MAX_PLAYERS].name, "P998");

    Bytes cut = Players(3);
    cut.resize(cut.size() - 5);
    Bytes noNul = Rec("", 4, 44);
    memset(noNul.data(), 'x', 16);
    WriteBytes(PLAYER_FILE, Cat({Rec("", 0, 0), noNul, Bytes(cut.begin() + 24, cut.end())}));
    ReadPlayers();
    EXPECT_EQ(ukupl, 3);
    EXPECT_STREQ(pin[1].name, "xxxxxxxxxxxxxxx");
    EXPECT_EQ(pin[1].level, 4);
    EXPECT_STREQ(pin[3].name, "P2");
    SavePlayers();
    EXPECT_EQ(ReadBytes(PLAYER_FILE),
              Cat({Rec("", 0, 0), Rec("xxxxxxxxxxxxxxx", 4, 44), Rec("P1", 1, 10), Rec("P2", 2, 20)}));
}

// ---- the dialog through the real event pump --------------------------------------
// Keys arrive as SDL delivers them (a key symbol with the Unicode character it
// typed) and the dispatcher hands them on; the pictures are the game's own.
class ProfilesByHand : public ::testing::Test {
protected:
    MenuScratch scratch;
    void SetUp() override
    {
        if (MenuPrviPut)
            InitMenu(screen);
        if (!fPicture)
            LoadFonts();
        biodp = 1;
        m_bQuit = 0;
    }
    void Open(const Bytes& file)
    {
        WriteBytes(PLAYER_FILE, file);
        ReadPlayers();
        level_no = SCREEN_PLAYERS;
        PushMotion(0, 400, 300);
        CheckKeys();
    }
};

// Letters the fonts draw are kept, one byte each; a character they lack, a Tab
// and Delete are not. Names that differ only in what does not show (spaces at
// the ends, bytes no font draws, as an older file may hold) are one name, and a
// name of spaces alone is refused and says so.
TEST_F(ProfilesByHand, LatinLettersAreKeptAndLookalikeNamesAreOneName)
{
    Bytes file = Cat({Rec("", 0, 0), Rec("Bob\x01", 4, 300), Rec("Cid ", 2, 100)});
    Open(file);
    hand::Click(NEW_X, NEW_Y);
    hand::Type("Zo\xEB");
    hand::KeyPress(SDLK_TAB, '\t');
    hand::KeyPress(SDLK_DELETE, 127);
    hand::KeyPress(0, 0x151);  // o with double acute: not in the fonts
    hand::Type(" \xC5ngstr\xF6m");
    EXPECT_STREQ(nizc, "Zo\xEB \xC5ngstr\xF6m");
    hand::KeyPress(SDLK_RETURN, '\r');
    Bytes withZoe = Cat({file, Rec("Zo\xEB \xC5ngstr\xF6m", 1, 0)});
    EXPECT_EQ(ReadBytes(PLAYER_FILE), withZoe);
    EXPECT_STREQ(PlayerName, "Zo\xEB \xC5ngstr\xF6m");

    const char* lookalikes[] = {"Bob", "Cid", " Cid  ", "Zo\xEB \xC5ngstr\xF6m "};
    for (const char* name : lookalikes) {
        hand::Click(NEW_X, NEW_Y);
        hand::TypeLine(name);
        EXPECT_EQ(plhint, 1) << '"' << name << "\" is taken";
        EXPECT_EQ(ReadBytes(PLAYER_FILE), withZoe) << name;
    }
    hand::Click(NEW_X, NEW_Y);
    hand::TypeLine("   ");
    EXPECT_EQ(std::make_tuple(plhint, badd), std::make_tuple(3, 1)) << "a name that shows nothing";
    hand::Click(OK_X, OK_Y);
    EXPECT_EQ(level_no, SCREEN_PLAYERS) << "OK does not close over it either";
    EXPECT_EQ(ReadBytes(PLAYER_FILE), withZoe);

    // A new name is stored as it shows; Cid renamed to how Cid shows is Cid,
    // stored clean.
    hand::KeyPress(SDLK_BACKSPACE, 8), hand::KeyPress(SDLK_BACKSPACE, 8);
    hand::TypeLine("Dee ");
    hand::Click(ROW_X, RowY(2));
    hand::Click(EDIT_X, EDIT_Y);
    hand::TypeLine("  ");
    EXPECT_EQ(plhint, 0);
    EXPECT_EQ(ReadBytes(PLAYER_FILE), Cat({Rec("", 0, 0), Rec("Bob\x01", 4, 300), Rec("Cid", 2, 100),
                                           Rec("Zo\xEB \xC5ngstr\xF6m", 1, 0), Rec("Dee", 1, 0)}));
}

// The hints sit under the panel: the list's rows and frame look the same with
// a hint up as without. The selected name is drawn over its highlight, so it
// reads like the others: its solid glyph pixels are the font's own.
TEST_F(ProfilesByHand, HintsKeepOffTheListAndTheSelectedNameIsReadable)
{
    Open(Players(5));
    hand::Click(ROW_X, RowY(2));
    CheckKeys();
    SDL_Surface* before = CopyScreen(screen);
    for (int hint = 1; hint < HINT_COUNT; hint++) {
        plhint = hint;
        CheckKeys();
        EXPECT_EQ(PixelsDiffering(before, screen, 215, 195, 505, 365), 0) << "hint " << hint << " covers the list";
    }
    SDL_FreeSurface(before);

    // P2 alone on black and on white: the pixels that come out the same are the
    // glyphs' solid ones, and the dialog's selected row must show them as they are.
    plhint = 0;
    CheckKeys();
    std::vector<Uint32> ink[2];
    for (int k = 0; k < 2; k++) {
        SDL_Surface* alone = SolidSurface(200, 34, SDL_MapRGB(screen->format, 255 * k, 255 * k, 255 * k));
        prikstr(alone, "P2", 0, 0, 2);
        ink[k] = SurfacePixels(alone);
        SDL_FreeSurface(alone);
    }
    const Uint32 rgb = screen->format->Rmask | screen->format->Gmask | screen->format->Bmask;
    int solid = 0, kept = 0;
    for (size_t i = 0; i < ink[0].size(); i++)
        if ((ink[0][i] & rgb) == (ink[1][i] & rgb)) {
            solid++;  // the selected row, the second, is drawn at y 235
            kept += (PixelAt(screen, 230 + i % 200, 235 + i / 200) & rgb) == (ink[0][i] & rgb);
        }
    ASSERT_GT(solid, 100);
    EXPECT_EQ(kept, solid) << "the highlight lies over the selected name";
}

// The first start opens the profiles over the menu at once: the picture behind
// the dialog is the menu without a hand in it.
TEST_F(ProfilesByHand, TheFirstStartsDialogHasNoHandBehindIt)
{
    WriteBytes(PLAYER_FILE, Players(1));
    ReadPlayers();
    level_no = SCREEN_MENU;
    rendme = 1;
    PushMotion(0, 20, 20);
    CheckKeys();
    ASSERT_EQ(level_no, SCREEN_MENU);
    remove(PLAYER_FILE);
    ReadPlayers();  // nobody left: the next menu frame opens the profiles
    CheckKeys();
    ASSERT_EQ(level_no, SCREEN_PLAYERS);
    ASSERT_NE(proslisc, nullptr);
    const SDL_PixelFormat* f = screen->format;
    int differ = PixelsDiffering(proslisc, MenuImage, 15, 15, 60, 60, f->Rmask | f->Gmask | f->Bmask);
    ASSERT_GE(differ, 0) << "both are pictures of the screen's layout";
    // The hand covers hundreds of these pixels; the scene's drifting dust may
    // touch a few.
    EXPECT_LT(differ, 40) << "a hand lies in the dialog's backdrop";
}
