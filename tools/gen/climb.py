#!/usr/bin/python3
"""Climbs a level's board towards a longer, fuller puzzle, a cell at a time.

Usage:
    /usr/bin/python3 tools/gen/climb.py BUILD_DIR LEVEL [--seconds S] [--seed S] [--target D]
                                        [--most M] [--pieces P] [--kinds K] [--want NAMES] [--critical W]
                                        [--forced F] [--deep B] [--write]

Starting from the board of levels/level<LEVEL>.txt, one thing changes at a time:
a wall cell set beside a wall or knocked down, a ledge of two or three cells laid or cleared,
an element or a block moved to where it rests, an element added (of a kind the
board has, or a new kind in a pair or, one time in three, in three), turned into
another kind or taken away (never below two of a kind), and past the level that
teaches mud, mud laid on top of a wall (over a drop one time in two, over spikes
instead past the level that teaches them) or taken up, while mud is wanted and
the board does not need it yet (where it is wanted, every way of laying it on the
start is tried first). Each new board is measured by the
solver's fewest-drags search alone, several times cheaper than the whole graph
tovi-design measures; it must settle the fewest within 100000 boards, as the
level table does. So more boards are tried, and boards too large for the whole
graph are open to it. Along the win it finds, a quick probe plays every drag at
the start and at each step, and counts as losing those that leave a board lost
at once or with an element that can no longer reach a partner (so its counts
are lower bounds); with --deep B, a board that may be kept takes its choices from
its whole graph instead where that has no more than B boards (along the shortest
win with the most critical steps). The score is the fewest drags up to D (14), plus elements up
to P (8), each weighing as much as a drag, kinds up to K (3), each as much as
two, an odd count, each mechanic named in --want (mud, spikes...) that the
board cannot be won without, losing first drags up to a quarter (as much as
four drags), the losing drags of the step with the most of them, up to two
thirds (four), a critical step (W, two unless said: at most a third of the drags keep a
win) and a forced step (F, two unless said: one drag does). A board is kept when it obeys
the builder's rules, every piece rests, it wins in no fewer drags than the start
(nor more than M, where the start has no more),
it needs every mechanic the start needed (turned to wall or removed, measured as
the level table does) and it scores at least as high as the current one (an equal
score is walked onto one time in three). A board with a platform or spikes must
also have a win that holds from at least half of the moments of the platform's
ride or the spikes' cycle.

The best board and its measures are printed as it goes; --write puts it into
the level's source with the solver's shortest win as its solution and par (title
and caption kept).

BUILD_DIR holds tovi-solve, tovi-sim and tovi-encode.
"""

import os
import random
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import build_levels as bl  # noqa: E402
import level_table  # noqa: E402
import motifs  # noqa: E402
from levelkit import ELEMENTS, element_counts, find_encoder, solver_result  # noqa: E402

LETTERS = "".join(sorted(ELEMENTS))
SUPPORT = "#BC" + LETTERS  # what a piece at rest can stand on
MOVABLE = "B" + LETTERS


INTERIOR = [(r, c) for r in range(1, 11) for c in range(1, 19)]  # the cells inside the border, over the floor


def rests(b):
    """Every element and block stands on something that holds it."""
    return all(b[r][c] not in MOVABLE or b[r + 1][c] in SUPPORT for r, c in INTERIOR)


def landing(b, rng):
    """An empty cell a piece set there would rest in, or None."""
    spots = [(r, c) for r, c in INTERIOR if b[r][c] == "." and b[r + 1][c] in SUPPORT]
    return rng.choice(spots) if spots else None


def wall_tops(b):
    """The cells on top of a wall, not of a lone cell: where mud is laid."""
    return [(r, c) for r, c in INTERIOR if b[r][c] == "#" and b[r - 1][c] == "." and
            "#" in (b[r + 1][c], b[r][c - 1], b[r][c + 1])]


def mud_boards(board, under):
    """Every board with mud laid on one wall top of BOARD, over the wall below it and,
    where that is a wall, over each of UNDER (a drop, spikes) as well: the first boards
    tried where mud is wanted and not yet needed."""
    out = []
    for r, c in wall_tops(board):
        b = [list(row) for row in board]
        b[r][c] = "M"
        out.append(["".join(row) for row in b])
        if r < 10 and b[r + 1][c] == "#":
            for ch in under:
                b[r + 1][c] = ch
                out.append(["".join(row) for row in b])
    return [rows for rows in out if rests(rows)]


