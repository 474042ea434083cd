#include "menu/menu.h"

#include <cstdio>
#include <cstdlib>

#include "level/level.h"
#include "menu/credits.h"
#include "menu/game.h"
#include "menu/help.h"
#include "menu/levels.h"
#include "menu/map.h"
#include "menu/options.h"
#include "menu/players.h"
#include "menu/scores.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "text/text.h"

SDL_Rect MenuRectangle[MENU_HOT_AREAS + 1];
SDL_Surface* menui[MENU_STRIP_SLOTS];
SDL_Surface* menuRest[MENU_STRIP_SLOTS];
SDL_Rect MRect[STRIP_FRAMES + 1];
int proslastavka = 0;
int br = 0;
int smer = 0;
int brs = 0;
int as = 0;
int menu_item = 0;
int level_num = 0;

SDL_Surface* CamelImage = nullptr;
SDL_Rect CRect[CAMEL_FRAMES + 1];
int kamila = 0;
float gdesam = 0;
SDL_Surface* MaskImage = nullptr;
SDL_Surface* BugImage[BUG_IMAGES];
SDL_Surface* ToviImage[HERO_IMAGES];
int tovital = 0;
int tovices = 0;
int tovimig = 0;
int drc = 0;
int mousenomove = 0;
int mousenomoveces = 0;
int tdm = 0;
int tdm2 = 0;
float dtm = 0;
float drtm = 0;
SDL_Surface* MenuImage = nullptr;
SDL_Surface* WpImage = nullptr;
SDL_Surface* BaImage = nullptr;

SDL_Surface* optimizedImageCur = nullptr;
SDL_Surface* optimizedImageCursorp = nullptr;
Mix_Music* mintro = nullptr;
Mix_Music* mmap_music = nullptr;
Mix_Chunk* mtomb = nullptr;
Mix_Chunk* mcamel = nullptr;
Mix_Chunk* mdbtn = nullptr;
int MenuPrviPut = 1;
SDL_Surface* LSImage = nullptr;
SDL_Surface* LSTImage = nullptr;
SDL_Rect LST[LOADING_STEPS + 1];

// ---- shared by the menu screens ------------------------------------------------

void MenuCursor(SDL_Surface* frame, int x, int y)
{
    apply_clip(x, y, optimizedImageCur, frame, nullptr);
}

void MenuPointer(SDL_Surface* frame, int x, int y, int pressed)
{
    apply_clip(x, y, pressed ? optimizedImageCursorp : optimizedImageCur, frame, nullptr);
}

void DrawBackdrop(SDL_Surface* frame)
{
    DrawDarkened(frame, &proslisc);
}

void FreeMenuBackdrop()
{
    ReleaseSurface(&proslisc);
}

// ---- loading -------------------------------------------------------------------

// Loads into an empty slot only: the level screen may have brought some of the
// same pictures in already, and a slot is never loaded twice.
static void Pack(SDL_Surface* image);

// The pictures of a loading step are decoded together on helper threads; the
// step's mark on the loading bar is drawn once they are all in.
static void Load(SDL_Surface*& slot, const char* path, int format)
{
    if (slot)
        return;
    LoadLater(&slot, path,
              format == MEDIA_ALPHA    ? IMAGE_ALPHA
              : format == MEDIA_OPAQUE ? IMAGE_OPAQUE
                                       : IMAGE_RAW,
              format == MEDIA_OPAQUE || format == MEDIA_STRIP ? nullptr : Pack);
}

