#!/bin/sh
# Writes tests/data/ellipsoids.txt, the published figures of the reference ellipsoids of the
# ellipsoid menu, in menu order: PROJ's list (`proj -le`, Debian proj-bin) for those it holds,
# the historical table's a and 1/f for the others.
#
#   tests/tools/gen_ellipsoid_fixture.sh [output-file]
#
# Layout: '#' comment lines, then one line per menu number: number, name, a and b in metres
# (b from a and 1/f where only the flattening is given).
set -eu
out=${1:-$(dirname "$0")/../data/ellipsoids.txt}
# The menu's ellipsoids in its order, one word each: a PROJ name, or name=a,1/f for a figure
# PROJ lacks. Delambre 1810 is the French figure (a = 6376985 m, 1/f = 308.6465); PROJ's
# `delmbr` is the Belgian one of the same year.
figures="GRS80 GRS67 intl clrk80 clrk66 bessel evrst30 plessis delambre_france=6376985,308.6465"
command -v proj >/dev/null || { echo "proj (Debian proj-bin) is needed" >&2; exit 1; }
version=$(proj 2>&1 | head -n 1)
{
  echo "# The reference ellipsoids of the menu, by number: name a b (metres)."
  echo "# Made by tests/tools/gen_ellipsoid_fixture.sh from: $version (proj -le);"
  proj -le | awk -v list="$figures" '
    { a = substr($2, 3) + 0
      if ($3 ~ /^b=/) b = substr($3, 3) + 0; else b = a - a / (substr($3, 4) + 0)
      ra[$1] = a; rb[$1] = b }
    END {
      n = split(list, want, " ")
      for (i = 1; i <= n; i++) {
        if (split(want[i], p, /[=,]/) == 3) {
          printf "# %d: %s, not in PROJ: a = %s m, 1/f = %s, from the historical table.\n", i, p[1], p[2], p[3]
          name[i] = p[1]; fa[i] = p[2] + 0; fb[i] = fa[i] - fa[i] / (p[3] + 0)
        } else if (want[i] in ra) {
          name[i] = want[i]; fa[i] = ra[want[i]]; fb[i] = rb[want[i]]
        } else { print "missing " want[i] > "/dev/stderr"; exit 1 }
      }
      for (i = 1; i <= n; i++) printf "%d %s %.4f %.4f\n", i, name[i], fa[i], fb[i]
    }'
} > "$out"
