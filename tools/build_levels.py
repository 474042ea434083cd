#!/usr/bin/python3
"""Builds the game's levels: levels/level<N>.txt -> media/levels/level<N>.bin.

A level source is a "title:" line, the board as 12 lines of 20 characters (the
legend is in levels/README.md) and, after a "solution:" line, the stored
solution as tovi-sim script lines. Walls ('#') become tile codes chosen from the
level's chapter and the four neighbours, so joined walls look continuous.

Every source is checked against what the engine needs (see check()); a source
that breaks a rule stops the build with a message naming the level and cell.

Usage:
    /usr/bin/python3 tools/build_levels.py          # write every .bin
    /usr/bin/python3 tools/build_levels.py --check  # fail if a .bin is missing or out of date
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = os.path.join(ROOT, "levels")
BUILT = os.path.join(ROOT, "media", "levels")
COLS, ROWS = 20, 12
LEVELS = 100

CODES = {".": 0, "B": 121, "H": 122, "V": 123, "M": 124, "T": 125, "O": 126, "P": 127, "G": 128,
         "C": 129, "S": 130}
for i, ch in enumerate("abcdefghijklmnopqrs"):
    CODES[ch] = 101 + i
ELEMENTS = set("abcdefghijklmnopqrs")
MOVABLE = ELEMENTS | {"B"}
SUPPORTS = set("#BHVMTOPGC")   # what holds an element up; spike pits hold nothing


class LevelError(Exception):
    pass


def parse(path):
    with open(path, encoding="utf-8") as f:
        lines = [l.rstrip("\n") for l in f]
    if not lines or not lines[0].startswith("title:"):
        raise LevelError("%s: the first line must be 'title: ...'" % path)
    title = lines[0][len("title:"):].strip()
    board = lines[1:1 + ROWS]
    if len(board) != ROWS or any(len(r) != COLS for r in board):
        raise LevelError("%s: the board must be %d lines of %d characters" % (path, ROWS, COLS))
    rest = lines[1 + ROWS:]
    if not rest or rest[0].strip() != "solution:":
        raise LevelError("%s: a 'solution:' line must follow the board" % path)
    script = [l for l in rest[1:] if l.strip()]
    for l in script:
        if not re.fullmatch(r"[01] \d+ \d+( \d+)?", l.strip()):
            raise LevelError("%s: bad solution line %r" % (path, l))
    return title, board, script


def check(name, board):
    """The rules the engine makes necessary."""
    def at(c, r):
        return board[r][c] if 0 <= c < COLS and 0 <= r < ROWS else "#"
    counts = {}
    for r in range(ROWS):
        for c in range(COLS):
            ch = board[r][c]
            if ch not in CODES and ch != "#":
                raise LevelError("%s: unknown character %r at column %d, row %d" % (name, ch, c, r))
            counts[ch] = counts.get(ch, 0) + 1
            if ch == "O" and at(c, r + 1) == "M":
                raise LevelError("%s: mud right under the exit pad at column %d" % (name, c))
    for single in ("O", "G", "P"):
        if counts.get(single, 0) > 1:
            raise LevelError("%s: at most one %r" % (name, single))
    if counts.get("G", 0) != counts.get("P", 0):
        raise LevelError("%s: a magnet needs its button and a button its magnet" % name)
    if counts.get("T", 0) and not counts.get("O", 0):
        raise LevelError("%s: a teleport needs an exit pad" % name)
    for ch in ELEMENTS:
        if counts.get(ch, 0) == 1:
            raise LevelError("%s: element %r appears only once and can never match" % (name, ch))
    if not any(counts.get(ch, 0) for ch in ELEMENTS):
        raise LevelError("%s: no elements" % name)
    # Nothing may fall or be pushed out of the board: the bottom row and both
    # side columns are solid wherever something could reach them.
    for c in range(COLS):
        if board[ROWS - 1][c] != "#":
            raise LevelError("%s: the bottom row must be wall (column %d)" % (name, c))
    for r in range(ROWS):
        for c in (0, COLS - 1):
            if board[r][c] in MOVABLE:
                raise LevelError("%s: element on the board's edge at column %d, row %d" % (name, c, r))


def tile_code(chapter, board, c, r):
    def wall(cc, rr):
        return not (0 <= cc < COLS and 0 <= rr < ROWS) or board[rr][cc] == "#"
    mask = (1 if wall(c, r - 1) else 0) | (2 if wall(c + 1, r) else 0) | \
           (4 if wall(c, r + 1) else 0) | (8 if wall(c - 1, r) else 0)
    return 16 * (chapter - 1) + 1 + mask


def build(n):
    path = os.path.join(SOURCES, "level%d.txt" % n)
    title, board, script = parse(path)
    check("level%d" % n, board)
    chapter = (n - 1) // 25 + 1
    data = bytearray()
    for r in range(ROWS):
        for c in range(COLS):
            ch = board[r][c]
            data.append(tile_code(chapter, board, c, r) if ch == "#" else CODES[ch])
    return bytes(data)


def main(argv):
    checking = "--check" in argv
    os.makedirs(BUILT, exist_ok=True)
    problems = 0
    boards = {}
    for n in range(1, LEVELS + 1):
        src = os.path.join(SOURCES, "level%d.txt" % n)
        if not os.path.exists(src):
            print("level%d: no source" % n)
            problems += 1
            continue
        try:
            data = build(n)
        except LevelError as e:
            print(e)
            problems += 1
            continue
        # No two boards alike, not even as mirror images.
        rows = parse(src)[1]
        key = "".join(rows)
        mirror = "".join(r[::-1] for r in rows)
        for other, okey in boards.items():
            if okey in (key, mirror):
                print("level%d: the same board as level%d" % (n, other))
                problems += 1
        boards[n] = key
        out = os.path.join(BUILT, "level%d.bin" % n)
        if checking:
            if not os.path.exists(out) or open(out, "rb").read() != data:
                print("level%d: media/levels/level%d.bin is out of date; run tools/build_levels.py" % (n, n))
                problems += 1
        else:
            with open(out + ".tmp", "wb") as f:
                f.write(data)
            os.replace(out + ".tmp", out)
    if problems:
        sys.exit("%d level problem(s)" % problems)


if __name__ == "__main__":
    main(sys.argv)
