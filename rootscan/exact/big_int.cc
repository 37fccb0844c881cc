#include "big_int.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "work_budget.h"

namespace {

constexpr int kLimbBits = BigInt::kLimbBits;

// The value of at most two limbs.
std::uint64_t Low64(const BigInt::Limbs& limbs) {
  std::uint64_t v = 0;
  for (std::size_t i = limbs.size(); i-- > 0;) v = v << kLimbBits | limbs[i];
  return v;
}

// The largest power of ten in a limb, and its digits.
constexpr std::uint32_t kDecimalChunk = 1000000000;
constexpr int kChunkDigits = 9;

}  // namespace

BigInt::BigInt(const BigInt& other) = default;
BigInt::BigInt(BigInt&& other) noexcept = default;
BigInt& BigInt::operator=(const BigInt& other) = default;
BigInt& BigInt::operator=(BigInt&& other) noexcept = default;
BigInt::~BigInt() = default;

BigInt::BigInt(long long v) {
  // The magnitude through unsigned arithmetic, which also holds |LLONG_MIN|.
  std::uint64_t magnitude = static_cast<std::uint64_t>(v);
  if (v < 0) magnitude = 0 - magnitude;
  *this = FromUnsigned(magnitude);
  negative_ = v < 0;
}

BigInt BigInt::FromUnsigned(std::uint64_t v) {
  BigInt result;
  for (; v != 0; v >>= kLimbBits)
    result.limbs_.push_back(static_cast<std::uint32_t>(v));
  return result;
}

BigInt BigInt::FromDecimal(const std::string& digits) {
  // Nine digits at a time: value * 10^k + chunk, the product in place.
  BigInt value;
  std::size_t i = 0;
  while (i < digits.size()) {
    const std::size_t k = std::min<std::size_t>(
        kChunkDigits,
        i == 0 ? (digits.size() - 1) % kChunkDigits + 1 : digits.size() - i);
    std::uint32_t chunk = 0, scale = 1;
    for (std::size_t j = 0; j < k; ++j, ++i) {
      chunk = chunk * 10 + static_cast<std::uint32_t>(digits[i] - '0');
      scale *= 10;
    }
    value *= BigInt(scale);
    value += BigInt(chunk);
  }
  return value;
}

BigInt BigInt::PowerOfTen(std::size_t n) {
  // By squaring, each product charged as the product of the lengths.
  BigInt result(1), square(10);
  auto times = [](const BigInt& a, const BigInt& b) {
    ChargeWork(static_cast<double>(a.limbs_.size()) * b.limbs_.size() + 1);
    return a * b;
  };
  for (; n != 0; n >>= 1) {
    if (n & 1) result = times(result, square);
    if (n > 1) square = times(square, square);
  }
  return result;
}

std::string BigInt::MagnitudeDecimal() const {
  // Nine digits at a time from the bottom, by division of the limbs.
  std::vector<std::uint32_t> chunks;
  Limbs rest = limbs_;
  while (!rest.empty()) {
    std::uint64_t remainder = 0;
    for (std::size_t i = rest.size(); i-- > 0;) {
      const std::uint64_t current = remainder << kLimbBits | rest[i];
      rest[i] = static_cast<Limb>(current / kDecimalChunk);
      remainder = current % kDecimalChunk;
    }
    while (!rest.empty() && rest.back() == 0) rest.pop_back();
    chunks.push_back(static_cast<std::uint32_t>(remainder));
  }
  if (chunks.empty()) return "0";
  std::string text = std::to_string(chunks.back());
  for (std::size_t i = chunks.size() - 1; i-- > 0;) {
    const std::string part = std::to_string(chunks[i]);
    text.append(kChunkDigits - part.size(), '0');
    text += part;
  }
  return text;
}

void BigInt::Trim() {
  while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  if (limbs_.empty()) negative_ = false;
}

std::size_t BigInt::BitLength() const {
  if (limbs_.empty()) return 0;
  return (limbs_.size() - 1) * kLimbBits + BitWidth(limbs_.back());
}

