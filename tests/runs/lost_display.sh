#!/usr/bin/env bash
# The X server goes away in the middle of a multi-page run shown in a window: the window is
# dropped and the run goes on to its normal end, every page written to its PNG and the PDF,
# within a bound (no wait on the lost server, no spinning, no abort). The pages are as large
# as the display makes them also where no thread for the window can be started, whichever way
# the display is reached, and a display that never answers holds such a run no longer than the
# bound, however it was started, its window's thread left behind without the clean-up at exit.
#
#   lost_display.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
prog=$(realpath "$1"); src=$(realpath "$2")
command -v Xvfb >/dev/null 2>&1 && command -v xauth > /dev/null || { echo "Xvfb or xauth not installed: skipped"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-lostx.XXXXXX")
declare -A xlive  # the servers still running, by process
trap '[ ${#xlive[@]} = 0 ] || kill -9 "${!xlive[@]}" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cd "$work" || exit 2
fails=0
announced() { cat err 2>/dev/null | grep -c ' written to '; }
size() { od -An -tu4 --endian=big -j16 -N8 "$1/fps_bb_w1_p001.png" | awk '{ print $1 "x" $2 }'; }
pdf_pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
# exit_check NAME DIR WANT: built with AddressSanitizer, the run in DIR ended through the clean-up
# at exit, the leak check with it (WANT 1), or without it (0: a thread left behind in a library),
# as its exit stats on the run's standard error tell.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}atexit=1
asan=$(grep -qa __asan_init "$prog" && echo 1)
exit_check() { [ -z "$asan" ] || [ "$(grep -c '^AddressSanitizer exit stats' "$2/err")" = "$3" ] ||
  fail "$1: $3 exit checks expected"; }

# 300 pages of beach balls (24,000 events, 80 a page), all asked for at once, the window then
# closed and the program ended.
for i in $(seq 2000); do cat "$src/tests/data/gcmt-samples.ndk"; done > big.ndk
pages=300
{ printf '\n1000\n1001\n../big.ndk\n3000\n1000\ny\nBeach balls\n0\n'; yes '' | head -n $((pages - 1))
  printf '99\n20\n\n9999\n'; } > keys

# start_x NAME OPTION...: a display of its own (Xvfb with the options, its process in $xpid),
# on the first number from about 300 on (past those servers find free by themselves) whose
# lock no other server holds, in ./display once it takes connections (it tells its parent so
# with SIGUSR1 when started with that signal ignored, and never again: no reset when its last
# client leaves), that lets in only the runs given the cookie of $XAUTHORITY. stop_x SIGNAL PROCESS...: the servers ended by the signal (KILL: at
# once, as in a crash), the lock and socket file of one killed removed while still its own.
export XAUTHORITY=$work/cookie
cookie=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
echo "ffff 0000  0000  0012 $(printf MIT-MAGIC-COOKIE-1 | od -An -tx1 | tr -d ' \n') 0010 $cookie" |
  xauth -q -f "$XAUTHORITY" nmerge - 2> /dev/null || exit 2  # any display of any host (family ffff)
trap 'xready=1' USR1
start_x() {
  local n
  for n in $(seq $((300 + $$ % 400)) 999); do
    xready=
    (trap '' USR1; exec Xvfb ":$n" -noreset -screen 0 1280x1024x24 -auth "$XAUTHORITY" "${@:2}" 2> xvfb.err) &
    xpid=$!; xlive[$xpid]=$n
    until_true 10 eval '[ -n "$xready" ] || ! kill -0 $xpid 2> /dev/null'
    [ -n "$xready" ] && { echo $n > display; return; }
    stop_x KILL "$xpid"
  done
  fail "$1: Xvfb did not start: $(cat xvfb.err)"; exit 1
}
stop_x() {
  local p
  kill -s "$1" "${@:2}" 2> /dev/null; wait "${@:2}" 2> /dev/null
  for p in "${@:2}"; do
    [ "$(cat "/tmp/.X${xlive[$p]}-lock" 2> /dev/null)" != "$(printf %10d "$p")" ] ||
      rm -f "/tmp/.X${xlive[$p]}-lock" "/tmp/.X11-unix/X${xlive[$p]}"
    unset "xlive[$p]"
  done
}

for kill_at in 1 40; do  # pages announced when the server is killed
  name=lost_$kill_at; mkdir "$name"; cd "$name" || exit 2
  start_x "$name" -nolisten tcp
  t0=$(date +%s.%N)
  DISPLAY=:$(head -n 1 display) timeout -s KILL 60 "$prog" < ../keys > out 2> err &
  pid=$!
  n=0
  while [ "$(announced)" -lt $kill_at ] && [ $n -lt 600 ]; do sleep 0.05; n=$((n + 1)); done
  stop_x KILL "$xpid"
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

# One page of beach balls where the system starts one thread (the stop watcher's; the stall
# library's THREADS_THAT_START), none for the window: the dialog's own look at the display
# gives the pages the size they have with the window shown (the run with all its threads),
# 661x936 on a screen of 1280x1024, whichever way the display is reached: its abstract socket
# alone, its socket file alone, or TCP alone, named by its address or, where the local sockets
# do not connect, on this host. The cookie is filed under this host's name, as xauth and ssh
# file it (<host>/unix:N), for TCP on the loopback too.
if stall '' THREADS_THAT_START=1; then
  mkdir ways && cd ways && : > named || exit 2
  ways=()
  for way in abstract path tcp; do
    mkdir x_$way && cd x_$way || exit 2
    case $way in abstract) start_x $way -nolisten tcp -nolisten unix ;;
      path) start_x $way -nolisten tcp -nolisten local ;; tcp) start_x $way -listen tcp -nolisten unix -nolisten local ;; esac
    ways+=("$xpid"); printf -v $way %s "$(cat display)"
    xauth -q -f ../named add "$(hostname)/unix:$(cat display)" MIT-MAGIC-COOKIE-1 "$cookie" || exit 2
    cd .. || exit 2
  done
  runs=()
  for how in shown abstract path tcp tcp_local; do
    case $how in shown) display=:$abstract ;; tcp) display=127.0.0.1:$tcp ;; tcp_local) display=:$tcp ;;
      *) display=:${!how} ;; esac
    limit=("${stall[@]}"); [ $how != shown ] || limit=()
    mkdir $how || exit 2
    (cd $how && printf '\n1000\n1001\n%s\n3000\n1000\ny\nBeach balls\n0\n99\n20\n\n9999\n' "$src/tests/data/gcmt-samples.ndk" |
      DISPLAY=$display XAUTHORITY=../named timeout 60 "${limit[@]}" "$prog" > out 2> err; echo $? > status) &
    runs+=($!)
  done
  wait "${runs[@]}"
  for how in shown abstract path tcp tcp_local; do
    [ "$(cat $how/status)" = 0 ] && [ "$(size $how)" = 661x936 ] || fail "ways_$how: status $(cat $how/status), $(size $how)"
    [ $how = shown ] || grep -q '^korbast: no thread to show the plot window' $how/err || fail "ways_$how: the window was shown"
    exit_check "ways_$how" $how 1
  done
  stop_x TERM "${ways[@]}"
  cd "$work" || exit 2
