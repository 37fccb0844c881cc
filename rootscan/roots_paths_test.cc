// --roots gives the same bytes with any fast path of the exact root finder
// switched off as with all on, and the bytes recorded in testdata/, on a
// fixed set of polynomials made from a fixed seed: products of linear
// factors, repeated roots, huge coefficients, sparse polynomials of high
// degree, x^n - c, short fraction roots, irreducible ones with close roots,
// and coefficients written as decimals.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "big_int.h"
#include "fast_paths.h"
#include "int_poly.h"
#include "poly_testing.h"
#include "rootscan.h"
#include "run_program.h"

namespace {

// A 64-bit linear congruential generator: the same numbers everywhere.
class Draw {
 public:
  explicit Draw(std::uint64_t seed) : state_(seed) {}
  // A whole number from lo to hi, both included.
  long long Between(long long lo, long long hi) {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return lo + static_cast<long long>((state_ >> 33) %
                                       static_cast<std::uint64_t>(hi - lo + 1));
  }
  // A number of about `digits` decimal digits, of either sign.
  BigInt Huge(int digits) {
    BigInt v(Between(1, 9));
    for (int i = 1; i < digits; ++i) {
      v *= BigInt(10);
      v += BigInt(Between(0, 9));
    }
    if (Between(0, 1) == 1) v.Negate();
    return v;
  }

