#!/bin/sh
# Writes the projection fixtures of tests/data/projection/ with PROJ's `proj` (Debian
# proj-bin): for every projection code one or more parameter sets, a longitude/latitude grid
# and the map coordinates the program must give for it, relative to a map origin that is not
# the default one.
#
#   tests/tools/gen_proj_fixtures.sh [output-directory]
#
# The program's map is s * (P(lon, lat) - P(lon0, lat0)): P the PROJ projection below, (lon0,
# lat0) the map origin and s a scale (1 unless said). Points PROJ cannot project ("*", nan)
# are left out, as are points with no finite image in the program. Ellipsoids are given by
# the program's own radii (+a=1 +b=b/a), not by PROJ's names, whose radii differ a little.
#
# Fixture layout: '#' comment lines, then "set <key> <values>" lines (code, longp1, longp2,
# latp1, latp2, anglep1, centre lon lat, ellipsoid a b, origin lon lat, tolerance t), then one
# line per point: lon lat x y (degrees in, map units out).
set -eu

out=${1:-$(dirname "$0")/../data/projection}
mkdir -p "$out"
command -v proj >/dev/null || { echo "proj (Debian proj-bin) is needed" >&2; exit 1; }
version=$(proj 2>&1 | head -n 1)

# The grid of a case: every lon of $1 with every lat of $2.
grid() {
  for lat in $2; do
    for lon in $1; do
      echo "$lon $lat"
    done
  done
}

# Each "lon lat" line in degrees followed by the same angles as the program holds them, in
# degrees for PROJ: the single-precision product of the degrees and the single-precision
# pi/180 (near a pole the rounding of the latitude alone moves a Mercator ordinate by 1e-4).
exact() {
  awk '
    function f32(x,   a, e, m, r, f) {
      if (x == 0) return 0
      a = x < 0 ? -x : x; e = 0
      while (a >= 2) { a /= 2; e++ }
      while (a < 1) { a *= 2; e-- }
      m = a * 8388608; r = int(m); f = m - r
      if (f > 0.5 || (f == 0.5 && r % 2 == 1)) r++
      return (x < 0 ? -1 : 1) * r / 8388608 * 2 ^ e
    }
    BEGIN { pi = atan2(0, -1); k = f32(2 * f32(pi / 2) / 180) }
    # The single-precision pole lies 4e-8 rad past the pole: it is the pole.
    { lat = f32(f32($2) * k) * 180 / pi; if (lat > 90) lat = 90; if (lat < -90) lat = -90
      printf "%s %s %.17g %.17g\n", $1, $2, f32(f32($1) * k) * 180 / pi, lat }'
}

# case NAME "PROJ string" SCALE "set lines" "lons" "lats" [FILTER]
# FILTER is an awk condition on (lon, lat) that keeps a point (default: all).
case_() {
  name=$1 pstr=$2 scale=$3 sets=$4 lons=$5 lats=$6 filter=${7:-1}
  file="$out/$name.txt"
  origin=$(printf '%s\n' "$sets" | awk '$1 == "origin" { print $2, $3 }')
  o=$(echo "$origin" | exact | cut -d' ' -f3,4 | proj -f %.15f $pstr)
  {
    echo "# $version"
    echo "# proj $pstr"
    echo "# scale $scale"
    printf '%s\n' "$sets" | sed 's/^/set /'
    grid "$lons" "$lats" | awk "$filter" | exact | while read -r lon lat elon elat; do
      r=$(echo "$elon $elat" | proj -f %.15f $pstr)
      echo "$lon $lat $r $o"
    done | awk -v s="$scale" '
      $3 ~ /[*na]/ || $4 ~ /[*na]/ { next }
      { x = s * ($3 - $5); y = s * ($4 - $6)
        if (x > 1e6 || x < -1e6 || y > 1e6 || y < -1e6) next
        printf "%s %s %.12f %.12f\n", $1, $2, x, y }'
  } >"$file"
  echo "$file: $(grep -vc '^[#s]' "$file") points" >&2
}

GRS80="ellipsoid 6378137.0 6356752.5"
E_GRS80="+a=1 +b=$(echo 6356752.5 6378137.0 | awk '{ printf "%.17g", $1 / $2 }')"
CLARKE66="ellipsoid 6378206.5 6356584.0"
E_CLARKE66="+a=1 +b=$(echo 6356584.0 6378206.5 | awk '{ printf "%.17g", $1 / $2 }')"
BESSEL="ellipsoid 6377397.0 6356079.0"
E_BESSEL="+a=1 +b=$(echo 6356079.0 6377397.0 | awk '{ printf "%.17g", $1 / $2 }')"

