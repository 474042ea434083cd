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
    /usr/bin/python3 tools/gen/gen_levels.py BUILD_DIR [CHAPTER...]   # BUILD_DIR holds tovi-solve, tovi-sim, tovi-encode
    /usr/bin/python3 tools/gen/gen_levels.py BUILD_DIR --harder CHAPTER LEVEL,... MIN_MOVES [MAX_MOVES]
    /usr/bin/python3 tools/gen/gen_levels.py BUILD_DIR --deeper CHAPTER LEVEL,... MIN_DEAD_ENDS MAX_MOVES
    /usr/bin/python3 tools/gen/gen_levels.py BUILD_DIR --decide CHAPTER LEVEL,... MIN_MOVES MAX_MOVES
    /usr/bin/python3 tools/gen/gen_levels.py BUILD_DIR --sort FIRST LAST
"""

import json
import multiprocessing
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import build_levels as bl  # noqa: E402
import level_table  # noqa: E402
from levelkit import (LEVELS_PER_CHAPTER, EncoderError, chapter_of, drag_moves, encode_board,  # noqa: E402
                      find_encoder, solver_result)

ROOT = os.path.dirname(os.path.dirname(HERE))
COLS, ROWS = 20, 12
SOLVER = None
ENCODER = None        # tovi-encode, beside the solver
MAX_STATES = 12000    # boards a candidate's first search may meet
TEACH_STATES = 30000  # and a teaching level's
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
        "#.....#####........#",
        "#........#.........#",
        "#........#.#d#######",
        "#........#d#########",
        "#......###V#########",
        "#......#############",
        "####################",
        "####################"]),
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
        "#..................#",
        "#..........k.......#",
        "#.........###......#",
        "#.......G..........#",
        "#.........k........#",
        "#......#.######....#",
        "#......#.#.........#",
        "#......#.#.........#",
        "#.B....#.#.........#",
        "####P###k#.........#"]),
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


def ground(rng, b):
    """Ground of plateaus, steps and wells, built up from the floor; returns the
    height of each column (cells of wall above the floor)."""
    g = [0] * COLS
    c, h = 1, rng.randint(0, 2)
    while c < COLS - 1:
        w = min(rng.choice([1, 2, 2, 3, 3, 4, 4, 5, 6]), COLS - 1 - c)
        if w == 1 and h > 0 and rng.random() < 0.5:
            nh = h - rng.randint(1, h)          # a well
        else:
            nh = max(0, min(5, h + rng.choice([-2, -1, -1, 0, 1, 1, 2])))
        for cc in range(c, c + w):
            g[cc] = nh
        c += w
        if not (w == 1 and nh < h):
            h = nh
    for cc in range(1, COLS - 1):
        for k in range(g[cc]):
            b[ROWS - 2 - k][cc] = "#"
    return g


def ledges(rng, b, g, count):
    """Shelves hanging in the air, two rows or more above the ground under them;
    some stand on a pillar down to the ground."""
    for _ in range(count):
        for _try in range(20):
            length = rng.randint(2, 6)
            c = rng.randint(1, COLS - 1 - length)
            r = rng.randint(3, 8)
            if all(ROWS - 2 - g[cc] - r >= 2 for cc in range(c - 1, c + length + 1) if 0 < cc < COLS - 1) and \
                    all(b[r - 1][cc] == "." for cc in range(c, c + length)):
                for cc in range(c, c + length):
                    b[r][cc] = "#"
                if rng.random() < 0.35:
                    pc = rng.choice([c, c + length - 1])
                    for rr in range(r + 1, ROWS - 1 - g[pc]):
                        b[rr][pc] = "#"
                break


def tops(b, solid="#BCMHVPOTG"):
    """Empty cells standing on something solid, with air above."""
    out = []
    for r in range(1, ROWS - 1):
        for c in range(1, COLS - 1):
            if b[r][c] == "." and b[r + 1][c] in solid and b[r - 1][c] == ".":
                out.append((c, r))
    return out


def put(rng, b, ch, avoid_same=True, solid="#BCMHVPOTG" + KINDS):
    for _try in range(40):
        cells = tops(b, solid)
        if not cells:
            return None
        c, r = rng.choice(cells)
        if avoid_same and any(b[rr][cc] == ch for cc, rr in ((c - 1, r), (c + 1, r), (c, r - 1), (c, r + 1))):
            continue
        b[r][c] = ch
        return (c, r)
    return None


def ground_cells(b, g):
    """The top wall cell of every column with ground, as (column, row)."""
    return [(c, ROWS - 2 - (g[c] - 1)) for c in range(1, COLS - 1) if g[c] > 0]


def add_hplat(rng, b, g):
    """A ferry: a horizontal platform flush with a plateau's edge over a drop."""
    for _try in range(30):
        c = rng.randint(2, COLS - 3)
        r = rng.randint(4, 9)
        if b[r][c] != "." or b[r - 1][c] != ".":
            continue
        # a run of air at least three cells long in row r, with room above
        run = [c]
        for d in (-1, 1):
            cc = c + d
            while 0 < cc < COLS - 1 and b[r][cc] == "." and b[r - 1][cc] == ".":
                run.append(cc)
                cc += d
        if len(run) < 4:
            continue
        # nothing may stand under the run's ends only one row down (it would jam)
        start = rng.choice([min(run), max(run)])
        b[r][start] = "H"
        return True
    return False


