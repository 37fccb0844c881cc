#ifndef WORDGAME_APP_WORDGAME_H_
#define WORDGAME_APP_WORDGAME_H_

#include <cstdio>
#include <string>
#include <vector>

/// Runs wordgame with the command-line arguments `args` (those after the
/// program name): chooses the word list (FILE, else dict.txt in the current
/// folder, else the shipped list) and plays rounds, in full screen when `in`
/// and `out` are a terminal that can have it (and --line is not given), else
/// a line at a time; colours only on a terminal that takes them. Returns the
/// exit status: 0, or 1 after a one-line message on `err`. An interrupt,
/// terminate, hangup or quit signal ends the game in order (terminal given
/// back, folder removed, word and score shown) and is then raised again.
int RunWordgame(const std::vector<std::string>& args, std::FILE* in,
                std::FILE* out, std::FILE* err);

#endif  // WORDGAME_APP_WORDGAME_H_
