#include "words/deck.h"

#include <algorithm>
#include <utility>

std::size_t HeldBack(std::size_t words) { return words / 2; }

// The deck keeps indices, not words: a list of millions is then copied,
// shuffled and searched in none of its rounds.
Deck::Deck(WordViews words, std::uint32_t seed, DeckStart start,
           Alphabet alphabet)
    : words_(std::move(words)),
      alphabet_(std::move(alphabet)),
      pass_(std::move(start.played)),
      held_(std::move(start.held)),
      shuffle_(std::make_unique<std::mt19937>(seed)) {
  std::vector<bool> taken(words_.size());
  for (std::uint32_t i : pass_) taken[i] = true;
  for (std::uint32_t i : held_) taken[i] = true;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (!taken[i]) unplayed_.push_back(static_cast<std::uint32_t>(i));
  }
}

void Deck::NewPass() {
  const std::size_t hold = std::min(HeldBack(words_.size()), pass_.size());
  const auto split = pass_.end() - static_cast<std::ptrdiff_t>(hold);
  held_.assign(split, pass_.end());
  released_ = 0;
  unplayed_.assign(pass_.begin(), split);
  pass_.clear();
}

std::vector<std::string> Deck::NextRound(std::string* note) {
  note->clear();
  // Only a start from earlier sessions leaves words held with none free.
  while (unplayed_.empty() && released_ < held_.size()) {
    unplayed_.push_back(held_[released_++]);
  }
  if (unplayed_.empty()) {
    NewPass();
    *note = words_.size() == 1 ? "The list has one word; it comes round again."
                               : "Every word has been played; the " +
                                     std::to_string(words_.size()) +
                                     " words come round again.";
  }
  // A partial shuffle: the first `offered_` places get a random draw of the
  // rest.
  offered_ = std::min(unplayed_.size(), kRoundWords);
  std::vector<std::string> round;
  for (std::size_t i = 0; i < offered_; ++i) {
    std::uniform_int_distribution<std::size_t> pick(i, unplayed_.size() - 1);
    std::swap(unplayed_[i], unplayed_[pick(*shuffle_)]);
    round.emplace_back(words_[unplayed_[i]]);
  }
  return round;
}

void Deck::Played(const std::string& secret) {
  // The secret is one of the words offered; any other is looked for in all.
  auto offered = unplayed_.begin() + static_cast<std::ptrdiff_t>(offered_);
  auto played = std::find_if(unplayed_.begin(), offered, [&](std::uint32_t i) {
    return words_[i] == secret;
  });
  if (played == offered) {
    played = std::find_if(offered, unplayed_.end(),
                          [&](std::uint32_t i) { return words_[i] == secret; });
  }
  offered_ = 0;
  if (played == unplayed_.end()) return;
  pass_.push_back(*played);
  *played = unplayed_.back();
  unplayed_.pop_back();
  if (released_ < held_.size()) unplayed_.push_back(held_[released_++]);
}
