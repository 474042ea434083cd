// Driving the menu screens the way a player does: pointer moves, presses and
// releases, typed keys; and building the game's data files byte by byte.
#ifndef TOVI_TESTS_MENU_DRIVER_H
#define TOVI_TESTS_MENU_DRIVER_H

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "menu/menu.h"
#include "menu/players.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "tests/harness.h"
#include "tools/sim/simcore.h"

using Bytes = std::vector<unsigned char>;

// One 24-byte record: name, level, score.
Bytes Rec(const char* name, int level, int score);
Bytes Cat(std::initializer_list<Bytes> parts);
// "player.dat" with the placeholder and players named P1, P2, ... (level i, score 10 i).
Bytes Players(int n);
// Ann, the one player in "player.dat", is the current player at LEVEL with SCORE
// (and the level state as at program start).
void AnnPlays(int level, int score);
// A level's board: a floor along the bottom row and two equal treasures on it,
// a cell apart (columns 5 and 7): one slide wins it.
Bytes PairOnAFloor();
// The scratch folder's media/ becomes a folder of the test's own, holding only
// an empty levels/ (the game's art is not linked any more).
void OwnLevelsFolder();
// A media/ folder in the working directory holding links to the game's levels
// (and videos when asked) and nothing else; false when a link failed.
bool LinkLevelsOnly(bool videos);

// ---- a level through the real dispatcher, as a hand plays it ----
// One main-loop iteration after the pointer moved to (x, y) with the button as
// given; returns the screen it leaves.
int Step(int button, int x, int y);
int Click(int x, int y);         // move there, press, release
void Key(int sym, int mod = 0);  // a key pressed (with its letter, unless a modifier is held), then a frame
// A hand's steps through the dispatcher, separated by ';'; returns the screen
// the last step leaves. "idle K": K frames, pointer parked at (20, 20), button
// up; "at P [K]" and "hold P [K]": K frames (1) at P, button up or down;
// "press P": at, then hold; "click P": at, hold, at; "key esc|return|LETTER":
// a key, then a frame; "wait": idle until a double click's time has passed.
// P is X,Y or a spot: park, fwd (the pictures' forward button), hud (the HUD's
// menu button), retry1..3 (the level dialog's items, 20 px inside).
int Play(const std::string& steps);
// Level N straight on its board, past its story and pictures, at rest.
void OpenLevel(int level);
// On PairOnAFloor: the record of the treasure in that column of row 10 (0: none),
// the right treasure slid one cell further away, and the level won by sliding
// it against the left one (then played until the level says so).
int TreasureAt(int col);
void SlideRightAway();
void WinPair();

// Every global of the profile dialog, the current player and the settings as
// when the game starts, with no fade-in (it only slows the tests).
inline void ResetProfileDialog()
{
    FreeMenuBackdrop();
    memset(pin, 0, sizeof pin);
    ukupl = plsel = spll = enpl = badd = bedit = bdel = chstp = renderp = plhint = 0;
    nizc[0] = PlayerName[0] = 0;
    proshli = PlayerScore = izmp = 0;
    renddp = 0;
    biodp = 1;
    mousechk = 1;
    pod[0] = 0, pod[1] = 50, pod[2] = 50, pod[3] = 0, pod[4] = 0;
}

// A fresh working directory with the game's media linked in, the dummy display
// open, and every menu global as at start-up; the directory goes at the end.
class MenuScratch {
public:
    MenuScratch();
    ~MenuScratch();

private:
    std::unique_ptr<InScratchDir> dir;
};

// The profile dialog (screen 997).
int Dlg(int x, int y, int button);  // one mouse event or tick
int DlgClick(int x, int y);         // move there, press, release; returns the last result
int DlgType(const char* text);      // one key press per character
int DlgKey(int sym);                // Return, Backspace, arrows
// Hot spots of the dialog.
constexpr int NEW_X = 270, NEW_Y = 180;
constexpr int EDIT_X = 400, EDIT_Y = 180;
constexpr int DEL_X = 520, DEL_Y = 180;
constexpr int OK_X = 300, OK_Y = 400;
constexpr int CANCEL_X = 480, CANCEL_Y = 400;
constexpr int PGUP_X = 555, PGUP_Y = 240;
constexpr int PGDN_X = 555, PGDN_Y = 340;
inline int RowY(int k)
{
    return 30 * k + 190;
}
constexpr int ROW_X = 300;

// ---- the whole game through the dispatcher, as SDL delivers a player's hand ----
// Presses and releases are button events here (Step and Click above hold the
// button in the motion's state). Once the game has quit nothing more is played.
namespace hand {
constexpr int FWD_X = 716, FWD_Y = 537;            // forward on pictures, the relic screen and the map
constexpr int PARK_X = 790, PARK_Y = 10;           // a pointer that rests on nothing
constexpr int PLAY_X = 133, PLAY_Y = 305;          // the menu's first item
constexpr int CONTINUE_X = 400, CONTINUE_Y = 280;  // the game dialog's Continue
constexpr int HUD_MENU_X = 79, HUD_MENU_Y = 566;   // the level's menu button
// Called before (false) and after (true) every main-loop iteration the hand
// makes; null by default (the soak counts the screens with it).
inline void (*watch)(bool after) = nullptr;
void Step();                            // one main-loop iteration on the events pushed so far
void Motion(int button, int x, int y);  // a move, then an iteration
void Press(bool down, int x, int y);    // a press or release, then an iteration
void Click(int x, int y);               // move there, press, release
void KeyPress(int sym, int unicode);    // a key, then an iteration
void Type(const char* text);            // a key for each byte (Latin-1 letters are their own Unicode)
void TypeLine(const char* text);        // the same, then Return
void Idle(int frames);                  // moves onto the parking place
// Play's steps through SDL's button and key events (a key with its character),
// where idle parks at PARK and fwd is FWD; "play" is the menu's first item.
void Play(const std::string& steps);
// Level N's stored win from frame `from` on, while the level is on screen and
// not won; returns the frame it stopped at.
size_t PlayStoredWin(int level, size_t from);
}  // namespace hand

#endif
