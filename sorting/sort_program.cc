#include "sort_program.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <new>

#include "progutil.h"
#include "sort.h"

namespace {

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

  // The values live on the heap, whatever the count: on the stack, a large
  // count would overrun it, and room kept there for a small one would be
  // taken even when nothing is sorted.
  std::unique_ptr<int[]> values;
  try {
    values.reset(new int[count]);
    std::srand(0);
    for (int i = 0; i < count; ++i) values[i] = std::rand() % count;
    mergesort_rec(values.get(), 0, count);
  } catch (const std::bad_alloc&) {
    std::fprintf(err, "sort: not enough memory for %d values\n", count);
    return 1;
  }
  return 0;
}
