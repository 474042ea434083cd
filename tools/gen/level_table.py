#!/usr/bin/python3
"""Writes levels/TABLE.md: every level with its chapter, the mechanics it uses,
the length of its stored solution, what the solver says of it and a thumbnail of
its board drawn by the game itself (docs/levels/level<N>.png); then a summary
per chapter with the goals the levels are meant to reach beside it.

Per level, from tovi-solve on the game's engine, each search bounded in boards
(and, as a safety, in time); measuring again the 53 levels whose whole graph had
been too large took 48 minutes on two cores:
- fewest drags: exact when a search settled it, else "at most" the shortest win
  found (or the stored solution's length);
- dead ends and the share of first drags after which no win is left, when the
  whole graph was searched;
- critical and forced steps along a shortest win (of the shortest wins, the one that
  meets the most critical steps, then forced ones): a step where at most a third of
  the drags keep a win, and one where only one does;
- where the whole graph is too large, the share of losing first drags and the
  critical and forced steps come from tovi-solve's probe instead (every drag at
  the start and along the shortest win asked by a bounded search whether a win is
  left): lower bounds, as a drag its search could not settle counts as keeping;
- a greedy player (a drag that wins, else one that matches, else the one that
  brings equal elements closest) and a random one (drags picked at random, up to
  twice the fewest): won or not, and the share of random plays won;
- each mechanic turned to wall and removed, solved again: required when either
  board cannot be won.
Platform and spike levels also get the share of the moments from which the
stored solution still wins (started after waits over a whole ride of the platform
or cycle of the spikes: a spike pit kills only while its spikes are up, so a win
may need an element to pass a pit while they are down). Last, the
titles: any word in more than two of them, and any naming a mechanic its level
lacks.

Usage:
    /usr/bin/python3 tools/gen/level_table.py BUILD_DIR [--jobs N] [--levels A-B]
BUILD_DIR holds tovi-solve, tovi-sim and tovi-encode. The measures are kept by board in
BUILD_DIR/level-measures.json, so a second run only measures changed boards.
--levels measures only those levels (the table still lists every level measured
before).
"""

import json
import multiprocessing
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import build_levels as bl  # noqa: E402
from levelkit import (EncoderError, chapter_of, drag_moves, element_counts, encode_boards, find_encoder,  # noqa: E402
                      opens_chapter, solver_result)

ROOT = os.path.dirname(os.path.dirname(HERE))
THUMBS = os.path.join(ROOT, "docs", "levels")
# Each mechanic: its name and the board characters that make it.
MECHANICS = [("block", "B"), ("ferry", "H"), ("lift", "V"), ("mud", "M"), ("teleport", "TO"),
             ("crumbling", "C"), ("spikes", "S"), ("magnet", "GP")]
FULL_STATES = 300000    # boards the whole-graph search may meet
FIRST_STATES = 100000   # boards the fewest-drags search may meet where the graph is too large
PROBE_STATES = 100000   # boards the probe's search of one drag may meet there
GRAPH_VERSION = 2       # of the whole graph's choices: from 2 they follow the shortest win with the most
                        # critical steps, then forced ones
PROBE_MILLIS = 600000   # and, as a safety, the time the probe (and the search before it) may take
PROBE_VERSION = 3       # of the probe's measures kept in level-measures.json: from 3 its searches pass
                        # over boards where an element can no longer reach a partner
ABLATE_STATES = 100000  # boards each search of a board with a mechanic taken away may meet
ABLATE_VERSION = 2      # of those searches: from 2 they pass over boards where an element can no longer reach a partner
SEARCH_MILLIS = 60000   # and the time any one search may take
MAX_DRAGS = 40
RANDOM_PLAYS = 100
PHASE_STEP = 4          # frames between the starts tried for a platform or spike level's stored win
PHASE_SPAN = 480        # frames of waiting tried: more than a whole ride of the longest platform
TIMED = "HVS"           # the board characters a win may have to be timed to: the platforms, and spikes
VERSION = 2             # of the measures kept in level-measures.json
BUILD = None
ENCODER = None          # tovi-encode, beside tovi-solve in BUILD


