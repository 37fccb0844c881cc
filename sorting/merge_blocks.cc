// Merge sort of a block or a short range from leaves up (SortInto,
// SortShort): leaves of kMergeLeaf sorted by a network, then the halves of
// each level merged (merge_runs.cc) back and forth between two buffers.

#include <cstring>

#include "sort_internal.h"

namespace {

using sort_internal::InsertionSort;
using sort_internal::kMergeLeaf;
using sort_internal::kSplitMerge;
using sort_internal::kStretch;
using sort_internal::MergeRuns;
using sort_internal::MergeRunsPaired;
using sort_internal::MergeStretches;

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

// Whether the merge of the sorted runs a[0, half) and a[half, n), each of
// kStretch elements or more, begins or ends with kStretch elements or more
// from one run. A merge of random runs does about one time in 60 (each end
// about one in 2^kStretch); the merges of input with some order, which the
// look for stretches is for, mostly do.
bool StretchAtAnEnd(const int* a, int half, int n) {
  return a[kStretch - 1] < a[half] || a[half + kStretch - 1] <= a[0] ||
         a[half - kStretch] >= a[n - 1] || a[n - kStretch] > a[half - 1];
}

// How MergeSortInto merges two sorted halves.
enum class HalvesMerge {
  kInOrder,     // copied as they are: the left ends where the right begins
  kRightFirst,  // copied right half first: it ends where the left begins
  kStretches,   // MergeStretches
  kPlain,       // MergeRuns
};

// How the sorted halves src[0, half) and src[half, n) are merged. With
// kStretches the merges look for stretches (MergeStretches), which input
// with some order needs; without, they are plain MergeRuns, a few percent
// faster on random values. With kStretches too, a merge shorter than
// kSplitMerge is plain when no stretch shows at its ends: random values
// took 0.45 to 0.48 of std::sort's time against 0.50 to 0.53.
template <bool kStretches>
HalvesMerge ChooseMerge(const int* src, int half, int n) {
  if (src[half - 1] <= src[half]) return HalvesMerge::kInOrder;
  if (src[n - 1] <= src[0]) return HalvesMerge::kRightFirst;
  if (kStretches && (n >= kSplitMerge || n - half < kStretch ||
                     StretchAtAnEnd(src, half, n))) {
    return HalvesMerge::kStretches;
  }
  return HalvesMerge::kPlain;
}

// Merges the sorted halves src[0, half) and src[half, n) into dst as `how`
// says.
void MergeHalves(HalvesMerge how, const int* src, int* dst, int half, int n) {
  switch (how) {
    case HalvesMerge::kInOrder:
      std::memcpy(dst, src, n * sizeof(int));
      break;
    case HalvesMerge::kRightFirst:  // as on descending input
      std::memcpy(dst, src + half, (n - half) * sizeof(int));
      std::memcpy(dst + n - half, src, half * sizeof(int));
      break;
    case HalvesMerge::kStretches:
      MergeStretches(src, half, src + half, n - half, dst);
      break;
    case HalvesMerge::kPlain:
      MergeRuns(src, half, src + half, n - half, dst);
      break;
  }
}

// The split of a range of n > kMergeLeaf elements into halves: the midpoint
// rounded up to a whole number of leaves, so that every leaf but the last
// holds exactly kMergeLeaf elements for SortEight.
int LeafHalf(int n) {
  return (n / 2 + kMergeLeaf - 1) / kMergeLeaf * kMergeLeaf;
}
static_assert(kMergeLeaf % kStretch == 0,
              "halves of whole leaves are whole numbers of merge steps");

template <bool kStretches>
void MergeSortInto(int* src, int* dst, int n);
template <bool kStretches>
void MergeSortPairInto(int* src1, int* dst1, int* src2, int* dst2, int n);

// Sorts the halves into[0, half) and into[half, n) by MergeSortInto, with
// from holding the same values: halves of one length as a pair, whose
// merges can go in turn.
template <bool kStretches>
void SortHalvesInto(int* from, int* into, int half, int n) {
  if (half == n - half) {
    MergeSortPairInto<kStretches>(from, into, from + half, into + half, half);
  } else {
    MergeSortInto<kStretches>(from, into, half);
    MergeSortInto<kStretches>(from + half, into + half, n - half);
  }
}

// Sorts n elements into dst, where src and dst hold the same n values in
// the same order on entry and src is left in any order. The halves are
// sorted into src (the roles swap at each level) and then merged into dst,
// so every level moves each element once and no run is copied out first.
template <bool kStretches>
void MergeSortInto(int* src, int* dst, int n) {
  if (n <= kMergeLeaf) {
    SortLeaf(dst, n);
    return;
  }
  const int half = LeafHalf(n);
  SortHalvesInto<kStretches>(dst, src, half, n);
  MergeHalves(ChooseMerge<kStretches>(src, half, n), src, dst, half, n);
}

// MergeSortInto of two ranges of n elements each, src1 into dst1 and src2
// into dst2, level by level together, so that merges that are plain in
// both go as a pair (MergeRunsPaired).
template <bool kStretches>
void MergeSortPairInto(int* src1, int* dst1, int* src2, int* dst2, int n) {
  if (n <= kMergeLeaf) {
    SortLeaf(dst1, n);
    SortLeaf(dst2, n);
    return;
  }
  const int half = LeafHalf(n);
  SortHalvesInto<kStretches>(dst1, src1, half, n);
  SortHalvesInto<kStretches>(dst2, src2, half, n);
  const HalvesMerge how1 = ChooseMerge<kStretches>(src1, half, n);
  const HalvesMerge how2 = ChooseMerge<kStretches>(src2, half, n);
  if (how1 == HalvesMerge::kPlain && how2 == HalvesMerge::kPlain &&
      half == n - half) {
    MergeRunsPaired(src1, dst1, src2, dst2, half);
  } else {
    MergeHalves(how1, src1, dst1, half, n);
    MergeHalves(how2, src2, dst2, half, n);
  }
}

}  // namespace

namespace sort_internal {

void SortInto(int* src, int* dst, int n) { MergeSortInto<true>(src, dst, n); }

// The quicksorts' short ranges: copied to stack scratch (4 * kQuickShort
// bytes, once, at the innermost level of the quicksorts' nesting) and sorted
// back by MergeSortInto, whose leaves and merges are branch-free where
// insertion sort mispredicts about once per element on random values. The
// merges do not look for stretches: in ranges this short that costs more on
// random values (5% of a quicksort's time) than it saves on ordered ones.
void SortShort(int* a, int n) {
  if (n <= kMergeLeaf) {
    SortLeaf(a, n);
    return;
  }
  int scratch[kQuickShort];
  std::memcpy(scratch, a, static_cast<size_t>(n) * sizeof(int));
  MergeSortInto<false>(scratch, a, n);
}

}  // namespace sort_internal
