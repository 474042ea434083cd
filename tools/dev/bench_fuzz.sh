#!/usr/bin/env bash
# The fuzz harnesses' speed: fuzzes one harness RUNS times for SECONDS each from
# its committed seeds (one worker, as CTest runs it) and prints each run's
# executions per second of wall time and per second of the process's CPU time
# (user + system), its coverage, and the medians with their spread. On a shared
# machine the wall figure follows the load; the CPU figure is the one to compare.
#   bash tools/dev/bench_fuzz.sh HARNESS_BINARY NAME [RUNS] [SECONDS]   (3 runs of 60 s by default)
# e.g. bash tools/dev/bench_fuzz.sh build-fuzz/tovi-fuzz-level level
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
harness="$(realpath "${1:?usage: bench_fuzz.sh HARNESS_BINARY NAME [RUNS] [SECONDS]}")"
name="${2:?usage: bench_fuzz.sh HARNESS_BINARY NAME [RUNS] [SECONDS]}"
runs="${3:-3}"
seconds="${4:-60}"
times="$(mktemp)"
trap 'rm -f "$times"' EXIT
out=""
for i in $(seq "$runs"); do
  line="$(/usr/bin/time -f '%U %S %e' -o "$times" bash "$root/tools/check/fuzz.sh" "$harness" \
    "$root/tests/fuzz/corpus/$name" "$seconds")"
  read -r user sys wall <"$times"
  execs="$(echo "$line" | sed -n 's/.*: \([0-9]*\) executions.*/\1/p')"
  cov="$(echo "$line" | sed -n 's/.*, \([0-9]*\) coverage points.*/\1/p')"
  row="$(awk -v e="$execs" -v u="$user" -v s="$sys" -v w="$wall" -v c="$cov" \
    'BEGIN { printf "%d %.0f %.0f %d", e, e / w, e / (u + s), c }')"
  echo "run $i: executions $execs, wall $wall s, cpu $user+$sys s, $(echo "$row" | awk '{ print $2 }') exec/s wall, $(echo "$row" | awk '{ print $3 }') exec/s cpu, cov $cov"
  out="$out$row"$'\n'
done
med() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
span() { sort -g | awk 'NR == 1 { a = $1 } { b = $1 } END { print a ".." b }'; }
for col in 2:wall 3:cpu 4:cov; do
  k="${col%%:*}"
  values="$(echo -n "$out" | awk -v k="$k" '{ print $k }')"
  printf '%s median %s (%s) ' "${col#*:}" "$(echo "$values" | med)" "$(echo "$values" | span)"
done
echo
