#ifndef SORTING_SORT_INTERNAL_H_
#define SORTING_SORT_INTERNAL_H_

// What the sorting routines share beyond sort.h: insertion sort and the look
// for ordered input (sort_common.cc), the merges (merge_runs.cc), merge sort
// on caller's scratch and of short ranges (merge_sort.cc), and the quicksorts'
// tuning constants, pivot choice, partition step, way out of adverse inputs and
// counting hook (quicksort.cc), which the adverse inputs of sort_adversary.h
// and the tests use too. Not installed: nothing here is promised to callers of
// sort.h. The adversary builds its inputs from these very constants and
// functions, so retuning them here retunes the adversary with them. The
// measurements that chose the constants are in bench/sort_notes.md.

#include <cstddef>
#include <cstdint>

namespace sort_internal {

/// Sorts a[0, n) by straight insertion.
void InsertionSort(int* a, int n);

/// Leaves a[0, n) ascending and returns true when it is ascending already or
/// descending (then it is reversed); else returns false, having compared up
/// to the first element out of either order, which random values reach at
/// once. One pass for two common orders that every level of partitions or
/// merges would otherwise work through. n <= 1 reads nothing: true.
bool SortedOrReversed(int* a, std::ptrdiff_t n);

// A merge checks every this many steps whether the next elements all come
// from one run: rarely enough that random input keeps its branch-free pace,
// often enough that a long stretch is found within a few of its elements.
constexpr int kStretch = 8;

// Merges of at least this many elements are split in two (MergeStretches);
// inside a block, shorter ones are plain MergeRuns unless a stretch shows at
// an end. From 64 to 2048 alike on random values (0.50 to 0.53 of std::sort's
// time against 0.57 unsplit, 32-bit); 512 was among the fastest on the ordered
// shapes, where short merges gain little from the split.
constexpr int kSplitMerge = 512;

/// Merges the ascending runs left[0, n_left) and right[0, n_right) into out,
/// which overlaps neither, branch-free (merge_runs.cc). Runs that are not
/// ascending cost order, never a read or write outside the runs and out.
void MergeRuns(const int* left, int n_left, const int* right, int n_right,
               int* out);

/// Merges as MergeRuns does, and moves stretches of elements from one run at
/// once, found by galloping (merge_runs.cc).
void MergeStretches(const int* a, int n_a, const int* b, int n_b, int* out);

/// Merges the sorted halves src1[0, half) and src1[half, 2 * half) into dst1
/// and those of src2 into dst2, as MergeRuns would, with the steps of the two
/// merges in turn (merge_runs.cc); half is a whole number of kStretch.
void MergeRunsPaired(const int* src1, int* dst1, const int* src2, int* dst2,
                     int half);

// The merge sort's leaves: runs of this many elements sorted by a sorting
// network, the fastest leaf on random values among networks of 4 and 8 and
// insertion sort of 16 and 32.
constexpr int kMergeLeaf = 8;

/// Sorts n elements into dst by merge sort from leaves up, where src and dst
/// hold the same n values in the same order on entry; src is left in any
/// order (merge_blocks.cc).
void SortInto(int* src, int* dst, int n);

/// Sorts a[0, n) by merge sort with scratch[0, n) to work in.
void MergeSortWithScratch(int* a, int n, int* scratch);

// The quicksorts finish ranges of at most this many elements with
// SortShort: below it a partition's pivot choice and call cost more than
// the branch-free merges, which took 8.2 ns per element on 64 random values
// where insertion sort took 13.6 (32-bit). The fastest of 96 to 192 on
// random values since the merges went faster (bench/sort_notes.md); an
// unlucky range finished by insertion sort costs at most 128 * 128 / 2 moves.
constexpr int kQuickShort = 128;

/// Sorts a[0, n), 0 <= n <= kQuickShort, by the merge sort's branch-free
/// leaves and merges, with scratch on the stack (merge_blocks.cc).
void SortShort(int* a, int n);

// A partition is lopsided when its smaller part holds fewer than
// 1 / kLopsided of the range: such splits are what make a quicksort
// quadratic. With at most QuickBudget(n) of them on any chain of nested
// ranges and every other split leaving at most 7/8 of its range, the chain is
// at most log2(n) + log(n) / log(8/7) partitions long, so the sort stays
// O(n log n). On random values a median of three is lopsided about one time
// in twelve.
constexpr int kLopsided = 8;

/// True when a partition of n elements whose smaller part has `smaller` is
/// lopsided.
inline bool Lopsided(int64_t smaller, int64_t n) {
  return smaller < n / kLopsided;
}

/// The lopsided partitions a quicksort of n >= 1 elements may make along a
/// chain of nested ranges before the range left is sorted without pivots:
/// floor(log2(n)) / 2. Each lopsided partition on an adverse input costs a
/// pass over almost the whole range; half of log2(n) such passes keep
/// McIlroy's adversary near std::sort's time (a full log2(n) took 1.65 times
/// it), while on random values, whose chains meet about one lopsided split
/// each, 2 of 20 sorts of 10^6 values ran out, in ranges of a few thousand.
inline int QuickBudget(int64_t n) {
  int log = 0;
  while (n > 1) n >>= 1, ++log;
  return log / 2;
}

/// What the sorts did, for tests to assert on.
struct Counters {
  long partitions = 0;  // partitions around a pivot
  long heapsorts = 0;   // ranges handed to HeapSort by the way out
  long mergesorts = 0;  // ranges merge sorted by the way out
  // Elements that the merge sort moved while merging its runs (the merges
  // and the copies between a and scratch; not the sorts of the blocks).
  int64_t merge_moves = 0;
};

/// When not null, the quicksorts, SortWithoutPivots and the merge sort of
/// runs (MergeSortWithScratch) count into it. A test hook: one thread at a
/// time, and null in every program.
extern Counters* counters;

// Ranges of this many elements or more take their pivot from
// kWidePivotSamples samples, shorter ones from three. On random values a
// median of three leaves less than a quarter of the range on one side about
// one time in three, and each level of partitions a poor split adds is a
// pass over the range; from 16384 elements on, the sort of the wider sample
// (about 250 comparisons) costs a few percent of a pass, and less the longer
// the range. Quicksort took 0.84 to 0.88 of pdqsort's time on 10^7 random
// values with it, against 0.89 to 0.95 (32-bit; bench/sort_notes.md).
constexpr std::ptrdiff_t kWidePivotRange = 16384;

// The wider sample: its median leaves less than a quarter of a range of
// random values on one side about one time in 400.
constexpr int kWidePivotSamples = 31;

/// Sets at[0, k) to the offsets, within a range of n > kQuickShort elements,
/// of the k elements the quicksorts choose its pivot from, and returns k:
/// 3, or kWidePivotSamples from kWidePivotRange elements on.
int PivotSamples(std::ptrdiff_t n, std::ptrdiff_t* at);

/// One partition step of the quicksorts on a[0, n), n > kQuickShort: the
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
