#!/usr/bin/env bash
# Two runs in one folder drawing the same plot in the same window number: the run that writes
# a page of a window first holds that window's page files until it closes them. A second run
# that would write them meanwhile writes none of them, says so in an error frame and ends with
# status 1, and the first run's files are left as they were and end with all of its pages.
# Once they are closed (the window closed, or the run stopped, or a write given up), the next
# run replaces them as usual, and no lock file is left. The hold works between users of a
# shared folder; where none can be had (also a link of another user at the lock file's name in
# a sticky folder), the run writes without one, and the run whose files are taken finds out and
# says so. A FIFO at the PDF's name is replaced by the PDF.
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

# start NAME [PREFIX...]: a run (under PREFIX) in the background, its keyboard the FIFO
# NAME.keys (kept open on descriptor 9).
start() {
  mkfifo "$1.keys"
  "${@:2}" "$prog" > "$1.out" 2> "$1.err" < "$1.keys" &
  pid=$!
  exec 9> "$1.keys"
}
# hold NAME [PREFIX...]: a run drawing the 30 pages, held at the question after its second
# page (the first one written).
hold() {
  start "$@"
  balls big.ndk >&9
  until_true 60 grep -q 'plot page 1 written to' "$1.err" || fail "$1: its first page is not written"
}
# once NAME [PREFIX...]: a run of one page of beach balls, window closed (the error frame's
# pause, if any, takes the extra line), ended by 9999; its status in $status.
once() {
  { balls s.ndk; printf '99\n20\n\n\n9999\n'; } | "${@:2}" "$prog" > "$1.out" 2> "$1.err"
  status=$?
}
# close_held NAME LOST: the held run NAME goes on to its 30th page, closes the window and ends
# (9999, or the end of its input), its status in $status. LOST of its files are told as taken
# from it, each in an error frame whose pause takes one more answer: they are looked for once
# its second page is written, and waited for before the rest is answered.
told_lost() { [ "$(grep -c ' no longer in ' "$1.err")" -ge "$2" ]; }
close_held() {
  printf '\n' >&9
  until_true 60 told_lost "$1" "$2" || fail "$(basename "$PWD"): $1: not $2 files told as taken"
  { yes '' | head -n $((28 + $2)); printf '99\n20\n\n9999\n'; } >&9
  exec 9>&-
  wait "$pid"; status=$?
}
# in_case NAME: a folder of its own for a case, with the catalogues, entered.
in_case() { mkdir "$work/$1" && cd "$work/$1" && cp "$work/big.ndk" "$work/s.ndk" . || exit 2; }

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
# remove it (killed, an empty file) is taken over and removed (F); a file with content there is
# no lock: G writes its page without a hold and leaves the file as it is.
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
echo notes > .fps_bb_w1.pdf.lock
once g
[ "$status" = 0 ] && [ "$(written g.err)" = 1 ] && [ "$(cat .fps_bb_w1.pdf.lock 2> /dev/null)" = notes ] ||
  fail "g: status $status, $(cat g.err), the file at the lock's name taken"
rm -f .fps_bb_w1.pdf.lock

# A catalogue chosen at the first page's name, then at the lock file's name, while the run's
# window holds its files: refused as a file the run holds, and asked again; the page and the lock
# stay the window's, and the lock goes with it.
in_case own_lock
{ balls big.ndk; yes '' | head -n 29
  printf '1200\n1001\nfps_bb_w1_p001.png\ny\n\n.fps_bb_w1.pdf.lock\ny\n\nc.ndk\n\n99\n20\n\n9999\n'; } |
  "$prog" > a.out 2> a.err
status=$?
[ "$status" = 0 ] && [ "$(grep -cxF '   REASON: File already opened in another unit' a.out)" = 2 ] && [ -s c.ndk ] &&
  [ "$(head -c 4 fps_bb_w1_p001.png | tail -c 3)" = PNG ] && [ "$(written a.err)" = 30 ] && [ -z "$(hidden)" ] ||
  fail "own_lock: status $status, hidden files $(hidden)"
cd "$work"

# Runs of other users: as root, the second run (or both) is run as nobody (uid and gid 65534),
# in folders of theirs, where nobody can reach the program and this folder; otherwise as this
# user, and the case that needs two users is skipped.
nobody=()
if [ "$(id -u)" = 0 ] && command -v setpriv > /dev/null; then
  chmod 755 "$work"
  nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  "${nobody[@]}" test -x "$prog" -a -x "$work" || nobody=()
fi

