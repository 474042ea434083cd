#include "level/board.h"

#include <cstdio>
#include <cstring>

#include "level/assist.h"
#include "level/level.h"
#include "level/state.h"
#include "progress/players.h"
#include "shell/clock.h"
#include "shell/geometry.h"
#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/settings.h"

thread_local TileRecord til[TIL_SIZE] = {};
thread_local int ukupnot = 0;
thread_local int poen = 0;
SDL_Surface* LevelImage = nullptr;

thread_local int startt = 0;
thread_local int gett = 0;

int bioinitl = 0;
thread_local int FrameNo = 0;
thread_local int vfrm = 0;
thread_local int pfrm = 0;

SDL_Rect LoadedtrackRectangle[RECT_TABLE_SIZE];
SDL_Rect SRect[SPIKE_RECTS];
SDL_Rect VFrect[VF_RECTS];
SDL_Rect Dialogritem[4];
thread_local SDL_Rect Cursor = {};

Mix_Music* musicl[MUSIC_CHAPTERS];
Mix_Music* musici = nullptr;
Mix_Music* musicash = nullptr;
Mix_Music* musica = nullptr;
Mix_Music* musicae = nullptr;
Mix_Music* musicairo = nullptr;
Mix_Chunk* gong = nullptr;
Mix_Chunk* GoneEl = nullptr;
Mix_Chunk* Telep = nullptr;
Mix_Chunk* mblato = nullptr;
Mix_Chunk* mcoin = nullptr;
Mix_Chunk* mcup = nullptr;
Mix_Chunk* mhelm = nullptr;
Mix_Chunk* mring = nullptr;
Mix_Chunk* mmisce = nullptr;
Mix_Chunk* mdibtn = nullptr;
Mix_Chunk* mmact = nullptr;
Mix_Chunk* mmoff = nullptr;
Mix_Chunk* mmon = nullptr;
Mix_Chunk* mmbtn = nullptr;
Mix_Chunk* mslid = nullptr;
Mix_Chunk* mspike = nullptr;
Mix_Chunk* mstone = nullptr;
Mix_Chunk* mfin = nullptr;
Mix_Chunk* mretr = nullptr;
Mix_Chunk* positive[POSITIVE_CLIPS];
Mix_Chunk* negative[NEGATIVE_CLIPS];
SDL_Surface* rr = nullptr;
SDL_Surface* rexit = nullptr;
SDL_Surface* rmm = nullptr;
SDL_Surface* forhon = nullptr;
SDL_Surface* forhoff = nullptr;
SDL_Surface* dialogr = nullptr;
SDL_Surface* dialogrl = nullptr;
SDL_Surface* leveldone = nullptr;
SDL_Surface* menubtn = nullptr;
SDL_Surface* vfont = nullptr;
SDL_Surface* failed = nullptr;
SDL_Surface* optimizedImageCursor = nullptr;
SDL_Surface* optimizedImageCursorh = nullptr;
SDL_Surface* TileTrack = nullptr;
SDL_Surface* SpikeTrac = nullptr;
SDL_Surface* ElemntsTrack = nullptr;

static const char* const PositiveFiles[POSITIVE_CLIPS] = {nullptr,  "ace1",    "ace2",    "ace3",   "bizzo1", "bizzo2",
                                                          "bizzo3", "dinkey1", "duxedit", "ozz1",   "ripper", "roo1",
                                                          "roo2",   "roo3",    "roo4",    "burle1", "burle2"};
static const char* const NegativeFiles[NEGATIVE_CLIPS] = {nullptr,       "ambo1",       "ambo2",   "ambo3",
                                                          "bloodyoath1", "bloodyoath2", "bourke1", "bourke2",
                                                          "comeon",      "sickie1",     "sickie2"};

static SDL_Rect MakeRect(int x, int y, int w, int h)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    return r;
}

int ChapterOf(int level)
{
    if (level <= LEVELS_PER_CHAPTER)
        return 1;
    if (level <= 2 * LEVELS_PER_CHAPTER)
        return 2;
    if (level <= 3 * LEVELS_PER_CHAPTER)
        return 3;
    return 4;
}

int get_delta()
{
    gett = static_cast<int>(ClockTicks());
    int d = startt != 0 ? gett - startt : 0;
    startt = gett;
    return d;
}

SDL_Surface* InitBackg(int chapter)
{
    if (chapter < 0 || chapter > 4)
        return nullptr;
    char path[64];
    snprintf(path, sizeof path, CHAPTER_PICTURES, chapter);
    return LoadImageOpaque(path);
}

static void LoadRectTables()
{
    for (int i = 0; i < RECT_TABLE_SIZE; i++)
        LoadedtrackRectangle[i] = MakeRect(0, 0, 0, 0);
    for (int i = 1; i <= SHEET_FRAMES; i++)
        LoadedtrackRectangle[i] = MakeRect(CELL_SIZE * (i - 1), 0, CELL_SIZE, CELL_SIZE);
    SRect[0] = MakeRect(0, 0, 0, 0);
    for (int i = 1; i < SPIKE_RECTS; i++)
        SRect[i] = MakeRect(CELL_SIZE * (i - 1), 0, CELL_SIZE, CELL_SIZE);
    for (int i = 0; i < VF_RECTS; i++)
        VFrect[i] = MakeRect(0, 6 * i, 60, 60);
    Dialogritem[0] = MakeRect(0, 0, 0, 0);
    Dialogritem[1] = RETRY_MAIN_MENU;
    Dialogritem[2] = RETRY_RETRY;
    Dialogritem[3] = RETRY_CANCEL;
    Cursor = MakeRect(200, 200, 40, 40);
}

