#include "sort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "sort_internal.h"

namespace {

// Scratch of up to this many ints (2 KiB) lives on the stack; more comes
// from the heap. A thread may have as little as 16 KiB of stack, and its
// caller's frames need most of that.
constexpr int kStackScratch = 512;

// Calls use(room) with room for kRoom ints on the stack, in a frame of its
// own: only a call that takes this path carries the room.
template <int kRoom, class Use>
[[gnu::noinline]] void OnStack(const Use& use) {
  int room[kRoom];
  use(room);
}

// Calls use(room) with room for n ints: on the stack for up to kStackScratch,
// on the heap beyond. The stack room comes in two sizes, 256 bytes and
// 2 KiB, so that a short merge takes little stack.
template <class Use>
void WithScratch(int64_t n, const Use& use) {
  if (n <= kStackScratch / 8) {
    OnStack<kStackScratch / 8>(use);
  } else if (n <= kStackScratch) {
    OnStack<kStackScratch>(use);
  } else {
    std::unique_ptr<int[]> heap(new int[static_cast<size_t>(n)]);
    use(heap.get());
  }
}

// Sorts a[0, n) by straight insertion. The smallest-so-far test first lets
// every other element shift without checking for the start of the range.
void InsertionSort(int* a, int n) {
  for (int i = 1; i < n; ++i) {
    int v = a[i];
    int* hole = a + i;
    if (v < a[0]) {
      std::memmove(a + 1, a, i * sizeof(int));
      hole = a;
    } else {
      while (v < hole[-1]) {
        *hole = hole[-1];
        --hole;
      }
    }
    *hole = v;
  }
}

// Sorts a[0, n) by straight insertion where a[-1] is no greater than any of
// them: that element stops every shift, so no test of the start is needed.
void InsertionSortAfterFloor(int* a, int n) {
  for (int i = 1; i < n; ++i) {
    int v = a[i];
    int* hole = a + i;
    while (v < hole[-1]) {
      *hole = hole[-1];
      --hole;
    }
    *hole = v;
  }
}

// Leaves a[0, n) ascending and returns true when it is ascending already or
// descending (then it is reversed); else returns false, having compared up
// to the first element out of either order, which random values reach at
// once. The sorts look once, before sorting: one pass for two common orders
// that every level of partitions or merges would otherwise work through.
bool SortedOrReversed(int* a, std::ptrdiff_t n) {
  std::ptrdiff_t i = 1;
  while (i < n && a[i - 1] <= a[i]) ++i;
  if (i == n) return true;
  // a[0, i) ascends; it is descending as well only if it is all one value.
  if (a[0] != a[i - 1]) return false;
  while (i < n && a[i - 1] >= a[i]) ++i;
  if (i < n) return false;
  std::reverse(a, a + n);
  return true;
}

// The merge sort's leaves: runs of this many elements sorted by SortEight.
// On 10^6 random values mergesort took 24.6 ns per element as a 32-bit
// program (26.0 on x86-64) with leaves of 8, 27.0 (28.4) with leaves of 4
// sorted by a network of their own, and 31.2 and 31.5 (32.7, 31.7) with
// leaves of 16 and 32 sorted by insertion (g++ -O3, best of 7 runs in each
// of 4 processes).
constexpr int kMergeLeaf = 8;

// Sorts a[0, 8) by a sorting network: 19 compare-exchanges in 6 layers, each
// a branch-free min and max, where insertion sort mispredicts about once per
// element on random values.
void SortEight(int* a) {
  int v0 = a[0], v1 = a[1], v2 = a[2], v3 = a[3];
  int v4 = a[4], v5 = a[5], v6 = a[6], v7 = a[7];
  auto exchange = [](int& x, int& y) {
    const int low = x < y ? x : y;
    const int high = x < y ? y : x;
    x = low;
    y = high;
  };
  exchange(v0, v2), exchange(v1, v3), exchange(v4, v6), exchange(v5, v7);
  exchange(v0, v4), exchange(v1, v5), exchange(v2, v6), exchange(v3, v7);
  exchange(v0, v1), exchange(v2, v3), exchange(v4, v5), exchange(v6, v7);
  exchange(v2, v4), exchange(v3, v5);
  exchange(v1, v4), exchange(v3, v6);
  exchange(v1, v2), exchange(v3, v4), exchange(v5, v6);
  a[0] = v0, a[1] = v1, a[2] = v2, a[3] = v3;
  a[4] = v4, a[5] = v5, a[6] = v6, a[7] = v7;
}

// Sorts a merge sort leaf a[0, n), n <= kMergeLeaf.
void SortLeaf(int* a, int n) {
  if (n == kMergeLeaf) {
    SortEight(a);
  } else {
    InsertionSort(a, n);
  }
}

// Merges the sorted runs left[0, n_left) and right[0, n_right) into out, which
// overlaps neither; on equal values the right element comes first. Each step
// picks its element by a data move rather than a branch, so random input
// costs no mispredictions. The smallest elements are placed from the front
// and the largest from the back in the same loop: two independent chains of
// work per step, and for as many steps as the shorter run has elements
// neither end can run past its runs, so the loop needs no bounds checks.
void MergeRuns(const int* left, int n_left, const int* right, int n_right,
               int* out) {
  const int steps = n_left < n_right ? n_left : n_right;
  // The back's next elements are the ones before these.
  const int* left_end = left + n_left;
  const int* right_end = right + n_right;
  int* out_end = out + n_left + n_right;
  for (int k = 0; k < steps; ++k) {
    int a = *left, b = *right;
    bool take_left = a < b;
    *out++ = take_left ? a : b;
    left += take_left;
    right += !take_left;
    // From the back, the left run's element goes last among equal values.
    int c = left_end[-1], d = right_end[-1];
    bool take_right = c < d;
    *--out_end = take_right ? d : c;
    right_end -= take_right;
    left_end -= !take_right;
  }
  // What is left lies between the two ends: unequal runs only. With ascending
  // runs exactly out_end - out elements remain; every write below is held to
  // that room, so runs that are not ascending (against the caller's promise)
  // can cost order but never a write outside out.
  while (out < out_end && left < left_end && right < right_end) {
    int a = *left, b = *right;
    bool take_left = a < b;
    *out++ = take_left ? a : b;
    left += take_left;
    right += !take_left;
  }
  std::ptrdiff_t rest =
      std::clamp<std::ptrdiff_t>(left_end - left, 0, out_end - out);
  std::memcpy(out, left, static_cast<size_t>(rest) * sizeof(int));
  out += rest;
  rest = std::clamp<std::ptrdiff_t>(right_end - right, 0, out_end - out);
  std::memcpy(out, right, static_cast<size_t>(rest) * sizeof(int));
}

// SortInto looks whether a range of at least this many elements is in order
// already. On 10^6 random values mergesort took 26.4, 26.1 and 26.1 ns per
// element with 64, 256 and 1024, and 25.5 without looking, as a 32-bit
// program (27.8, 27.8, 28.0 and 27.7 on x86-64; g++ -O3, best of 7 runs in
// each of 4 processes): about 2% on random values, for one pass instead of
// a sort on ordered ones.
constexpr int kSortedCheck = 256;

// Sorts n elements into dst, where src and dst hold the same n values in
// the same order on entry and src is left in any order. The halves are
// sorted into src (the roles swap at each level) and then merged into dst,
// so every level moves each element once and no run is copied out first.
// The split is the midpoint rounded up to a whole number of leaves, so that
// every leaf but the last holds exactly kMergeLeaf elements for SortEight.
// A range of at least kSortedCheck elements that is in order already is
// left as it is: one pass instead of a sort.
void SortInto(int* src, int* dst, int n) {
  if (n <= kMergeLeaf) {
    SortLeaf(dst, n);
    return;
  }
  if (n >= kSortedCheck && std::is_sorted(dst, dst + n)) return;
  const int half = (n / 2 + kMergeLeaf - 1) / kMergeLeaf * kMergeLeaf;
  SortInto(dst, src, half);
  SortInto(dst + half, src + half, n - half);
  if (src[half - 1] <= src[half]) {
    std::memcpy(dst, src, n * sizeof(int));  // Already in order.
  } else if (src[n - 1] <= src[0]) {
    // The right half goes first as a whole (as on descending input).
    std::memcpy(dst, src + half, (n - half) * sizeof(int));
    std::memcpy(dst + n - half, src, half * sizeof(int));
  } else {
    MergeRuns(src, half, src + half, n - half, dst);
  }
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

// Ranges of up to this many elements (16 KiB, within the L2 cache) that run
// out of lopsided partitions are heapsorted: in place, with no allocation, at
// a bounded cost (4096 random values took 214 us on x86-64 and 302 us as a
// 32-bit program, g++ -O3, best of 200). Longer ones are merge sorted.
constexpr int kHeapSortMax = 4096;

// Sorts a[0, n) without pivots: the quicksorts' way out of a range on which
// partitions keep coming out lopsided (inputs built to defeat the pivot
// rules). Short ranges are heapsorted (kHeapSortMax). Longer ones are merge
// sorted, which costs O(n log n) whatever the input and is
// fast on the nearly ordered ranges such inputs tend to leave (heapsort of
// 10^6 values left by the adversary in bench/sort_shapes.cc took 4.8 times
// std::sort's time on the whole input, merge sort 1.2 to 1.6), unless the
// scratch copy cannot be had.
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
  int* copy = scratch.get();
  std::memcpy(copy, a, static_cast<size_t>(n) * sizeof(int));
  SortInto(copy, a, n);
}

// The pivot is the median of the elements at a quarter, half and three
// quarters of the range: a few percent faster than the middle element on
// random values (21.2 against 22.1 ns per element for 10^6 as a 32-bit
// program, 20.9 against 21.4 on x86-64; g++ -O3, best of 7 runs in each of 5
// processes), and it breaks the patterns (organ pipes, inputs built against
// a middle pivot) that would make split after split lopsided. The median of
// three such medians (Tukey's ninther) for ranges from 64, 128, 256 or 1024
// elements on was no faster: 20.7 against 20.5 (20.3 against 20.7).
void PivotSamples(std::ptrdiff_t n, std::ptrdiff_t* at) {
  at[0] = n / 4;
  at[1] = n / 2;
  at[2] = n - 1 - n / 4;
}

}  // namespace sort_internal

