#!/usr/bin/env bash
# Every way a run stops loses nothing: SIGINT, SIGTERM, SIGHUP and SIGQUIT end it as the end
# of input does (drawn pages written, output files whole to their last line, the signal's
# status), also in the middle of a multi-page run and while the window closes; a page write
# that never ends does not keep a run from ending, stopped or not, and one that goes on slowly
# is not given up, also when the run is stopped for a while (SIGSTOP); one Ctrl-D at
# a terminal ends it; the settings file is replaced whole or kept, and a FIFO at its name is
# not opened; a column file that cannot be rewound is a read error; a console that cannot be
# written ends with status 1.
#
#   stops.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_work stops "$1" "$2"
# Background runs get the signals a terminal would send (no job control: SIGINT and SIGQUIT
# would be ignored, and the program keeps a signal its caller ignores).
set -m
trap '' PIPE  # a run that ended early must not end the script with it
for i in $(seq 200); do cat "$sample"; done > big.ndk  # 600 events
have() { command -v "$1" > /dev/null; }

# start NAME [PREFIX...]: the program (run under PREFIX) in NAME/, its keyboard a FIFO kept
# open on descriptor 9.
start() {
  mkdir "$1" && cd "$1" && mkfifo keys && cp ../big.ndk .
  "${@:2}" "$prog" < keys > out 2> err &
  pid=$!
  exec 9> keys
}
# finish: waits for the run (the keyboard still open: the end of input would end it too),
# its status in $status.
finish() { wait "$pid"; status=$?; exec 9>&-; cd "$work" || exit 2; }
lines() { [ -f "$1" ] && wc -l < "$1" || echo 0; }
whole_lines() { [ -s "$1" ] && [ "$(tail -c 1 "$1" | od -An -c | tr -d ' ')" = '\n' ]; }
png_whole() { [ "$(tail -c 8 "$1" | head -c 4)" = IEND ]; }
pdf_pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
at_menu() { [ "$(grep -c 'FAST QUIT' out)" -ge "$1" ] && tail -n 1 out | grep -q 'Enter your choice'; }
announced() { grep -c ' written to ' err; }

# A map with the Si-Sh file, then the main menu: the file holds every event already; a signal
# then writes the page and ends the run with the signal's status, leaving no hidden file. The
# SIGTERM comes while the run waits for the writer of a FIFO chosen as the next catalogue.
waits_on_fifo() { ls -l "/proc/$pid/fd" 2>/dev/null | grep -q 'wait\.fifo$'; }
map='\n1000\n1001\nbig.ndk\n7\ny\n2001\nsish.txt\n1000\ny\nSeismicity map\n99\n99\n99\n'
n=0
for sig in INT TERM HUP QUIT; do
  n=$((n + 1)); name=map_$sig
  start "$name"; printf "$map" >&9
  until_true 30 at_menu 4 || fail "$name: no main menu after the map"
  [ "$(lines sish.txt)" = 601 ] && whole_lines sish.txt ||
    fail "$name: while waiting at the menu the Si-Sh file has $(lines sish.txt) lines, not 601"
  if [ $sig = TERM ]; then
    mkfifo wait.fifo && printf '1000\n1001\nwait.fifo\n' >&9
    until_true 30 waits_on_fifo || fail "$name: not waiting for the FIFO's writer"
  fi
  kill -s "$sig" "$pid"
  finish "$name"
  [ -z "$(ls -A "$name" | grep '^\.')" ] || fail "$name: hidden files left: $(ls -A "$name" | grep '^\.')"
  want=$((128 + $(kill -l "$sig")))
  [ "$status" = "$want" ] || fail "$name: status $status, expected $want"
  [ "$(lines $name/sish.txt)" = 601 ] && whole_lines "$name/sish.txt" ||
    fail "$name: the Si-Sh file has $(lines $name/sish.txt) lines, not 601 whole ones"
  grep -q " STOPPED BY SIG$sig" "$name/out" || fail "$name: no stop frame"
  grep -qF ' FILE sish.txt CLOSED:       601 LINES' "$name/out" || fail "$name: not told what was written"
  png_whole "$name/seis.map_w1_p001.png" || fail "$name: no whole PNG page"
  if have pdfinfo; then
    [ "$(pdf_pages "$name/seis.map_w1.pdf")" = 1 ] || fail "$name: the PDF does not hold the page"
  fi
