// trimprimes: prints the sum of the first eleven two-sided truncatable primes
// above 10, with no newline. A failed write is reported with status 1.

#include <iostream>

#include "trimprimes.h"

int main() {
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
  std::cout << sum << std::flush;
  if (!std::cout) {
    std::cerr << "trimprimes: write error\n";
    return 1;
  }
  return 0;
}
