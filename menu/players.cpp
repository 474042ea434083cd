#include "menu/players.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "menu/menu.h"
#include "menu/options.h"
#include "shell/display.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "text/text.h"
#include "trans/trans.h"

int spll = 0;
int enpl = 0;
int badd = 0;
int bedit = 0;
int bdel = 0;
char nizc[EDIT_TEXT_SIZE];
char c = 0;
int chstp = 0;
int renderp = 0;
int tmpx = 0;
int tmpy = 0;
int plhint = 0;

SDL_Surface* DialogImagep = nullptr;
SDL_Surface* mnew = nullptr;
SDL_Surface* medit = nullptr;
SDL_Surface* mdel = nullptr;
SDL_Surface* mye = nullptr;
SDL_Surface* mno = nullptr;
SDL_Surface* mup = nullptr;
SDL_Surface* muph = nullptr;
SDL_Surface* mdn = nullptr;
SDL_Surface* mdnh = nullptr;
SDL_Surface* mnc = nullptr;

SDL_Rect Dialogpa;
SDL_Rect Dialogpe;
SDL_Rect Dialogpd;
SDL_Rect Dialogpok;
SDL_Rect Dialogpc;
SDL_Rect Dialogpup;
SDL_Rect Dialogpdn;
SDL_Rect Dialogppl[LIST_ROWS + 1];

void LoadPlayer(int index, int withText)
{
    SetCurrentPlayer(index);
    if (withText)
        snprintf(nizc, sizeof nizc, "%.*s", NAME_MAX, PlayerName);
}

// ---- the dialog --------------------------------------------------------------

static void SetRect(SDL_Rect& r, int x, int y, int w, int h)
{
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
}

void SetPlayerRects()
{
    Dialogpa = PLAYER_NEW;
    Dialogpe = PLAYER_EDIT;
    Dialogpd = PLAYER_DELETE;
    Dialogpok = DIALOG_OK;
    Dialogpc = DIALOG_CANCEL;
    Dialogpup = PLAYER_PAGE_UP;
    Dialogpdn = PLAYER_PAGE_DOWN;
    for (int k = 1; k <= LIST_ROWS; k++)
        SetRect(Dialogppl[k], PLAYER_ROW.x, PLAYER_ROW.y + PLAYER_ROW.h * (k - 1), PLAYER_ROW.w, PLAYER_ROW.h);
}

static const char* const HintText[HINT_COUNT] = {"", "THAT NAME IS TAKEN", "THE LIST IS FULL", "TYPE A NAME FIRST"};

static int noPlayerAtEntry = 0;  // the table was empty when the dialog was entered
static int plselBeforeNew = 0;   // the selection New left, given back if no name is added

// What one redraw has seen and asked for.
struct DialogTurn {
    int x, y, button, key, character;
    bool mouse;    // a mouse event or the tick; a key press is never a click
    bool sound;    // the click sound is due
    bool confirm;  // Return, OK or a deletion asks to store the table
    bool ok, cancel;
    bool refused;  // the confirmation kept the text: the name is taken or the list full
};

static bool Clicked(const DialogTurn& t)
{
    return t.mouse && t.button != 0 && mousechk == 0;
}

static void PageOf(int index)
{
    spll = index > 0 ? ((index - 1) / LIST_ROWS) * LIST_ROWS + 1 : 1;
    enpl = spll + LIST_ROWS - 1 < ukupl ? spll + LIST_ROWS - 1 : ukupl;
}

static int PageEnd(int first)
{
    return first + LIST_ROWS - 1 < ukupl ? first + LIST_ROWS - 1 : ukupl;
}

static void EnterAddMode()
{
    if (!badd)
        plselBeforeNew = plsel;
    badd = 1;
    plsel = ukupl + 1;
    nizc[0] = 0;
    bedit = bdel = 0;
    plhint = 0;
}

// Add mode ends without a new player: the selection goes back to where it was,
// so nothing points past the last player.
static void LeaveAddMode()
{
    if (!badd)
        return;
    badd = 0;
    plsel = plselBeforeNew <= ukupl ? plselBeforeNew : ukupl;
    nizc[0] = 0;
}

// Opening: the table as stored, the selected player (else the last one) made
// current, the page that shows it, and add mode at once when there is nobody.
static void OpenDialog(SDL_Surface* frame, DialogTurn& t)
{
    ReadPlayers();
    if (ukupl != 0) {
        if (plsel < 1 || plsel > ukupl)
            plsel = ukupl;
        LoadPlayer(plsel, 0);
        PageOf(plsel);
    }
    if (noPlayerAtEntry || ukupl == 0) {
        EnterAddMode();
        t.sound = true;
    }
    if (!proslisc)
        proslisc = CopyScreen(frame);
}

