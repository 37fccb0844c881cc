#ifndef WORDGAME_WORDS_DAILY_WORD_H_
#define WORDGAME_WORDS_DAILY_WORD_H_

// The daily word: the same for everyone with the same list on the same day,
// whatever the order of the list's lines, and no word twice within as many
// days as the list has words.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <vector>

#include "words/word_views.h"

/// The rank, among `count` words (one or more) sorted by their bytes, of the
/// word of day `day` (days since 1970-01-01) for the list whose identity is
/// `key` (ListId): P(day mod count), where P is a bijection of [0, count)
/// that the key chooses. So any `count` days in a row have distinct words,
/// and lists with other words play them in another order.
std::size_t DailyRank(std::int64_t day, std::size_t count, std::uint64_t key);

/// The index in `words` (distinct; anything whose elements convert to
/// std::string_view) of the word of rank `rank` (less than the count) in
/// byte order. Selects without sorting: linear in the count on average.
template <class Words>
std::size_t IndexOfRank(const Words& words, std::size_t rank) {
  std::vector<std::uint32_t> order(words.size());
  std::iota(order.begin(), order.end(), std::uint32_t{0});
  const auto nth = order.begin() + static_cast<std::ptrdiff_t>(rank);
  std::nth_element(
      order.begin(), nth, order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::string_view(words[a]) < std::string_view(words[b]);
      });
  return *nth;
}

/// The word of day `day` from `words`, the whole list (distinct words, one or
/// more), whose identity is `key` (ListId): the word of rank DailyRank in byte
/// order. It lies in the list's buffer.
std::string_view DailyWord(const WordViews& words, std::int64_t day,
                           std::uint64_t key);

#endif  // WORDGAME_WORDS_DAILY_WORD_H_
