// The video player: plays an Ogg Theora file from start to end, unscaled, with its
// top-left at a given position, through a software YUV overlay that writes into
// the screen. Playback blocks and reads no events; music that was playing goes
// on underneath. Only the first Theora stream of a file is played; any other
// stream (sound, say) is read past and ignored.
//
// A frame stays up for as many milliseconds as the stream's frame-rate
// numerator says: the game's videos are made with that rule, so a stream marked
// 40/1 shows each frame 40 ms, whatever its denominator.
#ifndef TOVI_VIDEO_VIDEO_H
#define TOVI_VIDEO_VIDEO_H

#include <SDL.h>
#include <ogg/ogg.h>
#include <theora/theora.h>

#include <cstdio>

// ---- player state (lives on after a call; the next call releases it first) ----
constexpr int VIDEO_BLOCK = 4096;         // bytes read from the file at a time
constexpr int VIDEO_SPLASH_WAIT = 800;    // ms slept after each header read of the splash (drawn at x 0)
constexpr int VIDEO_MAX_FRAME_MS = 1000;  // the longest a frame stays up, whatever a stream claims

extern ogg_sync_state oy;    // the Ogg sync layer fed from the file
extern ogg_page og;          // the page last taken from oy
extern ogg_stream_state to;  // the Theora stream's state, while theora_p is non-zero
extern theora_info ti;       // the stream's parameters: frame size, picture offset, frame rate
extern theora_comment tc;    // the stream's comments (read, not used)
extern theora_state td;      // the decoder
extern int theora_p;         // 0 no Theora stream; 1..3 header packets read (3 = complete)
extern int stateflag;        // header search: 1 once data pages began; playback: 1 once frames may show
extern int videobuf_ready;   // 1 while a decoded frame waits to be shown
extern Uint32 tstartTicks;   // tick the waiting frame is timed from: the last one's due time, or its decoding when 0
extern SDL_Overlay* yuv_overlay;  // the overlay of the current video, frame-sized; null before the first
extern SDL_Rect rectvi;           // where the overlay shows: position and frame size

// ---- what the last call showed (for tests and tools) -------------------------
extern int video_frames;   // frames shown by the last LoadPlayV; reset as each call starts
extern int video_skipped;  // 1 when a click, a key or the window's close cut the last LoadPlayV short
extern int video_paced;    // 1 (start): frames wait their time; 0 shows them back to back (benchmark)

// Plays the file with the picture's top-left at (x, y). A file that is missing,
// unreadable, cut short in its headers, holds no Theora stream, or a stream the
// player cannot show (not 4:2:0, or bigger than the screen) shows nothing.
void LoadPlayV(const char* filename, int x, int y);
void VideoRelease();  // releases the decoder, stream and sync states and the overlay

int buffer_data(FILE* file, ogg_sync_state* sync);  // reads up to VIDEO_BLOCK bytes into sync; bytes read
int queue_page(ogg_page* page);  // hands the page to the Theora stream (other streams' pages are refused); 0
void open_video(int x, int y);   // creates the overlay for the stream and shows it once
void video_write();              // shows the decoded frame, then waits out its time

#endif