done

# A page that cannot be written (its PDF's writes never end, as on a hung network folder)
# keeps the end from finishing: a second signal ends the run at once, and without one the end
# is bounded (the run ends by itself); the Si-Sh file is whole either way. The page is written
# only at the end, its PNG before its PDF: the PNG under its name shows that the first signal
# was taken and the end has come to the PDF, and only then is the second signal sent.
ended() { [ ! -e "/proc/$pid" ] || [ "$(cut -d ' ' -f 3 "/proc/$pid/stat" 2>/dev/null)" = Z ]; }
stall seis.map_w1.pdf || echo "--- blocked_*: no library to stall writes with: not run"
for second in INT none; do
  [ ${#stall[@]} -gt 0 ] || break
  name=blocked_$second
  start "$name" "${stall[@]}"; rm big.ndk; cp "$sample" s.ndk
  printf '\n1000\n1001\ns.ndk\n7\ny\n2001\nsish.txt\n1000\ny\nSeismicity map\n99\n99\n99\n' >&9
  until_true 30 at_menu 4 || fail "$name: no main menu after the map"
  kill -s TERM "$pid"
  if [ $second != none ]; then
    until_true 60 [ -e seis.map_w1_p001.png ] || fail "$name: the end wrote no PNG page"
    kill -s "$second" "$pid"
  fi
  until_true 60 ended || { fail "$name: the end is not bounded"; kill -s KILL "$pid"; }
  finish "$name"
  [ "$status" = 143 ] || fail "$name: status $status, expected 143"
  [ $second = none ] || grep -qx 'korbast: second signal: ending at once' "$name/err" ||
    fail "$name: not ended by the second signal: $(cat "$name/err")"
  [ "$(lines $name/sish.txt)" = 4 ] && whole_lines "$name/sish.txt" || fail "$name: the Si-Sh file is not whole"
done

# A second SIGTERM while the first page of a map is written ends the run at once: a page
# file under its final name holds a whole page (the PDF at least one), or there is none.
for delay in 0.02 0.1 0.27; do
  name=twice_$delay
  start "$name"; printf "$map" >&9
  until_true 30 at_menu 4 || fail "$name: no main menu after the map"
  kill -s TERM "$pid"; sleep "$delay"; kill -s TERM "$pid" 2>/dev/null
  finish "$name"
  [ "$status" = 143 ] || fail "$name: status $status, expected 143"
  [ ! -e "$name/seis.map_w1_p001.png" ] || png_whole "$name/seis.map_w1_p001.png" ||
    fail "$name: a part PNG under its name"
  if have pdfinfo && [ -e "$name/seis.map_w1.pdf" ]; then
    [ "$(pdf_pages "$name/seis.map_w1.pdf")" = 1 ] || fail "$name: a PDF without its page under its name"
  fi
done

# Beach balls, 30 pages: SIGHUP and SIGQUIT in the middle of the pages, and SIGTERM while the
# window closes (main menu 20): every announced page is in the PDF and whole as a PNG; at the
# close, every page drawn (all 30) is written.
balls='\n1000\n1001\nbig.ndk\n3000\n1000\ny\nBeach balls\n0\n'
check_pages() {  # NAME STATUS-WANTED PAGES-WANTED (or "any")
  local name=$1 pages k
  [ "$status" = "$2" ] || fail "$name: status $status, expected $2"
  pages=$(grep -c ' written to ' "$name/err")
  [ "$3" = any ] || [ "$pages" = "$3" ] || fail "$name: $pages pages announced, $3 drawn"
  [ "$pages" -ge 1 ] || fail "$name: no page announced"
  for k in $(seq "$pages"); do
    png_whole "$name/$(printf 'fps_bb_w1_p%03d.png' "$k")" || fail "$name: page $k is not a whole PNG"
  done
  if have pdfinfo; then
    [ "$(pdf_pages "$name/fps_bb_w1.pdf")" = "$pages" ] ||
      fail "$name: the PDF holds $(pdf_pages "$name/fps_bb_w1.pdf") pages, $pages announced"
  fi
}
for sig in HUP QUIT; do
  name=balls_$sig
  start "$name"; printf "$balls" >&9
  # One page at a time: each new page is asked for, and the signal comes between pages.
  for k in $(seq 12); do printf '\n' >&9; done
  until_true 30 eval '[ "$(announced)" -ge 6 ]' || fail "$name: no pages"
  kill -s "$sig" "$pid"
  finish "$name"
  check_pages "$name" $((128 + $(kill -l "$sig"))) any
done
# All threads under a limit of 24 open files: the PNG files are kept open for the looks at
# their names only while they leave a reserve to the rest of the run. Then where the system
# starts fewer threads (a process limit reached: pthread_create fails): with one, the stop
# watcher's, the dialog writes the pages itself; with none, the missing watcher is told once
# and the run goes on, and SIGTERM then ends it at once by its default action, the pages
# written before it whole.
for threads in all 1 0; do
  name=balls_close_$threads
  if [ $threads = all ]; then stall=(); have prlimit && stall=(prlimit --nofile=24)
  else stall '' THREADS_THAT_START=$threads || continue; fi
  start "$name" "${stall[@]}"; printf "$balls" >&9; yes '' | head -n 29 >&9; printf '99\n20\n\n' >&9
  until_true 30 grep -q 'Ready to close' out || fail "$name: the window is not closed"
  kill -s TERM "$pid"
  finish "$name"
  [ $threads = 0 ] || [ -z "$(ls -A "$name" | grep '^\.')" ] || fail "$name: left $(ls -A "$name" | grep '^\.')"
  if [ $threads = 0 ]; then
    check_pages "$name" 143 any
    [ "$(grep -c '^korbast: no thread to watch for stops (Resource temporarily unavailable): a stop signal ends the run at once' "$name/err")" = 1 ] ||
      fail "$name: the missing watcher is not told once: $(grep -v ' written to ' "$name/err")"
  else
    check_pages "$name" 143 30
  fi
done

# The 30 pages with the PDF's first write never ending: the dialog's waits on the page writer
# are bounded (the queue of pages fills while the write stalls), so the writer is given up,
# the PDF reported (one error frame, whose pause takes one more line), the first page's PNG
# told as written and each later page as not written, and the run goes on to its end (9999).
# Without the bound it would wait for ever (ended by the time limit: status 124). The same
# where the system starts only two threads (the stop watcher and the page writer), also for a
# write no signal cuts short; with one (the watcher: the dialog writes the pages, and its
# write, which a signal may cut short here, is given up by the same bound) or none, also for
# a write waiting in a call that a handler installed with SA_RESTART would restart, and where
# the run starts with SIGALRM (the signal that cuts the write short) blocked.
for threads in all 2 1 0 blocked; do
  first=()
  case $threads in
    all) limit=(STALL_WRITES_HARD=1) ;;
    2) limit=(STALL_WRITES_HARD=1 THREADS_THAT_START=2) ;;
    1) limit=(THREADS_THAT_START=1) ;;
    0) limit=(STALL_WRITES_IN_READ=1 THREADS_THAT_START=0) ;;
    blocked) have python3 || continue
      limit=(STALL_WRITES_IN_READ=1 THREADS_THAT_START=1); first=("${alarm_blocked[@]}") ;;
  esac
  stall fps_bb_w1.pdf "${limit[@]}" || break
  name=stalled_balls_$threads; mkdir "$name" && cd "$name" && cp ../big.ndk . || exit 2
  { printf "$balls"; yes '' | head -n 30; printf '99\n20\n\n9999\n'; } |
    timeout 60 "${first[@]}" "${stall[@]}" "$prog" > out 2> err
  status=$?
  [ "$status" = 1 ] || fail "$name: status $status, expected 1"
  grep -q 'EXECUTION TERMINATED' out && ! grep -q 'END OF INPUT' out || fail "$name: no normal end"
  for want in '   OUTPUT FILE FAILED WHILE WRITING' '   FILE: fps_bb_w1.pdf' \
    '   REASON: no byte was written for 3 seconds' '   PAGES WRITTEN =         0'; do
    grep -qxF -- "$want" out || fail "$name: no line '$want'"
  done
  grep -qxF 'korbast: plot page 1 could not be written to fps_bb_w1.pdf (no byte was written for 3 seconds)' err &&
    grep -qxF 'korbast: plot page 1 written to fps_bb_w1_p001.png' err &&
    [ "$(grep -c '^korbast: plot page [0-9]* could not be written to fps_bb_w1_p[0-9]*.png and fps_bb_w1.pdf (a write before it did not end)$' err)" = 29 ] ||
    fail "$name: page notices: $(cat err)"
  png_whole fps_bb_w1_p001.png && [ ! -e fps_bb_w1.pdf ] && [ -z "$(ls -A | grep '^\.')" ] ||
    fail "$name: files left: $(ls -A)"
  cd "$work" || exit 2
