#!/usr/bin/env bash
# Makes the game's videos: media/video/splash.ogg (the animated title) and
# media/video/help1.ogg .. help11.ogg (the help pages' clips, played and drawn
# by the game itself through tovi-record). Run from anywhere after a build:
#   bash tools/gen/gen_videos.sh [BUILD_DIR]     (BUILD_DIR defaults to build)
# The player shows each frame for the stream's frame-rate numerator in
# milliseconds, so every clip is marked 40/1: one frame per 40 ms. A light,
# seeded grain keeps every frame distinct (the encoder would otherwise leave
# still frames out, and stills would flash by). Bit-exact flags and fixed seeds
# make a second run give the same files.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
out=media/video
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

encode() {  # raw RGB file, size, quality, output
  ffmpeg -nostdin -loglevel error -y -threads 1 -f rawvideo -pix_fmt rgb24 -s "$2" -framerate 40 -i "$1" \
    -vf "noise=alls=3:allf=t:all_seed=4242,format=yuv420p" -fflags +bitexact -flags:v +bitexact \
    -map_metadata -1 -c:v libtheora -q:v "$3" -g 80 "$4"
}

SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/tovi-record" "$tmp"
for n in $(seq 1 11); do
  encode "$tmp/help$n.rgb" 240x180 7 "$out/help$n.ogg"
done
/usr/bin/python3 tools/gen/video/splash.py > "$tmp/splash.rgb"
encode "$tmp/splash.rgb" 800x600 6 "$out/splash.ogg"
du -ch "$out"/*.ogg | tail -1
