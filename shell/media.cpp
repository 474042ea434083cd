#include "shell/media.h"

#include <SDL_image.h>

#include "shell/screen.h"

Mix_Chunk** EffectLog[EFFECT_LOG_SIZE];
int EffectLogCount = 0;

static SDL_Surface* Convert(const char* path, SDL_Surface* (*convert)(SDL_Surface*))
{
    SDL_Surface* loaded = IMG_Load(path);
    if (!loaded)
        return nullptr;
    SDL_Surface* converted = SDL_GetVideoSurface() ? convert(loaded) : nullptr;
    SDL_FreeSurface(loaded);
    return converted;
}

SDL_Surface* LoadImageAlpha(const char* path)
{
    return Convert(path, SDL_DisplayFormatAlpha);
}

SDL_Surface* LoadImageOpaque(const char* path)
{
    return Convert(path, SDL_DisplayFormat);
}

SDL_Surface* LoadImageRaw(const char* path)
{
    return IMG_Load(path);
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

SDL_Surface* CopyScreen(SDL_Surface* surface)
{
    return surface ? SDL_DisplayFormat(surface) : nullptr;
}

void DrawDarkened(SDL_Surface* screen, SDL_Surface** backdrop)
{
    if (!*backdrop)
        *backdrop = CopyScreen(screen);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    if (*backdrop) {
        SDL_SetAlpha(*backdrop, SDL_SRCALPHA | SDL_RLEACCEL, 170);
        apply_clip(0, 0, *backdrop, screen, nullptr);
    }
}

void ReleaseSurface(SDL_Surface** surface)
{
    if (*surface)
        SDL_FreeSurface(*surface);
    *surface = nullptr;
}

void PlayEffect(Mix_Chunk** handle)
{
    EffectLog[EffectLogCount % EFFECT_LOG_SIZE] = handle;
    EffectLogCount++;
    if (handle && *handle)
        Mix_PlayChannel(-1, *handle, 0);
}

void PlayMusicOnce(Mix_Music* music)
{
    Mix_HaltMusic();
    if (music)
        Mix_PlayMusic(music, 0);
}

void KeepTunePlaying(int* started, Mix_Music* music)
{
    if (!Mix_PlayingMusic())
        *started = 0;
    if (*started == 0) {
        PlayMusicOnce(music);
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
