// Loading and playing the game's media. Nothing here reports a failure: a file
// that is missing leaves an empty (null) handle, and drawing or playing an empty
// handle does nothing, so the game runs with any part of media/ absent.
#ifndef TOVI_SHELL_MEDIA_H
#define TOVI_SHELL_MEDIA_H

#include <SDL.h>
#include <SDL_mixer.h>

// ---- loading -----------------------------------------------------------------
SDL_Surface* LoadImageAlpha(const char* path);   // display format with per-pixel alpha
SDL_Surface* LoadImageOpaque(const char* path);  // display format, no alpha
SDL_Surface* LoadImageRaw(const char* path);     // kept as loaded
Mix_Chunk* LoadEffect(const char* path);         // an effect, read through a stream opened "rb"
Mix_Music* LoadMusic(const char* path);
SDL_Surface* CopyScreen(SDL_Surface* surface);   // display-format copy of what is on the screen
// The darkened picture behind a dialog: takes the copy of the screen into
// *backdrop when there is none, fills the screen black and draws the copy over
// it at alpha 170.
void DrawDarkened(SDL_Surface* screen, SDL_Surface** backdrop);
void ReleaseSurface(SDL_Surface** surface);  // frees *surface (if any) and sets it to null

// ---- playing -----------------------------------------------------------------
constexpr int EFFECT_LOG_SIZE = 64;

extern Mix_Chunk** EffectLog[EFFECT_LOG_SIZE];  // the last effects asked for, by handle; oldest overwritten
extern int EffectLogCount;                      // effects asked for since the last EffectLogClear

void PlayEffect(Mix_Chunk** handle);  // plays *handle once on the first free channel (if loaded)
void PlayMusicOnce(Mix_Music* music); // halts the music and plays music once (if loaded)
// A screen's own tune, started again whenever it has ended: *started is the
// screen's "tune started" flag; it is cleared when no music plays, and while it
// is clear the tune is (re)started and it is set.
void KeepTunePlaying(int* started, Mix_Music* music);
void EffectLogClear();
int EffectLogTimes(Mix_Chunk** handle);  // how often handle is in the log

#endif
