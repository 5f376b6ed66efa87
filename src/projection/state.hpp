// The state of the current map projection: six global blocks, read by the projection routines
// and written by the set-ups.
//
// Inside the blocks every angle is in radians. Map units are those of a sphere of radius 1
// (spherical projections) or of an ellipsoid of equatorial radius 1 (codes 2, 4, 14, 16).
// All blocks are zero until the projection set-up is initialised.
#pragma once

#include <cstdint>

namespace korbast::projection {

// Current projection code, 1 to 25; 0 until the set-up has been initialised.
struct ProjtypeBlock {
  std::int32_t iproj;
};
extern ProjtypeBlock projtype;

// Map origin and its projected offsets, subtracted from every projected x and y.
struct LlorigBlock {
  float xorig;
  float yorig;
  float rlongorig;
  float rlatorig;
};
extern LlorigBlock llorig;

// Projection parameters shared by all projections, and the derived constants of the
// projection chosen last.
struct LlpparamBlock {
  float longp1;   // central longitude
  float longp2;   // second longitude (true-scale meridian of code 14)
  float latp1;    // first latitude
  float latp2;    // second latitude
  float pconst1;  // derived constants of the projection chosen last
  float pconst2;
  float pconst3;
  float anglep1;  // maximum angle from the centre (5-9) or angle of view (11, 12)
};
extern LlpparamBlock llpparam;

// Current reference ellipsoid: radii in metres and derived constants.
struct EllipsoidBlock {
  float ra;
  float rb;
  float ecc;
  float ecc2;
  float eccp2;
  float cmer0;
  float cmer2;
  float cmer4;
  float cmer6;
};
extern EllipsoidBlock ellipsoid;

// Sheet constants of the modified polyconic of the International Map of the World (code 14).
struct ForimwpolyBlock {
  float lat00[2];
  float xlin0;
  float xlin1;
  float ylin0;
  float ylin1;
  float r00[2];
  float yshift;
};
extern ForimwpolyBlock forimwpoly;

// Rotation from the geographic direction-cosine frame to the oblique frame, column-major.
struct A2bBlock {
  float ab[9];
};
extern A2bBlock a2b;

}  // namespace korbast::projection
