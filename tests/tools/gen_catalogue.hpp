// Synthetic centroid-moment-tensor catalogues in the dek and ndk text formats, of any size.
//
// Every event is made consistent the way a real solution is: a nodal plane (strike, dip,
// rake) is drawn, the auxiliary plane, the T, B and P axes (plunge, azimuth) follow from it,
// the eigenvalues are a double couple with a small CLVD part (trace zero), and the six tensor
// components (Mrr, Mtt, Mpp, Mrt, Mrp, Mtp) are sum(lambda_i v_i v_i^T) in the r (up),
// t (south), p (east) frame; all moment values are mantissas of one power-of-ten exponent.
// The columns are written with printf conversions of their own, independent of the program.
//
// Header-only so that the benchmark and the tests can make files without a build step of
// their own; gen_catalogue.cpp wraps it as a command-line tool.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

namespace gen_catalogue {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  std::uint64_t next() {  // splitmix64
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform(double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
  }
  int integer(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }

 private:
  std::uint64_t s_;
};

struct Event {
  int year, month, day, hour, minute;
  double second;
  double lat, lon, depth, mb, ms;
  std::string region;
  double cdt, clat, clon, cdepth, hdur;
  int exponent;
  double m[6], me[6];  // Mrr, Mtt, Mpp, Mrt, Mrp, Mtp and errors (mantissas)
  double eig[3];       // T, B, P
  int pl[3], az[3];    // plunges and azimuths of T, B, P
  double m0;
  int strike[2], dip[2], rake[2];
  int bst, brec, sst, srec, mst, mrec;
};

constexpr double pi = 3.14159265358979323846;
inline double rad(double d) { return d * pi / 180.0; }
inline double deg(double r) { return r * 180.0 / pi; }

// Plunge and azimuth (degrees) of an axis given in north, east, down components.
inline void plunge_azimuth(double n, double e, double d, int& plunge, int& azimuth) {
  if (d < 0) { n = -n; e = -e; d = -d; }
  double p = deg(std::asin(std::fmin(1.0, d)));
  double a = deg(std::atan2(e, n));
  if (a < 0) a += 360.0;
  plunge = static_cast<int>(std::lround(p));
  azimuth = static_cast<int>(std::lround(a)) % 360;
}

// Strike, dip, rake of the plane with normal n and slip d (north, east, down).
inline void plane_of(double nN, double nE, double nD, double dN, double dE, double dD, int& s,
                     int& di, int& r) {
  if (nD > 0) { nN = -nN; nE = -nE; nD = -nD; dN = -dN; dE = -dE; dD = -dD; }
  double dipv = std::acos(std::fmin(1.0, -nD));
  double strike = std::atan2(-nN, nE);
  double sinr = -dD / std::sin(dipv);
  double cosr = dN * std::cos(strike) + dE * std::sin(strike);
  double sd = deg(strike);
  if (sd < 0) sd += 360.0;
  s = static_cast<int>(std::lround(sd)) % 360;
  di = static_cast<int>(std::lround(deg(dipv)));
  r = static_cast<int>(std::lround(deg(std::atan2(sinr, cosr))));
}

inline Event make_event(Rng& rng, int index) {
  static const char* regions[] = {"EL SALVADOR", "NICOBAR ISLANDS, INDIA R", "NEAR COAST OF NORTHERN C",
                                  "SOUTHERN GREECE", "KURIL ISLANDS", "FIJI ISLANDS REGION",
                                  "CENTRAL ITALY", "OFF EAST COAST OF HONSHU"};
  Event ev{};
  ev.year = 1977 + index % 30;
  ev.month = rng.integer(1, 12);
  ev.day = rng.integer(1, 28);
  ev.hour = rng.integer(0, 23);
  ev.minute = rng.integer(0, 59);
  ev.second = rng.integer(0, 599) / 10.0;
  ev.lat = rng.integer(-8900, 8900) / 100.0;
  ev.lon = rng.integer(-17999, 17999) / 100.0;
  ev.depth = rng.integer(0, 6999) / 10.0;
  ev.mb = rng.integer(40, 69) / 10.0;
  ev.ms = rng.integer(0, 79) / 10.0;
  ev.region = regions[rng.integer(0, 7)];
  ev.cdt = rng.integer(-99, 99) / 10.0;
  ev.clat = ev.lat + rng.integer(-50, 50) / 100.0;
  ev.clon = ev.lon + rng.integer(-50, 50) / 100.0;
  if (ev.clat > 89.99) ev.clat = 89.99;
  if (ev.clat < -89.99) ev.clat = -89.99;
  ev.cdepth = std::fmax(0.0, ev.depth + rng.integer(-100, 100) / 10.0);
  ev.hdur = rng.integer(5, 99) / 10.0;
  ev.bst = rng.integer(0, 99); ev.brec = rng.integer(0, 199);
  ev.sst = rng.integer(0, 99); ev.srec = rng.integer(0, 199);
  ev.mst = rng.integer(0, 99); ev.mrec = rng.integer(0, 199);

  // Fault geometry (Aki and Richards, north-east-down frame).
  const double phi = rad(rng.integer(0, 359));
  const double delta = rad(rng.integer(10, 80));
  const double lam = rad(rng.integer(-179, 180));
  const double nN = -std::sin(delta) * std::sin(phi), nE = std::sin(delta) * std::cos(phi),
               nD = -std::cos(delta);
  const double dN = std::cos(lam) * std::cos(phi) + std::cos(delta) * std::sin(lam) * std::sin(phi);
  const double dE = std::cos(lam) * std::sin(phi) - std::cos(delta) * std::sin(lam) * std::cos(phi);
  const double dD = -std::sin(delta) * std::sin(lam);
  plane_of(nN, nE, nD, dN, dE, dD, ev.strike[0], ev.dip[0], ev.rake[0]);
  plane_of(dN, dE, dD, nN, nE, nD, ev.strike[1], ev.dip[1], ev.rake[1]);
  const double r2 = 1.0 / std::sqrt(2.0);
  double ax[3][3] = {{(nN + dN) * r2, (nE + dE) * r2, (nD + dD) * r2},   // T
                     {nE * dD - nD * dE, nD * dN - nN * dD, nN * dE - nE * dN},  // B = n x d
                     {(nN - dN) * r2, (nE - dE) * r2, (nD - dD) * r2}};  // P
  for (int a = 0; a < 3; ++a) plunge_azimuth(ax[a][0], ax[a][1], ax[a][2], ev.pl[a], ev.az[a]);

  // Eigenvalues: a scalar moment mantissa in [1, 9.9), a CLVD part of up to 10 %.
  ev.exponent = rng.integer(22, 27);
  const double m0 = rng.integer(100, 989) / 100.0;
  const double b = m0 * rng.uniform(-0.1, 0.1);
  ev.eig[0] = m0 + (b < 0 ? -b / 2 : 0) - (b > 0 ? b / 2 : 0);
  ev.eig[1] = b;
  ev.eig[2] = -(ev.eig[0] + ev.eig[1]);
  ev.m0 = (std::fabs(ev.eig[0]) + std::fabs(ev.eig[2])) / 2.0;

  // Tensor in r (up), t (south), p (east): r = -down, t = -north, p = east.
  double v[3][3];
  for (int a = 0; a < 3; ++a) {
    v[a][0] = -ax[a][2];
    v[a][1] = -ax[a][0];
    v[a][2] = ax[a][1];
  }
  const int ij[6][2] = {{0, 0}, {1, 1}, {2, 2}, {0, 1}, {0, 2}, {1, 2}};
  for (int c = 0; c < 6; ++c) {
    double s = 0;
    for (int a = 0; a < 3; ++a) s += ev.eig[a] * v[a][ij[c][0]] * v[a][ij[c][1]];
    ev.m[c] = s;
    ev.me[c] = rng.integer(2, 30) / 1000.0 * m0 + 0.01;
  }
  return ev;
}

inline std::string event_name(const Event& e, bool ndk) {
  char buf[32];
  if (ndk) {
    std::snprintf(buf, sizeof buf, "C%04d%02d%02d%02d%02dA", e.year, e.month, e.day, e.hour,
                  e.minute);
  } else {
    std::snprintf(buf, sizeof buf, "C%02d%02d%02dA", e.month, e.day, e.year % 100);
  }
  return buf;
}

inline void write_ndk(std::ostream& out, const Event& e) {
  char l[5][128];
  char date[16], time[16];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", e.year, e.month, e.day);
  std::snprintf(time, sizeof time, "%02d:%02d:%04.1f", e.hour, e.minute, e.second);
  std::snprintf(l[0], sizeof l[0], "%-4s %-10s %-10s%7.2f%8.2f%6.1f%4.1f%4.1f %-24.24s", "PDE",
                date, time, e.lat, e.lon, e.depth, e.mb, e.ms, e.region.c_str());
  std::snprintf(l[1], sizeof l[1], "%-16s B:%3d%5d%4d S:%3d%5d%4d M:%3d%5d%4d CMT: 1 TRIHD:%5.1f",
                event_name(e, true).c_str(), e.bst, e.brec, 40, e.sst, e.srec, 50, e.mst, e.mrec,
                125, e.hdur);
  std::snprintf(l[2], sizeof l[2], "CENTROID:%9.1f%4.1f%7.2f%5.2f%8.2f%5.2f%6.1f%5.1f %-4s %-16s",
                e.cdt, 0.1, e.clat, 0.01, e.clon, 0.02, e.cdepth, 0.4, "FREE", "S-20060726112355");
  int n = std::snprintf(l[3], sizeof l[3], "%2d", e.exponent);
  for (int c = 0; c < 6; ++c)
    n += std::snprintf(l[3] + n, sizeof l[3] - static_cast<std::size_t>(n), "%7.3f%6.3f", e.m[c], e.me[c]);
  n = std::snprintf(l[4], sizeof l[4], "V10");
  for (int a = 0; a < 3; ++a)
    n += std::snprintf(l[4] + n, sizeof l[4] - static_cast<std::size_t>(n), "%8.3f%3d%4d", e.eig[a], e.pl[a], e.az[a]);
  n += std::snprintf(l[4] + n, sizeof l[4] - static_cast<std::size_t>(n), "%8.3f", e.m0);
  for (int p = 0; p < 2; ++p)
    n += std::snprintf(l[4] + n, sizeof l[4] - static_cast<std::size_t>(n), "%4d%3d%5d", e.strike[p], e.dip[p], e.rake[p]);
  for (auto& line : l) out << line << '\n';
}

inline void write_dek(std::ostream& out, const Event& e) {
  char l[4][128];
  char date[16], time[16];
  std::snprintf(date, sizeof date, "%2d/%2d/%02d", e.month, e.day, e.year % 100);
  std::snprintf(time, sizeof time, "%2d:%2d:%4.1f", e.hour, e.minute, e.second);
  std::snprintf(l[0], sizeof l[0], "%-8s %-8s %-10s %6.2f %7.2f %5.1f%3.1f%3.1f%-24.24s",
                event_name(e, false).c_str(), date, time, e.lat, e.lon, e.depth, e.mb, e.ms,
                e.region.c_str());
  std::snprintf(l[1], sizeof l[1],
                "%-3s %-3s%2d%3d %3d %-3s%2d%3d %3d %-3s%6.1f%4.1f %6.2f %4.2f %7.2f %4.2f %5.1f %4.1f",
                "PDE", "BW:", e.bst, e.brec % 100, 45, "MW:", e.mst, e.mrec % 100, 135, "DT=", e.cdt,
                0.1, e.clat, 0.01, e.clon, 0.02, e.cdepth, 0.4);
  int n = std::snprintf(l[2], sizeof l[2], " %-3s%4.1f %-2s%3d", "TRI", e.hdur, "FR", e.exponent);
  for (int c = 0; c < 6; ++c)
    n += std::snprintf(l[2] + n, sizeof l[2] - static_cast<std::size_t>(n), "%6.2f%5.2f", e.m[c], e.me[c]);
  n = 0;
  for (int a = 0; a < 3; ++a)
    n += std::snprintf(l[3] + n, sizeof l[3] - static_cast<std::size_t>(n), "%7.2f%3d%4d", e.eig[a], e.pl[a], e.az[a]);
  n += std::snprintf(l[3] + n, sizeof l[3] - static_cast<std::size_t>(n), "%7.2f", e.m0);
  for (int p = 0; p < 2; ++p)
    n += std::snprintf(l[3] + n, sizeof l[3] - static_cast<std::size_t>(n), "%4d%3d %4d", e.strike[p], e.dip[p], e.rake[p]);
  for (auto& line : l) out << line << '\n';
}

// Writes n events; ndk selects the format.
inline void write_catalogue(std::ostream& out, int n, bool ndk, std::uint64_t seed = 1) {
  Rng rng(seed);
  for (int i = 0; i < n; ++i) {
    Event e = make_event(rng, i);
    if (ndk) {
      write_ndk(out, e);
    } else {
      write_dek(out, e);
    }
  }
}

}  // namespace gen_catalogue
