#!/usr/bin/env bash
# The screenshot tour: every screen of the game as a PNG picture in docs/screens/,
# made headless on the dummy drivers and the virtual clock. The level screens
# come from tovi-shots, the map, options, credits and help from tovi-menu-shots,
# the other menus from tovi-tour (tools/sim/tour.cpp: one row per picture). All
# three run in a scratch folder that links media/ and levels/, so the settings
# and player files the menus write stay out of the repository.
set -euo pipefail
cd "$(dirname "$0")/../.."
top="$(pwd)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovi-shots tovi-menu-shots tovi-tour >/dev/null
out="$top/docs/screens"
mkdir -p "$out"
work="$(mktemp -d /tmp/tovi-tour-XXXXXX)"
trap 'rm -rf "$work"' EXIT
ln -s "$top/media" "$work/media"
ln -s "$top/levels" "$work/levels"
cd "$work"
# The level pictures need the levels and their stored solutions; without them
# tovi-shots saves what it can and names what it could not.
"$top/build/tovi-shots" "$out" || echo "tour: some level pictures could not be made" >&2
"$top/build/tovi-menu-shots" "$out"
"$top/build/tovi-tour" "$out"
