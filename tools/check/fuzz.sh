#!/usr/bin/env bash
# Runs the fuzz harnesses (built with -DTOVI_FUZZ=ON by clang, see the README).
#
#   bash tools/check/fuzz.sh HARNESS SEEDS SECONDS
#       one harness for SECONDS from the seed folder SEEDS (left unchanged); what
#       it finds new lives in a scratch folder and goes with it. CTest runs this.
#   bash tools/check/fuzz.sh --all BUILD SECONDS
#       every harness of the build folder BUILD for SECONDS each, one after the
#       other, growing its corpus in BUILD/fuzz-corpus/NAME across runs: the
#       long run, for hours (e.g. 36000 for ten hours each).
#
# Exits 1 on the first finding (a crash, a sanitizer report, a failed check, a
# timeout or running out of memory), with the input that caused it kept in the
# working folder as crash-*, timeout-* or oom-* and its path printed.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# The harnesses write the game's files on every run: in memory where there is a
# memory-backed folder, so the disk's flushes do not set their pace.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

# run HARNESS CORPUS SECONDS SEEDS...: one fuzzing session; prints its figures.
# Every path is absolute: a harness works in a scratch folder of its own.
run() {
  local harness="$1" corpus="$2" seconds="$3"
  shift 3
  local name log status
  name="$(basename "$harness")"
  log="$(mktemp)"
  status=0
  "$harness" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$PWD/" "$corpus" "$@" >"$log" 2>&1 || status=$?
  local execs cov
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  cov="$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2 || true)"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$name: FINDING after ${execs:-?} executions (exit $status); the input is kept as:" \
      $(sed -n 's/.*Test unit written to //p' "$log")
    rm -f "$log"
    return 1
  fi
  echo "$name: ${execs:-0} executions in ${seconds} s, ${cov:-0} coverage points, corpus $(ls "$corpus" "$@" | wc -l) inputs"
  rm -f "$log"
}

if [ "${1:-}" = --all ]; then
  build="$(realpath "${2:?usage: fuzz.sh --all BUILD SECONDS}")"
  seconds="${3:?usage: fuzz.sh --all BUILD SECONDS}"
  for harness in "$build"/tovi-fuzz-*; do
    name="${harness##*/tovi-fuzz-}"
    mkdir -p "$build/fuzz-corpus/$name"
    run "$harness" "$build/fuzz-corpus/$name" "$seconds" "$root/tests/fuzz/corpus/$name"
  done
  exit 0
fi

harness="$(realpath "${1:?usage: fuzz.sh HARNESS SEEDS SECONDS}")"
seeds="$(realpath "${2:?usage: fuzz.sh HARNESS SEEDS SECONDS}")"
seconds="${3:?usage: fuzz.sh HARNESS SEEDS SECONDS}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
run "$harness" "$scratch" "$seconds" "$seeds"
