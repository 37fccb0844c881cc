#include "app/options.h"

#include "engine/match.h"
#include "look/rules.h"
#include "progutil.h"
#include "text/text.h"

extern const char kUsage[] =
    "usage: wordgame [--line | --terse] [--no-save] [--fold-accents] [-l N]\n"
    "                [-c CATEGORY] [-d LEVEL] [FILE]\n"
    "       wordgame [--line | --terse] [--no-save] [--fold-accents] --daily\n"
    "                [YYYY-MM-DD] [FILE]\n"
    "       wordgame [--line | --terse] -2 [--names A,B]\n"
    "       wordgame --categories [-l N] [-c CATEGORY] [-d LEVEL] [FILE]\n"
    "       wordgame --stats | --reset-stats [--yes]\n";

namespace {

// A number of letters from 1 to kMaxWordLetters, digits only.
bool ParseLength(const std::string& text, std::size_t* length,
                 std::string* err) {
  std::size_t n = 0;
  bool ok = !text.empty() && text.size() <= 3;
  for (char c : text) {
    ok = ok && c >= '0' && c <= '9';
    if (ok) n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  if (!ok || n < 1 || n > kMaxWordLetters) {
    *err = "the length must be a number of letters from 1 to " +
           std::to_string(kMaxWordLetters) + ", not \"" +
           progutil::Escaped(text) + "\"";
    return false;
  }
  *length = n;
  return true;
}

// An option that takes a value, as "-x V", "-xV", "--long V" or "--long=V".
struct ValueOption {
  const char* short_name;  // "-x"
  const char* long_name;   // "--long"
  const char* value;       // what the value is, for a message
};

// When args[*i] is `option`, sets *value (taking the next argument if need
// be) and returns true; *err is set when the value is missing.
bool TakeValue(const std::vector<std::string>& args, std::size_t* i,
               const ValueOption& option, std::string* value,
               std::string* err) {
  const std::string& arg = args[*i];
  const std::string long_eq = std::string(option.long_name) + "=";
  const bool has_short = option.short_name[0] != '\0';
  if ((has_short && arg == option.short_name) || arg == option.long_name) {
    if (*i + 1 == args.size()) {
      *err = "option " + arg + " needs " + option.value;
    } else {
      *value = args[++*i];
    }
  } else if (arg.compare(0, long_eq.size(), long_eq) == 0) {
    *value = arg.substr(long_eq.size());
  } else if (has_short && arg.compare(0, 2, option.short_name) == 0) {
    *value = arg.substr(2);
  } else {
    return false;
  }
  return true;
}

constexpr ValueOption kLengthOption = {"-l", "--length", "a number of letters"};
constexpr ValueOption kCategoryOption = {"-c", "--category", "a category"};
constexpr ValueOption kLevelOption = {"-d", "--difficulty",
                                      "easy, medium or hard"};
constexpr ValueOption kNamesOption = {"", "--names",
                                      "two names, such as Ann,Bob"};

// "--daily", with the date after it (an argument that starts with a digit,
// as a date does and a file name seldom does) or as "--daily=DATE".
bool TakeDaily(const std::vector<std::string>& args, std::size_t* i,
               Settings* settings, std::string* err) {
  const std::string& arg = args[*i];
  std::string date;
  if (arg.compare(0, 8, "--daily=") == 0) {
    date = arg.substr(8);
  } else if (*i + 1 < args.size() && !args[*i + 1].empty() &&
             args[*i + 1][0] >= '0' && args[*i + 1][0] <= '9') {
    date = args[++*i];
  } else {
    settings->daily = true;
    return true;
  }
  settings->daily = settings->have_day = true;
  if (ParseDate(date, &settings->day)) return true;
  *err = "--daily takes a date YYYY-MM-DD that exists, not \"" +
         progutil::Escaped(date) + "\"";
  return false;
}

bool SetAction(Action action, const std::string& arg, Settings* settings,
               std::string* err) {
  if (settings->action != Action::kPlay && settings->action != action) {
    *err = settings->action_option + " and " + arg + " do not go together";
    return false;
  }
  settings->action = action;
  settings->action_option = arg;
  return true;
}

// The options that do not go together, once all are read.
bool CheckCombination(Settings* settings, std::string* err) {
  const bool picks_words = settings->have_file || settings->length != 0 ||
                           settings->have_category || settings->have_level;
  settings->two = settings->two || settings->have_names;
  if (settings->yes && settings->action != Action::kResetStats) {
    *err = "--yes goes with --reset-stats only";
  } else if (settings->line && settings->terse) {
    *err = "--line and --terse do not go together";
  } else if ((settings->action == Action::kStats ||
              settings->action == Action::kResetStats) &&
             (picks_words || settings->two || settings->line ||
              settings->terse || settings->no_save || settings->fold_accents)) {
    *err = settings->action_option + " takes no other option" +
           (settings->action == Action::kResetStats ? " but --yes" : "");
  } else if (settings->daily && settings->action != Action::kPlay) {
    *err = settings->action_option + " and --daily do not go together";
  } else if (settings->daily && settings->two) {
    *err = "--daily is for one player; it does not go with two players";
  } else if (settings->daily &&
             (settings->length != 0 || settings->have_category ||
              settings->have_level)) {
    *err =
        "--daily plays a word of the whole list, the same for everyone: -l, "
        "-c and -d do not apply";
  } else if (settings->two && settings->action != Action::kPlay) {
    *err = settings->action_option + " does not go with two players";
  } else if (settings->two && picks_words) {
    *err =
        "with two players the players choose the words: FILE, -l, -c and "
        "-d do not apply";
  } else {
    return true;
  }
  return false;
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, Settings* settings,
                    std::string* err) {
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (options && (arg == "--help" || arg == "-h")) {
      settings->help = true;
      return true;
    }
    if (!options || arg.size() < 2 || arg[0] != '-') {
      if (settings->have_file) {
        *err = "too many arguments";
        return false;
      }
      if (arg.empty()) {
        *err = "the word list's file name is empty";
        return false;
      }
      settings->file = arg;
      settings->have_file = true;
    } else if (arg == "--") {
      options = false;
    } else if (arg == "--line") {
      settings->line = true;
    } else if (arg == "--terse") {
      settings->terse = true;
    } else if (arg == "--two" || arg == "-2") {
      settings->two = true;
    } else if (arg == "--yes") {
      settings->yes = true;
    } else if (arg == "--no-save") {
      settings->no_save = true;
    } else if (arg == "--fold-accents") {
      settings->fold_accents = true;
    } else if (arg == "--daily" || arg.compare(0, 8, "--daily=") == 0) {
      if (!TakeDaily(args, &i, settings, err)) return false;
    } else if (arg == "--categories") {
      if (!SetAction(Action::kCategories, arg, settings, err)) return false;
    } else if (arg == "--stats") {
      if (!SetAction(Action::kStats, arg, settings, err)) return false;
    } else if (arg == "--reset-stats") {
      if (!SetAction(Action::kResetStats, arg, settings, err)) return false;
    } else if (TakeValue(args, &i, kLengthOption, &value, err)) {
      if (!err->empty() || !ParseLength(value, &settings->length, err)) {
        return false;
      }
    } else if (TakeValue(args, &i, kCategoryOption, &value, err)) {
      if (!err->empty()) return false;
      settings->category = value;
      settings->have_category = true;
    } else if (TakeValue(args, &i, kLevelOption, &value, err)) {
      if (!err->empty() || !ParseDifficulty(value, &settings->level, err)) {
        return false;
      }
      settings->have_level = true;
    } else if (TakeValue(args, &i, kNamesOption, &value, err)) {
      if (!err->empty() ||
          !ParseNames(value, &settings->names[0], &settings->names[1], err)) {
        return false;
      }
      settings->have_names = true;
    } else {
      *err = "unknown option " + progutil::Escaped(arg);
      return false;
    }
  }
  return CheckCombination(settings, err);
}

std::string HelpAfterUsage() {
  return "A word-guessing game: find the hidden word a letter at a time, or "
         "all at once.\n"
         "  FILE                the word list, one word a line, perhaps under "
         "[category]\n"
         "                      lines (default: dict.txt here, else the list "
         "shipped\n"
         "                      with the program)\n"
         "  -l N, --length N    play only words of N letters\n"
         "  -c, --category C    play only words of the category C\n"
         "  -d, --difficulty D  play only easy, medium or hard words\n"
         "  --categories        list the categories with how many words each "
         "has, and exit\n"
         "  -2, --two           two players: one types a word (it does not "
         "show), the\n"
         "                      other guesses it; they change roles every "
         "round\n"
         "  --names A,B         the two players' names (default Player 1, "
         "Player 2)\n"
         "  --daily [DATE]      play the daily word of DATE (YYYY-MM-DD, "
         "up to today;\n"
         "                      default today): "
         "the same for everyone\n"
         "                      with the same list, played once\n"
         "  --stats             show the statistics of your rounds, and exit\n"
         "  --reset-stats       set the statistics to zero (asks first; "
         "--yes does not)\n"
         "  --no-save           play without reading or saving statistics "
         "and words\n"
         "  --fold-accents      a letter also finds itself with an accent (e "
         "finds \u00e9,\n"
         "                      \u00e8, \u00ea and \u00eb)\n"
         "  --line              play a line at a time even on a terminal (the "
         "way pipes\n"
         "                      and files are always played)\n"
         "  --terse             play a line at a time, one line a guess and no "
         "drawing,\n"
         "                      for a screen reader (the default on "
         "TERM=dumb)\n"
         "  -h, --help          show this help and exit\n"
         "\n" +
         Rules() +
         "\nOn a terminal the game takes the whole screen: a letter key "
         "guesses at once,\nEnter types the whole word, Esc or Ctrl-D quits, "
         "and after a round Enter or\ny plays on, n or q quits.\n"
         "\nTwo players: the guesser wins a round by finding the word, the "
         "setter when it\nis not found. Statistics count your rounds alone, "
         "and recently played words\nwait until the rest of the list has "
         "been played; both are kept in\n$XDG_STATE_HOME/wordgame/ (else "
         "~/.local/state/wordgame/).\n";
}
