# The opening the run scripts share, sourced by them (it is no run of its own).

# enter_work NAME KORBAST SOURCE_DIR: the program and the source folder as absolute paths in
# $prog and $src, the sample catalogue in $sample, a scratch folder $work made, entered and
# removed at the end (kept when KEEP is set), no display, and no failure yet ($fails 0).
enter_work() {
  prog=$(realpath "$2"); src=$(realpath "$3"); sample=$src/tests/data/gcmt-samples.ndk
  work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-$1.XXXXXX")
  trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
  cd "$work" || exit 2
  unset DISPLAY
  fails=0
}

# fail MESSAGE: a failed check, told; the script goes on and ends with status 1.
fail() { echo "--- $*"; fails=1; }

# until_true SECONDS CONDITION...: waits (polling) until the condition holds; false after the
# time.
until_true() {
  local n=$(( $1 * 10 )); shift
  while ! "$@"; do n=$((n - 1)); [ $n -gt 0 ] || return 1; sleep 0.1; done
}
