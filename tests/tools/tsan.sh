#!/usr/bin/env bash
# Builds the program and its tests with ThreadSanitizer into build-tsan and runs the unit
# tests and a few whole-program runs (a map with its Si-Sh file, a multi-page beach-ball
# run) under it, with the suppressions of tests/tools/tsan.supp (the drawing and display
# libraries' own internals only). Prints the number of reports; status 1 when there are any.
# Not part of CI (a build of its own and slow tests).
#
#   tests/tools/tsan.sh [-jN]
set -u
src=$(cd "$(dirname "$0")/../.." && pwd)
jobs=${1:--j4}
build=$src/build-tsan
# ccache speeds up a rebuild where it is installed; the set-up does not install it.
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=)
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -DKORBAST_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${launcher[@]}" > /dev/null || exit 2
cmake --build "$build" "$jobs" > "$build/tsan-build.log" 2>&1 || { tail -n 20 "$build/tsan-build.log"; exit 2; }
logs=$build/tsan-logs
rm -rf "$logs" && mkdir -p "$logs"
export TSAN_OPTIONS="suppressions=$src/tests/tools/tsan.supp halt_on_error=0 exitcode=0 second_deadlock_stack=1 log_path=$logs/report"
export KORBAST_CASE_REAL_CLOCK=1
status=0
(cd "$build" && ctest "$jobs" -E '^(run|transcript|docs)\.' > "$logs/ctest.txt" 2>&1) ||
  { echo "unit tests failed under TSan: see $logs/ctest.txt"; status=1; }
# Whole-program runs.
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-tsan.XXXXXX")
trap 'rm -rf "$work"' EXIT
for i in $(seq 200); do cat "$src/tests/data/gcmt-samples.ndk"; done > "$work/big.ndk"
(cd "$work" && unset DISPLAY &&
  printf '\n1000\n1001\nbig.ndk\n7\ny\n2001\nsish.txt\n1000\ny\nSeismicity map\n99\n99\n99\n9999\n\n' |
    "$build/korbast" > map.out 2>&1 &&
  { printf '\n1000\n1001\nbig.ndk\n3000\n1000\ny\nBeach balls\n0\n'; yes '' | head -n 29
    printf '99\n20\n\n9999\n'; } | "$build/korbast" > balls.out 2>&1 &&
  [ "$(ls fps_bb_w1_p*.png | wc -l)" = 30 ]) || { echo "a whole-program run failed under TSan"; status=1; }
reports=$(cat "$logs"/report.* 2>/dev/null | grep -c '^WARNING: ThreadSanitizer')
echo "ThreadSanitizer reports: $reports (logs in $logs)"
[ "$reports" = 0 ] || status=1
exit $status
