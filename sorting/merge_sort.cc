// Merge sort: merge, mergesort_rec and mergesort of sort.h, and the same
// sort on a caller's scratch for the quicksorts' way out.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "sort.h"
#include "sort_internal.h"

namespace {

using sort_internal::InsertionSort;
using sort_internal::SortedOrReversed;

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

// The merge sort's leaves: runs of this many elements sorted by SortEight,
// the fastest leaf on random values among networks of 4 and 8 and
// insertion sort of 16 and 32.
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
// already: about 2% on random values, for one pass instead of a sort on
// ordered ones.
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

void MergeSortWithScratch(int* a, int n, int* scratch) {
  std::memcpy(scratch, a, static_cast<size_t>(n) * sizeof(int));
  SortInto(scratch, a, n);
}

}  // namespace sort_internal

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
    sort_internal::MergeSortWithScratch(arr + start, static_cast<int>(n), copy);
  });
}

void mergesort(int* arr, int count) { mergesort_rec(arr, 0, count); }