std::size_t BigInt::TrailingZeros() const {
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    if (limbs_[i] != 0) return i * kLimbBits + TrailingZeroBits(limbs_[i]);
  }
  return 0;
}

std::uint64_t BigInt::Top64(long* shift, bool* exact) const {
  const std::size_t bits = BitLength();
  *exact = true;
  if (bits <= 63) {
    *shift = 0;
    return Low64(limbs_);
  }
  const std::size_t cut = bits - 64;
  *shift = static_cast<long>(cut);
  *exact = TrailingZeros() >= cut;
  // The 64 bits above `cut` span the limbs from `cut`'s on, three at most.
  const std::size_t first = cut / kLimbBits;
  const int offset = static_cast<int>(cut % kLimbBits);
  auto limb = [&](std::size_t i) -> std::uint64_t {
    return i < limbs_.size() ? limbs_[i] : 0;
  };
  const std::uint64_t low = limb(first) | limb(first + 1) << kLimbBits;
  if (offset == 0) return low;
  return low >> offset | limb(first + 2) << (2 * kLimbBits - offset);
}

std::uint32_t BigInt::Mod(std::uint32_t m) const {
  std::uint64_t r = 0;
  for (std::size_t i = limbs_.size(); i-- > 0;)
    r = (r << kLimbBits | limbs_[i]) % m;
  if (negative_ && r != 0) r = m - r;
  return static_cast<std::uint32_t>(r);
}

int BigInt::CompareMagnitudes(const Limbs& a, const Limbs& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

void BigInt::Add(const BigInt& b, bool subtract) {
  if (this == &b) {  // a + a or a - a
    *this = subtract ? BigInt() : *this << 1;
    return;
  }
  const bool b_negative = b.negative_ != subtract;
  if (b.limbs_.empty()) return;
  if (negative_ == b_negative || limbs_.empty()) {
    // Same signs: the magnitudes add up.
    if (limbs_.empty()) negative_ = b_negative;
    if (limbs_.size() < b.limbs_.size()) limbs_.resize(b.limbs_.size(), 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      if (i >= b.limbs_.size() && carry == 0) break;
      carry += limbs_[i];
      if (i < b.limbs_.size()) carry += b.limbs_[i];
      limbs_[i] = static_cast<std::uint32_t>(carry);
      carry >>= kLimbBits;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    return;
  }
  // Opposite signs: the smaller magnitude comes off the larger one, and the
  // result takes the larger one's sign.
  const int order = CompareMagnitudes(limbs_, b.limbs_);
  if (order == 0) {
    *this = BigInt();
    return;
  }
  const bool this_larger = order > 0;
  if (!this_larger) {
    limbs_.resize(b.limbs_.size(), 0);
    negative_ = b_negative;
  }
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    const std::int64_t mine = limbs_[i];
    const std::int64_t theirs = i < b.limbs_.size() ? b.limbs_[i] : 0;
    if (this_larger && i >= b.limbs_.size() && borrow == 0) break;
    std::int64_t d = (this_larger ? mine - theirs : theirs - mine) - borrow;
    borrow = d < 0;
    limbs_[i] = static_cast<std::uint32_t>(d + (borrow << kLimbBits));
  }
  Trim();
}

BigInt& BigInt::operator+=(const BigInt& b) {
  Add(b, false);
  return *this;
}

BigInt& BigInt::operator-=(const BigInt& b) {
  Add(b, true);
  return *this;
}

BigInt& BigInt::operator<<=(std::size_t bits) {
  if (limbs_.empty() || bits == 0) return *this;
  const std::size_t whole = bits / kLimbBits;
  const int part = static_cast<int>(bits % kLimbBits);
  if (part != 0) {
    std::uint32_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint32_t next = limb >> (kLimbBits - part);
      limb = limb << part | carry;
      carry = next;
    }
    if (carry != 0) limbs_.push_back(carry);
  }
  limbs_.insert(limbs_.begin(), whole, 0);
  return *this;
}

