#ifndef SORTING_SORT_INTERNAL_H_
#define SORTING_SORT_INTERNAL_H_

// The quicksorts' tuning constants, their pivot choice and partition step,
// their way out of adverse inputs and a counting hook, shared by sort.cc, the
// adverse inputs of sort_adversary.h and the tests. Not installed: nothing
// here is promised to callers of sort.h. The adversary builds its inputs
// from these very constants and functions, so retuning them here retunes the
// adversary with them.

#include <cstddef>
#include <cstdint>

namespace sort_internal {

// Quicksort ranges of at most this many elements are finished by insertion
// sort instead of being partitioned further. On 10^6 random values (g++ -O3,
// best of 7 runs in each of 4 processes) quicksort took 22.8, 20.8, 20.2,
// 20.5 and 21.4 ns per element with cut-offs of 16, 32, 48, 64 and 96 as a
// 32-bit program, 22.9, 20.8, 20.7, 20.9 and 21.6 on x86-64 (q_sort alike):
// a partition of a short range costs its pivot choice and a call, while
// insertion sort of one costs a mispredicted branch per element. 48 and 64
// are within 2% on random values; on ordered patterns such as interleaved
// ascending and descending values, where insertion is cheap, 64 took 6.0 to
// 6.2 ms for 10^6 values against 6.4 to 6.8 with 48 (32-bit). An unlucky
// range still costs at most 64 * 64 / 2 moves.
constexpr int kQuickInsertion = 64;

// A partition is lopsided when its smaller part holds fewer than
// 1 / kLopsided of the range: such splits are what make a quicksort
// quadratic. With at most QuickBudget(n) of them on any chain of nested
// ranges and every other split leaving at most 7/8 of its range, the chain is
// at most log2(n) + log(n) / log(8/7) partitions long, so the sort stays
// O(n log n). On random values a middle element is lopsided one time in
// four, a median of three about one time in twelve.
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

/// How many elements a pivot is chosen from.
constexpr int kPivotSamples = 3;

/// Sets at[0, kPivotSamples) to the offsets, within a range of
/// n > kQuickInsertion elements, of the elements the quicksorts choose its
/// pivot from.
void PivotSamples(std::ptrdiff_t n, std::ptrdiff_t* at);

/// One partition step of the quicksorts on a[0, n), n > kQuickInsertion: the
/// pivot chosen from the samples, and the range split into the elements less
/// than it (with equal_left, not greater, as q_sort splits), the pivot, and
/// the rest. Returns where the pivot ends.
int* PartitionAroundPivot(int* a, std::ptrdiff_t n, bool equal_left);

/// Sorts a[0, n) by heapsort: in place, O(n log n) whatever the input.
void HeapSort(int* a, int n);

/// The quicksorts' way out of a range on which partitions keep coming out
/// lopsided: sorts a[0, n) without pivots, in O(n log n) whatever the input.
void SortWithoutPivots(int* a, int n);

}  // namespace sort_internal

#endif  // SORTING_SORT_INTERNAL_H_