namespace {

using sort_internal::counters;
using sort_internal::kQuickInsertion;
using sort_internal::Lopsided;
using sort_internal::SortWithoutPivots;

// Which of i, j, k points at the median of the three values.
int* MedianOfThree(int* i, int* j, int* k) {
  if (*i < *j) {
    if (*j < *k) return j;
    return *i < *k ? k : i;
  }
  if (*i < *k) return i;
  return *j < *k ? k : j;
}

// The pivot of a[0, n): the median of its samples.
int* ChoosePivot(int* a, std::ptrdiff_t n) {
  std::ptrdiff_t at[sort_internal::kPivotSamples];
  sort_internal::PivotSamples(n, at);
  return MedianOfThree(a + at[0], a + at[1], a + at[2]);
}

// Elements per block of the partition's scans. On 10^6 random values
// (measured as for kQuickInsertion) quicksort took 25.1, 22.4, 21.1 and 20.9
// ns per element with blocks of 32, 64, 128 and 256 as a 32-bit program,
// 24.2, 22.4, 21.2 and 21.1 on x86-64; 256 is the largest whose offsets fit
// in a byte. Its offsets take 512 bytes of stack, in Partition's own frame.
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
// distinct value is thus a pivot at most once. Unless the range starts
// the caller's (`leftmost`), a[-1] is no greater than any element of it and
// stops insertion sort's shifts.
template <bool kEqualLeft>
void SortRange(int* a, std::ptrdiff_t n, int budget, bool bounded,
               bool leftmost) {
  while (n > kQuickInsertion) {
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
      SortRange<kEqualLeft>(a, n_low, budget, low_bounded, leftmost);
      a = split + 1;
      n = n_high;
      bounded = high_bounded;
      leftmost = false;
    } else {
      SortRange<kEqualLeft>(split + 1, n_high, budget, high_bounded, false);
      n = n_low;
      bounded = low_bounded;
    }
  }
  if (leftmost) {
    InsertionSort(a, static_cast<int>(n));
  } else {
    InsertionSortAfterFloor(a, static_cast<int>(n));
  }
}

}  // namespace

