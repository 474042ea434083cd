#include "shell/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

void PutLE32(unsigned char* out, int value)
{
    uint32_t v = static_cast<uint32_t>(value);
    out[0] = static_cast<unsigned char>(v);
    out[1] = static_cast<unsigned char>(v >> 8);
    out[2] = static_cast<unsigned char>(v >> 16);
    out[3] = static_cast<unsigned char>(v >> 24);
}

int GetLE32(const unsigned char* in)
{
    uint32_t v = uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
    return static_cast<int>(v);
}

// The folder a data file lies in: the part of path before its last slash, or the
// working folder.
static std::string FolderOf(const char* path)
{
    const char* slash = strrchr(path, '/');
    if (!slash)
        return ".";
    if (slash == path)
        return "/";
    return std::string(path, static_cast<size_t>(slash - path));
}

// Flushes the folder's entries, so that a rename in it survives a power cut. A
// folder that cannot be opened for it (some file systems refuse) is left as it is.
static void SyncFolder(const char* path)
{
    int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

void (*FileWriteWatch)(const char* path, const unsigned char* data, size_t size) = nullptr;

int WriteFileAtomic(const char* path, const unsigned char* data, size_t size)
{
    if (FileWriteWatch)
        FileWriteWatch(path, data, size);
    std::string tmp = std::string(path) + ".tmp";
    // Straight to the file, the bytes being in memory already: no stream buffer.
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return 0;
    bool ok = true;
    for (size_t done = 0; ok && done < size;) {  // an empty file is written by opening it
        ssize_t n = write(fd, data + done, size - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            ok = false;
    }
    ok = (fsync(fd) == 0) && ok;  // the new bytes are on the disk before the name points at them
    ok = (close(fd) == 0) && ok;
    if (!ok || rename(tmp.c_str(), path) != 0) {
        remove(tmp.c_str());
        return 0;
    }
    SyncFolder(path);
    return 1;
}

void RemoveStaleTemporary(const char* path)
{
    std::string tmp = std::string(path) + ".tmp";
    remove(tmp.c_str());
}
