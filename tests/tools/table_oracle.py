#!/usr/bin/env python3
"""Independent oracle for the catalogue tables.

Reads an ndk or dek catalogue with its own column slicing (the published layouts), computes
the three derived quality values in double precision, and writes the table the program must
produce for it (tab-separated, texts between single quotes, fixed-width numbers). Then reads
the result back with Python's csv module (delimiter tab, quote ') and checks the column
count of every event line.

    python3 tests/tools/table_oracle.py ndk NAME < catalogue > expected-table

NAME is the output file name the table's first line carries (padded to 40 characters).
The committed fixtures tests/data/catalogue/*.table were made with this script.
"""
import csv
import io
import math
import sys


def fnum(text, d):
    """A fixed-column real: blanks ignored, implied decimals without a point."""
    t = text.replace(" ", "")
    if not t:
        return 0.0
    if "." in t or d == 0:
        return float(t)
    return float(t) / 10 ** d


def inum(text):
    t = text.replace(" ", "")
    return int(t) if t else 0


def F(v, w, d):
    s = "%.*f" % (d, v)
    if d == 0:
        s += "."
    if len(s) > w and (s.startswith("0.") or s.startswith("-0.")):
        s = s.replace("0.", ".", 1)
    return "*" * w if len(s) > w else s.rjust(w)


def I(v, w):
    s = str(v)
    return "*" * w if len(s) > w else s.rjust(w)


def Q(text, w):
    return "'" + text[:w].ljust(w) + "'"


def derived(t, b, p, m, e):
    big = max(abs(t), abs(p))
    fclvd = 10.0 if big <= 0 else -b / big
    n = sum(x * x for x in m[:3]) + sum(2 * x * x for x in m[3:])
    dd = sum(x * x for x in e[:3]) + sum(2 * x * x for x in e[3:])
    erel = 10.0 if n <= 0 else math.sqrt(dd / n)
    nfree = sum(1 for x in e if x >= 0.001)
    return [F(fclvd, 5, 2), F(erel, 5, 2), I(nfree, 1)]


def col(line, a, b):
    """Columns a to b (1-based, inclusive) of a line padded with blanks."""
    return line.ljust(b)[a - 1:b]


def ndk_event(l):
    v = [Q(col(l[0], 1, 4), 4), Q(col(l[0], 6, 15), 10), Q(col(l[0], 17, 26), 10),
         F(fnum(col(l[0], 27, 33), 2), 7, 2), F(fnum(col(l[0], 34, 41), 2), 8, 2),
         F(fnum(col(l[0], 42, 47), 1), 6, 1), F(fnum(col(l[0], 48, 51), 1), 4, 1),
         F(fnum(col(l[0], 52, 55), 1), 4, 1), Q(col(l[0], 57, 80), 24),
         Q(col(l[1], 1, 16), 16)]
    for start in (18, 33, 48):
        v += [Q(col(l[1], start, start + 1), 2), I(inum(col(l[1], start + 2, start + 4)), 3),
              I(inum(col(l[1], start + 5, start + 9)), 5), I(inum(col(l[1], start + 10, start + 13)), 4)]
    v += [Q(col(l[1], 63, 66), 4), I(inum(col(l[1], 67, 68)), 2), Q(col(l[1], 70, 75), 6),
          F(fnum(col(l[1], 76, 80), 1), 5, 1)]
    c = l[2]
    v += [Q(col(c, 1, 9), 9), F(fnum(col(c, 10, 18), 1), 9, 1), F(fnum(col(c, 19, 22), 1), 4, 1),
          F(fnum(col(c, 23, 29), 2), 7, 2), F(fnum(col(c, 30, 34), 2), 5, 2),
          F(fnum(col(c, 35, 42), 2), 8, 2), F(fnum(col(c, 43, 47), 2), 5, 2),
          F(fnum(col(c, 48, 53), 1), 6, 1), F(fnum(col(c, 54, 58), 1), 5, 1),
          Q(col(c, 60, 63), 4), Q(col(c, 65, 80), 16)]
    t = l[3]
    v.append(I(inum(col(t, 1, 2)), 2))
    m, e = [], []
    for j in range(6):
        a = 3 + 13 * j
        m.append(fnum(col(t, a, a + 6), 3))
        e.append(fnum(col(t, a + 7, a + 12), 3))
        v += [F(m[-1], 7, 3), F(e[-1], 6, 3)]
    x = l[4]
    v.append(Q(col(x, 1, 3), 3))
    eig = []
    for k in range(3):
        a = 4 + 15 * k
        eig.append(fnum(col(x, a, a + 7), 3))
        v += [F(eig[-1], 8, 3), F(fnum(col(x, a + 8, a + 10), 0), 3, 0),
              F(fnum(col(x, a + 11, a + 14), 0), 4, 0)]
    v.append(F(fnum(col(x, 49, 56), 3), 8, 3))
    for a in (57, 69):
        v += [F(fnum(col(x, a, a + 3), 0), 4, 0), F(fnum(col(x, a + 4, a + 6), 0), 3, 0),
              F(fnum(col(x, a + 7, a + 11), 0), 5, 0)]
    return v + derived(eig[0], eig[1], eig[2], m, e)


NDK_NAMES = ("hyporef date time latitude longitude depth mb Ms region cmt_id body #stat #rec "
             "cutoff surf #stat #rec cutoff mantl #stat #rec cutoff inv inv_type mt_type mt_dur "
             "centroid cdt Dcdt clat Dclat clong Dclong cdepth Dcdepth deptype stamp exp Mrr DMrr "
             "Mss DMss Mee DMee Mrs DMrs Mre DMre Mse DMse vers m1 v1plge v1azi m2 v2plge v2azi m3 "
             "v3plge v3azi M0 strike1 dip1 rake1 strike2 dip2 rake2 Fclvd Erel Nfree").split()


def main():
    fmt, name = sys.argv[1], sys.argv[2]
    if fmt != "ndk":
        sys.exit("only ndk tables are made here")
    lines = sys.stdin.read().split("\n")
    out = [" '" + name.ljust(40)[:40] + "'",
           " " + "\t".join("'" + n + "'" for n in NDK_NAMES)]
    for r in range(0, len(lines) - 4, 5):
        out.append(" " + "\t".join(ndk_event(lines[r:r + 5])))
    text = "\n".join(out) + "\n"
    rows = list(csv.reader(io.StringIO(text), delimiter="\t", quotechar="'"))
    assert len(rows[1]) == 70, len(rows[1])
    for row in rows[2:]:
        assert len(row) == 70, len(row)
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
