#include "level/render.h"

#include <cstdio>
#include <cstdlib>

#include "level/info.h"
#include "level/level.h"
#include "shell/clock.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "text/text.h"
#include "trans/trans.h"

thread_local int startTicks = 0;
thread_local int mousec = 0;
thread_local int mousenomoved = 0;
thread_local int mousenomovel = 0;
thread_local int brss = 0;
thread_local int play_menu_music = 0;

thread_local int movtim = 0;
thread_local int movtel = 0;
thread_local int movsp = 0;
thread_local int movspr = 0;
thread_local int parttim = 0;

thread_local int end_level = 0;
thread_local int nijepust = 0;
thread_local int drugiput = 0;
thread_local int LEVEL_TIME = 0;
thread_local int rendle = 0;

thread_local int tovita = 0;
thread_local int tovitad = 0;
thread_local int tovii = 1;

int p1, p2, p3, p4, p5, p6;
float i1 = 10.0f, i2 = 70.0f, i3 = 30.0f, i4 = 50.0f, i5 = 80.0f, i6 = 40.0f;

SDL_Surface* TeleportImg[TELEPORT_IMAGES];
SDL_Surface* SpikeDestroyImg[SPIKE_IMAGES];
SDL_Surface* imgPartOfParticle[PARTICLE_IMAGES];
SDL_Surface* ToviLevelImg[PORTRAIT_IMAGES];

// The menu button's hot area is its highlight image, at HUD_MENU; without the
// art, HUD_MENU's own size, so the button works the same.

// Image and rectangle lookups outside their tables draw nothing.
static SDL_Surface* Slot(SDL_Surface* const* table, int size, int i)
{
    return (i >= 0 && i < size) ? table[i] : nullptr;
}

static SDL_Rect* SheetFrame(int i)
{
    static SDL_Rect none = {0, 0, 0, 0};
    return (i >= 0 && i < RECT_TABLE_SIZE) ? &LoadedtrackRectangle[i] : &none;
}

void LevelCursor(SDL_Surface* frame, int x, int y, int holding)
{
    apply_clip(x, y, holding ? optimizedImageCursorh : optimizedImageCursor, frame, nullptr);
}

static void PaceFrame()
{
    if (startTicks == 0)
        startTicks = static_cast<int>(ClockTicks());
    while (ClockTicks() - static_cast<Uint32>(startTicks) < 20)
        ClockDelay(1);
    startTicks = static_cast<int>(ClockTicks());
}

static bool ChapterPictureUp()
{
    return cntgh >= 1 && cntgh <= 5 && ChapterIndexOf(level_no) == cntgh - 1;
}

// The hero blinks after 7 s without a click and may sigh after 15 s.
static void IdleReactions()
{
    bool storyUp = cntintr >= 1 && cntintr <= 5;
    if (storyUp || ChapterPictureUp() || ashcrystal > 1)
        return;
    if (startTicks - mousenomoved > 7000 && end_level == 0) {
        tovitad = 1;
        mousenomoved = 0;
    }
    if (startTicks - mousenomovel > 15000 && end_level == 0) {
        tovita = 1;
        // A silent player (the solver's thread) leaves the shared random numbers alone.
        int r = EffectsMuted ? 0 : rand() % 10 + 1;
        if (!EffectsMuted && rand() % 2 == 1)
            PlayEffect(&negative[r]);
        mousenomovel = 0;
    }
}

// Most wall tiles have no see-through pixel at all. Those are drawn from an
// opaque copy of the tile sheet, a plain copy instead of a blend per pixel, which
// gives the same picture at a fraction of the cost. The copy follows the sheet
// in use (the game loads its sheet once; tests put in sheets of their own).
static SDL_Surface* solidTiles = nullptr;
static SDL_Surface* solidTilesOf = nullptr;
static void* solidTilesPixels = nullptr;
static bool solidFrame[RECT_TABLE_SIZE];

static bool FrameIsSolid(SDL_Surface* sheet, const SDL_Rect& r)
{
    const SDL_PixelFormat* f = sheet->format;
    if (f->BytesPerPixel != 4 || f->Amask == 0 || r.w == 0 || r.x + r.w > sheet->w || r.y + r.h > sheet->h)
        return false;
    bool solid = true;
    SDL_LockSurface(sheet);
    for (int y = r.y; y < r.y + r.h && solid; y++) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(sheet->pixels) + y * sheet->pitch);
        for (int x = r.x; x < r.x + r.w && solid; x++)
            solid = (row[x] & f->Amask) == f->Amask;
    }
    SDL_UnlockSurface(sheet);
    return solid;
}

