#include "shell/display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/screen.h"
#include "shell/settings.h"

int display_scaler = 0;
int display_scale = 0;
int desktop_w = 0;
int desktop_h = 0;
SDL_Surface* display = nullptr;
FrameLayout display_layout = {SCREEN_W, SCREEN_H, 0, 0, SCREEN_W, SCREEN_H};
int display_bar_press = 0;

// ---- layout --------------------------------------------------------------------
static int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// Largest k up to the offered maximum with k frames inside w x h; 0 when none.
static int ScaleInside(int w, int h)
{
    int k = DISPLAY_MAX_SCALE;
    while (k > 0 && (SCREEN_W * k > w || SCREEN_H * k > h))
        k--;
    return k;
}

int FitWindowScale(int dw, int dh)
{
    if (dw <= 0 || dh <= 0)
        return 1;
    int k = ScaleInside(dw, dh - DISPLAY_PANEL_ROOM);
    return k < 1 ? 1 : k;
}

int MaxWindowScale()
{
    if (desktop_w <= 0 || desktop_h <= 0)
        return DISPLAY_MAX_SCALE;
    int k = ScaleInside(desktop_w, desktop_h);
    return k < 1 ? 1 : k;
}

FrameLayout FullScreenLayout(int outW, int outH)
{
    FrameLayout l;
    l.outW = outW;
    l.outH = outH;
    // 64-bit products: a desktop of any size compares exactly.
    if (static_cast<int64_t>(outW) * SCREEN_H >= static_cast<int64_t>(outH) * SCREEN_W) {
        l.h = outH;
        l.w = static_cast<int>(static_cast<int64_t>(outH) * SCREEN_W / SCREEN_H);
    } else {
        l.w = outW;
        l.h = static_cast<int>(static_cast<int64_t>(outW) * SCREEN_H / SCREEN_W);
    }
    l.x = (outW - l.w) / 2;
    l.y = (outH - l.h) / 2;
    return l;
}

FrameLayout WindowLayout(int k)
{
    FrameLayout l = {SCREEN_W * k, SCREEN_H * k, 0, 0, SCREEN_W * k, SCREEN_H * k};
    return l;
}

// A display pixel's centre in frame pixels: floor((d + 1/2) * n / m).
static int ToFrame(int d, int n, int m)
{
    return static_cast<int>((2 * static_cast<int64_t>(d) + 1) * n / (2 * static_cast<int64_t>(m)));
}

int DisplayToFrame(const FrameLayout& l, int dx, int dy, int* fx, int* fy)
{
    int rx = dx - l.x, ry = dy - l.y;
    int inside = rx >= 0 && ry >= 0 && rx < l.w && ry < l.h;
    *fx = Clamp(ToFrame(Clamp(rx, 0, l.w - 1), SCREEN_W, l.w), 0, SCREEN_W - 1);
    *fy = Clamp(ToFrame(Clamp(ry, 0, l.h - 1), SCREEN_H, l.h), 0, SCREEN_H - 1);
    return inside;
}

void FrameToDisplay(const FrameLayout& l, int fx, int fy, int* dx, int* dy)
{
    *dx = l.x + static_cast<int>((2 * static_cast<int64_t>(fx) + 1) * l.w / (2 * SCREEN_W));
    *dy = l.y + static_cast<int>((2 * static_cast<int64_t>(fy) + 1) * l.h / (2 * SCREEN_H));
}

// ---- the scaler ----------------------------------------------------------------
// Per display column (and row) of the frame's scaled area: the frame pixel its
// left (top) part shows, and how much of it, in 256ths, shows the next one.
constexpr int SCALE_TABLE = 8192;  // longest scaled side handled; wider desktops get a smaller frame
static int colIndex[SCALE_TABLE], colWeight[SCALE_TABLE];
static int rowIndex[SCALE_TABLE], rowWeight[SCALE_TABLE];
static int tableW = 0, tableH = 0;
static uint32_t rowA[SCALE_TABLE], rowB[SCALE_TABLE];

static void BuildAxis(int n, int m, int* index, int* weight)
{
    for (int d = 0; d < m; d++) {
        int64_t start = static_cast<int64_t>(d) * n;  // in 1/m frame pixels
        int a = static_cast<int>(start / m);
        int64_t over = static_cast<int64_t>(d + 1) * n - static_cast<int64_t>(a + 1) * m;
        int w = over > 0 && a + 1 < n ? static_cast<int>((over * 256 + n / 2) / n) : 0;
        index[d] = a < n ? a : n - 1;
        weight[d] = w;
    }
}

