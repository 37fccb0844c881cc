// Fuzz target for the sorting routines: the first byte picks a routine, the
// rest are the ints to sort. Every routine must leave the range ascending and
// holding the same values; merge gets two runs sorted beforehand.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sort.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t routine = data[0] % 5;
  const size_t count = (size - 1) / sizeof(int);
  std::vector<int> values(count);
  if (count > 0) std::memcpy(values.data(), data + 1, count * sizeof(int));
  std::vector<int> want = values;
  std::sort(want.begin(), want.end());

  const int n = static_cast<int>(count);
  switch (routine) {
    case 0:
      mergesort(values.data(), n);
      break;
    case 1:
      mergesort_rec(values.data(), 0, n);
      break;
    case 2:
      quicksort(values.data(), n);
      break;
    case 3:
      q_sort(values.data(), 0, n - 1);
      break;
    case 4: {
      // Split point taken from the data, the two runs sorted, then merged.
      const int split = n > 0 ? static_cast<int>(data[size - 1]) % (n + 1) : 0;
      std::sort(values.begin(), values.begin() + split);
      std::sort(values.begin() + split, values.end());
      merge(values.data(), 0, split, split, n);
      break;
    }
  }
  if (values != want) std::abort();
  return 0;
}
