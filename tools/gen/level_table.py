#!/usr/bin/python3
"""Writes levels/TABLE.md: every level with its chapter, the mechanics it uses,
the length of its stored solution, what the solver says of it (the fewest moves
that win and the dead ends met, or "search too large") and a thumbnail of its
board drawn by the game itself (docs/levels/level<N>.png).

Usage:
    /usr/bin/python3 tools/gen/level_table.py BUILD_DIR [SEARCH_CACHE...]
BUILD_DIR holds tovi-solve and tovi-sim; the level generator's records of its
searches (BUILD_DIR/level-search-cache.json and any others named) spare searching
a board again.
"""

import json
import multiprocessing
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import build_levels as bl  # noqa: E402
from levelkit import chapter_of, drag_moves, opens_chapter, solver_result  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
THUMBS = os.path.join(ROOT, "docs", "levels")
MECHANICS = [("B", "block"), ("H", "ferry"), ("V", "lift"), ("M", "mud"), ("T", "teleport"),
             ("C", "crumbling"), ("S", "spikes"), ("G", "magnet")]
FULL_STATES = 20000    # boards a search for the dead ends may meet
FIRST_STATES = 100000  # and one for the fewest moves only
BUILD = None
KNOWN = {}
GRADES = {}  # board -> [fewest, dead ends], kept in BUILD_DIR/level-grades.json


def search(path, n, *flags):
    """The summary line of tovi-solve on a level file, as a dict (empty when unsolved)."""
    out = subprocess.run([os.path.join(BUILD, "tovi-solve"), path, "--level", str(n)] + list(flags),
                         capture_output=True, text=True, timeout=3600).stdout
    res = solver_result(out)
    return res["stats"] if res else {}


def grade(n):
    """The solver's word on level n: (n, board, fewest moves or None, dead ends or None). A
    full search, up to FULL_STATES boards, counts the dead ends; when it stops
    before a win is settled, a search for the first win only (up to FIRST_STATES
    boards) settles the fewest moves. Results are kept by board, and the level
    generator's records of its searches are taken where they settle the board."""
    board = "".join(bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n))[1])
    if board in GRADES:
        return (n, board) + tuple(GRADES[board])
    fewest = dead = None
    for key, res in KNOWN.items():
        if key.split(":", 1)[1] == board and res is not None and not opens_chapter(n) and res.get("exact", True):
            # dead ends only from a search no bigger than the table's own
            fewest, dead = res["moves"], res["dead"] if res["states"] <= FULL_STATES else None
    path = os.path.join(ROOT, "media", "levels", "level%d.bin" % n)
    if dead is None:
        full = search(path, n, "--max-moves", "40", "--max-states", str(FULL_STATES))
        if full.get("fewest") == "exact":
            fewest = int(full["moves"])
        if full.get("deadends", "unknown") != "unknown":
            dead = int(full["deadends"])
    if fewest is None:
        first = search(path, n, "--first", "--max-states", str(FIRST_STATES))
        if first.get("fewest") == "exact":
            fewest = int(first["moves"])
    return n, board, fewest, dead


def thumbnail(n):
    """The board as the player first sees it, shrunk to a fifth. A chapter's first
    level is played under the next level's number, so no chapter picture covers it."""
    os.makedirs(THUMBS, exist_ok=True)
    played = n + 1 if opens_chapter(n) else n
    with tempfile.TemporaryDirectory() as tmp:
        script = os.path.join(tmp, "wait.txt")
        shot = os.path.join(tmp, "shot.png")
        with open(script, "w") as f:
            f.write("0 790 10 3\n")
        env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
        subprocess.run([os.path.join(BUILD, "tovi-sim"), "--level", str(played), "--file",
                        os.path.join(ROOT, "media", "levels", "level%d.bin" % n), "--shot", shot, "--quiet",
                        script], cwd=ROOT, env=env, capture_output=True, check=True)
        subprocess.run(["convert", shot, "-crop", "800x480+0+0", "-resize", "160x96", "-strip",
                        os.path.join(THUMBS, "level%d.png" % n)], check=True)


def main(argv):
    global BUILD
    if len(argv) < 2:
        sys.exit(__doc__)
    BUILD = os.path.abspath(argv[1])
    for cache in [os.path.join(BUILD, "level-search-cache.json")] + argv[2:]:
        if os.path.exists(cache):
            with open(cache) as f:
                KNOWN.update(json.load(f))
    grades_file = os.path.join(BUILD, "level-grades.json")
    if os.path.exists(grades_file):
        with open(grades_file) as f:
            GRADES.update(json.load(f))
    with multiprocessing.Pool(2) as pool:
        graded = pool.map(grade, range(1, bl.LEVELS + 1), chunksize=1)
    grades = {n: (m, d) for n, _board, m, d in graded}
    GRADES.update({board: [m, d] for _n, board, m, d in graded})
    with open(grades_file + ".tmp", "w") as f:
        json.dump(GRADES, f)
    os.replace(grades_file + ".tmp", grades_file)
    for n in range(1, bl.LEVELS + 1):
        thumbnail(n)
    lines = ["# The levels at a glance", "",
             "Made by `/usr/bin/python3 tools/gen/level_table.py BUILD_DIR`. *Stored* is the length in moves of",
             "the solution kept in the level's source (the proof, replayed by the tests); *fewest* and",
             "*dead ends* come from `tovi-solve` searching the level on the game's engine: a full search",
             "of up to %d boards counts the dead ends (boards from which the level can no longer be won)," % FULL_STATES,
             "and where it stops before the fewest moves are settled, a search for the first win only, of",
             "up to %d boards, settles them. \"search too large\" marks what neither search could settle." % FIRST_STATES, "",
             "| Level | Title | Chapter | Mechanics | Stored | Fewest | Dead ends | Board |",
             "|---:|---|---:|---|---:|---:|---:|---|"]
    per = {}
    for n in range(1, bl.LEVELS + 1):
        title, board, script = bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n))
        chapter = chapter_of(n)
        text = "".join(board)
        mech = ", ".join(name for ch, name in MECHANICS if ch in text) or "walls and treasures"
        m, d = grades[n]
        fewest = str(m) if m is not None else "search too large"
        dead = str(d) if d is not None else "search too large"
        if m is not None:
            per.setdefault(chapter, []).append((m, d))
        lines.append("| %d | %s | %d | %s | %d | %s | %s | ![level %d](../docs/levels/level%d.png) |" %
                     (n, title, chapter, mech, drag_moves(script), fewest, dead, n, n))
    lines += ["", "## The curve", "",
              "Medians per chapter, over the levels whose fewest moves (or dead ends) the search settled.", "",
              "| Chapter | Fewest known | Median fewest moves | Dead ends known | Median dead ends |",
              "|---:|---:|---:|---:|---:|"]
    for chapter in sorted(per):
        ms = sorted(m for m, _ in per[chapter])
        ds = sorted(d for _, d in per[chapter] if d is not None)
        lines.append("| %d | %d | %s | %d | %s |" % (chapter, len(ms), median(ms), len(ds),
                                                   median(ds) if ds else "-"))
    with open(os.path.join(ROOT, "levels", "TABLE.md.tmp"), "w") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(os.path.join(ROOT, "levels", "TABLE.md.tmp"), os.path.join(ROOT, "levels", "TABLE.md"))
    json.dump({str(n): g for n, g in grades.items()}, sys.stdout)


def median(xs):
    k = len(xs)
    m = xs[k // 2] if k % 2 else (xs[k // 2 - 1] + xs[k // 2]) / 2
    return int(m) if m == int(m) else m


if __name__ == "__main__":
    main(sys.argv)
