// orderdemo: draws ten values from 0 to 9 (the generator seeded with 0),
// prints them, merge-sorts them and prints them again. A failed write is
// reported on standard error with status 1.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sort.h"

int main() {
  int values[10];
  std::srand(0);
  for (int& v : values) v = std::rand() % 10;
  print_arr(values, 10);
  mergesort(values, 10);
  print_arr(values, 10);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "orderdemo: write error: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
