#include "tests/fuzz/fuzz_common.h"

#include <fcntl.h>
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

// Both through the system's calls, without stdio's buffer: a run writes and
// reads several files, and each buffer would be a fresh allocation that the
// sanitizer fills and keeps in quarantine.
void FuzzWriteFile(const char* path, const std::vector<uint8_t>& bytes)
{
    FuzzWriteFile(path, bytes.data(), bytes.size());
}

void FuzzWriteFile(const char* path, const uint8_t* bytes, size_t size)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        FuzzFail("cannot write a scratch file");
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, bytes + done, size - done);
        if (n <= 0)
            FuzzFail("cannot write a scratch file");
        done += static_cast<size_t>(n);
    }
    close(fd);
}

std::vector<uint8_t> FuzzReadFile(const char* path, bool* exists)
{
    std::vector<uint8_t> out;
    int fd = open(path, O_RDONLY);
    if (exists)
        *exists = fd >= 0;
    if (fd < 0)
        return out;
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_size > 0)
        out.reserve(static_cast<size_t>(st.st_size));
    uint8_t block[4096];
    ssize_t n;
    while ((n = read(fd, block, sizeof block)) > 0)
        out.insert(out.end(), block, block + n);
    close(fd);
    return out;
}

void FuzzFail(const char* what)
{
    fprintf(stderr, "tovi-fuzz: check failed: %s\n", what);
    abort();
}
