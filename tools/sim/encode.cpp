// tovi-encode: level boards written as text become the bytes the game loads,
// by the one encoder of the board legend (tools/sim/boardtext.h, the table in
// levels/README.md). The level builder and the level generators encode every
// board through it.
//
//   tovi-encode [--out DIR] < BOARDS
//   tovi-encode --legend
//
// BOARDS holds any number of blocks, each a line "level N" (1..100: the level's
// chapter picks the walls' tiles) and then the board's rows, top row first: at
// most 12 lines of 20 characters, fewer being the bottom of the board. For each
// block it prints "level N " and the 240 bytes in hexadecimal on one line, or
// with --out writes DIR/level<N>.bin. A block that cannot be encoded is named on
// the standard error ("level N: what is wrong") and printed as "level N error",
// the others are still encoded, and the exit status is 1. --legend prints the legend, "CHAR CODE" a line (the
// wall '#' has no code of its own: its tile depends on its neighbours).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "level/board.h"
#include "level/sequences.h"
#include "tools/sim/boardtext.h"

static int Usage(const char* why)
{
    fprintf(stderr, "tovi-encode: %s (usage: tovi-encode [--out DIR] < BOARDS, or tovi-encode --legend)\n", why);
    return 2;
}

static void PrintLegend()
{
    for (int ch = 33; ch < 127; ch++) {
        int code = BoardTextCode(static_cast<char>(ch));
        if (code >= 0)
            printf("%c %d\n", ch, code);
    }
}

// A block's first line "level N": N, 0 for a number outside the levels, -1 for
// a line that is not a block's first.
static int HeaderLevel(const std::string& line)
{
    if (line.rfind("level ", 0) != 0)
        return -1;
    const char* digits = line.c_str() + 6;
    char* end = nullptr;
    errno = 0;
    long n = strtol(digits, &end, 10);
    if (errno != 0 || end == digits || *end != '\0' || n < 1 || n > LAST_LEVEL)
        return 0;
    return static_cast<int>(n);
}

// Encodes one block and prints or writes it; false once the problem is on stderr.
static bool Emit(int level, const std::vector<std::string>& rows, const char* outDir)
{
    std::string error;
    if (outDir) {
        std::string path = std::string(outDir) + "/level" + std::to_string(level) + ".bin";
        if (WriteBoardText(rows, ChapterOf(level), path, &error))
            return true;
    } else {
        unsigned char cells[BOARD_CELLS];
        if (EncodeBoardText(rows, ChapterOf(level), cells, &error)) {
            printf("level %d ", level);
            for (unsigned char cell : cells)
                printf("%02x", cell);
            printf("\n");
            return true;
        }
    }
    if (!outDir)
        printf("level %d error\n", level);  // one line a block, in order, whatever happens
    fprintf(stderr, "level %d: %s\n", level, error.c_str());
    return false;
}

int main(int argc, char* argv[])
{
    const char* outDir = nullptr;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--legend") == 0 && argc == 2) {
            PrintLegend();
            return 0;
        }
        if (strcmp(argv[i], "--out") == 0 && i + 1 < argc && !outDir)
            outDir = argv[++i];
        else
            return Usage(("unexpected argument '" + std::string(argv[i]) + "'").c_str());
    }
    bool ok = true;
    int level = -1;  // the block being read; 0 a block with a bad number, skipped
    int lineNo = 0;
    bool stray = false;
    std::vector<std::string> rows;
    std::string line;
    for (;;) {
        bool more = static_cast<bool>(std::getline(std::cin, line));
        if (more) {
            lineNo++;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
        }
        int next = more ? HeaderLevel(line) : 0;
        if (more && next < 0) {
            if (level > 0)
                rows.push_back(line);
            else if (level < 0 && !stray) {
                stray = true;  // said once for the lines before the first block
                fprintf(stderr, "tovi-encode: line %d: a block starts with 'level N', read '%s'\n", lineNo,
                        line.c_str());
                ok = false;
            }
            continue;
        }
        if (level > 0 && !Emit(level, rows, outDir))
            ok = false;
        if (!more)
            break;
        if (next == 0) {
            fprintf(stderr, "tovi-encode: line %d: '%s' names no level (1 to %d)\n", lineNo, line.c_str(), LAST_LEVEL);
            ok = false;
        }
        level = next;
        rows.clear();
    }
    fflush(stdout);
    return ok && !ferror(stdout) ? 0 : 1;
}
