#include "tools/sim/boardtext.h"

#include <cstdio>
#include <cstring>

#include "level/board.h"
#include "shell/files.h"

// The specials in code order: 121..130.
static const char SPECIALS[] = "BHVMTOPGCS";

int BoardTextCode(char ch, BoardTextCodes codes)
{
    if (ch == '.')
        return 0;
    if (ch >= 'a' && ch <= 's')
        return EL_FIRST + 1 + (ch - 'a');
    if (codes == BOARD_TEXT_WITH_EDGE_CODES && ch == 'z')
        return EL_FIRST;
    if (codes == BOARD_TEXT_WITH_EDGE_CODES && ch == 't')
        return EL_FIRST + 20;
    const char* s = ch != '\0' ? strchr(SPECIALS, ch) : nullptr;
    return s ? EL_BLOCK + static_cast<int>(s - SPECIALS) : -1;
}

bool EncodeBoardText(const std::vector<std::string>& rows, int chapter, unsigned char cells[BOARD_CELLS],
                     std::string* error, BoardTextCodes codes)
{
    memset(cells, 0, BOARD_CELLS);
    int count = static_cast<int>(rows.size());
    if (count > BOARD_ROWS) {
        *error = "more than " + std::to_string(BOARD_ROWS) + " rows";
        return false;
    }
    for (const std::string& row : rows)
        if (static_cast<int>(row.size()) != BOARD_COLS) {
            *error = "row '" + row + "' is not " + std::to_string(BOARD_COLS) + " characters";
            return false;
        }
    int top = BOARD_ROWS - count;
    auto isWall = [&](int r, int c) {
        return r < 0 || r >= BOARD_ROWS || c < 0 || c >= BOARD_COLS || (r >= top && rows[r - top][c] == '#');
    };
    unsigned char out[BOARD_CELLS] = {};
    for (int r = top; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLS; c++) {
            char ch = rows[r - top][c];
            int v;
            if (ch == '#')
                v = 16 * (chapter - 1) + 1 + (isWall(r - 1, c) ? 1 : 0) + (isWall(r, c + 1) ? 2 : 0) +
                    (isWall(r + 1, c) ? 4 : 0) + (isWall(r, c - 1) ? 8 : 0);
            else
                v = BoardTextCode(ch, codes);
            if (v < 0) {
                char msg[80];
                snprintf(msg, sizeof msg, "unknown board character '%c' at column %d, row %d", ch, c, r);
                *error = msg;
                return false;
            }
            out[r * BOARD_COLS + c] = static_cast<unsigned char>(v);
        }
    memcpy(cells, out, BOARD_CELLS);
    return true;
}

bool WriteBoardText(const std::vector<std::string>& rows, int chapter, const std::string& path, std::string* error,
                    BoardTextCodes codes)
{
    unsigned char cells[BOARD_CELLS];
    if (!EncodeBoardText(rows, chapter, cells, error, codes))
        return false;
    if (WriteFileAtomic(path.c_str(), cells, sizeof cells))
        return true;
    *error = "cannot write " + path;
    return false;
}
