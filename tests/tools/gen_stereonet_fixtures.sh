#!/bin/sh
# Writes the stereonet fixtures of tests/data/focal/ with PROJ's `proj` (Debian proj-bin).
#
#   tests/tools/gen_stereonet_fixtures.sh [output-directory]
#
# A direction of azimuth az (from North towards East) and plunge pl (down) is the point of
# longitude 180 - az and latitude pl on a sphere of radius 1 seen from its north pole:
#   Schmidt net = `proj +proj=laea +lat_0=90 +lon_0=0 +R=1` divided by sqrt 2,
#   Wulff net   = `proj +proj=stere +lat_0=90 +lon_0=0 +k_0=1 +R=1` divided by 2,
# each giving (East, North), the order of the North-up codes 2 and 4.
#
# nets.txt:         az pl schmidt_east schmidt_north wulff_east wulff_north   (degrees in)
# greatcircles.txt: "plane strike dip" lines, each followed by the lower half of the plane's
#                   great circle sampled every 0.5 degree of arc t from the strike direction,
#                   by spherical trigonometry (azimuth strike + atan2(sin t cos dip, cos t),
#                   plunge asin(sin t sin dip)): t az pl schmidt_east schmidt_north
set -eu

out=${1:-$(dirname "$0")/../data/focal}
mkdir -p "$out"
command -v proj >/dev/null || { echo "proj (Debian proj-bin) is needed" >&2; exit 1; }
version=$(proj 2>&1 | head -n 1)
LAEA="+proj=laea +lat_0=90 +lon_0=0 +R=1"
STERE="+proj=stere +lat_0=90 +lon_0=0 +k_0=1 +R=1"

# Projects "az pl" lines; prints "az pl east north" with the net's scale.
net() {
  awk '{ printf "%.12f %.12f %s %s\n", 180 - $1, $2, $1, $2 }' |
    proj -f %.15f $1 | awk -v s="$2" '{ printf "%s %s %.12f %.12f\n", $3, $4, $1 / s, $2 / s }'
}

{
  echo "# $version"
  echo "# az pl schmidt_east schmidt_north wulff_east wulff_north"
  for pl in -80 -45 -10 0 10 30 45 60 80 90; do
    for az in 0 30 90 135 200 270 333; do
      echo "$az $pl"
    done
  done >"$out/.dirs"
  net "$LAEA" 1.4142135623730951 <"$out/.dirs" >"$out/.s"
  net "$STERE" 2 <"$out/.dirs" >"$out/.w"
  paste -d' ' "$out/.s" "$out/.w" | awk '{ print $1, $2, $3, $4, $7, $8 }'
} >"$out/nets.txt"
rm -f "$out/.dirs" "$out/.s" "$out/.w"

{
  echo "# $version"
  echo "# plane strike dip, then: t az pl schmidt_east schmidt_north"
  # The nodal planes of tests/data/gcmt-samples.ndk, and a few more.
  for plane in "9 29" "133 72" "282 48" "28 73" "49 30" "211 61" "0 45" "300 85"; do
    set -- $plane
    echo "plane $1 $2"
    awk -v s="$1" -v d="$2" 'BEGIN {
      r = atan2(0, -1) / 180
      for (k = 0; k <= 360; k++) {
        t = k * 0.5 * r
        az = s + atan2(sin(t) * cos(d * r), cos(t)) / r
        pl = atan2(sin(t) * sin(d * r), sqrt(1 - (sin(t) * sin(d * r)) ^ 2)) / r
        printf "%.1f %.12f %.12f\n", k * 0.5, az, pl
      }
    }' >"$out/.arc"
    cut -d' ' -f2,3 "$out/.arc" | net "$LAEA" 1.4142135623730951 >"$out/.pts"
    paste -d' ' "$out/.arc" "$out/.pts" |
      awk '{ printf "%s %.9f %.9f %.9f %.9f\n", $1, $2, $3, $6, $7 }'
  done
} >"$out/greatcircles.txt"
rm -f "$out/.arc" "$out/.pts"
echo "$out/nets.txt: $(grep -vc '^#' "$out/nets.txt") directions" >&2
echo "$out/greatcircles.txt: $(grep -c '^plane' "$out/greatcircles.txt") planes" >&2