static void BuildTables(int w, int h)
{
    if (w == tableW && h == tableH)
        return;
    BuildAxis(SCREEN_W, w, colIndex, colWeight);
    BuildAxis(SCREEN_H, h, rowIndex, rowWeight);
    tableW = w;
    tableH = h;
}

// a weighted against b by w/256, each 8-bit channel on its own.
static inline uint32_t Blend(uint32_t a, uint32_t b, int w)
{
    uint32_t iw = static_cast<uint32_t>(256 - w), uw = static_cast<uint32_t>(w);
    uint32_t rb = (((a & 0xff00ffu) * iw + (b & 0xff00ffu) * uw) >> 8) & 0xff00ffu;
    uint32_t ga = ((((a >> 8) & 0xff00ffu) * iw + ((b >> 8) & 0xff00ffu) * uw)) & 0xff00ff00u;
    return rb | ga;
}

static void ScaleRow(const uint32_t* src, uint32_t* out, int d0, int d1)
{
    for (int d = d0; d < d1; d++) {
        int w = colWeight[d];
        const uint32_t* p = src + colIndex[d];
        out[d] = w ? Blend(p[0], p[1], w) : p[0];
    }
}

// Whole scales: each pixel k times, each row k times.
static void ScaleWhole(int k, const uint32_t* src, int srcPitch, uint32_t* dst, int dstPitch, int c0, int r0, int c1,
                       int r1)
{
    for (int r = r0; r < r1; r++) {
        const uint32_t* s = src + static_cast<ptrdiff_t>(srcPitch) * r;
        uint32_t* first = dst + static_cast<ptrdiff_t>(dstPitch) * r * k + c0 * k;
        uint32_t* o = first;
        if (k == 2) {
            for (int c = c0; c < c1; c++, o += 2)
                o[0] = o[1] = s[c];
        } else {
            for (int c = c0; c < c1; c++)
                for (int i = 0; i < k; i++)
                    *o++ = s[c];
        }
        for (int i = 1; i < k; i++)
            memcpy(first + static_cast<ptrdiff_t>(dstPitch) * i, first, static_cast<size_t>(c1 - c0) * k * 4);
    }
}

void ScaleFrame(const FrameLayout& l, const uint32_t* src, int srcPitch, uint32_t* dst, int dstPitch, int c0, int r0,
                int c1, int r1, SDL_Rect* written)
{
    c0 = Clamp(c0, 0, SCREEN_W);
    c1 = Clamp(c1, c0, SCREEN_W);
    r0 = Clamp(r0, 0, SCREEN_H);
    r1 = Clamp(r1, r0, SCREEN_H);
    int w = l.w < SCALE_TABLE ? l.w : SCALE_TABLE;
    int h = l.h < SCALE_TABLE ? l.h : SCALE_TABLE;
    uint32_t* origin = dst + static_cast<ptrdiff_t>(dstPitch) * l.y + l.x;
    // Display columns d whose area [d, d+1) overlaps frame columns [c0, c1).
    int d0 = static_cast<int>(static_cast<int64_t>(c0) * w / SCREEN_W);
    int d1 = static_cast<int>((static_cast<int64_t>(c1) * w + SCREEN_W - 1) / SCREEN_W);
    int e0 = static_cast<int>(static_cast<int64_t>(r0) * h / SCREEN_H);
    int e1 = static_cast<int>((static_cast<int64_t>(r1) * h + SCREEN_H - 1) / SCREEN_H);
    written->x = static_cast<Sint16>(l.x + d0);
    written->y = static_cast<Sint16>(l.y + e0);
    written->w = static_cast<Uint16>(d1 - d0);
    written->h = static_cast<Uint16>(e1 - e0);
    if (c0 == c1 || r0 == r1)
        return;
    int k = w / SCREEN_W;
    if (w == SCREEN_W * k && h == SCREEN_H * k) {
        ScaleWhole(k, src, srcPitch, origin, dstPitch, c0, r0, c1, r1);
        return;
    }
    BuildTables(w, h);
    // A pixel's blend reaches one frame pixel to its left or above: those
    // display pixels are part of the area, and read frame pixels at c0 - 1.
    const uint32_t* prevSrc = nullptr;
    uint32_t* prevOut = nullptr;
    for (int e = e0; e < e1; e++) {
        int a = rowIndex[e], wy = rowWeight[e];
        uint32_t* out = origin + static_cast<ptrdiff_t>(dstPitch) * e;
        const uint32_t* s = src + static_cast<ptrdiff_t>(srcPitch) * a;
        if (wy == 0) {
            if (prevSrc == s && prevOut)
                memcpy(out + d0, prevOut + d0, static_cast<size_t>(d1 - d0) * 4);
            else
                ScaleRow(s, out, d0, d1);
            prevSrc = s;
            prevOut = out;
            continue;
        }
        ScaleRow(s, rowA, d0, d1);
        ScaleRow(s + srcPitch, rowB, d0, d1);
        for (int d = d0; d < d1; d++)
            out[d] = Blend(rowA[d], rowB[d], wy);
        prevSrc = nullptr;
        prevOut = nullptr;
    }
}

