#ifndef ROOTSCAN_EXACT_INPUT_H_
#define ROOTSCAN_EXACT_INPUT_H_

// Numbers read exactly as written, for --roots: integers of any size,
// decimals ("0.1" is 1/10), decimal exponents ("1e-100" is 10^-100),
// fractions of integers ("-1/4"), and hexadecimal floating-point numbers
// ("0x1.8p-3" is 3/16), each with an optional sign.

#include <string>

#include "int_poly.h"

/// The most digits a number may have, and the largest magnitude of its
/// decimal exponent (four times it for the binary exponent of a
/// hexadecimal number), so that one number cannot take all memory and time.
constexpr long kMaxInputDigits = 1000;
constexpr long kMaxInputExponent = 1000;

/// A number as written: its parts, checked, before its value is made.
struct WrittenNumber {
  bool negative = false;
  bool hex = false;         // digits in base 16, the exponent of 2
  std::string digits;       // of the integer and the fraction, together
  long after_point = 0;     // how many of the digits follow the point
  long exponent = 0;        // of 10, or of 2 when hex
  std::string denominator;  // decimal digits after "/", or none
  bool zero = false;        // the value is 0
};

/// Reads the whole of text into *number, in time proportional to its
/// length. Returns false and sets *reason ("is not a number", "has a zero
/// denominator", "has more than 1000 digits", "has an exponent beyond
/// +-1000") for anything else.
bool CheckExact(const std::string& text, WrittenNumber* number,
                std::string* reason);

/// The value of a number CheckExact took, as a fraction (not reduced).
Fraction ExactValue(const WrittenNumber& number);

/// text as a message quotes it: in double quotes, cut after 40 bytes
/// ("...") and with every control byte shown as '?', so that it stays one
/// short line.
std::string Quoted(const std::string& text);

#endif  // ROOTSCAN_EXACT_INPUT_H_
