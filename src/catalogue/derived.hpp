// The record step of a read run: the position, polygon and rake tests, the derived quality
// values (CLVD ratio, relative moment error, number of free tensor components) and the
// quality tests.
#pragma once

namespace korbast::catalogue {

// The derived values of one event, from its eigenvalues (T, B, P) and its six tensor
// components and errors. `defined` is false when the value had no meaning and fell back to
// 10.0; n and d receive the two squared norms of the moment error.

// The CLVD ratio -B / max(|T|, |P|); m receives that largest eigenvalue magnitude.
float clvd_ratio(float t, float b, float p, float& m, bool& defined);
// The relative moment error: the norm of the tensor errors over the norm of the tensor.
float relative_moment_error(const float tmomt[6], const float tmomte[6], float& n, float& d,
                            bool& defined);
// The number of tensor components left free in the inversion (error at least 0.001).
int free_components(const float tmomte[6]);

// The tests of slot k (1-based) against the criteria, in order: latitude, longitude, depth,
// polygon, rake. True when the record passes them all (or the general switch is off).
bool position_tests(int k);
// Whether the rake lies in one of the rake intervals in use.
bool rake_in_intervals(float rake);
// Whether the epicentre (degrees) lies inside the polygon, on the inner side of every edge.
bool polygon_test(float rlong, float rlat);

// The whole record step for slot k: the tests, then fclvd, erelm and nmfree stored in the
// slot (with a warning frame for each fallback), then the quality tests. True to keep.
bool record_step(int k);

}  // namespace korbast::catalogue
