// The extraction criteria: every bound, limit and switch by which the reader keeps or drops a
// record while reading, the criteria menu, the polygon's edge normals and the bounds handed
// to the map driver.
#pragma once

#include "frame/mode.hpp"

namespace korbast::catalogue {

inline constexpr int maxvertex = 9;

struct Seistest2 {
  int nfreemin;             // minimum number of free moment-tensor components
  int nvertex;              // polygon vertices in use
  float latmin, latmax;     // degrees
  float longmin, longmax;   // degrees, compared as read (no wrap at 180)
  float depthmin, depthmax; // km
  float rakeint[3][2];      // rake interval i: rakeint[i - 1][0] minimum, [1] maximum
  float vrtxlat[maxvertex];
  float vrtxlong[maxvertex];
  float vrtx1[maxvertex][3];  // unit vector of each vertex (great-circle sides)
  float vnrm1[maxvertex][3];  // edge normal of side k, from vertex k to the next
  float fclvdmax;
  float erelmax;
  bool testgen;    // general switch: no test runs while it is off
  bool testlat;
  bool testlong;
  bool testdepth;
  bool testpoly;
  bool polygc;     // sides are great circles (else straight lines in longitude, latitude)
  bool rakeboth;   // both nodal planes must pass the rake test (else either)
  bool testrake[3];
  bool testqual;   // the three quality tests
};

extern Seistest2 seistest2;

// Sets the criteria by settings mode: 4 or 5 reset every field to its default first; an
// even mode runs the criteria menu until 99; both end with the polygon check.
void setseistest6(frame::Mode mode);

// Edge normals of the polygon (vnrm1, and vrtx1 for great-circle sides). ierr: 0 when every
// side has a direction, 10 (great circles) or 20 (straight sides) when one has none, each
// such side reported in an error frame. mode is not read.
void spolygontst(int& ierr, frame::Mode mode);

// The six position bounds, whatever their switches say.
void gscseistest(float& latmin, float& latmax, float& longmin, float& longmax, float& depthmin,
                 float& depthmax);

// True when the polygon, as its normals stand, is not convex with its vertices running
// counter-clockwise: some vertex lies on the outer side of a side it does not belong to.
bool polygon_not_counterclockwise();

}  // namespace korbast::catalogue
