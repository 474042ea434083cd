#!/usr/bin/env bash
# Fails when a screen reaches up into the shell's loop and dispatcher. The
# screens (level/, menu/, trans/, text/, video/) share their state through
# shell/screen.h; shell/tovi.h is for the shell itself, the game's main() and
# the tests and tools that drive the whole loop. A screen that included it, or
# called the dispatcher's entry points, could re-enter the loop from inside a
# frame.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
screens="level menu trans text video"
bad=$(grep -rn --include='*.cpp' --include='*.h' '#include "shell/tovi.h"' $screens || true)
calls=$(grep -rnE --include='*.cpp' --include='*.h' \
          '(^|[^A-Za-z0-9_])(MMoved|CheckKeys|Start|Init|End|VideoFlags|SDL_main)[[:space:]]*\(' $screens || true)
if [ -n "$bad$calls" ]; then
  [ -z "$bad" ] || printf 'screens that include the dispatcher:\n%s\n' "$bad"
  [ -z "$calls" ] || printf 'screens that call the dispatcher:\n%s\n' "$calls"
  exit 1
fi
echo "screens stay below the dispatcher"
