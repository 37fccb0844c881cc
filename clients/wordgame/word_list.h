#ifndef WORDGAME_WORD_LIST_H_
#define WORDGAME_WORD_LIST_H_

// Finding and reading the word list that wordgame plays with.

#include <cstddef>
#include <string>
#include <vector>

/// The longest word that makes a fair game; a longer line of letters is
/// skipped. Long enough for any word of a dictionary, short enough that a
/// whole-word guess echoed back always fits on a line or two.
constexpr std::size_t kMaxWordLetters = 64;

/// Reads the whole file at `path` into `bytes`. On failure returns false and
/// sets *err to the reason ("No such file or directory", ...).
bool ReadWholeFile(const std::string& path, std::string* bytes,
                   std::string* err);

/// The line with the whitespace around it (a carriage return included)
/// removed and ASCII letters lowered.
std::string Tidy(const std::string& line);

/// True when s consists of letters a-z only (the empty string included).
bool AllLetters(const std::string& s);

/// What a word list offers for play.
struct WordList {
  /// The playable words, tidied, each once, in the order of first appearance.
  std::vector<std::string> words;
  /// Lines that are neither blank nor a playable word.
  std::size_t skipped = 0;
  /// Line numbers (from 1) of the first few skipped lines.
  std::vector<std::size_t> skipped_lines;
};

/// Parses a word list: a UTF-8 byte-order mark at the start is dropped; each
/// line is tidied (Tidy) and kept when it is 1 to kMaxWordLetters letters
/// a-z; blank lines are passed over; any other line is counted as skipped.
WordList ParseWordList(const std::string& bytes);

/// The one line that tells the player about skipped lines, such as
/// "2 lines skipped (not one word of up to 64 letters a-z): lines 3, 7.",
/// or "" when none were.
std::string SkippedNote(const WordList& list);

/// The words of `words` that have exactly `letters` letters, in order.
std::vector<std::string> WordsOfLength(const std::vector<std::string>& words,
                                       std::size_t letters);

/// The word list shipped with the program: ../share/wordgame/words.txt beside
/// the folder that holds the executable at `exe_path`.
std::string ShippedWordList(const std::string& exe_path);

/// The path of the running executable, or `fallback` when it cannot be told.
std::string ExecutablePath(const std::string& fallback);

#endif  // WORDGAME_WORD_LIST_H_
