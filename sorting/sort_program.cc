#include "sort_program.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "progutil.h"
#include "sort.h"

namespace {

// What --help prints after the usage line.
constexpr char kHelp[] =
    "Draws COUNT values, each rand() % COUNT after srand(0), and merge-sorts\n"
    "them, printing nothing: a timing workload for the sorting routines.\n"
    "  COUNT  how many values, read like strtol (0 or below, or text without\n"
    "         a number, sorts nothing); further arguments are ignored\n";

// The memory one value takes: the value itself, and its place in the merge
// sort's scratch, which mergesort_rec takes beside the values.
constexpr uint64_t kBytesPerValue = uint64_t{2} * sizeof(int);

// The count as strtol reads it in base 10, saturated to the range of int:
// leading blanks and a sign are accepted, text without a number gives 0.
int ParseCount(const std::string& text) {
  long n = std::strtol(text.c_str(), nullptr, 10);
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

// The count > 0 in `text` as the user typed it, for messages: the digits that
// ParseCount reads, without the blanks, + and leading zeros before them.
// A count beyond INT_MAX is named by what was typed, not by its clamp.
std::string TypedCount(const std::string& text) {
  auto is_digit = [&text](size_t i) {
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
  };
  size_t start = 0;
  while (start < text.size() &&
         std::isspace(static_cast<unsigned char>(text[start]))) {
    ++start;
  }
  if (start < text.size() && text[start] == '+') ++start;  // the count is > 0
  while (is_digit(start + 1) && text[start] == '0') ++start;
  size_t end = start;
  while (is_digit(end)) ++end;
  return text.substr(start, end - start);
}

// The address space a 32-bit process has, or none but its limit's for a
// 64-bit one.
constexpr uint64_t kAddressSpace =
    sizeof(void*) < 8 ? uint64_t{1} << 32 : UINT64_MAX;

// The bytes this process maps, as /proc/self/statm gives them; 0 when that
// cannot be read, or when the figure is not this process's own: a 32-bit
// program run by an emulator (qemu-i386, on kernels that cannot run it)
// reads the emulator's, which reserves the guest's whole 4 GiB and more.
uint64_t MappedBytes() {
  uint64_t used = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    char line[128];
    if (std::fgets(line, sizeof line, statm) != nullptr) {
      used = std::strtoull(line, nullptr, 10) *
             static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    }
    std::fclose(statm);
  }
  return used < kAddressSpace ? used : 0;
}

// The bytes of address space this process can still map: what is left below
// its RLIMIT_AS and kAddressSpace, less what it maps already. An upper
// bound: the room may lie in pieces too small for one block, which only
// asking for the block tells.
uint64_t AddressSpaceLeft() {
  uint64_t limit = kAddressSpace;
  rlimit as{};
  if (getrlimit(RLIMIT_AS, &as) == 0 && as.rlim_cur != RLIM_INFINITY &&
      as.rlim_cur < limit) {
    limit = as.rlim_cur;
  }
  const uint64_t used = MappedBytes();
  return used < limit ? limit - used : 0;
}

// Whether a block of `bytes` can be had now: one is taken and given back.
bool CanAllocate(size_t bytes) {
  void* block = std::malloc(bytes);
  // The block escapes here: without that, the compiler may drop a malloc
  // whose block is never used, and the question with it.
  asm volatile("" : : "g"(block) : "memory");
  std::free(block);
  return block != nullptr;
}

// Draws and sorts the count that args[0] gives; the usage alone when there
// is no count.
progutil::Status SortBody(const std::vector<std::string>& args,
                          std::FILE* /*in*/, std::FILE* /*out*/,
                          std::FILE* /*notes*/, std::string* reason) {
  if (args.empty()) return progutil::Status::kMisused;
  const int count = ParseCount(args[0]);
  if (count <= 0) return progutil::Status::kDone;  // Nothing to draw or sort.

  // Memory that cannot be had is found before the draw, which would take
  // seconds and gigabytes to end in the same complaint: the values and the
  // merge's scratch, first against the address space left, then by asking.
  // The product cannot wrap: count is below 2^31.
  const uint64_t need = static_cast<uint64_t>(count) * kBytesPerValue;
  const uint64_t left = AddressSpaceLeft();
  const std::string typed = TypedCount(args[0]);
  if (need > left) {
    *reason = "not enough memory for " + typed + " values (" +
              std::to_string(kBytesPerValue) +
              " bytes each; this process can have " + std::to_string(left) +
              " bytes more)";
    return progutil::Status::kFailed;
  }
  // The values live on the heap, whatever the count: on the stack, a large
  // count would overrun it, and room kept there for a small one would be
  // taken even when nothing is sorted.
  try {
    std::unique_ptr<int[]> values(new int[count]);
    if (!CanAllocate(static_cast<size_t>(count) * sizeof(int))) {
      throw std::bad_alloc();
    }
    std::srand(0);
    for (int i = 0; i < count; ++i) values[i] = std::rand() % count;
    mergesort_rec(values.get(), 0, count);
  } catch (const std::bad_alloc&) {
    *reason = "not enough memory for " + typed + " values";
    return progutil::Status::kFailed;
  }
  return progutil::Status::kDone;
}

}  // namespace

int RunSortAs(const char* name, const std::vector<std::string>& args,
              std::FILE* in, std::FILE* out, std::FILE* err) {
  const std::string usage = std::string("usage: ") + name + " COUNT\n";
  const progutil::Program sort = {name, SortBody, usage.c_str(), kHelp};
  return progutil::Run(sort, args, in, out, err);
}

int RunSort(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
            std::FILE* err) {
  return RunSortAs(kSortName, args, in, out, err);
}
