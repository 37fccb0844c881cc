#ifndef WORDGAME_APP_WORD_CHOICE_H_
#define WORDGAME_APP_WORD_CHOICE_H_

// The words a session plays, as the command line chooses them.

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/options.h"
#include "words/word_list.h"

/// The words to play, as the settings choose them.
struct ChosenWords {
  std::string path;      // the file, for messages
  WordList list;         // the words in play, with their categories
  std::size_t all = 0;   // words in the whole list
  std::uint64_t id = 0;  // ListId of the whole list
  std::string opening;   // "Words: shipped list, 2360 words, 247 in animals."
};

/// Reads the word list (FILE, else dict.txt here, else the shipped list) and
/// keeps the words of the category, the length and the difficulty asked for,
/// in that order; false and *err when it cannot be read or nothing is left. A
/// large list is announced on `notes` first.
bool ChooseWords(const Settings& settings, ChosenWords* words, std::FILE* notes,
                 std::string* err);

#endif  // WORDGAME_APP_WORD_CHOICE_H_
