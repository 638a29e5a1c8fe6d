#!/usr/bin/env bash
# Builds the benchmarks optimised and without sanitizers (build/bench) and runs every
# benchmark program in build/bench/tests/bench, then the plain-stdio LZHUF reference
# coder on the same data for comparison.
# bench.sh [benchmark arguments...], e.g. bench.sh --benchmark_repetitions=5
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$top/build/bench"

[ -f "$build/build.ninja" ] ||
  CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPTEST_SANITIZE=OFF -DPTEST_FUZZ=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

status=0
for program in "$build"/tests/bench/*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" "$@" || status=1
done

reference="$build/tests/bench/reference/lzhuf_ref"
if [ -x "$reference" ]; then
  echo "== lzhuf_ref (plain stdio getc/putc, same data)"
  vectors="$(cmake -L -N "$build" | sed -n 's/^PTEST_SHARED_DIR:PATH=//p')/testdata/lzhuf"
  scratch="$(mktemp -d)"
  trap 'rm -rf "$scratch"' EXIT
  "$reference" d "$vectors/mixed-300k.lzh" "$scratch/out" 30 || status=1
  "$reference" e "$vectors/mixed-300k.bin" "$scratch/out" 10 || status=1
fi
exit $status
