#!/usr/bin/env bash
# The game on a big (or small) screen in a real window under Xvfb, as a player
# sees it: the menu and a level in the window, a drag that wins the level, then
# the same in full screen (F11), each saved as a screenshot in OUT.
#   bash tools/dev/big-screen-check.sh WxH [classic|compat] [SCALE] [OUT]
# SCALE (1..3, default: what the game fits to the desktop) is written to
# display.dat first. "compat" runs the game on the SDL 1.2 compatibility library
# (Debian's libsdl1.2-compat). Openbox, when installed, manages the window.
# Exits 1 when a step's picture is not what it
# should be (the window's size, the level won by the drag).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/dev/xwindow.sh"
size=${1:?WxH}
lib=${2:-classic}
scale=${3:-0}
out=${4:-/tmp/tovi-big-$size-$lib-$scale}
mkdir -p "$out"
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target tovi >/dev/null
work=$(mktemp -d /tmp/tovi-big-XXXXXX)
ln -s "$root/media" "$work/media"
x_saves "$work" Ann 2 500
/usr/bin/python3 - "$work" "$scale" <<'EOF'
import struct, sys
if int(sys.argv[2]):
    open(sys.argv[1] + "/display.dat", "wb").write(b"TOVD" + struct.pack("<2i", 1, int(sys.argv[2])))
EOF
libpath=
if [ "$lib" = compat ]; then
  libpath=/usr/lib/x86_64-linux-gnu/sdl12-compat
  [ -e "$libpath/libSDL-1.2.so.0" ] || { echo "libsdl1.2-compat is not installed" >&2; exit 1; }
fi

X_SCREEN=${size}x24 x_display 70
# Without a window manager SDL 2 has nobody to ask for a full screen: the
# compatibility library's full screen would be a plain window of the frame's size.
wm=
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & wm=$!; sleep 1; fi
game=
finish() {
  # SDL 2 under the compatibility library takes a plain kill as a closed window.
  [ -z "$game" ] || kill -KILL "$game" 2>/dev/null || true
  [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
(cd "$work" && SDL_AUDIODRIVER=dummy SDL_MOUSE_RELATIVE=0 LD_LIBRARY_PATH=$libpath exec "$root/build/tovi") &
game=$!

# The game's window (or full screen): its size; and a frame point on the display.
# The game's own window (inside the window manager's frame): its absolute
# position and size. xdotool's geometry of a reparented window can be the
# frame's, a title bar too high, which put the drag on a cell's edge.
geometry() {
  local id
  id=$(xdotool search --sync --name "Tovi Mudgrove" | head -1)
  xwininfo -id "$id" | /usr/bin/python3 -c "
import sys
v = dict(l.strip().split(':', 1) for l in sys.stdin if ':' in l)
print('X=%s Y=%s WIDTH=%s HEIGHT=%s' % tuple(v[k].strip() for k in ('Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height')))"
}
at() {
  eval "$(geometry)"
  /usr/bin/python3 -c "
x, y, w, h, fx, fy = $X, $Y, $WIDTH, $HEIGHT, $1, $2
s = min(w / 800, h / 600)
fw, fh = int(800 * s), int(600 * s)
print(x + (w - fw) // 2 + int((fx + 0.5) * fw / 800), y + (h - fh) // 2 + int((fy + 0.5) * fh / 600))"
}
move() { xdotool mousemove $(at "$1" "$2"); sleep 0.2; }
click() { move "$1" "$2"; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep "${3:-1.5}"; }
# A frame pixel's colour on the display, as "r,g,b".
pixel() {
  import -window root -crop 1x1+$(at "$1" "$2" | tr ' ' '+') -depth 8 txt:- | tail -1 | grep -o '([0-9, ]*)' | head -1 | tr -d '() '
}
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1" >&2; fail=1; fi; }

sleep 16                       # the splash, the loading, the menu
eval "$(geometry)"
echo "window ${WIDTH}x${HEIGHT}"
x_shot 1-menu-window
check "the window is a whole multiple of 800 x 600" "[ $((WIDTH * 3)) -eq $((HEIGHT * 4)) ] && [ $((WIDTH % 800)) -eq 0 ]"
click 153 305                  # play
click 400 280 4                # Continue: level 2
x_shot 2-level-window
before=$(pixel 300 340)
# The element on the ledge slides right, drops and meets its partner.
move 300 340
xdotool mousedown 1
for x in 310 330 350 370 390 410 430 450 470; do move "$x" 340; done
sleep 1
xdotool mouseup 1
sleep 3
x_shot 3-level-won-window
after=$(pixel 300 340)
check "the dragged element left its ledge ($before, then $after)" "[ '$before' != '$after' ]"
xdotool key F11
sleep 3
eval "$(geometry)"
echo "full screen ${WIDTH}x${HEIGHT}"
x_shot 4-level-won-full
check "full screen fills the desktop ($size)" "[ ${WIDTH}x${HEIGHT} = $size ]"
panel=$(pixel 400 60)           # the level-complete panel's title
click 400 300 4                # on: the next level, or its chapter map
x_shot 5-next-full
check "a click in full screen goes on from the panel ($panel, then $(pixel 400 60))" "[ '$panel' != '$(pixel 400 60)' ]"
click 79 566                   # the HUD's menu button
click 400 236 3                # the main menu
x_shot 6-menu-full
xdotool key F11
sleep 3
x_shot 7-menu-window-again
exit $fail
