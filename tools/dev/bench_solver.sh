#!/usr/bin/env bash
# The solver's speed on one core: searches the whole graph of a few levels with
# tovi-solve --threads 1 several times and prints each run's boards, seconds and
# boards per second, then per level the median with the spread of the runs.
#   bash tools/dev/bench_solver.sh [RUNS] [LEVEL...]     (RUNS 3, levels 83 94 by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="${1:-3}"
shift || true
levels="${*:-83 94}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovi-solve >/dev/null
med() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for n in $levels; do
  rates=""
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    out=$(./build/tovi-solve "media/levels/level$n.bin" --threads 1 --max-moves 40 --max-states 300000 | tail -1)
    end=$(date +%s.%N)
    states=$(echo "$out" | tr ' ' '\n' | sed -n 's/^states=//p')
    rate=$(awk -v s="$states" -v a="$start" -v b="$end" 'BEGIN { printf "%d", s / (b - a) }')
    echo "level $n: $states boards in $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }') s, $rate boards/s"
    rates="$rates $rate"
  done
  printf 'level %s over %s runs: median %s boards/s (runs %s .. %s)\n' "$n" "$runs" \
    "$(printf '%s\n' $rates | med)" "$(printf '%s\n' $rates | sort -g | head -1)" \
    "$(printf '%s\n' $rates | sort -g | tail -1)"
done
