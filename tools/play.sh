#!/usr/bin/env bash
# Installs what the game needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVI_TESTS=OFF
cmake --build build -j"$(nproc)"
exec ./build/tovi
