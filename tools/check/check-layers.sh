#!/usr/bin/env bash
# The game's folders are layers, low to high; a file may include files of its
# own folder and of the folders below it, never of a folder above or beside it.
# No two files include each other, directly or round a circle. On top of the
# layers the tools and the tests may include anything. The screens also never
# call the dispatcher's entry points: a screen that did could re-enter the main
# loop from inside a frame.
#   bash tools/check/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
/usr/bin/python3 - <<'PY'
import glob, os, re, sys

# Each line is one layer, lowest first; folders on one line are peers that do
# not include each other.
LAYERS = [
    ["shell"],              # clock, screen, media, settings, data files, shots
    ["text"],               # the bitmap fonts
    ["trans", "video"],     # fades and transitions; the video player
    ["progress"],           # players, "player.dat", high scores
    ["level"],              # the engine, the rules, the level screen and its sequences
    ["menu"],               # the menu screens
    ["app"],                # the dispatcher and main()
    ["tools", "tests"],     # on top: may include any folder above
]
rank = {d: i for i, line in enumerate(LAYERS) for d in line}
print("layers, low to high (each may include only its own folder and those below):")
for i, line in enumerate(LAYERS):
    print("  %d  %s" % (i, " ".join(line)))

files = sorted(p for p in glob.glob("**/*.[ch]*", recursive=True)
               if p.endswith((".cpp", ".h")) and not p.startswith("build") and p.split("/")[0] in rank)
graph = {}
bad = []
for p in files:
    top = p.split("/")[0]
    deps = []
    with open(p, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
            if not m:
                continue
            inc = m.group(1)
            deps.append(inc)
            to = inc.split("/")[0]
            if to == top or top in ("tools", "tests") and to in rank:
                continue
            if to not in rank:
                bad.append("%s:%d includes %s, outside the layers" % (p, n, inc))
            elif rank[to] >= rank[top]:
                bad.append("%s:%d includes %s: %s is not below %s" % (p, n, inc, to, top))
    graph[p] = [d for d in deps if d in graph or os.path.exists(d)]

# Circles between files: a depth-first walk that meets a file still on its path.
state = {}
def walk(p, path):
    state[p] = 1
    for d in graph.get(p, []):
        if state.get(d) == 1:
            bad.append("include circle: " + " -> ".join(path[path.index(d):] + [d]))
        elif d not in state:
            walk(d, path + [d])
    state[p] = 2
for p in files:
    if p not in state:
        walk(p, [p])

# The screens never call the dispatcher.
calls = re.compile(r'(^|[^A-Za-z0-9_])(MMoved|CheckKeys|Start|Init|End|VideoFlags|SDL_main)\s*\(')
for p in files:
    if rank[p.split("/")[0]] < rank["app"]:
        with open(p, encoding="utf-8") as f:
            for n, line in enumerate(f, 1):
                if calls.search(line):
                    bad.append("%s:%d calls the dispatcher: %s" % (p, n, line.strip()))

if bad:
    print("\n".join(bad))
    sys.exit(1)
print("%d files: every include runs down the layers, no include circle, no screen calls the dispatcher" % len(files))
PY
