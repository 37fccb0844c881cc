#ifndef WORDGAME_APP_OPTIONS_H_
#define WORDGAME_APP_OPTIONS_H_

// wordgame's command line: what it asks for, and the help that tells it.

#include <cstddef>
#include <string>
#include <vector>

#include "state/calendar.h"
#include "words/word_list.h"

/// The usage lines, each ending in a line feed.
extern const char kUsage[];

/// What the command line asks for besides play.
enum class Action { kPlay, kCategories, kStats, kResetStats };

/// What the command line asks for.
struct Settings {
  bool help = false;
  Action action = Action::kPlay;
  std::string action_option;  // as given, for messages
  bool line = false;          // the line mode even on a terminal
  bool terse = false;         // the line mode, one line a guess
  bool have_file = false;
  std::string file;        // none: dict.txt here, else the shipped list
  std::size_t length = 0;  // 0: words of any length
  bool have_category = false;
  std::string category;
  bool have_level = false;
  Difficulty level = Difficulty::kEasy;
  bool two = false;
  bool have_names = false;
  std::string names[2] = {"Player 1", "Player 2"};
  bool yes = false;
  bool no_save = false;
  bool fold_accents = false;  // a letter finds its accented forms too
  bool daily = false;         // the daily word's one round
  bool have_day = false;
  Day day = 0;  // the daily word's date, when given (else today)
};

/// Reads the arguments after the program's name into *settings. False and
/// *err (one line, without the program's name) when they are wrong; with -h
/// or --help, true and settings->help at once.
bool ParseArguments(const std::vector<std::string>& args, Settings* settings,
                    std::string* err);

/// What --help shows after the usage: the options and the rules.
std::string HelpAfterUsage();

#endif  // WORDGAME_APP_OPTIONS_H_
