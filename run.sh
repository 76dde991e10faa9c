#!/usr/bin/env bash
# Builds the program into build/ and runs the main job: the NaCl example with the bundled
# data and settings, writing Braxel.out and Braxel.prf into build/run/.
#   ./run.sh [STRUCTURE.inp]     braxel-calc on examples/STRUCTURE (NaCl.inp by default)
#   ./run.sh --gui               the window, with examples/NaCl.inp read and calculated
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = "--gui" ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the window on; run it on a virtual one: xvfb-run ./run.sh --gui" >&2
  exit 1
fi
source tools/ensure-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
mkdir -p build/run
cd build/run
if [ "${1:-}" = "--gui" ]; then
  exec ../bin/braxel ../../examples/NaCl.inp
fi
../bin/braxel-calc "../../examples/${1:-NaCl.inp}"
