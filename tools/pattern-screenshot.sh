#!/usr/bin/env bash
# Saves a screenshot of braxel-pattern showing the NaCl example's pattern, taken on a virtual
# display: OUTPUT_FOLDER/braxel-pattern-NaCl.png.
# usage: tools/pattern-screenshot.sh OUTPUT_FOLDER
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 OUTPUT_FOLDER" >&2
  exit 1
fi
mkdir -p "$1"
out="$(cd "$1" && pwd)/braxel-pattern-NaCl.png"
cd "$(dirname "$0")/.."
root="$PWD"

missing=()
for package in xvfb xauth; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_prefix=()
  [ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
  "${sudo_prefix[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y "${missing[@]}"
fi
if [ ! -x build/bin/braxel-pattern ] || [ ! -x build/bin/braxel-calc ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
  cmake --build build -j2 --target braxel-calc braxel-pattern
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && "$root/build/bin/braxel-calc" "$root/examples/NaCl.inp" > /dev/null)

# The screen is the window's size (960x620, no window manager), and Xvfb keeps it as an XWD
# file in the work folder, which the last step turns into a PNG.
xvfb-run -a -s "-screen 0 960x620x24 -fbdir $work" bash -c '
  cd "$1"
  "$2/build/bin/braxel-pattern" -x Braxel.prf &
  viewer=$!
  sleep 3
  cp Xvfb_screen0 screen.xwd
  kill "$viewer"
' screenshot "$work" "$root" 2> "$work/xvfb.log" || { cat "$work/xvfb.log" >&2; exit 1; }

python3 - "$work/screen.xwd" "$out" <<'PYTHON'
import struct, sys, zlib

data = open(sys.argv[1], "rb").read()
header = struct.unpack(">25I", data[:100])
header_size, width, height = header[0], header[4], header[5]
byte_order, bits_per_pixel, bytes_per_line, ncolors = header[7], header[11], header[12], header[19]
if bits_per_pixel != 32:
    sys.exit("expected a 32-bit screen, got %d bits per pixel" % bits_per_pixel)
pixels = data[header_size + 12 * ncolors:]
rows = []
for y in range(height):
    line = pixels[y * bytes_per_line:y * bytes_per_line + 4 * width]
    rgb = bytearray()
    for x in range(0, 4 * width, 4):
        b, g, r = (line[x], line[x + 1], line[x + 2]) if byte_order == 0 else \
                  (line[x + 3], line[x + 2], line[x + 1])
        rgb += bytes((r, g, b))
    rows.append(b"\0" + bytes(rgb))

def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + \
           struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PYTHON
echo "$out"
