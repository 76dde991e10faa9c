#!/usr/bin/env bash
# Saves pictures of the window into a folder: at its first start, with the NaCl example
# calculated, with the rutile CIF read after that, refusing a cell edge, the exported files
# (written there too), the help window and the dialogs.
#   tools/screenshots.sh DIR
# Runs on a virtual 1024 x 768 display, so it works without a screen.
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: tools/screenshots.sh DIR" >&2
  exit 1
fi
mkdir -p "$1"
out="$(cd "$1" && pwd)"
cd "$(dirname "$0")/.."
source tools/ensure-packages.sh
for package in xvfb xauth; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    sudo_prefix=()
    [ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
    "${sudo_prefix[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y xvfb xauth
    break
  fi
done
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)" --target braxel
mkdir -p build/run
cd build/run
xvfb-run -a -s "-screen 0 1024x768x24" ../bin/braxel --screenshot "$out" ../../examples/NaCl.inp \
  ../../examples/rutile.cif
ls "$out"
