#!/usr/bin/env bash
# What a player who has finished the game sees in a real window: starts the game
# under Xvfb in a scratch directory with one player saved at level 101, clicks
# as that player would (xdotool) and saves a screenshot of each step (import):
#   1 the main menu          2 Continue: the last level again, with its board
#   3 back to the main menu  4 New game asks first   5 yes: the story again
#   6 the first chapter's picture                    7 level 1 in play
#   bash tools/dev/window-check.sh [OUT]      (OUT: /tmp/tovi-window by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/dev/xwindow.sh"
out=${1:-/tmp/tovi-window}
mkdir -p "$out"
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target tovi >/dev/null
work=$(mktemp -d /tmp/tovi-window-XXXXXX)
ln -s "$root/media" "$work/media"
# That player has finished all hundred levels.
x_saves "$work" Tovi 101 48210

x_display 90
game=
finish() {
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
(cd "$work" && SDL_AUDIODRIVER=dummy exec "$root/build/tovi") &
game=$!

shot() { x_shot "$@"; }
click() { x_click "$1" "$2" "${3:-1.5}"; }

sleep 25                       # the splash, the loading, the menu
shot 1-menu
click 153 305                  # the first menu item: play
click 400 280 4                # Continue
shot 2-continue
click 79 566                   # the HUD menu button
click 400 236 3                # main menu
shot 3-menu-again
click 153 305
click 400 210 2                # New game
shot 4-new-game-asks
click 297 408 4                # yes
shot 5-story
for i in 1 2 3 4; do click 716 537 2; done
shot 6-chapter
click 716 537 4
shot 7-level-1
