#include "video/video.h"

#include <cstdlib>
#include <cstring>

#include "shell/clock.h"
#include "shell/display.h"
#include "shell/screen.h"

ogg_sync_state oy;
ogg_page og;
ogg_stream_state to;
theora_info ti;
theora_comment tc;
theora_state td;
int theora_p = 0;
int stateflag = 0;
int videobuf_ready = 0;
Uint32 tstartTicks = 0;
SDL_Overlay* yuv_overlay = nullptr;
SDL_Rect rectvi = {0, 0, 0, 0};
int video_frames = 0;
int video_paced = 1;

// Which of the states above hold resources, so that each is released exactly
// once, by the next video or at exit.
static bool syncOpen = false;
static bool infoOpen = false;     // ti and tc
static bool streamOpen = false;   // to
static bool decoderOpen = false;  // td

// The largest coded frame the player accepts: anything bigger could not be
// shown on the 800 x 600 screen, and a damaged header can claim any size.
constexpr ogg_uint32_t VIDEO_MAX_CODED = 1024;

// The compatibility library's SDL_FreeYUVOverlay (1.2.60, as Debian 12 ships it)
// spins for ever inside the library once an overlay has been shown. There the
// last overlay is kept and taken again by the next video of its size on the same
// display; one of another size, or after a change of video mode, leaves it
// behind, so at most one overlay per size and mode is ever held.
static SDL_Overlay* spareOverlay = nullptr;
static SDL_Surface* spareTarget = nullptr;

static bool OverlayFreeHangs()
{
    const SDL_version* v = SDL_Linked_Version();
    return ScalerOfLibrary(v->major, v->minor, v->patch) == SCALER_LIBRARY;
}

void VideoRelease()
{
    if (decoderOpen)
        theora_clear(&td);
    if (streamOpen)
        ogg_stream_clear(&to);
    if (infoOpen) {
        theora_comment_clear(&tc);
        theora_info_clear(&ti);
    }
    if (syncOpen)
        ogg_sync_clear(&oy);
    // The shell releases the player before SDL shuts down; should SDL be gone
    // already, the overlay's display went with it and it is only forgotten.
    if (yuv_overlay && SDL_WasInit(SDL_INIT_VIDEO)) {
        if (OverlayFreeHangs()) {
            spareOverlay = yuv_overlay;
            spareTarget = OverlayTarget();
        } else {
            SDL_FreeYUVOverlay(yuv_overlay);
        }
    }
    yuv_overlay = nullptr;
    decoderOpen = streamOpen = infoOpen = syncOpen = false;
    theora_p = 0;
}

int buffer_data(FILE* file, ogg_sync_state* sync)
{
    char* buffer = ogg_sync_buffer(sync, VIDEO_BLOCK);
    if (!buffer)
        return 0;
    size_t bytes = fread(buffer, 1, VIDEO_BLOCK, file);
    ogg_sync_wrote(sync, static_cast<long>(bytes));
    return static_cast<int>(bytes);
}

int queue_page(ogg_page* page)
{
    if (theora_p)
        ogg_stream_pagein(&to, page);
    return 0;
}

// A beginning-of-stream page: the first Theora stream found becomes ours; every
// other stream is let go.
static void TryStream(ogg_page* page)
{
    ogg_stream_state test;
    ogg_stream_init(&test, ogg_page_serialno(page));
    ogg_stream_pagein(&test, page);
    ogg_packet packet;
    if (theora_p == 0 && ogg_stream_packetout(&test, &packet) == 1 && theora_decode_header(&ti, &tc, &packet) >= 0) {
        memcpy(&to, &test, sizeof test);
        streamOpen = true;
        theora_p = 1;
    } else {
        ogg_stream_clear(&test);
    }
}

static void WaitWatching(Uint32 from, Uint32 ms);

// Reads until the first page that is not the start of a stream: by then every
// stream of the file has begun and the Theora one, if any, is known.
static void FindStreams(FILE* file, int x)
{
    while (stateflag == 0) {
        int bytes = buffer_data(file, &oy);
        if (x == 0)
            WaitWatching(ClockTicks(), VIDEO_SPLASH_WAIT);  // the splash takes its time to come up
        if (bytes == 0)
            return;
        while (ogg_sync_pageout(&oy, &og) > 0) {
            if (!ogg_page_bos(&og)) {
                queue_page(&og);
                stateflag = 1;
                return;
            }
            TryStream(&og);
        }
    }
}

