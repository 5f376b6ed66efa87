#!/usr/bin/env bash
# Writes the reference tables of the fixed-column and free-format kernel with gfortran:
#
#   tests/tools/gen_fortran_tables.sh [output folder, default tests/data/fortran]
#
# The program is fortran_tables.f90 next to this script; the hand-picked inputs are below.
# The tables are committed, so building and testing never need gfortran.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../data/fortran}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gfortran -O0 -ffree-line-length-none -o "$work/fortran_tables" "$here/fortran_tables.f90"

# Fixed-column fields read alone: "descriptor|field|" (the field is the w columns).
cat > "$work/field_cases.txt" <<'EOF'
# integers: blanks ignored, all blank = 0, a lone sign or a point is an error, 32-bit range
I5|     |
I5|  -  |
I5|  +  |
I5| 1 2 |
I6|  12.0|
I4|+123|
I4|-0  |
I4|  -7|
I4|-  7|
I3|1-2|
I3|--1|
I3|1 +|
I2|a1|
I5|12e3 |
I12|2147483647|
I12|2147483648|
I12|-2147483648|
I12|-2147483649|
I12|000000000012|
I12|99999999999 |
I12|  -000000001|
# reals: implied decimals (also with an exponent), exponent forms, lone sign and point
F6.2|  1234|
F6.2| 1 2 3|
F6.2|  1e-2|
F6.2|1.5+2 |
F6.2|      |
F6.2|  -   |
F6.2|  +   |
F6.2|   .  |
F6.2|  -.  |
F6.2|  -.5 |
F6.2|1.5E  |
F6.2|1+    |
F6.2|1-    |
F6.2|1.2.3 |
F6.2|1d2   |
F6.2|1D2   |
F6.2|1E2   |
F6.2|1.e2  |
F6.2|-0    |
F6.2|1 e 2 |
F6.2|1e+   |
F6.2|e     |
F6.2|0x1A  |
F6.2|1.5 -2|
F6.2|+1.5D1|
F6.2|1.5d-1|
F6.2|12345.|
F6.2|.00001|
F6.2|1E-45 |
F6.2|  1.5 |
F6.2|1.5   |
F6.2|   1.5|
F6.2|-1234 |
F6.2|12 34 |
F6.2|1.5e2.|
F6.2|1.5e-+|
F6.2|.5e+1 |
F6.2|-.5d-1|
F6.2|12a   |
F6.2|nan   |
F6.2|inf   |
F2.1|37|
F2.1|05|
F2.1|7 |
F2.1| 7|
F2.1|-5|
F2.1|  |
F2.1|.5|
F3.0|-0.|
F3.0|-0 |
F3.0| 45|
F4.0|45.9|
F4.0| -12|
F4.0|-180|
F5.0| 360.|
F7.3|  3.4E3|
F8.3|1.5E+003|
F8.3| 3.4E38 |
F8.3| 3.5E38 |
F8.3|-1.0E-38|
F8.3|1.0E-45 |
F10.4|1234567890|
F10.4|3.40282E38|
F10.4|1.17549E-38|
F5.2|-1e-2|
F5.2|1+2  |
F5.2|1 + 2|
F5.2|+1-2 |
EOF

# Free-format records: "> items" (i integer, f real, a text of 8; ";" a second read on the
# same file), the file's lines, "@@".
cat > "$work/list_cases.txt" <<'EOF'
> iii
1 2 3
@@
> iii
1,2,3
@@
> iii
1 , 2 ,3
@@
> iii
  1   2
3
@@
> iii
1,2,
77 88 99
@@
> iii
1

2
3
@@
> iii
1 2 /
77 88 99
@@
> iii
1/2 3
@@
> iii
/
@@
> iii
,5
77 88 99
@@
> iii
1,,3
@@
> iii
1 ,, 3
@@
> iii
1,
,3
@@
> iii
,,,
@@
> iii
2*7
77 88 99
@@
> iii
3*7
@@
> iii
2*,9
@@
> iii
2* 9
@@
> iii
1 2*
@@
> iii
0*4 3
@@
> iii
1.5 2 3
@@
> iii
1e3 2 3
@@
> iii
+1 -2 +0
@@
> iii
-2147483648 2147483647 0
@@
> iii
2147483648 1 1
@@
> iii
1 2
@@
> iii
@@
> iii
a b c
@@
> iii
'1' 2 3
@@
> iii
12abc 1 2
@@
> ii;i
1 2 3
4 5
@@
> i;i;i
1 2
3

