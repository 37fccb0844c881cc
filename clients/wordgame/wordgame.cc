#include "wordgame.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <utility>

#include "game_folder.h"
#include "play.h"
#include "progutil.h"
#include "screen_game.h"
#include "terminal.h"
#include "word_list.h"

namespace {

constexpr char kUsage[] = "usage: wordgame [--line] [-l N] [FILE]\n";

// What the command line asks for.
struct Settings {
  bool help = false;
  bool line = false;  // the line mode even on a terminal
  bool have_file = false;
  std::string file;        // none: dict.txt here, else the shipped list
  std::size_t length = 0;  // 0: words of any length
};

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
           std::to_string(kMaxWordLetters) + ", not \"" + text + "\"";
    return false;
  }
  *length = n;
  return true;
}

bool ParseArguments(const std::vector<std::string>& args, Settings* settings,
                    std::string* err) {
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && (arg == "--help" || arg == "-h")) {
      settings->help = true;
      return true;
    }
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "-l" || arg == "--length")) {
      if (i + 1 == args.size()) {
        *err = "option " + arg + " needs a number of letters";
        return false;
      }
      if (!ParseLength(args[++i], &settings->length, err)) return false;
    } else if (options && arg == "--line") {
      settings->line = true;
    } else if (options && arg.compare(0, 9, "--length=") == 0) {
      if (!ParseLength(arg.substr(9), &settings->length, err)) return false;
    } else if (options && arg.compare(0, 2, "-l") == 0) {
      if (!ParseLength(arg.substr(2), &settings->length, err)) return false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      *err = "unknown option " + arg;
      return false;
    } else if (settings->have_file) {
      *err = "too many arguments";
      return false;
    } else if (arg.empty()) {
      *err = "the word list's file name is empty";
      return false;
    } else {
      settings->file = arg;
      settings->have_file = true;
    }
  }
  return true;
}

std::string Help() {
  return std::string(kUsage) +
         "A word-guessing game: find the hidden word a letter at a time, or "
         "all at once.\n"
         "  FILE              the word list, one word a line (default: "
         "dict.txt here,\n"
         "                    else the list shipped with the program)\n"
         "  -l N, --length N  play only words of N letters\n"
         "  --line            play a line at a time even on a terminal (the\n"
         "                    way pipes and files are always played)\n"
         "  -h, --help        show this help and exit\n"
         "\n" +
         Rules() +
         "\nOn a terminal the game takes the whole screen: a letter key "
         "guesses "
         "at once,\nEnter types the whole word, Esc or Ctrl-D quits, and after "
         "a "
         "round Enter or\ny plays on, n or q quits.\n";
}

// The word list the settings name: FILE, else a dict.txt here (whatever it
// is, so that a broken one is reported rather than passed over), else the
// list shipped beside the program. *name receives how the opening line
// names it.
std::string ChooseWordList(const Settings& settings, bool* shipped,
                           std::string* name) {
  *shipped = false;
  *name = settings.file;
  if (settings.have_file) return settings.file;
  struct stat st;
  *name = "./dict.txt";
  if (lstat("dict.txt", &st) == 0) return "dict.txt";
  *shipped = true;
  *name = "shipped list";
  return ShippedWordList(ExecutablePath("wordgame"));
}

// Colours only for a terminal that shows them, and not against the player's
// wish (NO_COLOR set to anything but the empty string).
bool WantsColour(std::FILE* out) {
  int fd = fileno(out);
  const char* term = std::getenv("TERM");
  const char* no_colour = std::getenv("NO_COLOR");
  return fd >= 0 && isatty(fd) && term != nullptr && *term != '\0' &&
         std::strcmp(term, "dumb") != 0 &&
         (no_colour == nullptr || *no_colour == '\0');
}

bool IsOpen(int fd) { return fd < 0 || fcntl(fd, F_GETFD) >= 0; }

