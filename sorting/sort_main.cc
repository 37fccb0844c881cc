// sort COUNT: draws COUNT values, each rand() % COUNT after srand(0), and
// merge-sorts them. It prints nothing: its running time is what it shows.

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "sort.h"

namespace {

// Arrays up to this many ints (64 KiB) live on the stack; larger ones on the
// heap, so that no count can overrun the stack.
constexpr int kStackValues = 16384;

// The count as strtol reads it in base 10, saturated to the range of int:
// leading blanks and a sign are accepted, text without a number gives 0.
int ParseCount(const char* text) {
  long n = std::strtol(text, nullptr, 10);
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: sort count\n", stderr);
    return 1;
  }
  int count = ParseCount(argv[1]);
  if (count <= 0) return 0;  // Nothing to draw or sort.

  int local[kStackValues];
  std::unique_ptr<int[]> heap;
  int* values = local;
  try {
    if (count > kStackValues) {
      heap.reset(new int[count]);
      values = heap.get();
    }
    std::srand(0);
    for (int i = 0; i < count; ++i) values[i] = std::rand() % count;
    mergesort_rec(values, 0, count);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "sort: not enough memory to sort %d values\n", count);
    return 1;
  }
  return 0;
}
