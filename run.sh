#!/usr/bin/env bash
# Builds the program into build/ and runs the main job: the NaCl example with the bundled
# data and settings, writing Braxel.out and Braxel.prf into build/run/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
mkdir -p build/run
cd build/run
../bin/braxel-calc "../../examples/${1:-NaCl.inp}"