# 1 transverse Mercator, sphere. Beyond 90 degrees from the central meridian the program
# carries y on past pi/2 instead of folding it: there only northern points are compared.
case_ code01_tm "+proj=tmerc +R=1 +k_0=1 +lon_0=25 +over" 1 \
"code 1
longp1 25
origin 40 -10" \
"-55 -35 -15 0 5 25 45 65 85 105 125 145" "-80 -60 -40 -20 -5 0 5 20 40 60 80" \
'{ d = $1 - 25; if (d < 0) d = -d; if (d > 89 && $2 < 0) next; if (d == 90) next; print }'

# 2 transverse Mercator series, ellipsoid: within 10 degrees of the central meridian.
case_ code02_tme "+proj=tmerc $E_GRS80 +k_0=1 +lon_0=-75" 1 \
"code 2
longp1 -75
$GRS80
origin -72 40" \
"-85 -81 -78 -75 -73 -70 -65" "-70 -50 -30 -10 0 10 30 50 70"

# 3 Lambert conformal conic, sphere: a northern secant cone, a southern one, a tangent one.
case_ code03_lcc "+proj=lcc +R=1 +lat_1=20 +lat_2=50 +lat_0=0 +lon_0=10 +over" 1 \
"code 3
longp1 10
latp1 20
latp2 50
origin 15 35" \
"-170 -120 -60 -10 10 30 80 140 190" "-60 -30 0 15 35 60 80 89"
case_ code03_lcc_south "+proj=lcc +R=1 +lat_1=-15 +lat_2=-45 +lat_0=0 +lon_0=140 +over" 1 \
"code 3
longp1 140
latp1 -15
latp2 -45
origin 135 -25" \
"40 100 120 140 150 200" "-89 -60 -30 0 30 60"
case_ code03_lcc_tangent "+proj=lcc +R=1 +lat_1=40 +lat_2=40 +lat_0=0 +lon_0=0 +over" 1 \
"code 3
longp1 0
latp1 40
latp2 40
origin 5 45" \
"-90 -30 0 20 60 120" "-30 0 20 40 60 85"

# Standard parallels 0.01 degrees apart (the cone constant must not cancel), with points
# between 1e-5 and 1e-3 rad of either pole and one 1.7e-6 rad from the apex.
case_ code03_lcc_close "+proj=lcc +R=1 +lat_1=40 +lat_2=40.01 +lat_0=0 +lon_0=0 +over" 1 \
"code 3
longp1 0
latp1 40
latp2 40.01
origin 5 45
tolerance 1e-5" \
"-150 -60 0 30 120 175" "-89.999 -89.95 -60 0 40 40.005 75 89.9 89.999 89.9999"

# 4 Lambert conformal conic, ellipsoid.
case_ code04_lcce "+proj=lcc $E_CLARKE66 +lat_1=33 +lat_2=45 +lat_0=0 +lon_0=-96 +over" 1 \
"code 4
longp1 -96
latp1 33
latp2 45
$CLARKE66
origin -100 38" \
"-170 -130 -110 -96 -80 -60 -20" "-40 0 20 33 40 45 60 80"

case_ code04_lcce_close "+proj=lcc $E_BESSEL +lat_1=-60 +lat_2=-60.01 +lat_0=0 +lon_0=20 +over" 1 \
"code 4
longp1 20
latp1 -60
latp2 -60.01
$BESSEL
origin 25 -55
tolerance 1e-5" \
"-100 0 20 60 170" "-89.9999 -89.999 -89.9 -60 -30 0 60 89.95 89.999"

# 5 Lambert azimuthal equal-area, polar (program radius is half the usual: R = 0.5).
case_ code05_lazea "+proj=laea +lat_0=90 +lon_0=0 +R=0.5" 1 \
"code 5
anglep1 180
origin 30 60" \
"-180 -135 -60 0 45 90 170" "-80 -45 0 30 60 85 90"

# 6 Lambert azimuthal equal-area, oblique.
case_ code06_lazea_obl "+proj=laea +lat_0=40 +lon_0=20 +R=0.5" 1 \
"code 6
anglep1 180
centre 20 40
origin 25 45" \
"-100 -40 0 20 20.01 40 80 160" "-70 -30 0 20 40 40.02 60 85"

# 7 stereographic, polar: radius tan(theta/2), the equator on the unit circle.
case_ code07_stere "+proj=stere +lat_0=90 +lon_0=0 +R=1 +k_0=0.5" 1 \
"code 7
anglep1 180
origin -20 50" \
"-170 -90 -30 0 30 100 180" "-60 -30 0 30 60 90"