static SDL_Surface* TileSheetFor(int frame)
{
    if (solidTilesOf != TileTrack || (TileTrack && solidTilesPixels != TileTrack->pixels)) {
        if (solidTiles)
            SDL_FreeSurface(solidTiles);
        solidTiles = TileTrack ? SDL_DisplayFormat(TileTrack) : nullptr;
        solidTilesPixels = TileTrack ? TileTrack->pixels : nullptr;
        if (solidTiles)
            SDL_SetAlpha(solidTiles, 0, SDL_ALPHA_OPAQUE);
        solidTilesOf = TileTrack;
        for (int i = 0; i < RECT_TABLE_SIZE; i++)
            solidFrame[i] = solidTiles && FrameIsSolid(TileTrack, LoadedtrackRectangle[i]);
    }
    bool solid = frame >= 0 && frame < RECT_TABLE_SIZE && solidFrame[frame];
    return solid ? solidTiles : TileTrack;
}

static void DrawBoard(SDL_Surface* frame)
{
    for (int i = 1; i <= ukupnot && i < TIL_SIZE; i++) {
        int t = til[i].type;
        if (t == 0)
            continue;
        int x = static_cast<Sint16>(til[i].x);
        int y = static_cast<Sint16>(til[i].y);
        if (t >= 100 && t != EL_SPIKES)
            apply_clip(x, y, ElemntsTrack, frame, SheetFrame(t - 100));
        if (t == EL_SPIKES) {
            bool jammed = false;
            for (int k = 1; k <= spikedsi; k++)
                jammed = jammed || spikeds[k] == i;
            if (!jammed && MicIndex >= 0 && MicIndex < SPIKE_RECTS)
                apply_clip(x, y, SpikeTrac, frame, &SRect[MicIndex]);
        }
        if (t <= 99)
            apply_clip(x, y, TileSheetFor(t), frame, SheetFrame(t));
        if (IsStuck(t))
            apply_clip(x, y, ElemntsTrack, frame, SheetFrame(t - STUCK_OFFSET - EL_FIRST));
        if (t >= PAD_FIRST) {
            if (bio126 != 0)
                apply_clip(x, y, ElemntsTrack, frame, SheetFrame(EL_TELE_IN - 100));
            apply_clip(x, y, ElemntsTrack, frame, SheetFrame(t - PAD_OFFSET - EL_FIRST));
        }
    }
}

static void SpikeCycle()
{
    if (cnp == 0)
        return;
    if (movtim == 0)
        movtim = gett;
    if (gett - movtim > 100) {
        MicIndex += 1;
        if (MicIndex == 18)
            MicIndex = 1;
        movtim = gett;
    }
}

static void TeleportAnimation(SDL_Surface* frame)
{
    if (telex == 0)
        return;
    if (movtel == 0)
        movtel = gett;
    if (telexi > 0 && telexi < TIL_SIZE)
        apply_clip(til[telexi].x - 55, til[telexi].y - 55, Slot(TeleportImg, TELEPORT_IMAGES, telex - 1), frame,
                   nullptr);
    if (telexo > 0 && telexo < TIL_SIZE)
        apply_clip(til[telexo].x - 55, til[telexo].y - 55, Slot(TeleportImg, TELEPORT_IMAGES, 10 - telex), frame,
                   nullptr);
    if (gett - movtel > 50) {
        telex -= 1;
        movtel = gett;
    }
}

// The spike kill and the crumbling block play the same 34-step break animation.
static void BreakAnimation(SDL_Surface* frame, int& step, int& timer, int x, int y)
{
    if (step == 0)
        return;
    if (timer == 0)
        timer = gett;
    apply_clip(x - 80, y - 80, Slot(SpikeDestroyImg, SPIKE_IMAGES, step - 1), frame, nullptr);
    if (gett - timer > 50) {
        timer = gett;
        if (step > 33) {
            step = 0;
            timer = 0;
        } else {
            step += 1;
        }
    }
}

