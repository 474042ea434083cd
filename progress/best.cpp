#include "progress/best.h"

#include <cstdio>
#include <cstring>

BestRecord bestTable[BEST_RECORDS];
int bestCount = 0;

static const unsigned char BEST_MAGIC[4] = {'T', 'M', 'L', 'B'};
constexpr int BEST_FORMAT = 1;
constexpr int BEST_HEADER_BYTES = 12;
constexpr int BEST_RECORD_BYTES = BEST_NAME_SIZE + 4 * 4;
constexpr int BEST_FIELD_MAX = 1000000000;  // moves and seconds beyond this are damage

static bool ReadInt(FILE* f, int* v)
{
    unsigned char b[4];
    if (fread(b, 1, 4, f) != 4)
        return false;
    *v = static_cast<int>(static_cast<unsigned>(b[0]) | static_cast<unsigned>(b[1]) << 8 |
                          static_cast<unsigned>(b[2]) << 16 | static_cast<unsigned>(b[3]) << 24);
    return true;
}

static bool WriteInt(FILE* f, int v)
{
    unsigned u = static_cast<unsigned>(v);
    unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                          static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    return fwrite(b, 1, 4, f) == 4;
}

static bool ReadRecord(FILE* f, BestRecord* r)
{
    if (fread(r->name, 1, BEST_NAME_SIZE, f) != static_cast<size_t>(BEST_NAME_SIZE))
        return false;
    if (memchr(r->name, '\0', BEST_NAME_SIZE) == nullptr || r->name[0] == '\0')
        return false;
    if (!ReadInt(f, &r->level) || !ReadInt(f, &r->moves) || !ReadInt(f, &r->seconds) || !ReadInt(f, &r->clean))
        return false;
    return r->level >= 1 && r->level <= BEST_LEVEL_MAX && r->moves >= 0 && r->moves <= BEST_FIELD_MAX &&
           r->seconds >= 0 && r->seconds <= BEST_FIELD_MAX && (r->clean == 0 || r->clean == 1);
}

static int ReadAll(FILE* f)
{
    unsigned char magic[4];
    int format = 0, count = 0;
    if (fread(magic, 1, 4, f) != 4 || memcmp(magic, BEST_MAGIC, 4) != 0 || !ReadInt(f, &format) ||
        format != BEST_FORMAT || !ReadInt(f, &count) || count < 0 || count > BEST_RECORDS)
        return 0;
    for (int k = 0; k < count; k++)
        if (!ReadRecord(f, &bestTable[k]))
            return 0;
    if (fgetc(f) != EOF)
        return 0;  // longer than its count says
    bestCount = count;
    return 1;
}

int ReadBest(const char* path)
{
    bestCount = 0;
    FILE* f = fopen(path, "rb");
    if (!f)
        return 0;
    int ok = ReadAll(f);
    fclose(f);
    if (!ok)
        bestCount = 0;
    return ok;
}

int WriteBest(const char* path)
{
    char tmp[512];
    if (snprintf(tmp, sizeof tmp, "%s.tmp", path) >= static_cast<int>(sizeof tmp))
        return 0;
    FILE* f = fopen(tmp, "wb");
    if (!f)
        return 0;
    bool ok = fwrite(BEST_MAGIC, 1, 4, f) == 4 && WriteInt(f, BEST_FORMAT) && WriteInt(f, bestCount);
    for (int k = 0; k < bestCount && ok; k++) {
        const BestRecord& r = bestTable[k];
        ok = fwrite(r.name, 1, BEST_NAME_SIZE, f) == static_cast<size_t>(BEST_NAME_SIZE) && WriteInt(f, r.level) &&
             WriteInt(f, r.moves) && WriteInt(f, r.seconds) && WriteInt(f, r.clean);
    }
    ok = fflush(f) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(tmp, path) != 0) {
        remove(tmp);
        return 0;
    }
    return 1;
}

static BestRecord* Find(const char* name, int level)
{
    for (int k = 0; k < bestCount; k++)
        if (bestTable[k].level == level && strncmp(bestTable[k].name, name, BEST_NAME_SIZE) == 0)
            return &bestTable[k];
    return nullptr;
}

const BestRecord* FindBest(const char* name, int level)
{
    return Find(name, level);
}

int RecordBest(const char* path, const char* name, int level, int moves, int seconds, int hints, BestRecord* before)
{
    memset(before, 0, sizeof *before);
    if (name[0] == '\0' || level < 1 || level > BEST_LEVEL_MAX || moves < 0 || seconds < 0)
        return 0;
    ReadBest(path);
    BestRecord* r = Find(name, level);
    if (r) {
        *before = *r;
    } else {
        if (bestCount >= BEST_RECORDS)
            return 0;
        r = &bestTable[bestCount++];
        memset(r, 0, sizeof *r);
        snprintf(r->name, sizeof r->name, "%s", name);
        r->level = level;
        r->moves = moves;
        r->seconds = seconds;
    }
    if (moves < r->moves)
        r->moves = moves;
    if (seconds < r->seconds)
        r->seconds = seconds;
    if (hints == 0)
        r->clean = 1;
    return WriteBest(path);
}
