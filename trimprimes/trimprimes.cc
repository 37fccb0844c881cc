#include "trimprimes.h"

#include <cmath>

#include "progutil.h"

bool isPrime(int n) {
  // Below 2 nothing is prime. (Plain trial division would call 0 prime,
  // since no divisor is at most its root, and would compare with the root of
  // a negative number, which is not a number.)
  if (n < 2) return false;
  // A composite n has a divisor no larger than its root. The bound is
  // inclusive, so the divisor of a square (4, 9, 25, ...) is tried; sqrt of
  // an int is exact enough that i <= root agrees with i * i <= n.
  const double root = std::sqrt(static_cast<double>(n));
  for (int i = 2; i <= root; ++i) {
    if (n % i == 0) return false;
  }
  return true;
}

bool isTruncatable(int n) {
  if (n < 1) return false;
  // Prefixes: n, n without its last digit, ... down to its leading digit.
  // Counts the digits on the way.
  int digits = 0;
  int t = n;
  do {
    if (!isPrime(t)) return false;
    ++digits;
    t /= 10;
  } while (t != 0);
  // Suffixes: n % 10^k for k from the digit count down to 1, that is n itself,
  // n without its leading digit, ... down to its last digit. 10^k fits an int
  // up to k = 9; for a ten-digit n the remainder by 10^10 is n itself.
  constexpr int kMaxPowerInInt = 9;
  for (int k = digits; k >= 1; --k) {
    const int r =
        k > kMaxPowerInInt ? n : n % static_cast<int>(std::pow(10.0, k));
    if (!isPrime(r)) return false;
  }
  return true;
}

int SumOfTruncatablePrimes() {
  // There are exactly eleven such primes; the search stops at the eleventh.
  constexpr int kWanted = 11;
  int n = 11;  // One-digit primes do not count, so the search starts at 11.
  int finds = 0;
  int sum = 0;
  do {
    if (isTruncatable(n)) {
      ++finds;
      sum += n;
    }
    n += 2;  // Even numbers above 2 are never prime.
  } while (finds < kWanted);
  return sum;
}

namespace {

progutil::Status PrintSum(const std::vector<std::string>& /*args*/,
                          std::FILE* /*in*/, std::FILE* out,
                          std::FILE* /*notes*/, std::string* /*reason*/) {
  std::fprintf(out, "%d", SumOfTruncatablePrimes());
  return progutil::Status::kDone;
}

constexpr progutil::Program kTrimprimes = {
    "trimprimes", PrintSum, "usage: trimprimes\n",
    "Prints the sum of the eleven primes above 10 that stay prime as digits\n"
    "are cut from either end, with no newline. Takes no arguments or input.\n"};

}  // namespace

int RunTrimprimes(const std::vector<std::string>& args, std::FILE* in,
                  std::FILE* out, std::FILE* err) {
  return progutil::Run(kTrimprimes, args, in, out, err);
}
