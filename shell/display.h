// How the 800 x 600 frame reaches the monitor. Every screen draws the frame into
// `screen` and shows it through ShowFrame; this module opens the window or the
// full screen, scales the frame up to it, and maps the pointer back.
//
// Two SDL 1.2 libraries are met on players' machines. The classic library gives
// a display surface of the size asked for and no more: here the frame is drawn
// into a surface of its own and scaled into the display in software (whole
// multiples repeat each pixel; the full screen's in-between scales blend only
// the edge of each pixel with its neighbour's, by how much of it the scaled
// pixel covers, so the art stays sharp and every pixel keeps the same size).
// The compatibility library on top of SDL 2 scales by itself: the frame is then
// the display surface, its full screen keeps the desktop's mode, and the window
// scale is asked for through SDL12COMPAT_WINDOW_SCALING before the video mode.
//
// Window and full screen never switch the monitor's mode: the full screen opens
// at the desktop's own size with the frame as large as fits, black bars where
// the shapes differ. The window opens at the largest whole multiple of 800 x 600
// that fits the desktop with room for its panels, unless the player chose one
// (F10, kept in "display.dat").
#ifndef TOVI_SHELL_DISPLAY_H
#define TOVI_SHELL_DISPLAY_H

#include <SDL.h>

#include <cstdint>

// ---- layout --------------------------------------------------------------------
constexpr int DISPLAY_MAX_SCALE = 3;    // largest window scale offered
constexpr int DISPLAY_PANEL_ROOM = 80;  // desktop height kept free for panels and the title bar
constexpr const char* DISPLAY_FILE = "display.dat";
constexpr const char* DISPLAY_ICON = "media/images/tovi_icon.bmp";  // the window's icon

// Where the frame lies in the display surface: the display is outW x outH, the
// frame is drawn scaled to w x h with its top-left at (x, y); the rest is bars.
struct FrameLayout {
    int outW, outH;
    int x, y, w, h;
};

// The window scale that fits a desktop of dw x dh (1 when unknown or small).
int FitWindowScale(int dw, int dh);
// The frame filling an outW x outH full screen as large as fits, aspect kept,
// bars even (an odd leftover pixel goes to the right or bottom bar).
FrameLayout FullScreenLayout(int outW, int outH);
// A window of k times the frame, no bars.
FrameLayout WindowLayout(int k);
// A display pixel to the frame pixel shown there. Returns 1 inside the frame;
// on a bar returns 0 and gives the nearest frame pixel.
int DisplayToFrame(const FrameLayout& l, int dx, int dy, int* fx, int* fy);
// The display pixel at the middle of a frame pixel's scaled area: what a warp
// to that frame pixel moves the pointer to.
void FrameToDisplay(const FrameLayout& l, int fx, int fy, int* dx, int* dy);

// ---- the scaler ----------------------------------------------------------------
// Scales the part [c0, c1) x [r0, r1) of the 32-bit frame (SCREEN_W x SCREEN_H)
// into the display's 32-bit pixels as the layout places it, and gives the
// display rectangle written. Whole scales repeat pixels; the others blend the
// pixels a display pixel overlaps by their share of it.
void ScaleFrame(const FrameLayout& l, const uint32_t* src, int srcPitch, uint32_t* dst, int dstPitch, int c0, int r0,
                int c1, int r1, SDL_Rect* written);

// ---- the display's state ---------------------------------------------------------
constexpr int SCALER_SOFTWARE = 1;  // classic SDL 1.2: the game scales into the display
constexpr int SCALER_LIBRARY = 2;   // the compatibility library scales the frame itself

extern int display_scaler;  // SCALER_SOFTWARE or SCALER_LIBRARY; chosen by DisplayOpen the first time
extern int display_scale;   // the player's window scale: 0 = fit the desktop, 1..3; from "display.dat"
extern int desktop_w;       // desktop size read before the first video mode; 0 when unknown
extern int desktop_h;
extern SDL_Surface* display;        // what SDL_SetVideoMode returned; the frame itself when not scaled by the game
extern FrameLayout display_layout;  // where the frame lies in `display`; the whole display when not scaled
extern int display_bar_press;       // 1 from a press on a bar until the button is released: it clicks nothing

// Which library runs: the compatibility library reports 1.2.50 or later.
int ScalerOfLibrary(int major, int minor, int patch);
// The window scale in use: the chosen one as far as the desktop allows, else the fit.
int WindowScale();
// The largest window scale a player may choose: a window that fits the desktop
// at all (1 at least). Unknown desktops allow every scale.
int MaxWindowScale();

// Opens (or re-opens) the video mode for fulls and the window scale, keeping the
// frame's picture. Returns 0 when no mode could be set (at start-up the caller
// reports it); a failed switch keeps the mode before it.
int DisplayOpen();
void ToggleFullScreen();  // F11: flips fulls, saves "config.dat", re-opens
void StepWindowScale();   // F10: the next window scale the desktop allows (back to 1x), saved; leaves full screen

// Showing the frame: the whole of it, or a part of it. s is the frame (`screen`).
void ShowFrame(SDL_Surface* s);
void ShowFrameRect(SDL_Surface* s, int x, int y, int w, int h);
void ShowFrameRects(SDL_Surface* s, int n, SDL_Rect* rects);
void DisplayInvalidate();  // the next ShowFrame redraws the whole display

// The pointer: a warp to a frame pixel, and a display position to the frame's.
void WarpPointer(int fx, int fy);
// Hides the system pointer (the screens draw their own) behind a cursor of no
// pixels. Hidden with SDL_ShowCursor(0) instead, both libraries turn a full
// screen's pointer into relative motion, and under the compatibility library
// every click then reads as the frame's centre wherever the pointer is moved
// absolutely (a tablet, a remote desktop, a test driver).
void HidePointer();
int PointerToFrame(int dx, int dy, int* fx, int* fy);  // 1 inside the frame, 0 on a bar

// Videos: the overlay is made on the display and shown where the frame's
// rectangle lands; afterwards the frame takes back what the video left there.
SDL_Surface* OverlayTarget();
SDL_Rect OverlayRect(int x, int y, int w, int h);
void AfterOverlay(int x, int y, int w, int h);

// "display.dat": 12 bytes, the magic "TOVD", then two little-endian words:
// version 1 and the window scale (0..3). A missing, short, long or damaged file
// reads as 0 (fit the desktop).
int ReadDisplaySettings();   // sets display_scale; 1 when the file was sound
int WriteDisplaySettings();  // atomic; 1 on success

#endif
