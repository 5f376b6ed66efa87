#!/usr/bin/env bash
# Lines of a command file are bounded: a 1 MiB line is a read error of the command file (one
# warning naming it) and the next line is read; /dev/zero as a command file is given up and
# the question goes back to the keyboard. Both runs end by themselves with status 0. Answers
# that are not taken (a command file of noise, an endless pipe of one refused answer at any
# question, a set-up's set refused again and again, a choice that only says nothing was done)
# end the run after 100 in a row, and refusals with answers taken between them after 1000 in
# the run, with status 1 and a frame naming the input; one taken answer starts the count in a
# row again, blank lines at the main and points menus count nothing, a line too long to keep is
# one refused answer, a taken answer is never cut at its last line, and a person at a terminal
# (the keyboard, wherever the console goes) is asked again.
#
#   line_bounds.sh KORBAST SOURCE_DIR
set -u
prog=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-lines.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$2/tests/data/gcmt-samples.ndk" "$work/s.ndk" || exit 1
cd "$work" || exit 1
echo x > old.txt
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
# Answer streams, each word a printf format (TEXT*N: N times; a last yes=TEXT: `yes TEXT` for
# ever, commas as blanks), cut at 20000 lines. Refusals with nothing taken between them end the
# run at 100 (status 1, the frame, a small log) at each kind of question, a set refused as a
# whole (two parallels, an origin) counting one however many lines it took, and so does a
# choice answered only by a warning that nothing was done (1100 with nothing stored, 20 with no
# window, 5002 with no command file); one taken answer starts the count again, a refused value
# or exit is one line however many choices came before it, a line that goes on with an answer
# (the grid's further values, the yes to replacing a file) is judged by the count before the
# answer began, a line's end is no part of its length, and blank lines at the main menu's and
# the points menu's choice count nothing (status 0). Rounds of a taken answer and a refused one
# end at the 1000th refusal of the run (1000: status 1, its frame).
feed() {
  local w n k
  for w; do
    case $w in yes=*) yes "${w#yes=}" | tr , ' '; return ;; esac
    n=1; case $w in *'*'*) n=${w##*'*'}; w=${w%'*'*} ;; esac
    for ((k = 0; k < n; k++)); do printf "$w"; done
  done
}
set -f
while read -r want name words; do
  feed $words | head -n 20000 | timeout 60 "$prog" > "$name.txt" 2>&1
  st=$?; [ $st = "$((want > 0))" ] || fail "$name: status $st"
  frame=" 100 ANSWERS IN A ROW REFUSED" size=1000000
  [ "$want" = 1000 ] && frame=" 1000 ANSWERS REFUSED" size=8000000
  [ "$want" = 0 ] || { grep -qx "$frame" "$name.txt" &&
    [ "$(wc -c < "$name.txt")" -lt $size ]; } || fail "$name: no frame, or a large log"