# 8 stereographic, oblique.
case_ code08_stere_obl "+proj=stere +lat_0=60 +lon_0=-30 +R=1 +k_0=0.5" 1 \
"code 8
anglep1 180
centre -30 60
origin -25 55" \
"-170 -90 -40 -30.02 -30 0 60 120" "-40 -10 20 50 60 60.01 80"

# 9 orthographic, polar: the near hemisphere.
case_ code09_ortho "+proj=ortho +lat_0=90 +lon_0=0 +R=1" 1 \
"code 9
anglep1 180
origin 10 70" \
"-170 -90 -30 0 45 120 180" "0 10 30 50 70 90"

# 10 orthographic, oblique: the near side.
case_ code10_ortho_obl "+proj=ortho +lat_0=-30 +lon_0=100 +R=1" 1 \
"code 10
centre 100 -30
origin 110 -20" \
"30 60 90 100 120 150 170" "-80 -50 -30 0 20 40"

# 11 vertical perspective, polar, angle of view 60 degrees: PROJ's height is
# 1/sin(30) - 1 = 1 and the program's horizon lies on the unit circle, a scale of
# cos(30)/(1 - sin(30)) = sqrt(3).
case_ code11_persp "+proj=nsper +lat_0=90 +lon_0=0 +R=1 +h=1" 1.7320508075688772 \
"code 11
anglep1 60
origin 45 75" \
"-170 -90 -30 0 45 120 180" "35 45 60 75 90"

# 12 vertical perspective, oblique, angle of view 90 degrees: height 1/sin(45) - 1, scale
# cos(45)/(1 - sin(45)).
H12=$(awk 'BEGIN { printf "%.17g", 1 / sin(atan2(1, 1)) - 1 }')
S12=$(awk 'BEGIN { s = sin(atan2(1, 1)); printf "%.17g", cos(atan2(1, 1)) / (1 - s) }')
case_ code12_persp_obl "+proj=nsper +lat_0=30 +lon_0=45 +R=1 +h=$H12" "$S12" \
"code 12
anglep1 90
centre 45 30
origin 50 35" \
"0 20 35 45 55 70 90" "-10 10 20 30 40 60 80"

# 13 polyconic.
case_ code13_poly "+proj=poly +R=1 +lat_0=0 +lon_0=-100 +over" 1 \
"code 13
longp1 -100
origin -90 30" \
"-170 -140 -110 -100 -80 -50" "-70 -40 -10 -0.1 -0.01 0 0.001 0.05 10 40 70"

# 14 modified polyconic of the International Map of the World; the second longitude is the
# central one plus 2 degrees. PROJ orders the parallels south to north, as the program does,
# so the sheet given north first has the same fixture.
IMW_LONS="2 4 6 8 10 11 12 14 16 18"
IMW_LATS="36 38 40 41 42 43 44 46 48"
case_ code14_imw "+proj=imw_p $E_BESSEL +lat_1=40 +lat_2=44 +lon_0=10 +lon_1=2" 1 \
"code 14
longp1 10
longp2 12
latp1 40
latp2 44
$BESSEL
origin 11 42" "$IMW_LONS" "$IMW_LATS"
case_ code14_imw_swapped "+proj=imw_p $E_BESSEL +lat_1=40 +lat_2=44 +lon_0=10 +lon_1=2" 1 \
"code 14
longp1 10
longp2 12
latp1 44
latp2 40
$BESSEL
origin 11 42" "$IMW_LONS" "$IMW_LATS"
case_ code14_imw_south "+proj=imw_p $E_GRS80 +lat_1=-44 +lat_2=-40 +lon_0=150 +lon_1=2" 1 \
"code 14
longp1 150
longp2 152
latp1 -44
latp2 -40
$GRS80
origin 151 -42" "142 146 148 150 151 152 154 158" "-48 -46 -44 -43 -42 -41 -40 -38 -36"
case_ code14_imw_equator "+proj=imw_p $E_GRS80 +lat_1=0 +lat_2=4 +lon_0=-60 +lon_1=2" 1 \
"code 14
longp1 -60
longp2 -58
latp1 0
latp2 4
$GRS80
origin -59 2
tolerance 1e-5" "-66 -63 -60 -58 -55" "-2 0 0.001 0.05 1 2 4 6"
case_ code14_imw_equator_south "+proj=imw_p $E_CLARKE66 +lat_1=-4 +lat_2=0 +lon_0=30 +lon_1=2" 1 \
"code 14
longp1 30
longp2 32
latp1 -4
latp2 0
$CLARKE66
origin 31 -2
tolerance 1e-5" "24 28 30 31 32 35" "-6 -4 -2 -0.05 -0.001 0 1"