// The second and third header packets, reading on as far as they need. Returns
// false when the file ends first or a header is damaged.
static bool ReadOtherHeaders(FILE* file)
{
    while (theora_p == 1 || theora_p == 2) {
        ogg_packet packet;
        int got;
        while ((theora_p == 1 || theora_p == 2) && (got = ogg_stream_packetout(&to, &packet)) != 0) {
            if (got < 0)
                return false;  // a gap inside the headers
            if (theora_decode_header(&ti, &tc, &packet) < 0)
                return false;
            theora_p += 1;
        }
        if (theora_p == 3)
            break;
        if (ogg_sync_pageout(&oy, &og) > 0)
            queue_page(&og);
        else if (buffer_data(file, &oy) == 0)
            return false;
    }
    return true;
}

// The overlay is YV12 and copied unscaled: the stream must be 4:2:0, its
// picture must lie inside its coded frame, and the frame must be of a size the
// screen can hold.
static bool Showable()
{
    return ti.pixelformat == OC_PF_420 && ti.frame_width > 0 && ti.frame_height > 0 && ti.width <= VIDEO_MAX_CODED &&
           ti.height <= VIDEO_MAX_CODED && ti.offset_x + ti.frame_width <= ti.width &&
           ti.offset_y + ti.frame_height <= ti.height;
}

// The overlay shows where the frame's rectangle rectvi lands on the display:
// scaled with the frame when the game scales it.
static void ShowOverlay()
{
    SDL_Rect at = OverlayRect(rectvi.x, rectvi.y, rectvi.w, rectvi.h);
    SDL_DisplayYUVOverlay(yuv_overlay, &at);
}

void open_video(int x, int y)
{
    if (spareOverlay && spareTarget == OverlayTarget() && spareOverlay->w == static_cast<int>(ti.frame_width) &&
        spareOverlay->h == static_cast<int>(ti.frame_height))
        yuv_overlay = spareOverlay;
    else
        yuv_overlay = SDL_CreateYUVOverlay(static_cast<int>(ti.frame_width), static_cast<int>(ti.frame_height),
                                           SDL_YV12_OVERLAY, OverlayTarget());
    spareOverlay = nullptr;
    if (!yuv_overlay) {
        fprintf(stderr, "SDL: Couldn't create SDL_yuv_overlay: %s\n", SDL_GetError());
        exit(1);
    }
    rectvi.x = static_cast<Sint16>(x);
    rectvi.y = static_cast<Sint16>(y);
    rectvi.w = static_cast<Uint16>(ti.frame_width);
    rectvi.h = static_cast<Uint16>(ti.frame_height);
    ShowOverlay();
}

// Copies rows x rows of width bytes from a decoded plane, starting at the
// picture offset (left, top), into an overlay plane. The decoder's planes are
// checked to hold the whole picture first; a frame that does not is not copied.
static bool CopyPlane(const unsigned char* from, int stride, int planeW, int planeH, int left, int top, Uint8* to_,
                      int pitch, int width, int rows)
{
    if (!from || left < 0 || top < 0 || left + width > planeW || top + rows > planeH || width > pitch)
        return false;
    for (int i = 0; i < rows; i++)
        memcpy(to_ + static_cast<ptrdiff_t>(pitch) * i, from + left + static_cast<ptrdiff_t>(stride) * (top + i),
               static_cast<size_t>(width));
    return true;
}

int video_skipped = 0;

// The player may cut a video short: a click or a key skips the rest, and closing
// the window does too (and ends the game, as on any screen). Everything else that
// arrives meanwhile is dropped, as the clip has the screen to itself.
static bool Interrupted()
{
    if (video_skipped)
        return true;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT)
            m_bQuit = 1;
        if (e.type == SDL_QUIT || e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN) {
            video_skipped = 1;
            return true;
        }
    }
    return false;
}

// Waits ms in short naps, looking for the player's input between them.
static void WaitWatching(Uint32 from, Uint32 ms)
{
    do
        ClockDelay(1);
    while (ClockTicks() - from < ms && !Interrupted());
}

