#include "sort.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "sort_adversary.h"

namespace {

using Values = std::vector<int>;
using Sorter = std::function<void(int*, int)>;

const std::vector<std::pair<std::string, Sorter>>& AllSorts() {
  static const std::vector<std::pair<std::string, Sorter>> sorts = {
      {"mergesort", [](int* a, int n) { mergesort(a, n); }},
      {"mergesort_rec", [](int* a, int n) { mergesort_rec(a, 0, n); }},
      {"quicksort", [](int* a, int n) { quicksort(a, n); }},
      {"q_sort", [](int* a, int n) { q_sort(a, 0, n - 1); }},
  };
  return sorts;
}

// Sorts `input` with `sort` inside a larger buffer whose guard cells on both
// sides must stay untouched; returns the sorted range.
Values SortGuarded(const Sorter& sort, const Values& input) {
  constexpr size_t kGuard = 8;
  constexpr int kMark = 0x5a5a5a5a;
  Values buf(input.size() + 2u * kGuard, kMark);
  std::copy(input.begin(), input.end(), buf.begin() + kGuard);
  sort(buf.data() + kGuard, static_cast<int>(input.size()));
  for (size_t k = 0; k < kGuard; ++k) {
    EXPECT_EQ(buf[k], kMark) << "write before the range";
    EXPECT_EQ(buf[buf.size() - 1 - k], kMark) << "write after the range";
  }
  return Values(buf.begin() + kGuard, buf.end() - kGuard);
}

// Captures what `print` writes to standard output.
std::string CaptureStdout(const std::function<void()>& print) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  print();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

TEST(Merge, InterleavesAdjacentRuns) {
  Values a = {1, 4, 9, 2, 3, 10};
  merge(a.data(), 0, 3, 3, 6);
  EXPECT_EQ(a, (Values{1, 2, 3, 4, 9, 10}));
}

TEST(Merge, EmptyRunWritesTheOtherBack) {
  Values a = {5, 6, 7};
  merge(a.data(), 0, 0, 0, 3);
  EXPECT_EQ(a, (Values{5, 6, 7}));
  merge(a.data(), 0, 3, 3, 3);
  EXPECT_EQ(a, (Values{5, 6, 7}));
}

TEST(Merge, RunsInsideALargerArray) {
  Values a = {9, 9, -3, 8, -5, 0, 9};
  merge(a.data(), 2, 4, 4, 6);
  EXPECT_EQ(a, (Values{9, 9, -5, -3, 0, 8, 9}));
}

TEST(Merge, UnequalRunsSharingValues) {
  const std::vector<std::pair<Values, Values>> runs = {
      {{2, 2, 5}, {1, 2, 2, 2, 3, 5, 5, 9}},
      {{7}, {1, 2, 3, 4, 5, 6, 8, 9}},
      {{1, 2, 3, 4, 5, 6, 8, 9}, {7}},
      {{4, 4, 4, 4, 4, 4}, {4, 4}},
  };
  for (const auto& [left, right] : runs) {
    Values a = left, want;
    a.insert(a.end(), right.begin(), right.end());
    std::merge(left.begin(), left.end(), right.begin(), right.end(),
               std::back_inserter(want));
    int n_left = static_cast<int>(left.size());
    merge(a.data(), 0, n_left, n_left, static_cast<int>(a.size()));
    EXPECT_EQ(a, want);
  }
}

TEST(Merge, RunsThatAreNotAscendingStayInTheirRange) {
  // Unsorted runs break merge's promise; they may come out in any order, but
  // nothing outside the two runs may be written. The guard cells catch it.
  Values a = {-1, 5, 1, 9, 0, 3, 2, 8, 1, -1};
  merge(a.data(), 1, 5, 5, 9);
  EXPECT_EQ(a.front(), -1);
  EXPECT_EQ(a.back(), -1);
}

TEST(Merge, LargeRunsUseHeapScratch) {
  // Runs far beyond what the stack scratch holds.
  Values a;
  for (int i = 0; i < 200000; ++i) a.push_back(2 * i);
  for (int i = 0; i < 200000; ++i) a.push_back(2 * i + 1);
  merge(a.data(), 0, 200000, 200000, 400000);
  for (int i = 0; i < 400000; ++i) ASSERT_EQ(a[i], i);
}

TEST(Sorts, ShortRangesAreLeftAlone) {
  Values a = {3, 1};
  mergesort(a.data(), 1);
  quicksort(a.data(), 1);
  mergesort(a.data(), 0);
  quicksort(a.data(), -5);
  mergesort_rec(a.data(), 1, 0);
  q_sort(a.data(), 1, 1);
  q_sort(a.data(), 1, 0);
  EXPECT_EQ(a, (Values{3, 1}));
}

TEST(Sorts, KnownAnswers) {
  const std::vector<std::pair<Values, Values>> cases = {
      {{0, -1, 3, -1}, {-1, -1, 0, 3}},
      {{1, 0}, {0, 1}},
      {{3, 1, 2}, {1, 2, 3}},
      {{1, 5, 3}, {1, 3, 5}},
      {{7, 7, 7}, {7, 7, 7}},
      {{INT32_MAX, INT32_MIN, 0, -1, 1}, {INT32_MIN, -1, 0, 1, INT32_MAX}},
  };
  for (const auto& [name, sort] : AllSorts()) {
    for (const auto& [in, want] : cases) {
      EXPECT_EQ(SortGuarded(sort, in), want) << name;
    }
  }
}

TEST(QSort, SortsOnlyItsClosedRange) {
  Values a = {9, 4, 3, 8, 1, 0};
  q_sort(a.data(), 1, 4);
  EXPECT_EQ(a, (Values{9, 1, 3, 4, 8, 0}));
}

TEST(MergeSortRec, SortsOnlyItsHalfOpenRange) {
  Values a = {9, 4, 3, 8, 1, 0};
  mergesort_rec(a.data(), 1, 5);
  EXPECT_EQ(a, (Values{9, 1, 3, 4, 8, 0}));
}

// Inputs of many sizes and shapes; every sort must agree with std::sort.
TEST(Sorts, AgreeWithStdSortOnManyShapes) {
  std::mt19937 rng(12345);
  const std::vector<std::function<int(int, int)>> shapes = {
      [&](int, int) { return static_cast<int>(rng()); },  // any int
      [&](int, int n) { return static_cast<int>(rng() % (n / 4 + 1)); },
      [](int i, int) { return i; },                        // ascending
      [](int i, int n) { return n - i; },                  // descending
      [](int, int) { return 42; },                         // all equal
      [](int i, int n) { return i < n / 2 ? i : n - i; },  // organ pipe
      [&](int i, int) { return i % 2 ? -i : static_cast<int>(rng() % 3); },
  };
  for (int n : {2, 3, 4, 5, 7, 8, 16, 31, 100, 1000, 4099, 10007}) {
    for (const auto& shape : shapes) {
      Values in(n);
      for (int i = 0; i < n; ++i) in[i] = shape(i, n);
      Values want = in;
      std::sort(want.begin(), want.end());
      for (const auto& [name, sort] : AllSorts()) {
        ASSERT_EQ(SortGuarded(sort, in), want) << name << " n=" << n;
      }
    }
  }
}

// Runs fn on a thread with a small stack (256 KiB): a sort whose nesting
// grows with the input would overflow it and crash the test.
void OnSmallStack(std::function<void()> fn) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, size_t{256} * 1024);
  pthread_t thread;
  auto body = [](void* f) -> void* {
    (*static_cast<std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, &fn), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

// The adversaries drive the quicksorts into their way out: merge sort for
// long ranges, heapsort for short ones (n = 1000).
TEST(Quicksorts, AdverseInputKeepsNestingShallow) {
  for (int n : {30000, 1000}) {  // 30000 nested calls if nesting were linear
    Values want(n);
    for (int i = 0; i < n; ++i) want[i] = i + 1;
    for (const Values& in :
         {MiddlePivotKiller(n, [](int count) { return count / 2; }),
          QuicksortAdversary(n, false)}) {
      Values a = in;
      OnSmallStack([&] { quicksort(a.data(), n); });
      EXPECT_EQ(a, want) << n;
    }
    for (const Values& in :
         {MiddlePivotKiller(n, [](int count) { return (count - 1) / 2; }),
          QuicksortAdversary(n, true)}) {
      Values a = in;
      OnSmallStack([&] { q_sort(a.data(), 0, n - 1); });
      EXPECT_EQ(a, want) << n;
    }
  }
}

// Shapes on which a quicksort that always splits at the middle element, or
// splits off runs of equal values one element at a time, needs about n * n / 2
// steps: minutes for these sizes, milliseconds for an O(n log n) sort.
TEST(Quicksorts, NoShapeGoesQuadratic) {
  constexpr int kN = 200000;
  std::mt19937 rng(99);
  const std::vector<std::pair<std::string, std::function<int(int)>>> shapes = {
      {"all equal", [](int) { return 5; }},
      {"two values", [&](int) { return static_cast<int>(rng() % 2); }},
      {"ten values", [&](int) { return static_cast<int>(rng() % 10); }},
      {"organ pipe", [](int i) { return i < kN / 2 ? i : kN - i; }},
      {"valley", [](int i) { return i < kN / 2 ? kN / 2 - i : i - kN / 2; }},
  };
  for (const auto& [shape, value] : shapes) {
    Values in(kN);
    for (int i = 0; i < kN; ++i) in[i] = value(i);
    Values want = in;
    std::sort(want.begin(), want.end());
    Values a = in;
    quicksort(a.data(), kN);
    EXPECT_EQ(a, want) << "quicksort, " << shape;
    a = in;
    q_sort(a.data(), 0, kN - 1);
    EXPECT_EQ(a, want) << "q_sort, " << shape;
  }
}

TEST(PrintArr, TrailingSeparatorAndLineFeed) {
  Values a = {3, -2};
  EXPECT_EQ(CaptureStdout([&] { print_arr(a.data(), 2); }), "3, -2, \n");
  EXPECT_EQ(CaptureStdout([&] { print_arr(a.data(), 0); }), "\n");
  EXPECT_EQ(CaptureStdout([&] { print_arr(a.data(), -1); }), "\n");
  Values extremes = {INT32_MIN, INT32_MAX};
  EXPECT_EQ(CaptureStdout([&] { print_arr(extremes.data(), 2); }),
            "-2147483648, 2147483647, \n");
}

}  // namespace
