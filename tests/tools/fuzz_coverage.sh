#!/usr/bin/env bash
# Line coverage of the code each fuzz target is named after: builds the targets with clang's
# source coverage into build-cov/, runs each one over a copy of its corpus for SECONDS
# (default 20, three at a time), and reports the covered lines of its files.
#
#   tests/tools/fuzz_coverage.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-20}
build=$here/build-cov
cmake -S "$here" -B "$build" -DKORBAST_FUZZ=ON -DKORBAST_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS=-fprofile-instr-generate -fcoverage-mapping" \
  -DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate > /dev/null
cmake --build "$build" -j 3 > /dev/null
out=$(mktemp -d)
run_one() {
  local name=$1 corpus=$out/corpus_$1
  mkdir -p "$corpus"
  [ -d "$here/tests/fuzz/corpus/$name" ] && cp -r "$here/tests/fuzz/corpus/$name/." "$corpus/"
  (cd "$corpus" && LLVM_PROFILE_FILE=$out/$name.profraw "$build/tests/fuzz/fuzz_$name" \
     -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 -artifact_prefix="$out/$name-" \
     "$corpus" > "$out/$name.log" 2>&1) || echo "$name: the run failed (see $out/$name.log)"
}
export -f run_one; export here build out seconds
# Each target and the files it is named after.
targets="columns:columns colortable:plot/colortable.cpp dek:catalogue/gcmtread.cpp
  ndk:catalogue/gcmtread.cpp fields:frame/fields.cpp listread:frame/listread.cpp
  maplines:maps/lines.cpp,maps/line_formats.cpp menu:program polygon:catalogue/seistest.cpp
  settings:plot/window_device.cpp lines:frame/units.cpp
  png:pages/png_writer.cpp,pages/row_deflate.cpp"
for t in $targets; do echo "${t%%:*}"; done | xargs -n 1 -P 3 bash -c 'run_one "$1"' _
for t in $targets; do
  name=${t%%:*}; files=$(echo "${t#*:}" | tr ',' '\n' | sed "s|^|$here/src/|")
  llvm-profdata merge -sparse "$out/$name.profraw" -o "$out/$name.profdata"
  # shellcheck disable=SC2086
  llvm-cov report "$build/tests/fuzz/fuzz_$name" -instr-profile="$out/$name.profdata" $files |
    tail -n 1 | awk -v n="$name" -v w="${t#*:}" '{ printf "%-11s %5d of %5d lines = %s  (src/%s)\n", n, $8 - $9, $8, $10, w }'
done
rm -rf "$out"
