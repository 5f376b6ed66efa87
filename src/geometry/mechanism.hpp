// Focal-mechanism values with names: the strike, dip and rake of a nodal plane, one nodal
// plane of a set of events as the catalogue store keeps it, and the principal axes P, B, T.
#pragma once

namespace korbast::geometry {

// The strike (azimuth), dip and rake of one nodal plane of one event.
struct PlaneAngles {
  float strike = 0.0f, dip = 0.0f, rake = 0.0f;
};

// One nodal plane (the first or the second) of events 0..n-1, as the catalogue store keeps
// it: three arrays indexed by event, of the strike (azimuth), the dip and the rake.
struct NodalPlane {
  const float* strike = nullptr;
  const float* dip = nullptr;
  const float* rake = nullptr;

  // The plane of event i, as stored.
  PlaneAngles at(int i) const { return {strike[i], dip[i], rake[i]}; }
};

// The principal axes of one event: trend (azimuth) and plunge of P, B and T in this order
// (S1, S2 and S3 of the stress directions), radians.
struct Axes {
  float azimuth[3] = {0.0f, 0.0f, 0.0f};
  float plunge[3] = {0.0f, 0.0f, 0.0f};
};

// The principal axes of events 0..n-1: the trend of axis k of event i at azimuth[k][i], its
// plunge at plunge[k][i].
struct AxesView {
  const float* azimuth[3] = {nullptr, nullptr, nullptr};
  const float* plunge[3] = {nullptr, nullptr, nullptr};

  AxesView() = default;
  AxesView(const float* az1, const float* pl1, const float* az2, const float* pl2,
           const float* az3, const float* pl3)
      : azimuth{az1, az2, az3}, plunge{pl1, pl2, pl3} {}
  // The axes of one event, as a set of one.
  AxesView(const Axes& a)  // NOLINT(google-explicit-constructor): one event is a set of one
      : AxesView(&a.azimuth[0], &a.plunge[0], &a.azimuth[1], &a.plunge[1], &a.azimuth[2],
                 &a.plunge[2]) {}
};

}  // namespace korbast::geometry
