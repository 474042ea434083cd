#include "shell/media.h"

#include <SDL_image.h>
#include <png.h>

#include <csetjmp>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "shell/manifest.h"
#include "shell/screen.h"

Mix_Chunk** EffectLog[EFFECT_LOG_SIZE];
int EffectLogCount = 0;
thread_local int EffectsMuted = 0;
LoadJob LoadBatch[LOAD_BATCH_SIZE];
int LoadBatchCount = 0;

static SDL_Surface* Convert(const char* path, SDL_Surface* (*convert)(SDL_Surface*))
{
    SDL_Surface* loaded = IMG_Load(path);
    if (!loaded)
        return nullptr;
    SDL_Surface* converted = SDL_GetVideoSurface() ? convert(loaded) : nullptr;
    SDL_FreeSurface(loaded);
    return converted;
}

// Whether the screen keeps its pixels as 32-bit words 0x00RRGGBB: the layout
// that a PNG can be decoded into directly.
static bool ScreenIsXrgb()
{
    const SDL_Surface* target = screen ? screen : SDL_GetVideoSurface();
    if (!target)
        return false;
    const SDL_PixelFormat* f = target->format;
    return f->BytesPerPixel == 4 && f->Rmask == 0xff0000 && f->Gmask == 0xff00 && f->Bmask == 0xff;
}

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    FILE* file = nullptr;
    SDL_Surface* surface = nullptr;
    png_bytep* rows = nullptr;
};

static void ClosePng(PngReader& r)
{
    png_destroy_read_struct(&r.png, r.info ? &r.info : nullptr, nullptr);
    if (r.file)
        fclose(r.file);
    free(r.rows);
    r.file = nullptr;
    r.rows = nullptr;
}

