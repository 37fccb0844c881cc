#ifndef WORDGAME_WORDS_WORD_INDEX_H_
#define WORDGAME_WORDS_WORD_INDEX_H_

// Finding a word of a list by its letters: an open-addressing hash table of
// packed words (WordViews::packed), so that a list of millions of words costs
// no allocation per word and 8 bytes a slot.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "words/word_views.h"

class WordIndex {
 public:
  /// Found nothing. No packed word has this value: a word of 64 letters at
  /// the last offset would end beyond any buffer WordViews allows.
  static constexpr std::uint32_t kNone = UINT32_MAX;

  /// An empty index, that finds nothing.
  WordIndex() = default;
  /// An index of words over the buffer of `words`, with room for
  /// `expected` words.
  WordIndex(const WordViews& words, std::size_t expected);

  /// Adds the packed word `packed` (over the index's buffer) and returns
  /// kNone, unless an equal word is in already: then returns that one.
  std::uint32_t Add(std::uint32_t packed);
  /// The packed word equal to `word`, or kNone.
  std::uint32_t Find(std::string_view word) const;

 private:
  struct Slot {
    std::uint32_t word;  // packed, or kNone
    std::uint32_t tag;   // the high bits of its hash
  };

  // The first slot to look at for a word of this tag.
  std::size_t Home(std::uint32_t tag) const;
  // The slot that holds `word` (of this tag), else the empty slot that ends
  // the search for it.
  std::size_t Probe(std::string_view word, std::uint32_t tag) const;
  void Place(Slot slot);
  // At least `words` + 1 words in at most 4/5 of the slots.
  void Resize(std::size_t words);

  WordViews buffer_;  // no words: the buffer they are unpacked from
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

#endif  // WORDGAME_WORDS_WORD_INDEX_H_
