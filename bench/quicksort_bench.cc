// quicksort_bench [COUNT]: times quicksort, q_sort, mergesort and std::sort
// on the same COUNT values (default 10,000,000, drawn like `sort` draws them)
// and prints each time and its ratio to std::sort.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "sort.h"

namespace {

double SecondsToSort(const std::vector<int>& input,
                     const std::function<void(std::vector<int>&)>& sort) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {  // best of three damps machine noise
    std::vector<int> v = input;
    auto start = std::chrono::steady_clock::now();
    sort(v);
    std::chrono::duration<double> took =
        std::chrono::steady_clock::now() - start;
    if (!std::is_sorted(v.begin(), v.end())) std::abort();
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 10000000;
  if (count <= 0) return 1;
  std::vector<int> input(count);
  std::srand(0);
  for (int& v : input) v = std::rand() % count;

  double base = SecondsToSort(
      input, [](std::vector<int>& v) { std::sort(v.begin(), v.end()); });
  std::printf("%-10s %8.3f s\n", "std::sort", base);
  const std::pair<const char*, std::function<void(std::vector<int>&)>> sorts[] =
      {
          {"quicksort",
           [](std::vector<int>& v) {
             quicksort(v.data(), static_cast<int>(v.size()));
           }},
          {"q_sort",
           [](std::vector<int>& v) {
             q_sort(v.data(), 0, static_cast<int>(v.size()) - 1);
           }},
          {"mergesort",
           [](std::vector<int>& v) {
             mergesort(v.data(), static_cast<int>(v.size()));
           }},
      };
  for (const auto& [name, sort] : sorts) {
    double t = SecondsToSort(input, sort);
    std::printf("%-10s %8.3f s   %.2f x std::sort\n", name, t, t / base);
  }
  return 0;
}
