#include "words/deck.h"

#include <algorithm>
#include <utility>

// The deck keeps indices, not words: a list of millions is then copied,
// shuffled and searched in none of its rounds.
Deck::Deck(WordViews words, std::uint32_t seed,
           std::vector<std::uint32_t> first)
    : words_(std::move(words)),
      unplayed_(std::move(first)),
      shuffle_(std::make_unique<std::mt19937>(seed)) {
  if (!unplayed_.empty()) return;
  unplayed_.resize(words_.size());
  for (std::size_t i = 0; i < words_.size(); ++i) {
    unplayed_[i] = static_cast<std::uint32_t>(i);
  }
}

std::vector<std::string> Deck::NextRound(std::string* note) {
  note->clear();
  if (unplayed_.empty()) {
    for (std::size_t i = 0; i < words_.size(); ++i) {
      if (words_.size() == 1 || words_[i] != last_) {
        unplayed_.push_back(static_cast<std::uint32_t>(i));
      }
    }
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
  last_ = secret;
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
  *played = unplayed_.back();
  unplayed_.pop_back();
}
