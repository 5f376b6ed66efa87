# The opening the run scripts share, sourced by them (it is no run of its own).

# enter_work NAME KORBAST SOURCE_DIR: the program and the source folder as absolute paths in
# $prog and $src, the sample catalogue in $sample, a scratch folder $work made, entered and
# removed at the end (kept when KEEP is set; an ext2_folder unmounted first), no display, and
# no failure yet ($fails 0).
enter_work() {
  prog=$(realpath "$2"); src=$(realpath "$3"); sample=$src/tests/data/gcmt-samples.ndk
  work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-$1.XXXXXX")
  trap 'cd /; [ -z "${e2:-}" ] || umount "$e2"; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
  cd "$work" || exit 2
  unset DISPLAY
  fails=0
}

# ext2_folder: the folder $e2 ($work/ext2) on a fresh ext2 image with 128-byte inodes, which keep
# no birth times and change times to the second, mounted by a loop device (as root) until the
# script ends; false, $e2 empty and said so, where none can be made or mounted.
ext2_folder() {
  e2=$work/ext2
  mkdir "$e2" && truncate -s 32M "$e2.img" && mkfs.ext2 -q -F -I 128 "$e2.img" > /dev/null 2>&1 &&
    mount -o loop "$e2.img" "$e2" 2> /dev/null && chmod 755 "$e2" && return
  e2=''
  echo "--- no ext2 folder can be mounted here (root, mkfs.ext2, a loop device): its cases not run"
  return 1
}

# fail MESSAGE: a failed check, told; the script goes on and ends with status 1.
fail() { echo "--- $*"; fails=1; }

# until_true SECONDS CONDITION...: waits (polling) until the condition holds; false after the
# time.
until_true() {
  local n=$(( $1 * 10 )); shift
  while ! "$@"; do n=$((n - 1)); [ $n -gt 0 ] || return 1; sleep 0.1; done
}

# mute_display FILE: a display that takes connections and never answers, as one whose link
# hangs: a process ($mute_pid, for the caller to end) listening by TCP on the loopback and on
# the abstract socket of a local display, whose names (127.0.0.1:N :M) it writes into FILE once
# both listen; false when it did not within 30 seconds.
mute_display() {
  python3 -c 'import os, socket, time
t = socket.socket(); t.bind(("127.0.0.1", 0)); t.listen(8)
for n in range(1000 + os.getpid() % 8000, 65536):
  u = socket.socket(socket.AF_UNIX)
  try: u.bind("\0/tmp/.X11-unix/X%d" % n); break
  except OSError: u.close()
u.listen(8)
print("127.0.0.1:%d :%d" % (t.getsockname()[1] - 6000, n), flush=True); time.sleep(300)' > "$1" &
  mute_pid=$!
  until_true 30 [ -s "$1" ]
}

# stall PATTERN [NAME=VALUE...]: the command prefix, in the array $stall, under which every
# write into a file whose path holds PATTERN waits for ever, as on a hung network folder (the
# preloaded library of tests/tools/stall_writes.cpp, which ctest names in STALL_WRITES_LIBRARY),
# with the library's further settings NAME=VALUE; false, with $stall empty, where there is no
# such library.
stall() {
  stall=()
  [ -f "${STALL_WRITES_LIBRARY:-}" ] || return 1
  stall=(env "LD_PRELOAD=$STALL_WRITES_LIBRARY${LD_PRELOAD:+:$LD_PRELOAD}"
    "STALL_WRITES_MATCHING=$1" "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" "${@:2}")
}

# The command prefix under which a run starts with SIGALRM blocked, as under a parent (a job
# runner) that blocks it: the mask goes on through exec.
alarm_blocked=(python3 -c 'import os, signal, sys
signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGALRM}); os.execvp(sys.argv[1], sys.argv[1:])')
