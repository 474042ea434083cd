#!/usr/bin/env bash
# Fails when a name the game defines is also a C, C++ or SDL library symbol. The
# game's globals have short historical names; one that matches a library
# function (a music handle once was called "mmap") silently replaces that
# function for every library in the process.
set -euo pipefail
lib="$1"
libs=$(ls /lib/x86_64-linux-gnu/libc.so.6 /lib/x86_64-linux-gnu/libm.so.6 \
          /usr/lib/x86_64-linux-gnu/libstdc++.so.6 /usr/lib/x86_64-linux-gnu/libSDL-1.2.so.0 \
          /usr/lib/x86_64-linux-gnu/libSDL_image-1.2.so.0 /usr/lib/x86_64-linux-gnu/libSDL_mixer-1.2.so.0 \
          /usr/lib/x86_64-linux-gnu/libpng16.so.16 2>/dev/null || true)
[ -n "$libs" ] || libs=$(ldconfig -p | awk '/libc.so.6 |libm.so.6 /{print $NF}')
clash=$(comm -12 <(nm -D --defined-only $libs 2>/dev/null | awk '{print $3}' | sed 's/@.*//' | sort -u) \
                 <(nm --defined-only "$lib" | awk '$2 ~ /^[BDGRSCT]$/ {print $3}' | sort -u))
if [ -n "$clash" ]; then
  echo "names that clash with library symbols: $clash"
  exit 1
fi
echo "no name clashes"