BigInt& BigInt::operator>>=(std::size_t bits) {
  const std::size_t whole = bits / kLimbBits;
  const int part = static_cast<int>(bits % kLimbBits);
  if (whole >= limbs_.size()) return *this = BigInt();
  limbs_.erase(limbs_.begin(),
               limbs_.begin() + static_cast<std::ptrdiff_t>(whole));
  if (part != 0) {
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      const std::uint32_t above = i + 1 < limbs_.size() ? limbs_[i + 1] : 0;
      limbs_[i] = limbs_[i] >> part | above << (kLimbBits - part);
    }
  }
  Trim();
  return *this;
}

BigInt operator*(const BigInt& a, const BigInt& b) {
  BigInt product;
  if (a.limbs_.empty() || b.limbs_.empty()) return product;
  product.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
  for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
    std::uint64_t carry = 0;
    const std::uint64_t ai = a.limbs_[i];
    for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
      carry += ai * b.limbs_[j] + product.limbs_[i + j];
      product.limbs_[i + j] = static_cast<std::uint32_t>(carry);
      carry >>= kLimbBits;
    }
    product.limbs_[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
  }
  product.negative_ = a.negative_ != b.negative_;
  product.Trim();
  return product;
}

BigInt& BigInt::operator*=(const BigInt& b) {
  if (b.limbs_.size() > 2 || this == &b) return *this = *this * b;
  if (b.limbs_.empty()) return *this = BigInt();
  // Limb i of the product is limb i times b0 plus limb i - 1 times b1 plus
  // the carry; the sum can exceed 64 bits, so its halves are added apart.
  constexpr std::uint64_t kLow = 0xffffffffu;
  const std::uint64_t b0 = b.limbs_[0];
  const std::uint64_t b1 = b.limbs_.size() > 1 ? b.limbs_[1] : 0;
  std::uint64_t carry = 0, previous = 0;
  auto next_limb = [&](std::uint64_t current) {
    const std::uint64_t low = current * b0, high = previous * b1;
    const std::uint64_t sum = (low & kLow) + (high & kLow) + (carry & kLow);
    carry = (low >> kLimbBits) + (high >> kLimbBits) + (carry >> kLimbBits) +
            (sum >> kLimbBits);
    previous = current;
    return static_cast<std::uint32_t>(sum);
  };
  for (std::uint32_t& limb : limbs_) limb = next_limb(limb);
  limbs_.push_back(next_limb(0));
  limbs_.push_back(static_cast<std::uint32_t>(carry));
  negative_ = negative_ != b.negative_;
  Trim();
  return *this;
}

int Compare(const BigInt& a, const BigInt& b) {
  if (a.Sign() != b.Sign()) return a.Sign() < b.Sign() ? -1 : 1;
  const int magnitudes = BigInt::CompareMagnitudes(a.limbs_, b.limbs_);
  return a.negative_ ? -magnitudes : magnitudes;
}

BigInt DivideExact(const BigInt& a, const BigInt& b) {
  // The quotient limb by limb from the bottom (exact division): with the
  // divisor made odd, each limb of the quotient is the lowest limb of what
  // is left times the divisor's inverse modulo 2^32. As the quotient is
  // exact, arithmetic modulo 2^(32 * its size) gives all of it.
  const std::size_t zeros = b.TrailingZeros();
  BigInt rest = a;
  rest >>= zeros;
  BigInt divisor = b;
  divisor >>= zeros;
  BigInt quotient;
  if (rest.limbs_.size() < divisor.limbs_.size()) return quotient;
  const std::size_t size = rest.limbs_.size() - divisor.limbs_.size() + 1;
  // Newton's iteration doubles the correct low bits of the inverse: an odd
  // d is its own inverse modulo 8 (3 bits), so four steps give 48 >= 32.
  const std::uint32_t d0 = divisor.limbs_[0];
  std::uint32_t inverse = d0;
  for (int i = 0; i < 4; ++i) inverse *= 2 - d0 * inverse;
  rest.limbs_.resize(size);
  quotient.limbs_.assign(size, 0);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint32_t q = rest.limbs_[i] * inverse;
    quotient.limbs_[i] = q;
    std::uint64_t carry = 0;  // of the product q * divisor
    std::int64_t borrow = 0;
    for (std::size_t j = i; j < size; ++j) {
      const std::size_t k = j - i;
      if (k < divisor.limbs_.size()) {
        carry += static_cast<std::uint64_t>(q) * divisor.limbs_[k];
      } else if (carry == 0 && borrow == 0) {
        break;
      }
      std::int64_t d = static_cast<std::int64_t>(rest.limbs_[j]) -
                       static_cast<std::uint32_t>(carry) - borrow;
      carry >>= kLimbBits;
      borrow = d < 0;
      rest.limbs_[j] = static_cast<std::uint32_t>(d + (borrow << kLimbBits));
    }
  }
  quotient.negative_ = a.negative_ != b.negative_;
  quotient.Trim();
  return quotient;
}

