#ifndef WORDGAME_WORDS_LIST_ID_H_
#define WORDGAME_WORDS_LIST_ID_H_

// A word list's identity, by which the saved state keeps each list's recent
// words and the daily word is drawn.

#include <cstdint>

#include "words/word_views.h"

/// A word list's identity: a 64-bit hash of its words that does not depend on
/// their order, where the list lies or when it was touched. Pass the whole
/// list (before any choice by length or category), distinct words.
std::uint64_t ListId(const WordViews& words);

#endif  // WORDGAME_WORDS_LIST_ID_H_
