#ifndef WORDGAME_LINE_WRAP_H_
#define WORDGAME_LINE_WRAP_H_

// Lines of text fitted to the terminal they are printed on: a terminal cuts
// a long line wherever its width falls, mid-word; these lines break at
// blanks instead.

#include <cstdio>
#include <string>

/// Rows and columns of the terminal behind `out`, or 0 when it is none.
int TerminalRows(std::FILE* out);
int TerminalCols(std::FILE* out);

/// `text` as printed from column *column of a terminal `width` columns wide:
/// each blank (or run of them) where a line would run past the width becomes
/// a line feed, so that no word is cut; a word longer than a line stays
/// whole, for the terminal to wrap. ANSI sequences (Esc [ ... a letter) and
/// the later bytes of a UTF-8 character take no column. *column is set to
/// where the text ends. For `width` 0 or less, `text` as it is.
std::string Wrapped(const std::string& text, int width, int* column);

#endif  // WORDGAME_LINE_WRAP_H_
