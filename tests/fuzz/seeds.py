#!/usr/bin/python3
"""Writes the fuzz harnesses' seed corpora into tests/fuzz/corpus/NAME/.

Each seed is an input in the layout its harness reads (see the comment at the
top of tests/fuzz/fuzz_NAME.cpp): the game's own levels with their stored
solutions, player and high-score files a player makes, settings files, and a
small Theora clip made with ffmpeg. Run from the top of the repository; the
seeds are committed, so this is only needed when a layout changes.
"""
import os
import struct
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "tests", "fuzz", "corpus")


def put(name, seed, data):
    folder = os.path.join(OUT, name)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, seed), "wb") as f:
        f.write(data)


def scaled(v, size):
    return min(255, (v * 256 + size // 2) // size)


def solution_steps(level):
    """The stored solution as the level harness's steps: button, hold, x, y."""
    steps = []
    inside = False
    with open(os.path.join(ROOT, "levels", "level%d.txt" % level)) as f:
        for line in f:
            line = line.strip()
            if not inside:
                inside = line == "solution:"
                continue
            parts = line.split()
            if len(parts) < 3:
                continue
            b, x, y = int(parts[0]), int(parts[1]), int(parts[2])
            k = int(parts[3]) if len(parts) > 3 else 1
            while k > 0:
                hold = min(k, 32)
                steps.append(bytes([(b & 1) | (hold - 1) << 1, scaled(x, 800), scaled(y, 600)]))
                k -= hold
    return b"".join(steps)


def level_seeds():
    for level in (1, 3, 9, 27, 40, 56, 70, 81, 100):
        with open(os.path.join(ROOT, "media", "levels", "level%d.bin" % level), "rb") as f:
            board = f.read()
        head = bytes([level - 1, 0]) + struct.pack("<i", 0)
        put("level", "level%d" % level, head + board + solution_steps(level))
    # A player who brings a score at the top of the range into a level.
    with open(os.path.join(ROOT, "media", "levels", "level1.bin"), "rb") as f:
        board = f.read()
    put("level", "top-score", bytes([0, 1]) + struct.pack("<i", 2**31 - 1) + board + solution_steps(1))


def rec(name, level, score):
    return name.encode().ljust(16, b"\0")[:16] + struct.pack("<ii", level, score)


def players(n):
    return rec("", 0, 0) + b"".join(rec("P%d" % i, i, 10 * i) for i in range(1, n + 1))


# Player-dialog events: kind, a, b, c (see fuzz_players.cpp).
def click(spot):
    return bytes([5, 0, 0, spot])


def typed(text):
    return b"".join(bytes([3, 0, 0, ord(ch)]) for ch in text)


def key(index):
    return bytes([3, 1, 0, index])


NEW, EDIT, DELETE, OK, CANCEL, PAGE_UP, PAGE_DOWN, ROW1 = range(8)
BACKSPACE, RETURN, UP, DOWN = range(4)


def player_seeds():
    def seed(name, file, events):
        put("players", name, struct.pack("<H", len(file)) + file + events)

    seed("first-player", b"", typed("ANN") + key(RETURN) + click(OK))
    seed("second-player", players(1), click(NEW) + typed("BOB") + key(RETURN) + click(OK))
    seed("pages", players(7), click(PAGE_DOWN) + click(PAGE_UP) + key(DOWN) + key(DOWN) + click(OK))
    seed("delete", players(3), click(ROW1 + 1) + click(DELETE) + click(OK))
    seed("rename", players(2), click(ROW1) + click(EDIT) + key(BACKSPACE) + typed("X") + key(RETURN)
         + click(CANCEL) + bytes([4, 0, 0, 0]) + click(OK))
    seed("taken", players(2), click(NEW) + typed("P1") + key(RETURN) + click(CANCEL))
    seed("damaged", players(4)[:70] + b"\xff" * 10, click(NEW) + typed("Z") + click(OK))
    seed("top-score", rec("", 0, 0) + rec("MAX", 50, 2**31 - 1) + rec("NEG", 3, -5), click(ROW1) + click(OK))


def score_seeds():
    def seed(name, hs, pl, chosen, points):
        put("scores", name, struct.pack("<H", len(hs)) + hs + struct.pack("<H", len(pl)) + pl
            + bytes([chosen]) + struct.pack("<i", points))

    empty_row = rec("", 0, 0)
    table = rec("", 0, 0) + rec("ANN", 0, 700) + rec("ANN", 0, 500) + rec("BOB", 0, 300) + empty_row * 2
    two = rec("", 0, 0) + rec("ANN", 1, 500) + rec("BOB", 1, 300)
    seed("first", b"", two, 0, 90)
    seed("merge", table, two, 1, 450)
    seed("equal", table, rec("", 0, 0) + rec("CY", 1, 300) + rec("DI", 1, 300), 0, 0)
    seed("short", table[:100], players(6), 3, 45)
    seed("top", table, rec("", 0, 0) + rec("MAX", 99, 2**31 - 60), 0, 90)
    seed("negative", rec("", 0, 0) + rec("NEG", 0, -1000) + empty_row * 4, two, 0, -(2**31))


def config_seeds():
    put("config", "defaults", struct.pack("<5i", 0, 50, 50, 1, 1))
    put("config", "short", struct.pack("<3i", 0, 80, 20))
    put("config", "muted", struct.pack("<5i", 7, 0, 50, 0, 3))
    put("config", "long", struct.pack("<6i", -1, 128, 127, 2, 998, 5))
    put("config", "empty", b"")


def video_seeds():
    with tempfile.TemporaryDirectory() as tmp:
        clip = os.path.join(tmp, "clip.ogg")
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=32x24:rate=10",
                        "-t", "0.4", "-c:v", "libtheora", "-q:v", "2", clip], check=True)
        with open(clip, "rb") as f:
            data = f.read()
    put("video", "splash-place", b"\0" + data)
    put("video", "help-place", b"\1" + data)
    put("video", "cut", b"\0" + data[: len(data) * 2 // 3])
    put("video", "headers-only", b"\1" + data[:400])


if __name__ == "__main__":
    level_seeds()
    player_seeds()
    score_seeds()
    config_seeds()
    video_seeds()
