// The stereonet projections of the focal-mechanism plots: a direction given by its azimuth
// (from North towards East) and plunge (positive downwards), radians, becomes a point of the
// net, whose primitive circle (the horizontal) is the unit circle and whose centre is the
// downward vertical.
//
//   code 1  Wulff net (stereographic, equal angle)       x North, y East ("direct")
//   code 2  Wulff net                                     x East,  y North ("retrograde")
//   code 3  Schmidt net (Lambert azimuthal equal area)    x North, y East
//   code 4  Schmidt net (the default)                     x East,  y North
#pragma once

#include "frame/mode.hpp"

namespace korbast::focal {

// The current projection code; 0 until the start-up sets it, then always 1..4.
struct Sprojtype {
  int iproj = 0;
};
extern Sprojtype sprojtype;

// The Schmidt net: the largest colatitude projected (radians) and the radius factor sqrt 2.
struct Schmidtparams {
  float maxcolat = 0.0f;
  float factor = 0.0f;
};
extern Schmidtparams schmidtparams;

// The Wulff net: the largest colatitude projected (radians); 0 until the net is first chosen.
struct Wulfparams {
  float maxcolat = 0.0f;
};
extern Wulfparams wulfparams;

// Projects points 1..n with the current code. x may be the same array as az and y the same
// as pl. A stored code outside 1..4 is reported, the projection menu chooses a new one and
// the points are projected with it.
void spron(float* x, float* y, const float* az, const float* pl, int n);

// The two nets: u = r cos az, v = r sin az, with r = sqrt2 sin(d/2) (Schmidt) or tan(d/2)
// (Wulff), d = pi/2 - plunge held at the net's largest colatitude. Each point is read before
// it is written, so u and v may be az and pl in either order.

// Points 1..n on the Schmidt net (equal-area).
void schmidtn(float* u, float* v, const float* az, const float* pl, int n);
// Points 1..n on the Wulff net (equal-angle).
void wulfn(float* u, float* v, const float* az, const float* pl, int n);

// The projection code in a settings mode: 2, 3 from the stored code; 4 to 7 the default 4
// with the initialising lines; even modes show the menu. The chosen net is set up again.
void sspro(int& iproj, frame::Mode mode);

// The set-up of each net: the largest colatitude in degrees (180 in modes 4 to 7); even modes
// show the net's name. The parameters are stored in radians.

// The set-up of the Schmidt net.
void sschmidt(float& maxcolat, frame::Mode mode);
// The set-up of the Wulff net.
void swulf(float& maxcolat, frame::Mode mode);

}  // namespace korbast::focal