static void WaitFrame()
{
    if (!video_paced) {
        tstartTicks = 0;
        return;
    }
    // A damaged header can claim any rate; no frame stays up longer than a second.
    Uint32 d = ti.fps_numerator;
    if (d > VIDEO_MAX_FRAME_MS)
        d = VIDEO_MAX_FRAME_MS;
    WaitWatching(tstartTicks, d);
    // The next frame is due one frame after this one was due, so the time spent
    // reading and decoding it does not pile up over the clip. A player that has
    // fallen a whole frame behind starts the count again from the next frame.
    Uint32 late = ClockTicks() - tstartTicks - d;
    tstartTicks = late < d ? tstartTicks + d : 0;
}

void video_write()
{
    yuv_buffer yuv;
    if (theora_decode_YUVout(&td, &yuv) != 0)
        return;
    bool screenLocked = false;
    if (SDL_MUSTLOCK(screen)) {
        if (SDL_LockSurface(screen) < 0)
            return;
        screenLocked = true;
    }
    if (SDL_LockYUVOverlay(yuv_overlay) < 0) {
        if (screenLocked)
            SDL_UnlockSurface(screen);
        return;
    }
    int w = yuv_overlay->w, h = yuv_overlay->h;
    int ox = static_cast<int>(ti.offset_x), oyy = static_cast<int>(ti.offset_y);
    // YV12 keeps V before U.
    bool copied = CopyPlane(yuv.y, yuv.y_stride, yuv.y_width, yuv.y_height, ox, oyy, yuv_overlay->pixels[0],
                            yuv_overlay->pitches[0], w, h) &&
                  CopyPlane(yuv.v, yuv.uv_stride, yuv.uv_width, yuv.uv_height, ox / 2, oyy / 2, yuv_overlay->pixels[1],
                            yuv_overlay->pitches[1], w / 2, h / 2) &&
                  CopyPlane(yuv.u, yuv.uv_stride, yuv.uv_width, yuv.uv_height, ox / 2, oyy / 2, yuv_overlay->pixels[2],
                            yuv_overlay->pitches[2], w / 2, h / 2);
    if (screenLocked)
        SDL_UnlockSurface(screen);
    SDL_UnlockYUVOverlay(yuv_overlay);
    if (!copied)
        return;
    ShowOverlay();
    video_frames++;
    WaitFrame();
}

// Decodes packets until one gives a frame, or the stream has none left. A
// packet the decoder refuses, or a gap in the data, is skipped.
static void DecodeNext()
{
    while (theora_p && !videobuf_ready) {
        ogg_packet packet;
        int got = ogg_stream_packetout(&to, &packet);
        if (got == 0)
            return;
        if (got < 0)
            continue;
        if (theora_decode_packetin(&td, &packet) == 0) {
            if (tstartTicks == 0)
                tstartTicks = ClockTicks();
            videobuf_ready = 1;
        }
    }
}

void LoadPlayV(const char* filename, int x, int y)
{
    video_frames = 0;
    video_skipped = 0;
    VideoRelease();
    theora_p = 0;
    stateflag = 0;
    videobuf_ready = 0;
    tstartTicks = 0;
    FILE* file = filename ? fopen(filename, "rb") : nullptr;
    if (!file)
        return;
    ogg_sync_init(&oy);
    theora_comment_init(&tc);
    theora_info_init(&ti);
    syncOpen = infoOpen = true;

    FindStreams(file, x);
    if (theora_p != 0 && (!ReadOtherHeaders(file) || !Showable())) {
        // Cut short or damaged headers, or a picture the overlay cannot take:
        // nothing is shown.
        VideoRelease();
        fclose(file);
        return;
    }
    if (theora_p != 0) {
        if (theora_decode_init(&td, &ti) != 0) {
            VideoRelease();
            fclose(file);
            return;
        }
        decoderOpen = true;
        open_video(x, y);
    }
    stateflag = 0;

    // Every frame of the file is shown: the loop ends only once the file is read
    // to its end and no packet is left that gives a frame.
    bool ended = false;
    for (;;) {
        if (video_skipped)
            break;
        DecodeNext();
        if (!videobuf_ready && ended)
            break;
        if (!videobuf_ready) {
            if (buffer_data(file, &oy) == 0)
                ended = true;  // the end, or a read error: nothing more will come
            while (ogg_sync_pageout(&oy, &og) > 0)
                queue_page(&og);
        }
        if (stateflag == 1 && videobuf_ready) {
            video_write();
            videobuf_ready = 0;
        }
        if (!theora_p || videobuf_ready || ended)
            stateflag = 1;
    }
    fclose(file);
    if (yuv_overlay)
        AfterOverlay(rectvi.x, rectvi.y, rectvi.w, rectvi.h);
}
