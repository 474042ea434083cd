#!/usr/bin/python3
"""Builds the game's levels: levels/level<N>.txt -> media/levels/level<N>.bin.

A level source is a "title:" line, optionally a "caption:" line (a teaching
level's one line shown on the board until the first move) and a "par:" line
(the fewest drags that win it), the board as 12 lines of 20 characters (the
legend is in levels/README.md) and, after a "solution:" line, the stored
solution as tovi-sim script lines. The boards are encoded by tovi-encode, built
with the game, in one run for all levels: walls ('#') become tile codes chosen
from the level's chapter and the four neighbours, so joined walls look
continuous, and a character outside the legend stops the build.
The captions and pars of all levels go into one file the game reads,
media/levels/info.txt ("<level> <par> <caption>" a line), and each level's
stored solution into media/levels/level<N>.win ("B X Y K" a line), where the
hint finds a known win to try before it searches.

Every source is checked against what the engine needs (see check()); a source
that breaks a rule stops the build with a message naming the level and cell.
The legend tovi-encode uses must be the one in levels/README.md.

Usage (after building the game; the encoder is build/tovi-encode unless named):
    /usr/bin/python3 tools/gen/build_levels.py [--encoder PATH]          # write every .bin
    /usr/bin/python3 tools/gen/build_levels.py --check [--encoder PATH]  # fail if a .bin is missing or out of date
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from levelkit import ELEMENTS, EncoderError, encode_boards, encoder_legend, find_encoder, read_legend  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCES = os.path.join(ROOT, "levels")
BUILT = os.path.join(ROOT, "media", "levels")
COLS, ROWS = 20, 12
LEVELS = 100
INFO = os.path.join(BUILT, "info.txt")
CAPTION_MAX = 71   # characters the game keeps of a caption
REQUIRED = 100   # levels that must exist
ENCODER = os.path.join(ROOT, "build", "tovi-encode")

MOVABLE = ELEMENTS | {"B"}
MECHANICS = "BHVMTOCSGP"     # block, platforms, mud, teleport, crumbling block, spikes, magnet
SUPPORTS = set("#BHVMTOPGC")   # what holds an element up; spike pits hold nothing


class LevelError(Exception):
    pass


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        lines = [l.rstrip("\n") for l in f]
    if not lines or not lines[0].startswith("title:"):
        raise LevelError("%s: the first line must be 'title: ...'" % path)
    return lines


def mechanics(rows):
    """The mechanics' characters a board has."""
    return set("".join(rows)) & set(MECHANICS)


def taught_at(levels):
    """{mechanic's character: the first level that teaches it}, from (level, board,
    caption) of levels: a level with a caption teaches the mechanics it has."""
    taught = {}
    for n, rows, caption in sorted(levels):
        if caption:
            for ch in mechanics(rows):
                taught.setdefault(ch, n)
    return taught


def taught_in_sources(root=ROOT):
    """taught_at over the level sources under ROOT/levels."""
    paths = [os.path.join(root, "levels", "level%d.txt" % n) for n in range(1, LEVELS + 1)]
    return taught_at([(n, parse(p)[1], notes(p)[0]) for n, p in enumerate(paths, 1) if os.path.exists(p)])


def notes(path):
    """The level's caption ("" none) and par (0 unknown), from the lines after its title."""
    lines = read_lines(path)
    caption, par = "", 0
    for l in lines[1:3]:
        if l.startswith("caption:"):
            caption = l[len("caption:"):].strip()
            if len(caption) > CAPTION_MAX or any(not 32 <= ord(ch) <= 126 for ch in caption):
                raise LevelError("%s: a caption is at most %d plain characters" % (path, CAPTION_MAX))
        elif l.startswith("par:"):
            if not re.fullmatch(r"\d{1,2}", l[len("par:"):].strip()):
                raise LevelError("%s: bad par line %r" % (path, l))
            par = int(l[len("par:"):])
    return caption, par


