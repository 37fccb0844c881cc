#ifndef SORTING_SORT_ADVERSARY_H_
#define SORTING_SORT_ADVERSARY_H_

// Adverse inputs for the quicksorts of sort.h, for tests and benchmarks.
// They follow the pivot rules of sort.cc and take its tuning constants from
// sort_internal.h; should the rules change, the inputs are merely less
// adverse and still valid inputs.

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
    std::swap(label[m], label[count - 1]);  // The partition's only exchange.
  }
  return value;
}

/// Returns a permutation of 1..n on which every partition of `quicksort`
/// (with q_sort set: of `q_sort`) along the chain of larger parts is
/// lopsided, whether its pivot is the middle element or, after a lopsided
/// partition, the median of three, until the sort's budget of lopsided
/// partitions runs out. Sets *budget_spent, when given, to whether it did:
/// whether the sort is left to its way out on this input.
///
/// McIlroy's adversary, run ahead of the sort: the partitions are simulated
/// on "gas" elements, smaller than every value handed out and compared only
/// with pivots, and the largest values still free are handed to the elements
/// that the next pivot choice reads, so that the pivot is the largest or
/// second largest of its range. The gas gets the smallest values at the end.
inline std::vector<int> QuicksortAdversary(int n, bool q_sort,
                                           bool* budget_spent = nullptr) {
  std::vector<std::pair<int, int>> a(n);  // value (0: gas), original index
  for (int i = 0; i < n; ++i) a[i] = {0, i};
  int next = n;
  auto solidify = [&](int at) {
    if (a[at].first == 0) a[at].first = next--;
  };
  int budget = sort_internal::QuickBudget(n);
  int lo = 0, hi = n;  // The range [lo, hi) on the chain.
  bool spread = false;
  while (budget > 0 && hi - lo > sort_internal::kQuickInsertion) {
    const int count = hi - lo, first = lo, last = hi - 1;
    int at = q_sort ? first + (last - first) / 2 : lo + count / 2;
    if (spread) {
      int high = q_sort ? last - (last - first) / 4 : lo + count - count / 4;
      solidify(high);
    }
    solidify(at);  // With `high` set, the median of three.
    const int pivot = a[at].first;
    int n_low, n_high, low_end, high_start;
    if (q_sort) {
      int i = first, j = last;
      for (;;) {
        while (a[i].first <= pivot && i < last) ++i;
        while (a[j].first > pivot) --j;
        if (i >= j) break;
        std::swap(a[i], a[j]);
        if (at == j) at = i;
      }
      std::swap(a[at], a[j]);
      n_low = j - first, n_high = last - j;
      low_end = j, high_start = j + 1;
    } else {
      int l = lo, r = last;
      while (l <= r) {
        if (a[l].first < pivot) {
          ++l;
        } else if (a[r].first > pivot) {
          --r;
        } else {
          std::swap(a[l++], a[r--]);
        }
      }
      n_low = r - lo + 1, n_high = hi - l;
      low_end = r + 1, high_start = l;
    }
    spread = sort_internal::Lopsided(n_low < n_high ? n_low : n_high, count);
    budget -= spread;
    if (n_low < n_high) {
      lo = high_start;
    } else {
      hi = low_end;
    }
  }
  if (budget_spent != nullptr) *budget_spent = budget == 0;
  std::vector<int> value(n);
  int gas = 1;
  for (const auto& [v, index] : a) value[index] = v != 0 ? v : gas++;
  return value;
}

#endif  // SORTING_SORT_ADVERSARY_H_