// A picture with see-through parts is kept run-length coded: SDL then keeps only
// the runs that show and drops the full pixel buffer, and skips the clear runs
// when drawing. The item strips are mostly air, so this saves most of their
// memory and most of the menu's drawing. The coding is made by the first blit to
// the screen; one blit of the top-left pixel does it now, with that screen
// pixel put back afterwards.
static void Pack(SDL_Surface* image)
{
    // The frame every picture is drawn into (the coding is made for it).
    SDL_Surface* target = screen ? screen : SDL_GetVideoSurface();
    if (!image || !target || !image->format->Amask)
        return;
    SDL_SetAlpha(image, SDL_SRCALPHA | SDL_RLEACCEL, SDL_ALPHA_OPAQUE);
    if (SDL_LockSurface(target) != 0)
        return;
    Uint32 kept = *static_cast<Uint32*>(target->pixels);
    SDL_UnlockSurface(target);
    SDL_Rect one = {0, 0, 1, 1};
    SDL_Rect at = {0, 0, 1, 1};
    SDL_BlitSurface(image, &one, target, &at);
    if (SDL_LockSurface(target) != 0)
        return;
    *static_cast<Uint32*>(target->pixels) = kept;
    SDL_UnlockSurface(target);
}

// An item at rest shows its strip's first frame. Drawing a frame out of a packed
// strip walks every run of every row of all eleven frames, so the first frame is
// kept as a picture of its own as well.
static void CutRestFrame(int i)
{
    SDL_Surface* strip = menui[i];
    if (strip && strip->format->Amask) {
        const SDL_PixelFormat* f = strip->format;
        menuRest[i] = SDL_CreateRGBSurface(SDL_SWSURFACE, MRect[1].w, MRect[1].h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                           f->Bmask, f->Amask);
        if (menuRest[i]) {
            SDL_SetAlpha(strip, 0, SDL_ALPHA_OPAQUE);  // a plain copy, alpha and all
            SDL_Rect from = MRect[1];
            SDL_BlitSurface(strip, &from, menuRest[i], nullptr);
            Pack(menuRest[i]);
        }
    }
    Pack(strip);
}

static void LoadChunk(Mix_Chunk*& slot, const char* path)
{
    if (!slot)
        slot = LoadEffect(path);
}

static void LoadTune(Mix_Music*& slot, const char* path)
{
    if (!slot)
        slot = LoadMusic(path);
}

// A picture loaded as it came, turned into the display format with alpha now.
static void ConvertAlpha(SDL_Surface*& slot)
{
    if (!slot || !SDL_GetVideoSurface())
        return;
    SDL_Surface* converted = SDL_DisplayFormatAlpha(slot);
    if (!converted)
        return;
    SDL_FreeSurface(slot);
    slot = converted;
}

static void ClearSlots(SDL_Surface** table, int slots)
{
    for (int i = 0; i < slots; i++) {
        if (table[i])
            SDL_FreeSurface(table[i]);
        table[i] = nullptr;
    }
}

// A step of the loading: its pictures are asked for, decoded together, and the
// step's mark on the loading bar is drawn.
static void LoadingStep(SDL_Surface* screen, int k);
static void LoadStep(SDL_Surface* frame, int k)
{
    static const ImageRow rows[] = {MENU_IMAGES(IMAGE_ROW)};
    ForEachImage(rows, static_cast<int>(sizeof rows / sizeof rows[0]), k, Load);
    LoadingStep(frame, k);
}

static void LoadingStep(SDL_Surface* frame, int k)
{
    LoadFinish();
    apply_clip(TAPE_AT.x, TAPE_AT.y, LSTImage, frame, &LST[k]);
    ShowFrame(frame);
}

static void SetRect(SDL_Rect& r, int x, int y, int w, int h)
{
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
}

// The current player after loading: the remembered profile when there is one,
// else the last player. The count is always the index of the last record read.
static void ChooseCurrentPlayer()
{
    ReadPlayers();
    PlayerName[0] = 0;
    plsel = pod[4];
    if (plsel != 0) {
        if (plsel >= 1 && plsel <= ukupl)
            snprintf(PlayerName, sizeof PlayerName, "%.*s", NAME_MAX, pin[plsel].name);
    } else if (ukupl != 0) {
        snprintf(PlayerName, sizeof PlayerName, "%.*s", NAME_MAX, pin[ukupl].name);
    }
}

