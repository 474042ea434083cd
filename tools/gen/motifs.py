#!/usr/bin/python3
"""Sets a small compartment into a level's board that only a mechanic opens.

Usage:
    /usr/bin/python3 tools/gen/motifs.py BUILD_DIR LEVEL KIND [--seconds S] [--seed S] [--write]

Random placements of KIND are tried on the board of levels/level<LEVEL>.txt for
S seconds (600). One element of a kind the board has is moved into the
compartment (for the notch, a third of its kind is added), so the rest of the
board stays as it was. A placement counts when the builder's rules hold, the
board still wins in at least the level's fewest drags, with the mechanic turned
to wall (or, for mud, removed) a search of up to ABLATE_STATES boards proves it
has no win, and every mechanic the level needed before is needed still. The one
winning in the most drags is printed; --write puts it into the level's source
with the solver's shortest win as its solution and par (title and caption kept).

KIND:
  jam    a tunnel under a ceiling, entered from above at one end; its far end holds
         a partner, a block stands in the way, and a spike pit in the tunnel's floor
         is the only place the block can be put away (spikes and block needed)
  lid    a chamber in the ground under a crumbling block, holding a partner: the
         block carries a first load and gives way under a second (crumbling needed)
  notch  a notch over mud with a one-cell well under it and a sealed alcove each
         side, each holding one of a kind of three; the third must land on the mud
         and meet both at once (removed, the mud lets it fall into the well)
  door   a tunnel like the jam's, its way barred by a block standing under a magnet;
         a second block set on ground a few cells from the magnet's button must
         weigh the button down so the magnet lifts the door (magnet and block needed)
  sink   a chute down to a landing on mud over a spike pit, a partner sealed in an
         alcove beside the landing: only the mud keeps what falls in from the spikes
         (removed, the mud lets it fall to its death)
  ferry  a tunnel like the jam's, its far end's partner stuck in mud, with a two-cell
         gap in its floor over a pit; a platform running to and fro in the gap is the
         only bridge (turned to wall, one cell of the gap is still open and swallows
         what slides over it); for levels with mud
  shelf  a shelf under a ceiling, higher than any partner, holding one; its way off
         crosses a two-cell gap over a closed pit that only a platform running to
         and fro in it bridges (ferry needed)
  lift   a shaft under a ceiling holding a partner on a lift, with a way out to one
         side at the top only, higher than any partner: the lift carries it up to the
         way out (lift needed)

A placement on a board with a platform (ferry, shelf, lift) or spikes also needs a win that
holds from at least half of the moments of the ride or the spikes' cycle it may be started at.

BUILD_DIR holds tovi-solve, tovi-sim and tovi-encode.
"""

import os
import random
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import build_levels as bl  # noqa: E402
import level_table  # noqa: E402
from levelkit import element_counts as kinds, encode_boards, find_encoder, solver_result  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
PLATFORMS = ("ferry", "shelf", "lift")  # the kinds whose compartment a platform opens
ABLATE_STATES = 100000  # as the level table's searches of a board with a mechanic taken away
BUILD = ENCODER = TMP = None


def level_file(n, rows):
    """The board encoded into a level file in TMP: its path, or None when refused."""
    data, refused = encode_boards(ENCODER, [(n, rows)])
    if refused:
        return None
    path = os.path.join(TMP, "level%d.bin" % n)
    with open(path, "wb") as f:
        f.write(data[0])
    return path


def solve(n, rows, states, millis, *more):
    """(fewest drags, "won", the win) when the search settles the fewest, (drags of the
    best win found, "bounded", the win) when it stopped with only a bound, (None,
    "lost", None) when it proves no win, (None, "unknown", None) when it stopped
    before finding one or the board was refused."""
    path = level_file(n, rows)
    if not path:
        return None, "unknown", None
    try:
        out = subprocess.run([os.path.join(BUILD, "tovi-solve"), path, "--level", str(n), "--first", "--max-moves",
                              "40", "--max-states", str(states), "--millis", str(millis)] + list(more),
                             capture_output=True, text=True, timeout=millis / 1000 * 3 + 30).stdout
    except subprocess.TimeoutExpired:
        return None, "unknown", None
    r = solver_result(out)
    if r:
        return int(r["stats"]["moves"]), "won" if r["stats"].get("fewest") == "exact" else "bounded", r["script"]
    if out.startswith("unsolved") and "too large" not in out:
        return None, "lost", None
    return None, "unknown", None


HOLD_RIDE = 170  # frames a held element may wait for a ride to bring it to its way out: a whole ride and more


