"""What the level tools share: the chapters, the board legend, encoding boards
(by tovi-encode, built with the game), counting the drags of a tovi-sim script
and reading what tovi-solve prints.

Used by build_levels.py, gen_levels.py and level_table.py. Needs only Python 3.
"""

import os
import re
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEGEND_FILE = os.path.join(ROOT, "levels", "README.md")
ELEMENTS = set("abcdefghijklmnopqrs")  # the treasures' characters
LEVELS_PER_CHAPTER = 25


def chapter_of(n):
    """The chapter (1..4) of level n."""
    return (n - 1) // LEVELS_PER_CHAPTER + 1


def opens_chapter(n):
    """True for a chapter's first level."""
    return (n - 1) % LEVELS_PER_CHAPTER == 0


def read_legend(path=LEGEND_FILE):
    """The board characters and their codes, read from the legend table of the
    levels' README: a row "| `X` | what | code |", or "| `a`..`s` | ... | 101..119 |"
    for a run. The wall ('#') has no fixed code: its tile depends on its
    neighbours. tovi-encode's own legend must be this one (see encoder_legend)."""
    codes = {}
    single = re.compile(r"\|\s*`(.)`\s*\|[^|]*\|\s*(\d+)\s*\|")
    run = re.compile(r"\|\s*`(.)`\.\.`(.)`\s*\|[^|]*\|\s*(\d+)\.\.(\d+)\s*\|")
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = run.match(line)
            if m:
                first, last, lo, hi = m.group(1), m.group(2), int(m.group(3)), int(m.group(4))
                if ord(last) - ord(first) != hi - lo:
                    raise ValueError("%s: the run %s..%s does not fit the codes %d..%d" % (path, first, last, lo, hi))
                for k in range(hi - lo + 1):
                    codes[chr(ord(first) + k)] = lo + k
                continue
            m = single.match(line)
            if m:
                codes[m.group(1)] = int(m.group(2))
    if "." not in codes or "a" not in codes:
        raise ValueError("%s: no board legend table found" % path)
    return codes


class EncoderError(Exception):
    pass


def find_encoder(path, other_way=""):
    """path, when it is the encoder program; else an EncoderError saying how to
    get one (other_way: a caller's own way to name it)."""
    if not os.path.isfile(path) or not os.access(path, os.X_OK):
        raise EncoderError("no board encoder at %s: build the game first (cmake -S . -B build && "
                           "cmake --build build)%s" % (path, other_way))
    return path


def encoder_legend(encoder):
    """tovi-encode's legend: board character -> code, the wall aside."""
    out = subprocess.run([encoder, "--legend"], capture_output=True, text=True, check=True).stdout
    return {line[0]: int(line[2:]) for line in out.splitlines()}


def encode_boards(encoder, boards):
    """Every (level, rows) board as the bytes the game loads, in one run of
    tovi-encode: a list in the boards' order, None for a board it refused, and
    its messages on what it refused ("level N: ..." a line)."""
    text = "".join("level %d\n%s" % (n, "".join(r + "\n" for r in rows)) for n, rows in boards)
    run = subprocess.run([encoder], input=text, capture_output=True, text=True)
    lines = run.stdout.splitlines()
    if len(lines) != len(boards):
        raise EncoderError("%s answered %d of %d boards: %s" % (encoder, len(lines), len(boards), run.stderr.strip()))
    data = []
    for (n, _), line in zip(boards, lines):
        head, _, body = line.rpartition(" ")
        if head != "level %d" % n:
            raise EncoderError("%s answered %r for level %d" % (encoder, line[:20], n))
        data.append(None if body == "error" else bytes.fromhex(body))
    return data, run.stderr.splitlines()


def encode_board(encoder, level, rows):
    """One board of level `level` as the bytes the game loads; EncoderError when refused."""
    data, problems = encode_boards(encoder, [(level, rows)])
    if data[0] is None:
        raise EncoderError("; ".join(problems))
    return data[0]


def drag_moves(script):
    """Grabs in a tovi-sim script: a button press after the button was up."""
    moves, down = 0, False
    for line in script:
        b = line.split()[0] == "1"
        if b and not down:
            moves += 1
        down = b
    return moves


def element_counts(board):
    """{element character: how many the board has}."""
    counts = {}
    for row in board:
        for ch in row:
            if ch in ELEMENTS:
                counts[ch] = counts.get(ch, 0) + 1
    return counts


def solver_result(out):
    """What tovi-solve printed, read: None when it ends without its summary line
    ("moves=..."), else a dict with "stats" (the summary's key=value pairs, as
    strings), "script" (the winning play as tovi-sim script lines) and "used"
    (the mechanics its "used=" line names)."""
    lines = out.strip().splitlines()
    if not lines or not lines[-1].startswith("moves="):
        return None
    used = [l for l in lines if l.startswith("used=")]
    lines = [l for l in lines if not l.startswith("used=")]
    return {"stats": dict(kv.split("=") for kv in lines[-1].split()),
            "script": lines[:-1],
            "used": used[0][5:].strip("-").rstrip(",").split(",") if used else []}