 private:
  std::uint64_t state_;
};

// a x - b.
IntPoly Linear(const BigInt& a, const BigInt& b) { return {BigInt() - b, a}; }
IntPoly Linear(long long a, long long b) {
  return Linear(BigInt(a), BigInt(b));
}

// The decimal digits of v.
std::string Decimal(const BigInt& v) {
  return (v.Sign() < 0 ? "-" : "") + v.MagnitudeDecimal();
}

// p as a line, highest power first.
std::string Line(const IntPoly& p) {
  std::string line;
  for (std::size_t i = p.size(); i-- > 0;)
    line += Decimal(p[i]) + (i > 0 ? " " : "");
  return line;
}

// c x^n + the terms given as (power, coefficient).
IntPoly Sparse(int n, const std::vector<std::pair<int, BigInt>>& terms) {
  IntPoly p(static_cast<std::size_t>(n) + 1);
  p[n] = BigInt(1);
  for (const auto& [power, c] : terms) p[power] += c;
  TrimPoly(&p);
  return p;
}

// The set, one polynomial a line as --roots reads it, the same on every
// machine.
std::vector<std::string> RootsSetLines() {
  Draw draw(20240611);
  std::vector<std::string> lines;
  // Products of 2 to 12 linear factors with whole roots.
  for (int i = 0; i < 40; ++i) {
    IntPoly p = {BigInt(1)};
    for (long long k = draw.Between(2, 12); k > 0; --k)
      p = Times(p, Linear(1, draw.Between(-20, 20)));
    lines.push_back(Line(p));
  }
  // Repeated roots, some of them irrational: (x - a)^j (x^2 - c)^k ...
  for (int i = 0; i < 30; ++i) {
    IntPoly p = {BigInt(draw.Between(1, 5))};
    for (long long k = draw.Between(1, 6); k > 0; --k)
      p = Times(p, Linear(1, draw.Between(-9, 9)));
    const IntPoly square = {BigInt(-draw.Between(2, 7)), BigInt(0), BigInt(1)};
    for (long long k = draw.Between(0, 4); k > 0; --k) p = Times(p, square);
    lines.push_back(Line(p));
  }
  // Huge coefficients: random ones of 30 to 80 digits, and products of
  // factors with huge coefficients, squared in part.
  for (int i = 0; i < 20; ++i) {
    IntPoly p;
    for (long long k = draw.Between(3, 8); k >= 0; --k)
      p.push_back(draw.Huge(static_cast<int>(draw.Between(30, 80))));
    TrimPoly(&p);
    lines.push_back(Line(p));
  }
  for (int i = 0; i < 20; ++i) {
    const IntPoly f = Linear(draw.Huge(25), draw.Huge(30));
    IntPoly p = Times(f, Linear(draw.Huge(20), draw.Huge(5)));
    if (i % 2 == 0) p = Times(p, f);
    p = Times(p, {draw.Huge(40), BigInt(0), BigInt(draw.Between(1, 9))});
    lines.push_back(Line(p));
  }
  // Sparse, of high degree: x^n + a x^m + b.
  for (int i = 0; i < 30; ++i) {
    const int n = static_cast<int>(draw.Between(20, 150));
    const int m = static_cast<int>(draw.Between(1, n - 1));
    lines.push_back(Line(Sparse(n, {{m, BigInt(draw.Between(-50, 50))},
                                    {0, BigInt(draw.Between(-50, 50))}})));
  }
  // x^n - c, c a perfect power now and then, and polynomials in x^k.
  for (int i = 0; i < 30; ++i) {
    const int n = static_cast<int>(draw.Between(2, 60));
    BigInt c(draw.Between(-40, 40));
    if (i % 3 == 0) {
      const BigInt base(draw.Between(2, 5));
      c = BigInt(1);
      for (int k = 0; k < n; ++k) c *= base;
    }
    lines.push_back(Line(Sparse(n, {{0, BigInt() - c}})));
  }
  for (int i = 0; i < 15; ++i) {
    const int k = static_cast<int>(draw.Between(2, 12));
    lines.push_back(Line(Sparse(3 * k, {{2 * k, BigInt(draw.Between(-9, 9))},
                                        {k, BigInt(draw.Between(-20, 20))},
                                        {0, BigInt(draw.Between(-9, 9))}})));
  }
  // Short fraction roots among irreducible factors.
  for (int i = 0; i < 30; ++i) {
    IntPoly p = {BigInt(-draw.Between(2, 11)), BigInt(draw.Between(-3, 3)),
                 BigInt(draw.Between(1, 4))};
    for (long long k = draw.Between(1, 8); k > 0; --k)
      p = Times(p, Linear(draw.Between(1, 64), draw.Between(-300, 300)));
    lines.push_back(Line(p));
  }
  // Irreducible, with close roots: x^n - 2 (a x - 1)^2, and two roots
  // 10^-k apart around a quadratic irrational.
  for (int i = 0; i < 15; ++i) {
    const long long a = draw.Between(2, 60);
    lines.push_back(Line(Sparse(
        static_cast<int>(draw.Between(3, 40)),
        {{2, BigInt(-2 * a * a)}, {1, BigInt(4 * a)}, {0, BigInt(-2)}})));
  }
  for (int i = 0; i < 15; ++i) {
    BigInt scale(1);
    for (long long k = draw.Between(5, 30); k > 0; --k) scale *= BigInt(10);
    // scale^2 (x^2 - c) - 1 and the same + 1: roots beside sqrt(c).
    const BigInt c(draw.Between(2, 99));
    const IntPoly low = {BigInt() - scale * scale * c - BigInt(1), BigInt(0),
                         scale * scale};
    const IntPoly high = {BigInt() - scale * scale * c + BigInt(1), BigInt(0),
                          scale * scale};
    lines.push_back(Line(Times(low, high)));
  }
  // Coefficients written as decimals, read exactly.
  for (int i = 0; i < 20; ++i) {
    std::string line;
    for (long long k = draw.Between(2, 9); k >= 0; --k) {
      line +=
          std::to_string(draw.Between(-999, 999)) + "." +
          std::to_string(draw.Between(0, 99)) +
          (draw.Between(0, 3) == 0 ? "e-" + std::to_string(draw.Between(1, 30))
                                   : "") +
          (k > 0 ? " " : "");
    }
    lines.push_back(line);
  }
  return lines;
}

// Under the sanitizers, which make the exact arithmetic about ten times
// slower, every fourth polynomial of the set only.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kEvery = 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kEvery = 4;
#else
constexpr std::size_t kEvery = 1;
#endif
#else
constexpr std::size_t kEvery = 1;
#endif

// The answers of --roots, with --digits digits when digits is not 0, to
// the lines given, with only the fast paths in mask on: one string apiece.
std::vector<std::string> Answers(const std::vector<std::string>& lines,
                                 int digits, unsigned mask) {
  std::string input;
  for (const std::string& line : lines) input += line + "\n";
  std::vector<std::string> args = {"--roots"};
  if (digits != 0) {
    args.push_back("--digits");
    args.push_back(std::to_string(digits));
  }
  SetFastPaths(mask);
  const testutil::ProgramResult r =
      testutil::RunInProcess(RunRootscan, args, input);
  SetFastPaths(kAllFastPaths);
  EXPECT_EQ(r.status, 0) << r.err;
  // The answers are apart by one blank line.
  std::vector<std::string> answers;
  for (std::size_t at = 0; at < r.out.size();) {
    std::size_t end = r.out.find("\n\n", at);
    if (end == std::string::npos) end = r.out.size() - 1;
    answers.push_back(r.out.substr(at, end + 1 - at));
    at = end + 2;
  }
  return answers;
}

// Every answer, apart by blank lines, as the golden files hold them.
std::string Joined(const std::vector<std::string>& answers) {
  std::string all;
  for (const std::string& a : answers) all += (all.empty() ? "" : "\n") + a;
  return all;
}

struct Path {
  const char* name;
  unsigned mask;  // the paths left on
};

const Path kPathsOff[] = {
    {"approx_poly", kAllFastPaths & ~kApproxPoly},
    {"wide_poly", kAllFastPaths & ~kWidePoly},
    {"modular gcd", kAllFastPaths & ~kModularGcd},
    {"power_roots", kAllFastPaths & ~kPowerRoots},
    {"rational_roots", kAllFastPaths & ~kRationalRoots},
    {"every path", 0},
};

// The set's answers with every path on against the golden file's, then
// with each path off in turn, and all of them, against those.
void ExpectSameAnswers(int digits, const std::string& golden_name) {
  const std::vector<std::string> all_lines = RootsSetLines();
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < all_lines.size(); i += kEvery)
    lines.push_back(all_lines[i]);
  const std::vector<std::string> on = Answers(lines, digits, kAllFastPaths);
  ASSERT_EQ(on.size(), lines.size());

