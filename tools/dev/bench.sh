#!/usr/bin/env bash
# The level frame's cost beside one bare 800 x 600 blit: runs tovi-bench several
# times on the busiest level and prints each run and the median ratio with its
# spread. Target: a ratio of at most 3. With K (1..3) the frame is scaled into a
# window K times its size and shown there each frame, beside one bare blit of a
# surface of the window's size (the same target).
#   bash tools/dev/bench.sh [RUNS] [FRAMES] [K]     (RUNS 7, FRAMES 400 by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="${1:-7}"
frames="${2:-400}"
scale="${3:-}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovi-bench >/dev/null
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
out=$(for i in $(seq "$runs"); do ./build/tovi-bench "$frames" $scale; done)
echo "$out"
med() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratios=$(echo "$out" | awk '{ print $10 }' | sort -g)
printf 'median over %s runs: frame %s us, blit %s us, ratio %s (runs %s .. %s)\n' "$runs" \
  "$(echo "$out" | awk '{ print $6 }' | med)" "$(echo "$out" | awk '{ print $8 }' | med)" \
  "$(echo "$ratios" | med)" "$(echo "$ratios" | head -1)" "$(echo "$ratios" | tail -1)"
