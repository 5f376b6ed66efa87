#!/usr/bin/env bash
# Two runs in one folder drawing the same plot in the same window number: the run that writes
# a page of a window first holds that window's page files until it closes them. A second run
# that would write them meanwhile writes none of them, says so in an error frame and ends with
# status 1, and the first run's files are left as they were and end with all of its pages.
# Once they are closed (the window closed, or the run stopped), the next run replaces them as
# usual, and no lock file is left.
#
#   two_runs.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_work two-runs "$1" "$2"
for i in $(seq 200); do cat "$sample"; done > big.ndk  # 600 events: 30 pages of beach balls
cp "$sample" s.ndk  # 1 page
have() { command -v "$1" > /dev/null; }
pdf_pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
pngs() { ls | grep -c '^fps_bb_w1_p[0-9]*\.png$'; }
hidden() { ls -A | grep '^\.'; }
written() { grep -v 'could not' "$1" | grep -c ' written to '; }
balls() { printf '\n1000\n1001\n%s\n3000\n1000\ny\nBeach balls\n0\n' "$1"; }
at_menu() { tail -n 1 "$1" | grep -q 'Enter your choice'; }

# hold NAME: a run in the background drawing the 30 pages, its keyboard the FIFO NAME.keys
# (kept open on descriptor 9), held at the question after its second page (the first one
# written).
hold() {
  mkfifo "$1.keys"
  "$prog" > "$1.out" 2> "$1.err" < "$1.keys" &
  pid=$!
  exec 9> "$1.keys"
  balls big.ndk >&9
  until_true 60 grep -q 'plot page 1 written to' "$1.err" || fail "$1: its first page is not written"
}
# once NAME: a run of one page of beach balls, window closed (the error frame's pause, if
# any, takes the extra line), ended by 9999; its status in $status.
once() {
  { balls s.ndk; printf '99\n20\n\n\n9999\n'; } | "$prog" > "$1.out" 2> "$1.err"
  status=$?
}

# A holds the files; B, drawing the same window meanwhile, is refused and leaves A's alone.
hold a
cp fps_bb_w1_p001.png a_p001.png && cp fps_bb_w1.pdf a_w1.pdf
once b
[ "$status" = 1 ] || fail "b: status $status, expected 1"
grep -q 'EXECUTION TERMINATED' b.out || fail "b: no normal end"
for want in '   OUTPUT FILE FAILED WHILE OPENING' '   FILE: fps_bb_w1.pdf' \
  '   REASON: Another run is writing these page files' '   PAGES WRITTEN =         0'; do
  grep -qxF -- "$want" b.out || fail "b: no line '$want'"
done
grep -qxF 'korbast: plot page 1 could not be written to fps_bb_w1_p001.png and fps_bb_w1.pdf (Another run is writing these page files)' b.err &&
  [ "$(written b.err)" = 0 ] || fail "b: page notices: $(cat b.err)"
cmp -s a_p001.png fps_bb_w1_p001.png && cmp -s a_w1.pdf fps_bb_w1.pdf && [ "$(pngs)" = 1 ] ||
  fail "b: the files of a are touched"
[ "$(hidden)" = .fps_bb_w1.pdf.lock ] || fail "b: hidden files $(hidden)"

# A goes on to its 30th page and closes the window: its files hold all its pages.
{ yes '' | head -n 29; printf '99\n20\n\n'; } >&9
until_true 60 eval 'grep -q "The plot window is closed" a.out && at_menu a.out' ||
  fail "a: the window is not closed"
[ "$(written a.err)" = 30 ] && [ "$(grep -c 'and fps_bb_w1.pdf$' a.err)" = 30 ] ||
  fail "a: $(written a.err) pages announced, 30 drawn"
[ "$(pngs)" = 30 ] && cmp -s a_p001.png fps_bb_w1_p001.png || fail "a: not its 30 PNG pages"
if have pdfinfo; then
  [ "$(pdf_pages fps_bb_w1.pdf)" = 30 ] || fail "a: the PDF holds $(pdf_pages fps_bb_w1.pdf) pages, not 30"
fi
[ -z "$(hidden)" ] || fail "a: the window is closed, hidden files $(hidden)"

# With A's window closed (A still waiting at the main menu), C replaces the files.
once c
[ "$status" = 0 ] && [ "$(written c.err)" = 1 ] || fail "c: status $status, $(cat c.err)"
if have pdfinfo; then
  [ "$(pdf_pages fps_bb_w1.pdf)" = 1 ] || fail "c: the PDF holds $(pdf_pages fps_bb_w1.pdf) pages, not 1"
fi
! cmp -s a_p001.png fps_bb_w1_p001.png || fail "c: the first page of a is not replaced"
printf '9999\n' >&9
wait "$pid"; status=$?; exec 9>&-
[ "$status" = 0 ] || fail "a: status $status, expected 0"

# D holds the files and is stopped: the stop closes them, and E writes them. A link at the
# lock file's name is not followed but removed (E); a lock file left by a run that could not
# remove it (killed) is taken over and removed (F).
hold d
kill -s TERM "$pid"
wait "$pid"; status=$?; exec 9>&-
[ "$status" = 143 ] || fail "d: status $status, expected 143"
[ -z "$(hidden)" ] || fail "d: stopped, hidden files $(hidden)"
ln -s planted .fps_bb_w1.pdf.lock
once e
[ "$status" = 0 ] && [ "$(written e.err)" = 1 ] || fail "e: status $status, $(cat e.err)"
[ ! -e planted ] && [ -z "$(hidden)" ] || fail "e: the link at the lock file's name is followed or left"
: > .fps_bb_w1.pdf.lock
once f
[ "$status" = 0 ] && [ "$(written f.err)" = 1 ] && [ -z "$(hidden)" ] || fail "f: status $status, $(cat f.err)"
exit $fails
