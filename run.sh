#!/usr/bin/env bash
# Builds the program into build/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
echo "Built the engine libraries, tests and benchmarks in build/."
echo "The report and the command-line tool come next; run ./test.sh for the tests."
