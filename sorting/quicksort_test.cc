// The quicksorts, quicksort and q_sort of sort.h: the closed range of
// q_sort, and what the partitions do on inputs built against them, counted
// through the test hook of sort_internal.h. (sort_test.cc checks every sort's
// answers.)

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "sort.h"
#include "sort_adversary.h"
#include "sort_internal.h"
#include "sort_testing.h"

namespace {

using sort_testing::Iota;
using sort_testing::OnSmallStack;
using sort_testing::Values;

TEST(QSort, SortsOnlyItsClosedRange) {
  Values a = {9, 4, 3, 8, 1, 0};
  q_sort(a.data(), 1, 4);
  EXPECT_EQ(a, (Values{9, 1, 3, 4, 8, 0}));
}

TEST(QSort, RangeEndingAtIntMax) {
  // Index sums such as last + 1 would overflow an int here; the sanitized
  // (x86-64) build reports any that does.
  if (sizeof(void*) < 8) GTEST_SKIP() << "indices near INT_MAX need 64 bits";
  constexpr int kN = 200;
  for (int fill : {7, -1}) {
    Values a(kN, 7);
    if (fill < 0) {
      for (int i = 0; i < kN; ++i) a[i] = i % 2 ? i : kN - i;
    }
    Values want = a;
    std::sort(want.begin(), want.end());
    // a[0] stands at index INT_MAX - (kN - 1) of `base`, never dereferenced
    // outside a.
    int* base = a.data() - (static_cast<std::ptrdiff_t>(INT_MAX) - (kN - 1));
    q_sort(base, INT_MAX - (kN - 1), INT_MAX);
    EXPECT_EQ(a, want);
  }
}

// Counts what a quicksort does on `in` (on a small stack) and checks that it
// sorted it into `want`.
sort_internal::Counters CountedSort(bool use_q_sort, const Values& in,
                                    const Values& want) {
  sort_internal::Counters counted;
  Values a = in;
  const int n = static_cast<int>(a.size());
  OnSmallStack([&] {
    sort_internal::counters = &counted;
    if (use_q_sort) {
      q_sort(a.data(), 0, n - 1);
    } else {
      quicksort(a.data(), n);
    }
    sort_internal::counters = nullptr;
  });
  EXPECT_EQ(a, want) << (use_q_sort ? "q_sort" : "quicksort");
  return counted;
}

// McIlroy's adversary makes every partition on the chain lopsided until the
// budget is spent; the rest goes to the way out, heapsort for a short range
// (n = 1000), merge sort for a long one. Without the budget the sort would
// partition on, far past it.
TEST(Quicksorts, AdversarySpendsTheBudgetThenTheWayOutFinishes) {
  for (int n : {1000, 30000}) {
    const bool heap = n <= 4096;
    for (bool use_q_sort : {false, true}) {
      bool spent = false;
      Values in = QuicksortAdversary(n, use_q_sort, &spent);
      EXPECT_TRUE(spent) << n;
      sort_internal::Counters c = CountedSort(use_q_sort, in, Iota(n));
      EXPECT_LE(c.partitions, sort_internal::QuickBudget(n)) << n;
      EXPECT_EQ(c.heapsorts, heap ? 1 : 0) << n;
      EXPECT_EQ(c.mergesorts, heap ? 0 : 1) << n;
    }
  }
}

// The middle-pivot killers would make every partition lopsided for a pivot
// taken at the middle; the median of the samples breaks the pattern, so the
// way out is never needed.
TEST(Quicksorts, MedianOfThreeDefeatsTheMiddlePivotKillers) {
  constexpr int kN = 30000;
  for (bool use_q_sort : {false, true}) {
    Values in = MiddlePivotKiller(kN, [](int count) { return count / 2; });
    if (use_q_sort) {
      in = MiddlePivotKiller(kN, [](int count) { return (count - 1) / 2; });
    }
    sort_internal::Counters c = CountedSort(use_q_sort, in, Iota(kN));
    EXPECT_EQ(c.heapsorts + c.mergesorts, 0) << use_q_sort;
  }
}

// On random values a long range's pivot, the median of the wide sample,
// leaves at least a quarter of the range on each side but about one time in
// 400; a median of three misses one time in three.
TEST(Quicksorts, LongRangesSplitNearTheirMiddle) {
  constexpr int kN = 1 << 16;
  std::mt19937 rng(7);
  Values v = Iota(kN);
  for (int round = 0; round < 20; ++round) {
    std::shuffle(v.begin(), v.end(), rng);
    for (bool equal_left : {false, true}) {
      Values w = v;
      const int* split =
          sort_internal::PartitionAroundPivot(w.data(), kN, equal_left);
      EXPECT_GE(split - w.data(), kN / 4) << round;
      EXPECT_LT(split - w.data(), kN - kN / 4) << round;
    }
  }
}

// Input already in order, either way, is found in one pass: no partitions.
TEST(Quicksorts, OrderedInputTakesNoPartition) {
  constexpr int kN = 1000;
  Values up(kN);
  for (int i = 0; i < kN; ++i) up[i] = i / 3;  // runs of equal values
  const Values down(up.rbegin(), up.rend());
  for (bool use_q_sort : {false, true}) {
    EXPECT_EQ(CountedSort(use_q_sort, up, up).partitions, 0) << use_q_sort;
    EXPECT_EQ(CountedSort(use_q_sort, down, up).partitions, 0) << use_q_sort;
  }
}

// Shapes on which a quicksort that always splits at the middle element, or
// splits off runs of equal values one element at a time, needs about n * n / 2
// steps: minutes for these sizes, milliseconds for an O(n log n) sort. With
// runs of equal values set aside, each distinct value is a pivot at most once.
// The pivot rules break the organ pipes' pattern: no long range needs the way
// out, though a median of three can still be led astray on one of the short
// ranges (a few hundred elements) that their partitions leave, which the way
// out then heapsorts at a bounded cost.
TEST(Quicksorts, NoShapeGoesQuadratic) {
  constexpr int kN = 200000;
  std::mt19937 rng(99);
  const std::vector<std::tuple<std::string, int, std::function<int(int)>>>
      shapes = {
          {"all equal", 1, [](int) { return 5; }},
          {"two values", 2, [&](int) { return static_cast<int>(rng() % 2); }},
          {"ten values", 10, [&](int) { return static_cast<int>(rng() % 10); }},
          {"organ pipe", kN, [](int i) { return i < kN / 2 ? i : kN - i; }},
          {"valley", kN,
           [](int i) { return i < kN / 2 ? kN / 2 - i : i - kN / 2; }},
      };
  for (const auto& [shape, distinct, value] : shapes) {
    Values in(kN);
    for (int i = 0; i < kN; ++i) in[i] = value(i);
    Values want = in;
    std::sort(want.begin(), want.end());
    for (bool use_q_sort : {false, true}) {
      sort_internal::Counters c = CountedSort(use_q_sort, in, want);
      EXPECT_LE(c.partitions, distinct) << shape << " " << use_q_sort;
      EXPECT_LE(c.heapsorts, distinct == kN ? 1 : 0) << shape << use_q_sort;
      EXPECT_EQ(c.mergesorts, 0) << shape << " " << use_q_sort;
    }
  }
}

}  // namespace
