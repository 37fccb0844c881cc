#include "exact_input.h"

#include <cstddef>
#include <cstdlib>
#include <utility>

namespace {

// The value of c as a digit of `base` (10 or 16), or -1.
int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Appends the digits of `base` that start at text[*i] to *digits and moves
// *i past them.
void ReadDigits(const std::string& text, std::size_t* i, int base,
                std::string* digits) {
  while (*i < text.size() && DigitValue(text[*i], base) >= 0)
    digits->push_back(text[(*i)++]);
}

// The integer that the digits spell in `base`.
BigInt FromDigits(const std::string& digits, int base) {
  if (base == 10) return BigInt::FromDecimal(digits);
  BigInt value;
  for (char c : digits) {
    value <<= 4;
    value += BigInt(DigitValue(c, base));
  }
  return value;
}

// An exponent, [+-]digits, from text[*i] on, into *value; one beyond any
// limit when it has more digits than a long holds. False without a digit.
bool ReadExponent(const std::string& text, std::size_t* i, long* value) {
  const bool negative = *i < text.size() && text[*i] == '-';
  if (*i < text.size() && (text[*i] == '-' || text[*i] == '+')) ++*i;
  std::string digits;
  ReadDigits(text, i, 10, &digits);
  if (digits.empty()) return false;
  const std::size_t first = digits.find_first_not_of('0');
  const bool huge = first != std::string::npos && digits.size() - first > 9;
  const long magnitude = huge ? 1000000000 : std::atol(digits.c_str());
  *value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

bool CheckExact(const std::string& text, WrittenNumber* number,
                std::string* reason) {
  *reason = "is not a number";
  WrittenNumber n;
  std::size_t i = 0;
  n.negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  n.hex = text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0;
  if (n.hex) i += 2;
  const int base = n.hex ? 16 : 10;
  ReadDigits(text, &i, base, &n.digits);
  const std::size_t whole = n.digits.size();
  const bool point = i < text.size() && text[i] == '.';
  if (point) ReadDigits(text, &++i, base, &n.digits);
  if (n.digits.empty()) return false;
  n.after_point = static_cast<long>(n.digits.size() - whole);
  const char mark = n.hex ? 'p' : 'e';
  if (i < text.size() && (text[i] == mark || text[i] == mark - 'a' + 'A')) {
    if (!ReadExponent(text, &++i, &n.exponent)) return false;
  } else if (!n.hex && !point && i < text.size() && text[i] == '/') {
    ReadDigits(text, &++i, 10, &n.denominator);
    if (n.denominator.empty()) return false;
  }
  if (i != text.size()) return false;
  const long exponent_limit = n.hex ? 4 * kMaxInputExponent : kMaxInputExponent;
  if (n.digits.size() > static_cast<std::size_t>(kMaxInputDigits) ||
      n.denominator.size() > static_cast<std::size_t>(kMaxInputDigits)) {
    *reason = "has more than " + std::to_string(kMaxInputDigits) + " digits";
    return false;
  }
  if (n.exponent < -exponent_limit || n.exponent > exponent_limit) {
    *reason = "has an exponent beyond +-" + std::to_string(exponent_limit);
    return false;
  }
  if (!n.denominator.empty() &&
      n.denominator.find_first_not_of('0') == std::string::npos) {
    *reason = "has a zero denominator";
    return false;
  }
  n.zero = n.digits.find_first_not_of('0') == std::string::npos;
  *number = std::move(n);
  return true;
}

Fraction ExactValue(const WrittenNumber& n) {
  Fraction v;
  if (n.zero) return v;
  v.num = FromDigits(n.digits, n.hex ? 16 : 10);
  if (!n.denominator.empty()) v.den = BigInt::FromDecimal(n.denominator);
  // The value is num * base^scale, a hexadecimal digit being worth 2^4.
  const long scale = n.exponent - n.after_point * (n.hex ? 4 : 1);
  const std::size_t size = static_cast<std::size_t>(scale < 0 ? -scale : scale);
  BigInt& scaled = scale < 0 ? v.den : v.num;
  if (n.hex) {
    scaled <<= size;
  } else {
    scaled *= BigInt::PowerOfTen(size);
  }
  if (n.negative) v.num.Negate();
  return v;
}

std::string Quoted(const std::string& text) {
  constexpr std::size_t kShown = 40;
  std::string shown = "\"";
  for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    shown += c < 0x20 || c == 0x7f ? '?' : text[i];
  }
  shown += text.size() > kShown ? "\"..." : "\"";
  return shown;
}