done

# Where no thread writes the pages: back, a folder that hangs for a second and is then back
# (each write call cut short meanwhile counts its own slice toward the bound); late, one back
# after 2.7 seconds, inside the bound but past most of it (slices each counted from the last
# byte written, not from their own start, would pass the bound at 2.4); cut, one whose every
# write call takes 30 ms and is given up with no byte when a signal comes (each call cut short
# is tried again with a slice twice as long, until one is long enough, whatever the machine's
# load). The page is written.
for mode in back late cut; do
  case $mode in
    back) stall fps_bb_w1.pdf STALL_WRITES_BACK_AFTER=1 THREADS_THAT_START=0 ;;
    late) stall fps_bb_w1.pdf STALL_WRITES_BACK_AFTER=2.7 THREADS_THAT_START=0 ;;
    cut) stall fps_bb_w1 STALL_WRITES_SECONDS=0.03 STALL_WRITES_CUT=1 THREADS_THAT_START=0 ;;
  esac || break
  mkdir $mode && cd $mode || exit 2
  printf '\n1000\n1001\n%s\n3000\n1000\ny\nBeach balls\n0\n99\n20\n\n9999\n' "$sample" |
    timeout 60 "${stall[@]}" "$prog" > out 2> err
  status=$?
  [ "$status" = 0 ] && grep -qxF 'korbast: plot page 1 written to fps_bb_w1_p001.png and fps_bb_w1.pdf' err ||
    fail "$mode: status $status, $(cat err)"
  cd "$work" || exit 2
