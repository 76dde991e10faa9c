#!/usr/bin/env bash
# Saves a picture of the Axis Conversion window, drawn on a virtual X display:
#   tools/axis-dialog-screenshot.sh [OUTPUT.png]   (default build/axis-dialog.png)
set -euo pipefail
cd "$(dirname "$0")/.."
output="$(realpath -m "${1:-build/axis-dialog.png}")"
missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v xauth >/dev/null || missing+=(xauth)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_prefix=()
  [ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
  "${sudo_prefix[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y "${missing[@]}"
fi
cmake -S . -B build >/dev/null
cmake --build build -j2 --target braxel_qt_views_tests >/dev/null
QT_QPA_PLATFORM=xcb BRAXEL_SCREENSHOT="$output" xvfb-run -a -s "-screen 0 1280x1024x24" \
  build/bin/braxel_qt_views_tests --gtest_filter='*NothingIsClipped' >/dev/null
echo "$output"
