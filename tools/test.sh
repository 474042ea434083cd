#!/usr/bin/env bash
# Installs what the tests need, builds the game and runs every test: once as a
# normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the fuzz harnesses for a minute each. The tests of the display, the start-up,
# the shell and the video player run once more on the SDL 1.2 compatibility
# library (libsdl1.2-compat), the other SDL 1.2 a player may have.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh tests
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs="$(nproc)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# What the install check did with the Debian packages: built, lintian, appstreamcli,
# installed, started, removed with the saves kept.
echo "--- install check (build/install-check.log) ---"
cat build/install-check.log
# (There the library's renderer draws the video's overlay, not the frame, so the
# test that reads the overlay back out of the frame runs on the classic library
# only; the clips' own test skips just that read-back there.)
compat=$(dpkg -L libsdl1.2-compat | grep '/libSDL-1.2.so.0$' | head -1)
LD_LIBRARY_PATH="$(dirname "$compat")" \
  ctest --test-dir build --output-on-failure -j"$jobs" -R 'Display|StartUp|Shell|^Video\.|MediaVideo|Trans' --timeout 300 \
  -E 'ABoxVideoCoversExactlyItsRectangle'
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTOVI_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
# The fuzz harnesses, when clang is there (the "tests" packages bring it): each
# fuzzes for a minute from its seeds and fails on any finding.
if command -v clang++ >/dev/null; then
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOVI_FUZZ=ON -DTOVI_TESTS=OFF
  cmake --build build-fuzz -j"$jobs" --target fuzzers
  ctest --test-dir build-fuzz --output-on-failure -j"$jobs"
fi
