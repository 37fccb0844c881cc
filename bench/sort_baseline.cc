// sort_baseline COUNT: draws the same values as `sort COUNT` and sorts them
// with std::stable_sort. Timed beside `sort` by bench/sort_bench.sh.

#include <algorithm>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  int count = std::atoi(argv[1]);
  if (count <= 0) return 0;
  std::vector<int> values(count);
  std::srand(0);
  for (int i = 0; i < count; ++i) values[i] = std::rand() % count;
  std::stable_sort(values.begin(), values.end());
  // Reading the result through a volatile keeps the sort from being
  // optimised away, whatever the smallest value drawn.
  volatile int smallest = values[0];
  (void)smallest;
  return 0;
}
