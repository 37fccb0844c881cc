#ifndef ROOTSCAN_EXACT_POWER_ROOTS_H_
#define ROOTSCAN_EXACT_POWER_ROOTS_H_

// The roots of a polynomial in x^k, p(x) = q(x^k) with k >= 2, isolated
// through q: q has degree n / k, so its roots cost a fraction of p's, and
// each real root y of q gives the roots of x^k = y. Only the isolation is
// done this way; the caller refines each root on a factor of p itself, so
// the answer is the one p's own isolation would give.

#include <memory>
#include <utility>
#include <vector>

#include "int_poly.h"
#include "isolation.h"
#include "sign_evaluator.h"

/// A square-free factor of p and the roots of p that it has as simple
/// roots, each with the side of 0 it lies on.
struct FactorRoots {
  std::unique_ptr<IntPoly> factor;
  int multiplicity;  // in p
  std::vector<std::pair<Isolated, int>> roots;
  std::unique_ptr<SignEvaluator> eval;  // factor's, when one was needed
};

/// The largest k such that p is a polynomial in x^k (1 when it is not one).
int PowerStep(const IntPoly& p);

/// For p with p(0) != 0 that is a polynomial in x^k, k = PowerStep(p) >= 2:
/// into *out, every real root of p below 0 (when below is set) and above 0
/// (when above is set), grouped by factor. False when an interval of q
/// could not be carried over to x (q's roots too close for the precision of
/// the carrying); the caller then isolates p itself.
bool IsolateInPowers(const IntPoly& p, int k, bool below, bool above,
                     std::vector<FactorRoots>* out);

#endif  // ROOTSCAN_EXACT_POWER_ROOTS_H_
