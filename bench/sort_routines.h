#ifndef BENCH_SORT_ROUTINES_H_
#define BENCH_SORT_ROUTINES_H_

// The sorts the sorting benchmarks time side by side: the library's, the
// standard library's and, when CMake found Boost's sort headers
// (BENCH_BOOST_SORT), Boost's pdqsort, integer_sort (spreadsort) and
// flat_stable_sort as peers. The peers are timed as black boxes.

#include <time.h>

#include <algorithm>
#include <vector>

#if BENCH_BOOST_SORT
#include <boost/sort/flat_stable_sort/flat_stable_sort.hpp>
#include <boost/sort/pdqsort/pdqsort.hpp>
#include <boost/sort/spreadsort/integer_sort.hpp>
#endif

#include "sort.h"

/// The processor time this process has used, in seconds. The benchmarks time
/// with it rather than the wall clock: on a machine shared with other work,
/// time spent waiting for a processor is not the sort's.
inline double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct SortRoutine {
  const char* name;
  void (*sort)(std::vector<int>&);
};

/// Every routine, std::sort first and std::stable_sort second (the
/// references the others are measured against).
inline const std::vector<SortRoutine>& SortRoutines() {
  using V = std::vector<int>;
  static const std::vector<SortRoutine> routines = {
    {"std::sort", [](V& v) { std::sort(v.begin(), v.end()); }},
    {"std::stable_sort", [](V& v) { std::stable_sort(v.begin(), v.end()); }},
    {"quicksort",
     [](V& v) { quicksort(v.data(), static_cast<int>(v.size())); }},
    {"q_sort",
     [](V& v) { q_sort(v.data(), 0, static_cast<int>(v.size()) - 1); }},
    {"mergesort",
     [](V& v) { mergesort(v.data(), static_cast<int>(v.size())); }},
#if BENCH_BOOST_SORT
    {"pdqsort", [](V& v) { boost::sort::pdqsort(v.begin(), v.end()); }},
    {"integer_sort",
     [](V& v) { boost::sort::spreadsort::integer_sort(v.begin(), v.end()); }},
    {"flat_stable_sort",
     [](V& v) { boost::sort::flat_stable_sort(v.begin(), v.end()); }},
#endif
  };
  return routines;
}

#endif  // BENCH_SORT_ROUTINES_H_
