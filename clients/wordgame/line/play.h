#ifndef WORDGAME_LINE_PLAY_H_
#define WORDGAME_LINE_PLAY_H_

// The line mode of wordgame, for pipes, files and terminals that cannot do
// more: each guess a line, each answer a line, and the board printed anew
// (or, terse, one line for the answer and the word).

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/game_starter.h"
#include "engine/match.h"
#include "engine/round.h"

/// Bytes of an input line that are looked at; the rest of a longer line is
/// read and dropped. A guess is one letter or a word of at most
/// kMaxWordLetters, so anything longer is a slip (or a pasted text), and a
/// cap keeps a huge line from taking memory or being echoed.
constexpr std::size_t kMaxLineBytes = 256;

/// Terminal rows from which the board shows the gallows: the drawing and
/// three lines of board, a blank line, the feedback line and the prompt. On a
/// smaller terminal the board is compact, so the prompt never pushes the
/// word out of sight.
constexpr int kFullBoardRows = 13;

/// One line of input, without its line feed.
struct InputLine {
  /// The first kMaxLineBytes bytes of the line at most.
  std::string text;
  /// True when the line was longer and the rest was dropped.
  bool cut = false;
};

/// Reads one line of `in` into *line. At the end of input returns true with
/// *ended set (a last line without a line feed is still a line first); so
/// too when a read is cut short by an ending signal that was recorded
/// (EndingSignals::Pending). On a read error returns false and
/// sets *err to "read error: <reason>".
bool ReadLine(std::FILE* in, InputLine* line, bool* ended, std::string* err);

/// How the board is drawn.
struct Look {
  /// ANSI colours and bold; each attribute is reset before the line ends.
  bool colour = false;
  /// Rows of the player's terminal; 0 asks the terminal behind the output
  /// at each board (none: the full board).
  int rows = 0;
  /// For a screen reader: no drawing and no board, but one line after each
  /// guess with its answer, the word as far as found, the misses left and
  /// those made ("Word: s _ _ s. 5 misses left. Missed: e, a.").
  bool terse = false;
};

/// Plays the rounds of `match`, one guess per line of `in` ("+" asks for a
/// hint), until the player declines another round or `in` ends, then shows
/// the score and the statistics. With two players each round opens with the
/// setter's word, read from `in` with the echo off when it is a terminal
/// (EchoOff) and checked before play. The match's notes go to `notes` as
/// "wordgame: ..." lines. Returns false and sets *err ("write error: ...",
/// "read error: ...", or why a game could not start) when the game cannot go
/// on. The daily word (Match::daily) has one round, and ends with
/// Match::ClosingText.
bool PlayRounds(GameStarter& starter, Match& match, std::FILE* in,
                std::FILE* out, std::FILE* notes, const Look& look,
                std::string* err);

#endif  // WORDGAME_LINE_PLAY_H_
