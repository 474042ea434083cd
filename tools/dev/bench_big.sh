#!/usr/bin/env bash
# The CPU a level takes while the player thinks, in a real window under Xvfb:
# the game opens a window K times the frame, enters level 2 and is left alone
# with the pointer resting on the board; its CPU time over SECONDS is taken from
# /proc. With "hint" last, H is pressed first and the time taken while the
# answer is on the board (the lit piece, the ghost hand sliding it). Prints each
# run and the median with its spread. Target at 2x on the classic library: at
# most 8% of one core.
#   bash tools/dev/bench_big.sh [RUNS] [K] [classic|compat] [SECONDS] [hint]
#                               (RUNS 5, K 2, classic, SECONDS 10, no hint by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/dev/xwindow.sh"
runs=${1:-5}
scale=${2:-2}
lib=${3:-classic}
seconds=${4:-10}
hint=${5:-}
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target tovi >/dev/null
libpath=
[ "$lib" = compat ] && libpath=$(dirname "$(dpkg -L libsdl1.2-compat | grep '/libSDL-1.2.so.0$' | head -1)")
hz=$(getconf CLK_TCK)
X_SCREEN=3840x2160x24 x_display 60
game=
work=
finish() {
  [ -z "$game" ] || kill -KILL "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  [ -z "$work" ] || rm -rf "$work"
}
trap finish EXIT
at() {
  eval "$(xdotool search --sync --name "Tovi Mudgrove" getwindowgeometry --shell | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  echo $((X + ($1 * WIDTH + WIDTH / 2) / 800)) $((Y + ($2 * HEIGHT + HEIGHT / 2) / 600))
}
click() { xdotool mousemove $(at "$1" "$2"); sleep 0.3; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep "$3"; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
results=
for run in $(seq "$runs"); do
  work=$(mktemp -d /tmp/tovi-bench-big-XXXXXX)
  ln -s "$root/media" "$work/media"
  x_saves "$work" Ann 2 500
  /usr/bin/python3 -c "import struct; open('$work/display.dat', 'wb').write(b'TOVD' + struct.pack('<2i', 1, $scale))"
  (cd "$work" && SDL_AUDIODRIVER=dummy SDL_MOUSE_RELATIVE=0 LD_LIBRARY_PATH=$libpath exec "$root/build/tovi") &
  game=$!
  sleep 22                    # the splash, the loading, the menu
  click 153 305 2             # play
  click 400 280 5             # Continue: level 2
  xdotool mousemove $(at 600 150)
  sleep 2
  if [ "$hint" = hint ]; then
    xdotool key h
    sleep 3                   # the answer is in well before this
    [ "$run" != 1 ] || import -window root "${TMPDIR:-/tmp}/tovi-bench-hint.png"  # to see that it is shown
  fi
  t0=$(ticks "$game")
  sleep "$seconds"
  t1=$(ticks "$game")
  pct=$(awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * d / hz / s }')
  echo "run $run: ${pct}% of a core (${scale}x, $lib${hint:+, a hint shown})"
  results="$results $pct"
  kill -KILL "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
  rm -rf "$work"
  work=
done
echo "$results" | tr ' ' '\n' | grep . | sort -g | awk -v k="$scale" -v lib="$lib" \
  '{ v[NR] = $1 } END { printf "median over %d runs: %s%% of a core at %sx on %s (runs %s .. %s)\n", NR, v[int((NR + 1) / 2)], k, lib, v[1], v[NR] }'
