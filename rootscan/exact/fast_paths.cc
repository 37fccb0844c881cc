#include "fast_paths.h"

#include <atomic>

namespace {

// Relaxed: a switch is made between computations, not to order anything.
std::atomic<unsigned> paths_on{kAllFastPaths};

}  // namespace

bool FastPathOn(FastPath path) {
  return (paths_on.load(std::memory_order_relaxed) & path) != 0;
}

void SetFastPaths(unsigned mask) {
  paths_on.store(mask & kAllFastPaths, std::memory_order_relaxed);
}