def add_vplat(rng, b, g):
    """A lift in a shaft beside higher ground, capped above."""
    for _try in range(30):
        c = rng.randint(1, COLS - 2)
        side = rng.choice([-1, 1])
        nb = c + side
        if not 0 < nb < COLS - 1 or g[nb] < g[c] + 2:
            continue
        base = ROWS - 2 - g[c]          # the lowest free cell of the shaft
        top = ROWS - 2 - g[nb]          # the plateau's top wall cell row is top + 1... riders stand at top
        cap = top - 1                   # a wall above the rider's cell at plateau level
        if cap < 1 or any(b[rr][c] != "." for rr in range(cap, base + 1)):
            continue
        b[base][c] = "V"
        b[cap][c] = "#"
        if b[cap][nb] == "." and rng.random() < 0.7:
            b[cap][nb] = "#"            # the cap is a lintel over the plateau's edge
        return True
    return False


def add_mud(rng, b, g, n):
    cells = [p for p in ground_cells(b, g) if b[p[1] - 1][p[0]] == "."]
    rng.shuffle(cells)
    for c, r in cells[:n]:
        b[r][c] = "M"
    return bool(cells)


def add_crumble(rng, b, g):
    """A crumbling slab: a bridge over a well or part of a shelf."""
    wells = [c for c in range(2, COLS - 2) if g[c] + 2 <= min(g[c - 1], g[c + 1])]
    if wells and rng.random() < 0.7:
        c = rng.choice(wells)
        r = ROWS - 1 - min(g[c - 1], g[c + 1])
        b[r][c] = "C"
        return True
    shelf = [(c, r) for r in range(2, ROWS - 3) for c in range(1, COLS - 1)
             if b[r][c] == "#" and b[r + 1][c] == "." and b[r - 1][c] == "."]
    if not shelf:
        return False
    c, r = rng.choice(shelf)
    b[r][c] = "C"
    return True


def add_teleport(rng, b, g):
    cells = tops(b, "#")
    if len(cells) < 2:
        return False
    rng.shuffle(cells)
    (tc, tr), (oc, orow) = cells[0], cells[1]
    if abs(tc - oc) + abs(tr - orow) < 5 or b[orow + 1][oc] == "M":
        return False
    b[tr][tc] = "T"
    b[orow][oc] = "O"
    return True


def add_spikes(rng, b, g, n):
    wells = [c for c in range(2, COLS - 2) if g[c] < min(g[c - 1], g[c + 1])]
    rng.shuffle(wells)
    for c in wells[:n]:
        b[ROWS - 2 - g[c]][c] = "S"
    return bool(wells)


def add_magnet(rng, b, g):
    """A magnet over a well beside higher ground, and its button on the ground."""
    wells = [c for c in range(2, COLS - 2) if g[c] + 1 < max(g[c - 1], g[c + 1])]
    if not wells:
        return False
    c = rng.choice(wells)
    hang = ROWS - 2 - max(g[c - 1], g[c + 1])     # where a lifted element hangs: level with the ground beside
    if hang - 1 < 1 or b[hang - 1][c] != ".":
        return False
    b[hang - 1][c] = "G"
    cells = [p for p in ground_cells(b, g) if b[p[1] - 1][p[0]] == "." and abs(p[0] - c) > 1]
    if not cells:
        return False
    pc, pr = rng.choice(cells)
    b[pr][pc] = "P"
    # something for the magnet to lift: an element at the bottom of the well
    return c


