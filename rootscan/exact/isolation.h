#ifndef ROOTSCAN_EXACT_ISOLATION_H_
#define ROOTSCAN_EXACT_ISOLATION_H_

// Isolation of the real roots of a polynomial with integer coefficients:
// intervals whose ends are exact binary fractions, each holding exactly one
// root, found in integer arithmetic, so that none is missed or counted
// twice.

#include <vector>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"

/// One root: the open interval (lo, hi) holding it and no other root, or,
/// when exact is set, the root itself (lo = hi).
struct Isolated {
  Dyadic lo, hi;
  bool exact;
};

/// Every root of p above 0 (side 1) or below 0 (side -1), once each, in no
/// particular order. p must have degree 1 or more, no repeated root and
/// p(0) != 0.
std::vector<Isolated> IsolateRoots(const IntPoly& p, int side);

#endif  // ROOTSCAN_EXACT_ISOLATION_H_