  std::vector<std::string> golden;
  {
    std::ifstream in(std::string(ROOTS_TESTDATA) + "/" + golden_name);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string all = bytes.str() + "\n";
    for (std::size_t at = 0; at < all.size();) {
      const std::size_t end = all.find("\n\n", at);
      if (end == std::string::npos) break;
      golden.push_back(all.substr(at, end + 1 - at));
      at = end + 2;
    }
  }
  if (golden.size() != all_lines.size() && kEvery == 1) {
    std::ofstream(golden_name) << Joined(on);
    std::ofstream set("roots_paths.in");
    for (const std::string& line : all_lines) set << line << "\n";
    ADD_FAILURE() << golden_name << " holds " << golden.size()
                  << " answers for " << all_lines.size()
                  << " polynomials; this build's answers are in " << golden_name
                  << ", the set in roots_paths.in, both in "
                  << "the test's folder";
  }
  ASSERT_EQ(golden.size(), all_lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(on[i], golden[i * kEvery]) << lines[i];
  }
  for (const Path& path : kPathsOff) {
    const std::vector<std::string> off = Answers(lines, digits, path.mask);
    ASSERT_EQ(off.size(), lines.size()) << path.name;
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(off[i], on[i]) << path.name << " off: " << lines[i];
  }
}

TEST(RootsPaths, NearestDoublesAlikeWithAnyPathOff) {
  if (kEvery > 1) {
    std::printf("sanitized build: one polynomial in %zu of the set\n", kEvery);
  }
  ExpectSameAnswers(0, "roots_paths.out");
}

TEST(RootsPaths, TwentyFiveDigitsAlikeWithAnyPathOff) {
  ExpectSameAnswers(25, "roots_paths_digits25.out");
}

// Every path is on unless switched off, and the switch turns off the path
// named alone: a path that stays off would pass the tests above unseen.
TEST(RootsPaths, EachSwitchTurnsOffItsPathAlone) {
  const FastPath paths[] = {kApproxPoly, kWidePoly, kModularGcd, kPowerRoots,
                            kRationalRoots};
  for (FastPath path : paths) EXPECT_TRUE(FastPathOn(path)) << path;
  for (FastPath off : paths) {
    SetFastPaths(kAllFastPaths & ~off);
    for (FastPath path : paths) EXPECT_EQ(FastPathOn(path), path != off);
  }
  SetFastPaths(kAllFastPaths);
}

}  // namespace
