#ifndef ROOTSCAN_EXACT_REAL_ROOTS_H_
#define ROOTSCAN_EXACT_REAL_ROOTS_H_

// The real roots of a polynomial with double or integer coefficients, each
// given as the double nearest to it, with its multiplicity: the work of
// rootscan's --roots mode.
//
// The answer is exact for every polynomial it accepts: the coefficients are
// taken as the exact binary fractions the doubles are, and everything that
// decides which roots exist, how many times each counts and which double
// lies nearest to each is computed in integer arithmetic, or in long double
// only where an error bound shows the sign of a value to be right. So no
// root is missed or reported twice, and a root's double is the one that
// correct rounding gives (ties to the even one). The one thing a double
// cannot show is two roots whose nearest double is the same; they come as
// one line that says how many roots it stands for.

#include <vector>

#include "int_poly.h"

/// One line of the answer: one root, or the roots that share a nearest
/// double.
struct RealRoot {
  double value;      // the double nearest to the root(s); +-inf beyond
                     // the largest double, as IEEE rounding gives
  int multiplicity;  // the root's multiplicity; for several, their sum
  int roots;         // how many distinct roots this line stands for
};

/// The distinct real roots of the polynomial from start to end, both ends
/// included (either may be infinite), ascending. coefficients: highest power
/// first, all finite and not all zero; zeros on top are skipped. The time
/// grows quickly with the degree and with the spread of the coefficients'
/// sizes.
std::vector<RealRoot> RealRoots(const std::vector<double>& coefficients,
                                double start, double end);

/// The same for the polynomial p, lowest power first and not zero.
std::vector<RealRoot> RealRoots(IntPoly p, double start, double end);

#endif  // ROOTSCAN_EXACT_REAL_ROOTS_H_
