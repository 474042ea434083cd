#include "tests/fuzz/fuzz_common.h"

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

void FuzzFail(const char* what)
{
    fprintf(stderr, "tovi-fuzz: check failed: %s\n", what);
    abort();
}