def mutate(board, rng, kinds, mud, mud_share, under):
    """A board one change away from BOARD, or None when the change drawn does not apply.
    With MUD (taught before the level), mud may be laid or taken up as well, in a
    share MUD_SHARE of the changes, one time in two over UNDER (a drop or spikes)."""
    b = [list(row) for row in board]
    counts = element_counts(board)
    roll = rng.random()
    if mud and rng.random() < mud_share:  # mud laid on top of a wall, over UNDER one time in two, or taken up
        pits = [(r, c) for r, c in INTERIOR if b[r][c] == "M"]
        tops = wall_tops(b)
        if pits and (rng.random() < 0.3 or not tops):
            r, c = rng.choice(pits)
            b[r][c] = rng.choice("#.")
        elif tops:
            r, c = rng.choice(tops)
            b[r][c] = "M"
            if r < 10 and b[r + 1][c] == "#" and rng.random() < 0.5:
                b[r + 1][c] = under
        else:
            return None
    elif roll < 0.35:  # a wall cell
        r, c = rng.choice(INTERIOR)
        if b[r][c] not in ".#":
            return None
        if b[r][c] == "." and "#" not in (b[r - 1][c], b[r + 1][c], b[r][c - 1], b[r][c + 1]):
            return None  # a wall grows from a wall: no lone cells in the sky
        b[r][c] = "." if b[r][c] == "#" else "#"
    elif roll < 0.45:  # a ledge laid or cleared
        r, c, w = rng.randint(1, 10), rng.randint(1, 16), rng.randint(2, 3)
        fill = rng.choice(".#")
        if any(b[r][c + i] not in ".#" for i in range(w)):
            return None
        for i in range(w):
            b[r][c + i] = fill
    elif roll < 0.70:  # a piece moved
        pieces = [(r, c) for r, c in INTERIOR if b[r][c] in MOVABLE]
        if not pieces:
            return None
        r, c = rng.choice(pieces)
        ch, b[r][c] = b[r][c], "."
        spot = landing(b, rng)
        if not spot:
            return None
        b[spot[0]][spot[1]] = ch
    elif roll < 0.85:  # an element added: one of a kind there is, or a new kind in a pair or three
        fresh = [k for k in kinds if k not in counts]
        if counts and (rng.random() < 0.5 or not fresh):
            adds = [rng.choice(sorted(counts))]
        else:
            adds = [rng.choice(fresh)] * (3 if rng.random() < 1 / 3 else 2)
        for ch in adds:
            spot = landing(b, rng)
            if not spot:
                return None
            b[spot[0]][spot[1]] = ch
    else:  # an element turned into another kind, or taken away
        spare = [(r, c) for r, c in INTERIOR if b[r][c] in counts and counts[b[r][c]] > 2]
        if not spare:
            return None
        r, c = rng.choice(spare)
        others = [k for k in counts if k != b[r][c]]
        b[r][c] = rng.choice(others) if others and rng.random() < 0.6 else "."
    rows = ["".join(row) for row in b]
    return rows if rests(rows) else None


def settled(n, rows, millis):
    """(the fewest drags, the win, the choices) when the fewest-drags search settles
    them within 100000 boards, else (None, None, None): a board whose fewest is only
    bounded is not kept. The choices come from a quick probe along the win: every
    drag at the start and at each of its steps played, and counted as losing only
    where the board it leaves is lost or an element can no longer reach a partner;
    (losing first drags in 100, the most losing drags in 100 at a step, critical
    steps, forced steps), each at least that."""
    path = motifs.level_file(n, rows)
    if not path:
        return None, None, None
    out = level_table.run_solver(path, n, "--probe", "--steps", "--max-moves", "40", "--max-states", "100000",
                                 "--probe-states", "1", "--millis", str(millis), millis=millis)
    r = solver_result(out)
    if not r or r["stats"].get("fewest") != "exact" or r["stats"].get("probe") != "1":
        return None, None, None
    choices = choices_of(r, level_table.steps_line(out) or [])
    return int(r["stats"]["moves"]), [l for l in r["script"] if not l.startswith("steps=")], choices