int* sort_internal::PartitionAroundPivot(int* a, std::ptrdiff_t n,
                                         bool equal_left) {
  int* at = ChoosePivot(a, n);
  return equal_left ? PartitionAround<true>(a, n, at)
                    : PartitionAround<false>(a, n, at);
}

void merge(int* arr, int left_start, int left_end, int right_start,
           int right_end) {
  // Both runs are copied out first, so the output may overlap either of them.
  // On equal values the right run's element is written first: a note, not a
  // promise, as equal ints cannot be told apart.
  int64_t n_left = static_cast<int64_t>(left_end) - left_start;
  int64_t n_right = static_cast<int64_t>(right_end) - right_start;
  if (n_left < 0) n_left = 0;
  if (n_right < 0) n_right = 0;
  if (n_left + n_right == 0) return;  // Nothing to write; arr may even be null.
  WithScratch(n_left + n_right, [&](int* left) {
    int* right = left + n_left;
    std::memcpy(left, arr + left_start, n_left * sizeof(int));
    std::memcpy(right, arr + right_start, n_right * sizeof(int));
    MergeRuns(left, static_cast<int>(n_left), right, static_cast<int>(n_right),
              arr + left_start);
  });
}

void mergesort_rec(int* arr, int start, int end) {
  // One scratch copy of the range serves every merge of the sort; a range
  // of one leaf needs none.
  int64_t n = static_cast<int64_t>(end) - start;
  if (n < 2) return;
  if (n <= kMergeLeaf) {
    SortLeaf(arr + start, static_cast<int>(n));
    return;
  }
  if (n >= kSortedCheck &&
      SortedOrReversed(arr + start, static_cast<std::ptrdiff_t>(n))) {
    return;
  }
  WithScratch(n, [&](int* copy) {
    std::memcpy(copy, arr + start, n * sizeof(int));
    SortInto(copy, arr + start, static_cast<int>(n));
  });
}

void mergesort(int* arr, int count) { mergesort_rec(arr, 0, count); }

void quicksort(int* arr, int count) {
  if (count < 2 || SortedOrReversed(arr, count)) return;
  SortRange<false>(arr, count, sort_internal::QuickBudget(count), false, true);
}

void q_sort(int* arr, int first, int last) {
  // The range as a pointer and a count, so that no index sum can overflow an
  // int, even for a range that ends at index INT_MAX.
  if (first >= last) return;
  int* const a = arr + first;
  const std::ptrdiff_t n = arr + last - a + 1;
  if (SortedOrReversed(a, n)) return;
  SortRange<true>(a, n, sort_internal::QuickBudget(n), false, true);
}

void print_arr(int* arr, int count) { print_arr_to(stdout, arr, count); }

void print_arr_to(std::FILE* out, const int* arr, int count) {
  for (int i = 0; i < count; ++i) std::fprintf(out, "%d, ", arr[i]);
  std::fputc('\n', out);
}
