#!/usr/bin/env bash
# Installs what the tests need, builds the game and runs every test: once as a
# normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
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
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTOVI_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
