#!/usr/bin/env bash
# The fuzz harnesses' speed: fuzzes one harness RUNS times for SECONDS each from
# its committed seeds (one worker, as CTest runs it) and prints each run's
# executions per second of wall time and per second of the process's CPU time
# (user + system), its coverage, and the medians with their spread. On a shared
# machine the wall figure follows the load; the CPU figure is the one to compare.
#   bash tools/dev/bench_fuzz.sh HARNESS_BINARY NAME [RUNS] [SECONDS]   (3 runs of 60 s by default)
# e.g. bash tools/dev/bench_fuzz.sh build-fuzz/tovi-fuzz-level level
# The same inputs for two builds: --pass DIR runs the harness once over every
# input in DIR (no fuzzing), RUNS times, and prints the CPU seconds each pass
# took with their median and spread. A faster harness gets further in a minute of
# fuzzing, onto longer inputs, so this is the fair comparison of two builds.
#   bash tools/dev/bench_fuzz.sh --pass DIR HARNESS_BINARY [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
if [ "${1:-}" = "--pass" ]; then
  dir="$(realpath "${2:?usage: bench_fuzz.sh --pass DIR HARNESS_BINARY [RUNS]}")"
  harness="$(realpath "${3:?usage: bench_fuzz.sh --pass DIR HARNESS_BINARY [RUNS]}")"
  runs="${4:-3}"
  times="$(mktemp)"
  work="$(mktemp -d)"
  trap 'rm -rf "$times" "$work"' EXIT
  export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy TMPDIR="${TMPDIR:-/dev/shm}"
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
  cp -r "$dir" "$work/inputs"  # a copy: the fuzzer may add to the folder it reads
  cpu=""
  for i in $(seq "$runs"); do
    # The harness works in a folder of its own, as tools/check/fuzz.sh runs it.
    (cd "$work" && /usr/bin/time -f '%U %S' -o "$times" "$harness" -runs=0 -max_len=8192 "$work/inputs" \
      >/dev/null 2>&1)
    read -r user sys <"$times"
    echo "pass $i: $(ls "$dir" | wc -l) inputs, cpu $user+$sys s"
    cpu="$cpu$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')"$'\n'
  done
  echo -n "$cpu" | sort -g | awk '{ v[NR] = $1 } END { printf "cpu s median %s (%s..%s)\n", v[int((NR + 1) / 2)], v[1], v[NR] }'
  exit 0
fi
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
