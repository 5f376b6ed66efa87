#!/usr/bin/env bash
# A console that can no longer be written (its pipe closed by the reader) ends the run at
# once through the common stop path with status 1: a map of 24,999 events stops with its
# Si-Sh file at a whole line and its page written, a listing stops before the next command,
# and a run whose console closes in its banner ends at once. The program itself ignores
# SIGPIPE: it is run here with the signal's default action.
#
#   console_pipe.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_work console-pipe "$1" "$2"
env --default-signal=PIPE true 2> /dev/null || { echo "env --default-signal is missing"; exit 77; }
awk '{ l[NR] = $0 } END { for (i = 0; i < 8333; i++) for (j = 1; j <= NR; j++) print l[j] }' \
  "$sample" > big.ndk  # 24,999 events

# piped NAME BYTES ANSWERS: runs the program in NAME/ with its console read by `head -c
# BYTES`, within a time bound against a hang; its status in $status.
piped() {
  mkdir "$1" && cd "$1" && ln -s ../big.ndk .
  local t0; t0=$(date +%s.%N)
  printf "$3" | timeout 120 env --default-signal=PIPE "$prog" 2> err | head -c "$2" > out
  status=${PIPESTATUS[1]}
  echo "$1: status $status after $(echo "$(date +%s.%N) - $t0" | bc) s"
  [ "$status" = 1 ] || fail "$1: status $status, expected 1"
  grep -q 'console output could not be written' err || fail "$1: the lost console is not told"
  cd "$work" || exit 2
}

# A map with the Si-Sh file: its console (2.3 MB of map lines) closes part way.
piped map 2000000 '\n1000\n1001\nbig.ndk\n7\ny\n2001\nsish.txt\n1000\ny\nSeismicity map\n99\n99\n99\n9999\n\n'
lines=$(wc -l < map/sish.txt)
echo "map: the Si-Sh file holds $lines lines"
[ "$lines" -gt 1 ] && [ "$lines" -lt 25000 ] || fail "map: the Si-Sh file has $lines lines: not stopped part way"
[ "$(tail -c 1 map/sish.txt | od -An -tx1 | tr -d ' ')" = 0a ] &&
  [ $(( $(wc -c < map/sish.txt) % 110 )) = 0 ] || fail "map: the Si-Sh file ends inside a line"
[ "$(tail -c 8 map/seis.map_w1_p001.png | head -c 4)" = IEND ] || fail "map: no whole PNG page"
if command -v pdfinfo > /dev/null; then
  [ "$(pdfinfo map/seis.map_w1.pdf 2> /dev/null | awk '/^Pages:/ { print $2 }')" = 1 ] ||
    fail "map: the PDF does not hold the page"
fi
grep -q 'plot page 1 written' map/err || fail "map: the page is not announced"

# A listing of every event (1.2 MB), then a catalogue write that must not come.
piped listing 500000 '\n1000\n1001\nbig.ndk\n1100\n1200\n1001\no.ndk\n\n99\n9999\n'
[ ! -e listing/o.ndk ] || fail "listing: the run went on after its console closed"

# The console closes in the banner.
piped banner 5000 '\n1000\n1001\nbig.ndk\n1100\n1200\n1001\no.ndk\n\n99\n9999\n'
[ ! -e banner/o.ndk ] || fail "banner: the run went on after its console closed"
exit $fails
