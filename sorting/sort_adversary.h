#ifndef SORTING_SORT_ADVERSARY_H_
#define SORTING_SORT_ADVERSARY_H_

// Adverse inputs for the quicksorts of sort.h, for tests and benchmarks.
// They follow the pivot rules of quicksort.cc and take its tuning constants
// from sort_internal.h; should the rules change, the inputs are merely less
// adverse and still valid inputs.

#include <cstddef>
#include <utility>
#include <vector>

#include "sort_internal.h"

/// Returns a permutation of 1..n on which the value at index middle(count)
/// of every range that a partition leaves is the largest of that range, so
/// that a quicksort always taking its pivot there splits off one element per
/// partition. middle(count) must lie in [0, count).
inline std::vector<int> MiddlePivotKiller(int n, int (*middle)(int)) {
  std::vector<int> label(n), value(n);
  for (int i = 0; i < n; ++i) label[i] = i;
  for (int count = n; count > 0; --count) {
    int m = middle(count);
    value[label[m]] = count;
    // The partition's only moves: the pivot to the front, and from there to
    // the split, the range's end, whose element takes the front.
    std::swap(label[0], label[m]);
    std::swap(label[0], label[count - 1]);
  }
  return value;
}

/// Returns a permutation of 1..n on which every partition of `quicksort`
/// (with q_sort set: of `q_sort`) along the chain of larger parts is
/// lopsided until the sort's budget of lopsided partitions runs out. Sets
/// *budget_spent, when given, to whether it did: whether the sort is left to
/// its way out on this input.
///
/// McIlroy's adversary, run ahead of the sort: the partitions are simulated
/// by the sort's own partition step on "gas" elements, smaller than every
/// value handed out and compared only with pivots, and before each step the
/// largest values still free are handed to the elements the pivot is chosen
/// from, so that the pivot is among the largest of its range. The gas gets
/// the smallest values at the end.
inline std::vector<int> QuicksortAdversary(int n, bool q_sort,
                                           bool* budget_spent = nullptr) {
  // Gas is -1 - its original index; a value handed out is positive, and
  // origin[value] is where it came from.
  std::vector<int> a(n), origin(n + 1);
  for (int i = 0; i < n; ++i) a[i] = -1 - i;
  int next = n;
  int budget = sort_internal::QuickBudget(n);
  int* first = a.data();
  std::ptrdiff_t count = n;  // The range on the chain: first[0, count).
  while (budget > 0 && count > sort_internal::kQuickShort) {
    std::ptrdiff_t at[sort_internal::kWidePivotSamples];
    const int samples = sort_internal::PivotSamples(count, at);
    for (int i = 0; i < samples; ++i) {
      int& v = first[at[i]];
      if (v < 0) {
        origin[next] = -1 - v;
        v = next--;
      }
    }
    int* split = sort_internal::PartitionAroundPivot(first, count, q_sort);
    const std::ptrdiff_t n_low = split - first, n_high = count - 1 - n_low;
    budget -= sort_internal::Lopsided(n_low < n_high ? n_low : n_high, count);
    if (n_low < n_high) {
      first = split + 1;
      count = n_high;
    } else {
      count = n_low;
    }
  }
  if (budget_spent != nullptr) *budget_spent = budget == 0;
  std::vector<int> value(n);
  int gas = 1;
  for (int v : a) {
    if (v < 0) {
      value[-1 - v] = gas++;
    } else {
      value[origin[v]] = v;
    }
  }
  return value;
}

#endif  // SORTING_SORT_ADVERSARY_H_