// libpng reports a broken file by jumping back here; nothing of the picture is kept.
static bool ReadPngRows(PngReader& r, bool alpha)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_init_io(r.png, r.file);
    png_set_sig_bytes(r.png, 8);
    png_read_info(r.png, r.info);
    png_uint_32 w = png_get_image_width(r.png, r.info), h = png_get_image_height(r.png, r.info);
    int depth = png_get_bit_depth(r.png, r.info), type = png_get_color_type(r.png, r.info);
    if (w == 0 || h == 0 || w > 16384 || h > 16384)
        return false;
    if (depth == 16)
        png_set_strip_16(r.png);
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(r.png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(r.png);
    if (png_get_valid(r.png, r.info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(r.png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(r.png);
    bool hasAlpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(r.png, r.info, PNG_INFO_tRNS);
    if (hasAlpha && !alpha)
        png_set_strip_alpha(r.png);
    if (!hasAlpha || !alpha)
        png_set_filler(r.png, alpha ? 0xff : 0, PNG_FILLER_AFTER);
    png_set_bgr(r.png);
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != 4 * w)
        return false;
    r.surface = SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(w), static_cast<int>(h), 32, 0xff0000, 0xff00,
                                     0xff, alpha ? 0xff000000 : 0);
    r.rows = static_cast<png_bytep*>(malloc(h * sizeof(png_bytep)));
    if (!r.surface || !r.rows)
        return false;
    for (png_uint_32 y = 0; y < h; y++)
        r.rows[y] = static_cast<png_bytep>(r.surface->pixels) + static_cast<ptrdiff_t>(y) * r.surface->pitch;
    png_read_image(r.png, r.rows);
    png_read_end(r.png, nullptr);
    return true;
}

// A PNG decoded straight into the screen's layout, as SDL_DisplayFormatAlpha
// (alpha) or SDL_DisplayFormat would make it of the loaded picture, without the
// loaded copy and its conversion. Null when the file is not a PNG (or broken).
static SDL_Surface* LoadPngDirect(const char* path, bool alpha)
{
    PngReader r;
    r.file = fopen(path, "rb");
    png_byte sig[8];
    bool ok = r.file && fread(sig, 1, 8, r.file) == 8 && png_sig_cmp(sig, 0, 8) == 0;
    if (ok) {
        r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        r.info = r.png ? png_create_info_struct(r.png) : nullptr;
        ok = r.info && ReadPngRows(r, alpha);
    }
    ClosePng(r);
    if (!ok) {
        if (r.surface)
            SDL_FreeSurface(r.surface);
        return nullptr;
    }
    if (alpha)
        SDL_SetAlpha(r.surface, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    return r.surface;
}

SDL_Surface* LoadImageAlpha(const char* path)
{
    SDL_Surface* direct = ScreenIsXrgb() ? LoadPngDirect(path, true) : nullptr;
    return direct ? direct : Convert(path, SDL_DisplayFormatAlpha);
}

SDL_Surface* LoadImageOpaque(const char* path)
{
    SDL_Surface* direct = ScreenIsXrgb() ? LoadPngDirect(path, false) : nullptr;
    return direct ? direct : Convert(path, SDL_DisplayFormat);
}

SDL_Surface* LoadImageRaw(const char* path)
{
    return IMG_Load(path);
}

void ForEachImage(const ImageRow* rows, int count, int step,
                  void (*load)(SDL_Surface*& slot, const char* path, int format))
{
    for (int r = 0; r < count; r++) {
        const ImageRow& row = rows[r];
        if (step != 0 && row.step != step)
            continue;
        if (row.first == NONE) {
            if (row.size >= 1)
                load(row.slots[0], row.path, row.format);
            continue;
        }
        for (int n = row.first; n <= row.last; n++) {
            int slot = n + row.shift;
            if (slot < 0 || slot >= row.size)
                continue;
            char path[96];
            snprintf(path, sizeof path, row.path, n);
            load(row.slots[slot], path, row.format);
        }
    }
}

void LoadIntoEmpty(SDL_Surface*& slot, const char* path, int format)
{
    if (slot)
        return;
    slot = format == MEDIA_OPAQUE ? LoadImageOpaque(path)
           : format == MEDIA_RAW  ? LoadImageRaw(path)
                                  : LoadImageAlpha(path);
}

static SDL_Surface* LoadImageAs(const char* path, ImageFormat format)
{
    return format == IMAGE_ALPHA    ? LoadImageAlpha(path)
           : format == IMAGE_OPAQUE ? LoadImageOpaque(path)
                                    : LoadImageRaw(path);
}

void LoadLater(SDL_Surface** slot, const char* path, ImageFormat format, void (*after)(SDL_Surface*))
{
    if (LoadBatchCount >= LOAD_BATCH_SIZE || strlen(path) >= sizeof LoadBatch[0].path) {
        *slot = LoadImageAs(path, format);
        if (after)
            after(*slot);
        return;
    }
    LoadJob& job = LoadBatch[LoadBatchCount++];
    job.slot = slot;
    snprintf(job.path, sizeof job.path, "%s", path);
    job.format = format;
    job.after = after;
}

// Every worker takes the next picture nobody has taken yet. Decoding and turning
// a picture into the display format touch nothing but the picture itself.
static std::atomic<int> loadNext{0};
static bool loadDone[LOAD_BATCH_SIZE];
static std::mutex loadMutex;
static std::condition_variable loadCv;

static bool DecodeOne()
{
    int k = loadNext++;
    if (k >= LoadBatchCount)
        return false;
    *LoadBatch[k].slot = LoadImageAs(LoadBatch[k].path, LoadBatch[k].format);
    {
        std::lock_guard<std::mutex> hold(loadMutex);
        loadDone[k] = true;
    }
    loadCv.notify_all();
    return true;
}

static bool Decoded(int k)
{
    std::lock_guard<std::mutex> hold(loadMutex);
    return loadDone[k];
}

static void LoadHelper()
{
    while (DecodeOne()) {
    }
}

// The caller finishes the pictures in order as they come in, and decodes one
// itself whenever the next in order is still on a helper's hands.
void LoadFinish()
{
    int count = LoadBatchCount;
    if (count == 0)
        return;
    IMG_Init(IMG_INIT_PNG);  // before any helper decodes: the loader's setup is not shared safely
    loadNext = 0;
    for (int k = 0; k < count; k++)
        loadDone[k] = false;
    int cores = static_cast<int>(std::thread::hardware_concurrency());
    int helpers = cores > 1 ? cores - 1 : 1;
    if (helpers > LOAD_HELPERS)
        helpers = LOAD_HELPERS;
    if (helpers > count - 1)
        helpers = count - 1;
    std::thread crew[LOAD_HELPERS];
    for (int h = 0; h < helpers; h++)
        crew[h] = std::thread(LoadHelper);
    for (int k = 0; k < count; k++) {
        while (!Decoded(k) && DecodeOne()) {
        }
        {
            std::unique_lock<std::mutex> hold(loadMutex);
            loadCv.wait(hold, [k] { return loadDone[k]; });
        }
        if (LoadBatch[k].after)
            LoadBatch[k].after(*LoadBatch[k].slot);
    }
    for (int h = 0; h < helpers; h++)
        crew[h].join();
    LoadBatchCount = 0;
}

Mix_Chunk* LoadEffect(const char* path)
{
    SDL_RWops* rw = SDL_RWFromFile(path, "rb");
    return rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
}

Mix_Music* LoadMusic(const char* path)
{
    return Mix_LoadMUS(path);
}

// The last screen-sized picture released, kept for the next copy of the screen:
// a dialog takes a copy each time it opens, and a fresh 2 MB block costs more to
// fault in than the copy itself.
static SDL_Surface* spareCopy = nullptr;

static bool SameLayout(const SDL_Surface* a, const SDL_Surface* b)
{
    const SDL_PixelFormat* f = a->format;
    const SDL_PixelFormat* g = b->format;
    return a->w == b->w && a->h == b->h && f->BitsPerPixel == g->BitsPerPixel && f->Rmask == g->Rmask &&
           f->Gmask == g->Gmask && f->Bmask == g->Bmask && f->Amask == g->Amask;
}

SDL_Surface* CopyScreen(SDL_Surface* surface)
{
    if (!surface)
        return nullptr;
    if (spareCopy && SameLayout(spareCopy, surface) && !(surface->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY))) {
        SDL_Surface* copy = spareCopy;
        spareCopy = nullptr;
        SDL_SetAlpha(copy, 0, SDL_ALPHA_OPAQUE);
        SDL_SetColorKey(copy, 0, 0);
        if (!DrawingOff)
            SDL_BlitSurface(surface, nullptr, copy, nullptr);
        return copy;
    }
    if (DrawingOff) {
        // Nobody looks at the copy: a surface of the same layout serves, unfilled.
        const SDL_PixelFormat* f = surface->format;
        return SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                    f->Bmask, f->Amask);
    }
    return SDL_DisplayFormat(surface);
}