def choices_of(r, steps):
    """The choices settled() gives, from a solver result R and its STEPS (drags,
    winning, shortest, unknown)."""
    first, losing = int(r["stats"]["first"]), int(r["stats"]["firstlosing"])
    return (100 * losing // max(first, 1),
            max([100 * (drags - winning - unknown) // drags for drags, winning, _, unknown in steps if drags] or [0]),
            *level_table.step_counts(steps))


def graph_choices(n, rows, states):
    """The choices as settled() gives them, from the whole graph (the shortest win with the
    most critical steps) when it has no more than STATES boards, else None."""
    path = motifs.level_file(n, rows)
    if not path:
        return None
    out = level_table.run_solver(path, n, "--steps", "--max-moves", "40", "--max-states", str(states),
                                 "--millis", "60000")
    r = solver_result(out)
    steps = level_table.steps_line(out)
    if not r or r["stats"].get("deadends", "unknown") == "unknown" or steps is None:
        return None
    return choices_of(r, [s + (0,) for s in steps])


def score(fewest, rows, needed, choices, opts):
    counts = element_counts(rows)
    odd = any(v % 2 for v in counts.values())
    share, step, critical, forced = choices
    return (min(fewest, opts["target"]) + min(sum(counts.values()), opts["pieces"]) +
            2 * min(len(counts), opts["kinds"]) + 0.5 * odd + 4 * len(needed & opts["want"]) +
            4 * min(share, 25) / 25 + 4 * min(step, 67) / 67 +
            opts["critical"] * (critical > 0) + opts["forced"] * (forced > 0))


def told(choices):
    return "at least %d %% losing first drags, %d %% at a step, %d critical and %d forced steps" % choices


def main(argv):
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
    opts = {"seconds": opt("--seconds", 240.0), "seed": opt("--seed", 0), "target": opt("--target", 14),
            "most": opt("--most", 99), "critical": opt("--critical", 2.0),
            "forced": opt("--forced", 2.0), "deep": opt("--deep", 0),
            "pieces": opt("--pieces", 8), "kinds": opt("--kinds", 3),
            "want": set(w for w in opt("--want", "").split(",") if w)}
    if len(args) != 2:
        sys.exit(__doc__)
    build = os.path.abspath(args[0])
    n = int(args[1])
    motifs.BUILD = level_table.BUILD = build
    motifs.ENCODER = level_table.ENCODER = find_encoder(os.path.join(build, "tovi-encode"))
    src = os.path.join(motifs.ROOT, "levels", "level%d.txt" % n)
    _, board, _ = bl.parse(src)
    rng = random.Random(opts["seed"] or n)
    kinds = sorted(set(ch for row in board for ch in row if ch in ELEMENTS) | set(rng.sample(LETTERS, 6)))
    taught = bl.taught_in_sources(motifs.ROOT)
    mud = taught.get("M", 101) < n
    drops = ".S" if taught.get("S", 101) < n else "."  # what mud may be laid over where a wall is taken away
    under = drops[-1]
    with tempfile.TemporaryDirectory() as motifs.TMP:
        fewest0, _, choices0 = settled(n, board, 60000)
        if opts["deep"]:
            choices0 = graph_choices(n, board, opts["deep"]) or choices0
        if fewest0 is None:
            sys.exit("level %d: the fewest drags are not settled within 100000 boards" % n)
        kept = motifs.needs(n, board)
        cur, cur_needed = board, kept
        cur_score = best_score = score(fewest0, board, kept, choices0, opts)
        print("level %d: %d drags, %d elements, needs %s, %s, score %.1f" % (
            n, fewest0, sum(element_counts(board).values()), ", ".join(sorted(kept)) or "nothing",
            told(choices0), cur_score), flush=True)
        best, seen, tried, start = None, {tuple(board)}, 0, time.time()
        # Where mud is wanted and not needed, each way of laying it is tried first.
        sweep = mud_boards(board, drops) if mud and "mud" in opts["want"] - kept else []
        rng.shuffle(sweep)
        while time.time() - start < opts["seconds"]:
            share = 0.3 if "mud" in opts["want"] - cur_needed else 0
            rows = sweep.pop() if sweep else mutate(cur, rng, kinds, mud, share, under)
            if not rows or tuple(rows) in seen:
                continue
            seen.add(tuple(rows))
            try:
                bl.check("candidate", rows)
            except bl.LevelError:
                continue
            tried += 1
            f, script, choices = settled(n, rows, 20000)
            if f is None or f < fewest0 or f > max(opts["most"], fewest0):
                continue
            bound = score(f, rows, opts["want"], (100, 100, 1, 1) if opts["deep"] else choices,
                          opts)  # the most the board can score
            if bound < cur_score or (bound == cur_score and rng.random() >= 1 / 3):
                continue
            if opts["deep"]:  # the whole graph, only for a board that may be kept
                choices = graph_choices(n, rows, opts["deep"]) or choices
            needed = motifs.needs(n, rows)
            if not kept <= needed:
                continue
            s = score(f, rows, needed, choices, opts)
            if s < cur_score or (s == cur_score and rng.random() >= 1 / 3):
                continue
            if level_table.timed(rows) and not motifs.steady(n, rows, script):
                continue
            cur, cur_needed, cur_score = rows, needed, s
            if s > best_score:
                best, best_score = (f, rows), s
                print("after %d boards, %.0f s: %d drags, %d elements, needs %s, %s, score %.1f\n%s" % (
                    tried, time.time() - start, f, sum(element_counts(rows).values()),
                    ", ".join(sorted(needed)) or "nothing", told(choices), s, "\n".join(rows)), flush=True)
        print("%d boards tried" % tried)
        if not best:
            sys.exit("no better board found")
        if write:
            f, script, _ = settled(n, best[1], 60000)
            if f is None:
                sys.exit("the best board's fewest drags are no longer settled")
            motifs.write_level(n, src, best[1], f, script, level_table.timed(best[1]))


if __name__ == "__main__":
    main(sys.argv)
