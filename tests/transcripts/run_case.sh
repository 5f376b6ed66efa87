#!/usr/bin/env bash
# Runs one dialog case against the built program and compares what it printed and wrote.
#
#   run_case.sh KORBAST CASE.in
#
# CASE.in        the answers, fed as standard input
# CASE.out       the expected standard output; a line <<name>> stands for the lines of
#                fragments/name.txt (the start-up, the main menu, the end banner ...)
# CASE.status    the expected exit status (0 when missing)
# CASE.files/    files copied into the run's directory before the run
# CASE.expect/   files the run must leave in its directory, compared byte for byte
# CASE.absent    patterns, one a line, of files the run must not leave in its directory
#
# The clock is fixed at 2010-05-06 12:34:57 by preloading faketime's library when it is
# installed (its settings in the environment: unlike the faketime command, nothing is shared
# through /dev/shm, so what other programs left there cannot fail a case). Without it (or with
# KORBAST_CASE_REAL_CLOCK=1: faketime's clock does not mix with the sanitizers) the lines that
# carry the date and time, and the end picture that the time chooses, are masked on both
# sides. The line naming the system the run is on is always masked.
set -u
prog=$1; case_in=$2
base=${case_in%.in}
name=$(basename "$base")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-case-$name.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
[ -d "$base.files" ] && cp -r "$base.files/." "$work/run/"

with_fragments() {
  local line
  while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line =~ ^\<\<([A-Za-z0-9_]+)\>\>$ ]]; then
      with_fragments < "$here/fragments/${BASH_REMATCH[1]}.txt"
    else
      printf '%s\n' "$line"
    fi
  done
}

fake_clock=0
clock_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 /usr/lib/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$clock_lib" ] && [ "${KORBAST_CASE_REAL_CLOCK:-0}" != 1 ] && fake_clock=1

mask() {
  if [ $fake_clock = 1 ]; then
    sed -E -e 's/^( @ On system: ).*/\1<system>/'
  else
    sed -E \
      -e 's/^( @ On system: ).*/\1<system>/' \
      -e 's/^( @ Running on: ).*/\1<clock>/' \
      -e 's/^( @ EXECUTION TERMINATED AT: ).*/\1<clock>/' |
      awk -v closing=" $(printf '@%.0s' $(seq 43))" '
           /^ @ EXECUTION TERMINATED AT: / { print; end = 1; next }
           end == 1 { print; end = 2; next }
           end == 2 && $0 == closing { print "<picture>"; print; end = 0; next }
           end == 2 { next }
           { print }'
  fi
}

with_fragments < "$base.out" | mask > "$work/expected.txt"

# Plot windows are drawn headless, on the same virtual screen everywhere.
unset DISPLAY
cd "$work/run" || exit 2
if [ $fake_clock = 1 ]; then
  LD_PRELOAD=$clock_lib FAKETIME='2010-05-06 12:34:57' "$prog" < "$case_in" > "$work/stdout.txt" 2> "$work/stderr.txt"
else
  "$prog" < "$case_in" > "$work/stdout.txt" 2> "$work/stderr.txt"
fi
status=$?
want_status=0
[ -f "$base.status" ] && want_status=$(cat "$base.status")
fail=0
if ! diff -u "$work/expected.txt" <(mask < "$work/stdout.txt") > "$work/diff.txt"; then
  echo "--- standard output differs for $name:"; head -n 80 "$work/diff.txt"; fail=1
fi
if [ "$status" != "$want_status" ]; then
  echo "--- exit status $status, expected $want_status for $name"; fail=1
fi
if [ -d "$base.expect" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$base.expect/"}
    if ! cmp -s "$f" "$work/run/$rel"; then
      echo "--- written file $rel differs for $name:"; diff -u "$f" "$work/run/$rel" | head -n 40; fail=1
    fi
  done < <(find "$base.expect" -type f -print0)
fi
if [ -f "$base.absent" ]; then
  while IFS= read -r pattern; do
    [ -n "$pattern" ] || continue
    for f in "$work/run/"$pattern; do
      if [ -e "$f" ]; then echo "--- $name left ${f#"$work/run/"}, which it must not"; fail=1; fi
    done
  done < "$base.absent"
fi
if [ $fail -ne 0 ]; then echo "(stderr:)"; head -n 20 "$work/stderr.txt"; fi
exit $fail
