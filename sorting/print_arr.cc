#include <cstdio>

#include "sort.h"

void print_arr(int* arr, int count) { print_arr_to(stdout, arr, count); }

void print_arr_to(std::FILE* out, const int* arr, int count) {
  for (int i = 0; i < count; ++i) std::fprintf(out, "%d, ", arr[i]);
  std::fputc('\n', out);
}