def steady(n, rows, script):
    """A win for a board with a platform or spikes that wins from at least half of
    the moments of the ride or the spikes' cycle it may be started at: SCRIPT, or
    SCRIPT with every hold that waited on a ride made a whole ride long (the element
    then gets out whenever the ride began); None when neither does."""
    path = level_file(n, rows)
    held = []
    for line in script:
        b, x, y, k = line.split()
        held.append(" ".join((b, x, y, str(HOLD_RIDE))) if b == "1" and 1 < int(k) < HOLD_RIDE else line)
    for s in (script, held):
        won, tries = level_table.phases(n, s, path)
        if 2 * won >= tries:
            return s
    return None


def needs(n, rows):
    """The mechanics the board has no win without (turned to wall or removed), by
    name, measured as the level table measures them."""
    return {name for name, req in level_table.required(level_table.ablate(n, rows, TMP)).items() if req}


def write_level(n, src, rows, fewest, script, timed):
    """Puts ROWS into the level source SRC with FEWEST as its par and SCRIPT as its
    solution (title and caption kept); where TIMED (a platform or spikes on the board),
    the win is first made one that holds from half of the moments of the ride or the
    spikes' cycle, or nothing is written."""
    if timed:
        script = steady(n, rows, script)
        if not script:
            sys.exit("the shortest win found now does not hold for half of the moments")
    lines = bl.read_lines(src)
    text = [l for l in lines[:3] if l.startswith(("title:", "caption:"))] + ["par: %d" % fewest] + rows + \
        ["solution:"] + script
    with open(src + ".tmp", "w") as out:
        out.write("\n".join(text) + "\n")
    os.replace(src + ".tmp", src)
    print("written: level %d, par %d" % (n, fewest))


def stamp(board, cells):
    """The board with cells ({(row, col): char}) set, or None where one would cover
    something but empty, wall or a block taken away, or open the border."""
    b = [list(row) for row in board]
    for (r, c), ch in cells.items():
        if not (0 <= r <= 10 and 0 <= c <= 19):
            return None
        if c in (0, 19) and ch != "#":
            return None
        if b[r][c] not in ".#" and b[r][c] != ch and not (b[r][c] == "B" and ch == "."):
            return None
        b[r][c] = ch
    return b


def tunnel(rng, cells, e, top):
    """A tunnel of 4 to 7 cells on a random row from TOP down, under a ceiling and
    over a floor, closed at both ends and entered from above at one end; an element
    of kind E stands at the other. Sets it into CELLS; returns its row and its
    cells from the entrance on."""
    n = rng.randint(4, 7)
    r = rng.randint(top, 9)
    c0 = rng.randint(1, 19 - n)
    t = [c0 + i for i in range(n)]
    if rng.random() >= 0.5:
        t.reverse()
    for c in t:
        cells[(r, c)] = "."
        cells[(r - 1, c)] = "#"
        cells[(r + 1, c)] = "#"
    cells[(r - 1, t[0])] = "."
    cells[(r - 2, t[0])] = "."
    cells[(r, c0 - 1)] = "#"
    cells[(r, c0 + n)] = "#"
    cells[(r, t[-1])] = e
    return r, t


def highest(board, e):
    """The row of the highest element of kind E on the board: none of them can come higher."""
    return min(r for r in range(12) for c in range(20) if board[r][c] == e)


