#!/usr/bin/env bash
# Fixtures of the map driver tests, made with independent tools (PROJ's `proj`, and the
# Aki & Richards oracle mapseis_sish_oracle.py of this folder):
#   tests/data/maps/mapseis_xy.txt           longitude, latitude, then x and y of the default
#                                            map projection (spherical Mercator, radius 1,
#                                            origin at longitude 0, latitude 45)
#   tests/data/maps/sish_gcmt_plane1.txt     the Si-Sh lines of one run over the three events
#   tests/data/maps/sish_gcmt_plane2.txt     of tests/data/gcmt-samples.ndk, planes 1 and 2
#   tests/transcripts/map_sish_cmdfile.expect/sish.txt   the same as plane 1 (a 2001 run)
#   tests/data/maps/stress_ties.txt          Sv and SHmax of planes whose axes tie (dips 0,
#                                            45, 90, rakes 0, +-90, +-180, ...), exact ties
# Run from anywhere; needs proj (proj-bin) and python3.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
out=$data/maps
mkdir -p "$out"
# y of the origin: ln(tan(pi/4 + 45/2 degrees)).
y0=$(echo "0 45" | proj +proj=merc +R=1 -f %.9f | awk '{print $2}')
{
  echo "# lon lat x y: proj +proj=merc +R=1 +y_0=-$y0 -f %.7f"
  for p in "-88.78 13.78" "93.92 7.29" "-70.24 -20.45" "0 0" "3 4" "10 20" "-30.5 40.25"; do
    xy=$(echo "$p" | proj +proj=merc +R=1 +y_0=-"$y0" -f %.7f)
    echo "$p $xy"
  done
} > "$out/mapseis_xy.txt"
python3 "$here/mapseis_sish_oracle.py" "$data/gcmt-samples.ndk" 1 > "$out/sish_gcmt_plane1.txt"
python3 "$here/mapseis_sish_oracle.py" "$data/gcmt-samples.ndk" 2 > "$out/sish_gcmt_plane2.txt"
mkdir -p "$here/../transcripts/map_sish_cmdfile.expect"
cp "$out/sish_gcmt_plane1.txt" "$here/../transcripts/map_sish_cmdfile.expect/sish.txt"
python3 "$here/mapseis_sish_oracle.py" --degenerate > "$out/stress_ties.txt"
