#!/usr/bin/env bash
# Fails when a .cpp declares a global with `extern`: every global is declared
# once, in the header of the module that owns it, and used through that header.
#   bash tools/check/check-extern.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
found=$(grep -rnE --include='*.cpp' '^[[:space:]]*extern[[:space:]]' shell text trans video progress level menu app tools tests || true)
if [ -n "$found" ]; then
  printf 'declared extern in a .cpp (declare it in its owner'"'"'s header):\n%s\n' "$found"
  exit 1
fi
echo "no .cpp declares extern"
