// orderdemo: draws ten values from 0 to 9 (the generator seeded with 0),
// prints them, merge-sorts them and prints them again.

#include <cstdlib>

#include "sort.h"

int main() {
  int values[10];
  std::srand(0);
  for (int& v : values) v = std::rand() % 10;
  print_arr(values, 10);
  mergesort(values, 10);
  print_arr(values, 10);
  return 0;
}