// ---- the display's state ---------------------------------------------------------
static SDL_Surface* frame = nullptr;  // the frame while the game scales it
static uint32_t* shown = nullptr;     // the frame as it was last shown, to send only what changed
static int shownValid = 0;            // 0: the next show redraws the whole display
static int desktopRead = 0;           // the desktop's size is read once, before any mode

int ScalerOfLibrary(int major, int minor, int patch)
{
    return (major == 1 && minor == 2 && patch >= 50) ? SCALER_LIBRARY : SCALER_SOFTWARE;
}

int WindowScale()
{
    int max = MaxWindowScale();
    if (display_scale >= 1 && display_scale <= DISPLAY_MAX_SCALE)
        return display_scale < max ? display_scale : max;
    int fit = FitWindowScale(desktop_w, desktop_h);
    return fit < max ? fit : max;
}

void DisplayInvalidate()
{
    shownValid = 0;
}

static bool GameScales()
{
    return display_scaler == SCALER_SOFTWARE && display && frame && screen == frame;
}

// The frame surface: 800 x 600 in the display's own layout, so that pictures
// converted for the display draw into it without conversion.
static int MakeFrame()
{
    const SDL_PixelFormat* f = display->format;
    if (frame && frame->format->Rmask == f->Rmask && frame->format->Gmask == f->Gmask &&
        frame->format->Bmask == f->Bmask)
        return 1;
    SDL_Surface* made = SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_W, SCREEN_H, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    if (!made)
        return 0;
    if (frame) {
        SDL_BlitSurface(frame, nullptr, made, nullptr);
        SDL_FreeSurface(frame);
    }
    frame = made;
    if (!shown)
        shown = static_cast<uint32_t*>(calloc(static_cast<size_t>(SCREEN_W) * SCREEN_H, 4));
    return shown != nullptr;
}

static SDL_Surface* SetMode(int w, int h, Uint32 flags)
{
    return SDL_SetVideoMode(w, h, SCREEN_BPP, flags);
}

static SDL_Surface* OpenSoftware()
{
    SDL_Surface* s = nullptr;
    if (fulls && desktop_w >= SCREEN_W && desktop_h >= SCREEN_H) {
        s = SetMode(desktop_w, desktop_h, SDL_FULLSCREEN);
        if (s)
            display_layout = FullScreenLayout(s->w, s->h);
    }
    if (!s && fulls) {
        // A desktop smaller than the frame, or unknown: the frame's own size.
        s = SetMode(SCREEN_W, SCREEN_H, SDL_FULLSCREEN | SDL_HWPALETTE);
        if (s)
            display_layout = FullScreenLayout(s->w, s->h);
    }
    if (!s) {
        int k = fulls ? 1 : WindowScale();
        for (; k >= 1 && !s; k--) {
            s = SetMode(SCREEN_W * k, SCREEN_H * k, 0);
            if (s)
                display_layout = WindowLayout(k);
        }
    }
    return s;
}

static SDL_Surface* OpenLibrary()
{
    int k = WindowScale();
    // Asked before each mode: the library reads it when it opens the window.
    char scale[16];
    snprintf(scale, sizeof scale, "%d", fulls ? 1 : k);
    setenv("SDL12COMPAT_WINDOW_SCALING", scale, 1);
    // Whole window scales and the full screen's in-between ones alike stay sharp.
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    SDL_Surface* s = SetMode(SCREEN_W, SCREEN_H, fulls ? SDL_FULLSCREEN : 0);
    if (!s && fulls)
        s = SetMode(SCREEN_W, SCREEN_H, 0);
    display_layout = WindowLayout(1);
    return s;
}

