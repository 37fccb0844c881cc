#include "hash.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "run_program.h"

extern "C" void hash_c_use(int strings, const void* key, const void* other,
                           uint32_t* hash, int* cmp);

namespace {

using testutil::ProgramResult;
using testutil::RunProgram;

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(StrHash, KnownAnswers) {
  EXPECT_EQ(str_hash(""), 0u);
  EXPECT_EQ(str_hash("a"), 0xCA2E9442u);
  EXPECT_EQ(str_hash("abc"), 0xED131F5Bu);
  EXPECT_EQ(str_hash("hello world"), 0x3E4A5A57u);
}

TEST(StrHash, HighBytesCountAsSigned) {
  // The unsigned reading of these bytes would give 0x7D4B7A55, 0x46FDBF25
  // and 0x2034CA95.
  EXPECT_EQ(str_hash("\xE9"), 0x409848FFu);
  EXPECT_EQ(str_hash("\xC3\xA9t\xC3\xA9"), 0x7FCB4B35u);  // UTF-8 "été"
  EXPECT_EQ(str_hash("\xFF\x80\x7F"), 0xDE102744u);
}

TEST(StrHash, StopsAtTheTerminator) {
  const char bytes[] = "abc\0def";
  EXPECT_EQ(str_hash(bytes), str_hash("abc"));
  EXPECT_EQ(str_hash(bytes + 4), str_hash("def"));
}

TEST(StrCmp, IsStrcmp) {
  // Called through a pointer so that the library's value is compared, not
  // one the compiler works out from the constants.
  int (*volatile library_strcmp)(const char*, const char*) = std::strcmp;
  const char* keys[] = {"", "a", "abc", "abd", "ab", "B", "\xE9", "z"};
  for (const char* a : keys) {
    for (const char* b : keys) {
      EXPECT_EQ(str_cmp(a, b), library_strcmp(a, b)) << a << " " << b;
      EXPECT_EQ(str_cmp(a, b) == 0, std::string(a) == b) << a << " " << b;
    }
  }
  // strcmp orders bytes as unsigned: 0xE9 comes after 'z'.
  EXPECT_GT(str_cmp("\xE9", "z"), 0);
}

TEST(IntHash, KnownAnswers) {
  auto hash = [](int v) { return int_hash(&v); };
  EXPECT_EQ(hash(0), 0u);
  EXPECT_EQ(hash(1), 2654435761u);
  EXPECT_EQ(hash(-1), 2654435761u);
  EXPECT_EQ(hash(2), 1013904226u);
  EXPECT_EQ(hash(12345), 2703968361u);
  EXPECT_EQ(hash(-12345), 2703968361u);
  EXPECT_EQ(hash(INT_MAX), 3788015183u);
  EXPECT_EQ(hash(-INT_MAX), 3788015183u);
  EXPECT_EQ(hash(INT_MIN), 2147483648u);
}

TEST(IntCmp, DifferenceWrapsModulo2To32) {
  auto cmp = [](int a, int b) { return int_cmp(&a, &b); };
  EXPECT_EQ(cmp(7, 7), 0);
  EXPECT_EQ(cmp(INT_MIN, INT_MIN), 0);
  EXPECT_EQ(cmp(5, 3), 2);
  EXPECT_EQ(cmp(3, 5), -2);
  EXPECT_EQ(cmp(INT_MIN, 1), INT_MAX);
  EXPECT_EQ(cmp(1, INT_MIN), -INT_MAX);
  EXPECT_EQ(cmp(INT_MAX, -1), INT_MIN);
  EXPECT_EQ(cmp(-1, INT_MAX), INT_MIN);
  EXPECT_EQ(cmp(0, INT_MIN), INT_MIN);
}

TEST(IntCmp, OrdersKeysWhoseDifferenceFits) {
  const int keys[] = {INT_MIN / 2, -1000, -1, 0, 1, 2, 1000, INT_MAX / 2};
  for (int a : keys) {
    for (int b : keys) {
      EXPECT_EQ(Sign(int_cmp(&a, &b)), Sign((a > b) - (a < b)))
          << a << " " << b;
    }
  }
}

TEST(Callbacks, CallableFromCThroughOneShape) {
  uint32_t hash = 0;
  int cmp = 0;
  hash_c_use(1, "abc", "abd", &hash, &cmp);
  EXPECT_EQ(hash, 0xED131F5Bu);
  EXPECT_LT(cmp, 0);
  const int five = 5;
  const int three = 3;
  hash_c_use(0, &five, &three, &hash, &cmp);
  EXPECT_EQ(hash, 5u * 2654435761u);
  EXPECT_EQ(cmp, 2);
}

// The file lib/hash.o as a program outside the system would link it.
class HashModule : public testing::Test {
 protected:
  std::vector<unsigned char> ReadObject() {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(HASH_OBJECT_PATH, "rb");
    if (f == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(c);
    std::fclose(f);
    return bytes;
  }
};

TEST_F(HashModule, IsARelocatableObjectForThisBuild) {
  std::vector<unsigned char> bytes = ReadObject();
  ASSERT_GE(bytes.size(), sizeof(Elf32_Ehdr)) << HASH_OBJECT_PATH;
  ASSERT_EQ(std::memcmp(bytes.data(), ELFMAG, SELFMAG), 0);
  // e_type and e_machine sit at the same offsets in 32- and 64-bit headers.
  Elf32_Ehdr header;
  std::memcpy(&header, bytes.data(), sizeof header);
  EXPECT_EQ(header.e_type, ET_REL);
  // Built for the same architecture as this test: 32-bit x86 in the normal
  // build, x86-64 in the sanitized one.
  EXPECT_EQ(header.e_ident[EI_CLASS],
            sizeof(void*) == 4 ? ELFCLASS32 : ELFCLASS64);
  EXPECT_EQ(header.e_machine, sizeof(void*) == 4 ? EM_386 : EM_X86_64);
}

TEST_F(HashModule, DefinesExactlyTheFourCallbacks) {
  ProgramResult r = RunProgram({NM_PATH, "--extern-only", "--defined-only",
                                "--format=posix", HASH_OBJECT_PATH});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> names;
  size_t start = 0;
  while (start < r.out.size()) {
    size_t end = r.out.find('\n', start);
    std::string line = r.out.substr(start, end - start);
    names.push_back(line.substr(0, line.find(' ')) + " " +
                    line.substr(line.find(' ') + 1, 1));
    start = end + 1;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"int_cmp T", "int_hash T",
                                             "str_cmp T", "str_hash T"}));
}

}  // namespace