def run_solver(path, n, *flags, millis=SEARCH_MILLIS):
    """tovi-solve's output on a level file (stdout), or "" when it failed or took too long."""
    try:
        return subprocess.run([os.path.join(BUILD, "tovi-solve"), path, "--level", str(n)] + list(flags),
                              capture_output=True, text=True, timeout=millis // 1000 * 3 + 60).stdout
    except subprocess.TimeoutExpired:
        return ""


def steps_line(out):
    for line in out.splitlines():
        if line.startswith("steps="):
            return [tuple(int(x) for x in s.split("/")) for s in line[6:].split(",") if s]
    return None


def solvable(path, n):
    """True when a board can be won, False when a search proves it cannot, None when
    the search stopped first."""
    out = run_solver(path, n, "--first", "--max-moves", str(MAX_DRAGS), "--max-states", str(ABLATE_STATES),
                     "--millis", str(SEARCH_MILLIS))
    if solver_result(out):
        return True
    return False if out.startswith("unsolved") and "too large" not in out else None


def ablate(n, board, tmp):
    """For each mechanic on the board: {"wall": won?, "gone": won?} (None: unknown)."""
    boards = []
    for name, chars in MECHANICS:
        if any(ch in row for row in board for ch in chars):
            for how, into in (("wall", "#"), ("gone", ".")):
                boards.append((name, how, ["".join(into if ch in chars else ch for ch in row) for row in board]))
    encoded, refused = encode_boards(ENCODER, [(n, rows) for _, _, rows in boards])
    if refused:
        sys.exit("\n".join(refused))
    result = {}
    for (name, how, _), data in zip(boards, encoded):
        path = os.path.join(tmp, "level%d-%s-%s.bin" % (n, name, how))
        with open(path, "wb") as f:
            f.write(data)
        result.setdefault(name, {})[how] = solvable(path, n)
    return result


def phases(n, script, level=None):
    """(wins, tries): the stored solution started after 0, PHASE_STEP, ... frames
    (on the level file LEVEL, by default the built level n)."""
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    won = tries = 0
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "late.txt")
        for late in range(0, PHASE_SPAN + 1, PHASE_STEP):
            with open(path, "w") as f:
                f.write(("0 790 10 %d\n" % late if late else "") + "\n".join(script) + "\n")
            out = subprocess.run([os.path.join(BUILD, "tovi-sim"), "--level", str(n), "--file",
                                  level or os.path.join(ROOT, "media", "levels", "level%d.bin" % n), "--quiet", path],
                                 cwd=tmp, env=env, capture_output=True, text=True).stdout.strip()
            tries += 1
            won += out.splitlines()[-1].startswith("WON") if out else 0
    return won, tries


def probe(n):
    """The probe of level n: (the fewest drags the search before it found, exact?, the
    probe's measures), or None when it found no win."""
    path = os.path.join(ROOT, "media", "levels", "level%d.bin" % n)
    start = time.monotonic()
    out = run_solver(path, n, "--probe", "--steps", "--max-moves", str(MAX_DRAGS), "--max-states",
                     str(FIRST_STATES), "--probe-states", str(PROBE_STATES), "--millis", str(PROBE_MILLIS),
                     millis=2 * PROBE_MILLIS)
    res = solver_result(out)
    if not res or res["stats"].get("probe") != "1":
        return None
    st = res["stats"]
    return int(st["moves"]), st.get("fewest") == "exact", {
        "version": PROBE_VERSION, "first": int(st["first"]), "firstLosing": int(st["firstlosing"]),
        "firstUnknown": int(st["firstunknown"]), "steps": steps_line(out) or [],
        "seconds": round(time.monotonic() - start, 1)}


