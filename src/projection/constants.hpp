// Constants derived from the projection parameters, computed once when a projection is
// chosen and read by the forward projections. None takes arguments: each reads the
// projection state and writes `llpparam.pconst1..3` or `forimwpoly`.
#pragma once

namespace korbast::projection {

void slcc2();       // 3: cone constant n and equator radius F of the spherical Lambert conic
void slcce2();      // 4: cone constant n and F of the ellipsoidal Lambert conic
void salbesph2();   // 19: sin, cos and 1 + sin^2 of the standard parallel
void sbonnesph2();  // 20: cot of the standard parallel, and cot + latitude
void spers2();      // 11, 12: sine and cosine of half the angle of view
void simwpoly2();   // 14: sheet constants of the IMW modified polyconic

}  // namespace korbast::projection
