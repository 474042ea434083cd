#include "shell/files.h"

#include <cstdint>
#include <cstdio>
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

int WriteFileAtomic(const char* path, const unsigned char* data, size_t size)
{
    std::string tmp = std::string(path) + ".tmp";
    FILE* f = fopen(tmp.c_str(), "wb");
    if (!f)
        return 0;
    bool ok = size == 0 || fwrite(data, 1, size, f) == size;  // an empty file is written by opening it
    ok = (fflush(f) == 0) && ok;
    ok = (fclose(f) == 0) && ok;
    if (!ok || rename(tmp.c_str(), path) != 0) {
        remove(tmp.c_str());
        return 0;
    }
    return 1;
}