done

# A slow folder, whose every write call ends within the bound, is written to the end however
# often the run is stopped: time stopped counts nothing. slow: each write into the page's PNG
# (about 18 kB) waits 0.8 seconds of the run's time and takes at most 4 kB, so that the file
# takes 4 seconds, and the run is stopped (SIGSTOP) for 4 seconds in the middle of its second
# write; limited: one write call of 2.5 seconds, in which the run is stopped for 4 seconds and
# then for 25 ms in every 50 ms, as by a CPU limiter (some fifty stops). Both while the closing
# window waits for the page: the page is written whole and the run ends with status 0.
for mode in slow limited; do
  if [ $mode = slow ]; then stall fps_bb_w1_p001.png STALL_WRITES_SECONDS=0.8 STALL_WRITES_BYTES=4096
  else stall fps_bb_w1_p001.png STALL_WRITES_SECONDS=2.5; fi || break
  name=$mode; mkdir "$name" && cd "$name" && cp "$sample" s.ndk || exit 2
  printf '\n1000\n1001\ns.ndk\n3000\n1000\ny\nBeach balls\n0\n99\n20\n\n9999\n' |
    "${stall[@]}" "$prog" > out 2> err &
  pid=$!
  if [ $mode = slow ]; then
    until_true 30 eval '[ "$(cat .fps_bb_w1_p001.png.tmp-* 2>/dev/null | wc -c)" -ge 4096 ]' ||
      fail "$name: the PNG's first write does not end"
    sleep 0.3
  else
    until_true 30 eval 'ls .fps_bb_w1_p001.png.tmp-* > /dev/null 2>&1' || fail "$name: the PNG is not begun"
  fi
  kill -s STOP "$pid"; sleep 4; kill -s CONT "$pid"
  for k in $(seq 1200); do
    [ $mode = limited ] && ! ended || break
    kill -s STOP "$pid"; sleep 0.025; kill -s CONT "$pid"; sleep 0.025
  done 2> /dev/null
  until_true 60 ended || fail "$name: the run does not end"
  wait "$pid"; status=$?
  [ "$status" = 0 ] && grep -qxF 'korbast: plot page 1 written to fps_bb_w1_p001.png and fps_bb_w1.pdf' err &&
    png_whole fps_bb_w1_p001.png || fail "$name: status $status, $(cat err)"
  cd "$work" || exit 2
