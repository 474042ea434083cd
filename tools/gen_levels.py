#!/usr/bin/python3
"""Proposes, proves and grades the game's levels, and writes levels/level<N>.txt.

Each chapter opens its new mechanics with hand-made teaching levels; the rest
of its 25 come from candidate boards built of its pieces (floors, ledges,
pillars and chambers; then blocks and platforms; then mud, teleports and
crumbling stone; then spike pits and the magnet), every one put through
tovi-solve, the breadth-first solver that plays the game's own engine. Only
boards it wins are kept, with the solution it found; they are ordered by the
fewest moves a win needs and the dead ends met, and each chapter takes a rising
run of them after its teaching levels, closing on the hardest one. The same
seeds give the same levels.

Usage:
    /usr/bin/python3 tools/gen_levels.py BUILD_DIR [CHAPTER...]   # BUILD_DIR holds tovi-solve
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
MAX_STATES = 30000
KINDS = "abcdefghijklmnopqrs"


def board(lines):
    """A board from its bottom lines (the rest above is open air between side walls)."""
    rows = ["#" + "." * (COLS - 2) + "#"] * (ROWS - 1 - len(lines)) + list(lines) + ["#" * COLS]
    assert len(rows) == ROWS and all(len(r) == COLS for r in rows), lines
    return rows


# Hand-made teaching levels: level -> (title, bottom rows above the floor).
TEACH = {
    1: ("First Steps", [
        "#..................#",
        "#..................#",
        "#...a.......a......#"]),
    2: ("Over the Edge", [
        "#..................#",
        "#......b...........#",
        "#.....####.........#",
        "#..........b.......#"]),
    3: ("Two by Two", [
        "#..................#",
        "#..........c.......#",
        "#.........###......#",
        "#..d...c........d..#"]),
    4: ("Three of a Kind", [
        "#..................#",
        "#........e.........#",
        "#.......###........#",
        "#...e........e.....#"]),
    26: ("A Heavy Stone", [
        "#..................#",
        "#...a...B......a...#",
        "###########.########"]),
    29: ("All Aboard", [
        "#..................#",
        "#.....a.......a....#",
        "#######H.....#######",
        "#..................#",
        "#..................#"]),
    32: ("Going Up", [
        "#.........#........#",
        "#..................#",
        "#...........d......#",
        "#..........####....#",
        "#.........V........#",
        "#..................#",
        "#..................#",
        "#..................#",
        "#........d.........#",
        "#........#.........#"]),
    51: ("Sticky Ground", [
        "#..................#",
        "#...a.........a....#",
        "########MM##########"]),
    54: ("Through the Portal", [
        "#######............#",
        "#.....#............#",
        "#.....#............#",
        "#.a..T#.....O..a...#"]),
    57: ("Crumbling Ledge", [
        "#........g.........#",
        "#########C##########",
        "#..................#",
        "#..................#",
        "#..................#",
        "#........g.........#"]),
    76: ("Mind the Spikes", [
        "#........h.........#",
        "#......#####.......#",
        "#..................#",
        "#.....S......h.....#"]),
    79: ("The Magnet", [
        "#.........#........#",
        "#.........G........#",
        "#............k.....#",
        "#..........#####...#",
        "#..................#",
        "#..................#",
        "#..................#",
        "#..................#",
        "#.B................#",
        "####P##...k........#"]),
}

TITLE_A = {
    1: ["Sandy", "Sunlit", "Windswept", "Dusty", "Golden", "Quiet", "Open", "Shallow", "Bright", "Low",
        "Scarab", "Camel", "Reed", "Palm", "Ochre"],
    2: ["Torchlit", "Buried", "Painted", "Sealed", "Hidden", "Narrow", "Echoing", "Amber", "Cedar", "Deep",
        "Silent", "Granite", "Hollow", "Pillared", "Dim"],
    3: ["Muddy", "Flooded", "Reedy", "Sunken", "Crumbling", "Mossy", "Lotus", "River", "Ferry", "Marsh",
        "Willow", "Silted", "Broken", "Drowned", "Misty"],
    4: ["Starlit", "Moonlit", "Basalt", "Lapis", "Obsidian", "Jackal", "Falcon", "Thorned", "Iron", "Night",
        "Shadowed", "Gilded", "Cursed", "Ancient", "Burning"],
}
TITLE_B = ["Steps", "Hollow", "Gate", "Stairs", "Chamber", "Walk", "Ledges", "Pass", "Drop", "Terrace",
           "Corner", "Wells", "Towers", "Shelf", "Niche", "Court", "Crossing", "Vault", "Passage", "Rise",
           "Landing", "Alcove", "Gallery", "Trench", "Causeway"]
FINALE = {1: "Heart of the Dig", 2: "The Sealed Vault", 3: "The River Gate", 4: "The Last Ashcrystal Shard"}


def empty_board():
    b = [["."] * COLS for _ in range(ROWS)]
    for r in range(ROWS):
        b[r][0] = b[r][COLS - 1] = "#"
    b[ROWS - 1] = ["#"] * COLS
    return b


def surfaces(b):
    """Empty cells with something solid right under them and room above."""
    out = []
    for r in range(1, ROWS - 1):
        for c in range(1, COLS - 1):
            if b[r][c] == "." and b[r + 1][c] in "#BCMHVP" and b[r - 1][c] == ".":
                out.append((c, r))
    return out


def shape(rng, b, chapter):
    """Walls as solid shapes: ledges (some on a pillar), floor steps and pillars."""
    for _ in range(rng.randint(1, 3)):
        length = rng.randint(3, 7)
        r = rng.randint(5, 9)
        c = rng.randint(1, COLS - 1 - length)
        for k in range(length):
            b[r][c + k] = "#"
        if rng.random() < 0.45:
            pc = c if rng.random() < 0.5 else c + length - 1
            for rr in range(r + 1, ROWS - 1):
                b[rr][pc] = "#"
    for _ in range(rng.randint(0, 2)):
        h = rng.randint(1, 3)
        w = rng.randint(1, 3)
        c = rng.randint(2, COLS - 2 - w)
        for rr in range(ROWS - 1 - h, ROWS - 1):
            for cc in range(c, c + w):
                b[rr][cc] = "#"
    if rng.random() < 0.3:
        # a raised floor along one side
        h = rng.randint(1, 2)
        w = rng.randint(3, 6)
        side = rng.random() < 0.5
        for rr in range(ROWS - 1 - h, ROWS - 1):
            for k in range(w):
                b[rr][1 + k if side else COLS - 2 - k] = "#"


def place_elements(rng, b, chapter, kinds, triples):
    for n, kind in enumerate(kinds):
        count = 3 if n < triples else 2
        for _ in range(count):
            for _try in range(40):
                cells = surfaces(b)
                if not cells:
                    return False
                c, r = rng.choice(cells)
                if any(b[rr][cc] == kind for cc, rr in ((c - 1, r), (c + 1, r), (c, r - 1), (c, r + 1))):
                    continue
                b[r][c] = kind
                break
            else:
                return False
    return True


def candidate(chapter, seed):
    rng = random.Random(seed)
    b = empty_board()
    shape(rng, b, chapter)
    nkinds = rng.randint(2, 3 + (chapter >= 3))
    kinds = rng.sample(KINDS, nkinds)
    triples = 0
    if rng.random() < 0.45:
        triples = 1
    if not place_elements(rng, b, chapter, kinds, triples):
        return None
    rows = ["".join(r) for r in b]
    try:
        bl.check("candidate", rows)
    except bl.LevelError:
        return None
    return rows


def solve(rows, level, max_states=MAX_STATES):
    chapter = (level - 1) // 25 + 1
    data = bytearray()
    for r in range(ROWS):
        for c in range(COLS):
            ch = rows[r][c]
            data.append(bl.tile_code(chapter, rows, c, r) if ch == "#" else bl.CODES[ch])
    fd, path = tempfile.mkstemp(suffix=".bin", prefix="tovi-gen-")
    with os.fdopen(fd, "wb") as f:
        f.write(bytes(data))
    try:
        out = subprocess.run([SOLVER, path, "--level", str(level), "--max-states", str(max_states)],
                             capture_output=True, text=True, timeout=900).stdout
    except subprocess.TimeoutExpired:
        out = ""
    finally:
        os.unlink(path)
    lines = out.strip().splitlines()
    if not lines or not lines[-1].startswith("moves="):
        return None
    stats = dict(kv.split("=") for kv in lines[-1].split())
    dead = None if stats["deadends"] == "unknown" else int(stats["deadends"])
    return {"moves": int(stats["moves"]), "dead": dead, "states": int(stats["states"]),
            "script": lines[:-1]}


def job(args):
    chapter, seed, level = args
    rows = candidate(chapter, seed)
    if rows is None:
        return None
    res = solve(rows, level)
    if res is None or res["dead"] is None:
        return None
    return seed, rows, res


def mirror_key(rows):
    return "".join(r[::-1] for r in rows)


def write(n, title, rows, script):
    path = os.path.join(ROOT, "levels", "level%d.txt" % n)
    with open(path + ".tmp", "w") as f:
        f.write("title: %s\n" % title)
        for r in rows:
            f.write(r + "\n")
        f.write("solution:\n")
        for l in script:
            f.write(l + "\n")
    os.replace(path + ".tmp", path)


def existing_keys(skip_chapter):
    keys = set()
    for n in range(1, 101):
        if (n - 1) // 25 + 1 == skip_chapter:
            continue
        p = os.path.join(ROOT, "levels", "level%d.txt" % n)
        if os.path.exists(p):
            rows = bl.parse(p)[1]
            keys.add("".join(rows))
    return keys


POOL = {1: 140, 2: 160, 3: 160, 4: 160}
RANGE = {1: (2, 4), 2: (2, 5), 3: (3, 6), 4: (3, 8)}


def make_chapter(chapter, pool):
    first = 25 * chapter - 24
    used = existing_keys(chapter)
    teach = {n: v for n, v in TEACH.items() if first <= n < first + 25}
    for n, (title, lines) in sorted(teach.items()):
        rows = board(lines)
        bl.check("level%d" % n, rows)
        res = solve(rows, n)
        if res is None:
            sys.exit("teaching level %d has no solution" % n)
        write(n, title, rows, res["script"])
        used.add("".join(rows))
        print("level %d: %s moves=%d dead=%s" % (n, title, res["moves"], res["dead"]), flush=True)
    slots = [n for n in range(first, first + 25) if n not in teach]
    lo, hi = RANGE[chapter]
    jobs = [(chapter, chapter * 100000 + s, slots[0]) for s in range(POOL[chapter])]
    found = [r for r in pool.map(job, jobs, chunksize=1) if r]
    found = [r for r in found if lo <= r[2]["moves"] <= hi]
    picks = []
    for seed, rows, res in sorted(found, key=lambda r: (r[2]["moves"], r[2]["dead"], r[0])):
        key = "".join(rows)
        if key in used or mirror_key(rows) in used:
            continue
        used.add(key)
        picks.append((seed, rows, res))
    print("chapter %d: %d proven candidates, %d distinct in range" % (chapter, len(found), len(picks)), flush=True)
    if len(picks) < len(slots):
        sys.exit("chapter %d: only %d proven boards for %d levels" % (chapter, len(picks), len(slots)))
    # Spread the picks over the sorted range so difficulty rises through the
    # chapter; the hardest closes it.
    step = (len(picks) - 1) / (len(slots) - 1)
    chosen = [picks[round(i * step)] for i in range(len(slots))]
    rng = random.Random(chapter)
    titles = set(v[0] for v in TEACH.values())
    for n, (seed, rows, res) in zip(slots, chosen):
        if n == first + 24:
            title = FINALE[chapter]
        else:
            while True:
                title = "%s %s" % (rng.choice(TITLE_A[chapter]), rng.choice(TITLE_B))
                if title not in titles:
                    break
        titles.add(title)
        # Found playing the board as the first free slot: the level number makes no
        # difference but for a chapter's first level, which is always a teaching one.
        write(n, title, rows, res["script"])
        print("level %d: %s moves=%d dead=%s seed=%d" % (n, title, res["moves"], res["dead"], seed), flush=True)


def main(argv):
    global SOLVER
    if len(argv) < 2:
        sys.exit(__doc__)
    SOLVER = os.path.join(os.path.abspath(argv[1]), "tovi-solve")
    chapters = [int(a) for a in argv[2:]] or [1, 2, 3, 4]
    with multiprocessing.Pool(2) as pool:
        for chapter in chapters:
            make_chapter(chapter, pool)


if __name__ == "__main__":
    main(sys.argv)