int DisplayOpen()
{
    if (!display_scaler) {
        const SDL_version* v = SDL_Linked_Version();
        display_scaler = ScalerOfLibrary(v->major, v->minor, v->patch);
        const char* force = getenv("TOVI_SCALER");
        if (force && strcmp(force, "software") == 0)
            display_scaler = SCALER_SOFTWARE;
    }
    if (!desktopRead) {
        desktopRead = 1;
        const SDL_VideoInfo* info = SDL_GetVideoInfo();
        if (info && desktop_w == 0 && desktop_h == 0) {
            desktop_w = info->current_w;
            desktop_h = info->current_h;
        }
    }
    // The picture on show is kept across the switch: in the game's own frame
    // surface, which outlives every mode.
    if (display_scaler == SCALER_SOFTWARE && screen && screen != frame && frame)
        SDL_BlitSurface(screen, nullptr, frame, nullptr);
    // The library's frame is its display surface, which a new mode clears:
    // a copy carries the picture over.
    SDL_Surface* kept = nullptr;
    if (display_scaler == SCALER_LIBRARY && screen && screen == display)
        kept = SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE);
    FrameLayout before = display_layout;
    SDL_Surface* s = display_scaler == SCALER_LIBRARY ? OpenLibrary() : OpenSoftware();
    if (!s) {
        display_layout = before;
        if (kept)
            SDL_FreeSurface(kept);
        return 0;
    }
    display = s;
    display_bar_press = 0;
    if (display_scaler == SCALER_LIBRARY) {
        screen = display;
        if (kept) {
            SDL_BlitSurface(kept, nullptr, screen, nullptr);
            SDL_FreeSurface(kept);
            SDL_Flip(screen);
        }
        return 1;
    }
    if (!MakeFrame()) {
        // No memory for a frame of its own: the frame is drawn straight into a
        // 1x window.
        display = SetMode(SCREEN_W, SCREEN_H, 0);
        display_layout = WindowLayout(1);
        screen = display;
        return display != nullptr;
    }
    screen = frame;
    shownValid = 0;
    // Screens that wait for input would leave the new mode black until then.
    ShowFrame(screen);
    return 1;
}

void HidePointer()
{
    static Uint8 none[8] = {0};          // 8 x 8, neither drawn nor masked: nothing to see
    static SDL_Cursor* blank = nullptr;  // freed by SDL_Quit while it is in use
    if (blank && SDL_GetCursor() == blank)
        return;
    blank = SDL_CreateCursor(none, none, 8, 8, 0, 0);
    if (blank)
        SDL_SetCursor(blank);
    else
        SDL_ShowCursor(0);
}

void ToggleFullScreen()
{
    fulls = fulls ? 0 : 1;
    pod[3] = fulls;
    WriteSettings();
    if (!DisplayOpen()) {
        fulls = fulls ? 0 : 1;
        pod[3] = fulls;
        WriteSettings();
    }
}

void StepWindowScale()
{
    int next = WindowScale() + 1;
    if (fulls)
        next = WindowScale();  // from full screen, first the window as it was
    if (next > MaxWindowScale())
        next = 1;
    display_scale = next;
    WriteDisplaySettings();
    if (fulls) {
        fulls = 0;
        pod[3] = 0;
        WriteSettings();
    }
    DisplayOpen();
}

// ---- showing the frame ----------------------------------------------------------
constexpr int SHOW_RECTS = 32;  // changed bands sent at once; more are merged into the last