// A dialog redraws the whole screen for every event, and blending its backdrop
// at alpha 170 over black anew each time was most of that cost. The blend of a
// backdrop never changes: the blitter makes it once, a copy of the result is
// kept, and the next redraws draw that copy as it is.
constexpr Uint8 BACKDROP_ALPHA = 170;
static SDL_Surface* darkened = nullptr;    // the screen as the blend of darkenedOf left it; kept for the next backdrop
static SDL_Surface* darkenedOf = nullptr;  // the backdrop darkened shows; null when none

void DrawDarkened(SDL_Surface* frame, SDL_Surface** backdrop)
{
    if (DrawingOff)
        return;
    if (!*backdrop)
        *backdrop = CopyScreen(frame);
    if (*backdrop && *backdrop == darkenedOf && darkened->w == frame->w && darkened->h == frame->h) {
        apply_clip(0, 0, darkened, frame, nullptr);
        return;
    }
    SDL_FillRect(frame, nullptr, SDL_MapRGB(frame->format, 0, 0, 0));
    if (*backdrop) {
        SDL_SetAlpha(*backdrop, SDL_SRCALPHA | SDL_RLEACCEL, BACKDROP_ALPHA);
        apply_clip(0, 0, *backdrop, frame, nullptr);
        // The copy's picture goes into the kept surface when it has the screen's
        // size and layout (a plain copy: no alpha, no key), else into a new one.
        if (darkened && (darkened->w != frame->w || darkened->h != frame->h ||
                         darkened->format->BitsPerPixel != frame->format->BitsPerPixel)) {
            SDL_FreeSurface(darkened);
            darkened = nullptr;
        }
        if (darkened)
            SDL_BlitSurface(frame, nullptr, darkened, nullptr);
        else
            darkened = CopyScreen(frame);
        darkenedOf = darkened ? *backdrop : nullptr;
    }
}

void ReleaseSurface(SDL_Surface** surface)
{
    if (*surface && *surface == darkenedOf)
        darkenedOf = nullptr;
    SDL_Surface* s = *surface;
    *surface = nullptr;
    if (!s)
        return;
    if (screen && s != screen && s->refcount == 1 && !(s->flags & SDL_HWSURFACE) && SameLayout(s, screen)) {
        if (spareCopy)
            SDL_FreeSurface(spareCopy);
        spareCopy = s;
        return;
    }
    SDL_FreeSurface(s);
}

void PlayEffect(Mix_Chunk** handle)
{
    if (EffectsMuted)
        return;
    EffectLog[EffectLogCount % EFFECT_LOG_SIZE] = handle;
    EffectLogCount++;
    if (handle && *handle)
        Mix_PlayChannel(-1, *handle, 0);
}

int EffectsPlaying()
{
    return EffectsMuted ? 0 : Mix_Playing(-1);
}

// The mixer loops the tune itself, end straight into start: the tunes are cut at
// their loop point, so no gap opens while a screen waits to see it has ended.
void PlayTune(Mix_Music* music)
{
    if (EffectsMuted)
        return;
    Mix_HaltMusic();
    if (music)
        Mix_PlayMusic(music, -1);
}

void KeepTunePlaying(int* started, Mix_Music* music)
{
    if (!Mix_PlayingMusic())
        *started = 0;
    if (*started == 0) {
        PlayTune(music);
        *started = 1;
    }
}

void EffectLogClear()
{
    EffectLogCount = 0;
}

int EffectLogTimes(Mix_Chunk** handle)
{
    int n = EffectLogCount < EFFECT_LOG_SIZE ? EffectLogCount : EFFECT_LOG_SIZE;
    int times = 0;
    for (int i = 0; i < n; i++)
        times += EffectLog[i] == handle;
    return times;
}
