#include "words/deck.h"

#include <algorithm>
#include <utility>

Deck::Deck(std::vector<std::string> words, std::uint32_t seed,
           std::vector<std::string> first)
    : words_(std::move(words)), unplayed_(std::move(first)), shuffle_(seed) {
  if (unplayed_.empty()) unplayed_ = words_;
}

std::vector<std::string> Deck::NextRound(std::string* note) {
  note->clear();
  if (unplayed_.empty()) {
    unplayed_ = words_;
    auto last = std::find(unplayed_.begin(), unplayed_.end(), last_);
    if (unplayed_.size() > 1 && last != unplayed_.end()) unplayed_.erase(last);
    *note = words_.size() == 1 ? "The list has one word; it comes round again."
                               : "Every word has been played; the " +
                                     std::to_string(words_.size()) +
                                     " words come round again.";
  }
  std::shuffle(unplayed_.begin(), unplayed_.end(), shuffle_);
  return unplayed_;
}

void Deck::Played(const std::string& secret) {
  last_ = secret;
  auto played = std::find(unplayed_.begin(), unplayed_.end(), secret);
  if (played != unplayed_.end()) unplayed_.erase(played);
}
