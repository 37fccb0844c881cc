#include "sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "sort_internal.h"
#include "sort_testing.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace {

using sort_testing::OnSmallStack;
using sort_testing::Values;
using Sorter = std::function<void(int*, int)>;

const std::vector<std::pair<std::string, Sorter>>& AllSorts() {
  static const std::vector<std::pair<std::string, Sorter>> sorts = {
      {"mergesort", [](int* a, int n) { mergesort(a, n); }},
      {"mergesort_rec", [](int* a, int n) { mergesort_rec(a, 0, n); }},
      {"quicksort", [](int* a, int n) { quicksort(a, n); }},
      {"q_sort", [](int* a, int n) { q_sort(a, 0, n - 1); }},
      // The quicksorts' way out: heapsort, and merge sort with scratch above
      // 4096 elements.
      {"heapsort", sort_internal::HeapSort},
      {"without pivots", sort_internal::SortWithoutPivots},
  };
  return sorts;
}

// Sorts `input` with `sort` inside a larger buffer whose guard cells on both
// sides must stay untouched; returns the sorted range. Under
// AddressSanitizer the guards may not even be read: a look one past the
// range, which leaves the output right, fails there too.
Values SortGuarded(const Sorter& sort, const Values& input) {
  constexpr size_t kGuard = 8;
  constexpr int kMark = 0x5a5a5a5a;
  Values buf(input.size() + 2u * kGuard, kMark);
  std::copy(input.begin(), input.end(), buf.begin() + kGuard);
  int* const after = buf.data() + kGuard + input.size();
  ASAN_POISON_MEMORY_REGION(buf.data(), kGuard * sizeof(int));
  ASAN_POISON_MEMORY_REGION(after, kGuard * sizeof(int));
  sort(buf.data() + kGuard, static_cast<int>(input.size()));
  ASAN_UNPOISON_MEMORY_REGION(buf.data(), kGuard * sizeof(int));
  ASAN_UNPOISON_MEMORY_REGION(after, kGuard * sizeof(int));
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

TEST(Merge, EmptyOrReversedRunWritesTheOtherBack) {
  Values a = {5, 6, 7, 1};
  merge(a.data(), 0, 0, 0, 3);
  EXPECT_EQ(a, (Values{5, 6, 7, 1}));
  merge(a.data(), 0, 3, 3, 3);
  EXPECT_EQ(a, (Values{5, 6, 7, 1}));
  merge(a.data(), 0, 3, 3, 2);
  EXPECT_EQ(a, (Values{5, 6, 7, 1}));
  // A reversed left run: the right run alone is written from left_start.
  merge(a.data(), 0, -1, 1, 3);
  EXPECT_EQ(a, (Values{6, 7, 7, 1}));
}

TEST(Merge, RunsInsideALargerArray) {
  Values a = {9, 9, -3, 8, -5, 0, 9};
  merge(a.data(), 2, 4, 4, 6);
  EXPECT_EQ(a, (Values{9, 9, -5, -3, 0, 8, 9}));
}

TEST(Merge, UnequalRunsSharingValues) {
  std::vector<std::pair<Values, Values>> runs = {
      {{2, 2, 5}, {1, 2, 2, 2, 3, 5, 5, 9}},
      {{7}, {1, 2, 3, 4, 5, 6, 8, 9}},
      {{1, 2, 3, 4, 5, 6, 8, 9}, {7}},
      {{4, 4, 4, 4, 4, 4}, {4, 4}},
  };
  // Long runs whose elements come in stretches from one run, at the front
  // and at the back, between stretches that interleave.
  Values left, right;
  for (int v = 0; v < 300; ++v) (v / 40 % 2 ? right : left).push_back(v);
  for (int v = 250; v < 350; ++v) (v % 3 ? right : left).push_back(v);
  for (int v = 0; v < 100; ++v) left.push_back(400 + v), right.push_back(400);
  // The second loop's values overlap the first's: sorted, the runs ascend.
  std::sort(left.begin(), left.end());
  std::sort(right.begin(), right.end());
  runs.push_back({left, right});
  runs.push_back({right, left});
  // Runs long enough for the merge to be split in two, at equal values; and
  // a few values placed one by one in a long run.
  Values tens(700), threes(300), evens(100);
  for (int k = 0; k < 700; ++k) tens[k] = k / 70;
  for (int k = 0; k < 300; ++k) threes[k] = k / 100 * 3;
  for (int k = 0; k < 100; ++k) evens[k] = 2 * k;
  runs.push_back({tens, threes});
  runs.push_back({evens, {-1, 51, 51, 99, 199}});
  runs.push_back({{0, 51, 52, 151}, evens});
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
  // Runs long enough to be merged in stretches, which gallop over them.
  std::mt19937 rng(7);
  Values b(402, -1);
  for (int i = 1; i < 401; ++i) b[i] = static_cast<int>(rng() % 50);
  merge(b.data(), 1, 201, 201, 401);
  EXPECT_EQ(b.front(), -1);
  EXPECT_EQ(b.back(), -1);
}

TEST(Merge, LargeRunsUseHeapScratch) {
  // Runs far beyond what the stack scratch holds.
  Values a;
  for (int i = 0; i < 200000; ++i) a.push_back(2 * i);
  for (int i = 0; i < 200000; ++i) a.push_back(2 * i + 1);
  merge(a.data(), 0, 200000, 200000, 400000);
  for (int i = 0; i < 400000; ++i) ASSERT_EQ(a[i], i);
}

// Two pairs of sorted halves merged in turn: each output is the merge of its
// own halves, also where one half comes wholly first (a front then takes the
// run's whole length), and nothing around the two outputs is written.
TEST(Merge, PairedMergesKeepToTheirOwnOutputs) {
  constexpr int kGuard = 8;
  constexpr int kMark = 0x5a5a5a5a;
  std::mt19937 rng(5);
  // Sorted halves of random values: interleaved, left first, right first.
  auto halves = [&rng](int half, int shape) {
    Values v(2 * half);
    for (int& x : v) x = static_cast<int>(rng() % 100);
    for (int i = half; i < 2 * half; ++i) v[i] += shape == 1 ? 100 : 0;
    for (int i = 0; i < half; ++i) v[i] += shape == 2 ? 100 : 0;
    std::sort(v.begin(), v.begin() + half);
    std::sort(v.begin() + half, v.end());
    return v;
  };
  for (int half : {8, 16, 64}) {
    for (int shape = 0; shape < 3; ++shape) {
      const Values one = halves(half, shape), two = halves(half, 2 - shape);
      Values out(4 * half + 3 * kGuard, kMark);
      int* const dst1 = out.data() + kGuard;
      int* const dst2 = dst1 + 2 * half + kGuard;
      sort_internal::MergeRunsPaired(one.data(), dst1, two.data(), dst2, half);
      Values want = one, got(dst1, dst1 + 2 * half);
      std::sort(want.begin(), want.end());
      EXPECT_EQ(got, want) << half << " " << shape;
      want = two, got.assign(dst2, dst2 + 2 * half);
      std::sort(want.begin(), want.end());
      EXPECT_EQ(got, want) << half << " " << shape;
      for (int k = 0; k < kGuard; ++k) {
        EXPECT_EQ(out[k], kMark);
        EXPECT_EQ(out[kGuard + 2 * half + k], kMark);
        EXPECT_EQ(out[out.size() - 1 - k], kMark);
      }
    }
  }
}

// The sorts of a block and of a quicksort's short range at every length up
// to several hundred: halves of one length go as pairs, the others alone,
// however the lengths fall level by level.
TEST(MergeSort, BlockSortsAtEveryLength) {
  std::mt19937 rng(3);
  const Sorter sort_into = [](int* a, int n) {
    Values src(a, a + n);
    sort_internal::SortInto(src.data(), a, n);
  };
  for (int n = 1; n <= 600; ++n) {
    Values in(n);
    for (int& x : in) x = static_cast<int>(rng() % 1000);
    Values want = in;
    std::sort(want.begin(), want.end());
    ASSERT_EQ(SortGuarded(sort_into, in), want) << n;
    if (n <= sort_internal::kQuickShort) {
      ASSERT_EQ(SortGuarded(sort_internal::SortShort, in), want) << n;
    }
  }
}

// The merges of runs move each element about log2(runs) times, as the merge
// order keeps them balanced: at most n * (log2(runs) + 2) for the merges
// (powersort's bound for runs of any lengths), half that again for copies
// of the shorter run where two lie apart, and n for the final copy. An order
// gone wrong still sorts, but may merge one run after another into a
// growing one, up to n * runs / 2 moves.
TEST(MergeSort, MergesMoveEachElementAboutLogRunsTimes) {
  constexpr int kN = 1 << 18;
  std::mt19937 rng(17);
  // Random values, made into runs of 2048 (128 of them); and natural runs,
  // ascending and descending, of 32 to 4095 elements.
  Values random(kN), natural(kN);
  for (int& x : random) x = static_cast<int>(rng());
  int natural_runs = 0;
  for (int i = 0; i < kN; ++natural_runs) {
    const int length = std::min(32 + static_cast<int>(rng() % 4064), kN - i);
    const int step = rng() % 2 ? 1 : -1;
    for (int k = 0; k < length; ++k) natural[i + k] = step * k;
    i += length;
  }
  for (const auto& [in, runs] :
       {std::pair<const Values&, int>{random, kN / 2048},
        std::pair<const Values&, int>{natural, natural_runs}}) {
    Values want = in, a = in;
    std::sort(want.begin(), want.end());
    sort_internal::Counters counted;
    sort_internal::counters = &counted;
    mergesort(a.data(), kN);
    sort_internal::counters = nullptr;
    ASSERT_EQ(a, want) << runs;
    const double bound = kN * (std::log2(runs) + 2) * 1.5 + kN;
    EXPECT_LE(counted.merge_moves, bound) << runs;
    EXPECT_GE(counted.merge_moves, kN) << runs;  // the hook counts
  }
  // Values in order or in reverse, with equal neighbours, are one natural
  // run: no merge moves anything.
  for (const bool ascending : {true, false}) {
    Values a(kN);
    for (int i = 0; i < kN; ++i) a[i] = (ascending ? i : kN - i) / 2;
    sort_internal::Counters counted;
    sort_internal::counters = &counted;
    mergesort(a.data(), kN);
    sort_internal::counters = nullptr;
    EXPECT_TRUE(std::is_sorted(a.begin(), a.end())) << ascending;
    EXPECT_EQ(counted.merge_moves, 0) << ascending;
  }
}

TEST(MergeSort, RightHalfBetweenTheLeftsFirstTwoValues) {
  // Sorted halves 0, 100, ..., 130 and 1, ..., 32: the right half precedes
  // all of the left but its first value, so it may not go first as a whole.
  Values a = {0};
  for (int v = 100; v <= 130; ++v) a.push_back(v);
  for (int v = 32; v >= 1; --v) a.push_back(v);
  Values want = a;
  std::sort(want.begin(), want.end());
  mergesort(a.data(), static_cast<int>(a.size()));
  EXPECT_EQ(a, want);
}

TEST(MergeSort, EveryZeroOneLeafOfEight) {
  // A sorting network that sorts every input of zeros and ones sorts every
  // input: 256 cases prove the merge sort's leaf of eight.
  for (int bits = 0; bits < 256; ++bits) {
    Values a(8);
    for (int i = 0; i < 8; ++i) a[i] = bits >> i & 1;
    mergesort(a.data(), 8);
    ASSERT_TRUE(std::is_sorted(a.begin(), a.end())) << bits;
  }
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

// Empty ranges of a null pointer and of one just past an array's end, for
// every routine that takes a range: nothing may be read or written through
// them. A read of null crashes; one past the vector's end is a read the
// sanitized build reports.
TEST(Sorts, EmptyRangesOfNullOrPastTheEndPointersAreNotRead) {
  Values a = {2, 1};
  int* const past = a.data() + a.size();
  for (int* p : {static_cast<int*>(nullptr), past}) {
    merge(p, 0, 0, 0, 0);
    merge(p, 0, -1, 0, -2);  // reversed runs count as empty
    mergesort_rec(p, 0, 0);
    mergesort_rec(p, 0, -1);
    mergesort(p, 0);
    mergesort(p, -1);
    quicksort(p, 0);
    quicksort(p, -1);
    q_sort(p, 0, -1);
    EXPECT_TRUE(sort_internal::SortedOrReversed(p, 0));
    EXPECT_TRUE(sort_internal::SortedOrReversed(p, -1));
    EXPECT_EQ(CaptureStdout([p] { print_arr(p, 0); }), "\n");
  }
  // The same ranges by index, from the array's start.
  merge(a.data(), 2, 2, 2, 2);
  mergesort_rec(a.data(), 2, 2);
  q_sort(a.data(), 2, 1);
  EXPECT_EQ(a, (Values{2, 1}));
}

TEST(Sorts, KnownAnswers) {
  const std::vector<std::pair<Values, Values>> cases = {
      {{0, -1, 3, -1}, {-1, -1, 0, 3}},
      {{1, 0}, {0, 1}},
      {{3, 1, 2}, {1, 2, 3}},
      {{1, 5, 3}, {1, 3, 5}},
      {{7, 7, 7}, {7, 7, 7}},
      {{INT32_MAX, INT32_MIN, 0, -1, 1}, {INT32_MIN, -1, 0, 1, INT32_MAX}},
      {{4}, {4}},
  };
  for (const auto& [name, sort] : AllSorts()) {
    for (const auto& [in, want] : cases) {
      EXPECT_EQ(SortGuarded(sort, in), want) << name;
      // Without guard cells too, so that the sanitized build sees any access
      // past the range, even one that writes back what it read.
      Values exact = in;
      sort(exact.data(), static_cast<int>(exact.size()));
      EXPECT_EQ(exact, want) << name;
    }
  }
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
      // Descending runs of 16, each above the one before: sorted halves
      // that are already in order from the first merge on.
      [](int i, int) { return i / 16 * 16 + 15 - i % 16; },
      // Runs long and short, ascending and descending with equal values,
      // and stretches of one value.
      [&](int i, int) {
        const int run = i / 50 % 4;
        return run == 0 ? i : run == 1 ? -i / 3 : run == 2 ? 7 : rng() % 2;
      },
      [](int i, int n) { return i % 2 ? i : n - i; },
      // One value above a run that follows it, ascending or of one value,
      // and one at the end above the rest: a natural run found must begin
      // at its first element and end at the array's end.
      [](int i, int n) { return i == 0 ? n : i; },
      [](int i, int n) { return i == 0 || i == n - 1 ? 1 : 0; },
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

TEST(MergeSorts, StackInProportionToTheWork) {
  // On a thread with the smallest stack allowed (16 KiB): only a few KiB of
  // scratch may go on the stack, the rest on the heap, and not in every
  // frame. Sizes from 513 to 4096 are those that once took 16 KiB of stack.
  OnSmallStack(
      [] {
        for (int n : {2, 100, 513, 1000, 4096, 5000}) {
          Values a(n);
          for (int i = 0; i < n; ++i) a[i] = (i * 7919) % n;
          Values want = a;
          std::sort(want.begin(), want.end());
          Values b = a;
          mergesort(b.data(), n);
          EXPECT_EQ(b, want);
          b = a;
          std::sort(b.begin(), b.begin() + n / 2);
          std::sort(b.begin() + n / 2, b.end());
          merge(b.data(), 0, n / 2, n / 2, n);
          EXPECT_EQ(b, want);
        }
      },
      PTHREAD_STACK_MIN);
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
