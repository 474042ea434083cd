// Board text to level bytes: the one encoder of the board legend in
// levels/README.md, used by the tools that draw boards as text and by the tests.
//   '.' empty  '#' wall  'a'..'s' treasures 101..119  'B' block  'H' 'V' platforms
//   'M' mud  'T' teleport  'O' exit pad  'P' magnet button  'G' magnet
//   'C' crumbling block  'S' spike pit
// A wall becomes the tile of its chapter's family that joins its neighbours:
// 16 (chapter - 1) + 1 + mask, mask 1 wall above, 2 right, 4 below, 8 left (the
// board's edge counts as wall).
#ifndef TOVI_TOOLS_SIM_BOARDTEXT_H
#define TOVI_TOOLS_SIM_BOARDTEXT_H

#include <string>
#include <vector>

#include "level/board.h"

// Where the engine's edges are tested, two codes outside the legend: 'z' the
// element 100 (drawn as nothing) and 't' the element 120 (never matches).
enum BoardTextCodes { BOARD_TEXT_LEGEND, BOARD_TEXT_WITH_EDGE_CODES };

// The code of a board character other than the wall, or -1 for one outside
// the legend.
int BoardTextCode(char ch, BoardTextCodes codes = BOARD_TEXT_LEGEND);

// Up to BOARD_ROWS rows of BOARD_COLS characters; fewer rows are the bottom of
// the board and the rows above are empty. Returns false, with a message in
// *error, for a row of the wrong length, too many rows or a character outside
// the legend; cells is then left empty.
bool EncodeBoardText(const std::vector<std::string>& rows, int chapter, unsigned char cells[BOARD_CELLS],
                     std::string* error, BoardTextCodes codes = BOARD_TEXT_LEGEND);

// The same, written to path as a level file (atomically: a file of that name is
// either the old one or the new one). Returns false with *error set when
// the text is bad or the file cannot be written.
bool WriteBoardText(const std::vector<std::string>& rows, int chapter, const std::string& path, std::string* error,
                    BoardTextCodes codes = BOARD_TEXT_LEGEND);

#endif
