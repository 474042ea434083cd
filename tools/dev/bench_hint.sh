#!/usr/bin/env bash
# The hint's time to answer: runs tovi-hintbench several times over the levels
# (each from its start and from the middle of its stored solution) and prints
# each run's summary and the median of the runs' medians and worsts with their
# spread. Target: median under 500 ms, worst under 3000 ms, every level's start
# answered in time.
#   bash tools/dev/bench_hint.sh [RUNS] [FIRST LAST]     (RUNS 3, levels 1..100 by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="${1:-3}"
shift || true
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovi-hintbench >/dev/null
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
log=$(mktemp /tmp/tovi-hintbench-XXXXXX)
trap 'rm -f "$log"' EXIT
for i in $(seq "$runs"); do
  ./build/tovi-hintbench "$@" > "$log.$i"
  grep -E 'no-time|refused|never' "$log.$i" || true
  tail -1 "$log.$i" | tee -a "$log"
  rm -f "$log.$i"
done
med() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
meds=$(awk '{ print $5 }' "$log" | sort -g)
worsts=$(awk '{ print $8 }' "$log" | sort -g)
printf 'over %s runs: median %s ms (runs %s .. %s), worst %s ms (runs %s .. %s)\n' "$runs" \
  "$(echo "$meds" | med)" "$(echo "$meds" | head -1)" "$(echo "$meds" | tail -1)" \
  "$(echo "$worsts" | med)" "$(echo "$worsts" | head -1)" "$(echo "$worsts" | tail -1)"
