#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and runs them all.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLINKORA_TESTS=OFF -DLINKORA_BENCH=ON >/dev/null
cmake --build "$here/build-bench"
export QT_QPA_PLATFORM=offscreen
for b in "$here"/build-bench/bench/*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