THEMES = {
    1: [""],
    2: ["B", "H", "V", "BH", "BV", "H", "V", "B"],
    3: ["M", "T", "C", "MT", "TC", "MC", "M", "T", "C", "MB", "TH", "CB"],
    4: ["S", "G", "SB", "GB", "SG", "S", "G", "SM", "GT", "SC", "SH", "GM"],
}
SIZE = {1: (2, 3, 4, 6), 2: (2, 2, 4, 5), 3: (2, 2, 4, 5), 4: (2, 3, 4, 6)}   # kinds lo, hi; elements lo, hi


def candidate(chapter, seed, themes=None, size=None):
    """A board of the chapter's pieces (its themes and treasure counts unless given)."""
    rng = random.Random(seed)
    b = empty_board()
    g = ground(rng, b)
    ledges(rng, b, g, rng.randint(0, 2))
    theme = rng.choice(themes or THEMES[chapter])
    magnet_col = None
    for m in theme:
        ok = True
        if m == "B":
            ok = put(rng, b, "B", solid="#") is not None
        elif m == "H":
            ok = add_hplat(rng, b, g)
        elif m == "V":
            ok = add_vplat(rng, b, g)
        elif m == "M":
            ok = add_mud(rng, b, g, rng.randint(1, 3))
        elif m == "C":
            ok = add_crumble(rng, b, g)
        elif m == "T":
            ok = add_teleport(rng, b, g)
        elif m == "S":
            ok = add_spikes(rng, b, g, rng.randint(1, 2))
            if ok and rng.random() < 0.5:
                put(rng, b, "B", solid="#")
        elif m == "G":
            magnet_col = add_magnet(rng, b, g)
            ok = bool(magnet_col)
        if not ok:
            return None
    klo, khi, elo, ehi = size or SIZE[chapter]
    nkinds = rng.randint(klo, khi)
    kinds = rng.sample(KINDS, nkinds)
    counts = [2] * nkinds
    total = rng.randint(max(elo, 2 * nkinds), max(ehi, 2 * nkinds))
    while sum(counts) < total:
        k = rng.randrange(nkinds)
        if counts[k] < 3 or rng.random() < 0.2:
            counts[k] += 1
    if magnet_col:
        # the magnet's prize: one element at the bottom of its well
        r = max(rr for rr in range(ROWS) if b[rr][magnet_col] == ".")
        b[r][magnet_col] = kinds[0]
        counts[0] -= 1
    for kind, n in zip(kinds, counts):
        for _ in range(n):
            if put(rng, b, kind) is None:
                return None
    rows = ["".join(r) for r in b]
    try:
        bl.check("candidate", rows)
    except bl.LevelError:
        return None
    return rows, theme


def solve(rows, level, max_states=MAX_STATES, first=False, max_moves=None, steps=False):
    """The solver's word on a board, or None when it found no win; with STEPS, a
    search to the end also counts the critical steps of its shortest win (the one
    with the most of them): where at most a third of the drags keep a win."""
    data = encode_board(ENCODER, level, rows)
    fd, path = tempfile.mkstemp(suffix=".bin", prefix="tovi-gen-")
    with os.fdopen(fd, "wb") as f:
        f.write(data)
    try:
        out = subprocess.run([SOLVER, path, "--level", str(level), "--max-states", str(max_states)] +
                             (["--first"] if first else []) +
                             (["--max-moves", str(max_moves)] if max_moves else []) +
                             (["--steps"] if steps else []),
                             capture_output=True, text=True, timeout=900).stdout
    except subprocess.TimeoutExpired:
        out = ""
    finally:
        os.unlink(path)
    res = solver_result(out)
    if res is None:
        return None
    stats = res["stats"]
    dead = None if stats["deadends"] == "unknown" else int(stats["deadends"])
    result = {"moves": int(stats["moves"]), "dead": dead, "states": int(stats["states"]),
              "exact": stats.get("fewest") == "exact",
              "script": [l for l in res["script"] if not l.startswith("steps=")], "used": res["used"]}
    if steps:
        counted = [s + (0,) for s in level_table.steps_line(out) or []]
        result["critical"] = level_table.step_counts(counted)[0] if dead is not None else None
    return result