void InitMenu(SDL_Surface* frame)
{
    ClearSlots(menui, MENU_STRIP_SLOTS);
    ClearSlots(menuRest, MENU_STRIP_SLOTS);
    ClearSlots(BugImage, BUG_IMAGES);
    ClearSlots(SandImage, SAND_IMAGES);
    ClearSlots(ToviImage, HERO_IMAGES);
    ClearSlots(hbackg, HELP_PAGES + 1);
    startTicks = 0;

    LoadChunk(negative[1], "media/audio/speak/comeon.ogg");
    LoadChunk(negative[2], "media/audio/speak/sickie1.ogg");
    LoadChunk(negative[3], "media/audio/speak/sickie2.ogg");

    SetRect(clipy, 0, CREDITS_START, CREDITS_WINDOW.w, CREDITS_WINDOW.h);
    for (int k = 1; k <= LOADING_STEPS; k++)
        SetRect(LST[k], 0, 0, TAPE_STEP * k, TAPE_SIZE.h);
    LoadStep(frame, 1);

    for (int i = 1; i <= MENU_HOT_AREAS; i++)
        SetRect(MenuRectangle[i], MENU_ITEM.x + MENU_ITEM_STEP.x * (i - 1), MENU_ITEM.y + MENU_ITEM_STEP.y * (i - 1),
                MENU_ITEM.w, MENU_ITEM.h);
    SetGameRects();
    LoadLevelListArt();
    for (int k = 1; k <= STRIP_FRAMES; k++)
        SetRect(MRect[k], MENU_FRAME_SIZE.w * (k - 1), 0, MENU_FRAME_SIZE.w, MENU_FRAME_SIZE.h);
    SetPlayerRects();
    LoadStep(frame, 2);

    LoadStep(frame, 3);
    for (int i = 1; i < MENU_STRIP_SLOTS; i++)
        CutRestFrame(i);
    for (int k = 1; k <= CAMEL_FRAMES; k++)
        SetRect(CRect[k], 150 * k - 150, 0, 150, 157);
    for (int k = 4; k <= 9; k++)
        LoadStep(frame, k);

    LoadTune(mintro, "media/audio/main.ogg");
    LoadTune(mmap_music, "media/audio/maploop.ogg");
    LoadTune(musicredits, "media/audio/credits.ogg");
    LoadChunk(mtomb, "media/audio/tomb.ogg");
    LoadChunk(mcamel, "media/audio/camel.ogg");
    LoadChunk(mdbtn, "media/audio/dialog_btn.ogg");
    ConvertAlpha(optimizedImageCursorp);
    ConvertAlpha(optimizedImageCredits);
    ConvertAlpha(optimizedImageCur);
    LoadStep(frame, 10);

    if (!MenuImage)
        MenuImage = InitBackg(0);  // the menu scene is background 0
    FrameNo = vfrm = gett = pfrm = 0;
    LoadStep(frame, 11);

    if (LSTImage)
        SDL_FreeSurface(LSTImage);
    if (LSImage)
        SDL_FreeSurface(LSImage);
    LSTImage = LSImage = nullptr;
    drtm = 0;
    cceka = 0;

    ChooseCurrentPlayer();
    MenuPrviPut = 0;
}

// ---- one redraw ------------------------------------------------------------------

void mi(int, SDL_Surface*)
{
    if (menu_item == 2)
        level_num = ukupl != 0 && PlayerName[0] ? SCREEN_GAME : SCREEN_PLAYERS;
    else if (menu_item == 3)
        level_num = SCREEN_OPTIONS;
    else if (menu_item == 4)
        level_num = SCREEN_CREDITS;
    else if (menu_item == 5)
        level_num = SCREEN_HELP;
    else if (menu_item == 6)
        level_num = SCREEN_QUIT;
}

