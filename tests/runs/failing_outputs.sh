#!/usr/bin/env bash
# Output files that fail (a full device, a file size limit) are reported in an error frame
# that names the file and counts what reached it, and the run ends with status 1; so does a
# console cut at the run's last flush. A link at an output name that is replaced is itself
# replaced, never written through; a rename over it that fails leaves nothing behind. A replaced
# file, or the settings file, whose name another program takes (a link planted at the rename)
# is told in the same frame, and the link is left. The run's own streams chosen as outputs
# (standard output and error, a descriptor handed over) take the lines, in order with the
# console's, and a failed write never cuts them back. A page file or the lock never takes a
# file the run holds or wrote, however the window is ended.
#
#   failing_outputs.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_work failing-outputs "$1" "$2"
examples=$src/examples
cp "$sample" s.ndk
for i in $(seq 200); do cat "$sample"; done > big.ndk  # 600 events

# run NAME LIMIT ANSWERS EXPECTED-LINE...: runs the program (under the command prefix $pre) under
# a file size limit (in KiB, or "none") with the answers, checks status 1 and that each line was
# printed.
pre=()
run() {
  local name=$1 limit=$2 answers=$3; shift 3
  printf "$answers" > "$name.in"
  # The console goes through a pipe, which the limit does not reach; the signal of the limit
  # is the program's own to ignore.
  ( [ "$limit" = none ] || ulimit -f "$limit"; exec "${pre[@]}" "$prog" < "$name.in" 2>/dev/null ) |
    cat > "$name.out"
  local status=${PIPESTATUS[0]}
  [ "$status" = 1 ] || { echo "--- $name: exit status $status, expected 1"; fails=1; }
  # Status 1 must come from the failed file, not from answers running out.
  ! grep -q "END OF INPUT" "$name.out" || { echo "--- $name: the answers ran out"; fails=1; }
  grep -q "EXECUTION TERMINATED" "$name.out" || { echo "--- $name: no normal end"; fails=1; }
  local want
  for want in "$@"; do
    grep -qxF -- "$want" "$name.out" || { echo "--- $name: no line '$want'"; fails=1; }
  done
}

# A map with the Si-Sh file FILE; PAUSE is the answer line of a frame that the map shows.
map() { printf '7\ny\n2001\n%s\n1000\ny\nSeismicity map\n99\n%s99\n99\n9999' "$1" "$2"; }
# Si-Sh file: /dev/full takes nothing (seen when the map run flushes it; a device is written
# as it is, once the replace question is answered y); under a 1 KiB limit
# the failure shows while the map gives its lines, and the file is cut back to its 9 whole
# lines of 110 bytes (109 characters and the line end).
run sish_full none "\n1000\n1001\ns.ndk\n$(map '/dev/full\ny' '\n')\n\n\n" \
  '   OUTPUT FILE FAILED WHILE FLUSHING' '   UNIT 22 FILE: /dev/full' \
  '   REASON: No space left on device' '   LINES WRITTEN =         0' '   LINES GIVEN   =         4'
run sish_limit 1 "\n1000\n1001\nbig.ndk\n$(map sish.txt '\n')\n\n\n" \
  '   OUTPUT FILE FAILED WHILE WRITING' '   UNIT 22 FILE: sish.txt' '   REASON: File too large' \
  '   LINES WRITTEN =         9' '   BYTES WRITTEN =       990'
[ "$(wc -c < sish.txt)" = 990 ] || { echo "--- sish_limit: sish.txt is not 990 bytes"; fails=1; }

# Catalogue table: the unit's frame (the big table fails while its lines are given, before
# the final flush), then the writer's frame (where the writing stopped).
run table_full none '\n1000\n1001\ns.ndk\n1200\n2001\n/dev/full\ny\n\n\n99\n9999\n' \
  '   UNIT 21 FILE: /dev/full' '   LINES GIVEN   =         5' '   WHILE FLUSHING THE WRITTEN DATA'
# Under a 1 KiB limit the table is cut back to its last whole line, as the frame counts it.
run table_limit 1 '\n1000\n1001\nbig.ndk\n1200\n2001\nt.tab\n\n\n99\n9999\n' \
  '   OUTPUT FILE FAILED WHILE WRITING' '   UNIT 21 FILE: t.tab'