# What a winning play shows of each mechanic (see tovi-solve's "used=" line);
# a block's worth is not visible, so a level with one is kept on the solver's word.
SHOWS = {"H": "carried", "V": "carried", "M": "stuck", "T": "teleported", "C": "crumbled", "S": None,
         "G": "lifted", "B": None}
CACHE = {}
CACHED_ONLY = False   # take only boards already searched (a quick rerun)


def platforms(theme):
    return bool(set(theme) & set("HV"))


def wide(chapter, theme):
    """Whether a board of this kind is taken without a search to the end."""
    return chapter >= 2


def job(args):
    chapter, seed, level = args
    c = candidate(chapter, seed)
    if c is None:
        return None
    rows, theme = c
    key = "%d:%s" % (level, "".join(rows))
    if key in CACHE:
        res = CACHE[key]
    elif CACHED_ONLY:
        return None
    else:
        # Boards with platforms are too big to search to the end (every moment of
        # the ride is a board of its own), and so are most of the later chapters';
        # for them the fewest moves found must do. The rest get a second, bigger
        # search when the first could not finish.
        if wide(chapter, theme):
            res = solve(rows, level, MAX_STATES // 2, first=True)
        else:
            res = solve(rows, level, MAX_STATES)
            if res is not None and res["dead"] is None:
                res = solve(rows, level, 4 * MAX_STATES) or res
    if res is None:
        return (seed, rows, theme, None, key)
    return (seed, rows, theme, res, key)


def mirror_key(rows):
    return "".join(r[::-1] for r in rows)


def write(n, title, rows, script, par=0):
    path = os.path.join(ROOT, "levels", "level%d.txt" % n)
    # A teaching level keeps its caption; a par of 0 (unknown) writes no par line.
    caption = bl.notes(path)[0] if os.path.exists(path) else ""
    with open(path + ".tmp", "w") as f:
        f.write("title: %s\n" % title)
        if caption:
            f.write("caption: %s\n" % caption)
        if par:
            f.write("par: %d\n" % par)
        for r in rows:
            f.write(r + "\n")
        f.write("solution:\n")
        for l in script:
            f.write(l + "\n")
    os.replace(path + ".tmp", path)


def existing_keys(skip_chapter):
    keys = set()
    for n in range(1, 101):
        if chapter_of(n) == skip_chapter:
            continue
        p = os.path.join(ROOT, "levels", "level%d.txt" % n)
        if os.path.exists(p):
            rows = bl.parse(p)[1]
            keys.add("".join(rows))
    return keys


# The level that teaches each mechanic; no level before it uses it.
TAUGHT = {26: "B", 29: "H", 32: "V", 51: "M", 54: "T", 57: "C", 76: "S", 79: "G"}
POOL = {1: 240, 2: 300, 3: 300, 4: 300}


def hardness(res):
    """Dead ends met, for ordering; a board too big to search to the end ranks by
    the boards its search met before it stopped."""
    return res["dead"] if res["dead"] is not None else res["states"]


# Hazards for a proven board of walls and treasures, by chapter: blocks to shift
# out of the way; mud and crumbling slabs; spike pits (with a block to jam one).
HAZARDS = {2: "B", 3: "M", 4: "SB"}
SPARE_TAKEN = set()   # first-chapter boards already given to a later chapter


def replays(rows, level, script):
    """Whether the script still wins the board, played by tovi-sim; with spike
    pits, whatever moment of the spikes' cycle the play starts in, since a player's
    frames never keep the solver's rhythm."""
    if "S" in "".join(rows):
        return all(replays_once(rows, level, ["0 790 10 %d" % k] + script) for k in (1, 3, 5, 7, 9, 11, 13, 15, 17))
    return replays_once(rows, level, script)


def replays_once(rows, level, script):
    """Whether the script wins the board, played by tovi-sim."""
    data = encode_board(ENCODER, level, rows)
    with tempfile.TemporaryDirectory(prefix="tovi-gen-") as tmp:
        with open(os.path.join(tmp, "b.bin"), "wb") as f:
            f.write(data)
        with open(os.path.join(tmp, "s.txt"), "w") as f:
            f.write("\n".join(script) + "\n")
        out = subprocess.run([os.path.join(os.path.dirname(SOLVER), "tovi-sim"), "--level", str(level), "--file",
                              os.path.join(tmp, "b.bin"), "--quiet", os.path.join(tmp, "s.txt")],
                             capture_output=True, text=True, cwd=tmp).stdout.strip().splitlines()
    return bool(out) and out[-1].startswith("WON")


def hazard_variants(chapter, level, count, used):
    """Boards of the first chapter's kind that the solver proved but the first
    chapter did not take, given the chapter's hazards where the stored win does
    not pass: a careless move meets them, the win still stands (replayed to be sure)."""
    spare = []
    for key, res in sorted(CACHE.items()):
        lv, text = key.split(":", 1)
        if res is None or chapter_of(int(lv)) != 1:
            continue
        rows = [text[i:i + COLS] for i in range(0, len(text), COLS)]
        if set(text) & set("BHVMTOPGCS") or text in used or mirror_key(rows) in used or text in SPARE_TAKEN:
            continue
        spare.append((res["moves"], hardness(res), text, res))
    spare.sort()
    # every other spare board, so the next chapter also gets a share of the hard ones
    spare = spare[::2] + spare[1::2]
    out = []
    for k, (_m, _h, text, res) in enumerate(spare):
        if len(out) >= count:
            break
        rng = random.Random("%d:%s" % (chapter, text))
        for _try in range(6):
            b = [list(text[i:i + COLS]) for i in range(0, len(text), COLS)]
            added = 0
            for m in HAZARDS[chapter]:
                if m == "B":
                    added += put(rng, b, "B", solid="#") is not None
                elif m == "M":
                    cells = [(c, r) for r in range(1, ROWS - 1) for c in range(1, COLS - 1)
                             if b[r][c] == "#" and b[r - 1][c] == "."]
                    if cells:
                        c, r = rng.choice(cells)
                        b[r][c] = "M"
                        added += 1
                elif m == "C":
                    cells = [(c, r) for r in range(2, ROWS - 2) for c in range(1, COLS - 1)
                             if b[r][c] == "#" and b[r - 1][c] == "." and b[r + 1][c] == "."]
                    if cells and rng.random() < 0.6:
                        c, r = rng.choice(cells)
                        b[r][c] = "C"
                        added += 1
                elif m == "S":
                    cells = [(c, r) for r in range(1, ROWS - 1) for c in range(1, COLS - 1)
                             if b[r][c] == "." and b[r + 1][c] == "#" and b[r][c - 1] == "#" and b[r][c + 1] == "#"]
                    cells = cells or [(c, r) for r in range(1, ROWS - 1) for c in range(1, COLS - 1)
                                      if b[r][c] == "." and b[r + 1][c] == "#" and b[r - 1][c] == "."]
                    if cells:
                        c, r = rng.choice(cells)
                        b[r][c] = "S"
                        added += 1
            rows = ["".join(r) for r in b]
            try:
                bl.check("variant", rows)
            except bl.LevelError:
                continue
            if added and replays(rows, level, res["script"]):
                used.add("".join(rows))
                SPARE_TAKEN.add(text)
                theme = "".join(sorted(set("".join(rows)) & set(HAZARDS[chapter])))
                out.append((-1 - k, rows, dict(res, dead=None, exact=False), theme))
                break
    return out


def searched(pool, fn, jobs, chapter, every):
    """The boards the jobs propose, with the solver's word on each (recorded in
    the cache, which is saved every so often)."""
    done = 0
    for r in pool.imap(fn, jobs, chunksize=1):
        if r is None:
            continue
        seed, rows, theme, res, key = r
        CACHE[key] = res
        done += 1
        if done % every == 0:
            save_cache()
            print("chapter %d: %d of %d boards tried" % (chapter, done, len(jobs)), flush=True)
        yield seed, rows, theme, res


def shows_its_mechanics(theme, res):
    """Whether the winning play makes use of what the board was built to show."""
    shown = [SHOWS[m] for m in theme if SHOWS[m]]
    return not shown or any(u in res["used"] for u in shown)


def make_chapter(chapter, pool):
    first = LEVELS_PER_CHAPTER * (chapter - 1) + 1
    used = existing_keys(chapter)
    teach = {n: v for n, v in TEACH.items() if first <= n < first + LEVELS_PER_CHAPTER}
    for n, (title, lines) in sorted(teach.items()):
        rows = board(lines)
        bl.check("level%d" % n, rows)
        key = "%d:%s" % (n, "".join(rows))
        res = CACHE.get(key) or solve(rows, n, TEACH_STATES)
        CACHE[key] = res
        if res is None:
            sys.exit("teaching level %d has no solution" % n)
        write(n, title, rows, res["script"])
        used.add("".join(rows))
        print("level %d: %s moves=%d dead=%s" % (n, title, res["moves"], res["dead"]), flush=True)
    slots = [n for n in range(first, first + LEVELS_PER_CHAPTER) if n not in teach]
    jobs = [(chapter, chapter * 100000 + s, slots[0]) for s in range(POOL[chapter])]
    found = []
    for seed, rows, theme, res in searched(pool, job, jobs, chapter, 40):
        if res is None or not res.get("exact", res["dead"] is not None) or (res["dead"] is None and not wide(chapter, theme)):
            continue
        if not shows_its_mechanics(theme, res):
            continue
        if "S" in "".join(rows) and not replays(rows, slots[0], res["script"]):
            continue
        found.append((seed, rows, res, theme))
    save_cache()
    picks = []
    for seed, rows, res, theme in sorted(found, key=lambda r: (r[2]["moves"], hardness(r[2]), r[0])):
        key = "".join(rows)
        if key in used or mirror_key(rows) in used:
            continue
        used.add(key)
        picks.append((seed, rows, res, theme))
    print("chapter %d: %d proven candidates, %d distinct" % (chapter, len(found), len(picks)), flush=True)
    # Too few found, or none fit for the levels right after a teaching one: top
    # up with proven boards given the chapter's first hazards.
    if len(picks) < len(slots) + 3:
        extra = hazard_variants(chapter, slots[0], max(3, len(slots) - len(picks)), used)
        print("chapter %d: %d more from proven boards with hazards added" % (chapter, len(extra)), flush=True)
        picks = sorted(picks + extra, key=lambda r: (r[2]["moves"], hardness(r[2]), r[0]))
    if len(picks) < len(slots):
        sys.exit("chapter %d: only %d proven boards for %d levels" % (chapter, len(picks), len(slots)))
    # Spread the picks over the sorted range so difficulty rises through the
    # chapter, the hardest closing it; a level uses only mechanics taught by then.
    step = (len(picks) - 1) / (len(slots) - 1)
    chosen = []
    taken = set()
    for i, n in enumerate(slots):
        allowed = set(m for t, m in TAUGHT.items() if t <= n)
        fits = [k for k in range(len(picks)) if k not in taken and set(picks[k][3]) <= allowed]
        if not fits:
            sys.exit("chapter %d: no proven board for level %d" % (chapter, n))
        target = round(i * step) if n != slots[-1] else len(picks) - 1
        k = min(fits, key=lambda k: (abs(k - target), k))
        taken.add(k)
        chosen.append(picks[k][:3])
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


# Harder boards for given levels of a chapter: more treasures, no platforms (a
# ride makes a board too big to search), and only boards whose fewest moves the
# search settled at MIN_MOVES or more. Levels keep their titles.
HARD_THEMES = {2: ["B"],
               3: ["M", "T", "C", "MT", "TC", "MC", "MB", "CB", "T", "MT"],
               4: ["S", "G", "SB", "GB", "SG", "SM", "GT", "SC", "GM", "SB"]}
HARD_SIZE = {3: (2, 3, 5, 7), 4: (2, 3, 5, 7)}
HARD_POOL = 400
HARD_SPARE = 0      # boards found beyond those needed before the search stops
HARD_STATES = 60000


DEEP_STATES = 20000  # a --deeper board's search, to the end, meets no more boards than this
DEEP_SIZE = {3: (2, 3, 4, 6), 4: (2, 3, 4, 6)}
DEEP_POOL = 1500     # seeds; most of the temple's do not make a board at all
# --decide: boards searched to the end (up to DECIDE_STATES) with a step where at most a
# third of the drags keep a win, fuller than the chapter's first boards.
DECIDE_STATES = 60000
DECIDE_SIZE = (2, 3, 5, 8)  # kinds lo, hi; elements lo, hi
DECIDE_POOL = 6000   # seeds; about one board in two hundred has such a step
# Each way of searching: its boards' sizes, their first seed past the chapter's
# hundred thousand, how many seeds, and how its results are keyed in the cache.
SEARCHES = {"first": (HARD_SIZE, 50000, HARD_POOL, "%(level)d:"),
            "deep": (DEEP_SIZE, 70000, DEEP_POOL, "full-ch%(chapter)d:"),
            "decide": ({c: DECIDE_SIZE for c in range(1, 5)}, 80000, DECIDE_POOL, "steps-ch%(chapter)d:")}


def hard_job(args):
    """mode: "first" (the fewest settled), "deep" (searched to the end) or "decide"
    (searched to the end, its critical steps counted)."""
    chapter, seed, level, mode = args
    sizes, _, _, prefix = SEARCHES[mode]
    c = candidate(chapter, seed, HARD_THEMES.get(chapter), sizes.get(chapter))
    if c is None:
        return None
    rows, theme = c
    # a full search does not depend on which level of the chapter plays the board
    key = prefix % {"level": level, "chapter": chapter} + "".join(rows)
    if key in CACHE:
        return (seed, rows, theme, CACHE[key], key)
    if CACHED_ONLY:
        return None
    if mode == "deep":
        res = solve(rows, level, DEEP_STATES, max_moves=40)
    elif mode == "decide":
        res = solve(rows, level, DECIDE_STATES, max_moves=40, steps=True)
    else:
        res = solve(rows, level, HARD_STATES, first=True)
    return (seed, rows, theme, res, key)


def assign(levels, found):
    """The boards for the levels, the easiest to the lowest level, each using only
    mechanics taught by its level; None while the boards found do not go round."""
    out, taken = [], set()
    for n in sorted(levels):
        allowed = set(m for t, m in TAUGHT.items() if t <= n)
        fits = [k for k in range(len(found)) if k not in taken and set(found[k][5]) <= allowed]
        if not fits:
            return None
        taken.add(fits[0])
        out.append(found[fits[0]])
    return out


def make_harder(chapter, levels, lo, hi, pool, min_dead=None, decide=False):
    """Replaces the given levels with boards needing lo..hi moves (fewest settled);
    with min_dead, boards searched to the end that meet at least min_dead dead ends;
    with decide, boards searched to the end that have a critical step as well."""
    used = existing_keys(None)
    for n in levels:
        used.discard("".join(bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n))[1]))
    mode = "decide" if decide else "deep" if min_dead is not None else "first"
    _, first_seed, pool_size, _ = SEARCHES[mode]
    jobs = [(chapter, chapter * 100000 + first_seed + s, levels[0], mode) for s in range(pool_size)]
    found = []
    picks = None
    for seed, rows, theme, res in searched(pool, hard_job, jobs, chapter, 20):
        if res is None or not res["exact"] or not lo <= res["moves"] <= hi:
            continue
        if min_dead is not None and (res["dead"] is None or res["dead"] < min_dead):
            continue
        if decide and not res.get("critical"):
            continue
        if not shows_its_mechanics(theme, res):
            continue
        text = "".join(rows)
        if text in used or mirror_key(rows) in used:
            continue
        if "S" in text and not replays(rows, levels[0], res["script"]):
            continue
        used.add(text)
        found.append((res["moves"], res["dead"] or 0, res["states"], seed, rows, theme, res))
        found.sort(key=lambda f: f[:4])
        if len(found) >= len(levels) + HARD_SPARE:
            picks = assign(levels, found)
            if picks:
                break
    save_cache()
    if not picks:
        sys.exit("chapter %d: only %d boards for %d levels" % (chapter, len(found), len(levels)))
    for n, (moves, dead, states, seed, rows, theme, res) in zip(sorted(levels), picks):
        title = bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n))[0]
        write(n, title, rows, res["script"], moves)  # the search settled the fewest: the par
        print("level %d: %s moves=%d dead=%s seed=%d" % (n, title, moves, res["dead"], seed), flush=True)


