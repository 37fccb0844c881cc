// Merge sort: merge, mergesort_rec and mergesort of sort.h, and the same
// sort on a caller's scratch for the quicksorts' way out: the runs found or
// made and the order of their merges. The merges themselves are in
// merge_runs.cc, the sort of a block or a short range in merge_blocks.cc.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "sort.h"
#include "sort_internal.h"

namespace {

using sort_internal::kMergeLeaf;
using sort_internal::MergeStretches;

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

// Natural runs shorter than this are not taken as runs: a block of
// kRunBlock elements is sorted there instead. Shorter runs would cost more
// merges than their order saves.
constexpr int kMinRun = 32;

// Where a run that is not natural is made by sorting a block of this many
// elements (8 KiB, within the L1 cache) with SortInto, the fastest sort on
// random values; merges of runs go on above it.
constexpr int kRunBlock = 2048;

// Counts n elements moved by the merges of runs, for the tests' hook.
void CountMoves(int64_t n) {
  if (sort_internal::counters != nullptr) {
    sort_internal::counters->merge_moves += n;
  }
}

// Finds or makes the run that starts at a[start], start < n, and returns
// where it ends: the natural run there when it has kMinRun elements or
// more, ascending or descending (then reversed; ints that compare equal
// cannot be told apart, so equal values may stand in a descending run),
// else a block sorted in a with scratch[start, end) to work in.
int NextRun(int* a, int start, int n, int* scratch) {
  int i = start + 1;
  while (i < n && a[i] == a[i - 1]) ++i;
  if (i < n && a[i] < a[i - 1]) {
    while (i < n && a[i] <= a[i - 1]) ++i;
    if (i - start >= kMinRun) std::reverse(a + start, a + i);
  } else {
    while (i < n && a[i] >= a[i - 1]) ++i;
  }
  if (i - start >= kMinRun) return i;
  const int end = n - start > kRunBlock ? start + kRunBlock : n;
  const int count = end - start;
  std::memcpy(scratch + start, a + start,
              static_cast<size_t>(count) * sizeof(int));
  sort_internal::SortInto(scratch + start, a + start, count);
  return end;
}

// The merge order of runs: two neighbouring runs [s, s + n1) and
// [s + n1, s + n1 + n2) of an array of n are merged at the depth of the
// first bit in which their midpoints, as fractions of n, differ (Munro and
// Wild's powersort). Merging in order of that depth, deepest first, keeps
// the merges within a constant factor of the best balance for the runs
// found, as a merge sort of halves is for runs of one element.
int MergeDepth(int64_t s, int64_t n1, int64_t n2, int64_t n) {
  // The midpoints scaled by 2^32: below 2^32, and apart by at least one.
  const uint64_t mid1 = (static_cast<uint64_t>(2 * s + n1) << 31) / n;
  const uint64_t mid2 = (static_cast<uint64_t>(2 * s + 2 * n1 + n2) << 31) / n;
  return __builtin_clz(static_cast<uint32_t>(mid1 ^ mid2));
}

}  // namespace

namespace sort_internal {

// Natural merge sort: runs are found (or made) from left to right and kept
// on a stack with their merge depth; a run waits there while the next
// boundary lies deeper, and is merged as soon as one lies shallower. The
// stack holds at most one run per depth, 33 for an int count.
//
// A run lives in a or in scratch, at the same indices in either, and a merge
// writes into the other one: each element moves once per merge, as in
// SortInto. Runs in order already stay where they are; when two runs to be
// merged lie apart, the shorter is first copied beside the other.
void MergeSortWithScratch(int* a, int n, int* scratch) {
  struct Pending {
    int start;
    int depth;  // of the boundary after this run
    bool in_scratch;
  };
  // Merges the pending run `left` with [mid, end), held as right_in_scratch
  // says, and returns whether the result is in scratch.
  auto merge_runs = [a, scratch](const Pending& left, int mid, int end,
                                 bool right_in_scratch) {
    const int lo = left.start;
    bool in_scratch = left.in_scratch;
    if (in_scratch != right_in_scratch) {
      const bool move_left = mid - lo < end - mid;
      const int from = move_left ? lo : mid, to = move_left ? mid : end;
      int* const source =
          (move_left ? in_scratch : right_in_scratch) ? scratch : a;
      int* const target = source == a ? scratch : a;
      std::memcpy(target + from, source + from,
                  static_cast<size_t>(to - from) * sizeof(int));
      CountMoves(to - from);
      in_scratch = target == scratch;
    }
    int* const from = in_scratch ? scratch : a;
    if (from[mid - 1] <= from[mid]) return in_scratch;
    int* const to = in_scratch ? a : scratch;
    MergeStretches(from + lo, mid - lo, from + mid, end - mid, to + lo);
    CountMoves(end - lo);
    return !in_scratch;
  };
  Pending stack[34];
  int top = 0;
  int start = 0, end = NextRun(a, 0, n, scratch);
  bool in_scratch = false;  // where [start, end) is
  while (end < n) {
    const int next_end = NextRun(a, end, n, scratch);
    const int depth = MergeDepth(start, end - start, next_end - end, n);
    while (top > 0 && stack[top - 1].depth > depth) {
      in_scratch = merge_runs(stack[top - 1], start, end, in_scratch);
      start = stack[--top].start;
    }
    stack[top++] = {start, depth, in_scratch};
    start = end;
    end = next_end;
    in_scratch = false;
  }
  while (top > 0) {
    in_scratch = merge_runs(stack[top - 1], start, n, in_scratch);
    start = stack[--top].start;
  }
  if (in_scratch) {
    std::memcpy(a, scratch, static_cast<size_t>(n) * sizeof(int));
    CountMoves(n);
  }
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
    MergeStretches(left, static_cast<int>(n_left), right,
                   static_cast<int>(n_right), arr + left_start);
  });
}

void mergesort_rec(int* arr, int start, int end) {
  // One scratch copy of the range serves every merge of the sort; a range
  // of one leaf needs none.
  int64_t n = static_cast<int64_t>(end) - start;
  if (n < 2) return;
  if (n <= kMergeLeaf) {
    sort_internal::SortShort(arr + start, static_cast<int>(n));
    return;
  }
  WithScratch(n, [&](int* scratch) {
    sort_internal::MergeSortWithScratch(arr + start, static_cast<int>(n),
                                        scratch);
  });
}

void mergesort(int* arr, int count) { mergesort_rec(arr, 0, count); }
