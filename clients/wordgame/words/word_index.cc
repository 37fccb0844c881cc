#include "words/word_index.h"

#include <functional>

namespace {

// Each slot keeps the high bits of its word's hash, so that a search reads
// the words themselves only on a likely match.
std::uint32_t Tag(std::string_view word) {
  const std::uint64_t hash = std::hash<std::string_view>{}(word);
  return static_cast<std::uint32_t>(hash * 0x9E3779B97F4A7C15u >> 32);
}

}  // namespace

WordIndex::WordIndex(const WordViews& words, std::size_t expected)
    : buffer_(words.buffer()) {
  Resize(expected);
}

std::uint32_t WordIndex::Add(std::uint32_t packed) {
  if (count_ + 1 > slots_.size() / 5 * 4) Resize(slots_.size());
  const std::string_view word = buffer_.Unpack(packed);
  const std::uint32_t tag = Tag(word);
  Slot& slot = slots_[Probe(word, tag)];
  if (slot.word != kNone) return slot.word;
  slot = Slot{packed, tag};
  ++count_;
  return kNone;
}

std::uint32_t WordIndex::Find(std::string_view word) const {
  if (slots_.empty()) return kNone;
  return slots_[Probe(word, Tag(word))].word;  // kNone in an empty slot
}

std::size_t WordIndex::Probe(std::string_view word, std::uint32_t tag) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = Home(tag);
  while (slots_[s].word != kNone &&
         !(slots_[s].tag == tag && buffer_.Unpack(slots_[s].word) == word)) {
    s = (s + 1) & mask;
  }
  return s;
}

// The tag's bits mixed again choose the first slot.
std::size_t WordIndex::Home(std::uint32_t tag) const {
  return (tag * std::size_t{2654435761u}) & (slots_.size() - 1);
}

void WordIndex::Place(Slot slot) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = Home(slot.tag);
  while (slots_[s].word != kNone) s = (s + 1) & mask;
  slots_[s] = slot;
  ++count_;
}

void WordIndex::Resize(std::size_t words) {
  std::size_t size = 64;
  while (size / 5 * 4 < words + 1) size *= 2;
  std::vector<Slot> old(size, Slot{kNone, 0});
  slots_.swap(old);
  count_ = 0;
  for (const Slot& slot : old) {
    if (slot.word != kNone) Place(slot);
  }
}
