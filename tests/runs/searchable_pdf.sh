#!/usr/bin/env bash
# The PDF files of the example runs carry their texts: pdffonts lists the embedded page font,
# pdftotext finds the beach-ball caption, the events' dates (as the catalogue gives them),
# the direction labels, and the map's grid labels.
#
#   searchable_pdf.sh KORBAST SOURCE_DIR
set -u
prog=$1
src=$2
command -v pdftotext > /dev/null && command -v pdffonts > /dev/null || exit 77
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-pdftext.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$src/examples/." "$work/"
cd "$work" || exit 1
for example in beach_balls map_sish; do
  printf '\n5000\n5001\n%s.cmd\n' "$example" | env -u DISPLAY timeout 60 "$prog" > /dev/null 2>&1
done
status=0
for pdf in fps_bb_w1.pdf seis.map_w1.pdf; do
  # name, type, encoding, emb, sub, uni: embedded, a subset, with its map to Unicode.
  pdffonts "$pdf" | awk '$1 ~ /^[A-Z][A-Z][A-Z][A-Z][A-Z][A-Z]\+DejaVuSans$/ && $(NF-4) == "yes" &&
                         $(NF-3) == "yes" && $(NF-2) == "yes" { found = 1 } END { exit !found }' ||
    { echo "FAIL $pdf: no embedded DejaVu Sans subset"; pdffonts "$pdf"; status=1; }
done
bb=$(pdftotext fps_bb_w1.pdf -)
map=$(pdftotext seis.map_w1.pdf -)
# The dates of the catalogue's events label the balls.
dates=$(awk 'NR % 5 == 1 { print $2 }' gcmt-samples.ndk)
for want in "Page 1/1" North East $dates; do
  grep -qF -- "$want" <<< "$bb" || { echo "FAIL beach balls: no \"$want\""; status=1; }
done
# The example's grid is labelled every 45 degrees of longitude and 25 of latitude.
for want in "-135.0" "-45.0" "90.0" "-25.0" "50.0"; do
  grep -qF -- "$want" <<< "$map" || { echo "FAIL map: no \"$want\""; status=1; }
done
[ $status = 0 ] && echo ok
exit $status
