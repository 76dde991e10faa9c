#!/bin/sh
# Writes NAME.out and NAME.prf of every case of tests/data/regression/cases.txt with the
# braxel-calc given (default build/bin/braxel-calc), each run in a folder of its own with a
# Braxel.ini holding the case's profile parameters and the bundled tables.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
calc=${1:-$root/build/bin/braxel-calc}
cases=$root/tests/data/regression
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -v '^#' "$cases/cases.txt" | while read -r name expected structure target u v w pc r12 al yeta min max step; do
  mkdir "$work/$name"
  sed -e "s|^tabsg .*|tabsg   = $root/data/tabsg|" -e "s|^fscat .*|fscat   = $root/data/fscat|" \
    -e "s|^u = .*|u = $u|" -e "s|^v = .*|v = $v|" -e "s|^w = .*|w = $w|" -e "s|^pc = .*|pc = $pc|" \
    -e "s|^r12 = .*|r12 = $r12|" -e "s|^al = .*|al = $al|" -e "s|^yeta = .*|yeta = $yeta|" \
    -e "s|^angmin = .*|angmin = $min|" -e "s|^angmax = .*|angmax = $max|" -e "s|^step = .*|step = $step|" \
    "$root/data/Braxel.ini" \
    > "$work/$name/Braxel.ini"
  (cd "$work/$name" && "$calc" --target "$target" "$cases/$structure" > /dev/null 2>&1)
  cp "$work/$name/Braxel.out" "$cases/$name.out"
  cp "$work/$name/Braxel.prf" "$cases/$name.prf"
done
