// The state of the current map projection: seven global blocks, read by the projection models
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

// Projection parameters shared by all projections.
struct LlpparamBlock {
  float longp1;   // central longitude
  float longp2;   // second longitude (true-scale meridian of code 14)
  float latp1;    // first latitude
  float latp2;    // second latitude
  float anglep1;  // maximum angle from the centre (5-9) or angle of view (11, 12)
};
extern LlpparamBlock llpparam;

// The constants each projection derives from the parameters, one named set per projection
// that has any. Its set-up fills them when the projection is chosen (the set-ups are beside
// their projections: projection/conic.hpp, ellipsoidal.hpp, azimuthal.hpp); the sheet
// constants of code 14 are the block `forimwpoly` below.
struct LambertConstants {  // codes 3 and 4
  float n;  // cone constant
  float f;  // F of Snyder 1987 eq. 15-2: rho = F t^n
};
struct AlbersConstants {  // code 19, one standard parallel phi1
  float n;         // sin phi1, the cone constant
  float cos_phi1;  // cos phi1
  float c;         // 1 + sin^2 phi1
};
struct BonneConstants {  // code 20, standard parallel phi1
  float cot_phi1;  // cot phi1, infinite on the equator
  float rho1;      // cot phi1 + phi1
};
struct PerspectiveConstants {  // codes 11 and 12, angle of view alpha
  float sin_half;  // sin(alpha / 2)
  float cos_half;  // cos(alpha / 2)
};
struct DerivedBlock {
  LambertConstants lambert;
  AlbersConstants albers;
  BonneConstants bonne;
  PerspectiveConstants perspective;
};
extern DerivedBlock derived;

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
