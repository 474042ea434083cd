#include "progress/best.h"

#include <cstdio>
#include <cstring>

#include "shell/files.h"

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

// Through the atomic write every data file uses: a killed game or a power cut
// leaves the old table or the new one.
int WriteBest(const char* path)
{
    static unsigned char bytes[BEST_HEADER_BYTES + BEST_RECORDS * BEST_RECORD_BYTES];
    if (bestCount < 0 || bestCount > BEST_RECORDS)
        return 0;
    memcpy(bytes, BEST_MAGIC, 4);
    PutLE32(bytes + 4, BEST_FORMAT);
    PutLE32(bytes + 8, bestCount);
    unsigned char* at = bytes + BEST_HEADER_BYTES;
    for (int k = 0; k < bestCount; k++, at += BEST_RECORD_BYTES) {
        const BestRecord& r = bestTable[k];
        memcpy(at, r.name, BEST_NAME_SIZE);
        PutLE32(at + BEST_NAME_SIZE, r.level);
        PutLE32(at + BEST_NAME_SIZE + 4, r.moves);
        PutLE32(at + BEST_NAME_SIZE + 8, r.seconds);
        PutLE32(at + BEST_NAME_SIZE + 12, r.clean);
    }
    return WriteFileAtomic(path, bytes, static_cast<size_t>(at - bytes));
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
