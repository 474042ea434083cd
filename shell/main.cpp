// The game's entry: everything else lives in the library.
#include "shell/tovi.h"

int main(int argc, char* argv[])
{
    return SDL_main(argc, argv);
}
