# Shared by the real-window scripts (window-check.sh, menu-window-check.sh,
# bench_menu.sh): a display of their own under Xvfb, the player's clicks and
# screenshots, and a scratch folder's save files. Sourced, not run.

# Starts Xvfb on a free display numbered from $1 (kept from resetting when the
# game closes, so the next start still finds it) and waits until it answers.
# The screen is 800x600x24 unless X_SCREEN says otherwise (WxHxD).
# Sets xvfb (its process) and DISPLAY.
x_display() {
  local base=$1
  for _ in 1 2 3 4 5; do
    local display=:$((base + RANDOM % 9))
    Xvfb "$display" -screen 0 "${X_SCREEN:-800x600x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    # A display number someone else's server holds makes ours exit at once:
    # answering is not enough, the answer must come from our own server.
    for _ in $(seq 1 50); do
      kill -0 "$xvfb" 2>/dev/null || break
      if xdotool getmouselocation >/dev/null 2>&1; then
        sleep 0.3
        kill -0 "$xvfb" 2>/dev/null && return 0
        break
      fi
      sleep 0.2
    done
    kill "$xvfb" 2>/dev/null || true
  done
  echo "no Xvfb display would start" >&2
  return 1
}

# A screenshot of the whole screen as $out/NAME.png.
x_shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }

# A left click at (X, Y) as a hand makes it, then a wait of WAIT seconds (1 by default).
x_click() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep "${3:-1}"
}

# Save files for DIR: a window (not full screen), middling volumes, player 1
# chosen, and that one player NAME at LEVEL with SCORE.
x_saves() {
  /usr/bin/python3 - "$@" <<'EOF'
import struct, sys
d, name, level, score = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
open(d + "/config.dat", "wb").write(struct.pack("<5i", 0, 64, 64, 0, 1))
rec = lambda name, level, score: name.encode().ljust(16, b"\0") + struct.pack("<2i", level, score)
open(d + "/player.dat", "wb").write(rec("", 0, 0) + rec(name, level, score))
EOF
}
