// roots_bench [SECONDS [NAME]]: times RealRoots, the work of rootscan
// --roots, on families of polynomials with integer coefficients, and prints
// one line per polynomial: its name, degree, real roots counted with
// multiplicity, and the processor time per call in microseconds. Each
// polynomial is solved again and again for SECONDS (default 0.2) of
// processor time, at least once. With NAME, only the polynomial of that
// name (for a profiler).
//
// roots_bench --paths [SECONDS [NAME]]: times each polynomial with every
// fast path of the exact root finder on, then with each off in turn
// (fast_paths.h), under the allowance of work and memory that rootscan
// --roots sets, and prints per polynomial the microseconds with all on and
// each path's time off as a multiple of that ("refused" past the
// allowance), and last wide_poly's off with approx_poly off too, as a
// multiple of approx_poly's off alone.
//
// roots_bench --gp [SECONDS]: prints instead a PARI/GP program that does the
// same with polrootsreal on the very same polynomials (their coefficients
// written out in full) and prints lines of the same form; bench/roots_bench.sh
// runs both and sets them side by side.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "big_int.h"
#include "fast_paths.h"
#include "int_poly.h"
#include "real_roots.h"
#include "work_budget.h"

namespace {

constexpr double kInf = __builtin_inf();

BigInt Int(long long v) { return BigInt(v); }

IntPoly Multiply(const IntPoly& a, const IntPoly& b) {
  IntPoly product(a.size() + b.size() - 1);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) product[i + j] += a[i] * b[j];
  }
  return product;
}

// The product of the factors (a x - b) for the pairs (a, b) given.
IntPoly FromLinearFactors(const std::vector<std::pair<BigInt, BigInt>>& f) {
  IntPoly p = {Int(1)};
  for (const auto& [a, b] : f) p = Multiply(p, {BigInt() - b, a});
  return p;
}

BigInt PowerOfTen(int k) {
  BigInt v(1);
  for (int i = 0; i < k; ++i) v *= Int(10);
  return v;
}

// Wilkinson's polynomial (x - 1)(x - 2)...(x - n).
IntPoly Wilkinson(int n) {
  std::vector<std::pair<BigInt, BigInt>> f;
  for (int k = 1; k <= n; ++k) f.emplace_back(Int(1), Int(k));
  return FromLinearFactors(f);
}

// The Chebyshev polynomial T_n: n real roots in (-1, 1), crowded towards the
// ends. T_k = 2x T_(k-1) - T_(k-2).
IntPoly Chebyshev(int n) {
  IntPoly previous = {Int(1)}, current = {Int(0), Int(1)};
  for (int k = 2; k <= n; ++k) {
    IntPoly next(current.size() + 1);
    for (std::size_t i = 0; i < current.size(); ++i)
      next[i + 1] = current[i] << 1;
    for (std::size_t i = 0; i < previous.size(); ++i) next[i] -= previous[i];
    previous = std::move(current);
    current = std::move(next);
  }
  return current;
}

BigInt Binomial(int n, int k) {
  BigInt v(1);
  for (int i = 1; i <= k; ++i) {
    v *= Int(n - k + i);
    v = DivideExact(v, Int(i));
  }
  return v;
}

// 2^n times the Legendre polynomial P_n: the sum over k of
// (-1)^k C(n, k) C(2n - 2k, n) x^(n - 2k).
IntPoly Legendre(int n) {
  IntPoly p(n + 1);
  for (int k = 0; 2 * k <= n; ++k) {
    p[n - 2 * k] = Binomial(n, k) * Binomial(2 * n - 2 * k, n);
    if (k % 2 == 1) p[n - 2 * k].Negate();
  }
  return p;
}

// Mignotte-style: x^n - 2(10x - 1)^2, two roots very close to 1/10.
IntPoly Mignotte(int n) {
  IntPoly p(n + 1);
  p[n] = Int(1);
  p[2] = Int(-200);
  p[1] = Int(40);
  p[0] = Int(-2);
  return p;
}

// Roots of high multiplicity: (x - 1)^12 (x + 2)^9 (3x - 1)^7 (x^2 - 2)^5.
IntPoly Multiplicities() {
  std::vector<std::pair<BigInt, BigInt>> f;
  f.reserve(12 + 9 + 7);
  for (int i = 0; i < 12; ++i) f.emplace_back(Int(1), Int(1));
  for (int i = 0; i < 9; ++i) f.emplace_back(Int(1), Int(-2));
  for (int i = 0; i < 7; ++i) f.emplace_back(Int(3), Int(1));
  IntPoly p = FromLinearFactors(f);
  for (int i = 0; i < 5; ++i) p = Multiply(p, {Int(-2), Int(0), Int(1)});
  return p;
}