// The hero's two idle timers: every 7 s without a press he fidgets (one of two
// animations, even odds), every 17 s he says one of his three idle lines.
static void IdleTimers(int now, int button)
{
    tdm2 = now;
    if (mousenomove == 0 || button != 0)
        mousenomove = now;
    if (mousenomoveces == 0 || button != 0)
        mousenomoveces = now;
    if (now - mousenomove > 17000) {
        tovital = 1;
        PlayEffect(&negative[1 + rand() % 3]);
        mousenomove = 0;
    }
    if (now - mousenomoveces > 7000) {
        tovices = 1;
        if (rand() % 10 > 4) {
            tovices = 0;
            tovimig = 1;
        }
        mousenomoveces = 0;
    }
}

// Whole 20 ms steps since the previous redraw; a remainder is dropped.
static int SceneSteps(int now)
{
    dtm = static_cast<float>(now - tdm);
    drtm += dtm;
    int step = 0;
    if (drtm >= 20.0f) {
        step = static_cast<int>(drtm / 20.0f);
        drtm = 0;
    }
    tdm = now;
    return step;
}

static void Music()
{
    if (menu_first_time) {
        gdesam = 1.0f;
        Mix_VolumeMusic(slidm);
    }
    if (!Mix_PlayingMusic())
        play_menu_music = 1;
    if (play_menu_music) {
        PlayTune(mintro);
        play_menu_music = 0;
    }
    menu_first_time = 0;
}

// The camel walks in from x 500, 2 pixels a step, for the first 379 steps of the
// cycle and calls once on the way; the beetle plays from step 401 to 493.
static void Scene(SDL_Surface* frame)
{
    static int camelCalled = 0;  // the camel's call is heard once per pass of step 62
    if (kamila > 24)
        kamila = 6;
    int g = static_cast<int>(gdesam);
    if (g <= 379) {
        apply_clip(500 - static_cast<int>(2 * gdesam), 250, CamelImage, frame, &CRect[kamila / 6]);
        apply_clip(0, 0, MaskImage, frame, nullptr);
    }
    if (g == 62 && !camelCalled)
        PlayEffect(&mcamel);
    camelCalled = g == 62;
    if (g > 400 && g <= 493)
        apply_clip(509, 161, BugImage[g / 2 - 200], frame, nullptr);
    if (g > 500)
        gdesam = 0;
}

static bool OverItem(int i, int x, int y)
{
    return InRect(MenuRectangle[i], x, y);
}

// The item under the pointer: it comes up when no other item is up; another
// item plays back first. A click acts at once, whatever the strip shows.
static void Items(SDL_Surface* frame, int x, int y, int button)
{
    for (int i = 1; i <= MENU_HOT_AREAS; i++) {
        if (!OverItem(i, x, y)) {
            menu_item = 0;
            continue;
        }
        if (proslastavka != 0 && i != proslastavka) {
            smer = -1;
            brs = 0;
        } else {
            proslastavka = i;
            if (br == STRIP_FRAMES) {
                smer = 0;
            } else {
                smer = 1;
                if (br == 3 && mtomb) {
                    Mix_PlayChannel(1, mtomb, 0);
                    Mix_Volume(-1, slidf);
                }
            }
        }
        menu_item = i + 1;
        as = 1;
        if (button == 1 && mousechk == 0) {
            mousechk = 1;
            rendme = 0;
            mi(menu_item, frame);
        }
        break;
    }
    if (!as) {
        brs = 0;
        smer = -1;
    }
}

