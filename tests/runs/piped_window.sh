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
# The input stays open far past the run's time bound (a sleeper, named before the answers
# are given, holds the pipe): a run that waits for the end of its input is ended by the bound.
( sleep 300 & echo $! > sleeper; printf '\n10\n\n\n20\n\n9999\n'; wait ) |
  { timeout 100 xvfb-run -a "$prog" > out.txt 2> err.txt; echo $? > status; kill "$(cat sleeper)" 2>/dev/null; }
status=$(cat status)
[ "$status" != 124 ] || { echo "FAIL: the run waited for the end of its input"; exit 1; }
[ "$status" = 0 ] || { echo "FAIL: exit status $status"; cat err.txt; exit 1; }
echo ok
