#!/usr/bin/env bash
# Lines of a command file are bounded: a 1 MiB line is a read error of the command file (one
# warning naming it) and the next line is read; /dev/zero as a command file is given up and
# the question goes back to the keyboard. Both runs end by themselves with status 0.
#
#   line_bounds.sh KORBAST
set -u
prog=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-lines.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

# 900 (help), a line of 1 MiB, then 5000 and 5003 (leave the command file and quit).
{ echo 900; head -c 1048576 /dev/zero | tr "\0" 7; echo; echo 5000; echo 5003; } > cmds.txt
printf '\n5000\n5001\ncmds.txt\n\n' | timeout 30 "$prog" > out1.txt
[ $? = 0 ] || fail "1 MiB line: exit status"
[ "$(grep -c '^ LINE LONGER THAN 65536 BYTES$' out1.txt)" = 1 ] || fail "1 MiB line: one warning"
grep -q '^ IN FILE: cmds.txt$' out1.txt || fail "1 MiB line: the file is named"
grep -q 'HELP' out1.txt || fail "1 MiB line: the line before it"
[ "$(wc -c < out1.txt)" -lt 100000 ] || fail "1 MiB line: echoed"

# /dev/zero: ten failed reads end the command file (each error pauses for one line), then
# 9999 from the keyboard.
printf '\n5000\n5001\n/dev/zero\n\n\n\n\n\n\n\n\n\n\n9999\n' | timeout 30 "$prog" > out2.txt
[ $? = 0 ] || fail "/dev/zero: exit status"
grep -q '^ END OF COMMAND FILE$' out2.txt || fail "/dev/zero: command file ended"
echo ok