// Roots from 1e-100 to 1e100: 10^(10k) and 10^(-10k) for k = 1..10, and 1.
IntPoly Spread() {
  std::vector<std::pair<BigInt, BigInt>> f = {{Int(1), Int(1)}};
  for (int k = 1; k <= 10; ++k) {
    f.emplace_back(Int(1), PowerOfTen(10 * k));
    f.emplace_back(PowerOfTen(10 * k), Int(1));
  }
  return FromLinearFactors(f);
}

// Coefficients drawn evenly from -1000 to 1000, the top one not 0, from a
// fixed seed.
IntPoly Random(int n, std::uint64_t seed) {
  IntPoly p(n + 1);
  for (int i = 0; i <= n; ++i) {
    long long c = 0;
    do {
      seed = seed * 6364136223846793005u + 1442695040888963407u;
      c = static_cast<long long>((seed >> 33) % 2001) - 1000;
    } while (i == n && c == 0);
    p[i] = Int(c);
  }
  return p;
}

// x^n - 1.
IntPoly PowerMinusOne(int n) {
  IntPoly p(n + 1);
  p[n] = Int(1);
  p[0] = Int(-1);
  return p;
}

// Short fraction roots a / b among an irreducible quadratic: the product
// of (b x - a) for b = 1..n, a = 2b + 1, and x^2 - 3.
IntPoly FractionRoots(int n) {
  std::vector<std::pair<BigInt, BigInt>> f;
  for (int b = 1; b <= n; ++b) f.emplace_back(Int(b), Int(2 * b + 1));
  return Multiply(FromLinearFactors(f), {Int(-3), Int(0), Int(1)});
}

// Repeated factors with long coefficients: (a x^2 + b x - c)^3 (x - d)^2
// with a, b, c, d of about 60 decimal digits.
IntPoly LongRepeated() {
  const BigInt big = PowerOfTen(60);
  const IntPoly q = {BigInt() - big - Int(7), big + Int(3), big + Int(1)};
  const IntPoly l = {BigInt() - big - Int(11), Int(1)};
  return Multiply(Multiply(Multiply(q, q), q), Multiply(l, l));
}

// x^n - c.
IntPoly PowerMinus(int n, long long c) {
  IntPoly p(n + 1);
  p[n] = Int(1);
  p[0] = Int(-c);
  return p;
}

struct Row {
  std::string name;
  IntPoly p;
};

std::vector<Row> Rows() {
  std::vector<Row> rows;
  for (int n : {20, 40})
    rows.push_back({"wilkinson-" + std::to_string(n), Wilkinson(n)});
  for (int n : {20, 50})
    rows.push_back({"chebyshev-T" + std::to_string(n), Chebyshev(n)});
  for (int n : {20, 50})
    rows.push_back({"legendre-P" + std::to_string(n), Legendre(n)});
  for (int n : {20, 100})
    rows.push_back({"mignotte-" + std::to_string(n), Mignotte(n)});
  rows.push_back({"multiplicities", Multiplicities()});
  rows.push_back({"spread-1e-100..1e100", Spread()});
  for (int n : {20, 50, 100, 1000}) {
    rows.push_back({"random-" + std::to_string(n), Random(n, 1000 + n)});
  }
  for (int n : {100, 1000})
    rows.push_back({"x^" + std::to_string(n) + "-1", PowerMinusOne(n)});
  for (int n : {10, 30})
    rows.push_back({"fraction-roots-" + std::to_string(n), FractionRoots(n)});
  rows.push_back({"long-repeated", LongRepeated()});
  rows.push_back({"x^60-7", PowerMinus(60, 7)});
  return rows;
}

// The decimal digits of v.
std::string Decimal(const BigInt& v) {
  return (v.Sign() < 0 ? "-" : "") + v.MagnitudeDecimal();
}

void PrintGp(const std::vector<Row>& rows, double seconds) {
  std::printf(
      "default(parisizemax, 2^30);\n"
      "default(debugmem, 0);\n"
      "bench(name, p, secs) = {\n"
      "  my(n = 0, start = getabstime(), t = 0, r);\n"
      "  until(t >= secs * 1000, r = polrootsreal(p); n++;\n"
      "        t = getabstime() - start);\n"
      "  printf(\"%%s %%d %%d %%.1f\\n\", name, poldegree(p), #r,"
      " t * 1000. / n);\n"
      "}\n");
  for (const Row& row : rows) {
    std::printf("bench(\"%s\", Pol([", row.name.c_str());
    for (std::size_t i = row.p.size(); i-- > 0;) {
      std::printf("%s%s", Decimal(row.p[i]).c_str(), i > 0 ? "," : "");
    }
    std::printf("]), %g);\n", seconds);
  }
  std::printf("quit;\n");
}

