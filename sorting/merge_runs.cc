// The merges of the merge sort (merge_sort.cc, merge_blocks.cc): two sorted
// runs into one output, branch-free where the runs interleave, by galloping
// where one run's elements come in stretches.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "sort_internal.h"

namespace {

using sort_internal::kSplitMerge;
using sort_internal::kStretch;
using sort_internal::MergeRuns;
using sort_internal::MergeStretches;

// The first element of [first, end) for which below() is false, where it is
// true on a prefix of the range: galloping, steps of 1, 2, 4, ... from the
// start and then a binary search in the last step, so a short prefix costs
// few comparisons however long the range. On reverse iterators it gallops
// from the back.
template <class It, class Below>
It Gallop(It first, It end, Below below) {
  std::ptrdiff_t step = 1;
  while (step < end - first && below(first[step])) {
    first += step;
    step *= 2;
  }
  return std::partition_point(first, step < end - first ? first + step : end,
                              below);
}

// One end of a merge in progress: where the two runs' next elements are and
// where the next output goes. From the front, a and b point at the first
// elements not merged yet; from the back, just past the last ones.
struct Ends {
  const int* a;
  const int* b;
  int* out;
};

// kStretch steps of a merge from the front, each picking its element by a
// data move; there must be kStretch elements left in each run. The steps
// from each end are functions of their own, not inlined: with only their
// three pointers live, a 32-bit x86 keeps them in registers, where the
// inlined loop spilled one of them on every step, and each call is a chain
// of work that the processor overlaps with the calls that follow.
[[gnu::noinline]] void StepsFromFront(Ends& e) {
  const int* a = e.a;
  const int* b = e.b;
  for (int k = 0; k < kStretch; ++k) {
    const int x = *a, y = *b;
    const bool take_a = x < y;
    e.out[k] = take_a ? x : y;
    // Both pointers move by the one flag, through a mask as wide as a
    // pointer: written as `a += take_a; b += !take_a` (or with a 32-bit
    // mask on x86-64), GCC set a second flag from the comparison, on the
    // processor ports that the selection above needs too, and the steps
    // took a quarter longer (bench/sort_notes.md).
    const std::uintptr_t mask = -static_cast<std::uintptr_t>(take_a);
    a += mask & 1;
    b += ~mask & 1;
  }
  e.a = a, e.b = b, e.out += kStretch;
}

// kStretch steps of a merge from the back, as StepsFromFront; among equal
// values a's element goes last.
[[gnu::noinline]] void StepsFromBack(Ends& e) {
  const int* a = e.a;
  const int* b = e.b;
  for (int k = 0; k < kStretch; ++k) {
    const int u = a[-1], v = b[-1];
    const bool take_b = u < v;
    e.out[-1 - k] = take_b ? v : u;
    // One flag for both pointers, as in StepsFromFront; here the mask
    // became a second selection, this form a shift and an add.
    const int step = take_b;
    b -= step;
    a += step - 1;
  }
  e.a = a, e.b = b, e.out -= kStretch;
}

// A rest of more than this many elements of one run, against fewer than
// kStretch of the other, is merged by galloping (RoundMerge::Finish): from
// 32 to 128 alike on random values, and 32 took sorted values with 1% of
// pairs swapped from 0.81 to 0.68 of std::stable_sort's time.
constexpr int kLongRest = 4 * kStretch;

// A merge of the sorted runs a[0, n_a) and b[0, n_b) into out, which
// overlaps neither, in rounds; on equal values the element of b comes first.
//
// As MergeRuns, it places the smallest elements from the front and the
// largest from the back. Before each round it checks whether the next
// kStretch elements at either end all come from one run; if so the whole
// stretch is found by galloping and moved at once, else kStretch elements
// are merged branch-free at each end. Every move and step is held to what
// is left of the runs, so runs that are not sorted (against the caller's
// promise) can cost order but never a read or write outside them.
class RoundMerge {
 public:
  RoundMerge(const int* a, int n_a, const int* b, int n_b, int* out)
      : front_{a, b, out}, back_{a + n_a, b + n_b, out + n_a + n_b} {}

  // Does one round and returns true, or returns false, having done nothing,
  // when a run has fewer than kStretch elements left.
  bool Round() {
    using Back = std::reverse_iterator<const int*>;
    const int *a = front_.a, *b = front_.b;
    const int *a_end = back_.a, *b_end = back_.b;
    if (a_end - a < kStretch || b_end - b < kStretch) return false;
    const int a_first = *a, b_first = *b, a_last = a_end[-1];
    const int b_last = b_end[-1];
    if (a[kStretch - 1] < b_first) {
      ToFront(front_.a, Gallop(a + kStretch, a_end,
                               [b_first](int x) { return x < b_first; }));
    } else if (b[kStretch - 1] <= a_first) {
      ToFront(front_.b, Gallop(b + kStretch, b_end,
                               [a_first](int x) { return x <= a_first; }));
    } else if (a_end[-kStretch] >= b_last) {
      ToBack(back_.a, Gallop(Back(a_end - kStretch), Back(a), [b_last](int x) {
                        return x >= b_last;
                      }).base());
    } else if (b_end[-kStretch] > a_last) {
      ToBack(back_.b, Gallop(Back(b_end - kStretch), Back(b), [a_last](int x) {
                        return x > a_last;
                      }).base());
    } else {
      StepsFromFront(front_);
      StepsFromBack(back_);
    }
    return true;
  }