4
@@
> iiii
1,2,3,4,5
@@
> iiii
1	2	3	4
@@
> ff
1.5 2.5
@@
> ff
1.5,-2.5e-1
@@
> ff
1+5 2.5d1
@@
> ff
5. .5
@@
> ff
-6.3E2 65.3
@@
> ff
1.5D-3 7
@@
> ff
- 1
@@
> ff
. 1
@@
> ff
1.5e 1
@@
> ff
3.4028235e38 1.17549435e-38
@@
> ff
0.1 0.2
@@
> ff
2*0.5
@@
> ff
1,
@@
> fff
1.5,,3
@@
> fff
,,3.5
@@
> fff
1 2 /
@@
> fff
3*0.5
@@
> ffff
1 2 3 4 5 6 7
@@
> ffff
1.0
2.0


3.0 4.0
@@
> ffff
65.3           5         6.3
@@
> ffff
1e5 1E5 1d5 1D5
@@
> ffff
1.2.3 4 5 6
@@
> ffff
0x10 1 2 3
@@
> ffff
1.5a 1 2 3
@@
> f
'1.5'
@@
> a
abc
@@
> a
'abc def'
@@
> a
"abc def"
@@
> a
'it''s'
@@
> a
"say ""hi"""
@@
> a
'ab'x y
@@
> a
abcdefghijkl
@@
> a
'abcdefghijkl'
@@
> a
a/b c
@@
> aa
ab,  "q r"
@@
> aa
'a,b' 'c/d'
@@
> aa
'Title of the data set'
@@
> aaa
'header1'   'header2'   'header3'
@@
> aaa
2*'x y' z
@@
> aa
it's ok
@@
> aa
,x
@@
> aa
'' x
@@
> aa
'open
quote' x
@@
> iifa
1 2 3.5 name
@@
> iifa
1,2,,name
@@
> ifffa
2
0 100. 100. 100. White-bkg
1 0. 0. 0. Black
@@
> i;ifffa;ifffa
2
0 100. 100. 100. White-bkg
1 0. 0. 0. Black
@@
> ifffa
0 100. 100. 100. 'White bkg'
@@
> iiif
3 1 1 0.5
@@
> iiif
4 1 1
0.25
@@
EOF

# One value from a 20-character buffer: "i|text|" or "f|text|".
cat > "$work/list_text_cases.txt" <<'EOF'
i|12|
i|12 34|
i|12,34|
i|12/34|
i|  7|
i|+7|
i|-7|
i|-0|
i|,5|
i|/5|
i|, 5|
i|abc|
i|12abc|
i|1.5|
i|1e3|
i|'5'|
i|2*7|
i|3*|
i|0*7|
i|2147483647|
i|-2147483648|
i|2147483648|
i|-2147483649|
i|99999999999999999999|
i|00000000000000000012|
i|+|
i|-|
i|5000|
i|9999|
i||
i|    |
f|2.5|
f|-3|
f|1e3|
f|1E3|
f|1d3|
f|1.5+2|
f|1.5-2|
f|.5|
f|5.|
f|-.5e-1|
f|0.3|
f|0.1|
f|3.4028235e38|
f|3.5e38|
f|nan|
f|inf|
f|abc|
f|1.5.2|
f|1e|
f|.|
f|-|
f|,|
f|/|
f|2*2.5|
f|'2.5'|
f|1.5,2.5|
f|12.5 xyz|
f||
f|0.02|
f|1000|
f|-180.|
f|45.|
EOF

(cd "$work" && ./fortran_tables)
for t in format_int format_f format_e format_g format_double format_la read_fields read_list \
         read_list_text; do
  cp "$work/$t.txt" "$out/$t.txt"
done
ls -l "$out"