done

# One Ctrl-D at a terminal ends the run; a line typed after it is not taken. A person at a
# terminal is asked again after any number of answers that cannot be read.
if have python3; then
  python3 - "$prog" > ctrl_d.out 2>&1 <<'EOF'
import os, pty, select, sys, time
pid, fd = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], [sys.argv[1]])
out = b""
def read_for(seconds, until=None):
    global out
    end = time.time() + seconds
    while time.time() < end:
        if select.select([fd], [], [], 0.05)[0]:
            try:
                data = os.read(fd, 65536)
            except OSError:
                return
            if not data:
                return
            out += data
            if until and until in out:
                return
os.write(fd, b"\n")
read_for(60, b"Enter your choice")
# A choice that cannot be read: its error frame pauses. Ctrl-D ends the pause (as RETURN
# would), and the question asked again finds the input ended: a line typed after the Ctrl-D
# is not read. Both are typed at once (the terminal keeps them in order).
os.write(fd, b"x\n\n" * 100 + b"x\n")  # each with the RETURN of its pause but the last
read_for(60, b"HIT RETURN")
os.write(fd, b"\x04" b"1100\n")
read_for(30)  # to the end of the run, which closes the terminal
for _ in range(300):  # a run still waiting for input has taken the line: ended by force
    done, st = os.waitpid(pid, os.WNOHANG)
    if done:
        break
    time.sleep(0.1)
else:
    os.kill(pid, 9)
    _, st = os.waitpid(pid, 0)
sys.stdout.write(out.decode("latin-1"))
print("\nstatus", os.waitstatus_to_exitcode(st))
EOF
  grep -qx 'status 1' ctrl_d.out || fail "ctrl_d: $(tail -n 1 ctrl_d.out), expected status 1"
  grep -q ' END OF INPUT' ctrl_d.out && ! grep -q 'IN A ROW REFUSED' ctrl_d.out ||
    fail "ctrl_d: the end of input is not reported"
  ! grep -q 'New value = *1100' ctrl_d.out && [ "$(grep -c 'FAST QUIT' ctrl_d.out)" = 1 ] ||
    fail "ctrl_d: a line typed after Ctrl-D was taken"
fi

