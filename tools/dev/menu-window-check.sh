#!/usr/bin/env bash
# The player profiles, the game dialog and the settings in a real window: starts
# the game under Xvfb in scratch folders, clicks and types as a player would
# (xdotool), checks the files the game leaves and saves a screenshot of each step
# (import) into OUT:
#   first start, no files at all:
#     a1 the profile dialog opens by itself, ready for a name
#     a2 "Mira" typed               a3 Return, then OK: the menu shows Mira
#     a4 Play: the game dialog      a5 New game: the first level's story
#   one player, "Ann", kept safe:
#     b1 a second "Ann" is refused with a hint
#     b2 Ann being renamed "Zed"    b3 Cancel: the menu still shows Ann
#     b4 the music slider pulled to 0; then Quit, and the files are checked
#     b5 the game started again: Ann   b6 the options: the music still at 0
#   a player saved at level 7:
#     c1 Play, Continue: level 7
#
#   bash tools/dev/menu-window-check.sh [OUT]      (OUT: /tmp/tovi-menu-window by default)
#
# The levels come from media/levels, or from the folder LEVELS names.
#
# A first start has no settings yet and opens full screen, with the pointer
# grabbed: SDL then reads pointer motion as steps from where it was, so that part
# moves the pointer by relative steps from where the game last put it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/dev/xwindow.sh"
out=${1:-/tmp/tovi-menu-window}
levels=${LEVELS:-$root/media/levels}
mkdir -p "$out"
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target tovi >/dev/null

xvfb= game= work=
finish() {
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  [ -z "$work" ] || rm -rf "$work"
}
trap finish EXIT
x_display 40
failures=0

# A scratch folder whose media/ holds the repository's art, sound and video and
# the levels.
scratch() {
  [ -z "$work" ] || rm -rf "$work"
  work=$(mktemp -d /tmp/tovi-menu-window-XXXXXX)
  mkdir "$work/media"
  for d in audio images video; do ln -s "$root/media/$d" "$work/media/$d"; done
  [ -d "$levels" ] && ln -s "$levels" "$work/media/levels"
  return 0
}
start() {
  (cd "$work" && SDL_AUDIODRIVER=dummy exec "$root/build/tovi") &
  game=$!
  sleep 12                      # the splash, the loading bar, the first frame
}
stop() {
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
}
# Relative steps to (X, Y) from (px, py), where the game's pointer is; the game
# puts it at (400, 300) whenever a screen opens.
px=400 py=300
step_to() {
  xdotool mousemove_relative -- $(($1 - px)) $(($2 - py))
  px=$1 py=$2
  sleep 0.3
}
press() { xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep "${1:-1}"; }
shot() { x_shot "$@"; }
click() { x_click "$@"; }
typed() { xdotool type --delay 120 "$1"; sleep 0.5; }
key() { xdotool key --delay 120 "$@"; sleep 0.5; }
# The bytes of a file in hex, for comparing with what it should hold.
hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }
record() {  # name level score -> the 24-byte record in hex
  /usr/bin/python3 -c 'import struct, sys
n, l, s = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
print((n.encode().ljust(16, b"\0") + struct.pack("<2i", l, s)).hex())' "$@"
}
expect() {  # what file hex
  if [ "$(hex "$work/$2")" = "$3" ]; then
    echo "ok: $1"
  else
    echo "WRONG: $1: $2 holds $(hex "$work/$2")" >&2
    failures=$((failures + 1))
  fi
}

# ---- a first start, no files at all -------------------------------------------
scratch
start
shot a1-first-start
typed Mira
shot a2-typed
key Return
step_to 300 400; press 2     # OK
shot a3-menu-shows-mira
expect "Mira is player 1 at level 1" player.dat "$(record '' 0 0)$(record Mira 1 0)"
step_to 153 305; press 2     # Play: the game dialog opens
px=400 py=300
shot a4-game-dialog
step_to 400 210; press 4     # New game
shot a5-story
stop

# ---- Ann's progress is kept safe ------------------------------------------------
# In a window, where the pointer goes where it is put.
scratch
/usr/bin/python3 -c 'import struct, sys; open(sys.argv[1] + "/config.dat", "wb").write(struct.pack("<5i", 0, 64, 64, 0, 0))' "$work"
start
xdotool mousemove 400 300
typed Ann
key Return
click 270 180                 # New
typed Ann
key Return                    # refused: the name is taken
shot b1-second-ann-refused
click 480 400 2               # Cancel
expect "one Ann only" player.dat "$(record '' 0 0)$(record Ann 1 0)"
click 600 570 2               # the player area: the profiles
click 300 220                 # Ann
click 400 180                 # Edit
key BackSpace BackSpace BackSpace
typed Zed
shot b2-renaming
click 480 400 2               # Cancel
shot b3-cancel-keeps-ann
expect "the cancelled rename left Ann as she was" player.dat "$(record '' 0 0)$(record Ann 1 0)"
click 156 365 2               # Options
xdotool mousemove 450 222; sleep 0.3; xdotool mousedown 1; sleep 0.2
for x in 420 390 370 361; do xdotool mousemove "$x" 222; sleep 0.15; done
xdotool mouseup 1; sleep 0.5
shot b4-music-muted
click 380 415 2               # OK
click 165 545 3               # Quit
if kill -0 "$game" 2>/dev/null; then
  echo "WRONG: the game did not quit" >&2
  failures=$((failures + 1))
fi
stop
music=$(od -An -t d4 -j 4 -N 4 "$work/config.dat" | tr -d ' ')
if [ "$music" = 0 ]; then echo "ok: the music volume is stored as 0"; else
  echo "WRONG: the music volume is stored as $music" >&2; failures=$((failures + 1)); fi
start
shot b5-restarted-ann
music=$(od -An -t d4 -j 4 -N 4 "$work/config.dat" | tr -d ' ')
if [ "$music" = 0 ]; then echo "ok: the restart kept the music at 0"; else
  echo "WRONG: after the restart the music volume is $music" >&2; failures=$((failures + 1)); fi
click 156 365 2               # Options
shot b6-options-still-muted
stop

# ---- a player saved at level 7 ---------------------------------------------------
scratch
/usr/bin/python3 - "$work" <<'EOF'
import struct, sys
d = sys.argv[1]
open(d + "/config.dat", "wb").write(struct.pack("<5i", 0, 64, 64, 0, 1))
rec = lambda name, level, score: name.encode().ljust(16, b"\0") + struct.pack("<2i", level, score)
open(d + "/player.dat", "wb").write(rec("", 0, 0) + rec("Sami", 7, 3150))
EOF
[ -f "$work/media/levels/level7.bin" ] || echo "note: there is no level 7 file; its board stays empty" >&2
start
click 153 305 2               # Play
click 400 280 5               # Continue
shot c1-level-7
stop

[ "$failures" = 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