// Plays the game the settings ask for: in full screen on a terminal that
// can have it, else a line at a time. False and *err when it cannot.
bool Play(const Settings& settings, std::FILE* in, std::FILE* out,
          std::string* err) {
  bool shipped;
  std::string name;
  std::string path = ChooseWordList(settings, &shipped, &name);
  std::string bytes;
  if (!ReadWholeFile(path, &bytes, err)) {
    *err = (shipped ? "no dict.txt here, and the shipped word list " : "") +
           path + ": " + *err;
    return false;
  }
  WordList list = ParseWordList(bytes);
  bytes = std::string();
  if (list.words.empty()) {
    *err = path + ": no words to play (one word of letters a-z a line)";
    return false;
  }
  std::string opening =
      "Words: " + name + ", " + CountOf(list.words.size(), "word");
  if (settings.length != 0) {
    list.words = WordsOfLength(list.words, settings.length);
    if (list.words.empty()) {
      *err = path + ": no words of " + CountOf(settings.length, "letter");
      return false;
    }
    opening += ", " + std::to_string(list.words.size()) + " of " +
               CountOf(settings.length, "letter");
  }
  opening += ".";
  const std::string note = SkippedNote(list);
  const bool colour = WantsColour(out);
  Deck deck(std::move(list.words), std::random_device{}());
  GameFolder folder;
  if (!folder.Open(err)) return false;
  // An interrupt ends the game in order: the terminal given back, the word
  // and the score shown, then the signal raised again (RunWordgame).
  folder.DeferEndingSignals();
  std::unique_ptr<Terminal> terminal =
      settings.line ? nullptr : Terminal::Open(in, out, colour);
  if (terminal) {
    ScreenGame game(
        folder, deck,
        opening + (list.skipped
                       ? " " + CountOf(list.skipped, "line") + " skipped."
                       : ""));
    bool played = PlayOnTerminal(*terminal, game, err);
    terminal.reset();  // The normal screen is back for the plain lines.
    std::string farewell = game.Farewell();
    std::fputs(farewell.c_str(), out);
    return played && FlushOutput(out, err);
  }
  std::fprintf(out, "%s\n", opening.c_str());
  if (!note.empty()) std::fprintf(out, "%s: %s\n", path.c_str(), note.c_str());
  Look look;
  look.colour = colour;
  return PlayRounds(folder, deck, in, out, look, err);
}

}  // namespace

int RunWordgame(const std::vector<std::string>& args, std::FILE* in,
                std::FILE* out, std::FILE* err) {
  std::string message;
  auto fail = [&](bool usage) {
    std::fflush(out);
    std::fprintf(err, "wordgame: %s\n", message.c_str());
    if (usage) std::fputs(kUsage, err);
    return 1;
  };
  // A closed output or input is reported at once: left closed, its
  // descriptor could be taken by the game's own files.
  if (!IsOpen(fileno(out))) {
    message = std::string("write error: ") + std::strerror(EBADF);
    return fail(false);
  }
  Settings settings;
  if (!ParseArguments(args, &settings, &message)) return fail(true);
  if (settings.help) {
    std::string help = Help();
    errno = 0;  // so that it holds the reason of a write that fails below
    std::fputs(help.c_str(), out);
    return FlushOutput(out, &message) ? 0 : fail(false);
  }
  if (!IsOpen(fileno(in))) {
    message = std::string("read error: ") + std::strerror(EBADF);
    return fail(false);
  }
  // A closed standard error loses only messages, but must not be taken by a
  // file of the game either.
  for (int fd = 0; fd <= 2; ++fd) {
    if (!IsOpen(fd)) open("/dev/null", O_RDWR);
  }
  // A reader that goes away (wordgame | head) shows up as a failed write,
  // which ends the game normally, so the game folder is always removed.
  std::signal(SIGPIPE, SIG_IGN);
  bool played = false;
  try {
    played = Play(settings, in, out, &message);
  } catch (const std::bad_alloc&) {
    message = "not enough memory for the game";
  }
  // An ending signal that the game deferred ends the program now, as it
  // would have at once; what failed on its way out is of no interest.
  if (int sig = GameFolder::TakePendingSignal()) {
    std::fflush(out);
    std::raise(sig);
    return 128 + sig;  // Reached only when the caller handles the signal.
  }
  return played ? 0 : fail(false);
}
