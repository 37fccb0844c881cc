#ifndef ROOTSCAN_EXACT_INPUT_H_
#define ROOTSCAN_EXACT_INPUT_H_

// Numbers read exactly as written, for --roots: integers of any size,
// decimals ("0.1" is 1/10), decimal exponents ("1e-100" is 10^-100),
// fractions of integers ("-1/4"), and hexadecimal floating-point numbers
// ("0x1.8p-3" is 3/16), each with an optional sign.

#include <cstddef>
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

/// Reads a number a byte at a time, as it is written, in memory that the
/// limits bound: it refuses the number at the first byte that cannot
/// belong to one or that passes a limit, so that a long text costs no more
/// than its first 1000 digits.
class NumberReader {
 public:
  /// Takes the next byte of the text; false once the text is refused
  /// (reason() says why), after which it takes no more.
  bool Add(char c);
  /// The end of the text: true with the number in *number, or false with
  /// the reason.
  bool Finish(WrittenNumber* number);
  /// Why the text was refused ("is not a number", "has a zero
  /// denominator", "has more than 1000 digits", "has an exponent beyond
  /// +-1000").
  const std::string& reason() const { return reason_; }
  /// The text's first bytes: as many as Quoted shows, and one more.
  const std::string& start() const { return start_; }

 private:
  // Where the next byte goes.
  enum class Part {
    kSign,         // the very start: a sign may come
    kLead,         // after the sign: "0x" may come
    kZero,         // after a leading 0, which "x" makes "0x"
    kWhole,        // digits before a point
    kFraction,     // digits after it
    kMark,         // after "e" or "p": a sign or the exponent's digits
    kExponent,     // the exponent's digits
    kSlash,        // after "/"
    kDenominator,  // the denominator's digits
    kRefused,
  };
  // Refuses the text for `why`; false.
  bool Refuse(const char* why);
  // Appends the digit c to *digits, unless they are at the limit.
  bool AddDigit(char c, std::string* digits);
  // Takes c in the digits before or after the point, or the byte that
  // ends them.
  bool AddToSignificand(char c);
  // Takes the decimal digit c of the exponent.
  bool AddToExponent(char c);

  WrittenNumber n_;
  Part part_ = Part::kSign;
  long exponent_ = 0;  // its magnitude, held at one past the limit
  int exponent_digits_ = 0;
  bool exponent_negative_ = false;
  std::string reason_;
  std::string start_;
};

/// Reads the whole of text into *number as NumberReader does. Returns false
/// and sets *reason for anything else.
bool CheckExact(const std::string& text, WrittenNumber* number,
                std::string* reason);

/// The value of a number CheckExact took, as a fraction (not reduced).
Fraction ExactValue(const WrittenNumber& number);

/// The most bytes of a text that a message quotes.
constexpr std::size_t kQuotedBytes = 40;

/// text as a message quotes it: in double quotes, cut after kQuotedBytes
/// bytes ("...") and with every byte other than printable ASCII escaped
/// (progutil::Escaped), so that it stays one short line of text.
std::string Quoted(const std::string& text);

#endif  // ROOTSCAN_EXACT_INPUT_H_
