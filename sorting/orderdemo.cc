#include "orderdemo.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "sort.h"

namespace {

// How many values are drawn; each lies from 0 to kValues - 1, so that every
// one prints as a single digit.
constexpr int kValues = 10;

// The usage that --help prints.
constexpr char kHelp[] =
    "usage: orderdemo\n"
    "Draws ten values from 0 to 9 (the generator seeded with 0), prints them,\n"
    "merge-sorts them and prints them again. Takes no arguments or input.\n";

// Prints values[0..count) as one line to out, each as "%d, ", the way
// print_arr prints them to standard output.
void PrintValues(const int* values, int count, std::FILE* out) {
  for (int i = 0; i < count; ++i) std::fprintf(out, "%d, ", values[i]);
  std::fputc('\n', out);
}

}  // namespace

int RunOrderdemo(const std::vector<std::string>& args, std::FILE* /*in*/,
                 std::FILE* out, std::FILE* err) {
  if (args.size() == 1 && args[0] == "--help") {
    std::fputs(kHelp, out);
  } else {
    int values[kValues];
    std::srand(0);
    for (int& v : values) v = std::rand() % kValues;
    PrintValues(values, kValues, out);
    mergesort(values, kValues);
    PrintValues(values, kValues, out);
  }
  errno = 0;
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "orderdemo: write error: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
