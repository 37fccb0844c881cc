// The keyed table driven by the callbacks of lib/hash.o, with string keys
// and with int keys.

#include "keytable.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "hash.h"

namespace {

void* Tag(intptr_t n) { return reinterpret_cast<void*>(n); }
intptr_t Untag(void* p) { return reinterpret_cast<intptr_t>(p); }

// The value stored for key, or -1 when the table has none.
intptr_t Lookup(KeyTable& table, const void* key) {
  void** value = table.Find(key);
  return value != nullptr ? Untag(*value) : -1;
}

TEST(KeyTableStrings, PutFindEraseThroughGrowth) {
  std::vector<std::string> keys;
  keys.reserve(5000);
  for (int i = 0; i < 5000; ++i) keys.push_back("key" + std::to_string(i));
  KeyTable table(str_cmp, str_hash);
  for (int i = 0; i < 5000; ++i) {
    ASSERT_TRUE(table.Put(keys[i].c_str(), Tag(i)));
    ASSERT_LE(table.size(), table.bucket_count() / 4 * 3);
  }
  EXPECT_EQ(table.size(), 5000u);
  EXPECT_EQ(table.bucket_count(), 8192u);
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(Lookup(table, keys[i].c_str()), i);
  EXPECT_EQ(table.Find("key5000"), nullptr);
  EXPECT_EQ(table.Find(""), nullptr);

  for (int i = 0; i < 5000; i += 2) ASSERT_TRUE(table.Erase(keys[i].c_str()));
  EXPECT_FALSE(table.Erase("key0"));
  EXPECT_EQ(table.size(), 2500u);
  for (int i = 0; i < 5000; ++i)
    ASSERT_EQ(Lookup(table, keys[i].c_str()), i % 2 ? i : -1) << i;
}

TEST(KeyTableStrings, EqualKeysAtOtherAddressesMatch) {
  KeyTable table(str_cmp, str_hash);
  const std::string first = "caf\xC3\xA9";  // UTF-8 bytes above 0x7F
  const std::string copy = first;  // NOLINT: a second buffer is the point
  EXPECT_TRUE(table.Put(first.c_str(), Tag(1)));
  EXPECT_FALSE(table.Put(copy.c_str(), Tag(2)));  // replaces the value
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(Lookup(table, "caf\xC3\xA9"), 2);
  EXPECT_EQ(table.Find("cafe"), nullptr);
  EXPECT_TRUE(table.Erase(copy.c_str()));
  EXPECT_EQ(table.size(), 0u);
}

TEST(KeyTableInts, KeysEqualOnlyInHashAreKeptApart) {
  // int_hash gives k and -k the same hash; the compare tells them apart.
  static const int kKeys[] = {0, 1, -1, 2, -2, INT_MAX, -INT_MAX, INT_MIN};
  KeyTable table(int_cmp, int_hash);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(table.Put(&kKeys[i], Tag(i)));
  EXPECT_EQ(table.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const int probe = kKeys[i];  // another address, same key
    EXPECT_EQ(Lookup(table, &probe), i) << probe;
  }
  const int absent = 3;
  EXPECT_EQ(table.Find(&absent), nullptr);
  EXPECT_TRUE(table.Erase(&kKeys[1]));
  EXPECT_EQ(Lookup(table, &kKeys[2]), 2);  // -1 outlives 1
}

TEST(KeyTableInts, MatchesAMapUnderRandomChanges) {
  // Keys from a small range so that puts replace and erases hit; the pool
  // gives every key a fixed address, as the table requires.
  std::vector<int> pool;
  for (int k = -500; k < 500; ++k) pool.push_back(k * 1024);
  KeyTable table(int_cmp, int_hash);
  std::map<int, intptr_t> reference;
  std::mt19937 random(5);
  for (int step = 0; step < 20000; ++step) {
    const int& key = pool[random() % pool.size()];
    if (random() % 3 != 0) {
      EXPECT_EQ(table.Put(&key, Tag(step)), reference.count(key) == 0);
      reference[key] = step;
    } else {
      EXPECT_EQ(table.Erase(&key), reference.erase(key) == 1);
    }
    ASSERT_EQ(table.size(), reference.size());
  }
  for (const int& key : pool) {
    auto it = reference.find(key);
    EXPECT_EQ(Lookup(table, &key), it == reference.end() ? -1 : it->second);
  }
}

}  // namespace
