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

using sort_internal::kQuickInsertion;
using sort_internal::Lopsided;

// Scratch of up to this many ints (16 KiB) lives on the stack; more comes
// from the heap. A merge of a whole large array would otherwise need as many
// bytes of stack as the array itself and overrun the usual 8 MiB stack.
constexpr int kStackScratch = 4096;

// Merge sort ranges of at most this many elements are sorted by insertion
// sort instead of being split and merged. Measured as for kQuickInsertion,
// mergesort took 25.5, 25.4, 25.4, 24.6, 24.5, 24.1, 24.1 and 25.1 ns per
// element with cut-offs of 8, 12, 16, 24, 32, 48, 64 and 96: flat from 24 to
// 64, and 32 lies inside that.
constexpr int kMergeInsertion = 32;

// Calls use(room) with room for kRoom ints on the stack, in a frame of its
// own: only a call that takes this path carries the room.
template <int kRoom, class Use>
[[gnu::noinline]] void OnStack(const Use& use) {
  int room[kRoom];
  use(room);
}

// Calls use(room) with room for n ints: on the stack for up to kStackScratch,
// on the heap beyond. The stack room comes in three sizes, 256 bytes, 2 KiB
// and 16 KiB, so that a short merge takes little stack: a thread with the
// smallest stack allowed (16 KiB) can still merge sort short arrays.
template <class Use>
void WithScratch(int64_t n, const Use& use) {
  if (n <= kStackScratch / 64) {
    OnStack<kStackScratch / 64>(use);
  } else if (n <= kStackScratch / 8) {
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

// Which of i, j, k points at the median of the three values.
int* MedianOfThree(int* i, int* j, int* k) {
  if (*i < *j) {
    if (*j < *k) return j;
    return *i < *k ? k : i;
  }
  if (*i < *k) return i;
  return *j < *k ? k : j;
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

// Sorts n elements into dst, where src and dst hold the same n values on
// entry and src is left in any order. The halves are sorted into src (the
// roles swap at each level) and then merged into dst, so every level moves
// each element once and no run is copied out first. The split at n / 2 is
// the midpoint (start + end) / 2 of the caller's index range.
void SortInto(int* src, int* dst, int n) {
  if (n <= kMergeInsertion) {
    InsertionSort(dst, n);
    return;
  }
  int half = n / 2;
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

}  // namespace sort_internal

namespace {

using sort_internal::counters;
using sort_internal::SortWithoutPivots;

// Elements per block in the partitions' block phase: a block's offsets fit in
// bytes. Measured as for kQuickInsertion with blocks of 32, 64 and 128:
// quicksort 24.0, 23.4 and 25.5 ns per element, q_sort 23.9, 24.7 and 26.0.
constexpr int kBlock = 64;

// The block phase of both partitions over [first, end), each scan moving
// over elements where it does not stop: the left scan stops where
// left_stop(element) holds, the right scan at elements not greater than
// `pivot`. While the part not yet scanned holds two blocks, a block at each
// end is scanned without branches, recording the offsets where each scan
// would stop, and exchange(l, r) is called on the recorded stops pairwise, in
// the order the scans would meet them. Sets *left and *right to where the
// scans stand then; the plain loop goes on from there over what is left
// (under two blocks).
template <class LeftStop, class Exchange>
void ScanBlocks(int* first, int* end, int pivot, LeftStop left_stop,
                Exchange exchange, int** left, int** right) {
  unsigned char stops_l[kBlock], stops_r[kBlock];
  int n_l = 0, n_r = 0, next_l = 0, next_r = 0;
  while (end - first >= 2 * kBlock) {
    if (n_l == 0) {
      next_l = 0;
      for (int k = 0; k < kBlock; ++k) {
        stops_l[n_l] = static_cast<unsigned char>(k);
        n_l += left_stop(first[k]);
      }
    }
    if (n_r == 0) {
      next_r = 0;
      for (int k = 1; k <= kBlock; ++k) {
        stops_r[n_r] = static_cast<unsigned char>(k);
        n_r += !(end[-k] > pivot);
      }
    }
    int n = n_l < n_r ? n_l : n_r;
    for (int k = 0; k < n; ++k) {
      exchange(first + stops_l[next_l + k], end - stops_r[next_r + k]);
    }
    n_l -= n, next_l += n;
    n_r -= n, next_r += n;
    if (n_l == 0) first += kBlock;
    if (n_r == 0) end -= kBlock;
  }
  *left = n_l > 0 ? first + stops_l[next_l] : first;
  *right = n_r > 0 ? end - stops_r[next_r] : end - 1;
}

// quicksort's partition of arr[0, count) around `pivot`, a value that occurs
// in the range: the left pointer moves up over elements less than the pivot,
// the right pointer down over elements greater than it, the two elements they
// stop at are exchanged and both pointers move on, until they cross. Sets
// *low_last to where the right pointer ends and *high_first to where the
// left pointer ends.
//
// The pairs of elements exchanged are those of the plain loop, found faster
// by ScanBlocks; the plain loop then goes on over what is left.
void PartitionPointers(int* arr, int count, int pivot, int** low_last,
                       int** high_first) {
  int *left, *right;
  ScanBlocks(
      arr, arr + count, pivot, [pivot](int v) { return !(v < pivot); },
      [](int* l, int* r) { std::swap(*l, *r); }, &left, &right);
  // Each scan stops at an element equal to the pivot, or at one that an
  // exchange put behind the other pointer, at the latest: neither needs to
  // check the bounds.
  while (left <= right) {
    while (*left < pivot) ++left;
    while (*right > pivot) --right;
    if (left > right) break;
    std::swap(*left++, *right--);
  }
  *low_last = right;
  *high_first = left;
}

// q_sort's partition of [first, last] around the value of the element at
// *at: i moves up over elements not greater than the pivot (stopping at
// last), j down over greater ones, and the elements they stop at are
// exchanged, i and j staying where they are, until i >= j. *at follows the
// pivot element through the exchanges. Returns j. The block phase is
// ScanBlocks with q_sort's stopping rules.
int* PartitionIndices(int* first, int* last, int** at) {
  const int pivot = **at;
  int* pivot_at = *at;
  int *i, *j;
  ScanBlocks(
      first, last + 1, pivot, [pivot](int v) { return v > pivot; },
      [&pivot_at](int* l, int* r) {
        std::swap(*l, *r);
        // Only a right stop can be the pivot element: it is not greater.
        pivot_at = pivot_at == r ? l : pivot_at;
      },
      &i, &j);
  for (;;) {
    while (*i <= pivot && i < last) ++i;
    // Stops at the pivot element, or at an element that an exchange or the
    // left scan left not greater than the pivot, at the latest.
    while (*j > pivot) --j;
    if (i >= j) break;
    std::swap(*i, *j);
    // The left scan never stops at the pivot element (it is not greater), so
    // only the right one can move it.
    if (pivot_at == j) pivot_at = i;
  }
  *at = pivot_at;
  return j;
}

// Known bounds of a range's values from the partitions that enclose it: a
// part left of a split holds nothing greater than its pivot, a part right of
// it nothing less.
struct Bounds {
  bool has_low = false, has_high = false;
  int low = 0, high = 0;
};

// For a[0, n) holding no element greater than `value`: moves the elements
// less than it to the front and those equal to it behind them; returns how
// many are less. One pass, so a run of values equal to an enclosing pivot
// costs linear time instead of a partition per element or per level.
int SetAsideEqualAtEnd(int* a, int n, int value) {
  int i = 0, j = n - 1;
  for (;;) {
    while (i <= j && a[i] < value) ++i;
    while (i <= j && a[j] == value) --j;
    if (i >= j) return i;
    std::swap(a[i++], a[j--]);
  }
}

// For a[0, n) holding no element less than `value`: moves the elements equal
// to it to the front; returns how many are equal.
int SetAsideEqualAtFront(int* a, int n, int value) {
  int i = 0, j = n - 1;
  for (;;) {
    while (i <= j && a[i] == value) ++i;
    while (i <= j && a[j] > value) --j;
    if (i >= j) return i;
    std::swap(a[i++], a[j--]);
  }
}

// quicksort over arr[0, count) with `budget` lopsided partitions left before
// the range is sorted without pivots; `bounds` are what enclosing partitions
// tell of its values. Each partition is the two-pointer one around the value at
// index count / 2. After a lopsided one, the range's next pivot is the median
// of the values at a quarter, half and three quarters of it, which breaks the
// patterns (organ pipes, sawtooths) that fool the middle element again and
// again. A pivot equal to a bound means a run of values equal to it: those
// are set aside in one pass (they are in place) instead of being exchanged
// pairwise on every level.
void QuickSortRange(int* arr, int count, int budget, Bounds bounds) {
  bool spread_pivot = false;
  while (count > kQuickInsertion) {
    if (budget == 0) {
      SortWithoutPivots(arr, count);
      return;
    }
    int* at = arr + count / 2;
    if (spread_pivot) {
      at = MedianOfThree(arr + count / 4, at, arr + count - count / 4);
    }
    const int pivot = *at;
    spread_pivot = false;
    if (bounds.has_high && pivot == bounds.high) {
      count = SetAsideEqualAtEnd(arr, count, pivot);
      continue;
    }
    if (bounds.has_low && pivot == bounds.low) {
      int equal = SetAsideEqualAtFront(arr, count, pivot);
      arr += equal;
      count -= equal;
      continue;
    }
    if (counters != nullptr) ++counters->partitions;
    int *right, *left;
    PartitionPointers(arr, count, pivot, &right, &left);
    int n_low = static_cast<int>(right - arr + 1);
    int n_high = static_cast<int>(arr + count - left);
    spread_pivot = Lopsided(n_low < n_high ? n_low : n_high, count);
    budget -= spread_pivot;
    Bounds low_part = bounds, high_part = bounds;
    low_part.has_high = true, low_part.high = pivot;
    high_part.has_low = true, high_part.low = pivot;
    if (n_low < n_high) {
      QuickSortRange(arr, n_low, budget, low_part);
      arr = left;
      count = n_high;
      bounds = high_part;
    } else {
      QuickSortRange(left, n_high, budget, high_part);
      count = n_low;
      bounds = low_part;
    }
  }
  InsertionSort(arr, count);
}

// q_sort over [first, last] with `budget` lopsided partitions left before
// the range is sorted without pivots. Each partition is around the value at
// the middle, first + (last - first) / 2 (for indices, (first + last) / 2). When has_ceiling is set, no element of
// the range is greater than `ceiling` (the pivot of an enclosing partition).
// The range is held as pointers, so no index sum can overflow an int, even
// for a range that ends at index INT_MAX.
//
// The partition is fixed (see "Fixed interfaces" in the README): elements not
// greater than the pivot to the left, greater ones to the right, the pivot
// element (followed through the exchanges) at the split. A pivot equal to
// the ceiling would put everything to the left and split off a single
// element, over and over, on runs of equal values; such a range is instead
// split into the elements less than the pivot and those equal to it, which
// are done. After a lopsided partition the next pivot is the median of
// three, as in QuickSortRange.
void QSortRange(int* first, int* last, int budget, bool has_ceiling,
                int ceiling) {
  bool spread_pivot = false;
  while (last - first >= kQuickInsertion) {
    const std::ptrdiff_t n = last - first + 1;
    // A range that has been split holds fewer than INT_MAX elements; only a
    // split range can run out of budget or have a ceiling.
    if (budget == 0) {
      SortWithoutPivots(first, static_cast<int>(n));
      return;
    }
    int* at = first + (last - first) / 2;
    if (spread_pivot) {
      const std::ptrdiff_t quarter = (last - first) / 4;
      at = MedianOfThree(first + quarter, at, last - quarter);
    }
    const int pivot = *at;
    spread_pivot = false;
    if (has_ceiling && pivot == ceiling) {
      last = first - 1 + SetAsideEqualAtEnd(first, static_cast<int>(n), pivot);
      continue;
    }
    if (counters != nullptr) ++counters->partitions;
    int* j = PartitionIndices(first, last, &at);
    std::swap(*at, *j);
    const std::ptrdiff_t n_low = j - first, n_high = last - j;
    spread_pivot = Lopsided(n_low < n_high ? n_low : n_high, n);
    budget -= spread_pivot;
    if (n_low < n_high) {
      QSortRange(first, j - 1, budget, true, pivot);
      first = j + 1;
    } else {
      QSortRange(j + 1, last, budget, has_ceiling, ceiling);
      last = j - 1;
      has_ceiling = true;
      ceiling = pivot;
    }
  }
  if (first < last) InsertionSort(first, static_cast<int>(last - first + 1));
}

}  // namespace

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
  // that is insertion sorted needs none.
  int64_t n = static_cast<int64_t>(end) - start;
  if (n < 2) return;
  if (n <= kMergeInsertion) {
    InsertionSort(arr + start, static_cast<int>(n));
    return;
  }
  WithScratch(n, [&](int* copy) {
    std::memcpy(copy, arr + start, n * sizeof(int));
    SortInto(copy, arr + start, static_cast<int>(n));
  });
}

void mergesort(int* arr, int count) { mergesort_rec(arr, 0, count); }

void quicksort(int* arr, int count) {
  // The smaller part of each partition is sorted by recursion and the larger
  // by the loop, so nesting stays within log2(count) whatever the input.
  if (count < 2) return;
  QuickSortRange(arr, count, sort_internal::QuickBudget(count), Bounds());
}

void q_sort(int* arr, int first, int last) {
  // Recursion takes the smaller part, the loop the larger, which bounds
  // nesting by log2 of the range length.
  if (first >= last) return;
  const int64_t n = static_cast<int64_t>(last) - first + 1;
  QSortRange(arr + first, arr + last, sort_internal::QuickBudget(n), false, 0);
}

void print_arr(int* arr, int count) { print_arr_to(stdout, arr, count); }

void print_arr_to(std::FILE* out, const int* arr, int count) {
  for (int i = 0; i < count; ++i) std::fprintf(out, "%d, ", arr[i]);
  std::fputc('\n', out);
}