done <<'EOF'
1 main-menu        \n yes=12345
1 reader-menu      \n1000\n yes=12345
1 projection-menu  \n2001\n300\n yes=12345
1 grid-values      \n2001\n320\n10\n yes=0,0,0
1 file-name        \n1000\n1000\n yes=no_such_file
1 yes-no           \n7\n yes=x
1 interval         \n2001\n320\n8\n yes=7
1 interval-blank   \n330\n51\n yes=
1 grid-menu        \n2001\n320\n yes=14
1 writer-format    \n1200\n yes=3000
1 origin-exit      \n2001\n300\n16\n99\n\n2\n0\n99\n300\n17\n99\n yes=99
1 refused-100      \n 12345\n*100 9999\n
1 increment-100    \n2001\n320\n13\n 0\n\n*100 5\n99\n99\n9999\n
1 parallels-blank  \n2001\n300\n3\n99\n99\n1\n45\n99\n1\n45\n99\n99\n300\n14\n99\n yes=
1 parallels-99     \n2001\n300\n3\n99\n99\n1\n45\n99\n1\n45\n99\n99\n300\n14\n99\n yes=99
1 parallels-cone   \n2001\n300\n14\n99\n\n99\n99\n1\n-45\n99\n1\n45\n99\n99\n300\n3\n99\n yes=
1 origin-rounds    \n2001\n300\n16\n99\n\n2\n0\n99\n300\n17\n99\n 1\n0\n99\n\n*100 2\n80\n99\n99\n9999\n
0 origin-99-rounds \n2001\n300\n16\n99\n\n2\n0\n99\n300\n17\n99\n 1\n0\n99\n\n*99 2\n80\n99\n99\n9999\n
0 origin-edits     \n2001\n300\n17\n99\n 1\n10\n*50 2\n-90\n99\n\n2\n45\n99\n99\n9999\n
1 list-nothing     \n yes=1100
1 writer-list      \n1200\n yes=1100
1 close-nothing    \n yes=20
1000 cmdfile-none  \n 5000\n5002\n\n*1100
0 list-stored      \n1000\n1001\ns.ndk\n 1100\n*300 9999\n
0 window-append    \n10\n\n\n 10\n\n*300 9999\n\n
0 grid-lines-99    \n2001\n320\n10\n x\n*99 10\n20\n5\n99\n99\n9999\n
1 grid-lines-100   \n2001\n320\n10\n x\n*100 10\n20\n5\n99\n99\n9999\n
1 grid-unended     \n2001\n320\n10\n10\n \n*150 20\n5\n99\n99\n9999\n
0 replace-99       \n1200\n12\n no/f\n\n*99 old.txt\ny\n22\n99\n9999\n
1 replace-100      \n1200\n12\n no/f\n\n*100 old.txt\ny\n22\n99\n9999\n
0 line-lf-65536    \n 9999%65532s\n
0 line-crlf-65536  \r\n 9999%65532s\r\n
0 line-cr-65536    \r 9999%65532s\r
1 line-lf-65537    \n 9999%65533s\n\n 12345\n*99 9999\n
1 line-crlf-65537  \r\n 9999%65533s\r\n\r\n 12345\r\n*99 9999\r\n
1 line-cr-65537    \r 9999%65533s\r\r 12345\r*99 9999\r
0 line-crlf-98     \r\n 9999%65533s\r\n\r\n 12345\r\n*98 9999\r\n
0 line-cr-98       \r 9999%65533s\r\r 12345\r*98 9999\r
1 main-passed-over \n 77\n\n*600
1 window-commands  \n330\n yes=10
1 long-lines-100   \n %070000d\n\n*100 9999\n
1000 criteria-rounds \n1000\n100\n 110\n10\nabc\n*5000
1000 increment-1100 \n 2001\n320\n13\n0\n\n5\n99\n99\n*1100 9999\n
0 long-lines-10    \n %070000d\n\n*10 9999\n
0 plot-color-table \n330\n 12345\n*99 52\n99\n99\n9999\n
0 increment-900    \n 2001\n320\n13\n0\n\n5\n99\n99\n*900 9999\n
0 increment-99     \n2001\n320\n13\n 0\n\n*99 5\n99\n99\n9999\n
0 taken-between    \n 12345\n*99 900\n 12345\n*99 9999\n
0 ellipsoid        \n 330\n99\n*55 2001\n300\n16\n99\n10\n\n1\n\n\n\n9999\n
0 increment        \n 2001\n99\n*60 2001\n320\n13\n0\n\n5\n99\n99\n9999\n
0 window-closed    \n330\n 12345\n*99 50\n 12345\n*99 99\n9999\n
0 main-blank       \n*151 9999\n
0 points-blank     \n2001\n343\ny\n1000\ny\nw\n \n*150 99\n99\n99\n9999\n\n
EOF
set +f
# The same from a command file (the warning's pause reads the keyboard).
feed '330\n99\n*55' '2001\n300\n16\n99\n10\n1\n\n\n\n9999\n' > ellipsoid.cmd
printf '\n5000\n5001\nellipsoid.cmd\n\n' | timeout 60 "$prog" > ellipsoid.txt || fail "ellipsoid.cmd: ended"
# Lines too long to keep in a command file, each one refused answer whose error frame pauses
# on the keyboard: 10 of them and 9999 end with status 0, 100 with the frame naming the file.
for n in 10 100; do
  feed "%070000d\n*$n" '9999\n' > long$n.cmd
  feed '\n5000\n5001\n' "long$n.cmd\n" "\n*$n" | timeout 60 "$prog" > long$n.txt
  st=$?; [ $st = "$((n / 100))" ] || fail "long$n.cmd: status $st"
  [ $n = 10 ] || grep -qx ' command file: long100.cmd' long$n.txt || fail "long$n.cmd: no frame"
done
# The grid's values from a command file, on three lines after 99 and 100 refused: taken, then
# the frame naming the command file.
for n in 99 100; do
  { printf '2001\n320\n10\n'; yes x | head -n $n; printf '10\n20\n5\n99\n99\n9999\n'; } > grid$n.cmd
  printf '\n5000\n5001\ngrid%s.cmd\n' $n | timeout 60 "$prog" > grid$n.txt
  st=$?; [ $st = "$((n / 100))" ] || fail "grid$n.cmd: status $st"
  [ $n = 99 ] || grep -q '^ command file: grid100.cmd$' grid$n.txt || fail "grid$n.cmd: no frame"
done
# A command file started inside a running one is refused, and the first one goes on.
printf '5000\n5001\nb.cmd\n900\n5000\n5003\n' > a.cmd
printf '5000\n5003\n' > b.cmd
printf '\n5000\n5001\na.cmd\n\n\n' | timeout 60 "$prog" > nested.txt
grep -q '^ COMMAND FILE ALREADY OPEN$' nested.txt && grep -q HELP nested.txt ||
  fail "a command file started from a command file: not refused"
# A person types at a terminal whatever the console is; a file is no person, even with the
# console on a terminal.
if command -v python3 > /dev/null; then
  python3 - "$prog" <<'EOF' || fail "terminal"
import os, pty, select, subprocess, sys, time
def run(keys, console, typed=b""):
    m, s = pty.openpty()
    p = subprocess.Popen([sys.argv[1]], stdin=s if keys is None else keys,
                         stdout=s if console is None else console, stderr=subprocess.DEVNULL)
    os.close(s)
    os.write(m, typed)
    out, end = b"", time.time() + 60  # a safety net only
    while time.time() < end:  # to the end of the run, which closes the terminal
        if select.select([m], [], [], 0.1)[0]:
            try:
                out += os.read(m, 65536)
            except OSError:
                break
    if p.poll() is None:
        p.kill()
    return p.wait(), out
with open("tty_in.txt", "wb") as log:  # the keyboard a terminal, the console a file
    status, _ = run(None, log, b"\n" + b"x\n\n" * 150 + b"9999\n")  # each x with its pause's RETURN
if status != 0:
    sys.exit(f"a person at the keyboard, the console a file: status {status}")
with open("keys.txt", "wb") as f:
    f.write(b"\n" + b"x\n" * 300)
with open("keys.txt", "rb") as keys:  # the keyboard a file, the console a terminal
    status, out = run(keys, None)
if status != 1 or b"keyboard: no terminal" not in out:
    sys.exit(f"a file as the keyboard, the console a terminal: status {status}, not ended")
EOF
fi
echo ok