// The level is won once no element is left and the last puff has gone, unless
// the spikes killed one: that level is lost when the kill has played out.
static void CompletionTest()
{
    if (pind == 0 && cnp == 0 && drugiput == 1 && probo == 0) {
        end_level = 1;
        if (nijepust == 0) {
            nijepust = 1;
            PlayEffect(&mfin);
            LevelWon();
            KeepWin();
        }
    }
    drugiput = 1;
}

// The puff of a match: one at the vanished element's cell, one at each matched
// neighbour's cell.
static void VanishAnimation(SDL_Surface* frame)
{
    if (part == 0 || pind == 0) {
        part = parta = partb = 0;
        return;
    }
    if (parttim == 0)
        parttim = gett;
    SDL_Surface* img = Slot(imgPartOfParticle, PARTICLE_IMAGES, 63 - pind);
    int bx = partb * CELL_SIZE;
    int by = parta * CELL_SIZE;
    int k = part;
    if (k > 7) {
        apply_clip(bx - 50, by - 90, img, frame, nullptr);
        k -= 8;
    }
    if (k > 3) {
        apply_clip(bx - 10, by - 50, img, frame, nullptr);
        k -= 4;
    }
    if (k > 1) {
        apply_clip(bx - 90, by - 50, img, frame, nullptr);
        k -= 2;
    }
    if (k > 0)
        apply_clip(bx - 50, by - 10, img, frame, nullptr);
    apply_clip(bx - 50, by - 50, img, frame, nullptr);
    if (gett - parttim > 10) {
        if (pind > 0)
            pind -= 1;
        parttim = gett;
    }
}

static void Praise()
{
    if (sklop == 0)
        return;
    int r = EffectsMuted ? 0 : rand() % 16 + 1;
    tovita = 1;
    if (!EffectsMuted && rand() % 2 == 1)
        PlayEffect(&positive[r]);
    sklop = 0;
}

// Players drag with the button down, so the press that made the last match may
// still be held when the panel comes up. Only a press that starts after the
// panel has appeared acknowledges it: 0 while a press held from before the end
// of the level, or from before the panel, is still down.
static int panelArmed = 0;

static void CompletePanel(SDL_Surface* frame, int button)
{
    if (!(end_level == 1 && ashcrystal == 0 && (EffectsPlaying() || prikpp != 0)))
        return;
    DarkenScreen(frame);
    FreeBackdrop();
    if (FadeInOnce(frame, leveldone, LEVEL_DONE_AT.x, LEVEL_DONE_AT.y, &prikpp) && button != 0)
        panelArmed = 0;
    prikr(LEVEL_DONE_AT.x, LEVEL_DONE_AT.y, frame);
    DrawWinStats(frame);
}

// HUD text in the 16-pixel font, centred by its width measured in the 20-pixel
// font (the HUD's boxes were laid out for that measure).
static void DrawCentred(SDL_Surface* frame, const char* text, int cx, int y)
{
    int w = strl(text, 0, 560, 2);
    prikstr(frame, text, cx - w / 2, y, 3);
}

// A teaching level's caption: a dark band across the top of the board with the
// line centred in the HUD's font, as the board's notes look, from the level's
// first frame until the player first takes hold of an element. A note (a hint,
// an undo) has the place while it is up.
constexpr int CAPTION_BAND_Y = 6;
constexpr int CAPTION_BAND_H = 34;
constexpr int CAPTION_TEXT_Y = 10;

static void Caption(SDL_Surface* frame)
{
    const char* text = LevelCaption(level_no);
    if (CaptionGone || end_level != 0 || text[0] == '\0' || boardNote[0] != '\0')
        return;
    static SDL_Surface* band = nullptr;  // made on first use, kept for the program's life
    if (!band) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_W - 2 * CELL_SIZE, CAPTION_BAND_H, 32, 0, 0, 0, 0);
        if (s) {
            SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0x1B, 0x12, 0x0A));
            SDL_SetAlpha(s, SDL_SRCALPHA | SDL_RLEACCEL, 190);
            band = s;
        }
    }
    apply_clip(CELL_SIZE, CAPTION_BAND_Y, band, frame, nullptr);
    int w = strl(text, 0, SCREEN_W - 2 * CELL_SIZE, 3);
    prikstr(frame, text, SCREEN_W / 2 - w / 2, CAPTION_TEXT_Y, 3);
}