  // Merges what is left, too short for a round. When one run's rest is
  // much longer than the other's, each element of the short rest is placed
  // by galloping through the long one, whose stretches in between move at
  // once: a step-by-step merge would take a step per element of the long
  // rest, and runs of quite different lengths are common in ordered input.
  void Finish() {
    const int *a = front_.a, *b = front_.b;
    const int *a_end = back_.a, *b_end = back_.b;
    if (a_end - a > kLongRest && b_end - b < kStretch) {
      for (; b < b_end; ++b) {
        const int y = *b;
        ToFront(a, Gallop(a, a_end, [y](int x) { return x < y; }));
        *front_.out++ = y;
      }
      ToFront(a, a_end);
    } else if (b_end - b > kLongRest && a_end - a < kStretch) {
      for (; a < a_end; ++a) {
        const int x = *a;
        ToFront(b, Gallop(b, b_end, [x](int y) { return y <= x; }));
        *front_.out++ = x;
      }
      ToFront(b, b_end);
    } else {
      MergeRuns(a, static_cast<int>(a_end - a), b, static_cast<int>(b_end - b),
                front_.out);
    }
  }

 private:
  // Moves [from, to) of one run to the front's output.
  void ToFront(const int*& from, const int* to) {
    const std::ptrdiff_t n = to - from;
    std::memmove(front_.out, from, static_cast<size_t>(n) * sizeof(int));
    front_.out += n;
    from = to;
  }

  // Moves [from, from_end) of one run to the back's output.
  void ToBack(const int*& from_end, const int* from) {
    const std::ptrdiff_t n = from_end - from;
    back_.out -= n;
    std::memmove(back_.out, from, static_cast<size_t>(n) * sizeof(int));
    from_end = from;
  }

  Ends front_, back_;
};

}  // namespace

namespace sort_internal {

// Merges the sorted runs left[0, n_left) and right[0, n_right) into out, which
// overlaps neither; on equal values the right element comes first. Each step
// picks its element by a data move rather than a branch, so random input
// costs no mispredictions. The smallest elements are placed from the front
// and the largest from the back in turn: two independent chains of work, and
// for as many steps as the shorter run has elements neither end can run past
// its runs, so the steps need no bounds checks. They go kStretch at a time
// through StepsFromFront and StepsFromBack, whose pointers stay in
// registers where the loop of single steps below spilled them on 32-bit x86:
// 6% off the merge sort on random values.
void MergeRuns(const int* left, int n_left, const int* right, int n_right,
               int* out) {
  const int steps = n_left < n_right ? n_left : n_right;
  // The back's next elements are the ones before these.
  const int* left_end = left + n_left;
  const int* right_end = right + n_right;
  int* out_end = out + n_left + n_right;
  int k = 0;
  if (steps >= kStretch) {
    Ends front{left, right, out}, back{left_end, right_end, out_end};
    for (; k + kStretch <= steps; k += kStretch) {
      StepsFromFront(front);
      StepsFromBack(back);
    }
    left = front.a, right = front.b, out = front.out;
    left_end = back.a, right_end = back.b, out_end = back.out;
  }
  for (; k < steps; ++k) {
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

// Merges the sorted runs a[0, n_a) and b[0, n_b) into out, which overlaps
// neither, by RoundMerge; on equal values the element of b comes first.
//
// A long merge is split into two independent merges, of the smaller half of
// the elements into the first half of out and of the rest into the second:
// a binary search finds how many of the smaller half come from a. The two
// take rounds in turn. Each round's steps are a chain of dependent loads
// and comparisons, so the processor is mostly waiting; with both merges'
// rounds in flight it works on four chains instead of two, which took the
// merge of two runs of 4096 random values from 1.6 to 0.8 ns per element
// (32-bit).
void MergeStretches(const int* a, int n_a, const int* b, int n_b, int* out) {
  if (n_a + n_b < kSplitMerge) {
    RoundMerge merge(a, n_a, b, n_b, out);
    while (merge.Round()) {
    }
    merge.Finish();
    return;
  }
  // The first `half` elements of out are a[0, i) and b[0, half - i), for the
  // least i at which a[i] is no less than b[half - i - 1]; every index read
  // lies inside the runs.
  const int half = static_cast<int>((int64_t{n_a} + n_b) / 2);
  int low = half > n_b ? half - n_b : 0, high = n_a < half ? n_a : half;
  while (low < high) {
    const int i = low + (high - low) / 2;
    if (a[i] < b[half - i - 1]) {
      low = i + 1;
    } else {
      high = i;
    }
  }
  RoundMerge first(a, low, b, half - low, out);
  RoundMerge second(a + low, n_a - low, b + half - low, n_b - half + low,
                    out + half);
  bool more = true;
  while (more) {
    const bool first_more = first.Round();
    more = second.Round() && first_more;
  }
  while (first.Round()) {
  }
  while (second.Round()) {
  }
  first.Finish();
  second.Finish();
}

// Merges the sorted halves src1[0, half) and src1[half, 2 * half) into dst1
// and those of src2 into dst2, as MergeRuns would, with the steps of the two
// merges in turn: four chains of work in flight where one merge has two,
// and no search for a split as MergeStretches needs. half is a whole number
// of kStretch steps, so each end takes exactly half steps.
// NOLINTNEXTLINE(readability-non-const-parameter): written through Ends
void MergeRunsPaired(const int* src1, int* dst1, const int* src2, int* dst2,
                     int half) {
  Ends front1{src1, src1 + half, dst1};
  Ends back1{src1 + half, src1 + 2 * half, dst1 + 2 * half};
  Ends front2{src2, src2 + half, dst2};
  Ends back2{src2 + half, src2 + 2 * half, dst2 + 2 * half};
  for (int k = 0; k < half; k += kStretch) {
    StepsFromFront(front1);
    StepsFromBack(back1);
    StepsFromFront(front2);
    StepsFromBack(back2);
  }
}

}  // namespace sort_internal
