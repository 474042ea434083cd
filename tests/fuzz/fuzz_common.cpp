#include "tests/fuzz/fuzz_common.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

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
    std::ifstream f(path, std::ios::binary);
    if (exists)
        *exists = f.is_open();
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void FuzzFail(const char* what)
{
    fprintf(stderr, "tovi-fuzz: check failed: %s\n", what);
    abort();
}
