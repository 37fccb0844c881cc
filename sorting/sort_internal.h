#ifndef SORTING_SORT_INTERNAL_H_
#define SORTING_SORT_INTERNAL_H_

// The quicksorts' tuning constants, their way out of adverse inputs and a
// counting hook, shared by sort.cc, the adverse inputs of sort_adversary.h
// and the tests. Not installed: nothing here is promised to callers of
// sort.h. The adversary builds its inputs from these very constants, so
// retuning them here retunes the adversary with them.

#include <cstdint>

namespace sort_internal {

// Quicksort ranges of at most this many elements are finished by insertion
// sort instead of being partitioned further. Measured on 20,000 random values
// in cache (x86-64, g++ -O3, best of 300), quicksort took 28.9, 25.9, 24.3,
// 23.5, 22.7 and 24.2 ns per element with cut-offs of 16, 32, 48, 64, 96 and
// 128 (q_sort alike): ranges under two blocks are partitioned by the plain,
// branchy loops, so short ones are cheaper to insert. 64 takes most of the
// gain while an unlucky range still costs at most 64 * 64 / 2 moves.
constexpr int kQuickInsertion = 64;

// A partition is lopsided when its smaller part holds fewer than
// 1 / kLopsided of the range: such splits are what make a quicksort
// quadratic. With at most QuickBudget(n) of them on any chain of nested
// ranges and every other split leaving at most 7/8 of its range, the chain is
// at most log2(n) + log(n) / log(8/7) partitions long, so the sort stays
// O(n log n). A random middle pivot is lopsided one time in four.
constexpr int kLopsided = 8;

/// True when a partition of n elements whose smaller part has `smaller` is
/// lopsided.
inline bool Lopsided(int64_t smaller, int64_t n) {
  return smaller < n / kLopsided;
}

/// The lopsided partitions a quicksort of n >= 1 elements may make along a
/// chain of nested ranges before the range left is sorted without pivots:
/// floor(log2(n)). On 10^7 random values neither quicksort ran out of it once
/// (counted through the hook below).
inline int QuickBudget(int64_t n) {
  int log = 0;
  while (n > 1) n >>= 1, ++log;
  return log;
}

/// What the quicksorts did, for tests to assert on.
struct Counters {
  long partitions = 0;  // partitions around a pivot
  long heapsorts = 0;   // ranges handed to HeapSort by the way out
  long mergesorts = 0;  // ranges merge sorted by the way out
};

/// When not null, the quicksorts and SortWithoutPivots count into it. A test
/// hook: one thread at a time, and null in every program.
extern Counters* counters;

/// Sorts a[0, n) by heapsort: in place, O(n log n) whatever the input.
void HeapSort(int* a, int n);

/// The quicksorts' way out of a range on which partitions keep coming out
/// lopsided: sorts a[0, n) without pivots, in O(n log n) whatever the input.
void SortWithoutPivots(int* a, int n);

}  // namespace sort_internal

#endif  // SORTING_SORT_INTERNAL_H_
