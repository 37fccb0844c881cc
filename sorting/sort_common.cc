// What the merge sort and the quicksorts share: insertion sort for short
// ranges, and the one look for input that is in order already.

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "sort_internal.h"

namespace sort_internal {

void InsertionSort(int* a, int n) {
  for (int i = 1; i < n; ++i) {
    int v = a[i];
    int* hole = a + i;
    if (v < a[0]) {
      std::memmove(a + 1, a, i * sizeof(int));
      hole = a;
    } else {
      while (v < hole[-1]) {
        *hole = hole[-1];
        --hole;
      }
    }
    *hole = v;
  }
}

bool SortedOrReversed(int* a, std::ptrdiff_t n) {
  std::ptrdiff_t i = 1;
  while (i < n && a[i - 1] <= a[i]) ++i;
  if (i >= n) return true;  // n <= 1 too: nothing read, a may be null.
  // a[0, i) ascends; it is descending as well only if it is all one value.
  if (a[0] != a[i - 1]) return false;
  while (i < n && a[i - 1] >= a[i]) ++i;
  if (i < n) return false;
  std::reverse(a, a + n);
  return true;
}

}  // namespace sort_internal
