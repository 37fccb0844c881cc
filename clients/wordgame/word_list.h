#ifndef WORDGAME_WORD_LIST_H_
#define WORDGAME_WORD_LIST_H_

// Finding and reading the word list that wordgame plays with.

#include <string>
#include <vector>

/// Reads the whole file at `path` into `bytes`. On failure returns false and
/// sets `error` to the system's reason ("No such file or directory", ...).
bool ReadWholeFile(const std::string& path, std::string* bytes,
                   std::string* error);

/// The line with the whitespace around it (a carriage return included)
/// removed and ASCII letters lowered.
std::string Tidy(const std::string& line);

/// True when s consists of letters a-z only (the empty string included).
bool AllLetters(const std::string& s);

/// The words of a word list that make a fair game: each line with the
/// whitespace around it removed (a carriage return included) and ASCII
/// letters lowered, kept when it is one or more letters a-z and nothing else.
std::vector<std::string> PlayableWords(const std::string& bytes);

/// The word list shipped with the program: ../share/wordgame/words.txt beside
/// the folder that holds the executable at `exe_path`.
std::string ShippedWordList(const std::string& exe_path);

/// The path of the running executable, or `fallback` when it cannot be told.
std::string ExecutablePath(const std::string& fallback);

#endif  // WORDGAME_WORD_LIST_H_
