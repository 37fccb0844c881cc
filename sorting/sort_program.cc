#include "sort_program.h"

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

// Draws and sorts the count that args[0] gives; the usage alone when there
// is no count.
progutil::Status SortBody(const std::vector<std::string>& args,
                          std::FILE* /*in*/, std::FILE* /*out*/,
                          std::FILE* /*notes*/, std::string* reason) {
  if (args.empty()) return progutil::Status::kMisused;
  const int count = ParseCount(args[0]);
  if (count <= 0) return progutil::Status::kDone;  // Nothing to draw or sort.

  // The values live on the heap, whatever the count: on the stack, a large
  // count would overrun it, and room kept there for a small one would be
  // taken even when nothing is sorted.
  // The merge takes memory of its own too.
  try {
    std::unique_ptr<int[]> values(new int[count]);
    std::srand(0);
    for (int i = 0; i < count; ++i) values[i] = std::rand() % count;
    mergesort_rec(values.get(), 0, count);
  } catch (const std::bad_alloc&) {
    *reason = "not enough memory for " + std::to_string(count) + " values";
    return progutil::Status::kFailed;
  }
  return progutil::Status::kDone;
}

constexpr progutil::Program kSort = {"sort", SortBody, kUsage, kHelp};

}  // namespace

int RunSort(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
            std::FILE* err) {
  return progutil::Run(kSort, args, in, out, err);
}
