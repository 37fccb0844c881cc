#ifndef WORDGAME_WORDGAME_H_
#define WORDGAME_WORDGAME_H_

#include <cstdio>
#include <string>
#include <vector>

/// Runs wordgame with the command-line arguments `args` (those after the
/// program name): chooses the word list (FILE, else dict.txt in the current
/// folder, else the shipped list), plays rounds with guesses from `in` and the
/// board on `out` (coloured when `out` is a terminal that takes colours), and
/// returns the exit status: 0, or 1 after a one-line message on `err`.
int RunWordgame(const std::vector<std::string>& args, std::FILE* in,
                std::FILE* out, std::FILE* err);

#endif  // WORDGAME_WORDGAME_H_
