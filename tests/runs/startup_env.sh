#!/usr/bin/env bash
# The environment a run is started in: a SIGHUP its caller ignores (nohup) stays ignored;
# SIGQUIT with core files allowed ends the run by the signal and leaves no core file; a file
# size limit with SIGXFSZ at its default action is a failed write, reported; closed standard
# descriptors are /dev/null (a closed input is an end of input); a console pipe closed by its
# reader is lost output (status 1), not an end by SIGPIPE.
#
#   startup_env.sh KORBAST SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_work startup-env "$1" "$2"
set -m  # background runs get SIGQUIT as from a terminal (no job control: it would be ignored)
trap '' PIPE  # a run that ended early must not end the script with it
# Runs with SIGXFSZ and SIGPIPE at their default action, whatever the caller set.
default=(env --default-signal=XFSZ,PIPE)
"${default[@]}" true 2> /dev/null || default=()

at_menu() { grep -q 'FAST QUIT' out && tail -n 1 out | grep -q 'Enter your choice'; }
# start NAME SHELL-SETUP: the program in NAME/ after the set-up, its keyboard a FIFO kept open
# on descriptor 9, stopped at the main menu.
start() {
  mkdir "$1" && cd "$1" && mkfifo keys
  ( eval "$2"; exec "$prog" < keys > out 2> err ) &
  pid=$!
  exec 9> keys
  printf '\n' >&9
  until_true 30 at_menu || fail "$1: no main menu"
}
finish() { wait "$pid"; status=$?; exec 9>&-; cd "$work" || exit 2; }

# A SIGHUP the caller ignores does not end the run; the run ends at its own quit.
start hup "trap '' HUP"
kill -s HUP "$pid"
sleep 1  # a SIGHUP taken would end the run by now
printf '9999\n' >&9
finish
[ "$status" = 0 ] || fail "hup: status $status, expected 0"
! grep -q 'STOPPED BY' hup/out || fail "hup: stopped by the ignored SIGHUP"

# SIGQUIT with core files allowed: ended by the signal, no core file. Where the kernel hands
# core files to a program or writes them to another folder, only the status is checked.
start quit 'ulimit -c unlimited'
kill -s QUIT "$pid"
finish
[ "$status" = 131 ] || fail "quit: status $status, expected 131"
pattern=$(cat /proc/sys/kernel/core_pattern 2>/dev/null || echo '|')
case $pattern in
  '|'* | */*) echo "core files go to '$pattern': only the status is checked" ;;
  *) [ -z "$(ls quit | grep '^core')" ] || fail "quit: a core file was written: $(ls quit)" ;;
esac

# A file size limit, SIGXFSZ at its default action (the program ignores it itself), a page
# too big for the limit: reported, the run goes on to its end with status 1, and no part
# written page is left under a hidden name. The settings file exists (nothing else is
# written before the page).
mkdir xfsz && cd xfsz || exit 2
cp "$sample" s.ndk
printf ' 1 1\n    \n' > vomek1_ini_u.txt
printf '\n1000\n1001\ns.ndk\n3000\n1000\ny\nBeach balls\n0\n\n99\n20\n\n\n\n9999\n' |
  ( ulimit -f 8; exec timeout 60 "${default[@]}" "$prog" 2>&1 ) | cat > out
status=${PIPESTATUS[1]}
[ "$status" = 1 ] || fail "xfsz: status $status, expected 1"
grep -q 'EXECUTION TERMINATED' out || fail "xfsz: no normal end"
grep -qxF '   FILE: fps_bb_w1_p001.png' out && grep -qxF '   REASON: File too large' out ||
  fail "xfsz: the failed page is not reported"
[ -z "$(ls -A | grep '^\.')" ] || fail "xfsz: hidden files left: $(ls -A)"
cd "$work" || exit 2

# Closed standard input: an end of input at the first question (status 1), never a wait.
timeout 30 "$prog" <&- > closed_in.out 2>&1
status=$?
[ "$status" = 1 ] || fail "closed_in: status $status, expected 1"
grep -q ' END OF INPUT' closed_in.out || fail "closed_in: no end of input"
# Closed standard output and error: what is written there is taken by /dev/null.
printf '\n9999\n' | timeout 60 "$prog" >&- 2>&-
status=$?
[ "$status" = 0 ] || fail "closed_out: status $status, expected 0"

# A console pipe whose reader is gone before the first write: lost output, status 1.
mkfifo gone
printf '\n9999\n' > quit.in
( trap - PIPE; exec 7<> gone; exec timeout 60 "${default[@]}" "$prog" < quit.in > gone 2> gone.err 7<&- )
status=$?
[ "$status" = 1 ] || fail "pipe_gone: status $status, expected 1"
exit $fails
