#!/usr/bin/env bash
# Whole-program page output against GMT 6 on the same 25,000 generated events, in one run:
#   beach balls: main menu 3000, run (1,250 pages, PNG per page + one PDF) through a command
#                file, against `gmt meca` drawing the same mechanisms to PDF;
#   map:         7 (Si-Sh file), 2001, run (grid, epicentres, stress symbols), against
#                `gmt coast -Dl` + `gmt plot` of the epicentres to PDF.
# Prints wall seconds, CPU seconds (user + system), peak resident memory, the PDF sizes and
# the ratios of wall and CPU time, for each of RUNS runs (default 1).
#
#   bench/compare_gmt.sh BUILD_DIR [N] [RUNS]        (all cores)
#   taskset -c 0,1 bench/compare_gmt.sh BUILD_DIR     (two cores)
#
# Each run writes into folders of its own and nothing is deleted until all runs are done: on
# a file system without a journal, ext4 passes over recently deleted inodes when it makes a
# file, so deleting one run's 1,250 pages would charge the next run's page files with
# several tenths of a second of system time that no user run pays.
#
# Needs the Debian packages gmt, gmt-gshhg-low and ghostscript (GMT's PDF goes through it) and
# g++; they are not part of the build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
n=${2:-25000}
runs=${3:-1}
work=$(mktemp -d "${TMPDIR:-/tmp}/korbast-gmt.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

g++ -O2 -std=c++20 -I"$here/tests/tools" "$here/tests/tools/gen_catalogue.cpp" -o gen_catalogue
./gen_catalogue "$n" ndk > events.ndk
pages=$(( (n + 19) / 20 ))

# GMT inputs from the same catalogue: lon lat depth strike dip rake magnitude (meca -Sa),
# lon lat (plot).
awk 'NR % 5 == 1 { lat = $4; lon = $5; dep = $6; mag = $7 }
     NR % 5 == 0 { print lon, lat, dep, $(NF-5), $(NF-4), $(NF-3), mag }' events.ndk > meca.txt
awk '{ print $1, $2 }' meca.txt > epi.txt

timed() {  # label, command...: prints "label wall_seconds peak_MB cpu_seconds"
  local label=$1; shift
  /usr/bin/time -f "%e %M %U %S" -o time.txt "$@" > /dev/null 2> stderr.txt || true
  read -r secs kb user sys < <(tail -1 time.txt)
  echo "$label $secs $((kb / 1024)) $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
}

# Beach balls through a command file: one "0" (clear and add a page) per page break.
{ printf '1000\n1001\nevents.ndk\n3000\n1000\ny\nBeach balls\n'
  for ((i = 1; i < pages; ++i)); do echo 0; done
  printf '\n99\n9999\n'; } > bb_cmds.txt
printf '\n5000\n5001\nbb_cmds.txt\n\n\n\n' > bb.in
printf '1000\n1001\nevents.ndk\n7\ny\n2001\nsish.txt\n1000\ny\nSeismicity map\n99\n99\n99\n9999\n' > map_cmds.txt
printf '\n5000\n5001\nmap_cmds.txt\n\n\n\n' > map.in

for ((run = 1; run <= runs; ++run)); do
  [ "$runs" -gt 1 ] && echo "run $run"
  mkdir -p "run$run"/{bb,meca,map,coast}
  for f in events.ndk bb_cmds.txt bb.in; do ln -s "$work/$f" "run$run/bb/$f"; done
  for f in events.ndk map_cmds.txt map.in; do ln -s "$work/$f" "run$run/map/$f"; done
  cd "$work/run$run/bb"
  r1=$(timed korbast_beachballs bash -c "'$build/korbast' < bb.in")
  written=$(grep -c ' written to ' stderr.txt || true)
  cd "$work/run$run/meca"
  r2=$(timed gmt_meca gmt meca "$work/meca.txt" -R-180/180/-90/90 -JQ0/25c -Sa0.3c -Gred -B -pdf gmt_meca)
  cd "$work/run$run/map"
  r3=$(timed korbast_map bash -c "'$build/korbast' < map.in")
  cd "$work/run$run/coast"
  r4=$(timed gmt_coast_plot bash -c "gmt pscoast -Dl -R-180/180/-90/90 -JQ0/25c -W0.25p -Ba -K > gmt_map.ps && gmt psxy '$work/epi.txt' -R -J -Sc0.05c -Gred -O >> gmt_map.ps && gmt psconvert -Tf gmt_map.ps")
  cd "$work/run$run"

  ls -l bb/fps_bb_w1.pdf meca/gmt_meca.pdf map/seis.map_w1.pdf coast/gmt_map.pdf |
    awk '{ n = split($NF, p, "/"); printf "file %-18s %9.2f MB\n", p[n], $5 / 1e6 }'
  printf '%s\n%s\n%s\n%s\n' "$r1" "$r2" "$r3" "$r4" | awk -v pages="$written" '
    { t[$1] = $2; m[$1] = $3; c[$1] = $4
      printf "%-18s %7.2f s wall %7.2f s cpu %6d MB\n", $1, $2, $4, $3 }
    END {
      printf "beach-ball pages announced: %d\n", pages
      printf "ratio beach balls / gmt meca:   wall %.2f  cpu %.2f\n",
             t["korbast_beachballs"] / t["gmt_meca"], c["korbast_beachballs"] / c["gmt_meca"]
      printf "ratio map / gmt coast + plot:   wall %.2f  cpu %.2f\n",
             t["korbast_map"] / t["gmt_coast_plot"], c["korbast_map"] / c["gmt_coast_plot"]
    }'
  cd "$work"
done
