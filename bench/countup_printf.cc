// countup_printf: countup's work done the plain way, one printf("%d, ") per
// element; the baseline that bench/countup_bench.sh times countup against.
// Reads the count with scanf("%d") and trusts it.

#include <cstdio>
#include <vector>

int main() {
  int count = 0;
  if (std::scanf("%d", &count) != 1) return 1;
  std::vector<int> values(count > 0 ? count : 0);
  for (int i = 0; i < count; ++i) values[i] = i;
  for (int i = 0; i < count; ++i) std::printf("%d, ", values[i]);
  std::printf("\n");
  return 0;
}
