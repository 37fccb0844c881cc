#ifndef ROOTSCAN_EXACT_DECIMAL_ROOTS_H_
#define ROOTSCAN_EXACT_DECIMAL_ROOTS_H_

// The real roots of a polynomial with integer coefficients, each correctly
// rounded to a chosen number of significant decimal digits, however many.

#include <string>
#include <vector>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"

/// The number (-1)^negative * digits * 10^exponent, where digits has
/// exactly the number of digits asked for, or is 0 (exponent 0) for zero.
struct Decimal {
  bool negative = false;
  BigInt digits;
  long exponent = 0;
};

/// x rounded to `digits` (1 or more) significant decimal digits, ties to
/// the even last digit.
Decimal RoundToDecimal(const Dyadic& x, int digits);

/// d, of `digits` significant digits, as C's "%#.<digits>g" writes it, but
/// with no point when no digit follows it: "1.4142", "2.0000", "0.00012340",
/// "1.2340e-05", "-3.000e+100", "12340", "0.000".
std::string DecimalText(const Decimal& d, int digits);

/// One line of the answer: a root, or the roots that round to the same
/// decimal.
struct DecimalRoot {
  std::string text;  // DecimalText of the rounded value
  int multiplicity;  // the root's multiplicity; for several, their sum
  int roots;         // how many distinct roots this line stands for
};

/// The distinct real roots of p (lowest power first, not zero) from start
/// to end, both included, ascending, each rounded to `digits` significant
/// digits, ties to even; roots that round to the same decimal are one line.
std::vector<DecimalRoot> DecimalRoots(IntPoly p, double start, double end,
                                      int digits);

#endif  // ROOTSCAN_EXACT_DECIMAL_ROOTS_H_
