#include "sort_program.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <new>

#include "progutil.h"
#include "sort.h"

namespace {

// Arrays up to this many ints (64 KiB) live on the stack; larger ones on the
// heap, so that no count can overrun the stack.
constexpr int kStackValues = 16384;

constexpr char kUsage[] = "usage: sort COUNT\n";

// What --help prints after the usage line.
constexpr char kHelp[] =
    "Draws COUNT values, each rand() % COUNT after srand(0), and merge-sorts\n"
    "them, printing nothing: a timing workload for the sorting routines.\n"
    "  COUNT  how many values, read like strtol (0 or below, or text without\n"
    "         a number, sorts nothing); further arguments are ignored\n";

// The count as strtol reads it in base 10, saturated to the range of int:
// leading blanks and a sign are accepted, text without a number gives 0.
int ParseCount(const std::string& text) {
  long n = std::strtol(text.c_str(), nullptr, 10);
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

}  // namespace

int RunSort(const std::vector<std::string>& args, std::FILE* /*in*/,
            std::FILE* out, std::FILE* err) {
  if (args.empty()) {
    std::fputs(kUsage, err);
    return 1;
  }
  if (args.size() == 1 && args[0] == "--help") {
    errno = 0;  // so that it holds the reason of a write that fails below
    std::fputs(kUsage, out);
    std::fputs(kHelp, out);
    std::string message;
    if (!FlushOutput(out, &message)) {
      std::fprintf(err, "sort: %s\n", message.c_str());
      return 1;
    }
    return 0;
  }
  const int count = ParseCount(args[0]);
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
    std::fprintf(err, "sort: not enough memory for %d values\n", count);
    return 1;
  }
  return 0;
}