def sort_levels(first, last):
    """Orders the levels first..last that teach nothing by the moves of their stored
    wins (a stable sort), so difficulty rises through a chapter, except that no board
    comes before the level that teaches a mechanic it has; the titles and the
    teaching levels keep their places, and each board takes its par along."""
    levels = [n for n in range(first, last + 1)
              if not bl.notes(os.path.join(ROOT, "levels", "level%d.txt" % n))[0]]
    parsed = {n: bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n)) for n in levels}
    pars = {n: bl.notes(os.path.join(ROOT, "levels", "level%d.txt" % n))[1] for n in levels}
    taught = bl.taught_in_sources(ROOT)
    left = sorted(levels, key=lambda n: drag_moves(parsed[n][2]))
    order = []
    for n in levels:  # the easiest board whose mechanics have all been taught by level n
        fits = [old for old in left if all(taught.get(ch, 0) <= n for ch in bl.mechanics(parsed[old][1]))]
        order.append((fits or left)[0])
        left.remove(order[-1])
    for n, old in zip(levels, order):
        write(n, parsed[n][0], parsed[old][1], parsed[old][2], pars[old])
        print("level %d: the board of level %d, %d moves" % (n, old, drag_moves(parsed[old][2])), flush=True)


CACHE_FILE = None


def load_cache():
    if CACHE_FILE and os.path.exists(CACHE_FILE):
        with open(CACHE_FILE) as f:
            CACHE.update(json.load(f))


