#!/usr/bin/env bash
# Builds the fuzz harnesses with clang-14, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ and runs each in turn for SECONDS (60 unless given), or only the harnesses named:
#   fuzz/run.sh [SECONDS] [structure-inp structure-ins structure-icsd structure-cif
#                          structure-expo settings tabsg abctrans fscat pattern]
# Each harness starts from its seeds (examples/, tests/data, data/ and fuzz/corpus/) and the
# corpus its earlier runs grew in build-fuzz/corpus/. Any finding (crash, sanitizer report,
# leak, an input slower than 25 s) fails the script; the input that found it is kept in
# build-fuzz/findings/ and the harness's log in build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  harnesses=(structure-inp structure-ins structure-icsd structure-cif structure-expo settings
             tabsg abctrans fscat pattern)
fi
build=build-fuzz
# clang-14 with libstdc++ 12 rejects gemmi's CIF document in C++20 (a vector of a type not yet
# complete); the harnesses build with LLVM's own library instead. libFuzzer itself is built on
# libstdc++, which is linked beside it by file name (clang turns a plain -lstdc++ into -lc++).
braxel_extra_packages=(clang-14 libclang-rt-14-dev libc++-14-dev libc++abi-14-dev)
source tools/ensure-packages.sh

# The seed files of a harness.
seeds() {
  case $1 in
    structure-inp) echo examples/*.inp fuzz/corpus/structure-inp/* ;;
    structure-cif) echo examples/*.cif fuzz/corpus/structure-cif/* ;;
    structure-expo) echo tests/data/NaCl.out fuzz/corpus/structure-expo/* ;;
    structure-*) echo fuzz/corpus/"$1"/* ;;
    settings) echo data/Braxel.ini ;;
    tabsg) echo data/tabsg fuzz/corpus/tabsg/* ;;
    abctrans) echo data/ABCTrans ;;
    fscat) echo data/fscat fuzz/corpus/fscat/* ;;
    pattern) echo fuzz/corpus/pattern/* ;;
    *) echo "no harness $1" >&2; exit 1 ;;
  esac
}

mkdir -p "$build"
cmake -S . -B "$build" -DBRAXEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_CXX_FLAGS="-stdlib=libc++ -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -Wno-pass-failed" \
  -DCMAKE_EXE_LINKER_FLAGS="-stdlib=libc++" -DCMAKE_CXX_STANDARD_LIBRARIES="-l:libstdc++.so.6" \
  >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
targets=()
for harness in "${harnesses[@]}"; do targets+=("fuzz-$harness"); done
cmake --build "$build" -j2 --target "${targets[@]}"

mkdir -p "$build/findings" "$build/logs"
failed=()
for harness in "${harnesses[@]}"; do
  seedDir="$build/seeds/$harness"
  corpus="$build/corpus/$harness"
  rm -rf "$seedDir"
  mkdir -p "$seedDir" "$corpus"
  # shellcheck disable=SC2046
  cp $(seeds "$harness") "$seedDir/"
  log="$build/logs/$harness.log"
  if "$build/bin/fuzz-$harness" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$harness-" \
      "$corpus" "$seedDir" >"$log" 2>&1; then
    verdict=ok
  else
    verdict=FINDING
    failed+=("$harness")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$harness: ${runs:-?} executions, $(ls "$corpus" | wc -l) corpus inputs, $verdict"
done
if [ ${#failed[@]} -gt 0 ]; then
  for harness in "${failed[@]}"; do
    echo "=== $harness ($build/logs/$harness.log)"
    grep -E -A25 'ERROR|FINDING|runtime error|Test unit written' "$build/logs/$harness.log" | head -60
  done
  exit 1
fi
