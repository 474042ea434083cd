#!/usr/bin/env bash
# The video player's decode speed: plays the 800 x 600 splash several times with
# the frame waits left out and prints each run and the median of how many times
# faster than real time it went. Target: at least 5.
#   bash tools/dev/bench_video.sh [RUNS] [FILE]     (RUNS 7, FILE media/video/splash.ogg)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="${1:-7}"
file="${2:-media/video/splash.ogg}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovi-vbench >/dev/null
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
out=$(for i in $(seq "$runs"); do ./build/tovi-vbench "$file"; done)
echo "$out"
ratios=$(echo "$out" | awk '{ print $NF }' | sort -g)
printf 'median over %s runs: %sx real time (runs %s .. %s)\n' "$runs" \
  "$(echo "$ratios" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')" \
  "$(echo "$ratios" | head -1)" "$(echo "$ratios" | tail -1)"
