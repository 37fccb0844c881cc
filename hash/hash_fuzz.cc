// Fuzz target for the hash and compare callbacks: each is checked against a
// plain reference of the same rules, computed in 64-bit arithmetic and
// reduced modulo 2^32 only at the end of each step.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hash.h"

namespace {

uint32_t ReferenceStrHash(const std::string& key) {
  uint64_t h = 0;
  for (char c : key) {
    h = (h + static_cast<int64_t>(static_cast<signed char>(c))) % (1ull << 32);
    h = (h + (h << 10)) % (1ull << 32);
    h ^= h >> 6;
  }
  h = (h + (h << 3)) % (1ull << 32);
  h ^= h >> 11;
  h = (h + (h << 15)) % (1ull << 32);
  return static_cast<uint32_t>(h);
}

uint32_t ReferenceIntHash(int32_t v) {
  uint64_t magnitude = v < 0 ? -static_cast<int64_t>(v) : v;
  return static_cast<uint32_t>(magnitude * 2654435761ull % (1ull << 32));
}

int32_t ReferenceIntCmp(int32_t a, int32_t b) {
  uint32_t diff = static_cast<uint32_t>(static_cast<int64_t>(a) - b);
  return static_cast<int32_t>(diff);  // modulo 2^32, read as signed
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Strings: the input up to its first NUL, and the rest after it.
  std::string all(reinterpret_cast<const char*>(data), size);
  std::string first = all.substr(0, all.find('\0'));
  std::string second =
      first.size() < all.size() ? all.substr(first.size() + 1) : "";
  second = second.substr(0, second.find('\0'));

  if (str_hash(first.c_str()) != ReferenceStrHash(first)) std::abort();
  if (Sign(str_cmp(first.c_str(), second.c_str())) !=
      Sign(std::strcmp(first.c_str(), second.c_str())))
    std::abort();
  if (str_cmp(first.c_str(), first.c_str()) != 0) std::abort();

  // Ints: the first eight bytes, as two keys.
  if (size >= 2 * sizeof(int32_t)) {
    int32_t a, b;
    std::memcpy(&a, data, sizeof a);
    std::memcpy(&b, data + sizeof a, sizeof b);
    if (int_hash(&a) != ReferenceIntHash(a)) std::abort();
    if (int_cmp(&a, &b) != ReferenceIntCmp(a, b)) std::abort();
    if ((int_cmp(&a, &b) == 0) != (a == b)) std::abort();
  }
  return 0;
}