bytes=$(sed -n 's/^   BYTES WRITTEN = *//p' table_limit.out)
lines=$(sed -n 's/^   LINES WRITTEN = *//p' table_limit.out)
[ "$(wc -c < t.tab)" = "$bytes" ] && [ "$(wc -l < t.tab)" = "$lines" ] && [ "$bytes" -le 1024 ] &&
  [ "$(tail -c 1 t.tab | od -An -tx1 | tr -d ' ')" = 0a ] ||
  { echo "--- table_limit: t.tab ($(wc -c < t.tab) bytes) is not $lines whole lines of $bytes bytes"; fails=1; }
# An ndk catalogue: records of 5 lines of 81 bytes; 2 whole records fit in 1 KiB.
run ndk_limit 1 '\n1000\n1001\nbig.ndk\n1200\n1001\no.ndk\n\n\n99\n9999\n' \
  '   OUTPUT FILE FAILED WHILE WRITING' '   UNIT 21 FILE: o.ndk' '   LINES WRITTEN =        10' \
  '   BYTES WRITTEN =       810' '   WHOLE RECORDS =         2'
[ "$(head -c 810 big.ndk)" = "$(cat o.ndk)" ] && [ "$(wc -c < o.ndk)" = 810 ] ||
  { echo "--- ndk_limit: o.ndk is not the first 2 records"; fails=1; }

# The console itself, a file under a limit that falls within what the run prints after its
# last read of the keyboard (a command file's run): the loss shows only at the run's last
# flush, and still gives status 1. The limit is set from the same run without one: its last
# whole kilobyte before the end frame is cut. The end frame's picture is chosen by the clock
# (its size varies from run to run), and the lines before it carry the clock at a fixed width:
# their size is the same in every run.
cp "$examples/read_and_list.cmd" "$examples/gcmt-samples.ndk" .
printf '\n5000\n5001\nread_and_list.cmd\n' > console.in
"$prog" < console.in > console_free.out 2> /dev/null
before_end=$(sed '/^ @ EXECUTION TERMINATED AT:/,$d' console_free.out | wc -c)
limit=$(( (before_end - 1) / 1024 ))
( ulimit -f "$limit"; exec "$prog" < console.in > console_cut.out 2> console_cut.err )
status=$?
[ "$status" = 1 ] || fail "console_cut: exit status $status, expected 1"
grep -q 'console output could not be written' console_cut.err || fail "console_cut: the loss is not told"
# Past the last read: the command file's own lines reached the console before the cut, and
# the console holds the run's lines up to the limit (the start time and the system masked).
masked() { sed -e 's/^\( @ Running on:\).*/\1/' -e 's/^\( @ On system:\).*/\1/'; }
masked < console_cut.out > console_cut.masked
grep -qxF '    Command file: read_and_list.cmd' console_cut.out &&
  [ "$(wc -c < console_cut.out)" = $((limit * 1024)) ] &&
  masked < console_free.out | head -c "$(wc -c < console_cut.masked)" | cmp -s - console_cut.masked ||
  fail "console_cut: not cut at the last flush"

# Settings file: the unit's frame, then the window's warning; the window still opens.
rm -f vomek1_ini_u.txt
run settings_limit 0 '\n10\n\n\n\nAegean map\n20\n\n9999\n' \
  '   UNIT 50 FILE: vomek1_ini_u.txt' '   LINES GIVEN   =         2' ' cannot write vomek1_ini_u.txt'
# A link to another user's file planted at the name as the run's new file is renamed there: the
# table replacing table.txt (renamed at its open), the settings file (at its close). The file is
# told as not written, and the link and their file are left.
echo old > table.txt && echo theirs > theirs
for f in table.txt vomek1_ini_u.txt; do
  stall '' PLANT_AT_RENAME=$f.new PLANT_LINK_TO=theirs || { echo "--- planted: no library to plant with: not run"; break; }
  pre=("${stall[@]}")
  case $f in
    table.txt) out=planted_table; run $out none '\n1000\n1001\ns.ndk\n1200\n2001\ntable.txt\ny\n\n\n99\n9999\n' \
      '   OUTPUT FILE FAILED WHILE OPENING' '   UNIT 21 FILE: table.txt';;
    *) out=planted_settings; rm -f $f; run $out none '\n10\n\n\n\nAegean map\n20\n\n9999\n' \
      '   OUTPUT FILE FAILED WHILE RENAMING' '   UNIT 50 FILE: vomek1_ini_u.txt' ' cannot write vomek1_ini_u.txt';;
  esac
  grep -qxF '   REASON: Replaced by another program' $out.out && [ "$(readlink $f)" = theirs ] &&
    [ "$(cat theirs)" = theirs ] || fail "planted $f: not told, or the link or their file touched"
  pre=()
