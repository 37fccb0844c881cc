#include "sort.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// Scratch of up to this many ints (16 KiB) lives on the stack; more comes
// from the heap. A merge of a whole large array would otherwise need as many
// bytes of stack as the array itself and overrun the usual 8 MiB stack.
constexpr int64_t kStackScratch = 4096;

// Room for n ints: on the stack when small, on the heap otherwise.
class Scratch {
 public:
  explicit Scratch(int64_t n) {
    if (n > kStackScratch) {
      heap_.reset(new int[static_cast<size_t>(n)]);
      data_ = heap_.get();
    }
  }
  int* data() { return data_; }

 private:
  int local_[kStackScratch];
  std::unique_ptr<int[]> heap_;
  int* data_ = local_;
};

// Midpoint (first + last) / 2 with the fraction dropped, without overflow.
int Middle(int first, int last) {
  return static_cast<int>((static_cast<int64_t>(first) + last) / 2);
}

// Merges the sorted runs left[0, n_left) and right[0, n_right) into out, which
// overlaps neither; on equal values the right element comes first. Each step
// picks its element by a data move rather than a branch, so random input
// costs no mispredictions.
void MergeRuns(const int* left, int n_left, const int* right, int n_right,
               int* out) {
  const int* left_end = left + n_left;
  const int* right_end = right + n_right;
  while (left != left_end && right != right_end) {
    int a = *left, b = *right;
    bool take_left = a < b;
    *out++ = take_left ? a : b;
    left += take_left;
    right += !take_left;
  }
  std::memcpy(out, left, (left_end - left) * sizeof(int));
  out += left_end - left;
  std::memcpy(out, right, (right_end - right) * sizeof(int));
}

// Sorts 2 or 3 elements from src into dst: the same merges as the general
// case (one element on the left, the rest on the right, ties to the right),
// written out because such tiny ranges make up most of the calls.
void SortSmallInto(const int* src, int* dst, int n) {
  int a = src[0], b = src[1];
  if (n == 2) {
    bool take_left = a < b;
    dst[0] = take_left ? a : b;
    dst[1] = take_left ? b : a;
    return;
  }
  int c = src[2];
  bool b_first = b < c;
  int low = b_first ? b : c, high = b_first ? c : b;
  if (a < low) {
    dst[0] = a, dst[1] = low, dst[2] = high;
  } else if (a < high) {
    dst[0] = low, dst[1] = a, dst[2] = high;
  } else {
    dst[0] = low, dst[1] = high, dst[2] = a;
  }
}

// Sorts n elements into dst, where src and dst hold the same n values on
// entry and src is left in any order. The halves are sorted into src (the
// roles swap at each level) and then merged into dst, so every level moves
// each element once and no run is copied out first. The split at n / 2 is
// the midpoint (start + end) / 2 of the caller's index range.
void SortInto(int* src, int* dst, int n) {
  if (n < 2) return;
  if (n <= 3) {
    SortSmallInto(src, dst, n);
    return;
  }
  int half = n / 2;
  SortInto(dst, src, half);
  SortInto(dst + half, src + half, n - half);
  if (src[half - 1] <= src[half]) {
    std::memcpy(dst, src, n * sizeof(int));  // Already in order.
  } else {
    MergeRuns(src, half, src + half, n - half, dst);
  }
}

}  // namespace

void merge(int* arr, int left_start, int left_end, int right_start,
           int right_end) {
  // Both runs are copied out first, so the output may overlap either of them.
  int64_t n_left = static_cast<int64_t>(left_end) - left_start;
  int64_t n_right = static_cast<int64_t>(right_end) - right_start;
  if (n_left < 0) n_left = 0;
  if (n_right < 0) n_right = 0;
  if (n_left + n_right == 0) return;  // Nothing to write; arr may even be null.
  Scratch scratch(n_left + n_right);
  int* left = scratch.data();
  int* right = left + n_left;
  std::memcpy(left, arr + left_start, n_left * sizeof(int));
  std::memcpy(right, arr + right_start, n_right * sizeof(int));
  MergeRuns(left, static_cast<int>(n_left), right, static_cast<int>(n_right),
            arr + left_start);
}

void mergesort_rec(int* arr, int start, int end) {
  // One scratch copy of the range serves every merge of the sort.
  int64_t n = static_cast<int64_t>(end) - start;
  if (n < 2) return;
  Scratch scratch(n);
  std::memcpy(scratch.data(), arr + start, n * sizeof(int));
  SortInto(scratch.data(), arr + start, static_cast<int>(n));
}

void mergesort(int* arr, int count) { mergesort_rec(arr, 0, count); }

void quicksort(int* arr, int count) {
  // Hoare partition with two pointers around the middle value. The smaller
  // part is sorted by recursion and the larger by the loop, so nesting stays
  // within log2(count) whatever the input.
  while (count > 1) {
    const int pivot = arr[count / 2];
    int* left = arr;
    int* right = arr + count - 1;
    while (left <= right) {
      if (*left < pivot) {
        ++left;
      } else if (*right > pivot) {
        --right;
      } else {
        std::swap(*left++, *right--);
      }
    }
    int n_low = static_cast<int>(right - arr + 1);
    int n_high = static_cast<int>(arr + count - left);
    if (n_low < n_high) {
      quicksort(arr, n_low);
      arr = left;
      count = n_high;
    } else {
      quicksort(left, n_high);
      count = n_low;
    }
  }
}

void q_sort(int* arr, int first, int last) {
  // Partition around the value at the middle index; the pivot element's
  // index is tracked through the exchanges so that it can be put at the split
  // position j afterwards. Recursion takes the smaller part, the loop the
  // larger, which bounds nesting by log2 of the range length.
  while (first < last) {
    int at = Middle(first, last);
    const int pivot = arr[at];
    int i = first, j = last;
    for (;;) {
      while (arr[i] <= pivot && i < last) ++i;
      while (arr[j] > pivot) --j;  // Stops at the pivot element at the latest.
      if (i >= j) break;
      std::swap(arr[i], arr[j]);
      if (at == i) {
        at = j;
      } else if (at == j) {
        at = i;
      }
    }
    std::swap(arr[at], arr[j]);
    if (j - first < last - j) {
      q_sort(arr, first, j - 1);
      first = j + 1;
    } else {
      q_sort(arr, j + 1, last);
      last = j - 1;
    }
  }
}

void print_arr(int* arr, int count) {
  for (int i = 0; i < count; ++i) std::printf("%d, ", arr[i]);
  std::putchar('\n');
}
