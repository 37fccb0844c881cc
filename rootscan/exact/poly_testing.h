#ifndef ROOTSCAN_EXACT_POLY_TESTING_H_
#define ROOTSCAN_EXACT_POLY_TESTING_H_

// What the tests of the exact maths share to build their polynomials.

#include <cstddef>
#include <vector>

#include "int_poly.h"

// The product of two integer polynomials, lowest power first, computed term
// by term: the tests' own reference, apart from the code under test.
inline IntPoly Times(const IntPoly& a, const IntPoly& b) {
  IntPoly product(a.size() + b.size() - 1);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) product[i + j] += a[i] * b[j];
  }
  return product;
}

// The polynomial with the given coefficients, lowest power first.
inline IntPoly Poly(const std::vector<long long>& coefficients) {
  IntPoly p;
  for (long long c : coefficients) p.push_back(BigInt(c));
  TrimPoly(&p);
  return p;
}

#endif  // ROOTSCAN_EXACT_POLY_TESTING_H_
