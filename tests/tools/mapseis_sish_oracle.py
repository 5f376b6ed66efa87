#!/usr/bin/env python3
"""Independent oracle for the Si-Sh file of a map run.

Reads an ndk catalogue and writes, for nodal plane 1 or 2, the Si-Sh header line and one
record per event, computed in double precision from the plane's strike, dip and rake with the
Aki & Richards (1980, eq. 4.88) fault normal n and slip vector d (x North, y East, z Down):

  n = (-sin(dip) sin(strike),  sin(dip) cos(strike), -cos(dip))
  d = ( cos(rake) cos(strike) + sin(rake) cos(dip) sin(strike),
        cos(rake) sin(strike) - sin(rake) cos(dip) cos(strike),
       -sin(rake) sin(dip))

The program reports its axes with the normal that points into the footwall (-n), so its
S1 = P = (d - n)/sqrt(2), S3 = T = -(n + d)/sqrt(2) and S2 = B = d x n; an axis is given as
its azimuth atan2(E, N) in (-180, 180] and its signed plunge asin(D).

Sv is the axis with the largest absolute plunge (lowest number on a tie), the most horizontal
one (smallest absolute plunge, lowest number on a tie) decides SHmax: along P when P is the most
horizontal, along B when B is and P is the vertical one, else perpendicular to the most
horizontal axis (B + 90 or T + 90); the result is reduced modulo 180.

Ties: plunges within 1e-9 degrees of one another are equal (a tie keeps the lower axis
number); the SHmax field is written in [0, 180), 0.0 where it would round to 180.0.

Usage: mapseis_sish_oracle.py CATALOGUE.ndk [PLANE] > expected-sish.txt
       mapseis_sish_oracle.py --degenerate > tests/data/maps/stress_ties.txt
"""
import math
import sys


def fortran_f(v, w, d):
    """Fw.d of the old formatted output: a trailing point when d = 0, asterisks on overflow."""
    s = ("%#*.*f" if d == 0 else "%*.*f") % (w, d, v)
    if len(s) > w:
        if s.startswith("0.") or s.startswith("-0."):
            s = s.replace("0.", ".", 1)
        if len(s) > w:
            return "*" * w
    return s.rjust(w)


def words(fields):
    """A header: each word right-justified in its width or cut to it, one blank before."""
    return "".join(" " + (word[:w] if len(word) >= w else word.rjust(w)) for word, w in fields)


def axis(v):
    n, e, dn = v
    az = math.degrees(math.atan2(e, n))
    if az == -180.0:
        az = 180.0
    return az, math.degrees(math.asin(max(-1.0, min(1.0, dn))))


def axes(strike, dip, rake):
    s, d, r = (math.radians(a) for a in (strike, dip, rake))
    nrm = (-math.sin(d) * math.sin(s), math.sin(d) * math.cos(s), -math.cos(d))
    slip = (math.cos(r) * math.cos(s) + math.sin(r) * math.cos(d) * math.sin(s),
            math.cos(r) * math.sin(s) - math.sin(r) * math.cos(d) * math.cos(s),
            -math.sin(r) * math.sin(d))
    q = 1.0 / math.sqrt(2.0)
    p = tuple((slip[i] - nrm[i]) * q for i in range(3))
    t = tuple(-(nrm[i] + slip[i]) * q for i in range(3))
    b = (slip[1] * nrm[2] - slip[2] * nrm[1],
         slip[2] * nrm[0] - slip[0] * nrm[2],
         slip[0] * nrm[1] - slip[1] * nrm[0])
    return [axis(p), axis(b), axis(t)]


# Plunges (degrees) closer than this are equal: in double precision the plunges of a
# degenerate plane that are equal in exact arithmetic differ by a few units of the last bit.
TIE = 1e-9


