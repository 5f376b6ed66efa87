// Column-wise helpers on sets of vectors stored column by column: a set of m vectors of
// length ld is an array (ld, m), vector j at elements (j - 1) * ld .. (j - 1) * ld + ld - 1.
// Single precision throughout.
#pragma once

namespace korbast::geometry {

// sp(j) = sum over i = 1..ld of ua(i, j) * va(i, j), from 0.0 in increasing i, j = 1..m.
// Nothing is written for m < 1; ld <= 0 gives sp(1..m) = 0.
void scalprodn(float* sp, const float* ua, const float* va, int ld, int m);

// vn(j) = Euclidean norm of column j of v(ld, m), j = 1..m.
void vecnorm(float* vn, const float* v, int ld, int m);

// wa(:, i) = ua(:, i) x va(:, i) for i = 1..n (right-handed); wa may be ua or va.
// Nothing for n <= 0.
void vecprod3d(float* wa, const float* ua, const float* va, int n);

// io(k) = ((ii(k) - 1) modulo m) + 1, always in 1..m, for k = 1..n; io may be ii.
// With m <= 0 nothing is written.
void moduri(int* io, const int* ii, int m, int n);

}  // namespace korbast::geometry