// Sends the frame's rectangle [x0, x1) x [y0, y1) to the display: only the rows
// that changed since they were last shown, each band of them as narrow as what
// changed in it.
static void ShowArea(int x0, int y0, int x1, int y1)
{
    if (SDL_MUSTLOCK(display) && SDL_LockSurface(display) < 0)
        return;
    const uint32_t* src = static_cast<const uint32_t*>(frame->pixels);
    int srcPitch = frame->pitch / 4;
    uint32_t* dst = static_cast<uint32_t*>(display->pixels);
    int dstPitch = display->pitch / 4;
    SDL_Rect rects[SHOW_RECTS];
    int n = 0;
    if (!shownValid) {
        // The whole display: bars black, the frame scaled.
        SDL_Rect all = {0, 0, static_cast<Uint16>(display->w), static_cast<Uint16>(display->h)};
        if (SDL_MUSTLOCK(display))
            SDL_UnlockSurface(display);
        SDL_FillRect(display, &all, 0);
        if (SDL_MUSTLOCK(display) && SDL_LockSurface(display) < 0)
            return;
        SDL_Rect done;
        ScaleFrame(display_layout, src, srcPitch, dst, dstPitch, 0, 0, SCREEN_W, SCREEN_H, &done);
        for (int r = 0; r < SCREEN_H; r++)
            memcpy(shown + static_cast<ptrdiff_t>(SCREEN_W) * r, src + static_cast<ptrdiff_t>(srcPitch) * r,
                   SCREEN_W * 4);
        shownValid = 1;
        rects[n++] = all;
    } else {
        int bandTop = -1, bandBottom = -1, bandLeft = x1, bandRight = x0;
        for (int r = y0; r <= y1; r++) {
            bool changed = false;
            if (r < y1) {
                const uint32_t* now = src + static_cast<ptrdiff_t>(srcPitch) * r;
                uint32_t* was = shown + static_cast<ptrdiff_t>(SCREEN_W) * r;
                if (memcmp(now + x0, was + x0, static_cast<size_t>(x1 - x0) * 4) != 0) {
                    int left = x0, right = x1;
                    while (now[left] == was[left])
                        left++;
                    while (now[right - 1] == was[right - 1])
                        right--;
                    memcpy(was + left, now + left, static_cast<size_t>(right - left) * 4);
                    changed = true;
                    if (bandTop < 0)
                        bandTop = r;
                    bandBottom = r + 1;
                    bandLeft = left < bandLeft ? left : bandLeft;
                    bandRight = right > bandRight ? right : bandRight;
                }
            }
            // A band ends at the first unchanged row after it (or the end).
            if (!changed && bandTop >= 0 && (r == y1 || r - bandBottom >= 8)) {
                SDL_Rect done;
                // Blended display pixels read one frame pixel on each side.
                ScaleFrame(display_layout, src, srcPitch, dst, dstPitch, bandLeft - 1, bandTop - 1, bandRight + 1,
                           bandBottom + 1, &done);
                if (n < SHOW_RECTS) {
                    rects[n++] = done;
                } else {
                    SDL_Rect& last = rects[SHOW_RECTS - 1];
                    int right = last.x + last.w > done.x + done.w ? last.x + last.w : done.x + done.w;
                    int bottom = last.y + last.h > done.y + done.h ? last.y + last.h : done.y + done.h;
                    last.x = last.x < done.x ? last.x : done.x;
                    last.y = last.y < done.y ? last.y : done.y;
                    last.w = static_cast<Uint16>(right - last.x);
                    last.h = static_cast<Uint16>(bottom - last.y);
                }
                bandTop = -1;
                bandLeft = x1;
                bandRight = x0;
            }
        }
    }
    if (SDL_MUSTLOCK(display))
        SDL_UnlockSurface(display);
    if (n > 0)
        SDL_UpdateRects(display, n, rects);
}

void ShowFrame(SDL_Surface* s)
{
    if (DrawingOff)
        return;
    if (s == screen && GameScales())
        ShowArea(0, 0, SCREEN_W, SCREEN_H);
    else
        SDL_Flip(s);
}

void ShowFrameRect(SDL_Surface* s, int x, int y, int w, int h)
{
    if (DrawingOff)
        return;
    if (!(s == screen && GameScales())) {
        SDL_UpdateRect(s, x, y, static_cast<Uint32>(w), static_cast<Uint32>(h));
        return;
    }
    if (w == 0 && h == 0 && x == 0 && y == 0) {
        w = SCREEN_W;
        h = SCREEN_H;
    }
    int x0 = Clamp(x, 0, SCREEN_W), y0 = Clamp(y, 0, SCREEN_H);
    int x1 = Clamp(x + w, x0, SCREEN_W), y1 = Clamp(y + h, y0, SCREEN_H);
    if (x0 < x1 && y0 < y1)
        ShowArea(x0, y0, x1, y1);
}

