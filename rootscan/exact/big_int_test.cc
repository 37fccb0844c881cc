#include "big_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

// Values that fit 64 bits agree with the machine's arithmetic.
TEST(BigInt, AgreesWithSixtyFourBitArithmetic) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 2000; ++trial) {
    const long long x = static_cast<std::int32_t>(random());
    const long long y = static_cast<std::int32_t>(random()) >> (random() % 32);
    const BigInt a(x), b(y);
    EXPECT_EQ(a + b, BigInt(x + y)) << x << " " << y;
    EXPECT_EQ(a - b, BigInt(x - y)) << x << " " << y;
    EXPECT_EQ(a * b, BigInt(x * y)) << x << " " << y;
    BigInt c = a;
    c *= b;
    EXPECT_EQ(c, BigInt(x * y)) << x << " " << y;
    EXPECT_EQ(Compare(a, b), (x > y) - (x < y)) << x << " " << y;
    if (y != 0) {
      EXPECT_EQ(DivideExact(BigInt(x * y), b), a) << x << " " << y;
    }
    const std::uint32_t m = static_cast<std::uint32_t>(random()) | 1;
    EXPECT_EQ(a.Mod(m), static_cast<std::uint32_t>(((x % m) + m) % m)) << x;
  }
  EXPECT_EQ(BigInt::FromUnsigned(~std::uint64_t{0}) + BigInt(1), BigInt(1)
                                                                     << 64);
  EXPECT_EQ(BigInt(-5).Sign(), -1);
  EXPECT_EQ(BigInt(0).Sign(), 0);
  EXPECT_EQ((BigInt(5) - BigInt(5)).Sign(), 0);
  EXPECT_EQ(Gcd(BigInt(-12), BigInt(18)), BigInt(6));
  EXPECT_EQ(Gcd(BigInt(0), BigInt(-7)), BigInt(7));
  EXPECT_EQ((BigInt(40) << 3).BitLength(), 9u);
  EXPECT_EQ(BigInt(40).TrailingZeros(), 3u);
}

// Larger values: a random integer of up to `limbs` 32-bit limbs, either sign.
BigInt Draw(std::mt19937* random, int limbs) {
  BigInt v;
  for (int i = 0; i < limbs; ++i) {
    v <<= 32;
    v += BigInt::FromUnsigned((*random)());
  }
  if ((*random)() % 2) v.Negate();
  return v;
}

TEST(BigInt, LargeValuesKeepTheRingLaws) {
  std::mt19937 random(11);
  const BigInt one(1);
  for (int trial = 0; trial < 500; ++trial) {
    const BigInt a = Draw(&random, static_cast<int>(random() % 9)),
                 b = Draw(&random, static_cast<int>(random() % 9));
    const BigInt small = Draw(&random, static_cast<int>(1 + random() % 2));
    EXPECT_EQ(a + b - b, a);
    EXPECT_EQ(a - b + b, a);
    EXPECT_EQ(a * b, b * a);
    EXPECT_EQ((a + b) * small, a * small + b * small);
    BigInt in_place = a;
    in_place *= small;
    EXPECT_EQ(in_place, a * small);
    in_place = a;
    in_place += in_place;  // the same object on both sides
    EXPECT_EQ(in_place, a << 1);
    in_place -= in_place;
    EXPECT_TRUE(in_place.IsZero());
    if (!b.IsZero()) {
      EXPECT_EQ(DivideExact(a * b, b), a);
      // Rounded towards zero: a remainder of the dividend's sign is dropped.
      BigInt rest = b;
      if (rest.Sign() < 0) rest.Negate();
      rest -= one;
      if ((a * b).Sign() < 0) rest.Negate();
      EXPECT_EQ(Quotient(a * b + rest, b), a);
    }
    const std::size_t bits = random() % 100;
    BigInt back = a << bits;
    back >>= bits;
    EXPECT_EQ(back, a);
    EXPECT_EQ(a << bits, a * (one << bits));
    EXPECT_EQ(Compare(a, b), (a - b).Sign());
    // Shifts of both sides agree with the order.
    EXPECT_EQ(Compare(a << bits, b << bits), Compare(a, b));

    const BigInt g = Gcd(a, b);
    if (!g.IsZero()) {
      EXPECT_EQ(DivideExact(a, g) * g, a);
      EXPECT_EQ(DivideExact(b, g) * g, b);
      EXPECT_EQ(Gcd(DivideExact(a, g), DivideExact(b, g)), one);
    }
    const std::uint32_t m = static_cast<std::uint32_t>(random()) | 1;
    const BigInt rest = a - BigInt(a.Mod(m));
    EXPECT_EQ(DivideExact(rest, BigInt(m)) * BigInt(m), rest);
    EXPECT_LT(a.Mod(m), m);

    long shift = -1;  // Top64 sets it in every case
    bool exact = false;
    BigInt magnitude = a;
    if (magnitude.Sign() < 0) magnitude.Negate();
    const BigInt top = BigInt::FromUnsigned(a.Top64(&shift, &exact));
    const BigInt floor = top << static_cast<std::size_t>(shift);
    EXPECT_LE(Compare(floor, magnitude), 0);
    EXPECT_GT(
        Compare((top + one) << static_cast<std::size_t>(shift), magnitude), 0);
    EXPECT_EQ(exact, floor == magnitude);
    EXPECT_EQ(top.BitLength(),
              std::min<std::size_t>(64, magnitude.BitLength()));
  }
}

TEST(BigInt, DecimalDigitsBothWays) {
  EXPECT_EQ(BigInt::FromDecimal(""), BigInt());
  EXPECT_EQ(BigInt().MagnitudeDecimal(), "0");
  EXPECT_EQ(BigInt(-1000000000).MagnitudeDecimal(), "1000000000");
  EXPECT_EQ(BigInt::PowerOfTen(0), BigInt(1));
  EXPECT_EQ(BigInt::PowerOfTen(19),
            BigInt::FromUnsigned(10000000000000000000ULL));
  // Chunks of nine digits with zeros inside, in both directions.
  const std::string inner = "1000000000000000005";
  EXPECT_EQ(BigInt::FromDecimal(inner), BigInt(1000000000000000005LL));
  EXPECT_EQ(BigInt(1000000000000000005LL).MagnitudeDecimal(), inner);
  std::mt19937 random(13);
  for (int trial = 0; trial < 200; ++trial) {
    std::string digits(1 + random() % 60, '0');
    for (char& c : digits) c = static_cast<char>('0' + random() % 10);
    digits[0] = static_cast<char>('1' + random() % 9);
    const BigInt v = BigInt::FromDecimal(digits);
    EXPECT_EQ(v.MagnitudeDecimal(), digits);
    EXPECT_EQ(BigInt::FromDecimal(digits + "000"), v * BigInt::PowerOfTen(3));
  }
}

}  // namespace