# 15 Mercator, sphere.
case_ code15_merc "+proj=merc +R=1 +over" 1 \
"code 15
origin 30 -20
tolerance 1e-5" \
"-200 -180 -90 -30 0 30 90 180 200" "-89.999 -89.95 -85 -60 -30 0 30 60 85 89.9 89.999"

# 16 Mercator, ellipsoid.
case_ code16_merel "+proj=merc $E_GRS80 +over" 1 \
"code 16
$GRS80
origin 10 50
tolerance 1e-5" \
"-180 -90 -30 0 30 90 180" "-89.999 -89.95 -85 -60 -30 0 30 60 85 89.9 89.999"

# 17 gnomonic, polar: the near hemisphere.
case_ code17_gnom "+proj=gnom +lat_0=90 +lon_0=0 +R=1" 1 \
"code 17
origin 0 80" \
"-170 -90 -30 0 45 120 180" "10 25 45 70 90"

# 18 gnomonic, oblique.
case_ code18_gnom_obl "+proj=gnom +lat_0=-35 +lon_0=-60 +R=1" 1 \
"code 18
centre -60 -35
origin -55 -30" \
"-120 -90 -70 -60.01 -60 -45 -20" "-80 -60 -35 -34.98 -10 10"

# 19 Albers, one standard parallel (also the origin latitude of PROJ's form).
case_ code19_albers "+proj=aea +R=1 +lat_1=35 +lat_2=35 +lat_0=35 +lon_0=0 +over" 1 \
"code 19
latp1 35
origin 10 40" \
"-170 -90 -30 0 30 90 170" "-80 -45 0 35 60 85 90"
# Albers with a standard parallel on the equator: the cylindrical equal-area, its limit.
case_ code19_albers_equator "+proj=cea +R=1 +over" 1 \
"code 19
latp1 0
origin -10 10" \
"-170 -90 0 90 170" "-80 -30 0 30 80"

# 20 Bonne.
case_ code20_bonne "+proj=bonne +R=1 +lat_1=45 +lon_0=0 +over" 1 \
"code 20
latp1 45
origin 5 50" \
"-170 -90 -30 0 30 90 170" "-80 -45 0 30 45 60 85"
# Bonne with a standard parallel on the equator: the sinusoidal, its limit.
case_ code20_bonne_equator "+proj=sinu +R=1 +over" 1 \
"code 20
latp1 0
origin 20 -10" \
"-170 -90 0 90 170" "-80 -30 0 30 80"

# 21 Werner: Bonne with its standard parallel at the pole.
case_ code21_werner "+proj=bonne +R=1 +lat_1=90 +lon_0=0 +over" 1 \
"code 21
origin -15 30" \
"-170 -90 -30 0 30 90 170" "-80 -45 0 30 60 85"

# 22 sinusoidal.
case_ code22_sinu "+proj=sinu +R=1 +over" 1 \
"code 22
origin 40 20" \
"-200 -170 -90 -30 0 30 90 170" "-90 -60 -30 0 30 60 90"

# 23 cylindrical equal-area.
case_ code23_cea "+proj=cea +R=1 +over" 1 \
"code 23
origin -30 -40" \
"-200 -170 -90 -30 0 30 90 170" "-90 -60 -30 0 30 60 90"

# 24 Mollweide on a sphere of radius 1/sqrt(2) (the program reads its auxiliary angle from a
# 0.1-degree table: tolerance 2e-3, latitudes up to 89 degrees).
case_ code24_moll "+proj=moll +R=0.70710678118654752 +lon_0=30 +over" 1 \
"code 24
longp1 30
origin 40 10
tolerance 2e-3" \
"-150 -90 -30 0 30 60 120 210" "-89 -60 -44.5 -20 0 20 44.5 75 89"

# 25 Van der Grinten on a sphere of radius 1/pi (the program draws points less than half a
# degree from the central meridian on it: none such in the grid), with points 0.6 to 2
# degrees from the central meridian up to 0.01 degrees from the poles.
# The central meridian is given to PROJ as the program holds it, so that points on it are on
# it for PROJ too (PROJ's formula cancels a millionth of a degree off it).
L25=$(echo "-45 0" | exact | cut -d' ' -f3)
case_ code25_vandg "+proj=vandg +R=0.31830988618379067 +lon_0=$L25 +over" 1 \
"code 25
longp1 -45
origin -30 15" \
"-225 -180 -135 -90 -47 -46 -45.6 -45 -44 -30 0 45 90 135" \
"-90 -89.9 -75 -45 -20 -5 -1 -0.2 0 0.2 1 5 20 45 60 75 89 89.99 90"
