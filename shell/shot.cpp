#include "shell/shot.h"

#include <png.h>

#include <cstdio>
#include <vector>

int SaveSurfacePng(SDL_Surface* surface, const char* path)
{
    if (!surface)
        return 0;
    // Convert to plain 24-bit RGB first, whatever the surface's own format.
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 24,
                                            SDL_BYTEORDER == SDL_LIL_ENDIAN ? 0x0000FF : 0xFF0000, 0x00FF00,
                                            SDL_BYTEORDER == SDL_LIL_ENDIAN ? 0xFF0000 : 0x0000FF, 0);
    if (!rgb)
        return 0;
    Uint32 flags = surface->flags & (SDL_SRCALPHA | SDL_RLEACCEL);
    Uint8 alpha = surface->format->alpha;
    SDL_SetAlpha(surface, 0, 255);
    SDL_BlitSurface(surface, nullptr, rgb, nullptr);
    SDL_SetAlpha(surface, flags, alpha);

    FILE* f = fopen(path, "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    int ok = 0;
    if (f && png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_set_IHDR(png, info, rgb->w, rgb->h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        SDL_LockSurface(rgb);
        for (int y = 0; y < rgb->h; y++)
            png_write_row(png, static_cast<png_bytep>(rgb->pixels) + y * rgb->pitch);
        SDL_UnlockSurface(rgb);
        png_write_end(png, nullptr);
        ok = 1;
    }
    if (png)
        png_destroy_write_struct(&png, info ? &info : nullptr);
    if (f)
        fclose(f);
    SDL_FreeSurface(rgb);
    return ok;
}