BigInt Quotient(const BigInt& a, const BigInt& b) {
  // The rest starts with the top bits of |a| short of |b|'s length; each
  // step brings down the next bit and subtracts |b| when it fits.
  BigInt quotient, rest = a, divisor = b;
  rest.negative_ = divisor.negative_ = false;
  const std::size_t length = divisor.BitLength();
  if (rest.BitLength() < length) return quotient;
  std::size_t bit = rest.BitLength() - length + 1;
  ChargeWork(static_cast<double>(bit) * (divisor.limbs_.size() + 1));
  rest >>= bit;
  quotient.limbs_.assign(bit / kLimbBits + 1, 0);
  const BigInt one(1);
  while (bit-- > 0) {
    rest <<= 1;
    if ((a.limbs_[bit / kLimbBits] >> (bit % kLimbBits)) & 1) rest += one;
    if (BigInt::CompareMagnitudes(rest.limbs_, divisor.limbs_) >= 0) {
      rest -= divisor;
      quotient.limbs_[bit / kLimbBits] |= BigInt::Limb{1} << (bit % kLimbBits);
    }
  }
  quotient.negative_ = a.negative_ != b.negative_;
  quotient.Trim();
  return quotient;
}

BigInt Gcd(const BigInt& a, const BigInt& b) {
  // Binary: only shifts and subtractions. Both stay odd after the common
  // power of two is taken out, and the larger loses the smaller, until both
  // fit 64 bits and the machine's arithmetic ends it. An operand of one limb
  // first takes the other to its remainder: a content that is already small
  // against a long coefficient costs one pass over that coefficient.
  BigInt u = a, v = b;
  u.negative_ = v.negative_ = false;
  if (u.IsZero()) return v;
  if (v.IsZero()) return u;
  if (u.limbs_.size() == 1 || v.limbs_.size() == 1) {
    const bool u_small = u.limbs_.size() == 1;
    const std::uint32_t small = (u_small ? u : v).limbs_[0];
    return BigInt::FromUnsigned(
        std::gcd<std::uint64_t>(small, (u_small ? v : u).Mod(small)));
  }
  const std::size_t common = std::min(u.TrailingZeros(), v.TrailingZeros());
  u >>= u.TrailingZeros();
  // Each step costs about the limbs of both, charged in batches.
  double unpaid = 0;
  constexpr double kBatch = 4096;
  while (true) {
    unpaid += static_cast<double>(u.limbs_.size() + v.limbs_.size());
    if (unpaid > kBatch) {
      ChargeWork(unpaid);
      unpaid = 0;
    }
    v >>= v.TrailingZeros();
    if (u.limbs_.size() <= 2 && v.limbs_.size() <= 2) {
      ChargeWork(unpaid);
      return BigInt::FromUnsigned(std::gcd<std::uint64_t>(
                 Low64(u.limbs_), Low64(v.limbs_))) <<= common;
    }
    if (BigInt::CompareMagnitudes(u.limbs_, v.limbs_) > 0) std::swap(u, v);
    v -= u;
    if (v.IsZero()) break;
  }
  ChargeWork(unpaid);
  return u <<= common;
}