static void TypeKey(DialogTurn& t)
{
    if (!(badd || bedit) || t.key == 0 || t.key == KEY_NONE)
        return;
    size_t n = strlen(nizc);
    if (t.key == SDLK_BACKSPACE) {
        if (n > 0) {
            nizc[n - 1] = 0;
            plhint = 0;
        }
    } else if (t.key == SDLK_RETURN || t.key == SDLK_KP_ENTER) {
        t.confirm = true;
    } else if (n < static_cast<size_t>(NAME_MAX) && t.character >= ' ' && HasGlyph(t.character)) {
        // Only what the fonts draw, one byte a letter (the Latin-1 letters
        // included): a name is read off the screen, so a Tab, an Escape or a
        // letter the fonts lack, which would sit in it unseen, is not taken.
        c = static_cast<char>(t.character);
        nizc[n] = c;
        nizc[n + 1] = 0;
        plhint = 0;
    }
}

static void ModeButtons(SDL_Surface* frame, DialogTurn& t)
{
    if (InRect(Dialogpa, t.x, t.y)) {
        apply_clip(PLAYER_NEW_AT.x, PLAYER_NEW_AT.y, mnew, frame, nullptr);
        if (Clicked(t)) {
            mousechk = 1;
            t.sound = true;
            if (ukupl >= MAX_PLAYERS)
                plhint = 2;  // a full table takes no one more, and says so
            else
                EnterAddMode();
        }
    }
    if (InRect(Dialogpe, t.x, t.y)) {
        apply_clip(PLAYER_EDIT_AT.x, PLAYER_EDIT_AT.y, medit, frame, nullptr);
        if (Clicked(t) && plsel >= 1 && plsel <= ukupl && pin[plsel].name[0]) {
            mousechk = 1;
            bedit = 1;
            badd = bdel = 0;
            plhint = 0;
            t.sound = true;
            LoadPlayer(plsel, 1);
        }
    }
    if (InRect(Dialogpd, t.x, t.y)) {
        apply_clip(PLAYER_DELETE_AT.x, PLAYER_DELETE_AT.y, mdel, frame, nullptr);
        if (Clicked(t)) {
            mousechk = 1;
            t.sound = true;
            bedit = 0;
            plhint = 0;
            if (badd)
                LeaveAddMode();  // Delete while a name is typed only abandons the name
            else
                bdel = 1;
        }
    }
}

static void ArrowKeys(DialogTurn& t)
{
    if (badd || (t.key != SDLK_DOWN && t.key != SDLK_UP))
        return;
    PlayEffect(&mdbtn);
    if (t.key == SDLK_DOWN) {
        if (plsel < ukupl)
            plsel++;
        if (plsel > enpl) {
            if (spll + LIST_ROWS <= ukupl)
                spll += LIST_ROWS;
            enpl = PageEnd(spll);
        }
    } else {
        if (plsel > 1)
            plsel--;
        if (plsel < spll && spll > 1) {
            spll -= LIST_ROWS;
            if (spll < 1)
                spll = 1;
            enpl = PageEnd(spll);
        }
    }
    LoadPlayer(plsel, 1);
}

static int RowOf(int index)
{
    int r = index % LIST_ROWS;
    return r == 0 ? LIST_ROWS : r;
}

// The highlight marks the selected row only on the page that shows it. It goes
// under the names, so the selected name reads like the others.
static void DrawHighlight(SDL_Surface* frame)
{
    int r = RowOf(plsel);
    if (plsel != 0 && plsel >= spll && plsel < spll + LIST_ROWS)
        apply_clip(Dialogppl[r].x - 5, Dialogppl[r].y + 2, mnc, frame, nullptr);
}

static void DrawList(SDL_Surface* frame)
{
    if (plsel > ukupl) {
        spll = ((plsel - 1) / LIST_ROWS) * LIST_ROWS + 1;
        enpl = plsel;
    }
    if (ukupl == 0)
        return;
    if (enpl == 0) {
        spll = 1;
        enpl = LIST_ROWS;
    }
    if (enpl >= ukupl)
        enpl = ukupl;
    for (int i = spll; i <= enpl; i++) {
        if (bedit && i == plsel)
            continue;  // the row being renamed shows the edit text instead
        prikstr(frame, pin[i].name, PLAYER_ROW.x, PLAYER_ROW.y + PLAYER_ROW.h * (i - spll), 2);
    }
}