def motif(kind, board, rng):
    """A random placement of KIND: (cells, the kind of element moved into it, the
    groups of characters it needs, and how they are taken away), or None."""
    counts = kinds(board)
    pairs = [k for k, n in counts.items() if n >= 2]
    if not pairs:
        return None
    e = rng.choice(pairs)
    cells = {}
    if kind == "jam":
        r, t = tunnel(rng, cells, e, 2)
        pit = t[rng.randint(2, len(t) - 2)]
        cells[(r + 1, pit)] = "S"
        if r + 2 <= 11:
            cells[(r + 2, pit)] = "#"
        cells[(r, t[1])] = "B"
        return cells, e, ["S", "B"], "wall"
    if kind == "lid":
        r = rng.randint(2, 9)
        c = rng.randint(1, 17)
        side = 1 if rng.random() < 0.5 else -1
        cells[(r - 1, c)] = "."
        cells[(r, c)] = "C"
        cells[(r, c + side)] = "#"
        cells[(r + 1, c)] = "."
        cells[(r + 1, c + side)] = e
        cells[(r + 1, c - side)] = "#"
        cells[(r + 1, c + 2 * side)] = "#"
        cells[(r + 2, c)] = "#"
        cells[(r + 2, c + side)] = "#"
        return cells, e, ["C"], "wall"
    if kind == "notch":
        r = rng.randint(2, 9)
        c = rng.randint(2, 17)
        if r - 1 <= highest(board, e):
            return None  # the third one must come down to the notch
        cells[(r - 2, c)] = "."
        cells[(r - 1, c)] = "."
        cells[(r, c)] = "M"
        cells[(r + 1, c)] = "."
        cells[(r + 2, c)] = "#"
        for s in (-1, 1):
            cells[(r - 1, c + s)] = e
            cells[(r - 2, c + s)] = "#"
            cells[(r - 1, c + 2 * s)] = "#"
            cells[(r, c + s)] = "#"
            cells[(r + 1, c + s)] = "#"
        return cells, e, ["M"], "gone"
    if kind == "door":
        r, t = tunnel(rng, cells, e, 3)
        door = t[rng.randint(1, len(t) - 2)]
        cells[(r - 1, door)] = "."
        cells[(r - 2, door)] = "G"
        cells[(r, door)] = "B"
        # the button: in the floor a few cells along from a second block set on free ground
        free = [(rr, cc) for rr in range(1, 11) for cc in range(1, 19) if board[rr][cc] == "." and
                board[rr + 1][cc] == "#" and (rr, cc) not in cells and (rr + 1, cc) not in cells]
        if not free:
            return None
        br, bc = rng.choice(free)
        d = rng.choice((-1, 1))
        k = rng.randint(1, 4)
        path = [(br, bc + d * i) for i in range(1, k + 1)]
        if any(not 1 <= cc <= 18 for _, cc in path):
            return None
        if any(p in cells or board[p[0]][p[1]] != "." for p in path):
            return None
        if any(board[br + 1][cc] != "#" or (br + 1, cc) in cells for _, cc in path):
            return None
        cells[(br, bc)] = "B"
        cells[(br + 1, bc + d * k)] = "P"
        return cells, e, ["GP", "B"], "wall"
    if kind == "sink":
        r = rng.randint(3, 8)
        c = rng.randint(2, 17)
        s = 1 if rng.random() < 0.5 else -1
        for rr in range(r - 2, r + 1):
            cells[(rr, c)] = "."
        cells[(r - 1, c - s)] = "#"
        cells[(r, c - s)] = "#"
        cells[(r, c + s)] = e
        cells[(r - 1, c + s)] = "#"
        cells[(r, c + 2 * s)] = "#"
        cells[(r + 1, c)] = "M"
        cells[(r + 2, c)] = "S"
        for d in (-1, 1):
            cells[(r + 1, c + d)] = "#"
            cells[(r + 2, c + d)] = "#"
        if r + 3 <= 10:
            cells[(r + 3, c)] = "#"
        return cells, e, ["M"], "gone"
    if kind == "ferry":
        r, t = tunnel(rng, cells, e, 2)
        if r > 8 or len(t) < 5:
            return None
        i = rng.randint(1, len(t) - 3)
        cells[(r + 1, t[i])] = "H"
        cells[(r + 1, t[i + 1])] = "."
        cells[(r + 2, t[i - 1])] = "#"
        cells[(r + 2, t[i])] = "."
        cells[(r + 2, t[i + 1])] = "."
        cells[(r + 2, t[i + 2])] = "#"
        if r + 3 <= 10:
            cells[(r + 3, t[i])] = "#"
            cells[(r + 3, t[i + 1])] = "#"
        cells[(r + 1, t[-1])] = "M"  # the partner stuck at the far end: nothing follows it into the pit
        return cells, e, ["H"], "wall"
    if kind == "shelf":
        r = rng.randint(2, 7)
        if r >= highest(board, e):
            return None  # a partner could come up to the shelf and follow it into the pit
        c = rng.randint(2, 17)
        s = 1 if rng.random() < 0.5 else -1
        p = [c + s * k for k in range(5)]
        cells[(r, c - s)] = "#"
        for k, cc in enumerate(p):
            cells[(r, cc)] = e if k == 0 else "."
            if k < 4:
                cells[(r - 1, cc)] = "#"
        cells[(r + 1, p[0])] = "#"
        cells[(r + 1, p[1])] = "H"
        cells[(r + 1, p[2])] = "."
        cells[(r + 1, p[3])] = "#"
        cells[(r + 2, p[0])] = "#"
        cells[(r + 2, p[1])] = "."
        cells[(r + 2, p[2])] = "."
        cells[(r + 2, p[3])] = "#"
        cells[(r + 3, p[1])] = "#"
        cells[(r + 3, p[2])] = "#"
        return cells, e, ["H"], "wall"
    if kind == "lift":
        h = rng.randint(3, 4)  # a short ride: every moment of it is a board of its own
        bottom = rng.randint(h + 1, 10)
        top = bottom - h + 1
        if top >= highest(board, e):
            return None  # a partner could come down into the shaft and meet it there
        c = rng.randint(2, 17)
        s = 1 if rng.random() < 0.5 else -1
        for r in range(top, bottom + 1):
            cells[(r, c)] = "."
            cells[(r, c - 1)] = "#"
            cells[(r, c + 1)] = "#"
        cells[(top - 1, c)] = "#"
        if bottom < 10:
            cells[(bottom + 1, c)] = "#"
        cells[(bottom, c)] = "V"
        cells[(bottom - 1, c)] = e
        cells[(top, c + s)] = "."  # the way out: a ledge under a ceiling
        cells[(top - 1, c + s)] = "#"
        cells[(top + 1, c + s)] = "#"
        cells[(top, c + 2 * s)] = "."
        return cells, e, ["V"], "wall"
    raise SystemExit("unknown motif " + kind)


