#ifndef ROOTSCAN_REAL_ROOTS_H_
#define ROOTSCAN_REAL_ROOTS_H_

// The real roots of a polynomial with double coefficients, each given as the
// double nearest to it, with its multiplicity: rootscan's --roots mode.
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

#include <cstdio>
#include <string>
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
/// grows quickly with the degree: PrintRealRoots takes degree 100 at most.
std::vector<RealRoot> RealRoots(const std::vector<double>& coefficients,
                                double start, double end);

/// The same for the polynomial with integer coefficients p, lowest power
/// first (element i belongs to x^i), not zero.
std::vector<RealRoot> RealRoots(IntPoly p, double start, double end);

/// The shortest decimal text that reads back as v ("-2", "0.001",
/// "1.4142135623730951", "1e-07", "inf").
std::string ShortestDecimal(double v);

/// The --roots mode: checks the coefficients (finite, degree at most 100
/// once leading zeros are dropped) and the range (no NaN, start not above
/// end), then writes the lines "x1 = <value>", one per
/// RealRoot, followed by " (multiplicity K)" or, for a line standing for J
/// roots, " (J distinct roots nearest to this value, multiplicity K in
/// all)"; "No real roots from A to B." when there are none, and "Every x from
/// A to B is a root." for the zero polynomial (A and B printed with %f). It
/// clears errno first and leaves flushing and checking for write errors to
/// the caller. Returns false and sets *err, writing nothing, when the input
/// is refused.
bool PrintRealRoots(const std::vector<double>& coefficients, double start,
                    double end, std::FILE* out, std::string* err);

#endif  // ROOTSCAN_REAL_ROOTS_H_
