#!/usr/bin/env bash
# The X server goes away in the middle of a multi-page run shown in a window: the window is
# dropped and the run goes on to its normal end, every page written to its PNG and the PDF,
# within a bound (no wait on the lost server, no spinning, no abort). The pages are as large
# as the display makes them also where no thread for the window can be started, and a display
# that never answers holds such a run no longer than the bound, however it was started.
#
#   lost_display.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
prog=$(realpath "$1"); src=$(realpath "$2")
command -v Xvfb >/dev/null 2>&1 && command -v xauth > /dev/null || { echo "Xvfb or xauth not installed: skipped"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-lostx.XXXXXX")
xpid=
trap '[ -z "$xpid" ] || kill -9 "$xpid" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cd "$work" || exit 2
fails=0
announced() { cat err 2>/dev/null | grep -c ' written to '; }
size() { od -An -tu1 -j16 -N8 "$1/fps_bb_w1_p001.png"; }  # a page's width and height
pdf_pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }

# 300 pages of beach balls (24,000 events, 80 a page), all asked for at once, the window then
# closed and the program ended.
for i in $(seq 2000); do cat "$src/tests/data/gcmt-samples.ndk"; done > big.ndk
pages=300
{ printf '\n1000\n1001\n../big.ndk\n3000\n1000\ny\nBeach balls\n0\n'; yes '' | head -n $((pages - 1))
  printf '99\n20\n\n9999\n'; } > keys

# start_x NAME: a display of its own, on a number the server finds free, in ./display, that
# lets in only the runs given the cookie of $XAUTHORITY.
export XAUTHORITY=$work/cookie
echo "ffff 0000  0000  0012 $(printf MIT-MAGIC-COOKIE-1 | od -An -tx1 | tr -d ' \n') 0010 $(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')" |
  xauth -q -f "$XAUTHORITY" nmerge - 2> /dev/null || exit 2  # any display of any host (family ffff)
start_x() {
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -auth "$XAUTHORITY" 5> display 2> xvfb.err &
  xpid=$!
  n=0; while [ ! -s display ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
  [ -s display ] || { fail "$1: Xvfb did not start: $(cat xvfb.err)"; exit 1; }
}

for kill_at in 1 40; do  # pages announced when the server is killed
  name=lost_$kill_at; mkdir "$name"; cd "$name" || exit 2
  start_x "$name"
  t0=$(date +%s.%N)
  DISPLAY=:$(head -n 1 display) timeout -s KILL 60 "$prog" < ../keys > out 2> err &
  pid=$!
  n=0
  while [ "$(announced)" -lt $kill_at ] && [ $n -lt 600 ]; do sleep 0.05; n=$((n + 1)); done
  kill -9 "$xpid"; wait "$xpid" 2>/dev/null; xpid=
  at=$(announced)
  wait "$pid"; status=$?
  took=$(echo "$(date +%s.%N) - $t0" | bc)
  echo "$name: server killed after $at pages; status $status after $took s"
  [ "$status" = 0 ] || fail "$name: status $status, expected 0"
  grep -q 'EXECUTION TERMINATED' out || fail "$name: no normal end"
  [ "$(grep -c ' written to fps_bb_w1_p[0-9]*.png and fps_bb_w1.pdf' err)" = $pages ] ||
    fail "$name: $(grep -c ' written to ' err) of $pages pages announced"
  [ "$(ls fps_bb_w1_p*.png 2>/dev/null | wc -l)" = $pages ] || fail "$name: not $pages PNG files"
  if command -v pdfinfo >/dev/null; then
    [ "$(pdf_pages fps_bb_w1.pdf)" = $pages ] || fail "$name: the PDF holds $(pdf_pages fps_bb_w1.pdf) pages"
  fi
  cd "$work" || exit 2
done

# One page of beach balls with the window shown, and where the system starts one thread (the
# stop watcher's; the stall library's THREADS_THAT_START), none for the window: the same size.
if stall ''; then
  mkdir sizes; cd sizes || exit 2
  start_x sizes
  for threads in all 1; do
    limit=(); [ $threads = all ] || { stall '' THREADS_THAT_START=1; limit=("${stall[@]}"); }
    mkdir $threads && cd $threads || exit 2
    printf '\n1000\n1001\n%s\n3000\n1000\ny\nBeach balls\n0\n99\n20\n\n9999\n' "$src/tests/data/gcmt-samples.ndk" |
      DISPLAY=:$(head -n 1 ../display) timeout 60 "${limit[@]}" "$prog" > out 2> err || fail "sizes_$threads: status $?"
    cd .. || exit 2
  done
  [ -n "$(size all)" ] && [ "$(size all)" = "$(size 1)" ] || fail "sizes: $(size all) with the window, $(size 1) without"
  grep -q '^korbast: no thread to show the plot window' 1/err || fail "sizes: the window was shown"
  kill -9 "$xpid"; wait "$xpid" 2>/dev/null; xpid=
  cd "$work" || exit 2
fi

# A display that takes the connection and never answers (a listening socket), where no thread
# can be started: the look at its size is given up at its bound and the run goes on, its page
# of the size without a display; also where the run starts with SIGALRM (the bound's signal)
# blocked, and with descriptors 3 to 1100 open (the look's socket above 1024). Without the
# bound the run would wait for ever (ended by the time limit: status 124).
if stall '' THREADS_THAT_START=0 && command -v python3 > /dev/null; then
  mkdir mute && cd mute || exit 2
  python3 -c 'import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(8)
print(s.getsockname()[1] - 6000, flush=True); time.sleep(300)' > number &
  xpid=$!
  until_true 30 [ -s number ] || fail "mute: no listening socket"
  many=(bash -c 'ulimit -n 4096 && for ((fd = 3; fd <= 1100; fd++)); do eval "exec $fd< /dev/null"; done &&
    exec "$@"' many)
  runs=()
  for how in none plain blocked many; do
    case $how in none) first=(env -u DISPLAY) ;; plain) first=() ;; blocked) first=("${alarm_blocked[@]}") ;;
      many) first=("${many[@]}") ;; esac
    mkdir $how || exit 2
    (cd $how && printf '\n1000\n1001\n%s\n3000\n1000\ny\nBeach balls\n0\n99\n20\n\n9999\n' "$src/tests/data/gcmt-samples.ndk" |
      DISPLAY=127.0.0.1:$(cat ../number) timeout 60 "${first[@]}" "${stall[@]}" "$prog" > out 2> err; echo $? > status) &
    runs+=($!)
  done
  wait "${runs[@]}"
  for how in none plain blocked many; do [ "$(cat $how/status)" = 0 ] || fail "mute_$how: status $(cat $how/status)"; done
  for how in plain blocked many; do [ -n "$(size none)" ] && [ "$(size $how)" = "$(size none)" ] ||
    fail "mute_$how: $(size $how), $(size none) without a display"; done
  kill -9 "$xpid"; wait "$xpid" 2>/dev/null; xpid=
fi
exit $fails
