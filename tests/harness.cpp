#include "tests/harness.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "shell/screen.h"
#include "tools/sim/simcore.h"

void HarnessOpen()
{
    if (!SimOpen())
        throw std::runtime_error("SDL would not start on the dummy drivers");
}

std::string ScratchDir()
{
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/tovi-test-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("cannot make a scratch directory");
    return std::string(buf.data());
}

InScratchDir::InScratchDir(bool linkMedia) : dir(ScratchDir())
{
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd) || chdir(dir.c_str()) != 0)
        throw std::runtime_error("cannot enter the scratch directory");
    old = cwd;
    if (linkMedia && symlink((old + "/media").c_str(), "media") != 0)
        throw std::runtime_error("cannot link the media into the scratch directory");
}

static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

InScratchDir::~InScratchDir()
{
    if (chdir(old.c_str()) != 0)
        perror("chdir");
    // Links inside are removed, never followed.
    nftw(dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    size_t done = 0;
    for (ssize_t n; fd >= 0 && done < bytes.size() && (n = write(fd, bytes.data() + done, bytes.size() - done)) > 0;)
        done += static_cast<size_t>(n);
    if (fd < 0 || close(fd) != 0 || done < bytes.size())
        throw std::runtime_error("cannot write " + path);
}

std::vector<unsigned char> ReadBytes(const std::string& path, bool* exists)
{
    std::vector<unsigned char> out;
    int fd = open(path.c_str(), O_RDONLY);
    if (exists)
        *exists = fd >= 0;
    unsigned char block[4096];
    for (ssize_t n; fd >= 0 && (n = read(fd, block, sizeof block)) > 0;)
        out.insert(out.end(), block, block + n);
    if (fd >= 0)
        close(fd);
    return out;
}

int RunCommand(const std::string& command, std::string* out, std::string* err)
{
    std::string dir = ScratchDir();
    std::string o = dir + "/out", e = dir + "/err";
    std::string full = "(" + command + ") >'" + o + "' 2>'" + e + "' </dev/null";
    int status = system(full.c_str());
    std::vector<unsigned char> ob = ReadBytes(o), eb = ReadBytes(e);
    if (out)
        *out = std::string(ob.begin(), ob.end());
    if (err)
        *err = std::string(eb.begin(), eb.end());
    remove(o.c_str());
    remove(e.c_str());
    rmdir(dir.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Uint32 PixelAt(SDL_Surface* s, int x, int y)
{
    SDL_LockSurface(s);
    Uint32 p = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
    SDL_UnlockSurface(s);
    return p;
}

std::vector<Uint32> SurfacePixels(SDL_Surface* s)
{
    std::vector<Uint32> p;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        p.insert(p.end(), row, row + s->w);
    }
    SDL_UnlockSurface(s);
    return p;
}

int PixelsDiffering(SDL_Surface* a, SDL_Surface* b, int x0, int y0, int x1, int y1, Uint32 keep)
{
    if (!a || !b || a->format->BytesPerPixel != 4 || b->format->BytesPerPixel != 4 || x0 < 0 || y0 < 0 || x1 > a->w ||
        x1 > b->w || y1 > a->h || y1 > b->h)
        return -1;
    SDL_LockSurface(a);
    SDL_LockSurface(b);
    int differing = 0;
    for (int y = y0; y < y1; y++) {
        const Uint32* ra = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(a->pixels) + y * a->pitch);
        const Uint32* rb = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(b->pixels) + y * b->pitch);
        for (int x = x0; x < x1; x++)
            differing += (ra[x] & keep) != (rb[x] & keep);
    }
    SDL_UnlockSurface(b);
    SDL_UnlockSurface(a);
    return differing;
}

int PixelsDiffering(SDL_Surface* a, SDL_Surface* b, Uint32 keep)
{
    if (!a || !b || a->w != b->w || a->h != b->h)
        return -1;
    return PixelsDiffering(a, b, 0, 0, a->w, a->h, keep);
}

SDL_Surface* ScreenLikeSurface(int w, int h)
{
    const SDL_PixelFormat* f = screen->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
}

SDL_Surface* SolidSurface(int w, int h, Uint32 colour)
{
    SDL_Surface* s = ScreenLikeSurface(w, h);
    SDL_FillRect(s, nullptr, colour);
    return s;
}

SDL_Surface* NoiseSurface(int w, int h, Uint32 seed)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_LockSurface(s);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1664525u + 1013904223u;
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] = seed >> 8;
        }
    SDL_UnlockSurface(s);
    return s;
}

void Replace(SDL_Surface*& slot, SDL_Surface* s)
{
    SDL_FreeSurface(slot);
    slot = s;
}

void DrainEvents()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}
