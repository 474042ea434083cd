// The video player: plays an Ogg Theora file from start to end, unscaled, with its
// top-left at a given position. Playback blocks and reads no events; music that
// was playing goes on underneath.
#ifndef TOVI_VIDEO_VIDEO_H
#define TOVI_VIDEO_VIDEO_H

// ---- player ------------------------------------------------------------------
extern int theora_p;  // 1 while a Theora stream is open (released at exit)

int LoadPlayV(const char* path, int x, int y);  // plays the file; 0 when done or unplayable
void VideoRelease();                            // releases what the player left open

#endif
