#include "work_budget.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(WorkBudget, ChargesUpToTheAllowanceItself) {
  {
    const WorkBudget budget(100);
    ChargeWork(60);
    EXPECT_NO_THROW(ChargeWork(40));  // all of it, and no more
    EXPECT_THROW(ChargeWork(1), WorkExceeded);
  }
  EXPECT_NO_THROW(ChargeWork(1e300));  // none after it
}

// Memory is counted as it is taken and given back, and refused before it
// is taken past the allowance or beyond what any array may hold.
TEST(WorkBudget, MemoryHeldAtOnceIsBounded) {
  const std::size_t before = MemoryHeld();
  const std::size_t overhead = 2 * sizeof(void*);
  {
    const WorkBudget budget(1e9, 1000);
    CountedVector<char> held(500);
    EXPECT_EQ(MemoryHeld(), before + 500 + overhead);
    try {
      CountedVector<char> more(501 - overhead);
      ADD_FAILURE() << "1001 bytes held";
    } catch (const WorkExceeded& e) {
      EXPECT_TRUE(e.memory);
    }
    EXPECT_EQ(MemoryHeld(), before + 500 + overhead);
    CountedVector<char> rest(500 - 2 * overhead);  // all of it
    EXPECT_THROW(TakeMemory(1), WorkExceeded);
  }
  EXPECT_EQ(MemoryHeld(), before);
  EXPECT_THROW(CountedVector<std::uint32_t>(kMaxArrayBytes / 4 + 1),
               WorkExceeded);
  EXPECT_EQ(MemoryHeld(), before);
}

// Sizes whose product passes 2^31 bits (and so wraps a 32-bit size_t for
// some of them) are refused, not wrapped.
TEST(WorkBudget, CheckedSizesDoNotWrap) {
  EXPECT_EQ(CheckedSize(10001, 4300), 43004300u);
  EXPECT_EQ(CheckedSize(0, ~std::uint64_t{0}), 0u);
  EXPECT_EQ(CheckedSize(kMaxBits, 1), kMaxBits);
  EXPECT_THROW(CheckedSize(kMaxBits + 1, 1), WorkExceeded);
  EXPECT_THROW(CheckedSize(10001, 430000), WorkExceeded);
  EXPECT_THROW(CheckedSize(65536, 65536), WorkExceeded);  // 2^32
  EXPECT_THROW(CheckedSize(~std::uint64_t{0}, 2), WorkExceeded);
}

}  // namespace
