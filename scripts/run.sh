#!/usr/bin/env bash
# Installs what is missing, builds the program in Release and starts it in
# the folder "workdir", where it keeps settings.ini, logs/ and reports/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKALVORA_BUILD_TESTS=OFF -DKALVORA_BUILD_BENCH=OFF
cmake --build build-release -j "$(nproc)"

mkdir -p workdir
cp -rn reports workdir/ 2>/dev/null || true
cp -f build-release/kalvora/libKalvora.so workdir/
cd workdir
exec ../build-release/app/app
