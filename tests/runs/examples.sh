#!/usr/bin/env bash
# Every command file of examples/ run as the README shows, in a scratch copy of the folder,
# without a display: each ends with status 0 and leaves the files it is there to write; one
# that draws, run again without its final empty line, writes its page and ends with status 1.
#
#   examples.sh KORBAST SOURCE_DIR
set -u
prog=$1
src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-examples.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0

# example | files it must write | a line its console output must hold
while IFS='|' read -r example files line; do
  dir="$work/$example"
  cp -r "$src/examples" "$dir"
  (cd "$dir" && printf '\n5000\n5001\n%s.cmd\n' "$example" |
     env -u DISPLAY timeout 60 "$prog" > out.txt 2> err.txt)
  rc=$?
  [ $rc = 0 ] || { echo "FAIL $example: exit status $rc"; status=1; }
  for f in $files; do
    [ -s "$dir/$f" ] || { echo "FAIL $example: no $f"; status=1; }
  done
  grep -qF -- "$line" "$dir/out.txt" || { echo "FAIL $example: no line \"$line\""; status=1; }
  # Every PDF passes qpdf's check without a warning, and the checks qpdf leaves alone.
  for f in "$dir"/*.pdf; do
    [ -e "$f" ] && command -v qpdf >/dev/null 2>&1 || continue
    check=$(qpdf --check "$f" 2>&1)
    [ $? = 0 ] && ! grep -q WARNING <<< "$check" || { echo "FAIL $example: qpdf --check $f: $check"; status=1; }
    check=$(python3 "$src/tests/tools/pdf_structure.py" "$f" 2>&1) ||
      { echo "FAIL $example: pdf_structure $f: $check"; status=1; }
  done
done <<'LIST'
read_and_list|| | 2006/04/ | -20. |  -70. | NEAR COAST OF N |
extract_polygon|| | Nb of data |          3 |          1 |
write_table|table.txt| TABULATED ndk CMT ORIGINAL ORDER
map_sish|sish.txt vomek1_ini_u.txt seis.map_w1_p001.png seis.map_w1.pdf| Seismicity map
beach_balls|fps_bb_w1_p001.png fps_bb_w1.pdf| Beach balls
LIST
# A command file that draws ends with 9999 and one empty line, the answer that closes its plot
# window. Without that line its page is still written, but the run ends at the end of the
# input with status 1.
for example in map_sish:seis.map beach_balls:fps_bb; do
  plot=${example#*:}
  example=${example%%:*}
  [ "$(tail -c 6 "$src/examples/$example.cmd" | od -An -c | tr -d ' ')" = '9999\n\n' ] ||
    { echo "FAIL $example: does not end with 9999 and one empty line"; status=1; }
  dir="$work/$example-bare"
  cp -r "$src/examples" "$dir"
  head -c -1 "$src/examples/$example.cmd" > "$dir/bare.cmd"
  (cd "$dir" && printf '\n5000\n5001\nbare.cmd\n' |
     env -u DISPLAY timeout 60 "$prog" > out.txt 2> err.txt)
  rc=$?
  [ $rc = 1 ] || { echo "FAIL $example with a bare 9999: exit status $rc"; status=1; }
  [ -s "$dir/${plot}_w1_p001.png" ] || { echo "FAIL $example with a bare 9999: no page"; status=1; }
  grep -qF "END OF INPUT" "$dir/out.txt" ||
    { echo "FAIL $example with a bare 9999: no END OF INPUT"; status=1; }
done
[ $status = 0 ] && echo ok
exit $status
