#include "level/info.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int levelPar[INFO_LEVELS];
char levelCaption[INFO_LEVELS][CAPTION_SIZE];
int levelInfoRead = 0;

// Reads "<level> <par> <caption>" from one line; false when any part is out of shape.
static bool ReadLine(const char* line, int* level, int* par, const char** caption)
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
    *par = static_cast<int>(q);
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
        int level = 0, par = 0;
        const char* caption = nullptr;
        if (line[0] == '#' || !ReadLine(line, &level, &par, &caption))
            continue;
        levelPar[level] = par;
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
