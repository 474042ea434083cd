#include "shell/settings.h"

#include <cstdint>
#include <cstring>
#include <string>

int pod[POD_WORDS];
int ukupod = 0;
FILE* confile = nullptr;
int slidm = 0;
int slidf = 0;
int fulls = 0;

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

int WriteSettings()
{
    unsigned char bytes[POD_WORDS * 4];
    for (int i = 0; i < POD_WORDS; i++)
        PutLE32(bytes + 4 * i, pod[i]);
    return WriteFileAtomic(CONFIG_FILE, bytes, sizeof bytes);
}

void ReadSettings()
{
    // pod[0] is left as it is: it starts at 0 and only the file may change it.
    for (int i = 1; i < POD_WORDS; i++)
        pod[i] = 0;
    ukupod = 0;
    confile = fopen(CONFIG_FILE, "rb");
    if (confile) {
        unsigned char word[4];
        while (ukupod < POD_WORDS && fread(word, 1, 4, confile) == 4)
            pod[ukupod++] = GetLE32(word);
        fclose(confile);
        confile = nullptr;
    }
    // Defaults only when the file cannot hold a music volume at all: a stored 0
    // is a player who muted the music, and stays so. A partial last word is
    // dropped by the whole-word read above and so reads as 0.
    if (ukupod < 2) {
        pod[1] = 50;
        pod[2] = 50;
        pod[3] = 1;
        pod[4] = 1;
        ukupod = 4;
        WriteSettings();
    }
    // Values are used as read: the mixer caps or ignores odd volumes itself.
    slidm = pod[1];
    slidf = pod[2];
    fulls = pod[3];
}