def shmax(ax):
    plunges = [abs(pl) for _, pl in ax]
    # Scans in axis order; a later axis replaces the kept one only when it is steeper
    # (flatter) by more than TIE, so a tie keeps the lower axis number.
    isv, ish, vmax, vmin = 0, 0, 0.0, 1000.0
    for k in range(3):
        if plunges[k] > vmax + (0.0 if isv == 0 else TIE):
            isv, vmax = k + 1, plunges[k]
        if plunges[k] < vmin - TIE:
            ish, vmin = k + 1, plunges[k]
    az = [a for a, _ in ax]
    if ish == 1:
        sh = az[0]
    elif ish == 2 and isv == 1:
        sh = az[1]
    elif ish == 2:
        sh = az[1] + 90.0
    else:
        sh = az[2] + 90.0
    return isv, math.fmod(sh % 360.0, 180.0)


def shmax_text(sh):
    """The SHmax field: in [0, 180) as written, so a value that rounds to 180.0 is 0.0."""
    f = fortran_f(sh, 6, 1)
    return fortran_f(0.0, 6, 1) if f == " 180.0" else f


def near_ties(ax):
    """Pairs of absolute plunges that differ, but by less than 1e-3 degrees: the program's
    tolerance (1e-5 rad, 5.7e-4 degrees) could decide otherwise than the exact rule."""
    p = [abs(pl) for _, pl in ax]
    return [(i, j) for i in range(3) for j in range(i + 1, 3) if TIE < abs(p[i] - p[j]) < 1e-3]


def degenerate_planes():
    """Sv and SHmax of planes whose axes tie: dips 0, 45, 90 (and 30, 60), rakes 0, +-90,
    +-180 (and +-45), strikes 0 and 360 and others; one line "strike dip rake Sv AzSHmx"."""
    print("# strike dip rake Sv AzSHmx: mapseis_sish_oracle.py --degenerate")
    for st in (0, 30, 45, 90, 135, 200, 210, 315, 360):
        for dp in (0, 30, 45, 60, 90):
            for rk in (-180, -90, -45, 0, 45, 90, 180):
                ax = axes(st, dp, rk)
                isv, sh = shmax(ax)
                if near_ties(ax):
                    print("warning: near tie at %d %d %d" % (st, dp, rk), file=sys.stderr)
                print("%d %d %d %d %s" % (st, dp, rk, isv, shmax_text(sh).strip()))


def events(path, plane):
    lines = open(path).read().splitlines()
    for k in range(0, len(lines) - 4, 5):
        hypo, last = lines[k], lines[k + 4]
        date, time = hypo[5:15], hypo[16:26]
        lat, lon, depth = float(hypo[27:33]), float(hypo[34:41]), float(hypo[42:47])
        sdr = [float(x) for x in last.split()[-6:]]
        yield date, time, lat, lon, depth, sdr[3 * (plane - 1):3 * plane]


def main():
    if sys.argv[1:] == ["--degenerate"]:
        degenerate_planes()
        return
    path = sys.argv[1]
    plane = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    print(words([("Date", 10), ("Time", 10), ("Latitude", 6), ("Longitude", 7), ("Depth", 5),
                 ("Strike", 5), ("Dip", 4), ("Rake", 5), ("S1_azi", 6), ("S1_plg", 5),
                 ("S2_azi", 6), ("S2_plg", 5), ("S3_azi", 6), ("S3_plg", 5), ("Sv", 2),
                 ("AzSHmx", 6)]))
    for date, time, lat, lon, depth, (st, dp, rk) in events(path, plane):
        ax = axes(st, dp, rk)
        isv, sh = shmax(ax)
        line = " %s %s %s %s %s %s %s %s" % (date, time, fortran_f(lat, 6, 2),
                                             fortran_f(lon, 7, 2), fortran_f(depth, 5, 1),
                                             fortran_f(st, 5, 0), fortran_f(dp, 4, 0),
                                             fortran_f(rk, 5, 0))
        for az, pl in ax:
            line += " " + fortran_f(az, 6, 1) + " " + fortran_f(pl, 5, 1)
        line += " %1d  %s" % (isv, shmax_text(sh))
        print(line)
        # Values this close to a rounding boundary could print otherwise in single precision.
        for v in [a for pair in ax for a in pair] + [sh]:
            frac = abs(v * 10) % 1.0
            if abs(frac - 0.5) < 1e-3:
                print("warning: %r lies near a rounding boundary" % v, file=sys.stderr)


if __name__ == "__main__":
    main()
