#!/usr/bin/python3
"""Proposes, proves and grades the game's levels, and writes levels/level<N>.txt.

Each chapter has a pool of candidate boards made from its building blocks
(floors, ledges and pillars; then blocks; then mud, teleports and crumbling
stone; then spike pits), every one put through tovi-solve, the breadth-first
solver that runs the game's own engine. Only boards it wins are kept, with the
solution it found; they are ordered by the fewest moves a win needs and by the
dead ends met on the way, and each chapter takes a rising run of them after its
hand-made teaching levels. The same seeds give the same levels.

Usage:
    /usr/bin/python3 tools/gen_levels.py BUILD_DIR    # BUILD_DIR holds tovi-solve
"""

import multiprocessing
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import build_levels as bl  # noqa: E402

ROOT = os.path.dirname(HERE)
COLS, ROWS = 20, 12
SOLVER = None

# Hand-made teaching levels: (level, title, board rows 0..11).
TEACH = {
    1: ("First Steps", ["#...a......a.......#"]),
    2: ("Down She Goes", ["........b...........", "......###...........", "#...a.....b....a...#"]),
    3: ("Three of a Kind", ["...........c........", "..........###.......", "#..c..........c.....#"[:20]]),
    26: ("A Heavy Stone", ["........d...........", ".......###..........", "#..d....B...........#"[:20]]),
    51: ("Sticky Ground", ["#..e.....MMM...e....#"[:20]]),
    54: ("Through the Portal", ["...f......T.........", "...#########........", "#.................Of#"[:20]]),
    57: ("Crumbling Ledge", [".......g.............", "......#C#...........", "#..g................#"[:20]]),
    76: ("Mind the Spikes", ["#...h....S.....h....#"[:20]]),
}

TITLES = {
    1: ["Dune", "Sandy", "Sun", "Camel", "Scarab", "Oasis", "Dig Site", "Mirage", "Ochre", "Wind"],
    2: ["Tomb", "Torch", "Crypt", "Shadow", "Burial", "Hidden", "Painted", "Sealed", "Amber", "Echo"],
    3: ["River", "Reed", "Market", "Dusk", "Brick", "Palm", "Ferry", "Harbour", "Lotus", "Canal"],
    4: ["Jackal", "Temple", "Basalt", "Moon", "Lapis", "Night", "Golden", "Obelisk", "Star", "Anubis"],
}
NOUNS = ["Steps", "Hollow", "Gate", "Stairs", "Chamber", "Walk", "Ledges", "Pass", "Puzzle", "Drop",
         "Terrace", "Corner", "Wells", "Towers", "Run", "Shelf", "Niche", "Court", "Crossing", "Vault"]


def blank():
    rows = [["."] * COLS for _ in range(ROWS)]
    rows[ROWS - 1] = ["#"] * COLS
    return rows


def teach_board(rows_bottom):
    b = blank()
    for i, line in enumerate(reversed(rows_bottom)):
        r = ROWS - 2 - i
        b[r] = list(line.ljust(COLS, ".")[:COLS])
    return ["".join(r) for r in b]


def settle_drop(b, col):
    """The row an element dropped in this column comes to rest on, or None."""
    for r in range(ROWS):
        if b[r][col] != ".":
            return r - 1 if r > 0 and b[r][col] not in "S" else None
    return None


