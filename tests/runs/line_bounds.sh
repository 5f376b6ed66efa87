#!/usr/bin/env bash
# Lines of a command file are bounded: a 1 MiB line is a read error of the command file (one
# warning naming it) and the next line is read; /dev/zero as a command file is given up and
# the question goes back to the keyboard. Both runs end by themselves with status 0. Answers
# that can never be taken (a command file of noise, `yes x` as the keyboard) end the run after
# 100 in a row, with status 1 and a frame naming the input.
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
# 300 lines of bytes above 127 (no blank, digit or sign): no answer can be read from them.
LC_ALL=C awk 'BEGIN { for (i = 0; i < 300; i++) { for (j = 1; j < 40; j++)
  printf "%c", 128 + (i * 7 + j * 13) % 128; print "" } }' > noise.txt
printf '\n5000\n5001\nnoise.txt\n\n9999\n' | timeout 30 "$prog" > out3.txt
[ $? = 1 ] && grep -q '^ command file: noise.txt$' out3.txt || fail "noise: not ended, file not named"
yes x | timeout 30 "$prog" > out4.txt
[ $? = 1 ] && grep -q '^ keyboard: no terminal$' out4.txt || fail "yes x: not ended"
echo ok
