// The quicksorts, quicksort and q_sort of sort.h: one partition-exchange
// engine for both, with its way out of adverse inputs.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "sort.h"
#include "sort_internal.h"

namespace {

using sort_internal::counters;
using sort_internal::kQuickShort;
using sort_internal::Lopsided;
using sort_internal::SortedOrReversed;
using sort_internal::SortWithoutPivots;

// Ranges of up to this many elements (16 KiB, within the L2 cache) that run
// out of lopsided partitions are heapsorted: in place, with no allocation,
// at a bounded cost. Longer ones are merge sorted.
constexpr int kHeapSortMax = 4096;

// Which of i, j, k points at the median of the three values.
int* MedianOfThree(int* i, int* j, int* k) {
  if (*i < *j) {
    if (*j < *k) return j;
    return *i < *k ? k : i;
  }
  if (*i < *k) return i;
  return *j < *k ? k : j;
}

// The pivot of a[0, n): the median of its samples. A wide sample's offsets
// are put in order of their elements by insertion sort, which takes about
// 250 comparisons for 31, against the 16384 or more of the partition.
int* ChoosePivot(int* a, std::ptrdiff_t n) {
  std::ptrdiff_t at[sort_internal::kWidePivotSamples];
  const int k = sort_internal::PivotSamples(n, at);
  if (k == 3) return MedianOfThree(a + at[0], a + at[1], a + at[2]);
  for (int i = 1; i < k; ++i) {
    const std::ptrdiff_t offset = at[i];
    int j = i;
    for (; j > 0 && a[at[j - 1]] > a[offset]; --j) at[j] = at[j - 1];
    at[j] = offset;
  }
  return a + at[k / 2];
}

// Elements per block of the partition's scans: the fastest size tried on
// random values, and the largest whose offsets fit in a byte. Its offsets
// take 512 bytes of stack, in Partition's own frame.
constexpr int kBlock = 256;
static_assert(kBlock <= 256, "offsets within a block must fit in a byte");

// Swaps the elements at first + at_left[k], which belong to the right part,
// with those at last - 1 - at_right[k], which belong to the left, k < n.
// One cycle of moves through all the pairs instead (BlockQuicksort's) was no
// faster on 10^6 random values and 5% slower on interleaved ascending and
// descending ones (g++ -O3, 32-bit and x86-64).
void Exchange(int* first, int* last, const unsigned char* at_left,
              const unsigned char* at_right, int n) {
  for (int k = 0; k < n; ++k) {
    std::swap(first[at_left[k]], last[-1 - at_right[k]]);
  }
}

// Whether v belongs to the right part of a partition around `pivot`:
// elements equal to the pivot go left with kEqualLeft, else right.
template <bool kEqualLeft>
bool GoesRight(int v, int pivot) {
  return kEqualLeft ? v > pivot : !(v < pivot);
}

// Partitions [first, last) around `pivot` into the elements that go left
// and those that go right (GoesRight) and returns where the right part
// begins. The two ends are scanned towards each other a block at a time,
// without branches: a scan records the offsets, within its block, of the
// elements that belong to the other side, and Exchange then swaps as many
// pairs as both blocks have; a block whose offsets are used up is done and
// the scan moves on. When under two blocks are left, the rest is split
// between the two scans in the same way, and the one block left with
// elements of the wrong side has them moved to its far end. The partition is
// Hoare's, two pointers moving towards each other, with BlockQuicksort's
// (Edelkamp and Weiss) way of finding the pairs: on random values every
// other comparison of the plain loop is a mispredicted branch.
template <bool kEqualLeft>
[[gnu::noinline]] int* Partition(int* first, int* last, int pivot) {
  unsigned char at_l[kBlock], at_r[kBlock];  // offsets found, not yet used
  int n_l = 0, n_r = 0, next_l = 0, next_r = 0;
  auto round = [&](int size_l, int size_r) {
    if (n_l == 0) {
      next_l = 0;
#pragma GCC unroll 8
      for (int k = 0; k < size_l; ++k) {
        at_l[n_l] = static_cast<unsigned char>(k);
        n_l += GoesRight<kEqualLeft>(first[k], pivot);
      }
    }
    if (n_r == 0) {
      next_r = 0;
#pragma GCC unroll 8
      for (int k = 0; k < size_r; ++k) {
        at_r[n_r] = static_cast<unsigned char>(k);
        n_r += !GoesRight<kEqualLeft>(last[-1 - k], pivot);
      }
    }
    const int n = n_l < n_r ? n_l : n_r;
    Exchange(first, last, at_l + next_l, at_r + next_r, n);
    n_l -= n, next_l += n;
    n_r -= n, next_r += n;
    if (n_l == 0) first += size_l;
    if (n_r == 0) last -= size_r;
  };
  while (last - first >= 2 * kBlock) round(kBlock, kBlock);
  // Under two blocks left, one of them perhaps scanned already.
  const int rest = static_cast<int>(last - first);
  if (n_l == 0 && n_r == 0) {
    round(rest / 2, rest - rest / 2);
  } else if (n_l == 0) {
    round(rest - kBlock, kBlock);
  } else {
    round(kBlock, rest - kBlock);
  }
  // Now [first, last) is the one block with offsets left, if any: its
  // elements of the other side go to its far end, the last offset first.
  if (n_l > 0) {
    while (n_l > 0) std::swap(first[at_l[next_l + --n_l]], *--last);
    return last;
  }
  while (n_r > 0) std::swap(last[-1 - at_r[next_r + --n_r]], *first++);
  return first;
}

// An element greater than the one kNearStep places on is far out of order.
// On a range of random values about 4 in 10 elements are; on the short
// ranges that nearly ordered inputs leave to be finished (sorted values with
// a few pairs swapped, interleaved ascending and descending values, a
// permutation built against a middle pivot) 1 to 7 in 100 are, each element
// a few places from where it belongs, which insertion sort moves cheaply
// while it makes the merges do all their work.
constexpr int kNearStep = 8;

// A range is nearly ordered while at most one element in kNearShare is far
// out of order: 2 in 100 of the short ranges of random values were taken
// for nearly ordered (short ones, with 2 in 1000 of the elements), 85 to 100
// in 100 of those of the nearly ordered inputs above (10^6 values). Counted
// kNearShare elements at a time, so that on random values the look ends
// after the first kNearShare.
constexpr int kNearShare = 16;

// Sorts a[0, n), n <= kQuickShort: by insertion sort when the range is
// nearly ordered, else by SortShort. An unlucky pick costs at most
// kQuickShort^2 / 2 moves.
void FinishShort(int* a, int n) {
  int far = 0;
  for (int i = 0; i + kNearStep < n;) {
    const int end =
        i + kNearShare < n - kNearStep ? i + kNearShare : n - kNearStep;
    for (; i < end; ++i) far += a[i] > a[i + kNearStep];
    if (far > i / kNearShare) {
      sort_internal::SortShort(a, n);
      return;
    }
  }
  sort_internal::InsertionSort(a, n);
}

// Partitions a[0, n), n >= 2, around the element at `at`: the pivot is put
// first, the rest partitioned and the pivot put between the parts. Returns
// where it ends.
template <bool kEqualLeft>
int* PartitionAround(int* a, std::ptrdiff_t n, int* at) {
  const int pivot = *at;
  std::swap(*a, *at);
  int* split = Partition<kEqualLeft>(a + 1, a + n, pivot) - 1;
  std::swap(*a, *split);
  return split;
}

// Both quicksorts: sorts a[0, n) with `budget` lopsided partitions left
// before the range is sorted without pivots. They differ in one detail,
// where elements equal to the pivot go: left in q_sort (kEqualLeft), right
// in quicksort. The smaller part of each partition is sorted by recursion
// and the larger by the loop, so nesting stays within log2(n).
//
// The element just outside the range on the side the equal elements gather
// bounds its values: the pivot of the partition that made the range, or of
// one further out (a[n] from q_sort's left parts on, a[-1] from quicksort's
// right parts on; `bounded` says whether there is one inside the caller's
// range). A pivot equal to it would send the whole range to one side, over
// and over, on runs of equal values: such a range is instead split in one
// pass into the elements equal to the pivot, which are done, and the rest.
// That pass is a partition around the same value with the equal elements
// sent the other way, as the range holds none beyond the bound. Each
// distinct value is thus a pivot at most once.
template <bool kEqualLeft>
void SortRange(int* a, std::ptrdiff_t n, int budget, bool bounded) {
  while (n > kQuickShort) {
    if (budget == 0) {
      // Fewer than INT_MAX elements: the range has been split at least once.
      SortWithoutPivots(a, static_cast<int>(n));
      return;
    }
    int* at = ChoosePivot(a, n);
    if (bounded && *at == (kEqualLeft ? a[n] : a[-1])) {
      int* split = Partition<!kEqualLeft>(a, a + n, *at);
      if (kEqualLeft) {
        n = split - a;  // [split, a + n) is the run, at the range's end.
      } else {
        n -= split - a;  // [a, split) is the run, at the range's start.
        a = split;
      }
      continue;
    }
    if (counters != nullptr) ++counters->partitions;
    int* split = PartitionAround<kEqualLeft>(a, n, at);
    const std::ptrdiff_t n_low = split - a, n_high = n - 1 - n_low;
    budget -= Lopsided(n_low < n_high ? n_low : n_high, n);
    // A left part is bounded by the pivot after it in q_sort, a right part
    // by the pivot before it in quicksort; the other parts keep the range's.
    const bool low_bounded = kEqualLeft || bounded;
    const bool high_bounded = !kEqualLeft || bounded;
    if (n_low < n_high) {
      SortRange<kEqualLeft>(a, n_low, budget, low_bounded);
      a = split + 1;
      n = n_high;
      bounded = high_bounded;
    } else {
      SortRange<kEqualLeft>(split + 1, n_high, budget, high_bounded);
      n = n_low;
      bounded = low_bounded;
    }
  }
  FinishShort(a, static_cast<int>(n));
}

}  // namespace