static void CloseButtons(SDL_Surface* frame, DialogTurn& t)
{
    // Escape is Cancel; Return is OK unless it confirms a name being typed.
    if (IsBackKey(t.key)) {
        t.cancel = true;
        t.sound = true;
    } else if (IsOkKey(t.key) && !badd && !bedit) {
        t.ok = true;
        t.sound = true;
    }
    if (InRect(Dialogpok, t.x, t.y)) {
        apply_clip(DIALOG_OK_AT.x, DIALOG_OK_AT.y, mye, frame, nullptr);
        if (Clicked(t)) {
            mousechk = 1;
            t.ok = true;
            t.sound = true;
        }
    }
    if (InRect(Dialogpc, t.x, t.y)) {
        apply_clip(DIALOG_CANCEL_AT.x, DIALOG_CANCEL_AT.y, mno, frame, nullptr);
        if (Clicked(t)) {
            mousechk = 1;
            t.cancel = true;
            t.sound = true;
        }
    }
}

// A page button turns one page per press: chstp holds it until the button is up.
// Turning the page leaves add mode (the typed name is abandoned) and selects the
// first player of the new page.
static void PageButtons(SDL_Surface* frame, DialogTurn& t)
{
    if (spll > 4) {
        if (chstp != 1 && InRect(Dialogpup, t.x, t.y)) {
            apply_clip(PLAYER_PAGE_UP.x, PLAYER_PAGE_UP.y, muph, frame, nullptr);
            if (Clicked(t)) {
                t.sound = true;
                mousechk = 1;
                chstp = 1;
                LeaveAddMode();
                spll -= LIST_ROWS;
                if (spll < 1)
                    spll = 1;
                plsel = spll;
                LoadPlayer(plsel, 1);
                enpl = PageEnd(spll);
            }
        } else {
            apply_clip(PLAYER_PAGE_UP.x, PLAYER_PAGE_UP.y, mup, frame, nullptr);
        }
    }
    if (enpl < ukupl) {
        if (chstp != 2 && InRect(Dialogpdn, t.x, t.y)) {
            apply_clip(PLAYER_PAGE_DOWN.x, PLAYER_PAGE_DOWN.y, mdnh, frame, nullptr);
            if (Clicked(t)) {
                t.sound = true;
                mousechk = 1;
                chstp = 2;
                LeaveAddMode();
                if (spll + LIST_ROWS <= ukupl)
                    spll += LIST_ROWS;
                plsel = spll;
                LoadPlayer(plsel, 1);
                enpl = PageEnd(spll);
            }
        } else {
            apply_clip(PLAYER_PAGE_DOWN.x, PLAYER_PAGE_DOWN.y, mdn, frame, nullptr);
        }
    }
}

static void DeleteSelected()
{
    // The remembered player ("config.dat" word 4) is a place in the table: it
    // moves up with the player it names, and a deleted player is forgotten. The
    // table is saved at once, so the settings follow at once too.
    int deleted = plsel;
    if (pod[4] == deleted)
        pod[4] = 0;
    else if (pod[4] > deleted)
        pod[4]--;
    WriteSettings();
    for (int i = plsel; i < ukupl; i++)
        pin[i] = pin[i + 1];
    pin[ukupl] = PlayerRecord{};
    ukupl--;
    PlayerName[0] = 0;
    nizc[0] = 0;
    proshli = PlayerScore = 0;
    plsel = 0;
    if (ukupl > 0) {
        plsel = 1;
        LoadPlayer(1, 1);
    }
    // Back to the first page, where the player now selected is shown.
    PageOf(plsel);
}

static void PressedButton(DialogTurn& t)
{
    if (t.button == 0) {
        chstp = 0;
        return;
    }
    if (bdel == 1 && plsel >= 1 && plsel <= ukupl) {
        DeleteSelected();
        t.confirm = true;
    } else if (Clicked(t) && !badd && !bdel) {
        for (int k = 1; k <= LIST_ROWS; k++) {
            int i = spll + k - 1;
            if (i >= 1 && i <= ukupl && InRect(Dialogppl[k], t.x, t.y) && pin[i].name[0]) {
                t.sound = true;
                badd = bedit = bdel = 0;
                plhint = 0;
                plsel = i;
                LoadPlayer(plsel, 1);
                break;
            }
        }
    }
    bdel = 0;
}

// Stores what Return, OK or a deletion confirmed. A name already in the table is
// refused, for a new player and for a rename: names are the key of progress, so
// a second "Ann" would take the first one's level and score. An empty name is
// never stored.
// The name a confirmation would store, as it shows (trailing spaces and bytes
// that draw nothing left out, so no second name can look like the first); a
// typed name that shows nothing is refused and says so.
static bool TakeShownName(DialogTurn& t)
{
    if (!nizc[0] || !(badd || bedit))
        return false;
    char shown[NAME_SIZE];
    ShownName(nizc, shown, sizeof shown);
    if (!shown[0]) {
        plhint = 3;
        t.refused = true;
        return false;
    }
    snprintf(nizc, sizeof nizc, "%s", shown);
    return true;
}

