#ifndef WORDGAME_WORDGAME_H_
#define WORDGAME_WORDGAME_H_

/// Runs wordgame with its command line: chooses the word list (FILE, else
/// dict.txt in the current folder, else the shipped list), plays rounds on
/// standard input and output and returns the exit status (0, or 1 on error).
int RunWordgame(int argc, char** argv);

#endif  // WORDGAME_WORDGAME_H_
