#!/bin/sh
# Writes the expected great-circle sides of the selection polygon fixture
# tests/data/maps/lines_selection_gc.txt with PROJ's `geod` and `proj` (Debian proj-bin),
# for the map-line tests: tests/data/maps/lines_selection_gc.expected.
#
#   tests/tools/gen_maps_lines_fixtures.sh [data-directory]
#
# A side from vertex i to vertex i+1 is sampled in np points evenly spaced in arc along the
# great circle (on the unit sphere, +a=1 +b=1), the first at vertex i and the last at vertex
# i+1; np is the integer part of the arc in radians times the points per radian
# (points per degree * 180 / pi), at least 2. Each point is given with its spherical Mercator
# map coordinates about (0, 0) (+proj=merc +R=1), the projection the tests draw in.
#
# Output: '#' comment lines, then per side a line "side <i> <np>" followed by np lines
# "lon lat x y" (degrees, map units).
set -eu

dir=${1:-$(dirname "$0")/../data/maps}
in="$dir/lines_selection_gc.txt"
out="$dir/lines_selection_gc.expected"
command -v geod >/dev/null || { echo "geod (Debian proj-bin) is needed" >&2; exit 1; }
command -v proj >/dev/null || { echo "proj (Debian proj-bin) is needed" >&2; exit 1; }

# First record: n side-type closed points-per-degree; then n vertices "lon lat".
set -- $(head -n 1 "$in" | tr ',' ' ')
n=$1 closed=$3 ptsperdeg=$4
verts=$(sed -n "2,$((n + 1))p" "$in" | tr ',' ' ')
[ "$closed" = 1 ] && verts=$(printf '%s\n%s\n' "$verts" "$(printf '%s\n' "$verts" | head -n 1)")

{
  echo "# Great-circle sides of lines_selection_gc.txt, by $(geod 2>&1 | head -n 1 | cut -c1-40) and proj."
  echo "# Written by tests/tools/gen_maps_lines_fixtures.sh; do not edit."
  m=$(printf '%s\n' "$verts" | wc -l)
  i=1
  while [ "$i" -lt "$m" ]; do
    set -- $(printf '%s\n' "$verts" | sed -n "${i}p")
    lon1=$1 lat1=$2
    set -- $(printf '%s\n' "$verts" | sed -n "$((i + 1))p")
    lon2=$1 lat2=$2
    # The arc in radians: the geodesic distance on the unit sphere.
    arc=$(echo "$lat1 $lon1 $lat2 $lon2" | geod +a=1 +b=1 -I -f %.12f -F %.12f | awk '{print $3}')
    np=$(awk -v a="$arc" -v p="$ptsperdeg" 'BEGIN { q = p * 180 / atan2(0, -1); k = int(a * q);
      if (k < 2) k = 2; print k }')
    echo "side $i $np"
    geod +a=1 +b=1 -I +lat_1="$lat1" +lon_1="$lon1" +lat_2="$lat2" +lon_2="$lon2" \
      +n_S=$((np - 1)) -f %.10f |
      awk '{ print $2, $1 }' |
      while read -r lon lat; do
        xy=$(echo "$lon $lat" | proj +proj=merc +R=1 -f %.9f)
        echo "$lon $lat $xy"
      done
    i=$((i + 1))
  done
} > "$out"
echo "wrote $out"
