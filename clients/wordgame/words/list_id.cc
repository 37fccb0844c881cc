#include "words/list_id.h"

#include <string_view>

namespace {

// FNV-1a over the bytes, then a finalizer that spreads every bit over the
// whole value, so that a sum of such hashes is a fair hash of a set.
std::uint64_t WordHash(std::string_view word) {
  std::uint64_t h = 0xcbf29ce484222325u;  // FNV-1a's offset basis
  for (unsigned char c : word) {
    h ^= c;
    h *= 0x100000001b3u;  // FNV-1a's 64-bit prime
  }
  h ^= h >> 33;  // the finalizer of MurmurHash3
  h *= 0xff51afd7ed558ccdu;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53u;
  h ^= h >> 33;
  return h;
}

}  // namespace

std::uint64_t ListId(const WordViews& words) {
  std::uint64_t id = 0;
  for (std::string_view word : words) id += WordHash(word);
  return id;
}