def parse(path):
    lines = read_lines(path)
    title = lines[0][len("title:"):].strip()
    top = 1
    while top < len(lines) and top < 3 and lines[top].startswith(("caption:", "par:")):
        top += 1
    lines = lines[top - 1:]
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
    """The rules the engine makes necessary. The characters themselves are the
    encoder's to check: a board it refused is not checked here."""
    def at(c, r):
        return board[r][c] if 0 <= c < COLS and 0 <= r < ROWS else "#"
    counts = {}
    for r in range(ROWS):
        for c in range(COLS):
            ch = board[r][c]
            counts[ch] = counts.get(ch, 0) + 1
            if ch == "O" and at(c, r + 1) == "M":
                raise LevelError("%s: mud right under the exit pad at column %d" % (name, c))
            # Equal elements match only after a move, so two that touch at the
            # start would stand side by side as if the game had missed them.
            if ch in ELEMENTS and ch in (at(c + 1, r), at(c, r + 1)):
                raise LevelError("%s: two %r touch at the start at column %d, row %d" % (name, ch, c, r))
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
    # Nothing may fall out of the bottom: the bottom row is floor from side to side.
    for c in range(COLS):
        if board[ROWS - 1][c] != "#":
            raise LevelError("%s: the bottom row must be wall (column %d)" % (name, c))
    reach = {}
    for r in range(ROWS):
        for c in range(COLS):
            if board[r][c] in MOVABLE:
                reach[(c, r)] = reachable(name, board, c, r)
    # Every element must be able to meet a partner: the places one of its kind can
    # get to touch the places it can get to.
    for (c, r), cells in reach.items():
        ch = board[r][c]
        if ch not in ELEMENTS:
            continue
        ok = False
        for (c2, r2), other in reach.items():
            if (c2, r2) == (c, r) or board[r2][c2] != ch:
                continue
            if any((x + dx, y + dy) in other for (x, y) in cells for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1))):
                ok = True
                break
        if not ok:
            raise LevelError("%s: element %r at column %d, row %d can never reach a partner" % (name, ch, c, r))


# What an element can pass through: empty cells, teleport entrances, spike pits
# and the other movable things (which may be moved away).
PASSABLE = set(".TS") | MOVABLE
# What it can be pushed into sideways.
ENTERABLE = PASSABLE


def reachable(name, board, c0, r0):
    """Every cell an element starting at (c0, r0) could ever occupy, counting
    slides, falls, teleports, the magnet's lift and crumbling blocks giving way,
    as if the other movable things were not there. A way off the board is an error."""
    def at(c, r):
        return board[r][c]
    pads = [(c, r) for r in range(ROWS) for c in range(COLS) if board[r][c] == "O"]
    rides = platform_rides(board)
    magnets = [(c, r) for r in range(ROWS) for c in range(COLS) if board[r][c] == "G"]
    seen = {(c0, r0)}
    todo = [(c0, r0)]
    while todo:
        c, r = todo.pop()
        nxt = []
        below = at(c, r + 1) if r + 1 < ROWS else None
        if below is None:
            raise LevelError("%s: an element can fall out of the board at column %d" % (name, c))
        if below in PASSABLE or below == "C":
            nxt.append((c, r + 1))
        for dc in (-1, 1):
            cc = c + dc
            if not 0 <= cc < COLS:
                raise LevelError("%s: an element can be slid off the board at row %d" % (name, r))
            if at(cc, r) in ENTERABLE:
                nxt.append((cc, r))
        if at(c, r) == "T":
            for (pc, pr) in pads:
                nxt.append((pc, pr))
        for (mc, mr) in magnets:
            if mc == c and r > mr:
                nxt.extend((c, rr) for rr in range(mr + 1, r) if at(c, rr) in PASSABLE)
        nxt.extend(rides.get((c, r), ()))
        for p in nxt:
            if p not in seen:
                seen.add(p)
                todo.append(p)
    return seen


def platform_rides(board):
    """Where a rider of each platform can be carried: from every cell above a
    platform's run to every other cell above it. A horizontal platform runs along
    its row through empty cells, a vertical one up and down its column."""
    rides = {}
    for r in range(ROWS):
        for c in range(COLS):
            ch = board[r][c]
            if ch not in "HV":
                continue
            run = [(c, r)]
            for d in (-1, 1):
                cc, rr = c, r
                while True:
                    cc, rr = (cc + d, rr) if ch == "H" else (cc, rr + d)
                    if not (0 <= cc < COLS and 0 <= rr < ROWS) or board[rr][cc] not in PASSABLE:
                        break
                    run.append((cc, rr))
            tops = [(cc, rr - 1) for cc, rr in run if rr >= 1]
            for t in tops:
                rides.setdefault(t, []).extend(x for x in tops if x != t)
    return rides