fi

# A display that takes the connection and never answers (a listening socket), where no thread
# can be started: the look at its size is given up at its bound and the run goes on, its page
# of the size without a display; also where the run starts with SIGALRM (the bound's signal)
# blocked, and with descriptors 3 to 1100 open (the look's socket above 1024). Without the
# bound the run would wait for ever (ended by the time limit: status 124). A display numbered
# past the last port (:2147483647, its port counted as the X libraries count it) is no display.
# Where the window's thread starts (by TCP, and on the display's abstract socket), it is left
# behind at its bound inside the X libraries, and the run ends as well.
if stall '' THREADS_THAT_START=0 && command -v python3 > /dev/null; then
  mkdir mute && cd mute || exit 2
  mute_display names || fail "mute: no listening socket"
  xlive[$mute_pid]=mute; read -r mute_tcp mute_abstract < names
  many=(bash -c 'ulimit -n 4096 && for ((fd = 3; fd <= 1100; fd++)); do eval "exec $fd< /dev/null"; done &&
    exec "$@"' many)
  runs=() hows=(none plain blocked many huge thread thread_abstract)
  for how in "${hows[@]}"; do
    limit=("${stall[@]}")
    case $how in none) first=(env -u DISPLAY) ;; plain) first=() ;; blocked) first=("${alarm_blocked[@]}") ;;
      many) first=("${many[@]}") ;; huge) first=(env DISPLAY=:2147483647) ;;
      thread) first=(); limit=() ;; thread_abstract) first=(env DISPLAY=$mute_abstract); limit=() ;; esac
    mkdir $how || exit 2
    (cd $how && printf '\n1000\n1001\n%s\n3000\n1000\ny\nBeach balls\n0\n99\n20\n\n9999\n' "$src/tests/data/gcmt-samples.ndk" |
      DISPLAY=$mute_tcp timeout 60 "${first[@]}" "${limit[@]}" "$prog" > out 2> err; echo $? > status) &
    runs+=($!)
  done
  wait "${runs[@]}"
  for how in "${hows[@]}"; do [ "$(cat $how/status)" = 0 ] && [ "$(size $how)" = 786x1112 ] ||
    fail "mute_$how: status $(cat $how/status), $(size $how)"
    exit_check "mute_$how" $how $([[ $how = thread* ]] && echo 0 || echo 1); done
  stop_x KILL "$mute_pid"
fi
exit $fails