def save_cache():
    if CACHE_FILE:
        with open(CACHE_FILE + ".tmp", "w") as f:
            json.dump(CACHE, f)
        os.replace(CACHE_FILE + ".tmp", CACHE_FILE)


def main(argv):
    global SOLVER, ENCODER, CACHE_FILE
    if len(argv) < 2:
        sys.exit(__doc__)
    SOLVER = os.path.join(os.path.abspath(argv[1]), "tovi-solve")
    try:
        ENCODER = find_encoder(os.path.join(os.path.abspath(argv[1]), "tovi-encode"))
    except EncoderError as e:
        sys.exit(str(e))
    # Solver results are kept beside the solver, so a second run only searches new boards.
    CACHE_FILE = os.path.join(os.path.abspath(argv[1]), "level-search-cache.json")
    load_cache()
    global CACHED_ONLY
    args = argv[2:]
    if "--cached" in args:
        CACHED_ONLY = True
        args.remove("--cached")
    for extra in [a for a in args if a.endswith(".json")]:
        with open(extra) as f:
            CACHE.update(json.load(f))
        args.remove(extra)
    if args and args[0] == "--sort":
        # --sort FIRST LAST: a run of levels that uses no mechanic taught inside it
        sort_levels(int(args[1]), int(args[2]))
        return
    if args and args[0] == "--deeper":
        # --deeper CHAPTER LEVEL,LEVEL,... MIN_DEAD_ENDS MAX_MOVES
        chapter, levels = int(args[1]), [int(n) for n in args[2].split(",")]
        with multiprocessing.Pool(2) as pool:
            make_harder(chapter, levels, 1, int(args[4]), pool, min_dead=int(args[3]))
        return
    if args and args[0] == "--decide":
        # --decide CHAPTER LEVEL,LEVEL,... MIN_MOVES MAX_MOVES
        chapter, levels = int(args[1]), [int(n) for n in args[2].split(",")]
        with multiprocessing.Pool(2) as pool:
            make_harder(chapter, levels, int(args[3]), int(args[4]), pool, min_dead=0, decide=True)
        return
    if args and args[0] == "--harder":
        # --harder CHAPTER LEVEL,LEVEL,... MIN_MOVES [MAX_MOVES]
        chapter, levels, lo = int(args[1]), [int(n) for n in args[2].split(",")], int(args[3])
        hi = int(args[4]) if len(args) > 4 else 99
        with multiprocessing.Pool(2) as pool:
            make_harder(chapter, levels, lo, hi, pool)
        return
    chapters = [int(a) for a in args] or [1, 2, 3, 4]
    with multiprocessing.Pool(2) as pool:
        for chapter in chapters:
            make_chapter(chapter, pool)


if __name__ == "__main__":
    main(sys.argv)
