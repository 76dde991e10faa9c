#!/bin/sh
# The run at the engine's capacity as a whole process, side by side for two builds of
# braxel-calc (say the one before a change and the one after): F m -3 m, 80 atoms at general
# positions, Mo, 2theta 5 to 150 at 0.02.
#
#     bench/compare_capacity.sh BEFORE AFTER [RUNS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
before=$(readlink -f "$1")
after=$(readlink -f "$2")
runs=${3:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed -e "s|^tabsg .*|tabsg   = $root/data/tabsg|" -e "s|^fscat .*|fscat   = $root/data/fscat|" \
  -e "s|^angmin = .*|angmin = 5|" -e "s|^angmax = .*|angmax = 150|" -e "s|^step = .*|step = 0.02|" \
  "$root/data/Braxel.ini" > "$work/Braxel.ini"
cd "$work"
hyperfine -N -w 2 -r "$runs" "$before --target Mo $root/bench/capacity.inp" \
  "$after --target Mo $root/bench/capacity.inp"