def settle(n, m):
    """Level n's fewest drags and choices into its measures m (which hold "stored"): from
    the whole graph, or where that is too large from the probe. Returns m."""
    path = os.path.join(ROOT, "media", "levels", "level%d.bin" % n)
    for k in ("dead", "first", "firstLosing", "steps", "probe", "noWin"):
        m.pop(k, None)
    full = run_solver(path, n, "--max-moves", str(MAX_DRAGS), "--max-states", str(FULL_STATES), "--steps",
                      "--millis", str(SEARCH_MILLIS))
    res = solver_result(full)
    fewest, exact = None, False
    if res:
        st = res["stats"]
        fewest, exact = int(st["moves"]), st.get("fewest") == "exact"
        if st.get("deadends", "unknown") != "unknown":
            m["dead"] = int(st["deadends"])
            m["first"] = int(st["first"])
            m["firstLosing"] = int(st["firstlosing"])
            m["steps"] = steps_line(full)
    elif full.startswith("unsolved") and "too large" not in full:
        m["noWin"] = True
    if "dead" not in m and not m.get("noWin"):
        # The whole graph is too large: the probe's search settles the fewest, and
        # the probe along its win the choices.
        got = probe(n)
        if got:
            f, first_exact, m["probe"] = got
            if first_exact or fewest is None or f < fewest:
                fewest, exact = f, first_exact
        else:
            m["probe"] = {"version": PROBE_VERSION}
    if fewest is None or (not exact and m["stored"] < fewest):
        fewest, exact = m["stored"], False
    m["fewest"], m["exact"] = fewest, exact
    m["fullStates"], m["graphVersion"] = FULL_STATES, GRAPH_VERSION
    return m


def resettle(job):
    """For a level whose whole graph was too large for an older budget or whose probe is
    older, job = (n, its measures): n, its board and the measures settled again."""
    n, m = job
    _, board, _ = bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n))
    return n, "".join(board), settle(n, dict(m))


def reablate(job):
    """For a level whose mechanic searches stopped at a smaller budget than today's,
    job = (n, its board, its measures): n, the board and the measures with the mechanics searched again."""
    n, board, m = job
    m = dict(m)
    with tempfile.TemporaryDirectory() as tmp:
        m["ablation"] = ablate(n, board, tmp)
    m["ablateStates"], m["ablateVersion"] = ABLATE_STATES, ABLATE_VERSION
    return n, "".join(board), m


def measure(n):
    """Every measure of level n, as a dict (see the module's note)."""
    title, board, script = bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n))
    path = os.path.join(ROOT, "media", "levels", "level%d.bin" % n)
    m = {"version": VERSION, "stored": drag_moves(script)}
    settle(n, m)
    greedy = run_solver(path, n, "--greedy", "--max-moves", str(MAX_DRAGS), "--millis", str(SEARCH_MILLIS))
    m["greedy"] = greedy.split()[0].split("=")[1] if greedy.startswith("greedy=") else None
    cap = max(2 * m["fewest"], 2)
    rnd = run_solver(path, n, "--random", str(RANDOM_PLAYS), "--max-moves", str(min(cap, 60)), "--millis",
                     str(SEARCH_MILLIS))
    if rnd.startswith("random="):
        won, plays = rnd.split("=")[1].split("/")
        m["random"] = [int(won), int(plays)]
    with tempfile.TemporaryDirectory() as tmp:
        m["ablation"] = ablate(n, board, tmp)
    m["ablateStates"], m["ablateVersion"] = ABLATE_STATES, ABLATE_VERSION
    if timed(board):
        m["phases"] = list(phases(n, script))
    return n, "".join(board), m


def timed(board, chars=TIMED):
    """Any of CHARS on the board: by default a platform ("HV") or spikes ("S"), what a
    win may have to be timed to."""
    return any(ch in row for row in board for ch in chars)


def retime(job):
    """For a board with spikes measured before its stored win was tried from each moment of
    their cycle, job = (n, its board, its measures, its stored win): n, the board and the
    measures with those tries."""
    n, board, m, script = job
    return n, "".join(board), dict(m, phases=list(phases(n, script)))


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


# ---- reading the measures ------------------------------------------------------

def probed(m):
    """The probe's measures of a level whose whole graph was too large, or None."""
    p = m.get("probe")
    return p if "firstLosing" not in m and p and p.get("version") == PROBE_VERSION and "first" in p else None


