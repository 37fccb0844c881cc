#ifndef ROOTSCAN_EXACT_APPROX_POLY_H_
#define ROOTSCAN_EXACT_APPROX_POLY_H_

// Polynomials whose coefficients are long doubles, each with a bound on its
// error, all scaled by one power of two: the root isolation's fast path.
// Where every sign it needs is certain despite the errors, its Descartes
// test agrees with the exact one at a small part of the cost; where one is
// not, it says so, and the caller turns to exact arithmetic.

#include <vector>

#include "wide_poly.h"
#include "work_budget.h"

class ApproxPoly {
 public:
  /// p's coefficients, rounded, times a power of two that brings the largest
  /// near 1.
  explicit ApproxPoly(const WidePoly& p);

  int degree() const { return static_cast<int>(v_.size()) - 1; }

  /// The sign of coefficient i, or 2 when the error bound leaves it open.
  int Sign(int i) const;

  /// The sign changes along the coefficients of (1 + y)^n q(1 / (1 + y)),
  /// counted as far as 2, or -1 when a sign among them is open (or the fast
  /// path kApproxPoly is off).
  int Variations() const;

  /// Whether q(1) is known to be 0: a sum of coefficients, which their
  /// error bounds cannot show to be 0.
  bool root_at_one() const { return root_at_one_; }
  void set_root_at_one(bool zero) { root_at_one_ = zero; }

  /// q(y) = 0 is known: coefficient 0 becomes exactly 0.
  void SetRootAtZero() { v_[0] = e_[0] = 0; }

  /// q(2^k y), times a power of two.
  void ScaleVariable(long k);
  /// q(y / 2), times a power of two.
  void HalveVariable() { ScaleVariable(-1); }
  /// q((2^s - 1) y), times a power of two (s >= 1).
  void MultiplyVariable(long s);

  /// q(y + 1).
  void TaylorShift();

 private:
  ApproxPoly() = default;
  // Pass i of the Taylor shift: adds each coefficient from n down to i + 1
  // to the one below it, and its error bound to the one below it.
  void ShiftPass(int i);
  // Passes i and i + 1 (i + 1 < n) at once.
  void ShiftTwoPasses(int i);
  // Passes i and i + 1 at once, or pass i alone when it is the last.
  void ShiftPassesFrom(int i);

  CountedVector<long double> v_;  // the coefficients, lowest power first
  CountedVector<long double> e_;  // bounds on their errors
  bool root_at_one_ = false;
};

#endif  // ROOTSCAN_EXACT_APPROX_POLY_H_
