#ifndef ROOTSCAN_EXACT_WORK_BUDGET_H_
#define ROOTSCAN_EXACT_WORK_BUDGET_H_

// A bound on the work of one computation and on the memory it holds at
// once, so that a caller can refuse a polynomial whose roots would take too
// long to find or too much memory. The costly loops charge what they are
// about to do, in limb or long double operations; the large arrays (the
// limbs of integers, the coefficients of the polynomials that the isolation
// works on) take their memory through CountedAllocator, which counts it
// before it is taken. Past either allowance, the charge throws WorkExceeded,
// which the caller catches.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

/// Thrown past the allowance: of work, or of memory when `memory` is set.
struct WorkExceeded {
  bool memory = false;
};

/// The most bytes one counted array may take, allowance or not: below
/// 2^28, so that the bits of a number held in it (8 a byte) stay below
/// 2^31 and fit a long, and every index into it a size_t, even on 32-bit.
constexpr std::size_t kMaxArrayBytes = (std::size_t{1} << 28) - 1;

/// The most bits a number may have, from kMaxArrayBytes.
constexpr std::uint64_t kMaxBits = std::uint64_t{kMaxArrayBytes} * 8;

/// Charges `units` operations to the allowance of the calling thread, if it
/// has one, and throws WorkExceeded when they exceed it.
void ChargeWork(double units);

/// Counts `bytes` more memory as held by the calling thread, before they
/// are taken; throws WorkExceeded (memory set) instead when that would
/// exceed its memory allowance, or when bytes exceeds kMaxArrayBytes.
void TakeMemory(std::size_t bytes);

/// Counts `bytes` taken by TakeMemory as given back.
void GiveMemory(std::size_t bytes) noexcept;

/// The memory the calling thread holds now, as counted.
std::size_t MemoryHeld();

/// a * b as a count of bits, limbs or bytes that an allocation, a shift or
/// an index is made from: computed in 64 bits, and refused (WorkExceeded,
/// memory set) above kMaxBits, so that nothing computed from it wraps.
std::size_t CheckedSize(std::uint64_t a, std::uint64_t b);

/// An allowance of `units` operations, and of `bytes` of counted memory
/// beyond what it holds already, for the calling thread while it lives
/// (none before it, and none again after).
class WorkBudget {
 public:
  explicit WorkBudget(double units, std::size_t bytes = SIZE_MAX);
  ~WorkBudget();
  WorkBudget(const WorkBudget&) = delete;
  WorkBudget& operator=(const WorkBudget&) = delete;
};

/// std::allocator with every array counted by TakeMemory and GiveMemory,
/// each with what the heap adds to it (two pointers' worth).
template <typename T>
struct CountedAllocator {
  using value_type = T;

  CountedAllocator() = default;
  template <typename U>
  explicit CountedAllocator(const CountedAllocator<U>& /*other*/) {}

  T* allocate(std::size_t n) {
    if (n > kMaxArrayBytes / sizeof(T)) throw WorkExceeded{true};
    const std::size_t bytes = Counted(n);
    TakeMemory(bytes);
    try {
      return std::allocator<T>().allocate(n);
    } catch (...) {
      GiveMemory(bytes);
      throw;
    }
  }

  void deallocate(T* p, std::size_t n) noexcept {
    std::allocator<T>().deallocate(p, n);
    GiveMemory(Counted(n));
  }

  friend bool operator==(const CountedAllocator&, const CountedAllocator&) {
    return true;
  }
  friend bool operator!=(const CountedAllocator&, const CountedAllocator&) {
    return false;
  }

 private:
  // n items and the heap's bookkeeping (n * sizeof(T) cannot wrap: n is at
  // most kMaxArrayBytes / sizeof(T)).
  static std::size_t Counted(std::size_t n) {
    return n * sizeof(T) + 2 * sizeof(void*);
  }
};

/// A vector whose memory counts against the allowance.
template <typename T>
using CountedVector = std::vector<T, CountedAllocator<T>>;

#endif  // ROOTSCAN_EXACT_WORK_BUDGET_H_