def choices(m):
    """(first drags, losing first drags, the steps as (drags, winning, shortest,
    unknown)) from the whole graph or else the probe, or None when neither settled them."""
    p = probed(m)
    if p:
        return p["first"], p["firstLosing"], [tuple(s) for s in p["steps"]]
    if "firstLosing" not in m:
        return None
    return m["first"], m["firstLosing"], [tuple(s) + (0,) for s in m.get("steps") or []]


def critical(m):
    """(critical steps, forced steps) along the shortest win, or None when unknown. A
    drag the probe could not settle counts as keeping the win, so a probed step
    counted here is surely critical (or forced)."""
    c = choices(m)
    if c is None or (not probed(m) and m.get("steps") is None):
        return None
    return step_counts(c[2])


def step_counts(steps):
    """(critical steps, forced steps) among STEPS, each (drags, winning, shortest, unknown)."""
    crit = sum(1 for drags, winning, _, unknown in steps if drags and 3 * (winning + unknown) <= drags)
    forced = sum(1 for _, winning, _, unknown in steps if winning + unknown == 1)
    return crit, forced


def losing_share(m):
    c = choices(m)
    if c is None or not c[0]:
        return None
    return 100.0 * c[1] / c[0]


def random_share(m):
    if not m.get("random") or not m["random"][1]:
        return None
    return 100.0 * m["random"][0] / m["random"][1]


def required(abl):
    """Each mechanic: True (turned to wall or removed, the board has no win), False
    (both boards win) or None (unknown). Either way of taking it away counts: mud is a
    wall that also holds what lands on it, so the wall gives every move mud gives, and
    a removed spike pit gives every move the pit gives; wanting both would leave mud
    and spikes never required whatever the level."""
    out = {}
    for name, ways in abl.items():
        if False in ways.values():
            out[name] = True
        elif None in ways.values():
            out[name] = None
        else:
            out[name] = False
    return out


def ablated(ways):
    """How a mechanic fared taken away, for the table: "required (no win as wall)"..."""
    lost = tuple(how for how in ("wall", "gone") if ways.get(how) is False)
    if lost:
        return "required (no win %s)" % {("wall",): "as wall", ("gone",): "removed",
                                         ("wall", "gone"): "as wall or removed"}[lost]
    return "search too large" if None in ways.values() else "not required"


def pieces(board):
    """(elements, kinds, a kind with an odd count, empty rows on top)."""
    counts = element_counts(board)
    empty = 0
    for row in board:
        if any(ch != "." for ch in row[1:-1]):
            break
        empty += 1
    return sum(counts.values()), len(counts), any(c % 2 for c in counts.values()), empty


def pct(x):
    return "-" if x is None else "%d %%" % round(x)


def median(xs):
    return statistics.median(xs) if xs else None


def fmt(x):
    if x is None:
        return "-"
    return str(int(x)) if x == int(x) else "%.1f" % x


def cells(n, title, board, m, teaching):
    """The row of level n."""
    mech = ", ".join(name for name, chars in MECHANICS if any(ch in "".join(board) for ch in chars))
    if m.get("noWin"):
        fewest = "no win found"
    else:
        fewest = str(m["fewest"]) if m["exact"] else "at most %d" % m["fewest"]
    dead = str(m["dead"]) if "dead" in m else "search too large"
    share = losing_share(m)
    c = choices(m)
    least = "at least " if probed(m) else ""
    mark = " (probe)" if probed(m) else ""
    losing = "%s%d of %d (%s%s)" % (least, c[1], c[0], pct(share), ", probe" if probed(m) else "") \
        if share is not None else "search too large"
    cf = critical(m)
    steps = "%s%d / %d%s" % ((least,) + cf + (mark,)) if cf else "search too large"
    greedy = {"won": "won", "lost": "lost", "stuck": "stuck", None: "-"}[m.get("greedy")]
    rnd = pct(random_share(m))
    abl = ", ".join("%s %s" % (k, ablated(ways)) for k, ways in m.get("ablation", {}).items()) or "-"
    if "phases" in m:
        abl += "; stored win from %d of %d moments" % tuple(m["phases"])
    return "| %d | %s%s | %d | %s | %d | %s | %s | %s | %s | %s | %s | %s | ![level %d](../docs/levels/level%d.png) |" % (
        n, title, " (teaches)" if teaching else "", chapter_of(n), mech or "walls and treasures", m["stored"],
        fewest, dead, losing, steps, greedy, rnd, abl, n, n)


