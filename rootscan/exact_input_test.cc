#include "exact_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ExactInput, ReadsNumbersAsWritten) {
  struct Case {
    std::string text;
    std::string num, den;  // the value is num / den
  };
  const Case cases[] = {
      {"42", "42", "1"},
      {"-0.25", "-1", "4"},
      {"+1e-3", "1", "1000"},
      {"1.5E2", "150", "1"},
      {".5", "1", "2"},
      {"5.", "5", "1"},
      {"-007", "-7", "1"},
      {"0e999", "0", "1"},
      {"-0.000", "0", "1"},
      {"123456789012345678901234567890", "123456789012345678901234567890", "1"},
      {"-1/4", "-1", "4"},
      {"6/4", "3", "2"},
      {"0/5", "0", "1"},
      {"0x1.8p-3", "3", "16"},
      {"-0XAp+2", "-40", "1"},
      {"0x.1", "1", "16"},
      {"0x1e", "30", "1"},
      {"1e-1000", "1", "1" + std::string(1000, '0')},
      {std::string(1000, '9'), std::string(1000, '9'), "1"},
  };
  for (const Case& c : cases) {
    WrittenNumber n;
    std::string reason;
    ASSERT_TRUE(CheckExact(c.text, &n, &reason)) << c.text << ": " << reason;
    EXPECT_EQ(n.zero, c.num == "0") << c.text;
    const Fraction v = ExactValue(n);
    ASSERT_EQ(v.den.Sign(), 1) << c.text;
    // num / den = c.num / c.den, compared crosswise.
    BigInt want = BigInt::FromDecimal(c.num.substr(c.num[0] == '-'));
    if (c.num[0] == '-') want.Negate();
    EXPECT_EQ(v.num * BigInt::FromDecimal(c.den), want * v.den) << c.text;
  }
}

TEST(ExactInput, RefusesAnythingElseSayingWhy) {
  const std::string not_a_number = "is not a number";
  const std::string cases[][2] = {
      {"", not_a_number},
      {"-", not_a_number},
      {"abc", not_a_number},
      {"1,5", not_a_number},
      {" 1", not_a_number},
      {"1 ", not_a_number},
      {"1/", not_a_number},
      {"/2", not_a_number},
      {"1/-4", not_a_number},
      {"1.5/2", not_a_number},
      {"1/2e3", not_a_number},
      {"0x", not_a_number},
      {"1e", not_a_number},
      {"1e+", not_a_number},
      {"0x1p", not_a_number},
      {"inf", not_a_number},
      {"nan", not_a_number},
      {"1..2", not_a_number},
      {"1/0", "has a zero denominator"},
      {"-3/000", "has a zero denominator"},
      {"1e1001", "has an exponent beyond +-1000"},
      {"1e-1001", "has an exponent beyond +-1000"},
      {"1e99999999999999999999", "has an exponent beyond +-1000"},
      {"0x1p4001", "has an exponent beyond +-4000"},
      {"0." + std::string(1000, '0'), "has more than 1000 digits"},
      {"1/" + std::string(1001, '1'), "has more than 1000 digits"},
  };
  for (const auto& c : cases) {
    WrittenNumber n;
    std::string reason;
    EXPECT_FALSE(CheckExact(c[0], &n, &reason)) << c[0];
    EXPECT_EQ(reason, c[1]) << c[0];
  }
  // Control and other bytes escaped; cut after 40 bytes of the text.
  EXPECT_EQ(Quoted("1\n2"), "\"1\\x0a2\"");
  EXPECT_EQ(Quoted("a\x1b[31m\"\xc3\xa9"), "\"a\\x1b[31m\\\"\\xc3\\xa9\"");
  std::string tabs;
  for (int i = 0; i < 40; ++i) tabs += "\\x09";
  EXPECT_EQ(Quoted(std::string(41, '\t')), "\"" + tabs + "\"...");
  EXPECT_EQ(Quoted(std::string(41, 'x')),
            "\"" + std::string(40, 'x') + "\"...");
}

// A long text is refused at the byte that passes a limit, whatever
// follows; zeros that lead an exponent count for nothing.
TEST(ExactInput, RefusesAtTheFirstByteBeyondALimit) {
  NumberReader digits;
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(digits.Add('7'));
  EXPECT_FALSE(digits.Add('7'));
  EXPECT_FALSE(digits.Add('x'));  // taken no more
  EXPECT_EQ(digits.reason(), "has more than 1000 digits");
  EXPECT_EQ(digits.start(), std::string(41, '7'));
  NumberReader exponent;
  const std::string text = "-1e-" + std::string(5000, '0') + "100";
  for (const char c : text) ASSERT_TRUE(exponent.Add(c));
  NumberReader beyond = exponent;
  WrittenNumber n;
  ASSERT_TRUE(exponent.Finish(&n));
  EXPECT_EQ(n.exponent, -100);
  EXPECT_TRUE(n.negative);
  EXPECT_TRUE(beyond.Add('0'));  // -1000, the limit
  EXPECT_FALSE(beyond.Add('0'));
  EXPECT_EQ(beyond.reason(), "has an exponent beyond +-1000");
}

}  // namespace
