#include "work_budget.h"

#include <limits>

namespace {

thread_local double remaining = std::numeric_limits<double>::infinity();
// Counted memory held, and the most that may be held (SIZE_MAX: no
// allowance).
thread_local std::size_t held = 0;
thread_local std::size_t most_held = SIZE_MAX;

}  // namespace

void ChargeWork(double units) {
  remaining -= units;
  if (remaining < 0) throw WorkExceeded();
}

void TakeMemory(std::size_t bytes) {
  // held <= most_held always, so the difference cannot wrap.
  if (bytes > kMaxArrayBytes || bytes > most_held - held)
    throw WorkExceeded{true};
  held += bytes;
}

void GiveMemory(std::size_t bytes) noexcept {
  // Never below 0, even for an array taken on another thread.
  held = bytes < held ? held - bytes : 0;
}

std::size_t MemoryHeld() { return held; }

std::size_t CheckedSize(std::uint64_t a, std::uint64_t b) {
  std::uint64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product) || product > kMaxBits)
    throw WorkExceeded{true};
  return static_cast<std::size_t>(product);
}

WorkBudget::WorkBudget(double units, std::size_t bytes) {
  remaining = units;
  most_held = bytes > SIZE_MAX - held ? SIZE_MAX : held + bytes;
}

WorkBudget::~WorkBudget() {
  remaining = std::numeric_limits<double>::infinity();
  most_held = SIZE_MAX;
}