def summary(levels):
    """The per-chapter lines and the mechanics' lines, with the goals beside them."""
    out = ["", "## Summary and goals", "",
           "Over the levels that teach nothing (the ones with a caption teach a mechanic) unless said.",
           "A measure the searches could not settle for a level leaves that level out of it (the",
           "counts say how many are in); a goal marked *no* is not met. Probed figures count as they",
           "stand: they are lower bounds, so a median or count they are in is one too.", "",
           "| Chapter | Levels | Median fewest drags (goal) | Last level's fewest (goal ≥ 16) | "
           "Median losing first drags (goal) | With a critical step, from level 5 on (goal: all) | "
           "With a forced step | Not won by the greedy player | Median random wins (goal) | "
           "Median elements / kinds (goal) | With an odd kind | Six or more empty rows on top |",
           "|---:|---:|---|---|---|---|---:|---|---|---|---:|---:|"]
    goals_fewest = {1: 5, 2: 8, 3: 11, 4: 14}
    goals_losing = {1: 10, 2: 25, 3: 25, 4: 25}
    forced_total = odd_total = empty_total = 0
    greedy_late = [0, 0]
    for ch in range(1, 5):
        rows = [(n, b, m, t) for n, b, m, t in levels if chapter_of(n) == ch]
        plain = [(n, b, m) for n, b, m, t in rows if not t]
        if not rows:
            continue
        fewest = [m["fewest"] for _, _, m in plain if m["exact"]]
        fm = median(fewest)
        last = [m for n, _, m, _ in rows if n == ch * 25]
        last_cell = "-"
        if last:
            lm = last[0]
            last_cell = "%s%d: %s" % ("" if lm["exact"] else "at most ", lm["fewest"],
                                      "yes" if lm["exact"] and lm["fewest"] >= 16 else
                                      "no" if lm["fewest"] < 16 else "unknown")
        shares = [losing_share(m) for _, _, m in plain if losing_share(m) is not None]
        lm_ = median(shares)
        crit_known = [(n, critical(m)) for n, _, m in plain if n >= 5 and critical(m) is not None]
        crit_yes = sum(1 for _, cf in crit_known if cf[0] > 0)
        crit_all = sum(1 for n, _, m in plain if n >= 5)
        share_probed = sum(1 for _, _, m in plain if losing_share(m) is not None and probed(m))
        crit_probed = sum(1 for n, _, m in plain if n >= 5 and critical(m) is not None and probed(m))
        forced = sum(1 for _, _, m in plain if critical(m) and critical(m)[1] > 0)
        forced_total += forced
        greedy = [m.get("greedy") for _, _, m in plain if m.get("greedy")]
        not_won = sum(1 for g in greedy if g != "won")
        for n, _, m in plain:
            if n >= 13 and m.get("greedy"):
                greedy_late[0] += m["greedy"] != "won"
                greedy_late[1] += 1
        rnds = [random_share(m) for _, _, m in plain if random_share(m) is not None]
        rm = median(rnds)
        pk = [pieces(b) for _, b, _ in plain]
        em, km = median([p[0] for p in pk]), median([p[1] for p in pk])
        odd = sum(1 for _, b, _, _ in rows if pieces(b)[2])
        empty = sum(1 for _, b, _, _ in rows if pieces(b)[3] >= 6)
        odd_total += odd
        empty_total += empty
        out.append("| %d | %d | %s of %d settled (≥ %d): %s | %s | %s of %d%s (≥ %d %%): %s | %d of %d settled%s "
                   "(of %d): %s | %d | %d of %d | %s of %d%s | %s / %s%s | %d | %d |" % (
                       ch, len(rows), fmt(fm), len(fewest), goals_fewest[ch],
                       "yes" if fm is not None and fm >= goals_fewest[ch] else "no", last_cell,
                       pct(lm_), len(shares), ", %d probed" % share_probed if share_probed else "",
                       goals_losing[ch], "yes" if lm_ is not None and lm_ >= goals_losing[ch] else "no",
                       crit_yes, len(crit_known), ", %d probed" % crit_probed if crit_probed else "", crit_all,
                       "yes" if crit_yes == crit_all else "no", forced, not_won, len(greedy),
                       pct(rm), len(rnds), "" if ch == 1 else " (≤ 5 %%): %s" % (
                           "yes" if rm is not None and rm <= 5 else "no"),
                       fmt(em), fmt(km), "" if ch < 3 else " (≥ 8 / ≥ 3): %s" % (
                           "yes" if em is not None and em >= 8 and km >= 3 else "no"),
                       odd, empty))
    out += ["",
            "| Over all levels | Measured | Goal | Met |",
            "|---|---:|---|---|",
            "| Levels 13-100 not won by the greedy player | %d of %d | ≥ 60 %% | %s |" % (
                greedy_late[0], greedy_late[1],
                "yes" if greedy_late[1] and greedy_late[0] * 100 >= 60 * greedy_late[1] else "no"),
            "| Levels with a forced step | %d | ≥ 20 | %s |" % (forced_total, "yes" if forced_total >= 20 else "no"),
            "| Levels with a kind of odd count (all chapters) | %d | ≥ 30 | %s |" % (
                odd_total, "yes" if odd_total >= 30 else "no"),
            "| Boards with six or more empty rows on top | %d | ≤ 20 | %s |" % (
                empty_total, "yes" if empty_total <= 20 else "no")]
    # Mechanics: required beyond the level that teaches them, and levels needing two.
    taught = {}
    for n, b, m, t in levels:
        if t:
            for name, chars in MECHANICS:
                if any(ch in "".join(b) for ch in chars) and name not in taught:
                    taught[name] = n
    two = 0
    per = {name: [0, 0, 0] for name, _ in MECHANICS}  # required, not, unknown (beyond teaching)
    for n, b, m, t in levels:
        req = required(m.get("ablation", {}))
        two += sum(1 for v in req.values() if v) >= 2
        for name, v in req.items():
            if t and taught.get(name) == n:
                continue
            per[name][0 if v else 1 if v is False else 2] += 1
    out += ["", "| Mechanic | Taught in | Levels with it beyond that | Required there (goal ≥ 8) | "
            "Not required | Search too large |", "|---|---:|---:|---|---:|---:|"]
    for name, _ in MECHANICS:
        r, nr, u = per[name]
        out.append("| %s | %s | %d | %d: %s | %d | %d |" % (name, taught.get(name, "-"), r + nr + u, r,
                                                            "yes" if r >= 8 else "no", nr, u))
    out.append("| two mechanics together | | | %d levels (goal ≥ 15): %s | | |" % (two, "yes" if two >= 15 else "no"))
    plat = [(n, m["phases"]) for n, b, m, _ in levels if "phases" in m and timed(b, "HV")]
    if plat:
        out += ["", "Platform levels whose stored win works from at least half of the platform's moments: " +
                ", ".join("%d (%d of %d: %s)" % (n, w, k, "yes" if 2 * w >= k else "no") for n, (w, k) in plat) + "."]
    spiky = [(n, m["phases"]) for n, b, m, _ in levels if "phases" in m and not timed(b, "HV")]
    if spiky:
        late = [(n, w, k) for n, (w, k) in spiky if w < k]
        out += ["", "Spike levels (without platforms) whose stored win works from every moment of the spikes' "
                "cycle: %d of %d%s" % (len(spiky) - len(late), len(spiky), "." if not late else
                                       "; the others are timed to the spikes, and "
                                       "win from: " + ", ".join("%d (%d of %d)" % x for x in late) + ".")]
    return out


