// Shared test helpers: a headless game state, scratch directories and files.
#ifndef TOVI_TESTS_HARNESS_H
#define TOVI_TESTS_HARNESS_H

#include <SDL.h>

#include <string>
#include <vector>

// Opens SDL on the dummy drivers with an 800 x 600 surface in `screen`, on the
// virtual clock. Safe to call from every test.
void HarnessOpen();

// A fresh empty directory under the system's temporary directory.
std::string ScratchDir();

// Makes the process work in a fresh scratch directory for the rest of the test
// and returns to the source tree when it ends (so relative media paths work
// again), removing the directory with everything in it. Use it for tests that write the game's data files.
// With linkMedia the source tree's media/ is linked in, so the game's art and sounds load there.
class InScratchDir {
public:
    explicit InScratchDir(bool linkMedia = false);
    ~InScratchDir();
    const std::string& path() const { return dir; }

private:
    std::string dir;
    std::string old;
};

// A file's bytes as they are (WriteBytes throws when it cannot write them), read
// and written through the system's calls: no stdio buffer, which under the
// sanitizer would be a fresh allocation on every run of a fuzz harness.
// *exists tells a missing file (read as empty) from an empty one.
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path, bool* exists = nullptr);

// Runs a shell command, returns its exit status; its standard output and error
// go to *out and *err when given.
int RunCommand(const std::string& command, std::string* out = nullptr, std::string* err = nullptr);

// Pixels of 32-bit surfaces (each locked while read).
Uint32 PixelAt(SDL_Surface* s, int x, int y);
std::vector<Uint32> SurfacePixels(SDL_Surface* s);  // row by row, without the pitch's padding
// Pixels of the rectangle [x0, x1) x [y0, y1) in which a and b differ in the bits of keep;
// -1 when either is missing or smaller than the rectangle.
int PixelsDiffering(SDL_Surface* a, SDL_Surface* b, int x0, int y0, int x1, int y1, Uint32 keep = 0xffffffff);
// The same over the whole of two surfaces of one size (-1 when the sizes differ).
int PixelsDiffering(SDL_Surface* a, SDL_Surface* b, Uint32 keep = 0xffffffff);
// A w x h software surface in the screen's format (no alpha), and one filled with a colour of that format.
SDL_Surface* ScreenLikeSurface(int w, int h);
SDL_Surface* SolidSurface(int w, int h, Uint32 colour);
// A w x h surface in the screen's format whose pixels are noise from seed (the
// same seed, the same picture); it needs no screen.
SDL_Surface* NoiseSurface(int w, int h, Uint32 seed);
// Frees what the slot holds (a game's picture variable) and puts s there.
void Replace(SDL_Surface*& slot, SDL_Surface* s);

// Throws away every event waiting in SDL's queue.
void DrainEvents();

#endif