void ShowFrameRects(SDL_Surface* s, int n, SDL_Rect* rects)
{
    if (DrawingOff)
        return;
    if (!(s == screen && GameScales())) {
        SDL_UpdateRects(s, n, rects);
        return;
    }
    for (int i = 0; i < n; i++)
        ShowFrameRect(s, rects[i].x, rects[i].y, rects[i].w, rects[i].h);
}

// ---- the pointer ----------------------------------------------------------------
int PointerToFrame(int dx, int dy, int* fx, int* fy)
{
    return DisplayToFrame(display_layout, dx, dy, fx, fy);
}

void WarpPointer(int fx, int fy)
{
    int dx = fx, dy = fy;
    if (GameScales())
        FrameToDisplay(display_layout, fx, fy, &dx, &dy);
    SDL_WarpMouse(static_cast<Uint16>(dx), static_cast<Uint16>(dy));
}

// ---- videos -----------------------------------------------------------------------
SDL_Surface* OverlayTarget()
{
    return GameScales() ? display : screen;
}

SDL_Rect OverlayRect(int x, int y, int w, int h)
{
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
    if (!GameScales())
        return r;
    const FrameLayout& l = display_layout;
    int left = l.x + static_cast<int>(static_cast<int64_t>(x) * l.w / SCREEN_W);
    int top = l.y + static_cast<int>(static_cast<int64_t>(y) * l.h / SCREEN_H);
    int right = l.x + static_cast<int>(static_cast<int64_t>(x + w) * l.w / SCREEN_W);
    int bottom = l.y + static_cast<int>(static_cast<int64_t>(y + h) * l.h / SCREEN_H);
    r.x = static_cast<Sint16>(left);
    r.y = static_cast<Sint16>(top);
    r.w = static_cast<Uint16>(right - left);
    r.h = static_cast<Uint16>(bottom - top);
    return r;
}

void AfterOverlay(int x, int y, int w, int h)
{
    if (!GameScales())
        return;
    // The frame takes back the picture the video left, pixel by pixel from the
    // middle of each pixel's scaled area, so that what is drawn next (a fade
    // from the last picture) starts from what the player sees.
    int x0 = Clamp(x, 0, SCREEN_W), y0 = Clamp(y, 0, SCREEN_H);
    int x1 = Clamp(x + w, x0, SCREEN_W), y1 = Clamp(y + h, y0, SCREEN_H);
    if (SDL_MUSTLOCK(display) && SDL_LockSurface(display) < 0)
        return;
    const uint32_t* from = static_cast<const uint32_t*>(display->pixels);
    uint32_t* to = static_cast<uint32_t*>(frame->pixels);
    for (int fy = y0; fy < y1; fy++)
        for (int fx = x0; fx < x1; fx++) {
            int dx, dy;
            FrameToDisplay(display_layout, fx, fy, &dx, &dy);
            to[static_cast<ptrdiff_t>(frame->pitch / 4) * fy + fx] =
                from[static_cast<ptrdiff_t>(display->pitch / 4) * dy + dx];
        }
    if (SDL_MUSTLOCK(display))
        SDL_UnlockSurface(display);
    shownValid = 0;
}

// ---- "display.dat" ----------------------------------------------------------------
constexpr int DISPLAY_FILE_SIZE = 12;
constexpr int DISPLAY_FILE_VERSION = 1;
static const unsigned char DisplayMagic[4] = {'T', 'O', 'V', 'D'};

int ReadDisplaySettings()
{
    display_scale = 0;
    FILE* f = fopen(DISPLAY_FILE, "rb");
    if (!f)
        return 0;
    unsigned char bytes[DISPLAY_FILE_SIZE + 1];
    size_t got = fread(bytes, 1, sizeof bytes, f);
    fclose(f);
    if (got != DISPLAY_FILE_SIZE || memcmp(bytes, DisplayMagic, 4) != 0 || GetLE32(bytes + 4) != DISPLAY_FILE_VERSION)
        return 0;
    int scale = GetLE32(bytes + 8);
    if (scale < 0 || scale > DISPLAY_MAX_SCALE)
        return 0;
    display_scale = scale;
    return 1;
}

int WriteDisplaySettings()
{
    unsigned char bytes[DISPLAY_FILE_SIZE];
    memcpy(bytes, DisplayMagic, 4);
    PutLE32(bytes + 4, DISPLAY_FILE_VERSION);
    PutLE32(bytes + 8, display_scale);
    return WriteFileAtomic(DISPLAY_FILE, bytes, sizeof bytes);
}