def candidate(chapter, seed):
    rng = random.Random(seed)
    b = blank()
    enclosed = chapter in (2, 4) and rng.random() < 0.7
    if enclosed:
        for r in range(ROWS):
            b[r][0] = b[r][COLS - 1] = "#"
    # Ledges and pillars give the board its shape.
    for _ in range(rng.randint(2, 4 + chapter // 2)):
        length = rng.randint(3, 8)
        r = rng.randint(4, 9)
        c = rng.randint(1, COLS - length - 1)
        for k in range(length):
            b[r][c + k] = "#"
        if rng.random() < 0.4:
            for rr in range(r + 1, ROWS - 1):
                b[rr][c] = "#"
    # Mechanics by chapter.
    def surface_cells():
        out = []
        for r in range(1, ROWS - 1):
            for c in range(1, COLS - 1):
                if b[r][c] == "." and b[r + 1][c] == "#" and b[r - 1][c] == ".":
                    out.append((r, c))
        return out

    if chapter >= 2:
        for _ in range(rng.randint(0, 2)):
            cells = surface_cells()
            if cells:
                r, c = rng.choice(cells)
                b[r][c] = "B"
    if chapter >= 3:
        roll = rng.random()
        if roll < 0.4:
            cells = surface_cells()
            for _ in range(rng.randint(1, 3)):
                if cells:
                    r, c = rng.choice(cells)
                    b[r + 1][c] = "M"
        elif roll < 0.7:
            ledge = [(r, c) for r in range(2, ROWS - 1) for c in range(1, COLS - 1) if b[r][c] == "#"
                     and b[r - 1][c] == "." and r < ROWS - 1]
            if ledge:
                r, c = rng.choice(ledge)
                b[r][c] = "C"
        else:
            cells = surface_cells()
            if len(cells) >= 2:
                (r1, c1), (r2, c2) = rng.sample(cells, 2)
                b[r1][c1] = "T"
                b[r2][c2] = "O"
    if chapter >= 4:
        floor = [c for c in range(2, COLS - 2) if b[ROWS - 2][c] == "." and b[ROWS - 3][c] == "."]
        for c in rng.sample(floor, min(len(floor), rng.randint(1, 3))):
            b[ROWS - 2][c] = "S"
    # The treasures: pairs, and a three now and then.
    kinds = rng.sample("abcdefghijklmnopqrs", rng.randint(2, 2 + chapter))
    for kind in kinds:
        for _ in range(3 if rng.random() < 0.2 else 2):
            for _try in range(30):
                c = rng.randint(1, COLS - 2)
                r = settle_drop(b, c)
                if r is None or r < 1:
                    continue
                below = b[r + 1][c]
                if below in "TS" or (below == kind):
                    continue
                if b[r][c - 1] == kind or b[r][c + 1] == kind:
                    continue
                b[r][c] = kind
                break
    rows = ["".join(r) for r in b]
    try:
        bl.check("candidate", rows)
    except bl.LevelError:
        return None
    return rows


def solve(rows, max_moves=7, max_states=6000):
    data = bytearray()
    for r in range(ROWS):
        for c in range(COLS):
            ch = rows[r][c]
            data.append(bl.tile_code(1, rows, c, r) if ch == "#" else bl.CODES[ch])
    with tempfile.NamedTemporaryFile(suffix=".bin", delete=False) as f:
        f.write(bytes(data))
        path = f.name
    try:
        out = subprocess.run([SOLVER, path, "--max-moves", str(max_moves), "--max-states", str(max_states)],
                             capture_output=True, text=True, timeout=120).stdout
    except subprocess.TimeoutExpired:
        out = "unsolved too large"
    finally:
        os.unlink(path)
    lines = out.strip().splitlines()
    if not lines or not lines[-1].startswith("moves="):
        return None
    stats = dict(kv.split("=") for kv in lines[-1].split())
    return int(stats["moves"]), int(stats["deadends"]), int(stats["states"]), lines[:-1]


def job(args):
    chapter, seed = args
    rows = candidate(chapter, seed)
    if rows is None:
        return None
    res = solve(rows)
    if res is None:
        return None
    return chapter, seed, rows, res


def mechanics(rows):
    text = "".join(rows)
    names = [("B", "block"), ("H", "platform"), ("V", "lift"), ("M", "mud"), ("T", "teleport"),
             ("C", "crumbling"), ("S", "spikes"), ("G", "magnet")]
    return [n for ch, n in names if ch in text]


def write(n, title, rows, script, stats):
    with open(os.path.join(ROOT, "levels", "level%d.txt" % n), "w") as f:
        f.write("title: %s\n" % title)
        for r in rows:
            f.write(r + "\n")
        f.write("solution:\n")
        for l in script:
            f.write(l + "\n")


def main(argv):
    global SOLVER
    SOLVER = os.path.join(os.path.abspath(argv[1]), "tovi-solve")
    used = set()
    table = {}
    # The teaching levels first.
    for n, (title, bottom) in TEACH.items():
        rows = teach_board(bottom)
        bl.check("level%d" % n, rows)
        res = solve(rows)
        if res is None:
            sys.exit("teaching level %d has no solution" % n)
        write(n, title, rows, res[3], res)
        used.add("".join(rows))
        table[n] = (title, rows, res)
    # Then a rising run of proven candidates per chapter.
    targets = {1: (1, 3), 2: (2, 4), 3: (3, 5), 4: (3, 7)}
    with multiprocessing.Pool(2) as pool:
        for chapter in (1, 2, 3, 4):
            lo, hi = targets[chapter]
            jobs = [(chapter, chapter * 100000 + s) for s in range(260)]
            found = [r for r in pool.map(job, jobs) if r]
            found = [r for r in found if lo <= r[3][0] <= hi]
            found.sort(key=lambda r: (r[3][0], r[3][1], r[1]))
            slots = [n for n in range(25 * chapter - 24, 25 * chapter + 1) if n not in TEACH]
            picks = []
            for r in found:
                key = "".join(r[2])
                mirror = "".join(row[::-1] for row in r[2])
                if key in used or mirror in used:
                    continue
                used.add(key)
                picks.append(r)
            if len(picks) < len(slots):
                sys.exit("chapter %d: only %d proven boards for %d levels" % (chapter, len(picks), len(slots)))
            # Spread the picks over the sorted range so difficulty rises through the chapter;
            # the hardest one closes it.
            step = (len(picks) - 1) / (len(slots) - 1)
            chosen = [picks[round(i * step)] for i in range(len(slots))]
            rng = random.Random(chapter)
            for n, (ch, seed, rows, res) in zip(slots, chosen):
                title = "%s %s" % (rng.choice(TITLES[chapter]), rng.choice(NOUNS))
                if n == 25 * chapter:
                    title = ["The Dig Site's Heart", "The Sealed Vault", "The River Gate",
                             "The Jackal's Throne"][chapter - 1]
                write(n, title, rows, res[3], res)
                table[n] = (title, rows, res)
            print("chapter %d: %d proven candidates" % (chapter, len(found)), flush=True)
    with open(os.path.join(ROOT, "levels", "TABLE.md"), "w") as f:
        f.write("# The levels\n\nMade by `tools/gen_levels.py`, proven by `tovi-solve` (breadth-first over "
                "settled boards on the game's own engine; the minimum is the fewest moves that win).\n\n")
        f.write("| Level | Title | Chapter | Mechanics | Stored moves | Solver minimum | Dead ends |\n")
        f.write("|---|---|---|---|---|---|---|\n")
        for n in sorted(table):
            title, rows, (moves, dead, states, script) = table[n]
            mech = ", ".join(mechanics(rows)) or "falling, matching"
            f.write("| %d | %s | %d | %s | %d | %d | %d |\n" % (n, title, (n - 1) // 25 + 1, mech, moves, moves,
                                                                  dead))


if __name__ == "__main__":
    main(sys.argv)