namespace sort_internal {

Counters* counters = nullptr;

// Sorts a[0, n) by heapsort: O(n log n) whatever the input, in place.
void HeapSort(int* a, int n) {
  auto sift_down = [a](int64_t root, int64_t end) {
    int v = a[root];
    for (;;) {
      int64_t child = 2 * root + 1;
      if (child >= end) break;
      if (child + 1 < end && a[child + 1] > a[child]) ++child;
      if (a[child] <= v) break;
      a[root] = a[child];
      root = child;
    }
    a[root] = v;
  };
  for (int root = n / 2 - 1; root >= 0; --root) sift_down(root, n);
  for (int end = n - 1; end > 0; --end) {
    std::swap(a[0], a[end]);
    sift_down(0, end);
  }
}

// Sorts a[0, n) without pivots: the quicksorts' way out of a range on which
// partitions keep coming out lopsided (inputs built to defeat the pivot
// rules). Short ranges are heapsorted (kHeapSortMax). Longer ones are merge
// sorted, unless the scratch cannot be had: O(n log n) whatever the input,
// and fast on the runs that such inputs tend to leave, where heapsort is
// several times slower.
void SortWithoutPivots(int* a, int n) {
  // No stack scratch: this runs deep inside the quicksorts' nesting, where a
  // large frame would cost stack on every level it is inlined into.
  std::unique_ptr<int[]> scratch;
  if (n > kHeapSortMax) {
    scratch.reset(new (std::nothrow) int[static_cast<size_t>(n)]);
  }
  if (scratch == nullptr) {
    if (counters != nullptr) ++counters->heapsorts;
    HeapSort(a, n);
    return;
  }
  if (counters != nullptr) ++counters->mergesorts;
  MergeSortWithScratch(a, n, scratch.get());
}

// The pivot is the median of the elements at a quarter, half and three
// quarters of the range: a few percent faster than the middle element on
// random values, and it breaks the patterns (organ pipes, inputs built
// against a middle pivot) that would make split after split lopsided. A
// long range's wide sample is spread evenly over it, one element in the
// middle of each of kWidePivotSamples equal stretches.
int PivotSamples(std::ptrdiff_t n, std::ptrdiff_t* at) {
  if (n < kWidePivotRange) {
    at[0] = n / 4;
    at[1] = n / 2;
    at[2] = n - 1 - n / 4;
    return 3;
  }
  const std::ptrdiff_t stretch = n / kWidePivotSamples;
  for (int i = 0; i < kWidePivotSamples; ++i) {
    at[i] = stretch / 2 + i * stretch;
  }
  return kWidePivotSamples;
}

int* PartitionAroundPivot(int* a, std::ptrdiff_t n, bool equal_left) {
  int* at = ChoosePivot(a, n);
  return equal_left ? PartitionAround<true>(a, n, at)
                    : PartitionAround<false>(a, n, at);
}

}  // namespace sort_internal

void quicksort(int* arr, int count) {
  if (count < 2 || SortedOrReversed(arr, count)) return;
  SortRange<false>(arr, count, sort_internal::QuickBudget(count), false);
}

void q_sort(int* arr, int first, int last) {
  // The range as a pointer and a count, so that no index sum can overflow an
  // int, even for a range that ends at index INT_MAX.
  if (first >= last) return;
  int* const a = arr + first;
  const std::ptrdiff_t n = arr + last - a + 1;
  if (SortedOrReversed(a, n)) return;
  SortRange<true>(a, n, sort_internal::QuickBudget(n), false);
}
