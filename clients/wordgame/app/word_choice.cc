#include "app/word_choice.h"

#include <sys/stat.h>

#include "text/text.h"
#include "words/list_id.h"

namespace {

// The word list the settings name: FILE, else a dict.txt here (whatever it
// is, so that a broken one is reported rather than passed over), else the
// list shipped beside the program. *name receives how the opening line
// names it. This and ReadWordList are not inlined: their locals would take
// the stack of the deepest calls of the choice.
[[gnu::noinline]] std::string ChooseWordList(const Settings& settings,
                                             bool* shipped, std::string* name) {
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

// A list from this size on takes more than a moment to read (about a
// second for 30 MiB), so the player is told what the wait is for.
constexpr off_t kLargeListBytes = off_t{8} << 20;

// Reads the word list at `path` into *list, a large one announced on
// `notes` first; `shipped` tells the shipped list, which no dict.txt here
// replaced. False and *err when it cannot be read.
[[gnu::noinline]] bool ReadWordList(const std::string& path, bool shipped,
                                    WordList* list, std::FILE* notes,
                                    std::string* err) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      info.st_size >= kLargeListBytes &&
      static_cast<std::size_t>(info.st_size) <= kMaxListBytes) {
    std::fprintf(notes, "wordgame: reading the word list %s (%lld MiB)...\n",
                 path.c_str(), static_cast<long long>(info.st_size >> 20));
    std::fflush(notes);
  }
  std::string bytes;
  if (!ReadWholeFile(path, &bytes, err)) {
    *err = (shipped ? "no dict.txt here, and the shipped word list " : "") +
           path + ": " + *err;
    return false;
  }
  *list = ParseWordList(std::move(bytes));
  return true;
}

}  // namespace

bool ChooseWords(const Settings& settings, ChosenWords* words, std::FILE* notes,
                 std::string* err) {
  bool shipped;
  std::string name;
  words->path = ChooseWordList(settings, &shipped, &name);
  const std::string& path = words->path;
  WordList& list = words->list;
  if (!ReadWordList(path, shipped, &list, notes, err)) return false;
  if (list.beyond_alphabet != 0) {
    *err = path + ": its words have more than " +
           std::to_string(26 + Alphabet::kMaxOthers) +
           " different letters, more than the game can tell apart";
    return false;
  }
  if (list.words.empty()) {
    *err = path + ": no words to play (one word a line)";
    return false;
  }
  if (settings.fold_accents) list.alphabet.FoldAccents();
  words->all = list.words.size();
  words->id = ListId(list.words);
  std::string& opening = words->opening;
  opening = "Words: " + name + ", " + CountOf(list.words.size(), "word");
  std::string kept;  // what the words left have in common
  if (settings.have_category) {
    if (!KeepCategory(&list, settings.category, err)) {
      *err = path + ": " + *err;
      return false;
    }
    const std::string category = Tidy(settings.category);
    kept = " in " + category;
    opening += ", " + std::to_string(list.words.size()) + kept;
  }
  if (settings.length != 0) {
    list.words = WordsOfLength(std::move(list.words), settings.length);
    kept = " of " + CountOf(settings.length, "letter") + kept;
    if (list.words.empty()) {
      *err = path + ": no words left: no words" + kept;
      return false;
    }
    opening += ", " + std::to_string(list.words.size()) + " of " +
               CountOf(settings.length, "letter");
  }
  if (settings.have_level) {
    const char* level = settings.level == Difficulty::kEasy     ? "easy"
                        : settings.level == Difficulty::kMedium ? "medium"
                                                                : "hard";
    if (KeepDifficulty(&list, settings.level) == 0) {
      *err = path + ": no words left: no " + level + " words" + kept;
      return false;
    }
    opening += ", " + std::to_string(list.words.size()) + " of them " + level;
  }
  opening += ".";
  return true;
}
