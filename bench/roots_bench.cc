// roots_bench [SECONDS]: times RealRoots, the work of rootscan --roots, on
// polynomials of degree 5, 10, 20 and 30 with all their roots real, and
// prints the processor time per call. Each polynomial is solved again and
// again for SECONDS (default 0.5) of processor time; the figure is the
// fastest of five such rounds, divided by the calls in it.
// Target: degree 20 with 20 real roots in under 1 ms.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "real_roots.h"

namespace {

constexpr double kInf = __builtin_inf();

// The Chebyshev polynomial T_n, highest power first: n real roots in
// (-1, 1), crowded towards the ends, with integer coefficients (exact).
std::vector<double> Chebyshev(int n) {
  std::vector<double> previous = {1}, current = {1, 0};  // T_0, T_1
  if (n == 0) return previous;
  for (int k = 2; k <= n; ++k) {
    // T_k = 2x T_(k-1) - T_(k-2), highest power first.
    std::vector<double> next(current.size() + 1, 0.0);
    for (std::size_t i = 0; i < current.size(); ++i) next[i] = 2 * current[i];
    for (std::size_t i = 0; i < previous.size(); ++i)
      next[next.size() - previous.size() + i] -= previous[i];
    previous = current;
    current = next;
  }
  return current;
}

// The product of (x - r), highest power first, rounded to doubles as it goes.
std::vector<double> FromRoots(const std::vector<double>& roots) {
  std::vector<double> p = {1};
  for (double r : roots) {
    std::vector<double> q(p.size() + 1, 0.0);
    for (std::size_t i = 0; i < p.size(); ++i) {
      q[i] += p[i];
      q[i + 1] -= r * p[i];
    }
    p = q;
  }
  return p;
}

// The roots +-1, +-2, ... up to n of them (n even), as doubles.
std::vector<double> PlusMinusIntegers(int n) {
  std::vector<double> roots;
  for (int k = 1; 2 * k <= n; ++k) {
    roots.push_back(k);
    roots.push_back(-k);
  }
  return roots;
}

// Processor seconds per call of RealRoots(p) over the whole line.
double SecondsPerCall(const std::vector<double>& p, double seconds,
                      std::size_t* found) {
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    const std::clock_t start = std::clock();
    long calls = 0;
    double spent = 0;
    do {
      *found = RealRoots(p, -kInf, kInf).size();
      ++calls;
      spent = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    } while (spent < seconds);
    if (spent / calls < best) best = spent / calls;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
  struct Row {
    std::string name;
    std::vector<double> p;
  };
  std::vector<Row> rows;
  for (int n : {5, 10, 20, 30}) {
    rows.push_back({"Chebyshev T_" + std::to_string(n), Chebyshev(n)});
  }
  for (int n : {10, 20, 30}) {
    rows.push_back({"roots +-1 .. +-" + std::to_string(n / 2),
                    FromRoots(PlusMinusIntegers(n))});
  }
  std::printf("%-22s %6s %6s %12s\n", "polynomial", "degree", "roots",
              "us per call");
  double target = 0;
  for (const Row& row : rows) {
    std::size_t found = 0;
    const double t = SecondsPerCall(row.p, seconds, &found);
    const int degree = static_cast<int>(row.p.size()) - 1;
    std::printf("%-22s %6d %6zu %12.1f\n", row.name.c_str(), degree, found,
                t * 1e6);
    if (degree == 20 && found == 20 && t > target) target = t;
  }
  std::printf(
      "degree 20, 20 real roots: at most %.3f ms per call (target "
      "under 1 ms)\n",
      target * 1e3);
  return 0;
}