def candidate(kind, board, rng):
    """A placement's board as rows, with what must be needed and how it is taken
    away, or None."""
    m = motif(kind, board, rng)
    if not m:
        return None
    cells, e, needed, way = m
    b = stamp(board, cells)
    if b is None:
        return None
    placed = sum(1 for ch in cells.values() if ch == e)
    outside = [(r, c) for r in range(12) for c in range(20) if b[r][c] == e and (r, c) not in cells]
    if not outside:
        return None
    # The kind keeps its count (the notch: one more), the lowest of the others going.
    extra = len(outside) + placed - kinds(board)[e] - (1 if kind == "notch" else 0)
    if extra > len(outside):
        return None
    for (r, c) in sorted(outside, reverse=True)[:max(0, extra)]:
        b[r][c] = "."
    if kind == "jam":  # one block: the tunnel's
        for r in range(12):
            for c in range(20):
                if b[r][c] == "B" and cells.get((r, c)) != "B":
                    b[r][c] = "."
    return ["".join(row) for row in b], needed, way


def main(argv):
    global BUILD, ENCODER, TMP
    args = argv[1:]
    write = "--write" in args
    args = [a for a in args if a != "--write"]

    def opt(name, default):
        if name in args:
            k = args.index(name)
            value = type(default)(args[k + 1])
            del args[k:k + 2]
            return value
        return default
    seconds = opt("--seconds", 600.0)
    seed = opt("--seed", 0)
    if len(args) != 3 or args[2] not in ("jam", "lid", "notch", "door", "sink", "ferry", "shelf", "lift"):
        sys.exit(__doc__)
    BUILD = os.path.abspath(args[0])
    n, kind = int(args[1]), args[2]
    ENCODER = find_encoder(os.path.join(BUILD, "tovi-encode"))
    level_table.BUILD, level_table.ENCODER = BUILD, ENCODER
    src = os.path.join(ROOT, "levels", "level%d.txt" % n)
    _, board, _ = bl.parse(src)
    with tempfile.TemporaryDirectory() as TMP:
        fewest, _, _ = solve(n, board, 100000, 30000)
        if kind == "door":  # one magnet to a board: the door's
            board = [row.replace("G", ".").replace("P", "#") for row in board]
        kept = needs(n, board)  # a placement may not make any of these optional
        print("level %d: fewest drags now %s, needs %s" % (n, fewest, ", ".join(sorted(kept)) or "no mechanic"),
              flush=True)
        rng = random.Random(seed or n)
        best, seen, tried = None, set(), 0
        start = time.time()
        while time.time() - start < seconds:
            got = candidate(kind, board, rng)
            if not got or tuple(got[0]) in seen:
                continue
            rows, needed, way = got
            seen.add(tuple(rows))
            try:
                bl.check("candidate", rows)
            except bl.LevelError:
                continue
            tried += 1
            # The mechanic taken away first: without a platform that search is the smaller.
            into = "#" if way == "wall" else "."
            if not all(solve(n, ["".join(into if ch in chars else ch for ch in row) for row in rows], ABLATE_STATES,
                             60000)[1] == "lost" for chars in needed):
                continue
            f, settled, script = solve(n, rows, 300000 if kind in PLATFORMS else 100000,
                                       45000 if kind in PLATFORMS else 20000)
            if settled != "won" or f < (fewest or 0) or (best and f <= best[0]):
                continue
            if level_table.timed(rows) and not steady(n, rows, script):
                continue  # the platform's or the spikes' moment would matter to the win
            if not kept <= needs(n, rows):
                continue  # the partner moved in was what made another mechanic matter
            best = (f, rows)
            print("%d drags, needs %s:\n%s" % (f, " ".join(needed), "\n".join(rows)), flush=True)
        print("%d placements tried" % tried)
        if not best:
            sys.exit("no placement found")
        if write:
            f, _, script = solve(n, best[1], 300000, 120000)
            write_level(n, src, best[1], f, script, level_table.timed(best[1]))


if __name__ == "__main__":
    main(sys.argv)
