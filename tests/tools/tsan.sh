#!/usr/bin/env bash
# Builds the program and its tests with ThreadSanitizer into build-tsan and runs the unit
# tests and the whole-program runs of the page writer under it, with the two suppressions of
# tests/tools/tsan.supp (races inside Cairo, and inside Fontconfig as Cairo calls it for the
# pages' texts; nothing of the program's): a map with its Si-Sh file (also on a display, where
# Xvfb is installed), 210 beach-ball pages, a PDF whose writes never end (given up), slow page
# writes while the run is stopped and continued, SIGTERM among the pages, two runs side by side
# on the same page files, runs whose threads cannot all be started, and a display that never
# answers (the window's thread left behind). Prints the number of reports; status 1 when there
# are any or a run failed.
#
#   tests/tools/tsan.sh [-jN] [--program]
#
# --program (CI's thread check) builds only the program and the stall library and runs only
# the whole-program runs.
set -u
src=$(cd "$(dirname "$0")/../.." && pwd)
jobs=-j4 program=0
for a in "$@"; do case $a in --program) program=1 ;; *) jobs=$a ;; esac; done
build=$src/build-tsan
# ccache speeds up a rebuild where it is installed; the set-up does not install it.
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=)
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -DKORBAST_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${launcher[@]}" > /dev/null || exit 2
targets=(); [ $program = 0 ] || targets=(--target korbast stall_writes)
cmake --build "$build" "$jobs" "${targets[@]}" > "$build/tsan-build.log" 2>&1 ||
  { tail -n 20 "$build/tsan-build.log"; exit 2; }
logs=$build/tsan-logs
rm -rf "$logs" && mkdir -p "$logs"
export TSAN_OPTIONS="suppressions=$src/tests/tools/tsan.supp halt_on_error=0 exitcode=0 second_deadlock_stack=1 log_path=$logs/report"
export KORBAST_CASE_REAL_CLOCK=1
status=0
if [ $program = 0 ]; then
  (cd "$build" && ctest "$jobs" -E '^(run|transcript|docs)\.' > "$logs/ctest.txt" 2>&1) ||
    { echo "unit tests failed under TSan: see $logs/ctest.txt"; status=1; }
fi
# Whole-program runs, each in a folder of its own; `failed NAME` when one did not end as it must.
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-tsan.XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cd "$work" || exit 2
unset DISPLAY
prog=$build/korbast
stall=(env "LD_PRELOAD=$build/tests/libstall_writes.so")
failed() { echo "a whole-program run failed under TSan: $1"; status=1; }
pngs() { ls "$1"/fps_bb_w1_p*.png 2> /dev/null | wc -l; }
for i in $(seq 200); do cat "$src/tests/data/gcmt-samples.ndk"; done > big.ndk  # 600 events
for i in $(seq 7); do cat big.ndk; done > many.ndk
head -n 300 big.ndk > small.ndk  # 60 events
map='\n1000\n1001\n../big.ndk\n7\ny\n2001\nsish.txt\n1000\ny\nSeismicity map\n99\n99\n99\n9999\n\n'
# balls [9999]: the answers of a beach-ball window of big.ndk's 30 pages (20 events to a page),
# closed; BALLS=many: of many.ndk's 210 pages.
balls() { printf '\n1000\n1001\n../%s.ndk\n3000\n1000\ny\nBeach balls\n0\n' "${BALLS:-big}"
  yes '' | head -n $([ "${BALLS:-}" = many ] && echo 209 || echo 29); printf '99\n20\n\n%b' "${1:-}"; }
mkdir map map_x many stalled slow term two threads_1 threads_0
(cd map && printf "$map" | "$prog" > out 2>&1) || failed map
if command -v xvfb-run > /dev/null; then
  (cd map_x && printf "$map" | xvfb-run -a "$prog" > out 2>&1) || failed map_x
fi
(cd many && BALLS=many balls '9999\n' | "$prog" > out 2>&1 && [ "$(pngs .)" = 210 ]) || failed many
# The PDF's writes never end: the writer is given up (status 1).
(cd stalled && balls '9999\n' | timeout 120 "${stall[@]}" STALL_WRITES_MATCHING=fps_bb_w1.pdf "$prog" > out 2>&1
 [ $? = 1 ] && grep -q 'no byte was written for 3 seconds' out) || failed stalled
# Slow writes (0.1 s and 4 kB a call) while the run is stopped and continued every 0.1 s.
(cd slow && { printf '\n1000\n1001\n../small.ndk\n3000\n1000\ny\nBeach balls\n0\n\n\n99\n20\n\n9999\n' |
   "${stall[@]}" STALL_WRITES_MATCHING=fps_bb_w1 STALL_WRITES_SECONDS=0.1 \
   STALL_WRITES_BYTES=4096 "$prog" > out 2>&1 & pid=$!
   while [ -e "/proc/$pid" ] && [ "$(cut -d ' ' -f 3 "/proc/$pid/stat")" != Z ]; do
     kill -s STOP $pid; sleep 0.1; kill -s CONT $pid; sleep 0.1; done 2> /dev/null
   wait $pid; } && [ "$(pngs .)" = 3 ]) || failed slow
# SIGTERM among the pages, then again while the first one is taken.
(cd term || exit; { BALLS=many balls; sleep 30; } 2> /dev/null | "$prog" > out 2> err & pid=$!
 for k in $(seq 600); do [ "$(grep -c ' written to ' err)" -ge 20 ] && break; sleep 0.1; done
 kill -s TERM $pid; sleep 0.05; kill -s TERM $pid; wait $pid; [ $? = 143 ]) || failed term
# Two runs side by side on the same page files: one writes them, the other none of them.
(cd two && { balls '9999\n' | "$prog" > out1 2>&1 & } && { balls '9999\n' | "$prog" > out2 2>&1; wait; }
 [ "$(pngs .)" = 30 ]) || failed two
# Threads that cannot be started: one (the stop watcher), none.
for n in 1 0; do
  (cd threads_$n && balls '9999\n' | "${stall[@]}" THREADS_THAT_START=$n "$prog" > out 2>&1 &&
   [ "$(pngs .)" = 30 ]) || failed threads_$n
done
# A display that takes the connection and never answers, by TCP and on its abstract socket,
# with an authority file named and with none: the window's thread is left behind inside the X
# libraries, which the run's end does not tear down under it (status 0).
. "$src/tests/runs/lib.sh"
mute_display mute_names || failed "no display that never answers"
: > cookie; runs=()
for d in $(cat mute_names); do for auth in -uXAUTHORITY "XAUTHORITY=$work/cookie"; do
  dir=mute_${d//[.:]/_}${auth:0:2}; mkdir "$dir"
  (cd "$dir" && printf '\n10\nn\n3\n0\nW\n20\n\n9999\n\n' | env "$auth" DISPLAY="$d" "$prog" > out 2>&1
   echo $? > status) & runs+=($!)
done; done
wait "${runs[@]}"; kill "$mute_pid"
for dir in mute_*/; do [ "$(cat "$dir/status")" = 0 ] || failed "$dir"; done
reports=$(cat "$logs"/report.* 2>/dev/null | grep -c '^WARNING: ThreadSanitizer')
echo "ThreadSanitizer reports: $reports (logs in $logs)"
[ "$reports" = 0 ] || status=1
exit $status
