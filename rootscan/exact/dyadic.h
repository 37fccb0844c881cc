#ifndef ROOTSCAN_EXACT_DYADIC_H_
#define ROOTSCAN_EXACT_DYADIC_H_

// Exact binary fractions m * 2^e and their rounding to doubles: the points
// at which the root finder works, and the way from them to the doubles it
// reports. The doubles go on to -inf and inf beyond the largest, as IEEE
// rounding has it.

#include <cstdint>

#include "big_int.h"

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
/// it (up true): the directed roundings of x.
double ToDouble(const Dyadic& x, bool up);

/// The double nearest to x, the even one at a tie.
double ToNearestDouble(const Dyadic& x);

/// The doubles in order as integers: consecutive doubles get consecutive
/// keys (-0 and +0 both 0), so halving a key range halves the doubles in it.
std::int64_t DoubleKey(double x);
/// The double whose key is `key`.
double DoubleFromKey(std::int64_t key);

/// Halfway between the consecutive doubles d1 < d2, exactly; an infinite one
/// stands for +-2^1024, where the next binade would begin, which puts the
/// halfway point where IEEE rounding starts to overflow.
long double Midpoint(double d1, double d2);

/// The nearer of the consecutive doubles d1 < d2 to a number whose
/// difference from their midpoint has the sign `side`; at the midpoint, the
/// even one.
double Nearest(double d1, double d2, int side);

#endif  // ROOTSCAN_EXACT_DYADIC_H_
