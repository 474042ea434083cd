#!/usr/bin/env bash
# Start-up, idle cost and memory of the game in a real window under Xvfb.
#
#   bash tools/dev/bench_menu.sh [RUNS]      (RUNS: 5 by default)
#
# Each run starts the game in a scratch folder with one player chosen and
# measures:
#   start   ms from the launch to the first frame of the main menu, less the
#           splash video's own length (targets: at most 1000 ms). The window's
#           top-left corner is watched at 100 frames a second (ffmpeg x11grab,
#           16 x 16 pixels); the first frame that shows the menu's sky counts.
#   idle    CPU of the game on the untouched main menu over 10 s, in percent of
#           one core (target: at most 8).
#   peak    the game's peak resident memory (VmHWM) after the menu and then a
#           level entered through Play and Continue, in MB (target: at most 90).
# It prints every run and then the median of each figure.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/dev/xwindow.sh"
runs=${1:-5}
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target tovi >/dev/null
# The splash as the game plays it: the 800 ms the player waits while it finds the
# stream headers, then every frame held for the frame-rate numerator in ms.
read -r frames rate < <(ffprobe -v error -count_frames -select_streams v \
  -show_entries stream=nb_read_frames,r_frame_rate -of csv=p=0 "$root/media/video/splash.ogg" |
  awk -F, '{ split($1, r, "/"); print $2, r[1] }')
splash_ms=$((800 + frames * rate))
# The mean colour of that corner on the loading screen and on the menu.
corner() {
  /usr/bin/python3 - "$1" <<'EOF'
import sys
from PIL import Image
px = list(Image.open(sys.argv[1]).convert("RGB").crop((0, 0, 16, 16)).getdata())
print(*[sum(p[i] for p in px) // len(px) for i in range(3)])
EOF
}
loading_rgb=$(corner "$root/media/images/loading_screen.png")
menu_rgb=$(corner "$root/media/images/chapter0.png")
# The wall-clock microseconds of the first grabbed frame whose corner has the colour "R G B".
first_frame() {
  awk -v want="$2" '
    BEGIN { split(want, w, " ") }
    /pts:/ && /mean:/ {
      match($0, /pts: *[0-9]+/); pts = substr($0, RSTART, RLENGTH); sub(/pts: */, "", pts)
      match($0, /mean:\[[0-9 ]+\]/); m = substr($0, RSTART + 6, RLENGTH - 7); split(m, c, " ")
      # planar gbrp: green, blue, red
      d = (c[1] - w[2]) ^ 2 + (c[2] - w[3]) ^ 2 + (c[3] - w[1]) ^ 2
      if (d < 12) { print pts; exit }
    }' "$1"
}

xvfb= game= grab= work=
finish() {
  for p in $game $grab $xvfb; do kill "$p" 2>/dev/null || true; done
  [ -z "$work" ] || rm -rf "$work"
}
trap finish EXIT

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

results=()
for run in $(seq 1 "$runs"); do
  work=$(mktemp -d /tmp/tovi-bench-menu-XXXXXX)
  ln -s "$root/media" "$work/media"
  x_saves "$work" Bench 1 0
  x_display 60
  ffmpeg -hide_banner -loglevel info -nostats -copyts -f x11grab -framerate 100 -video_size 16x16 \
    -i "$DISPLAY.0+0,0" -vf format=gbrp,showinfo -f null - 2>"$work/grab.log" &
  grab=$!
  sleep 1
  start_us=$(date +%s%6N)
  (cd "$work" && SDL_AUDIODRIVER=dummy exec "$root/build/tovi") &
  game=$!
  # Wait for the menu's sky in the corner (at most 30 s).
  menu_us=
  for _ in $(seq 1 300); do
    sleep 0.1
    menu_us=$(first_frame "$work/grab.log" "$menu_rgb")
    [ -n "$menu_us" ] && break
  done
  loading_us=$(first_frame "$work/grab.log" "$loading_rgb")
  kill "$grab" 2>/dev/null || true
  wait "$grab" 2>/dev/null || true
  grab=
  if [ -z "$menu_us" ]; then
    echo "run $run: the main menu never showed" >&2
    exit 1
  fi
  start_ms=$(( (menu_us - start_us) / 1000 - splash_ms ))
  # Where the time went: up to the loading screen standing fully faded in, and
  # from there to the menu (the loading bar).
  load_ms=$(( ${loading_us:-0} ? (menu_us - ${loading_us:-0}) / 1000 : -1 ))

  sleep 2
  hz=$(getconf CLK_TCK)
  t0=$(ticks "$game"); w0=$(date +%s%6N)
  sleep 10
  t1=$(ticks "$game"); w1=$(date +%s%6N)
  idle=$(awk -v t="$((t1 - t0))" -v hz="$hz" -v us="$((w1 - w0))" 'BEGIN { printf "%.1f", 100 * t / hz / (us / 1e6) }')

  xdotool mousemove 153 305; sleep 0.3; xdotool click 1; sleep 1.5   # Play
  xdotool mousemove 400 280; sleep 0.3; xdotool click 1; sleep 4     # Continue: level 1
  peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$game/status")

  echo "run $run: start ${start_ms} ms (of which the loading bar ${load_ms} ms)  idle ${idle} %  peak ${peak} MB"
  results+=("$start_ms $idle $peak")
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  xvfb=
  rm -rf "$work"
  work=
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
col() { printf '%s\n' "${results[@]}" | awk -v c="$1" '{ print $c }' | median; }
echo "median of $runs runs: start $(col 1) ms (target at most 1000; the ${splash_ms} ms splash left out)," \
  "idle $(col 2) % of a core (at most 8), peak $(col 3) MB (at most 90); load average $(cut -d' ' -f1-3 /proc/loadavg)"