# Words in a title that name a mechanic, by the mechanic's name in MECHANICS.
MECHANIC_WORDS = {"block": {"block", "stone", "heavy"}, "ferry": {"ferry", "platform", "aboard", "boat"},
                  "lift": {"lift", "up", "elevator"}, "mud": {"mud", "muddy", "sticky", "mire"},
                  "teleport": {"portal", "teleport"}, "crumbling": {"crumbling", "crumble"},
                  "spikes": {"spikes", "spike"}, "magnet": {"magnet", "magnet's"}}


def titles(sources):
    """Rows of the summary for the titles: words in more than two titles, and titles
    naming a mechanic their level lacks."""
    uses = {}
    for n, (title, _, _) in sources.items():
        for word in set(title.lower().split()):
            uses.setdefault(word, []).append(n)
    crowded = sorted(w for w, ns in uses.items() if len(ns) > 2)
    wrong = []
    for n, (title, board, _) in sorted(sources.items()):
        words = set(title.lower().split())
        for name, chars in MECHANICS:
            if words & MECHANIC_WORDS[name] and not any(ch in row for row in board for ch in chars):
                wrong.append("%d (%s)" % (n, name))
    return ["", "| Titles | Found | Goal | Met |", "|---|---|---|---|",
            "| Words in more than two titles | %s | none | %s |" % (", ".join(crowded) or "none",
                                                                   "no" if crowded else "yes"),
            "| Titles naming a mechanic the level lacks | %s | none | %s |" % (", ".join(wrong) or "none",
                                                                               "no" if wrong else "yes")]