done
# Page files: a page that cannot be written leaves nothing under its name (nor a hidden
# part-written copy), and is reported in the same frame. Under an 8 KiB limit neither the
# map's PNG nor its PDF fits; with a folder at the PNG's name and another at the PDF's, both
# fail at once.
run_pages() {
  local name=$1 limit=$2; shift 2
  rm -rf "$name" && mkdir "$name" && cp "$examples/map_sish.cmd" "$examples/gcmt-samples.ndk" "$name/"
  case $name in pages_dir) mkdir "$name/seis.map_w1_p001.png" "$name/seis.map_w1.pdf";; esac
  ( cd "$name" && { [ "$limit" = none ] || ulimit -f "$limit"; } &&
    printf '\n5000\n5001\nmap_sish.cmd\n' | exec "$prog" 2>/dev/null ) | cat > "$name.out"
  local status=${PIPESTATUS[0]}
  [ "$status" = 1 ] || { echo "--- $name: exit status $status, expected 1"; fails=1; }
  grep -q "EXECUTION TERMINATED" "$name.out" || { echo "--- $name: no normal end"; fails=1; }
  local want
  for want in "$@"; do
    grep -qxF -- "$want" "$name.out" || { echo "--- $name: no line '$want'"; fails=1; }
  done
  [ -z "$(cd "$name" && ls -A | grep '^\.')" ] || { echo "--- $name: hidden files left"; fails=1; }
}
run_pages pages_limit 8 '   OUTPUT FILE FAILED WHILE WRITING' '   FILE: seis.map_w1_p001.png' \
  '   FILE: seis.map_w1.pdf' '   REASON: File too large' '   PAGES WRITTEN =         0' \
  ' ==> THE FILE IS NOT WRITTEN'
[ ! -e pages_limit/seis.map_w1_p001.png ] && [ ! -e pages_limit/seis.map_w1.pdf ] ||
  { echo "--- pages_limit: a page file is left"; fails=1; }
[ -s pages_limit/sish.txt ] || { echo "--- pages_limit: no sish.txt"; fails=1; }
run_pages pages_dir none '   FILE: seis.map_w1_p001.png' '   REASON: Is a directory' \
  '   FILE: seis.map_w1.pdf'

# A catalogue written to a link that leads to another catalogue, "Replace it ?" answered y:
# the link is replaced by the written catalogue (the 3 events read, written back as they
# were), and the catalogue it led to keeps its 30 events.
mkdir data && for i in $(seq 10); do cat "$sample"; done > data/cat.ndk && cp data/cat.ndk cat.orig
ln -s data/cat.ndk soft.ndk
printf '\n1000\n1001\ns.ndk\n1200\n1001\nsoft.ndk\ny\n\n99\n9999\n' | "$prog" > soft.out 2>&1 ||
  fail "soft_link: exit status $?"
grep -qxF ' soft.ndk exists. Replace it ? (y/n)' soft.out || fail "soft_link: not asked"
cmp -s data/cat.ndk cat.orig || fail "soft_link: the linked catalogue was written through"
[ ! -L soft.ndk ] && cmp -s soft.ndk s.ndk || fail "soft_link: soft.ndk is not the written catalogue"

# The Si-Sh file, open while the map's window writes its page (closed for the beach balls' new
# window), named as the map's PNG or as the window's lock file: neither replaced by the page nor
# taken as the lock. The page files are told as not written, and the Si-Sh file is the one a
# run writes under a name of its own.
own_sish() { echo "\n1000\n1001\ns.ndk\n7\ny\n2001\n$1\n1000\ny\nSeismicity map\n99\n99\n99\n3000\n1000\n1\n\n$2y\nBeach balls\n99\n9999\n\n"; }
rm -f seis.map_w1*
printf "$(own_sish sish_own.txt '')" | "$prog" > own_free.out 2>&1 || fail "own_free: exit status $?"
for own in seis.map_w1_p001.png .seis.map_w1.pdf.lock; do
  rm -f seis.map_w1* Next_plot_w2*
  run "own$own" none "$(own_sish "$own" '\n')" '   REASON: File already opened in another unit'
  cmp -s sish_own.txt "$own" || fail "own $own: not the Si-Sh file"