static void Hud(SDL_Surface* frame)
{
    char text[32];
    snprintf(text, sizeof text, "%d", poen);
    DrawCentred(frame, text, 172, 520);
    snprintf(text, sizeof text, "%d", level_no);
    DrawCentred(frame, text, 743, 555);
}

void ToTime(int seconds, SDL_Surface* frame)
{
    char text[32];
    snprintf(text, sizeof text, "%0*d:%0*d", 2, seconds / 60, 2, seconds % 60);
    DrawCentred(frame, text, 617, 520);
}

static void DrawPortrait(SDL_Surface* target)
{
    int frame = 1;
    if (tovita) {
        frame = tovii % 2 == 1 ? 1 : 4;
    } else if (tovitad) {
        if (tovii == 4)
            tovii = 1;
        frame = tovii;
    }
    apply_clip(HUD_PORTRAIT.x, HUD_PORTRAIT.y, Slot(ToviLevelImg, PORTRAIT_IMAGES, frame), target, nullptr);
    if (tovitad > 1 && tovii == 3)
        tovitad = 0;
    if (tovitad != 0 && tovii == 3)
        tovitad += 1;
    if (!EffectsPlaying())
        tovita = 0;
}

// One wheel of the score counter: rolls upward at its own speed, wrapping after
// 9, until it shows its digit, and stays there.
static void RollWheel(float& wheel, int digit, double speed)
{
    if (static_cast<int>(wheel - 10.0) / 10 == digit)
        wheel = static_cast<float>(static_cast<int>(wheel / 10.0) * 10);
    else
        wheel = static_cast<float>(wheel + speed);
}

static void DrawWheel(SDL_Surface* frame, float wheel, int x, int y)
{
    int n = static_cast<int>(wheel);
    if (n >= 0 && n < VF_RECTS)
        apply_clip(x, y, vfont, frame, &VFrect[n]);
}

// The counter has six wheels: a score beyond what they can show stands at
// 999999 (and one below zero at 0) rather than leaving a wheel rolling for ever.
constexpr int COUNTER_MAX = 999999;

void prikr(int x, int y, SDL_Surface* frame)
{
    int rest = poen < 0 ? 0 : poen > COUNTER_MAX ? COUNTER_MAX : poen;
    p6 = rest / 100000;
    rest -= 100000 * p6;
    p5 = rest / 10000;
    rest -= 10000 * p5;
    p4 = rest / 1000;
    rest -= 1000 * p4;
    p3 = rest / 100;
    rest -= 100 * p3;
    p2 = rest / 10;
    p1 = rest - 10 * p2;
    DrawWheel(frame, i6, x + 100, y + 285);
    DrawWheel(frame, i5, x + 160, y + 285);
    DrawWheel(frame, i4, x + 220, y + 285);
    DrawWheel(frame, i3, x + 280, y + 285);
    DrawWheel(frame, i2, x + 340, y + 285);
    DrawWheel(frame, i1, x + 400, y + 285);
    RollWheel(i1, p1, 1.3);
    RollWheel(i2, p2, 2.7);
    RollWheel(i3, p3, 1.1);
    RollWheel(i4, p4, 3.1);
    RollWheel(i5, p5, 0.7);
    RollWheel(i6, p6, 1.8);
    float* wheels[] = {&i1, &i2, &i3, &i4, &i5, &i6};
    for (float* w : wheels)
        if (*w > 110.0f)
            *w = 10.0f;
}

static void StartLevelMusic(bool& restart)
{
    if (rendle == 0) {
        rendle = 1;
        restart = true;
    }
    if (!Mix_PlayingMusic())
        restart = true;
    if (restart && ashcrystal == 0) {
        restart = false;
        PlayTune(musicl[ChapterOf(level_no)]);
    }
}

// What a key does during level play: Escape opens the level menu, as the HUD's
// MENU button does. Returns 1 when the key opened it.
static int OpensLevelMenu(int key)
{
    return IsBackKey(key) && end_level == 0 ? 1 : 0;
}