# The settings file: a file size limit, or a directory at its name: the previous file (or
# folder) stays, an error frame names it, and the run ends with status 1.
window='\n10\nn\n1\n1\n\n\nAegean map\n20\n\n9999\n'
for mode in limit dir; do
  name=settings_$mode; mkdir "$name"; cd "$name" || exit 2
  if [ $mode = dir ]; then mkdir vomek1_ini_u.txt; else printf ' 3 0\n    \n' > vomek1_ini_u.txt; fi
  ( [ $mode = dir ] || ulimit -f 0; printf "$window" | exec "$prog" 2>&1 ) | cat > out
  status=${PIPESTATUS[0]}
  [ "$status" = 1 ] || fail "$name: status $status, expected 1"
  grep -q 'EXECUTION TERMINATED' out || fail "$name: no normal end"
  grep -qxF '   UNIT 50 FILE: vomek1_ini_u.txt' out && grep -qxF ' ==> THE PREVIOUS FILE IS KEPT' out ||
    fail "$name: no error frame"
  ! grep -q 'updated or created' out || fail "$name: announced although not written"
  if [ $mode = dir ]; then [ -d vomek1_ini_u.txt ]; else [ "$(cat vomek1_ini_u.txt)" = "$(printf ' 3 0\n    ')" ]; fi ||
    fail "$name: the previous file is not kept"
  [ ! -e vomek1_ini_u.txt.new ] || fail "$name: the temporary file is left"
  cd "$work" || exit 2
done
# A FIFO at the settings file's name is not opened (no one writes to it: the opening would
# wait for ever): unreadable, it gives the defaults, and the settings file is written afresh.
mkdir settings_fifo && cd settings_fifo && mkfifo vomek1_ini_u.txt || exit 2
printf '\n10\n\n\n9999\n\n' | timeout 30 "$prog" > out 2>&1
status=$?
[ "$status" = 0 ] || fail "settings_fifo: status $status, expected 0"
grep -qxF ' Page setup = Fit Portrait A4          ' out && grep -qxF ' Aliasing on' out &&
  grep -qxF ' vomek1_ini_u.txt updated or created' out || fail "settings_fifo: not the defaults"
[ -f vomek1_ini_u.txt ] && [ "$(cat vomek1_ini_u.txt)" = "$(printf ' 1 1\n    ')" ] ||
  fail "settings_fifo: the settings file is not written afresh"
cd "$work" || exit 2

# A column file through a FIFO: read once for its header display, then it cannot be read
# again: a read error, never an empty file.
mkfifo towns.fifo
cp "$src/tests/fuzz/corpus/columns/towns.txt" towns.txt
( cat towns.txt > towns.fifo & )
printf '\n1000\n1001\nbig.ndk\n\n99\n2001\n343\ny\n1000\ny\nfifo\n200\ntowns.fifo\n\n\n\n99\n99\n99\n99\n9999\n\n' |
  "$prog" > fifo.out 2>&1
grep -qxF '   FILE CANNOT BE REWOUND: towns.fifo' fifo.out && grep -q 'INPUT FILE HAS NOT BEEN READ' fifo.out &&
  grep -qxF ' ==> FILE towns.fifo CANNOT BE REWOUND' fifo.out && ! grep -q 'towns.fifo IS REWOUND' fifo.out ||
  fail "fifo: no read error"
! grep -q 'NB OF DATA = *0$' fifo.out || fail "fifo: read as an empty file"

# The console output cannot be written: status 1.
printf '\n9999\n' | "$prog" > /dev/full 2> full.err
status=$?
[ "$status" = 1 ] || fail "console_full: status $status, expected 1"

# ./run.sh configures and builds the program alone (no test target in its build).
mkdir -p fakebin
cat > fakebin/cmake <<EOF
#!/usr/bin/env bash
echo "\$*" >> "$work/cmake.log"
case "\$1" in --build) exit 0 ;; esac
exec "$(command -v cmake)" "\$@"
EOF
chmod +x fakebin/cmake
if PATH="$work/fakebin:$PATH" "$src/setup.sh" --program "$work/program-build" > setup.out 2>&1; then
  grep -q -- '-DKORBAST_TESTS=OFF' cmake.log && grep -q -- '--target korbast' cmake.log ||
    fail "run.sh: not a program-only build: $(cat cmake.log)"
  ! cmake --build "$work/program-build" --target help | grep -q 'test_' ||
    fail "run.sh: the build holds test targets"
else
  fail "run.sh: the set-up failed: $(tail -n 5 setup.out)"
fi
exit $fails