done

# Nor does a page file or the lock take a file the run wrote and closed, whatever ends the map's
# window (the command file's 9999 or 5003, 23 then 20): the Si-Sh file (sish.txt) or a table
# written first (t.tab) at a page file's or the lock's name keeps the bytes it gets under its own
# name (in ref), and the pages are reported not written, status 1, also after another program
# changed its mode and times and linked a name of its own to it. So do the console's file at
# the PDF's name and a command file drawing beach balls at its page's name, both held. Files
# made before the run at both page names are replaced by the pages, status 0, and so is a file
# another program makes at the name of a table the run wrote and it removed (empty: a lock to
# take over), never on the table's inode. A table under the name of a stale temporary of the
# pages is left, even with its mode changed. All of it in this folder, and again in one of
# ext2 (no birth times, change times to the second), where one can be mounted.
sed '3a 1200\n2001\nt.tab\n\n99' "$examples/map_sish.cmd" > m.cmd && cp "$examples/beach_balls.cmd" .
mkdir before && echo old | tee before/seis.map_w1.pdf > before/seis.map_w1_p001.png
# CASE SED FILE CMD OUT KEPT REF STEP WHY: in a folder CASE, FILE edited by SED is the command
# file CMD, its console OUT; KEPT is REF past its first line (a table's name; - for the console),
# and told as not taken: "File already WHY". KEPT -: the pages are written, and the table REF
# stands. STEP: where CMD reads gate.ndk (once the table is closed), another program removes the
# table (KEPT, else REF) and makes an empty file at its name (new; the pages are written), or
# changes its mode and times and links a name to it (touch), in a later second than the table's
# last change (a change time a second apart).
later() { [ "$(date +%s)" -gt "$(stat -c %Z "$1")" ]; }
change() {
  case $1 in
    new) rm "$2" && : > "$2";;
    touch) until_true 10 later "$2" && chmod 600 "$2" && touch "$2" && ln "$2" "$2.2";;
  esac
}
rows=$(cat <<'EOF'
ref       s/^// m.cmd m.cmd console - - -
before    s/^// m.cmd m.cmd console - - -
pdf_gone  s/^t.tab$/seis.map_w1.pdf/;8a1000\n1001\ngate.ndk m.cmd m.cmd console - seis.map_w1.pdf new
lock_gone s/^t.tab$/.seis.map_w1.pdf.lock/;8a1000\n1001\ngate.ndk m.cmd m.cmd console - .seis.map_w1.pdf.lock new
temp_kept s/^t.tab$/.seis.map_w1.pdf.tmp-1/;8a1000\n1001\ngate.ndk m.cmd m.cmd console - .seis.map_w1.pdf.tmp-1 touch
pdf_touch s/^t.tab$/seis.map_w1.pdf/;8a1000\n1001\ngate.ndk m.cmd m.cmd console seis.map_w1.pdf ref/t.tab touch written by this run
png_9999  s/^sish.txt$/seis.map_w1_p001.png/ m.cmd m.cmd console seis.map_w1_p001.png ref/sish.txt - written by this run
pdf_9999  s/^sish.txt$/seis.map_w1.pdf/ m.cmd m.cmd console seis.map_w1.pdf ref/sish.txt - written by this run
lock_9999 s/^sish.txt$/.seis.map_w1.pdf.lock/ m.cmd m.cmd console .seis.map_w1.pdf.lock ref/sish.txt - written by this run
png_5003  s/^sish.txt$/seis.map_w1_p001.png/;s/^9999$/5000\n5003/ m.cmd m.cmd console seis.map_w1_p001.png ref/sish.txt - written by this run
pdf_5003  s/^sish.txt$/seis.map_w1.pdf/;s/^9999$/5000\n5003/ m.cmd m.cmd console seis.map_w1.pdf ref/sish.txt - written by this run
sish_23   s/^sish.txt$/seis.map_w1_p001.png/;s/^9999$/23\n20\n\n9999/ m.cmd m.cmd console seis.map_w1_p001.png ref/sish.txt - written by this run
table_20  s/^t.tab$/seis.map_w1_p001.png/;s/^9999$/20\n\n9999/ m.cmd m.cmd console seis.map_w1_p001.png ref/t.tab - written by this run
console   s/^// m.cmd m.cmd seis.map_w1.pdf seis.map_w1.pdf - - opened in another unit
bb_cmd    s/^// beach_balls.cmd fps_bb_w1_p001.png console fps_bb_w1_p001.png beach_balls.cmd - opened in another unit
EOF
)
ext2_folder && cp -r gcmt-samples.ndk m.cmd beach_balls.cmd before "$e2"
for at in "$work" ${e2:+"$e2"}; do
  cd "$at"
  while read -r case edit file cmd out kept ref step why; do
    mkdir -p "$case" && cp gcmt-samples.ndk "$case/" && sed "$edit" "$file" > "$case/$cmd"
    gate=
    if [ "$step" != - ]; then
      mkfifo "$case/gate.ndk"
      ( cd "$case" && exec 3> gate.ndk && change "$step" "${kept/#-/$ref}" && cat gcmt-samples.ndk >&3 ) & gate=$!
    fi
    ( cd "$case" && printf '\n5000\n5001\n%s\n\n\n\n' "$cmd" | "$prog" > "$out" 2> /dev/null )
    status=$?
    [ -z "$gate" ] || { kill $gate 2> /dev/null; wait $gate; }
    if [ "$kept" = - ]; then
      [ "$status" = 0 ] && [ "$(head -c 4 "$case/seis.map_w1.pdf")" = %PDF ] &&
        [ "$(head -c 4 "$case/seis.map_w1_p001.png" | tail -c 3)" = PNG ] &&
        { [ "$ref" = - ] || [ "$step" = new ] || [ -s "$case/$ref" ]; } || fail "$at/$case: status $status, no pages or $ref"
    else
      [ "$status" = 1 ] && grep -qxF "   REASON: File already $why" "$case/$out" &&
        { [ "$ref" = - ] || cmp -s <(tail -n +2 "$ref") <(tail -n +2 "$case/$kept"); } || fail "$at/$case: status $status, $kept taken"
    fi
  done <<< "$rows"