static void Confirm(DialogTurn& t)
{
    bool named = TakeShownName(t);
    if (named && badd) {
        if (ukupl >= MAX_PLAYERS) {
            plhint = 2;
            t.refused = true;
        } else if (FindSameName(nizc, 0)) {
            plhint = 1;
            t.refused = true;
        } else {
            ukupl++;
            SetRecordName(&pin[ukupl], nizc);
            pin[ukupl].level = 1;
            pin[ukupl].score = 0;
            badd = 0;
            plsel = ukupl;
            spll = ((ukupl - 1) / LIST_ROWS) * LIST_ROWS + 1;
            enpl = ukupl;
            snprintf(PlayerName, sizeof PlayerName, "%.*s", NAME_MAX, nizc);
            PlayerScore = 0;
            proshli = 1;
        }
    } else if (named && plsel >= 1 && plsel <= ukupl) {
        if (FindSameName(nizc, plsel)) {
            plhint = 1;
            t.refused = true;
        } else {
            SetRecordName(&pin[plsel], nizc);
            bedit = 0;
            snprintf(PlayerName, sizeof PlayerName, "%.*s", NAME_MAX, pin[plsel].name);
        }
    }
    DropEmptyTail();
    SavePlayers();
}

static void DrawEditText(SDL_Surface* frame)
{
    int r = RowOf(plsel);
    // Under the panel, where it covers neither the list nor a button.
    if (plhint > 0 && plhint < HINT_COUNT) {
        const char* hint = HintText[plhint];
        prikstr(frame, hint, 400 - strl(hint, 0, 0, 3) / 2, HINT_Y, 3);
    }
    int rowY = PLAYER_ROW.y + PLAYER_ROW.h * (r - 1);
    if (!(badd || (bedit && plsel != 0)))
        return;
    int lastX = prikstrl(frame, nizc, PLAYER_ROW.x, rowY, 2);
    if (renderp % 50 <= 25) {
        if (!nizc[0])
            prikstr(frame, "TYPE NAME HERE", PLAYER_ROW.x, rowY, 2);
        else
            prikstr(frame, "_", lastX + 25, rowY, 2);
    }
}

// Cancel keeps the player who was current, as the next start will find them:
// the remembered one, else the last in the table.
static void KeepRememberedPlayer()
{
    int keep = pod[4] >= 1 && pod[4] <= ukupl ? pod[4] : ukupl;
    plsel = keep;
    if (keep >= 1) {
        LoadPlayer(keep, 0);
    } else {
        PlayerName[0] = 0;
        proshli = PlayerScore = 0;
    }
}

static int CloseDialog(bool ok)
{
    LeaveAddMode();
    renddp = 0;
    if (ok) {
        pod[4] = plsel;
        WriteSettings();
    } else {
        KeepRememberedPlayer();
    }
    nizc[0] = 0;
    FreeMenuBackdrop();
    badd = bedit = bdel = 0;
    plhint = 0;
    return SCREEN_MENU;
}

int RenderDialogp(int x, int y, int button, int key, int character, SDL_Surface* frame)
{
    DialogTurn t{x, y, button, key, character, key == KEY_NONE, false, false, false, false, false};
    bool opening = renddp == 0;
    if (opening) {
        WarpPointer(400, 300);
        noPlayerAtEntry = ukupl == 0;
        tmpx = 400;
        tmpy = 300;
        renddp = 1;
    }
    if (t.x == 0 || t.y == 0) {
        t.x = tmpx;
        t.y = tmpy;
    } else {
        tmpx = t.x;
        tmpy = t.y;
    }
    renderp++;
    if (button == 0)
        mousechk = 0;
    // Every entry opens afresh, even over a backdrop another dialog left behind.
    if (opening)
        OpenDialog(frame, t);

    DrawBackdrop(frame);
    FadeInOnce(frame, DialogImagep, DIALOG_AT.x, DIALOG_AT.y, &biodp);

    TypeKey(t);
    ModeButtons(frame, t);
    ArrowKeys(t);
    DrawHighlight(frame);
    DrawList(frame);
    CloseButtons(frame, t);
    PageButtons(frame, t);
    if (t.ok)
        t.confirm = true;
    PressedButton(t);
    if (t.sound)
        PlayEffect(&mdbtn);
    if (t.confirm)
        Confirm(t);
    DrawEditText(frame);
    MenuPointer(frame, t.x, t.y, button == 1 && mousechk == 0);
    if (button == 1 && mousechk == 0)
        mousechk = 1;
    izmp = 1;

    // OK stays open while the confirmation refused the name, so the player can
    // change it.
    if (t.ok && !t.refused)
        return CloseDialog(true);
    if (t.cancel)
        return CloseDialog(false);
    return SCREEN_PLAYERS;
}