// Processor seconds per call of RealRoots(p) over the whole line, and the
// roots found, counted with multiplicity.
double SecondsPerCall(const IntPoly& p, double seconds, int* found) {
  const std::clock_t start = std::clock();
  long calls = 0;
  double spent = 0;
  do {
    *found = 0;
    for (const RealRoot& r : RealRoots(p, -kInf, kInf))
      *found += r.multiplicity;
    ++calls;
    spent = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  } while (spent < seconds);
  return spent / calls;
}

// The fast paths, each timed off in turn.
struct Path {
  const char* name;
  FastPath bit;
};
constexpr Path kPaths[] = {{"approx", kApproxPoly},
                           {"wide", kWidePoly},
                           {"modgcd", kModularGcd},
                           {"power", kPowerRoots},
                           {"rational", kRationalRoots}};

// rootscan --roots's allowance (roots_mode.cc): work and bytes held.
constexpr double kMaxWork = 2e9;
constexpr std::size_t kMaxMemory = std::size_t{512} << 20;

// SecondsPerCall with only the paths in mask on, each call under the
// allowance; -1 when a call passes it.
double SecondsWithPaths(const IntPoly& p, unsigned mask, double seconds,
                        int* found) {
  SetFastPaths(mask);
  const std::clock_t start = std::clock();
  long calls = 0;
  double spent = 0;
  try {
    do {
      const WorkBudget budget(kMaxWork, kMaxMemory);
      *found = 0;
      for (const RealRoot& r : RealRoots(p, -kInf, kInf))
        *found += r.multiplicity;
      ++calls;
      spent = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    } while (spent < seconds);
  } catch (const WorkExceeded&) {
    calls = 0;
  }
  SetFastPaths(kAllFastPaths);
  return calls == 0 ? -1 : spent / static_cast<double>(calls);
}

void PrintPaths(const std::vector<Row>& rows, double seconds,
                const char* only) {
  std::printf("%-22s %6s %6s %12s", "polynomial", "degree", "roots",
              "all on us");
  for (const Path& path : kPaths) std::printf(" %9s", path.name);
  std::printf(" %12s\n", "wide/approx");
  for (const Row& row : rows) {
    if (only != nullptr && row.name != only) continue;
    int found = 0;
    const double on = SecondsWithPaths(row.p, kAllFastPaths, seconds, &found);
    std::printf("%-22s %6d %6d %12.1f", row.name.c_str(), Degree(row.p), found,
                on * 1e6);
    for (const Path& path : kPaths) {
      int found_off = 0;
      const double off = SecondsWithPaths(row.p, kAllFastPaths & ~path.bit,
                                          seconds, &found_off);
      if (off < 0) {
        std::printf(" %9s", "refused");
      } else {
        std::printf(" %8.2fx", off / on);
      }
    }
    // The flat layout serves the exact route, which approx_poly mostly
    // spares: wide_poly off again, against approx_poly off alone.
    int found_exact = 0;
    const unsigned exact = kAllFastPaths & ~kApproxPoly;
    const double base = SecondsWithPaths(row.p, exact, seconds, &found_exact);
    const double wide = base < 0 ? -1
                                 : SecondsWithPaths(row.p, exact & ~kWidePoly,
                                                    seconds, &found_exact);
    if (wide < 0) {
      std::printf(" %12s", "refused");
    } else {
      std::printf(" %11.2fx", wide / base);
    }
    std::printf("\n");
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--paths") == 0) {
    PrintPaths(Rows(), argc > 2 ? std::atof(argv[2]) : 0.2,
               argc > 3 ? argv[3] : nullptr);
    return 0;
  }
  const bool gp = argc > 1 && std::strcmp(argv[1], "--gp") == 0;
  const int first = gp ? 2 : 1;
  const double seconds = argc > first ? std::atof(argv[first]) : 0.2;
  const std::vector<Row> rows = Rows();
  if (gp) {
    PrintGp(rows, seconds);
    return 0;
  }
  for (const Row& row : rows) {
    if (argc > 2 && row.name != argv[2]) continue;
    int found = 0;
    const double t = SecondsPerCall(row.p, seconds, &found);
    std::printf("%s %d %d %.1f\n", row.name.c_str(), Degree(row.p), found,
                t * 1e6);
    std::fflush(stdout);
  }
  return 0;
}
