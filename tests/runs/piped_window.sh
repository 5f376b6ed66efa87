#!/usr/bin/env bash
# With a shown window (under xvfb-run), answers already waiting on a pipe are read: the run
# opens a plot window, closes it and quits, and ends long before its input does.
#
#   piped_window.sh KORBAST
set -u
prog=$1
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run not installed: skipped"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-piped.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
# Start banner, 10 (open the plot window, default name and set-up), 20 (close it), 9999.
# The input stays open 30 s longer (until the run has ended); the run must not wait for it.
start=$(date +%s)
( printf '\n10\n\n\n20\n\n9999\n'; sleep 30 & echo $! > sleeper; wait ) |
  { timeout 60 xvfb-run -a "$prog" > out.txt 2> err.txt; echo $? > status; date +%s > end
    kill "$(cat sleeper)" 2>/dev/null; }
status=$(cat status)
took=$(( $(cat end) - start ))
[ "$status" = 0 ] || { echo "FAIL: exit status $status"; cat err.txt; exit 1; }
[ "$took" -lt 15 ] || { echo "FAIL: the run waited for the end of its input ($took s)"; exit 1; }
echo ok