def main(argv):
    global BUILD, ENCODER
    args = argv[1:]
    jobs, only = 1, None
    if "--jobs" in args:
        k = args.index("--jobs")
        jobs = int(args[k + 1])
        del args[k:k + 2]
    if "--levels" in args:
        k = args.index("--levels")
        a, _, b = args[k + 1].partition("-")
        only = range(int(a), int(b or a) + 1)
        del args[k:k + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    BUILD = os.path.abspath(args[0])
    try:
        ENCODER = find_encoder(os.path.join(BUILD, "tovi-encode"))
    except EncoderError as e:
        sys.exit(str(e))
    store = os.path.join(BUILD, "level-measures.json")
    known = {}
    if os.path.exists(store):
        with open(store) as f:
            known = json.load(f)
    sources = {n: bl.parse(os.path.join(ROOT, "levels", "level%d.txt" % n)) for n in range(1, bl.LEVELS + 1)}
    todo = [n for n in (only or range(1, bl.LEVELS + 1))
            if known.get("".join(sources[n][1]), {}).get("version") != VERSION]
    rest = [(n, "".join(sources[n][1])) for n in (only or range(1, bl.LEVELS + 1)) if n not in todo]

    def unsettled_graph():
        """Boards whose whole graph was too large for a smaller budget than today's, whose
        probe is older, or whose graph's choices were read along an older way: only the
        search of the graph (and the probe) are due."""
        return [(n, known[b]) for n, b in rest if ("dead" not in known[b] and not known[b].get("noWin") and
                (known[b].get("fullStates", 20000) < FULL_STATES or
                 known[b].get("probe", {}).get("version") != PROBE_VERSION)) or
                ("dead" in known[b] and known[b].get("graphVersion", 1) < GRAPH_VERSION)]

    def unsettled_mechanics():
        """Boards whose mechanic searches ran out of a smaller budget, or of an older
        search: only those are due."""
        return [(n, sources[n][1], known[b]) for n, b in rest
                if (known[b].get("ablateStates", 20000) < ABLATE_STATES or
                    known[b].get("ablateVersion", 1) < ABLATE_VERSION) and
                any(None in ways.values() for ways in known[b].get("ablation", {}).values())]

    def untimed():
        """Boards with spikes whose stored win was not yet tried from each moment."""
        return [(n, sources[n][1], known[b], sources[n][2]) for n, b in rest
                if timed(sources[n][1]) and "phases" not in known[b]]
    # Each stage's boards are read from the measures as the stage before left them, so a
    # board due in two stages keeps what the first one found.
    with multiprocessing.Pool(jobs) as pool:
        for what, work, due in (("measured", measure, lambda: todo), ("settled again", resettle, unsettled_graph),
                                ("searched again", reablate, unsettled_mechanics), ("timed", retime, untimed)):
            for n, board, m in pool.imap_unordered(work, due()):
                known[board] = m
                with open(store + ".tmp", "w") as f:
                    json.dump(known, f)
                os.replace(store + ".tmp", store)
                print("level %d %s" % (n, what), file=sys.stderr)
    for n in (only or range(1, bl.LEVELS + 1)):
        thumbnail(n)
    lines = ["# The levels at a glance", "",
             "Made by `/usr/bin/python3 tools/gen/level_table.py BUILD_DIR`, from `tovi-solve` on the game's",
             "engine. *Stored*: drags of the solution kept in the level's source. *Fewest*: the fewest drags",
             "that win, settled by a search of the whole graph (up to %d boards) or a search for the" % FULL_STATES,
             "fewest only (up to %d boards); \"at most\" where neither settled it (the best win found)." % FIRST_STATES,
             "*Dead ends*: boards from which the level can no longer be won. *Losing first drags*: of the",
             "drags from the start, those after which no win is left. *Critical / forced*: steps of a",
             "shortest win where at most a third of the drags keep a win / only one does (of the shortest",
             "wins, the one with the most critical steps, then forced ones, as a player may take any of",
             "them). Dead ends need",
             "the whole graph: \"search too large\" where it has more than %d boards. There the losing" % FULL_STATES,
             "first drags and the critical / forced steps come from the probe (marked *probe*): every drag",
             "at the start and along the shortest win found is played and asked by a fewest-drags search",
             "(up to %d boards each) whether a win is left after it; a drag that search cannot settle" % PROBE_STATES,
             "counts as keeping the win, so the probe's figures are lower bounds (\"at least\"). *Greedy*: a",
             "player who makes a winning drag, else a matching one, else the one that brings equal",
             "elements closest, never one that loses at once or returns to a board: won, lost, or stuck",
             "(no drag brings a pair closer). *Random*: the share of %d plays of random drags (up to" % RANDOM_PLAYS,
             "twice the fewest) that win. *Mechanics*: each turned to wall and removed, and the level",
             "solved again (up to %d boards each): *required* when either board cannot be won (a wall" % ABLATE_STATES,
             "gives every move mud gives, and an empty cell every move a spike pit gives, so wanting",
             "both would leave mud and spikes never required).",
             "Platform and spike levels also say from how many moments of the platform's ride or the spikes'",
             "cycle (the stored solution started after 0, %d, ... %d frames) the stored win still wins." % (
                 PHASE_STEP, PHASE_SPAN), "",
             "| Level | Title | Chapter | Mechanics | Stored | Fewest | Dead ends | Losing first drags | "
             "Critical / forced | Greedy | Random | Mechanics required | Board |",
             "|---:|---|---:|---|---:|---|---|---|---|---|---:|---|---|"]
    levels = []
    for n in range(1, bl.LEVELS + 1):
        title, board, script = sources[n]
        m = known.get("".join(board))
        teaching = bool(bl.notes(os.path.join(ROOT, "levels", "level%d.txt" % n))[0])
        if not m or m.get("version") != VERSION:
            lines.append("| %d | %s | %d | | | not measured | | | | | | | ![level %d](../docs/levels/level%d.png) |"
                         % (n, title, chapter_of(n), n, n))
            continue
        lines.append(cells(n, title, board, m, teaching))
        levels.append((n, board, m, teaching))
    lines += summary(levels) + titles(sources)
    with open(os.path.join(ROOT, "levels", "TABLE.md.tmp"), "w") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(os.path.join(ROOT, "levels", "TABLE.md.tmp"), os.path.join(ROOT, "levels", "TABLE.md"))


if __name__ == "__main__":
    main(sys.argv)
