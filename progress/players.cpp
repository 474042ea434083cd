#include "progress/players.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/files.h"
#include "text/text.h"

PlayerRecord pin[PLAYER_SLOTS];
int ukupl = 0;
char PlayerName[PLAYER_NAME_SIZE];
thread_local int proshli = 0;
thread_local int PlayerScore = 0;
thread_local int izmp = 0;
int plsel = 0;

// ---- scores ------------------------------------------------------------------

int ClampScore(int score)
{
    return score < 0 ? 0 : score > SCORE_MAX ? SCORE_MAX : score;
}

int AddScore(int score, int points)
{
    long long sum = static_cast<long long>(ClampScore(score)) + points;
    return sum < 0 ? 0 : sum > SCORE_MAX ? SCORE_MAX : static_cast<int>(sum);
}

// ---- records -----------------------------------------------------------------

void SetRecordName(PlayerRecord* record, const char* name)
{
    memset(record->name, 0, NAME_SIZE);
    size_t n = strnlen(name, NAME_MAX);
    memcpy(record->name, name, n);
}

int ReadRecords(const char* path, PlayerRecord* table, int capacity)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return 0;
    char buffer[4096];
    setvbuf(f, buffer, _IOFBF, sizeof buffer);  // the stream's buffer on the stack, not a fresh allocation
    int n = 0;
    unsigned char b[RECORD_SIZE];
    while (n < capacity && fread(b, 1, RECORD_SIZE, f) == RECORD_SIZE) {
        PlayerRecord& r = table[n++];
        memset(r.name, 0, NAME_SIZE);
        memcpy(r.name, b, NAME_MAX);  // the 16th byte is the terminator, whatever the file holds
        r.level = GetLE32(b + NAME_SIZE);
        r.score = ClampScore(GetLE32(b + NAME_SIZE + 4));  // a damaged score never wraps in play
    }
    fclose(f);
    return n;
}

int WriteRecords(const char* path, const PlayerRecord* table, int count)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(count > 0 ? count : 0) * RECORD_SIZE, 0);
    for (int i = 0; i < count; i++) {
        unsigned char* b = bytes.data() + static_cast<size_t>(i) * RECORD_SIZE;
        memcpy(b, table[i].name, strnlen(table[i].name, NAME_MAX));
        PutLE32(b + NAME_SIZE, table[i].level);
        PutLE32(b + NAME_SIZE + 4, table[i].score);
    }
    return WriteFileAtomic(path, bytes.data(), bytes.size());
}

// ---- the table ---------------------------------------------------------------

void DropEmptyTail()
{
    while (ukupl > 0 && pin[ukupl].name[0] == 0) {
        pin[ukupl] = PlayerRecord{};
        ukupl--;
    }
}

void ReadPlayers()
{
    memset(pin, 0, sizeof pin);
    int n = ReadRecords(PLAYER_FILE, pin, PLAYER_SLOTS);
    // The count is the index of the last record read; record 0 is never a player.
    ukupl = n > 0 ? n - 1 : 0;
    pin[0] = PlayerRecord{};
    DropEmptyTail();
}

void SavePlayers()
{
    pin[0] = PlayerRecord{};
    WriteRecords(PLAYER_FILE, pin, ukupl != 0 ? ukupl + 1 : 0);
}

int FindPlayer(const char* name)
{
    if (!name[0])
        return 0;
    for (int i = 1; i <= ukupl; i++)
        if (strncmp(pin[i].name, name, NAME_SIZE) == 0)
            return i;
    return 0;
}

void ShownName(const char* name, char* out, int size)
{
    if (size <= 0)
        return;
    int n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; p++) {
        if (n + 1 >= size || n >= NAME_MAX)
            break;
        if (!HasGlyph(*p) || (*p == ' ' && n == 0))
            continue;
        out[n++] = static_cast<char>(*p);
    }
    while (n > 0 && out[n - 1] == ' ')
        n--;
    out[n] = 0;
}

int FindSameName(const char* name, int except)
{
    char want[NAME_SIZE];
    ShownName(name, want, sizeof want);
    if (!want[0])
        return 0;
    for (int i = 1; i <= ukupl; i++) {
        char have[NAME_SIZE];
        ShownName(pin[i].name, have, sizeof have);
        if (i != except && strcmp(have, want) == 0)
            return i;
    }
    return 0;
}

void SetCurrentPlayer(int index)
{
    if (index < 0 || index > ukupl)
        index = 0;
    const PlayerRecord& r = pin[index];
    snprintf(PlayerName, sizeof PlayerName, "%.*s", NAME_MAX, r.name);
    proshli = r.level;
    PlayerScore = r.score;
}
