#!/bin/bash
# Regenerates the data files that come with the program into a scratch folder, runs the
# generators' own checks against gemmi, and fails when the committed files differ.
# Needs Debian's python3 with python3-gemmi, python3-cctbx, python3-periodictable and
# python3-pymatgen (apt-get install python3-gemmi python3-cctbx python3-periodictable
# python3-pymatgen).  Usage: tools/regenerate.sh [--update]  (--update copies the fresh
# files over the committed ones instead of only comparing).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
py=/usr/bin/python3
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cd "$root"
"$py" tools/gen_tabsg.py --tabsg "$scratch/tabsg" --fixture "$scratch/absences.txt"
"$py" tools/gen_tabsg.py --check data/tabsg
"$py" tools/gen_abctrans.py --out "$scratch/ABCTrans"
"$py" tools/gen_fscat.py --out "$scratch/fscat"
"$py" tools/gen_reference_f.py --out "$scratch/reference_f.txt"
"$py" tools/gen_corpus_lines.py --out "$scratch/expected_lines.txt"

status=0
for pair in "tabsg:data/tabsg" "absences.txt:tests/data/absences.txt" \
            "ABCTrans:data/ABCTrans" "fscat:data/fscat" \
            "reference_f.txt:tests/data/reference_f.txt" \
            "expected_lines.txt:tests/data/corpus/expected_lines.txt"; do
  fresh="$scratch/${pair%%:*}"
  committed="${pair#*:}"
  if [[ "${1:-}" == "--update" ]]; then
    cp "$fresh" "$committed"
  elif ! diff -q "$fresh" "$committed" >/dev/null 2>&1; then
    echo "$committed differs from what the generator gives:"
    diff -u "$committed" "$fresh" | head -20 || true
    status=1
  else
    echo "$committed matches the generator"
  fi
done
exit $status
