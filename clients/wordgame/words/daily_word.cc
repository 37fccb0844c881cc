#include "words/daily_word.h"

namespace {

// Rounds of the Feistel network: four make a keyed permutation that no
// pattern of the inputs shows through.
constexpr int kRounds = 4;

// SplitMix64's finalizer: every input bit moves every output bit.
std::uint64_t Mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9u;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebu;
  return x ^ (x >> 31);
}

// A balanced Feistel network over values of 2 * half bits: a bijection of
// [0, 2^(2 * half)) whatever its round function, here keyed by `key`.
std::uint64_t Permute(std::uint64_t x, int half, std::uint64_t key) {
  const std::uint64_t mask = (std::uint64_t{1} << half) - 1;
  std::uint64_t left = x >> half, right = x & mask;
  for (int round = 0; round < kRounds; ++round) {
    const std::uint64_t f =
        Mix(key ^ Mix(right + (static_cast<std::uint64_t>(round) << 40))) &
        mask;
    const std::uint64_t next = left ^ f;
    left = right;
    right = next;
  }
  return (left << half) | right;
}

}  // namespace

// The network runs over the smallest even power of two that holds `count`
// (under 4 * count); a value beyond count - 1 is permuted again until it
// falls within (cycle walking), which keeps the map a bijection of
// [0, count).
std::size_t DailyRank(std::int64_t day, std::size_t count, std::uint64_t key) {
  const auto n = static_cast<std::int64_t>(count);
  std::int64_t position = day % n;
  if (position < 0) position += n;
  int half = 1;
  while ((std::uint64_t{1} << (2 * half)) < count) ++half;
  auto x = static_cast<std::uint64_t>(position);
  do {
    x = Permute(x, half, key);
  } while (x >= count);
  return static_cast<std::size_t>(x);
}

std::string_view DailyWord(const WordViews& words, std::int64_t day,
                           std::uint64_t key) {
  return words[IndexOfRank(words, DailyRank(day, words.size(), key))];
}