// The HUD's MENU button, lit while the pointer is over it; returns 1 when a
// press there opens the level menu. A won level has no menu (as for Escape): a
// press held from before the win and carried over the button opens nothing.
static int MenuButton(SDL_Surface* frame, int x, int y, int button)
{
    if (end_level != 0)
        return 0;
    int bw = menubtn ? menubtn->w : HUD_MENU.w;
    int bh = menubtn ? menubtn->h : HUD_MENU.h;
    if (!InRect(SDL_Rect{HUD_MENU.x, HUD_MENU.y, static_cast<Uint16>(bw), static_cast<Uint16>(bh)}, x, y))
        return 0;
    apply_clip(HUD_MENU.x, HUD_MENU.y, menubtn, frame, nullptr);
    return button != 0 && mousec == 0 ? 1 : 0;
}

static int LevelFrame(SDL_Surface* frame, int x, int y, int button, int key, int levelStar)
{
    if (cntintr == 6 && cntgh == 0 && OpensChapter(level_no))
        cntgh = ChapterIndexOf(level_no) + 1;
    apply_clip(0, 0, LevelImage, frame, nullptr);
    if (cntgh >= 1 && cntgh <= 5) {
        int r = ChapterPicture(frame, x, y, button, levelStar);
        if (r != -1)
            return r;
    }
    bool restartMusic = false;
    StartLevelMusic(restartMusic);
    // The level goes on once its panel was acknowledged (or the relic is due).
    if (ashcrystal == 1 || (button == 1 && end_level == 1 && prikpp == 2))
        return LevelAdvance(frame, levelStar);
    HintFrame();
    if (frame && !DrawingOff)
        DrawBoard(frame);
    SpikeCycle();
    TeleportAnimation(frame);
    BreakAnimation(frame, spiked, movsp, spikex, spikey);
    BreakAnimation(frame, raspad, movspr, raspadx, raspady);
    CompletionTest();
    VanishAnimation(frame);
    Praise();
    if (frame && !DrawingOff) {
        Caption(frame);
        Hud(frame);
    }
    // The clock runs from the level's first frames while elements are left. Until
    // it has taken its first reading the time is 0, not the time since start-up.
    if (cnp != 0)
        LEVEL_TIME = LEVEL_TIMER != 0 ? (gett - LEVEL_TIMER) / 1000 : 0;
    if (end_level == 1)
        tovita = tovitad = tovii = 0;
    if (tovita != 0 || tovitad != 0)
        tovii = MicIndex / 5 + 1;
    if (frame && !DrawingOff)
        ToTime(LEVEL_TIME, frame);
    if (frame) {
        DrawHint(frame);
        DrawAssist(frame, x, y, button);
    }
    bool menu = OpensLevelMenu(key) != 0;
    if (MenuButton(frame, x, y, button))
        menu = true;
    // The portrait and the HUD are drawn before the panel fades in over them and
    // before the level menu takes its copy of the screen, so neither blanks them.
    DrawPortrait(frame);
    if (menu) {
        HintCancel();  // the level menu: a search running or a hint shown ends
        return SCREEN_RETRY;
    }
    if (frame)
        CompletePanel(frame, button);
    LevelCursor(frame, Cursor.x - 20, Cursor.y - 20, MovingElement == 1);
    return levelStar;
}

int RendLevel(SDL_Surface* target, int x, int y, int button, int key, int levelStar, int)
{
    play_menu_music = 1;
    if (button == 0)
        mousec = 0;
    if (button == 0)
        panelArmed = 1;
    else if (end_level == 0)
        panelArmed = 0;
    PaceFrame();
    if (mousenomovel == 0 || button != 0)
        mousenomovel = startTicks;
    if (mousenomoved == 0 || button != 0)
        mousenomoved = startTicks;
    IdleReactions();
    // A click acknowledges the level-complete panel. A finished level whose panel
    // never came up (nothing was sounding as it finished) counts as shown, so the
    // click still leads on to the relic sequence after a chapter's last level.
    if (button != 0 && mousec == 0 && panelArmed && (prikpp == 1 || (prikpp == 0 && end_level == 1))) {
        prikpp = 2;
        mousec = 1;
    }
    brss += 1;

    if (ashcrystal > 1 && prikpp == 2 && end_level == 1)
        return RelicSequence(target, x, y, button, levelStar);
    if (levelStar != 0) {
        // A level (re)starts: nothing is drawn in this frame.
        if (bioinitl == 0 && !LevelSearching)
            InitLevel();
        prikpp = 0;
        return 0;
    }
    if (cntintr >= 1 && cntintr <= 5)
        return OpeningStory(target, x, y, button, levelStar);
    return LevelFrame(target, x, y, button, key, levelStar);
}
