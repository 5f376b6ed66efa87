#include "projection/table.hpp"

#include "projection/azimuthal.hpp"
#include "projection/conic.hpp"
#include "projection/cylindrical.hpp"
#include "projection/ellipsoidal.hpp"

namespace korbast::projection {

namespace {

using G = Group;
using S = Step;

// The routines that take their constants and the origin offsets as arguments, called with
// those of the blocks.
void inverspsll_of_blocks(float* x, float* y, const float* rlong, const float* rlat, int n) {
  inverspsll(x, y, rlong, rlat, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
}
void orthogpsll_of_blocks(float* x, float* y, const float* rlong, const float* rlat, int n) {
  orthogpsll(x, y, rlong, rlat, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
}
void perspvpsll2_of_blocks(float* x, float* y, const float* rlong, const float* rlat, int n) {
  perspvpsll2(x, y, rlong, rlat, n, derived.perspective.cos_half, derived.perspective.sin_half,
              llorig.xorig, llorig.yorig);
}
void gnomopsll_of_blocks(float* x, float* y, const float* rlong, const float* rlat, int n) {
  gnomopsll(x, y, rlong, rlat, n, llorig.xorig, llorig.yorig);
}

constexpr std::string_view kAzimuthalEqualArea = "AZIMUTHAL EQUAL AREA SPHERICAL EARTH";
constexpr std::string_view kStereographic = "STEREOGRAPHIC CONFORMAL SPHERICAL EARTH";
constexpr std::string_view kOrInversion = "OR INVERSION SPHERICAL EARTH";

// One line per code, in the order of the codes.
constexpr std::array<ProjectionEntry, kProjections> kTable{{
    {1, G::spherical_conformal, " Transverse mercator ...................1",
     {"TRANSVERSE MERCATOR SPHERICAL EARTH", "1 parameter:", "  1 central meridien"},
     {S::long1}, nullptr, tm2, false, false},
    {2, G::ellipsoidal_conformal, " Transverse mercator ...................2",
     {"TRANSVERSE MERCATOR ELLIPSOIDAL EARTH", "1 parameter:", "  1 central meridien"},
     {S::long1}, nullptr, tme2, true, false},
    {3, G::spherical_conformal, " Lambert conformal conical  ............3",
     {"LAMBERT CONFORMAL CONICAL SPHERICAL EARTH", "3 parameters:", "  1 central meridien",
      "  2 standard parallels"},
     {S::long1, S::conic_parallels}, slcc2, lcc2, false, false},
    {4, G::ellipsoidal_conformal, " Lambert conformal conical .............4",
     {"LAMBERT CONFORMAL CONICAL ELLIPSOIDAL EARTH", "3 parameters:", "  1 central meridien",
      "  2 standard parallels"},
     {S::long1, S::conic_parallels}, slcce2, lcce2, true, false},
    {5, G::spherical_equivalent, " Lambert azimutal equal area polar......5",
     {kAzimuthalEqualArea, "LAMBERT (1772)", "POLAR", "1 parameter:",
      "  1 maximum angle from center"},
     {S::angle}, nullptr, lazea2, false, false},
    {6, G::spherical_equivalent, " Lambert azimutal equal area oblique ...6",
     {kAzimuthalEqualArea, "LAMBERT (1772)", "OBLIQUE", "3 parameters:",
      "  1 maximum angle from center", "  1 central meridien", "  1 central parallel"},
     {S::angle, S::oblique}, nullptr, lazea2, false, true},
    {7, G::spherical_conformal, " Stereographic (inversion) polar........7",
     {kStereographic, kOrInversion, "POLAR ", "1 parameter:", "  1 maximum angle from center"},
     {S::angle}, nullptr, inverspsll_of_blocks, false, false},
    {8, G::spherical_conformal, " Stereographic (inversion) oblique .....8",
     {kStereographic, kOrInversion, "OBLIQUE", "3 parameters:", "  1 maximum angle from center",
      "  1 central meridien", "  1 central parallel"},
     {S::angle, S::oblique}, nullptr, inverspsll_of_blocks, false, true},
    {9, G::spherical_others, " Orthographic polar.....................9",
     {"ORTHOGRAPHIC SPHERICAL EARTH", "POLAR ", "1 parameter:", "  1 maximum angle from center"},
     {S::angle}, nullptr, orthogpsll_of_blocks, false, false},
    {10, G::spherical_others, " Orthographic oblique .................10",
     {"ORTHOGRAPHIC SPHERICAL EARTH", "OBLIQUE", "2 parameters:", "  1 central meridien",
      "  1 central parallel"},
     {S::oblique}, nullptr, orthobl2, false, false},
    {11, G::spherical_others, " Perspective polar.....................11",
     {"PERSPECTIVE SPHERICAL EARTH", "POLAR ", "1 parameter:", "  1 angle of view"},
     {S::view_angle}, spers2, perspvpsll2_of_blocks, false, false},
    {12, G::spherical_others, " Perspective oblique ..................12",
     {"PERSPECTIVE SPHERICAL EARTH", "OBLIQUE", "3 parameters:", "  1 angle of view",
      "  1 central meridien", "  1 central parallel"},
     {S::view_angle, S::oblique}, spers2, persobl2, false, false},
    {13, G::spherical_others, " Polyconical ..........................13",
     {"POLYCONIC SPHERICAL EARTH", "1 parameter:", "  1 central meridien"},
     {S::long1}, nullptr, polyco2, false, false},
    // The degree sign is the old character set's byte 0xA1, shown as UTF-8.
    {14, G::ellipsoidal_others, " Lallemand modified polyconical .......14",
     {"LALLEMAND POLYCONIC ELLIPSOIDAL EARTH", "Used by the International Map of the World",
      "4 parameters:", "  1 central meridien", "  1 true scale meridien (+2\u00B0E of central)",
      "  1 northernmost parallel", "  1 southernmost parallel"},
     {S::long1, S::long2_east, S::sheet_parallels}, simwpoly2, imwpoly2, true, false},
    {15, G::spherical_conformal, " Mercator .............................15",
     {"MERCATOR SPHERICAL EARTH"}, {}, nullptr, mersphe2, false, false},
    {16, G::ellipsoidal_conformal, " Mercator .............................16",
     {"MERCATOR ELLIPSOIDAL EARTH"}, {}, nullptr, merel2, true, false},
    {17, G::spherical_others, " Gnonomic polar........................17",
     {"GNOMOMIC SPHERICAL EARTH", "POLAR "}, {}, nullptr, gnomopsll_of_blocks, false, false},
    {18, G::spherical_others, " Gnonomic oblique .....................18",
     {"GNOMOMIC SPHERICAL EARTH", "OBLIQUE", "2 parameters:", "  1 central meridien",
      "  1 central parallel"},
     {S::oblique}, nullptr, gnomopsll_of_blocks, false, true},
    {19, G::spherical_equivalent, " Albers ...............................19",
     {"ALBERS SPHERICAL EARTH", "1 parameter:", "  1 parallel", "  NB: latp1 = 0 is problematic"},
     {S::lat1}, salbesph2, albesph2, false, false},
    {20, G::spherical_equivalent, " Bonne ................................20",
     {"BONNE SPHERICAL EARTH", "1 parameter:", "  1 parallel", "  NB: latp1 = 0 is problematic"},
     {S::lat1}, sbonnesph2, bonnesph2, false, false},
    {21, G::spherical_equivalent, " Werner ...............................21",
     {"WERNER SPHERICAL EARTH"}, {}, nullptr, wernesphe2, false, false},
    {22, G::spherical_equivalent, " Sanson-Flamsteed .....................22",
     {"SANSON-FLAMSTEED SPHERICAL EARTH"}, {}, nullptr, sanflamsph2, false, false},
    {23, G::spherical_equivalent, " Lambert cylindrical normal equivalent 23",
     {"LAMBERT CYLINDRICAL NORMAL EQUIVALENT", "SPHERICAL EARTH    -   LAMBERT (1772)"}, {},
     nullptr, lcnesphe2, false, false},
    {24, G::spherical_equivalent, " Mollweide ............................24",
     {"MOLLWEIDE SPHERICAL EARTH", "1 parameter:", "  1 central meridien"},
     {S::long1}, nullptr, mollw2, false, false},
    {25, G::spherical_others, " Van Der Grinten ......................25",
     {"VAN DER GRINTEN SPHERICAL EARTH", "1 parameter:", "  1 central meridien"},
     {S::long1}, nullptr, grinte2, false, false},
}};

// The table is in the order of its codes, so a code finds its line by position.
constexpr bool codes_in_order() {
  for (int k = 0; k < kProjections; ++k)
    if (kTable[k].code != k + 1) return false;
  return true;
}
static_assert(codes_in_order(), "the projection table must list codes 1 to 25 in order");

}  // namespace

const ProjectionEntry* find_projection(int code) {
  if (code < 1 || code > kProjections) return nullptr;
  return &kTable[code - 1];
}

const std::array<ProjectionEntry, kProjections>& projection_table() { return kTable; }

}  // namespace korbast::projection
