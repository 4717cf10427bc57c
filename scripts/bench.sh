#!/usr/bin/env bash
# Runs every benchmark binary of a build: <build>/bin/*_bench.
# Usage: scripts/bench.sh BUILD_DIR [benchmark options...]
set -euo pipefail

build=${1:?usage: scripts/bench.sh BUILD_DIR [benchmark options...]}
shift
found=0
for binary in "$build"/bin/*_bench; do
  [ -x "$binary" ] || continue
  found=1
  echo "== $(basename "$binary")"
  QT_QPA_PLATFORM=offscreen "$binary" "$@"
done
if [ "$found" -eq 0 ]; then
  echo "no benchmarks in $build/bin (configure with -DCERTMAKER_BENCH=ON and benchmark installed)" >&2
  exit 1
fi
echo "== whole processes beside their anchors"
python3 "$(dirname "$0")/bench_table.py" "$build"
