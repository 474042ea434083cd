#!/usr/bin/env bash
# Plays the stored solution of every level through tovi-sim and fails unless each
# one ends in WON. Runs in an empty scratch directory, so no art is loaded and the
# check costs only the level logic.
#   bash tools/check/replay_levels.sh TOVI_SIM [SOURCE_DIR]
set -euo pipefail
sim="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
src="$(cd "${2:-$(dirname "$0")/../..}" && pwd)"
scratch="$(mktemp -d /tmp/tovi-replay-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
failed=0
count=0
for txt in "$src"/levels/level*.txt; do
  n="$(basename "$txt" .txt)"
  n="${n#level}"
  sed -n '/^solution:/,$p' "$txt" | tail -n +2 > script.txt
  result="$("$sim" --level "$n" --file "$src/media/levels/level$n.bin" --quiet script.txt | tail -n 1)"
  count=$((count + 1))
  case "$result" in
    WON*) ;;
    *) echo "level $n: the stored solution ends in '$result', not a win"; failed=$((failed + 1)) ;;
  esac
done
echo "$count levels replayed, $failed not won"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
