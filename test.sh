#!/usr/bin/env bash
# Builds everything into build/ and runs all tests.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"
