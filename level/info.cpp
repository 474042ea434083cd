#include "level/info.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int levelPar[INFO_LEVELS];
char levelCaption[INFO_LEVELS][CAPTION_SIZE];
int levelInfoRead = 0;

// Reads "<level> <par> <caption>" from one line; false when any part is out of shape.
static bool ReadLine(const char* line, int* level, int* parOut, const char** caption)
{
    char* end = nullptr;
    long n = strtol(line, &end, 10);
    if (end == line || *end != ' ' || n < 1 || n >= INFO_LEVELS)
        return false;
    const char* p = end + 1;
    long q = strtol(p, &end, 10);
    if (end == p || (*end != ' ' && *end != '\0') || q < 0 || q > 99)
        return false;
    const char* c = *end == ' ' ? end + 1 : end;
    size_t len = strlen(c);
    if (len >= CAPTION_SIZE)
        return false;
    for (size_t k = 0; k < len; k++)
        if (static_cast<unsigned char>(c[k]) < 32 || static_cast<unsigned char>(c[k]) > 126)
            return false;
    *level = static_cast<int>(n);
    *parOut = static_cast<int>(q);
    *caption = c;
    return true;
}

int LevelInfoLoad(const char* path)
{
    memset(levelPar, 0, sizeof levelPar);
    memset(levelCaption, 0, sizeof levelCaption);
    levelInfoRead = 1;
    FILE* f = fopen(path, "rb");
    if (!f)
        return 0;
    int good = 0;
    char line[256];
    while (fgets(line, sizeof line, f)) {
        size_t len = strlen(line);
        // A line too long for the buffer is skipped whole.
        if (len == sizeof line - 1 && line[len - 1] != '\n') {
            int ch;
            while ((ch = fgetc(f)) != EOF && ch != '\n') {
            }
            continue;
        }
        while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r'))
            line[--len] = '\0';
        int level = 0, drags = 0;
        const char* caption = nullptr;
        if (line[0] == '#' || !ReadLine(line, &level, &drags, &caption))
            continue;
        levelPar[level] = drags;
        snprintf(levelCaption[level], CAPTION_SIZE, "%s", caption);
        good++;
    }
    fclose(f);
    return good;
}

static void ReadOnce()
{
    if (!levelInfoRead)
        LevelInfoLoad("media/levels/info.txt");
}

int LevelPar(int level)
{
    ReadOnce();
    return level >= 1 && level < INFO_LEVELS ? levelPar[level] : 0;
}

const char* LevelCaption(int level)
{
    ReadOnce();
    return level >= 1 && level < INFO_LEVELS ? levelCaption[level] : "";
}

int KnownWinLoad(const char* path, std::vector<SolveStep>* script)
{
    script->clear();
    FILE* f = fopen(path, "rb");
    if (!f)
        return 0;
    char line[64];
    long frames = 0;
    bool good = true;
    while (good && fgets(line, sizeof line, f)) {
        long b = -1, x = -1, y = -1, k = -1;
        char extra = 0;
        size_t len = strlen(line);
        good = (len < sizeof line - 1 || line[len - 1] == '\n') &&
               sscanf(line, "%ld %ld %ld %ld %c", &b, &x, &y, &k, &extra) == 4 && (b == 0 || b == 1) && x >= 0 &&
               x < 800 && y >= 0 && y < 600 && k >= 1 && k <= KNOWN_WIN_FRAMES &&
               static_cast<int>(script->size()) < KNOWN_WIN_LINES && (frames += k) <= KNOWN_WIN_FRAMES;
        if (good)
            script->push_back({static_cast<int>(b), static_cast<int>(x), static_cast<int>(y), static_cast<int>(k)});
    }
    fclose(f);
    if (!good)
        script->clear();
    return static_cast<int>(script->size());
}

int LevelKnownWin(int level, std::vector<SolveStep>* script)
{
    script->clear();
    if (level < 1 || level >= INFO_LEVELS)
        return 0;
    char path[64];
    snprintf(path, sizeof path, "media/levels/level%d.win", level);
    return KnownWinLoad(path, script);
}
