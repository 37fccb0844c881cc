#include "orderdemo.h"

#include <cerrno>
#include <cstdlib>

#include "progutil.h"
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

}  // namespace

int RunOrderdemo(const std::vector<std::string>& args, std::FILE* /*in*/,
                 std::FILE* out, std::FILE* err) {
  // errno is cleared before the first write, so that it holds the reason of
  // a failed write when one is found at the end (a terminal's line buffer
  // writes, and fails, before the final flush).
  errno = 0;
  if (args.size() == 1 && args[0] == "--help") {
    std::fputs(kHelp, out);
  } else {
    int values[kValues];
    std::srand(0);
    for (int& v : values) v = std::rand() % kValues;
    print_arr_to(out, values, kValues);
    mergesort(values, kValues);
    print_arr_to(out, values, kValues);
  }
  std::string message;
  if (!FlushOutput(out, &message)) {
    std::fprintf(err, "orderdemo: %s\n", message.c_str());
    return 1;
  }
  return 0;
}
