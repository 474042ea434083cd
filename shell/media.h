// Loading and playing the game's media. Nothing here reports a failure: a file
// that is missing leaves an empty (null) handle, and drawing or playing an empty
// handle does nothing, so the game runs with any part of media/ absent.
#ifndef TOVI_SHELL_MEDIA_H
#define TOVI_SHELL_MEDIA_H

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/tls.h"

// ---- loading -----------------------------------------------------------------
SDL_Surface* LoadImageAlpha(const char* path);   // display format with per-pixel alpha
SDL_Surface* LoadImageOpaque(const char* path);  // display format, no alpha
SDL_Surface* LoadImageRaw(const char* path);     // kept as loaded
Mix_Chunk* LoadEffect(const char* path);         // an effect, read through a stream opened "rb"
Mix_Music* LoadMusic(const char* path);
SDL_Surface*
CopyScreen(SDL_Surface* surface);  // display-format copy of what is on the screen (unfilled under DrawingOff)
// The darkened picture behind a dialog: takes the copy of the screen into
// *backdrop when there is none, and draws the screen black with the copy over it
// at alpha 170. The blend is kept for the next redraw until the backdrop is
// released, which must be through ReleaseSurface.
void DrawDarkened(SDL_Surface* screen, SDL_Surface** backdrop);
// Frees *surface (if any) and sets it to null; the last screen-sized one released
// is kept for the next CopyScreen.
void ReleaseSurface(SDL_Surface** surface);

// ---- the picture lists (shell/manifest.h) -------------------------------------
// A row of a list as its loader sees it.
struct ImageRow {
    SDL_Surface** slots;  // the variable, or the family's table
    int size;             // slots in it (0: none, the owner loads on demand)
    const char* path;
    int first, last, shift;
    int format;  // MediaFormat
    int step;    // the menu's loading step, 0 for the other lists
};
// Gives load every file of the rows (those of `step` only, unless it is 0): its
// slot and its path. A family number whose slot falls outside its table is skipped.
void ForEachImage(const ImageRow* rows, int count, int step,
                  void (*load)(SDL_Surface*& slot, const char* path, int format));
// The plain loader: decodes the file now into an empty slot; a filled slot is kept.
void LoadIntoEmpty(SDL_Surface*& slot, const char* path, int format);

// ---- loading on helper threads ------------------------------------------------
// Decoding the pictures is most of the game's start-up, and each one is decoded
// on its own, so a batch of them is shared out between helper threads and the
// caller. LoadLater asks for a picture into *slot (a slot stays null until the
// batch is finished); LoadFinish decodes alongside the helpers and runs each
// picture's `after` (if any) on the calling thread, in the order they were
// asked for, as soon as that picture is in. It returns once the whole batch is
// in. A slot must not be asked for twice in one batch.
enum ImageFormat { IMAGE_ALPHA, IMAGE_OPAQUE, IMAGE_RAW };  // as LoadImageAlpha, LoadImageOpaque, LoadImageRaw
constexpr int LOAD_BATCH_SIZE = 256;                        // pictures one batch holds; more are loaded at once
constexpr int LOAD_HELPERS = 3;  // helper threads a batch may start: one fewer than the cores

struct LoadJob {
    SDL_Surface** slot;
    char path[96];
    ImageFormat format;
    void (*after)(SDL_Surface*);
};
extern LoadJob LoadBatch[LOAD_BATCH_SIZE];  // the batch asked for since the last LoadFinish
extern int LoadBatchCount;                  // pictures in it

void LoadLater(SDL_Surface** slot, const char* path, ImageFormat format, void (*after)(SDL_Surface*));
void LoadFinish();

// ---- playing -----------------------------------------------------------------
constexpr int EFFECT_LOG_SIZE = 64;

extern Mix_Chunk** EffectLog[EFFECT_LOG_SIZE];  // the last effects asked for, by handle; oldest overwritten
extern int EffectLogCount;                      // effects asked for since the last EffectLogClear
extern TOVI_TLS int EffectsMuted;               // 1 on a thread that plays levels silently (the solver's); 0 at start

void PlayEffect(Mix_Chunk** handle);  // plays *handle once on the first free channel (if loaded); nothing when muted
int EffectsPlaying();                 // 1 while an effect sounds; always 0 on a muted thread
void PlayTune(Mix_Music* music);      // halts the music and plays music round and round (if loaded); nothing when muted
// A screen's own tune, started again whenever it has ended: *started is the
// screen's "tune started" flag; it is cleared when no music plays, and while it
// is clear the tune is (re)started and it is set.
void KeepTunePlaying(int* started, Mix_Music* music);
void EffectLogClear();
int EffectLogTimes(Mix_Chunk** handle);  // how often handle is in the log

#endif
