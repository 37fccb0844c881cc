#ifndef ROOTSCAN_EXACT_RATIONAL_ROOTS_H_
#define ROOTSCAN_EXACT_RATIONAL_ROOTS_H_

// The roots of an integer polynomial that are short fractions a / b (small
// a and b), found by testing candidates exactly and divided out, so that
// the rest of the roots are isolated at a lower degree. Polynomials typed
// by hand often have such roots (Wilkinson's has only integers), and each
// costs one exact evaluation here instead of a share of the bisection.

#include <vector>

#include "int_poly.h"

/// Divides out of *p (degree 1 or more, no repeated root, p(0) != 0) the
/// factor b x - a of each root a / b with |a| and b small, and returns
/// them; *p keeps what is left (a constant when nothing is). A p of
/// degree 1 stays as it is.
std::vector<IntPoly> TakeRationalRoots(IntPoly* p);

#endif  // ROOTSCAN_EXACT_RATIONAL_ROOTS_H_
