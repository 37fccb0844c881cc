#include "state/saved_state.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "text/text.h"

RecentWords SavedState::Recent(std::uint64_t list_id) const {
  for (const RecentWords& list : lists) {
    if (list.list_id == list_id) return list;
  }
  return {};
}

void SavedState::Clear() { *this = SavedState(); }

// Indices, not words: the list may hold millions.
DeckStart StartOf(const WordViews& words, const Alphabet& alphabet,
                  const RecentWords& recent) {
  std::unordered_map<std::string_view, std::uint32_t> index;
  if (!recent.words.empty() || !recent.held.empty()) {
    index.reserve(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
      index.emplace(words[i], static_cast<std::uint32_t>(i));
    }
  }
  DeckStart start;
  auto find = [&](const std::vector<std::string>& from,
                  std::vector<std::uint32_t>* to) {
    std::string codes;
    for (const std::string& word : from) {
      if (!alphabet.Encode(word, &codes)) continue;
      auto found = index.find(codes);
      if (found != index.end()) to->push_back(found->second);
    }
  };
  find(recent.words, &start.played);
  find(recent.held, &start.held);
  return start;
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
    lists.insert(lists.begin(), RecentWords{round.list_id, 0, {}, {}});
  } else {
    std::rotate(lists.begin(), found, found + 1);
  }
  if (lists.size() > kMaxRecentLists) lists.resize(kMaxRecentLists);
  RecentWords& list = lists.front();
  list.list_size = round.list_size;
  std::vector<std::string>& words = list.words;
  std::vector<std::string>& held = list.held;
  words.erase(std::remove(words.begin(), words.end(), round.word), words.end());
  held.erase(std::remove(held.begin(), held.end(), round.word), held.end());
  words.push_back(round.word);
  if (!held.empty()) held.erase(held.begin());
  if (words.size() >= list.list_size) {
    const std::size_t hold = std::min(HeldBack(list.list_size), words.size());
    held.assign(words.end() - static_cast<std::ptrdiff_t>(hold), words.end());
    words.clear();
  }
  if (words.size() > kMaxRecentWords) {
    words.erase(words.begin(), words.end() - kMaxRecentWords);
  }
}