done
cd "$work"
# A run that writes 2,000 tables under a limit of 1024 open files (soft and hard) writes each of
# them and its pages: what it keeps open to know its files by leaves room for its own opens.
mkdir many && cp gcmt-samples.ndk many/
{ sed 3q m.cmd; for i in $(seq 2000); do printf '1200\n2001\nt%d.tab\n\n99\n' $i; done; sed 1,3d "$examples/map_sish.cmd"; } > many/m.cmd
( cd many && ulimit -n 1024 && printf '\n5000\n5001\nm.cmd\n\n\n\n' | "$prog" > console 2> /dev/null )
status=$?
[ "$status" = 0 ] && [ "$(cat many/t*.tab | grep -c "^ 'PDE")" = 6000 ] && [ -s many/seis.map_w1.pdf ] &&
  [ -s many/seis.map_w1_p001.png ] || fail "many: status $status, $(ls many | grep -c 'tab$') tables"

# Descriptor 3 the write end of the pipe the answers come from: a table sent to /dev/fd/3 is
# refused as what the run reads from, and goes to the next name (a run that took it would hold
# its own input open: the safety net).
printf '\n1000\n1001\ns.ndk\n1200\n2001\n/dev/fd/3\ny\n\nfd3.tab\n\n\n99\n9999\n' |
  timeout 60 "$prog" 3>/proc/self/fd/0 > fd3.out 2>&1
status=$?
[ "$status" = 0 ] && grep -qxF '   REASON: File already opened in another unit' fd3.out &&
  [ "$(grep -c "^ 'PDE" fd3.tab)" = 3 ] || fail "fd3: status $status, the table not refused at the pipe"

# The table named as the pipe the run reads its answers from, by the feeding program's
# /proc/<pid>/fd/1, and (where a second /proc can be mounted, for the run alone) by self/fd/0
# there: refused as a file the run holds, and asked again. The table goes to the next name, and
# nothing of it comes back as answers.
mkfifo fed.done
again='' proc2=()
if unshare -m true 2> /dev/null; then
  mkdir proc2 && again='proc2/self/fd/0\ny\n\n' && proc2=(unshare -m sh -c 'mount -t proc proc proc2 && exec "$0"')
fi
sh -c 'printf "\n1000\n1001\ns.ndk\n1200\n2001\n/proc/$$/fd/1\ny\n\n${0}fed.tab\n\n\n99\n9999\n"; read x < fed.done' "$again" |
  { "${proc2[@]}" "$prog" > fed.out 2>&1; echo $? > fed.status; echo > fed.done; }
[ "$(cat fed.status)" = 0 ] && [ "$(grep -cs "^ 'PDE" fed.tab)" = 3 ] &&
  [ "$(grep -c '^   REASON: File already opened in another unit$' fed.out)" = $(( ${#proc2[@]} ? 2 : 1 )) ] ||
  fail "fed: status $(cat fed.status), the table not refused at the pipe or not written after"

# The table to /dev/stdout, the console a file: the table lands in it between the console's
# lines before and after it, in order, and /dev/stdout is left as it was.
link=$(readlink /dev/stdout)
printf '\n1000\n1001\ns.ndk\n1200\n2001\n/dev/stdout\ny\n\n\n99\n9999\n' | "$prog" > stdout.log 2>&1 ||
  fail "stdout: exit status $?"
[ "$(grep -o -e '^ /dev/stdout exists' -e '^ WRITING DATA TO FILE' -e "^ 'hyporef'" -e "^ 'PDE.'" \
    -e '^ WRITING COMPLETED' stdout.log)" = \
  "$(printf " /dev/stdout exists\n WRITING DATA TO FILE\n 'hyporef'\n 'PDE '\n 'PDE '\n 'PDEW'\n WRITING COMPLETED")" ] &&
  [ "$(readlink /dev/stdout)" = "$link" ] || fail "stdout: the table is not in the console's order"

# The run's own streams by name: a table sent to /dev/stderr lands in the error output, one to
# /dev/fd/3 in the file the caller handed over as descriptor 3. The standard output a file
# under a 64 KiB limit, a table sent to /dev/stdout fails at the limit and the file keeps the
# console's lines before it: it is never cut back.
printf '\n1000\n1001\ns.ndk\n1200\n2001\n/dev/stderr\ny\n\n\n1200\n2001\n/dev/fd/3\ny\n\n\n99\n9999\n' |
  "$prog" > streams.out 2> streams.err 3> handed.log || fail "streams: exit status $?"
[ "$(grep -c "^ 'PDE" streams.err handed.log streams.out | tr '\n' ' ')" = \
  "streams.err:3 handed.log:3 streams.out:0 " ] || fail "streams: the tables are not where they were sent"
printf '\n1000\n1001\nbig.ndk\n1200\n2001\n/dev/stdout\ny\n\n\n99\n9999\n' > own_limit.in
( ulimit -f 64; exec "$prog" < own_limit.in > own_limit.out 2> /dev/null )
status=$?
[ "$status" = 1 ] && [ "$(wc -c < own_limit.out)" = 65536 ] &&
  grep -qxF ' /dev/stdout exists. Replace it ? (y/n)' own_limit.out ||
  fail "own_limit: status $status, $(wc -c < own_limit.out) bytes"

# A rename over the chosen o.ndk that fails (a sticky folder, o.ndk of root, the run another
# user's): refused with the system's reason, o.ndk as it was, no file of the run left.
if [ "$(id -u)" = 0 ] && command -v setpriv > /dev/null && chmod 755 "$work" &&
  setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$prog"; then
  mkdir -m 1777 sticky && cp s.ndk sticky/ && echo catalogue > sticky/o.ndk
  ( cd sticky && printf '\n1000\n1001\ns.ndk\n1200\n1001\no.ndk\ny\n' |
    setpriv --reuid=65534 --regid=65534 --clear-groups "$prog" > ../sticky.out 2>&1 )
  grep -qxF '   REASON: Operation not permitted' sticky.out && [ "$(ls -A sticky | tr '\n' ' ')" = 'o.ndk s.ndk ' ] &&
    [ "$(cat sticky/o.ndk)" = catalogue ] || fail "sticky: $(ls -A sticky | tr '\n' ' ')"
else
  echo "--- sticky: another user needs root and setpriv: not run"
fi
exit $fails