static void LoadLevelAssets()
{
    char path[80];

    for (int c = 1; c < MUSIC_CHAPTERS; c++) {
        snprintf(path, sizeof path, "media/audio/level%d.ogg", c);
        musicl[c] = LoadMusic(path);
    }
    musici = LoadMusic("media/audio/intro.ogg");
    musicash = LoadMusic("media/audio/ashcrystal.ogg");
    musica = LoadMusic("media/audio/anubis.ogg");
    musicae = LoadMusic("media/audio/anubis_end.ogg");
    musicairo = LoadMusic("media/audio/cairo.ogg");

    gong = LoadEffect("media/audio/gong.ogg");
    GoneEl = LoadEffect("media/audio/connect.ogg");
    Telep = LoadEffect("media/audio/telep.ogg");
    mblato = LoadEffect("media/audio/blato.ogg");
    mcoin = LoadEffect("media/audio/coin.ogg");
    mcup = LoadEffect("media/audio/cup.ogg");
    mhelm = LoadEffect("media/audio/helm.ogg");
    mring = LoadEffect("media/audio/ring.ogg");
    mmisce = LoadEffect("media/audio/misc_el.ogg");
    mdibtn = LoadEffect("media/audio/dialog_btn.ogg");
    mmact = LoadEffect("media/audio/magnet_action.ogg");
    mmoff = LoadEffect("media/audio/magnet_off.ogg");
    mmon = LoadEffect("media/audio/magnet_on.ogg");
    mmbtn = LoadEffect("media/audio/magnet_btn.ogg");
    mslid = LoadEffect("media/audio/slide.ogg");
    mspike = LoadEffect("media/audio/spike.ogg");
    mstone = LoadEffect("media/audio/stone.ogg");
    mfin = LoadEffect("media/audio/finished.ogg");
    mretr = LoadEffect("media/audio/retry.ogg");
    for (int i = 1; i < POSITIVE_CLIPS; i++) {
        snprintf(path, sizeof path, "media/audio/speak/%s.ogg", PositiveFiles[i]);
        positive[i] = LoadEffect(path);
    }
    for (int i = 1; i < NEGATIVE_CLIPS; i++) {
        snprintf(path, sizeof path, "media/audio/speak/%s.ogg", NegativeFiles[i]);
        if (negative[i])
            Mix_FreeChunk(negative[i]);  // the menu's idle lines give way to the level's
        negative[i] = LoadEffect(path);
    }

    static const ImageRow rows[] = {LEVEL_IMAGES(IMAGE_ROW)};
    ForEachImage(rows, static_cast<int>(sizeof rows / sizeof rows[0]), 0, LoadIntoEmpty);
}

void InitLevel()
{
    // The files are read once per run; a second call (a test that starts the game
    // state afresh) only resets the counters and tables.
    static bool loaded = false;
    bioinitl = 1;
    FrameNo = gett = vfrm = pfrm = 0;
    if (!loaded)
        LoadLevelAssets();
    loaded = true;
    LoadRectTables();
}

// Everything a level keeps for itself starts afresh with every load and retry
// (the list in level/state.h says what). Animations of the board left behind stop
// with it, and its jammed spike pits (kept by record number) mean nothing on the
// new one; a kill on the board left behind (an element meeting the spikes as its
// level was won) must not fail the next board in its first frame.
static void ResetLevelState()
{
    for (int k = 0; k <= spikedsi && k < SPIKEDS_SIZE; k++)
        spikeds[k] = 0;
    LEVEL_STATE_INTS(LEVEL_STATE_AT_LOAD)
    UndoReset();
    AssistReset();
}

void lmap_from(int level, const char* path)
{
    for (int k = 1; k <= uiznad && k < STACK_SIZE; k++)
        iznad[k] = gimasu[k] = 0;
    if (level == 1 && cntintr == 0)
        cntintr = 1;
    ResetLevelState();
    if (level == proshli) {
        if (bioinitl == 0)
            InitLevel();
        poen = PlayerScore;
    }
    memset(til, 0, sizeof til);

    if (LevelImage)
        SDL_FreeSurface(LevelImage);
    LevelImage = InitBackg(ChapterOf(level));

    // A file shorter than 240 bytes loads the cells it has; the rest stay empty.
    FILE* f = fopen(path, "rb");
    if (f) {
        setvbuf(f, nullptr, _IONBF, 0);  // one read into cells: no stream buffer to allocate
        unsigned char cells[BOARD_CELLS];
        size_t got = fread(cells, 1, BOARD_CELLS, f);
        fclose(f);
        for (size_t n = 0; n < got; n++) {
            int v = cells[n];
            if (v == 0)
                continue;
            ukupnot++;
            TileRecord& t = til[ukupnot];
            t.x = static_cast<int>(n % BOARD_COLS) * CELL_SIZE;
            t.y = static_cast<int>(n / BOARD_COLS) * CELL_SIZE;
            t.type = v;
            t.state = v == EL_LIFT_H ? LIFT_RIGHT : v == EL_LIFT_V ? LIFT_DOWN : 0;
        }
    }
    Mix_VolumeMusic(slidm);
    Mix_Volume(-1, slidf);
}

void lmap(int level)
{
    char path[64];
    snprintf(path, sizeof path, "media/levels/level%d.bin", level);
    lmap_from(level, path);
}
