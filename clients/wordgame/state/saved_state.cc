#include "state/saved_state.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "text/text.h"

std::vector<std::string> SavedState::Recent(std::uint64_t list_id) const {
  for (const RecentWords& list : lists) {
    if (list.list_id == list_id) return list.words;
  }
  return {};
}

// Indices, not words: the list may hold millions, all of them fresh.
std::vector<std::uint32_t> FreshWords(const WordViews& words,
                                      const std::vector<std::string>& recent) {
  const std::unordered_set<std::string_view> played(recent.begin(),
                                                    recent.end());
  std::vector<std::uint32_t> fresh;
  fresh.reserve(words.size());
  auto keep = [&](auto wanted) {
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (wanted(words[i])) fresh.push_back(static_cast<std::uint32_t>(i));
    }
  };
  keep([&](std::string_view w) { return played.count(w) == 0; });
  if (!fresh.empty()) return fresh;
  if (words.size() < 2) {
    keep([](std::string_view) { return true; });
    return fresh;
  }
  // Every word is recent, so the search finds the one played last.
  const std::unordered_set<std::string_view> offered(words.begin(),
                                                     words.end());
  auto last = std::find_if(
      recent.rbegin(), recent.rend(),
      [&](const std::string& word) { return offered.count(word) > 0; });
  keep([&](std::string_view w) { return w != *last; });
  return fresh;
}

void ApplyRound(const RoundResult& round, SavedState* state) {
  if (round.counted && round.daily) {
    ApplyDaily(DailyResult{round.day, round.list_id, round.won, round.misses,
                           round.hints},
               &state->daily);
  } else if (round.counted) {
    CountRound(round.won, round.misses, &state->stats);
  }
  if (round.list_size == 0 || !IsWord(round.word)) return;
  std::vector<RecentWords>& lists = state->lists;
  auto found = std::find_if(lists.begin(), lists.end(), [&](const auto& l) {
    return l.list_id == round.list_id;
  });
  if (found == lists.end()) {
    lists.insert(lists.begin(), RecentWords{round.list_id, 0, {}});
  } else {
    std::rotate(lists.begin(), found, found + 1);
  }
  if (lists.size() > kMaxRecentLists) lists.resize(kMaxRecentLists);
  RecentWords& list = lists.front();
  list.list_size = round.list_size;
  std::vector<std::string>& words = list.words;
  words.erase(std::remove(words.begin(), words.end(), round.word), words.end());
  words.push_back(round.word);
  // The whole list has been played: it starts again, without this word.
  if (words.size() >= list.list_size) words.assign(1, round.word);
  if (words.size() > kMaxRecentWords) {
    words.erase(words.begin(), words.end() - kMaxRecentWords);
  }
}
