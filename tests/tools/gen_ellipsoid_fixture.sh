#!/bin/sh
# Writes tests/data/ellipsoids.txt, the published figures of the nine reference ellipsoids of
# the ellipsoid menu, in menu order: PROJ's list (`proj -le`, Debian proj-bin) for the eight it
# holds, and for Delambre 1810 (France), which PROJ lacks (its `delmbr` is the Belgian figure
# of the same year), the historical table's a = 6376985 m, 1/f = 308.6465.
#
#   tests/tools/gen_ellipsoid_fixture.sh [output-file]
#
# Layout: '#' comment lines, then one line per menu number: number, PROJ name, a and b in
# metres (b from a and 1/f where PROJ gives the flattening).
set -eu
out=${1:-$(dirname "$0")/../data/ellipsoids.txt}
command -v proj >/dev/null || { echo "proj (Debian proj-bin) is needed" >&2; exit 1; }
version=$(proj 2>&1 | head -n 1)
{
  echo "# The nine reference ellipsoids of the menu, by number: name a b (metres)."
  echo "# Made by tests/tools/gen_ellipsoid_fixture.sh from: $version (proj -le);"
  echo "# 9: Delambre 1810 (France), a = 6376985 m, 1/f = 308.6465, from the historical table."
  proj -le | awk -v list="GRS80 GRS67 intl clrk80 clrk66 bessel evrst30 plessis" '
    BEGIN { n = split(list, want, " "); for (i = 1; i <= n; i++) at[want[i]] = i }
    ($1 in at) {
      a = substr($2, 3) + 0
      if ($3 ~ /^b=/) b = substr($3, 3) + 0; else b = a - a / (substr($3, 4) + 0)
      row[at[$1]] = sprintf("%d %s %.4f %.4f", at[$1], $1, a, b)
    }
    END {
      for (i = 1; i <= n; i++) { if (!(i in row)) { print "missing " want[i] > "/dev/stderr"; exit 1 } print row[i] }
      a = 6376985; printf "9 delambre_france %.4f %.4f\n", a, a - a / 308.6465
    }'
} > "$out"
