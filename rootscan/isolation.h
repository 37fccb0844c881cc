#ifndef ROOTSCAN_ISOLATION_H_
#define ROOTSCAN_ISOLATION_H_

// Isolation of the real roots of a polynomial with integer coefficients:
// intervals whose ends are exact binary fractions, each holding exactly one
// root, found in integer arithmetic, so that none is missed or counted
// twice.

#include <vector>

#include "big_int.h"
#include "int_poly.h"

/// The exact number m * 2^e.
struct Dyadic {
  BigInt m;
  long e = 0;
};

/// -1, 0 or 1 as x is below, equal to or above y.
int CompareDyadic(const Dyadic& x, const Dyadic& y);

/// x exactly (a long double has 64 significant bits; x finite).
Dyadic ToDyadic(long double x);

/// The largest double at or below x (up false) or the smallest at or above
/// it (up true), where the doubles go on to -inf and inf beyond the largest:
/// the directed roundings of x.
double ToDouble(const Dyadic& x, bool up);

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

#endif  // ROOTSCAN_ISOLATION_H_
