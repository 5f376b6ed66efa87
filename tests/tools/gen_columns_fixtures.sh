#!/usr/bin/env bash
# Writes the column-data reference reads with gfortran:
#
#   tests/tools/gen_columns_fixtures.sh [output folder, default tests/data/columns]
#
# The case files are written below (printf keeps tabs, carriage returns and missing line
# ends exact) into <output>/oracle/, the manifest into <output>/oracle/cases.txt, and what
# columns_oracle.f90 read from them into <output>/columns_oracle.txt. Everything is
# committed, so building and testing never need gfortran.
#
# Left out on purpose, where the program keeps its own rule (the tests check those by hand):
#   - NaN, Inf and values beyond the single-precision range in data records: gfortran reads
#     them, the program reports a read error;
#   - a quoted text left open at the end of the file: gfortran ends it there, the program
#     reports the end of the file;
#   - title and name line 0: the program does not read the file at all.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../data/columns}
mkdir -p "$out/oracle"
out=$(cd "$out" && pwd)
cases="$out/oracle"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gfortran -O0 -ffree-line-length-none -o "$work/columns_oracle" "$here/columns_oracle.f90"

rm -f "$cases"/*.dat "$cases/cases.txt"
# case NAME NFCOL ISKIP ITITLE IHEADER LDIM CONTENT (a printf format)
case_file() {
  local name=$1 nfcol=$2 iskip=$3 ititle=$4 iheader=$5 ldim=$6 content=$7
  printf "$content" > "$cases/$name.dat"
  echo "$name.dat $nfcol $iskip $ititle $iheader $ldim" >> "$cases/cases.txt"
}

# The layout of the help text, and the point layer's.
case_file help_example 3 2 1 2 1000 "  'Title of the data set'\n  'header1'   'header2'   'header3'\n      65.3           5         6.3\n"
case_file points 2 2 1 2 1000 "'Stations of the net'\n'lon' 'lat'\n  10.5  45.25\n  11.0  46.0\n -12.75  -3.5\n 179.9 -89.9\n 0 0\n"
# Titles: blank title line, unquoted words, quoted with separators, doubled quote, too long.
case_file title_blank_line 2 3 1 3 1000 "\n  h1 h2\n'x' 'y'\n1 2\n"
case_file title_unquoted 2 2 1 2 1000 "N/S profile of the coast\n a b\n1 2\n"
case_file title_quoted_separators 2 2 1 2 1000 "\"N/S, profile\" 3\nx,y\n1,2\n"
case_file title_doubled_quote 1 2 1 2 1000 "'it''s the title'\n'v'\n7\n"
case_file title_too_long 1 2 1 2 1000 "'A title of more than fifty characters, which is cut on the right'\nv\n1\n"
case_file title_quote_runs_on 1 3 1 3 1000 "'first part\nsecond part' rest\nname\n5\n"
case_file title_second_line 2 3 2 3 1000 "skipped line\n'The title' 'more'\n'c1' 'c2'\n1 2\n"
case_file title_bad_quote 1 2 1 2 1000 "'ab'x\nv\n1\n"
case_file title_leading_comma 1 2 1 2 1000 ",'not this'\nv\n1\n"
# Names: short line runs on into the data, long names cut, commas, unquoted, repeat.
case_file names_short_line 3 2 1 2 1000 "'T'\n'a' 'b'\n65.3 5 6.3\n1 2 3\n"
case_file names_cut 2 2 1 2 1000 "'T'\n'longitude_east' 'latitude_north'\n1 2\n"
case_file names_commas 3 2 1 2 1000 "'T'\nlon,lat , depth\n1,2,3\n"
case_file names_repeat 3 2 1 2 1000 "'T'\n2*'same' other\n1 2 3\n"
case_file names_fewer_than_file 2 2 1 2 1000 "'T'\n'a' 'b' 'c' 'd'\n1 2 3 4\n"
case_file names_on_line_one 2 2 2 1 1000 "'lon' 'lat'\n'The title'\n1 2\n"
case_file names_bad_quote 2 2 1 2 1000 "'T'\n'a'b 'c'\n1 2\n"
case_file names_run_out 3 2 1 2 1000 "'T'\n'a'\n"
case_file names_line_beyond_end 2 3 1 3 1000 "'T'\n"
case_file title_line_beyond_end 1 3 3 1 1000 "'v'\n1\n"
# Records: separators, continuation, blank lines, extra values, CR line ends, tabs.
case_file sep_blanks_tabs_commas 3 1 1 1 1000 "'T'\n1 2 3\n4\t5\t6\n7,8,9\n10 , 11 ,12\n \t 13\t,14,  15\n"
case_file continuation 2 2 1 2 1000 "'T'\n'a' 'b'\n1\n2\n3 4\n5\n\n6\n"
case_file blank_lines_between 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n\n\n3 4\n   \n\t\n5 6\n"
case_file extra_values_ignored 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2 abc\n3 4 5 6 7\n8 9 'q'\n"
case_file crlf_line_ends 2 2 1 2 1000 "'T'\r\n'a' 'b'\r\n1 2\r\n3 4\r\n"
case_file no_final_line_end 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n3 4"
case_file number_forms 6 1 1 1 1000 "'T'\n5. .5 +5 -6.3E2 1.0d2 1e3\n-0 0.1 1D-2 2.5e+1 -.25 7\n"
case_file spaces_before_values 2 0 1 1 1000 "      65.3           5\n   -1   -2\n"
# Nulls, slashes and repeat counts: values not given keep the previous record's.
case_file slash_keeps_previous 3 2 1 2 1000 "'T'\n'a' 'b' 'c'\n1 2 3\n4 /\n/\n7 8 9\n"
case_file slash_in_first_record 3 2 1 2 1000 "'T'\n'a' 'b' 'c'\n1 /\n4 5 6\n"
case_file nulls_keep_previous 3 2 1 2 1000 "'T'\n'a' 'b' 'c'\n1,2,3\n4,,6\n,,\n,8\n"
case_file repeat_counts 3 2 1 2 1000 "'T'\n'a' 'b' 'c'\n3*0.5\n2*1 2\n1 2*\n3*\n"
case_file leading_comma_null 2 2 1 2 1000 "'T'\n'a' 'b'\n,5\n6 7\n"
# End of the data: a partial last record is not stored.
case_file partial_last_record 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n3\n"
case_file empty_data 2 2 1 2 1000 "'T'\n'a' 'b'\n"
case_file iskip_beyond_end 2 5 1 2 1000 "'T'\n'a' 'b'\n1 2\n"
case_file empty_file 2 2 1 2 1000 ""
case_file trailing_blank_lines 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n\n  \n"
# Read errors.
case_file error_word 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n3 4\n5 x\n7 8\n"
case_file error_two_points 2 2 1 2 1000 "'T'\n'a' 'b'\n1.5.2 3\n"
case_file error_quoted_number 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n'3' 4\n"
case_file error_sign_only 2 2 1 2 1000 "'T'\n'a' 'b'\n1 2\n- 4\n"
case_file error_on_later_line 2 2 1 2 1000 "'T'\n'a' 'b'\n1\nabc\n"
# Capacity: exactly ldim records, more than ldim, ldim 0.
case_file ldim_exact 1 1 1 1 3 "'T'\n1\n2\n3\n"
case_file ldim_more 1 1 1 1 3 "'T'\n1\n2\n3\n4\n5\n"
case_file ldim_zero 1 1 1 1 0 "'T'\n1\n"
# No value wanted: every line after the header is a record.
case_file nfcol_zero 0 1 1 1 1000 "'T'\n1 2\n\nx y\n3\n"
# Header layouts.
case_file no_header_lines 2 0 1 1 1000 "1 2\n3 4\n"
case_file many_columns 12 2 1 2 1000 "'T'\n'c1' 'c2' 'c3' 'c4' 'c5' 'c6' 'c7' 'c8' 'c9' 'c10' 'c11' 'c12'\n1 2 3 4 5 6 7 8 9 10 11 12\n12 11 10 9 8 7 6 5 4 3\n2 1\n"

(cd "$cases" && "$work/columns_oracle" && mv columns_oracle.txt "$out/columns_oracle.txt")
ls -l "$out/columns_oracle.txt"; ls "$cases" | wc -l
