#!/bin/sh
# Whole braxel-calc processes, side by side for two builds (say the one before a change and the
# one after), 2theta 5 to 150 at 0.02: by default the run at the engine's capacity (F m -3 m,
# 80 atoms at general positions, Mo), else the structure given with Cu.
#
#     bench/compare_builds.sh BEFORE AFTER [RUNS] [STRUCTURE]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
before=$(readlink -f "$1")
after=$(readlink -f "$2")
runs=${3:-10}
if [ $# -ge 4 ]; then
  run="$(readlink -f "$4")"
else
  run="--target Mo $root/bench/capacity.inp"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed -e "s|^tabsg .*|tabsg   = $root/data/tabsg|" -e "s|^fscat .*|fscat   = $root/data/fscat|" \
  -e "s|^angmin = .*|angmin = 5|" -e "s|^angmax = .*|angmax = 150|" -e "s|^step = .*|step = 0.02|" \
  "$root/data/Braxel.ini" > "$work/Braxel.ini"
cd "$work"
hyperfine -N -w 2 -r "$runs" "$before $run" "$after $run"