static void DrawItems(SDL_Surface* frame)
{
    for (int i = 1; i <= MENU_HOT_AREAS; i++) {
        SDL_Surface* strip = i < MENU_STRIP_SLOTS ? menui[i] : nullptr;
        if (i == proslastavka) {
            apply_clip(MENU_AT.x, MENU_AT.y, strip, frame, &MRect[br]);
            if (brs >= 0 && brs <= 40)
                apply_clip(10 * i, MenuRectangle[i].y - 60, SandImage[brs], frame, nullptr);
        } else if (i < MENU_STRIP_SLOTS && menuRest[i]) {
            apply_clip(MENU_AT.x, MENU_AT.y, menuRest[i], frame, nullptr);
        } else {
            apply_clip(MENU_AT.x, MENU_AT.y, strip, frame, &MRect[1]);
        }
    }
}

// The hero: the talk, the second and the first idle animation each show their
// four frames 20 steps apiece from their start; otherwise he rests.
static void Hero(SDL_Surface* target)
{
    if (tovital == 1)
        tovital = drc;
    if (tovices == 1)
        tovices = drc;
    if (tovimig == 1)
        tovimig = drc;
    int frame = 1;
    if (tovital != 0 && drc - tovital <= 63)
        frame = 5 + (drc - tovital) / 20;
    else if (tovices != 0 && drc - tovices <= 63)
        frame = 9 + (drc - tovices) / 20;
    else if (tovimig != 0 && drc - tovimig <= 63)
        frame = 1 + (drc - tovimig) / 20;
    if (frame < 1 || frame >= HERO_IMAGES)
        frame = 1;
    apply_clip(530, 130, ToviImage[frame], target, nullptr);
    if (tovices != 0 && drc - tovices > 64)
        tovices = 0;
    if (tovimig != 0 && drc - tovimig > 64)
        tovimig = 0;
    if (tovital != 0 && Mix_Playing(-1) == 0)
        tovital = 0;
}

int RenderMenu(int x, int y, int button, SDL_Surface* target)
{
    if (rendme == 0) {
        WarpPointer(400, 300);
        rendme = 1;
    }
    if (button == 0)
        mousechk = 0;
    level_num = SCREEN_MENU;
    if (MenuPrviPut)
        InitMenu(target);
    if (ukupl == 0)
        level_num = SCREEN_PLAYERS;  // nobody to play yet: the profiles open at once

    int now = static_cast<int>(ClockTicks());
    IdleTimers(now, button);
    int step = SceneSteps(now);
    kamila += step;
    gdesam += static_cast<float>(step);
    Music();

    apply_clip(0, 0, MenuImage, target, nullptr);
    as = 0;
    if (br > STRIP_FRAMES) {
        br = STRIP_FRAMES;
        smer = 0;
    }
    if (br <= 1) {
        br = 2;
        smer = 0;
        proslastavka = 0;
    }
    Scene(target);
    brs += step;
    if (proslastavka != 0)
        br += smer;
    Items(target, x, y, button);
    DrawItems(target);

    bool areaClicked = false;
    if (InBox(x, y, 425, 539, 799, 599)) {
        apply_clip(425, 539, WpImage, target, nullptr);
        if (button == 1 && mousechk == 0) {
            mousechk = 1;
            PlayEffect(&mdbtn);
            rendme = 0;
            level_num = SCREEN_PLAYERS;
            areaClicked = true;
        }
    }
    Hero(target);
    if ((static_cast<int>(gdesam) / 50) % 2 == 1)
        apply_clip(425, 429, BaImage, target, nullptr);
    prikstr(target, PlayerName, 770 - strl(PlayerName, 0, 560, 2), 560, 2);
    drc += step;

    // The hand is drawn only while the menu stays: the screen this frame leaves
    // for takes the picture as its backdrop, and a hand in it (at the corner,
    // before the pointer's first move) would sit there behind the dialog.
    bool overPlayOrOptions = menu_item == 2 || menu_item == 3;
    if (level_num == SCREEN_MENU && !areaClicked && !(button != 0 && overPlayOrOptions))
        MenuCursor(target, x, y);
    if (PlayerName[0] && proshli > 0 && proshli <= SCREEN_LAST_LEVEL && izmp)
        biljezi();
    return level_num;
}
