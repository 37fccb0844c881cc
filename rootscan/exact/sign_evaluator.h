#ifndef ROOTSCAN_EXACT_SIGN_EVALUATOR_H_
#define ROOTSCAN_EXACT_SIGN_EVALUATOR_H_

// The sign of a polynomial with integer coefficients at a point, certain:
// first in long double with an error bound, then with twice the precision
// (a compensated Horner scheme) where that bound is too wide, and exactly,
// in integers, where even that one is. Near a root the value is small
// against the terms that make it up, and the cheaper ways cannot tell its
// sign; the compensated one can for all but the closest points, which keeps
// the exact evaluation, whose numbers grow with the degree, rare.

#include <memory>
#include <vector>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"

class SignEvaluator {
 public:
  /// Evaluates p, which must outlive the evaluator.
  explicit SignEvaluator(const IntPoly& p);

  /// The sign of p at x; into *step, an approximate Newton step from x,
  /// -p(x) / p'(x), for the caller to aim with (NaN when there is none).
  int At(long double x, long double* step) const;

  /// The sign of p at x.
  int At(const Dyadic& x) const;

  /// The sign of p just above x (p without repeated roots): its sign at x,
  /// or at a root the sign of the derivative there (whose evaluator is made
  /// once, at the first root, and kept).
  int RightOf(const Dyadic& x) const;

 private:
  // The sign of p at x from the long double evaluations, 2 when they cannot
  // tell it; the Newton step into *step when they can, and p'(x) into
  // *derivative when the evaluation took place.
  int Approximate(long double x, long double* step,
                  long double* derivative) const;
  // p(x) by Horner's scheme over the terms_ only, the sum of the |c_i|
  // |x|^i into *sum and p'(x) into *derivative.
  long double SparseHorner(long double x, long double* sum,
                           long double* derivative) const;
  // The sign of p at x when |x|^n is out of long double's range: the sign
  // of its leading term when that term outweighs all the others, else 2.
  int Dominant(long double x) const;

  // p(m * 2^e) as value * 2^*exponent, in integers.
  static BigInt Exact(const IntPoly& p, const Dyadic& x, long* exponent);

  const IntPoly& p_;
  std::vector<long double> hi_;  // the coefficients' top 64 bits
  std::vector<long double> lo_;  // their next 64 bits
  bool cut_ = false;             // a coefficient has more than 128 bits
  std::vector<int> terms_;       // the powers with a coefficient not 0,
                                 // highest first, when they are few
  long max_bits_ = 0;            // of the largest coefficient
  // p' and its evaluator, for RightOf at roots of p.
  mutable std::unique_ptr<IntPoly> derivative_;
  mutable std::unique_ptr<SignEvaluator> derivative_eval_;
};

#endif  // ROOTSCAN_EXACT_SIGN_EVALUATOR_H_
