// SPDX-License-Identifier: GPL-3.0-or-later
// The game's entry: everything else lives in the library.
#include <cstdlib>

#include "app/tovi.h"

int main(int argc, char* argv[])
{
    // The window's class is the application id that names the desktop entry, the
    // metainfo and the icons, so the desktop matches the window to its menu entry
    // (SDL reads these before it opens the window). A class the player set is kept.
    setenv("SDL_VIDEO_X11_WMCLASS", TOVI_APP_ID, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", TOVI_APP_ID, 0);
    return SDL_main(argc, argv);
}
