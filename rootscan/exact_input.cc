#include "exact_input.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

#include "progutil.h"

namespace {

// The value of c as a digit of `base` (10 or 16), or -1.
int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
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

constexpr char kNotANumber[] = "is not a number";

}  // namespace

bool NumberReader::Refuse(const char* why) {
  reason_ = why;
  part_ = Part::kRefused;
  return false;
}

bool NumberReader::AddDigit(char c, std::string* digits) {
  if (digits->size() == static_cast<std::size_t>(kMaxInputDigits)) {
    reason_ = "has more than " + std::to_string(kMaxInputDigits) + " digits";
    part_ = Part::kRefused;
    return false;
  }
  digits->push_back(c);
  return true;
}

bool NumberReader::Add(char c) {
  if (start_.size() <= kQuotedBytes) start_.push_back(c);
  const bool decimal = c >= '0' && c <= '9';
  // A byte that only ends what comes before it is taken again by the part
  // it starts.
  while (true) {
    switch (part_) {
      case Part::kSign:
        part_ = Part::kLead;
        if (c != '-' && c != '+') continue;
        n_.negative = c == '-';
        return true;
      case Part::kLead:
        part_ = c == '0' ? Part::kZero : Part::kWhole;
        if (c != '0') continue;
        return true;
      case Part::kZero:
        part_ = Part::kWhole;
        n_.hex = c == 'x' || c == 'X';
        if (n_.hex) return true;
        n_.digits = "0";
        continue;
      case Part::kWhole:
      case Part::kFraction:
        return AddToSignificand(c);
      case Part::kMark:
        part_ = Part::kExponent;
        if (c != '-' && c != '+') continue;
        exponent_negative_ = c == '-';
        return true;
      case Part::kExponent:
        return decimal ? AddToExponent(c) : Refuse(kNotANumber);
      case Part::kSlash:
        part_ = Part::kDenominator;
        continue;
      case Part::kDenominator:
        return decimal ? AddDigit(c, &n_.denominator) : Refuse(kNotANumber);
      case Part::kRefused:
        return false;
    }
  }
}

bool NumberReader::AddToSignificand(char c) {
  if (DigitValue(c, n_.hex ? 16 : 10) >= 0) {
    if (part_ == Part::kFraction) ++n_.after_point;
    return AddDigit(c, &n_.digits);
  }
  if (c == '.' && part_ == Part::kWhole) {
    part_ = Part::kFraction;
    return true;
  }
  const char mark = n_.hex ? 'p' : 'e';
  if (!n_.digits.empty() && (c == mark || c == mark - 'a' + 'A')) {
    part_ = Part::kMark;
    return true;
  }
  if (!n_.digits.empty() && c == '/' && !n_.hex && part_ == Part::kWhole) {
    part_ = Part::kSlash;
    return true;
  }
  return Refuse(kNotANumber);
}

bool NumberReader::AddToExponent(char c) {
  // Held at one past the limit: more digits only make it larger.
  const long limit = n_.hex ? 4 * kMaxInputExponent : kMaxInputExponent;
  exponent_ = std::min(exponent_ * 10 + (c - '0'), limit + 1);
  if (exponent_ > limit) {
    reason_ = "has an exponent beyond +-" + std::to_string(limit);
    part_ = Part::kRefused;
    return false;
  }
  n_.exponent = exponent_negative_ ? -exponent_ : exponent_;
  ++exponent_digits_;
  return true;
}

bool NumberReader::Finish(WrittenNumber* number) {
  const bool ends_a_number =
      part_ == Part::kZero || part_ == Part::kDenominator ||
      ((part_ == Part::kWhole || part_ == Part::kFraction) &&
       !n_.digits.empty()) ||
      (part_ == Part::kExponent && exponent_digits_ > 0);
  if (part_ == Part::kRefused) return false;
  if (!ends_a_number) return Refuse(kNotANumber);
  if (part_ == Part::kZero) n_.digits = "0";
  if (!n_.denominator.empty() &&
      n_.denominator.find_first_not_of('0') == std::string::npos) {
    return Refuse("has a zero denominator");
  }
  n_.zero = n_.digits.find_first_not_of('0') == std::string::npos;
  *number = std::move(n_);
  return true;
}

bool CheckExact(const std::string& text, WrittenNumber* number,
                std::string* reason) {
  NumberReader reader;
  bool taken = true;
  for (std::size_t i = 0; i < text.size() && taken; ++i)
    taken = reader.Add(text[i]);
  taken = taken && reader.Finish(number);
  if (!taken) *reason = reader.reason();
  return taken;
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
  const bool cut = text.size() > kQuotedBytes;
  return "\"" +
         progutil::Escaped(std::string_view(text).substr(0, kQuotedBytes)) +
         (cut ? "\"..." : "\"");
}