# Where no hold can be had, the run that writes the pages still finds out when they are taken
# from it: A's lock file removed while A holds it (a clean-up), or a lock file of mode 000 that
# the runs cannot open. B then writes its page, as nothing stops it; at its next page A finds
# that the names no longer hold its PDF and its first PNG: an error frame names each, and A
# ends with status 1. B's page stands; A's later pages are written to their PNG files only.
taken() {  # CASE: after A held and B ran
  [ "$status" = 0 ] && [ "$(written b.err)" = 1 ] || fail "$1: b: status $status, $(cat b.err)"
  cp fps_bb_w1_p001.png b_p001.png && cp fps_bb_w1.pdf b_w1.pdf
  close_held a 2
  [ "$status" = 1 ] || fail "$1: a: status $status, expected 1"
  for want in '   FILE: fps_bb_w1.pdf' '   REASON: Replaced by another program: page 1 is not in it' \
    '   FILE: fps_bb_w1_p001.png' '   REASON: Replaced by another program'; do
    grep -qxF -- "$want" a.out || fail "$1: a: no line '$want'"
  done
  grep -qxF 'korbast: plot page 1 is no longer in fps_bb_w1.pdf (Replaced by another program)' a.err &&
    grep -qxF 'korbast: plot page 1 is no longer in fps_bb_w1_p001.png (Replaced by another program)' a.err &&
    grep -qxF 'korbast: plot page 30 written to fps_bb_w1_p030.png' a.err ||
    fail "$1: a: page notices: $(head -n 3 a.err)"
  cmp -s b_p001.png fps_bb_w1_p001.png && cmp -s b_w1.pdf fps_bb_w1.pdf && [ "$(pngs)" = 30 ] ||
    fail "$1: the page of b does not stand beside the 29 later ones of a"
}
in_case removed
hold a
rm -f .fps_bb_w1.pdf.lock
once b
taken removed
[ -z "$(hidden)" ] || fail "removed: hidden files $(hidden)"
if [ "$(id -u)" != 0 ] || [ ${#nobody[@]} -gt 0 ]; then
  in_case mode000
  [ ${#nobody[@]} = 0 ] || chown -R 65534:65534 .
  : > .fps_bb_w1.pdf.lock && chmod 000 .fps_bb_w1.pdf.lock
  hold a "${nobody[@]}"
  once b "${nobody[@]}"
  taken mode000
else
  echo "--- mode000: no other user to run as (setpriv, or a folder nobody can reach): not run"
fi

# A folder at the lock file's name is locked as the lock file would be: B is refused, A ends
# with its 30 pages, and the folder is left.
in_case folder
mkdir .fps_bb_w1.pdf.lock
hold a
once b
[ "$status" = 1 ] && grep -qxF '   REASON: Another run is writing these page files' b.out ||
  fail "folder: b: status $status, $(cat b.err)"
close_held a 0
[ "$status" = 0 ] && [ "$(written a.err)" = 30 ] && [ "$(pdf_pages fps_bb_w1.pdf)" = 30 ] ||
  fail "folder: a: status $status, $(written a.err) pages announced, $(pdf_pages fps_bb_w1.pdf) in the PDF"
[ -d .fps_bb_w1.pdf.lock ] && [ "$(hidden)" = .fps_bb_w1.pdf.lock ] || fail "folder: hidden files $(hidden)"

# Two users of a shared group folder (mode 2775), each with umask 077: the lock file of the
# first is readable by all, so the second is refused as a run of the first user would be.
if [ ${#nobody[@]} -gt 0 ]; then
  in_case shared
  chgrp 65534 . && chmod 2775 . || exit 2
  umask 077
  hold a
  once b "${nobody[@]}"
  [ "$status" = 1 ] && grep -qxF '   REASON: Another run is writing these page files' b.out ||
    fail "shared: b: status $status, $(cat b.err)"
  close_held a 0
  umask 022
  [ "$status" = 0 ] && [ "$(written a.err)" = 30 ] && [ "$(pdf_pages fps_bb_w1.pdf)" = 30 ] ||
    fail "shared: a: status $status, $(written a.err) pages announced, $(pdf_pages fps_bb_w1.pdf) in the PDF"
  [ -z "$(hidden)" ] || fail "shared: hidden files $(hidden)"
else
  echo "--- shared: a second user needs root and setpriv: not run"
fi

# A link another user put at the lock file's name in a sticky folder (mode 1777): the run can
# neither open it nor remove it, so no hold can be had, and it writes its page files without
# one (the looks at their names guard them); the link and its target are left as they were.
if [ ${#nobody[@]} -gt 0 ]; then
  in_case sticky
  chmod 1777 . && echo kept > target && ln -s target .fps_bb_w1.pdf.lock || exit 2
  once a "${nobody[@]}"
  [ "$status" = 0 ] && [ "$(written a.err)" = 1 ] || fail "sticky: a: status $status, $(cat a.err)"
  [ -L .fps_bb_w1.pdf.lock ] && [ "$(cat target)" = kept ] || fail "sticky: the link or its target is touched"
else
  echo "--- sticky: a second user needs root and setpriv: not run"
fi

# A FIFO at the PDF's name, with a reader or none, is replaced by the PDF as any file there (a
# PDF cannot be written into a pipe; one without a reader would keep the writer waiting, and
# the run, for ever: ended by the time limit, status 124).
for reader in none cat; do
  in_case fifo_$reader
  mkfifo fps_bb_w1.pdf
  [ $reader = none ] || { cat fps_bb_w1.pdf > read.bytes & rpid=$!; }
  { balls big.ndk; yes '' | head -n 29; printf '99\n20\n\n9999\n'; } | timeout 60 "$prog" > f.out 2> f.err
  status=$?
  [ $reader = none ] || { kill "$rpid" 2>/dev/null; wait "$rpid"; }  # waiting for a writer that never comes
  [ "$status" = 0 ] && [ "$(written f.err)" = 30 ] || fail "fifo_$reader: status $status, $(grep -m 3 -v 'and fps_bb_w1.pdf$' f.err)"
  [ -f fps_bb_w1.pdf ] && [ "$(pdf_pages fps_bb_w1.pdf)" = 30 ] || fail "fifo_$reader: no PDF of 30 pages"
done

# A page write given up (the PDF's first write never ends, as on a hung network folder): the
# hold goes with the window, and nothing is left beside the files: while A waits at the main
# menu, B writes them. A's PNG page is told as written, its PDF as not, and A ends with status 1.
if stall fps_bb_w1.pdf; then
  in_case given_up
  start a "${stall[@]}"
  { balls s.ndk; printf '99\n20\n\n\n'; } >&9
  until_true 60 eval 'grep -q "The plot window is closed" a.out && at_menu a.out' ||
    fail "given_up: a: the window is not closed"
  [ -z "$(hidden)" ] || fail "given_up: the window is closed, hidden files $(hidden)"
  once b
  [ "$status" = 0 ] && [ "$(written b.err)" = 1 ] || fail "given_up: b: status $status, $(cat b.err)"
  printf '9999\n' >&9; exec 9>&-
  wait "$pid"; status=$?
  [ "$status" = 1 ] || fail "given_up: a: status $status, expected 1"
  grep -qxF 'korbast: plot page 1 could not be written to fps_bb_w1.pdf (no byte was written for 3 seconds)' a.err &&
    grep -qxF 'korbast: plot page 1 written to fps_bb_w1_p001.png' a.err || fail "given_up: a: page notices: $(cat a.err)"
  [ -z "$(hidden)" ] || fail "given_up: hidden files $(hidden)"
else
  echo "--- given_up: no library to stall writes with: not run"
fi

# Another user who can write the folder puts a link to a file of theirs under the hidden name
# of the page's PNG, or of the PDF, just before it is renamed: the name then holds their link,
# not the page. That file is told as not written (an error frame and a notice, never as
# written), the other one as written, the run ends with status 1, and their file is left as it
# was.
for taken in fps_bb_w1_p001.png fps_bb_w1.pdf; do
  other=fps_bb_w1.pdf; [ $taken = fps_bb_w1.pdf ] && other=fps_bb_w1_p001.png
  stall '' PLANT_AT_RENAME=.$taken.tmp- PLANT_LINK_TO=theirs || break
  in_case planted_$taken
  echo theirs > theirs
  once a "${stall[@]}"
  [ "$status" = 1 ] || fail "planted $taken: status $status, expected 1"
  grep -qxF "   FILE: $taken" a.out && grep -qxF '   REASON: Replaced by another program' a.out ||
    fail "planted $taken: no error frame"
  grep -qxF "korbast: plot page 1 could not be written to $taken (Replaced by another program)" a.err &&
    grep -qxF "korbast: plot page 1 written to $other" a.err && [ "$(written a.err)" = 1 ] ||
    fail "planted $taken: page notices: $(cat a.err)"
  [ "$(cat theirs)" = theirs ] || fail "planted $taken: their file is touched"
done

# Three runs side by side in a fresh folder, the third of another user where one can be had, 20
# times (in a folder of ext2 where one can be mounted: a freed inode number comes back at once,
# under change times to the second): each writes a table, the settings file and a map, in files
# that replace each other's. None is refused at a name as a file it wrote.
side=$work; ext2_folder && side=$e2
for round in $(seq 20); do
  mkdir -m 777 "$side/side$round" && cd "$side/side$round" && cp "$work/s.ndk" . || exit 2
  k=0 pids=()
  for who in '' '' "${nobody[*]}"; do
    k=$((k + 1))
    printf '\n1000\n1001\ns.ndk\n1200\n2001\nt%s.tab\n\n99\n2001\n1000\ny\nMap\n99\n99\n99\n9999\n' $k |
      $who "$prog" > $k.out 2>&1 & pids+=($!)
  done
  wait "${pids[@]}"
  ! grep -q 'written by this run' [123].out || fail "side by side $round: $(grep -l 'written by this run' [123].out)"
done
exit $fails
