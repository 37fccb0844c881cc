// quicksort_bench [--runs N] COUNT...: times every routine of
// sort_routines.h on the same COUNT values (drawn like `sort` draws them) and
// prints, per COUNT, a Markdown table of each routine's best time and its
// ratio to std::sort, to std::stable_sort and, when it is built in, to
// Boost's pdqsort (the quicksorts' peer). Each of the N runs (default 5)
// times every routine once, in turn, so that a busy moment of the machine
// falls on all of them alike; the best of the N runs counts.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sort_routines.h"

namespace {

int Table(int count, int runs) {
  std::vector<int> input(count);
  std::srand(0);
  for (int& v : input) v = std::rand() % count;

  const std::vector<SortRoutine>& routines = SortRoutines();
  std::vector<double> best(routines.size(), 1e30);
  for (int run = 0; run < runs; ++run) {
    for (size_t r = 0; r < routines.size(); ++r) {
      std::vector<int> v = input;
      double start = CpuSeconds();
      routines[r].sort(v);
      double took = CpuSeconds() - start;
      if (!std::is_sorted(v.begin(), v.end())) {
        std::fprintf(stderr, "quicksort_bench: %s left the values unsorted\n",
                     routines[r].name);
        return 1;
      }
      best[r] = std::min(best[r], took);
    }
  }
  size_t pdq = 0;  // pdqsort's row, if there is one
  for (size_t r = 0; r < routines.size(); ++r) {
    if (std::strcmp(routines[r].name, "pdqsort") == 0) pdq = r;
  }
  std::printf(
      "%d values, best of %d runs\n\n"
      "| routine | seconds | time / std::sort | time / std::stable_sort |%s\n"
      "|---|---|---|---|%s\n",
      count, runs, pdq ? " time / pdqsort |" : "", pdq ? "---|" : "");
  for (size_t r = 0; r < routines.size(); ++r) {
    std::printf("| %s | %.4f | %.2f | %.2f |", routines[r].name, best[r],
                best[r] / best[0], best[r] / best[1]);
    if (pdq) std::printf(" %.2f |", best[r] / best[pdq]);
    std::printf("\n");
  }
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  int arg = 1;
  if (arg + 1 < argc && std::strcmp(argv[arg], "--runs") == 0) {
    runs = std::atoi(argv[arg + 1]);
    arg += 2;
  }
  if (arg == argc || runs <= 0) {
    std::fprintf(stderr, "usage: quicksort_bench [--runs N] COUNT...\n");
    return 1;
  }
  for (; arg < argc; ++arg) {
    int count = std::atoi(argv[arg]);
    if (count <= 0 || Table(count, runs) != 0) return 1;
    std::fflush(stdout);
  }
  return 0;
}
