#include "tests/fuzz/fuzz_common.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tools/sim/simcore.h"

void FuzzSetUp()
{
    SimEnterScratch("fuzz");
    mkdir("media", 0755);
    if (symlink(TOVI_SOURCE_DIR "/media/levels", "media/levels") != 0) {
        perror("tovi-fuzz: media/levels");
        exit(1);
    }
    if (!SimOpen()) {
        fprintf(stderr, "tovi-fuzz: SDL would not start on the dummy drivers\n");
        exit(1);
    }
}

void FuzzWriteFile(const char* path, const std::vector<uint8_t>& bytes)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        FuzzFail("cannot write a scratch file");
    if (!bytes.empty() && fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        FuzzFail("cannot write a scratch file");
    fclose(f);
}

std::vector<uint8_t> FuzzReadFile(const char* path, bool* exists)
{
    std::vector<uint8_t> out;
    FILE* f = fopen(path, "rb");
    if (exists)
        *exists = f != nullptr;
    if (!f)
        return out;
    uint8_t block[4096];
    size_t got;
    while ((got = fread(block, 1, sizeof block, f)) > 0)
        out.insert(out.end(), block, block + got);
    fclose(f);
    return out;
}

void FuzzFail(const char* what)
{
    fprintf(stderr, "tovi-fuzz: check failed: %s\n", what);
    abort();
}