def legend_problems(encoder):
    """Where the encoder's legend and the one in levels/README.md differ."""
    ours, its = read_legend(), encoder_legend(encoder)
    return ["levels/README.md gives %r the code %s, tovi-encode %s" % (ch, ours.get(ch, "none"), its.get(ch, "none"))
            for ch in sorted(set(ours) | set(its)) if ours.get(ch) != its.get(ch)]


def usage():
    sys.exit("usage: build_levels.py [--check] [--encoder PATH]")


def main(argv):
    args = argv[1:]
    checking = "--check" in args
    if checking:
        args.remove("--check")
    encoder = ENCODER
    if args[:1] == ["--encoder"] and len(args) == 2:
        encoder = args[1]
    elif args:
        usage()
    try:
        find_encoder(encoder, ", or name tovi-encode with --encoder PATH")
    except EncoderError as e:
        sys.exit(str(e))
    os.makedirs(BUILT, exist_ok=True)
    problems = 0
    for p in legend_problems(encoder):
        print(p)
        problems += 1
    boards = {}
    shown = []  # (level, board, caption) of the levels checked
    info = ["# <level> <par> <caption>: made by tools/gen/build_levels.py from levels/level<N>.txt"]
    present = sorted(int(m.group(1)) for m in
                     (re.fullmatch(r"level(\d+)\.txt", f) for f in os.listdir(SOURCES)) if m)
    if not present:
        sys.exit("no level sources in levels/")
    parsed = {}
    for n in range(1, max(max(present), REQUIRED) + 1):
        src = os.path.join(SOURCES, "level%d.txt" % n)
        if not os.path.exists(src):
            print("level%d: no source" % n)
            problems += 1
        elif n > LEVELS:
            print("level%d: the game has %d levels" % (n, LEVELS))
            problems += 1
        else:
            try:
                parsed[n] = parse(src)
            except LevelError as e:
                print(e)
                problems += 1
    try:
        encoded, refused = encode_boards(encoder, [(n, board) for n, (_, board, _) in sorted(parsed.items())])
    except (EncoderError, OSError) as e:
        sys.exit(str(e))
    for line in refused:   # "level N: ..." as the rules' messages say it
        print(line.replace("level ", "level", 1))
        problems += 1
    for n, data in zip(sorted(parsed), encoded):
        if data is None:
            continue
        src = os.path.join(SOURCES, "level%d.txt" % n)
        rows, script = parsed[n][1], parsed[n][2]
        try:
            check("level%d" % n, rows)
        except LevelError as e:
            print(e)
            problems += 1
            continue
        # No two boards alike, not even as mirror images.
        key = "".join(rows)
        mirror = "".join(r[::-1] for r in rows)
        for other, okey in boards.items():
            if okey in (key, mirror):
                print("level%d: the same board as level%d" % (n, other))
                problems += 1
        boards[n] = key
        try:
            caption, par = notes(src)
        except LevelError as e:
            print(e)
            problems += 1
            continue
        shown.append((n, rows, caption))
        info.append(("%d %d %s" % (n, par, caption)).rstrip())
        win = "".join("%s %s %s %s\n" % tuple((l.split() + ["1"])[:4]) for l in script).encode()
        for out, content in ((os.path.join(BUILT, "level%d.bin" % n), data),
                             (os.path.join(BUILT, "level%d.win" % n), win)):
            if checking:
                if not os.path.exists(out) or open(out, "rb").read() != content:
                    print("level%d: media/levels/%s is out of date; run tools/gen/build_levels.py"
                          % (n, os.path.basename(out)))
                    problems += 1
            else:
                with open(out + ".tmp", "wb") as f:
                    f.write(content)
                os.replace(out + ".tmp", out)
    taught = taught_at(shown)
    for n, rows, caption in shown:
        for ch in sorted(ch for ch in mechanics(rows) if not caption and taught.get(ch, n + 1) > n):
            print("level%d: has %r before any level teaches it" % (n, ch))
            problems += 1
    text = "\n".join(info) + "\n"
    if checking:
        if not os.path.exists(INFO) or open(INFO, encoding="utf-8").read() != text:
            print("media/levels/info.txt is out of date; run tools/gen/build_levels.py")
            problems += 1
    elif not problems:
        with open(INFO + ".tmp", "w", encoding="utf-8") as f:
            f.write(text)
        os.replace(INFO + ".tmp", INFO)
    if problems:
        sys.exit("%d level problem(s)" % problems)


if __name__ == "__main__":
    main(sys.argv)
