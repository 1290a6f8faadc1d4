#!/usr/bin/env bash
# Builds the benchmarks in Release and runs each of them; they print their figures.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKALVORA_BUILD_TESTS=OFF -DKALVORA_BUILD_BENCH=ON
cmake --build build-bench -j "$(nproc)"
find build-bench/bench -type f -executable -name 'bench_*' | sort | while read -r bench; do
  echo "== $bench"
  (cd "$(mktemp -d)" && "$OLDPWD/$bench")
done
