#!/usr/bin/env bash
# Configures and builds both builds: build/win (32-bit Windows, MinGW) and build/native
# (the portable code with clang, AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer).
# build.sh [win|native|all] [cmake --build arguments...]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
which="${1:-all}"
[ $# -gt 0 ] && shift
jobs="$(nproc)"
mkdir -p "$top/build"

if [ "$which" = win ] || [ "$which" = all ]; then
  [ -f "$top/build/win/build.ninja" ] ||
    cmake -S "$top" -B "$top/build/win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
  # One build at a time per folder: several people (or agents) may share a checkout.
  flock "$top/build/win.lock" cmake --build "$top/build/win" -j "$jobs" "$@"
fi
if [ "$which" = native ] || [ "$which" = all ]; then
  [ -f "$top/build/native/build.ninja" ] ||
    CC=clang CXX=clang++ cmake -S "$top" -B "$top/build/native" -G Ninja \
      -DCMAKE_BUILD_TYPE=Debug >/dev/null
  flock "$top/build/native.lock" cmake --build "$top/build/native" -j "$jobs" "$@"
fi
