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

// Merges the sorted runs left[0, n_left) and right[0, n_right) into out; on
// equal values the right element comes first. The choice of each step is a
// data move rather than a branch, so random input does not mispredict.
// out may alias right as long as out + n_left == right: every write then lands
// at or before the next right element still to be read.
int* MergeRuns(const int* left, int n_left, const int* right, int n_right,
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
  size_t rest_left = left_end - left;
  std::memmove(out, left, rest_left * sizeof(int));
  out += rest_left;
  if (out != right) std::memmove(out, right, (right_end - right) * sizeof(int));
  return out + (right_end - right);
}

// Sorts arr[start, end) with buf as scratch for left runs (room for
// (end - start) / 2 + 1 ints). Only the left run is copied out: the right run
// stays in place, since the merge never overwrites an unread right element.
void MergeSortRange(int* arr, int start, int end, int* buf) {
  if (static_cast<int64_t>(end) - start < 2) return;
  int mid = Middle(start, end);
  MergeSortRange(arr, start, mid, buf);
  MergeSortRange(arr, mid, end, buf);
  if (arr[mid - 1] <= arr[mid]) return;  // Already in order: nothing moves.
  int n_left = mid - start;
  std::memcpy(buf, arr + start, n_left * sizeof(int));
  MergeRuns(buf, n_left, arr + mid, end - mid, arr + start);
}

}  // namespace

void merge(int* arr, int left_start, int left_end, int right_start,
           int right_end) {
  // Both runs are copied out first, so the output may overlap either of them.
  int64_t n_left = static_cast<int64_t>(left_end) - left_start;
  int64_t n_right = static_cast<int64_t>(right_end) - right_start;
  if (n_left < 0) n_left = 0;
  if (n_right < 0) n_right = 0;
  Scratch scratch(n_left + n_right);
  int* left = scratch.data();
  int* right = left + n_left;
  std::memcpy(left, arr + left_start, n_left * sizeof(int));
  std::memcpy(right, arr + right_start, n_right * sizeof(int));
  MergeRuns(left, static_cast<int>(n_left), right, static_cast<int>(n_right),
            arr + left_start);
}

void mergesort_rec(int* arr, int start, int end) {
  int64_t n = static_cast<int64_t>(end) - start;
  if (n < 2) return;
  Scratch scratch(n / 2 + 1);
  MergeSortRange(arr, start, end, scratch.data());
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
