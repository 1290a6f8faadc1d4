#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
