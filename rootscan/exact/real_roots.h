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

#include <functional>
#include <vector>

#include "int_poly.h"
#include "isolation.h"

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

/// What ForEachRoot calls for each root: the square-free factor of p that
/// has it as a simple root, where it lies (an interval holding no other
/// root of the factor, or the root itself), its multiplicity in p and the
/// double nearest to it.
using RootVisitor =
    std::function<void(const IntPoly& factor, const Isolated& where,
                       int multiplicity, double nearest)>;

/// Calls visit for each distinct real root of p (lowest power first, not
/// zero) from start to end, both included, in no particular order.
void ForEachRoot(IntPoly p, double start, double end, const RootVisitor& visit);

#endif  // ROOTSCAN_EXACT_REAL_ROOTS_H_
