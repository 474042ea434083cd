// The game's entry: everything else lives in the library.
#include "app/tovi.h"

int main(int argc, char* argv[])
{
    return SDL_main(argc, argv);
}
