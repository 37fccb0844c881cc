#include "words/word_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <string_view>

#include "text/descriptor.h"
#include "text/text.h"

namespace {

// Lines named by number in a note; the count says how many more.
constexpr std::size_t kSkippedLinesNamed = 5;

// The UTF-8 byte-order mark some editors put at the start of a text file.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// The scores at and above which a word is easy, and at and below which it is
// hard (see DifficultyOf). They split the shipped list about 30, 43 and 27 in
// the hundred, so that each level keeps hundreds of words.
constexpr int kEasyScore = 4;
constexpr int kHardScore = 1;

// Counts line `number` in *count and names it in *lines while they are few.
void CountLine(std::size_t number, std::size_t* count,
               std::vector<std::size_t>* lines) {
  if (++*count <= kSkippedLinesNamed) lines->push_back(number);
}

// "line 3." or "lines 3, 5 and 4 more." for `count` lines, of which `lines`
// are named.
std::string NamedLines(std::size_t count,
                       const std::vector<std::size_t>& lines) {
  std::string text = count == 1 ? "line " : "lines ";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += (i ? ", " : "") + std::to_string(lines[i]);
  }
  if (count > lines.size()) {
    text += " and " + std::to_string(count - lines.size()) + " more";
  }
  return text + ".";
}

// The words of a list seen so far, each once: an open-addressing table of
// their indices in the list, so that a list of millions of words costs no
// allocation per word and a few bytes each. Each slot keeps the high bits of
// its word's hash too, so that a search reads the words themselves only on
// a likely match.
class WordSet {
 public:
  // `words` must outlive the set; `expected` words are room enough.
  WordSet(const std::vector<std::string>& words, std::size_t expected)
      : words_(words) {
    Resize(expected);
  }

  // Adds words_[i], unless an equal word is in already: then false.
  bool Add(std::size_t i) {
    if (count_ + 1 > slots_.size() / 5 * 4) Resize(slots_.size());
    return Place({static_cast<std::uint32_t>(i), Tag(words_[i])}, true);
  }

 private:
  struct Slot {
    std::uint32_t word;  // index in words_, or kEmpty
    std::uint32_t tag;   // the high bits of its hash
  };
  static constexpr std::uint32_t kEmpty = UINT32_MAX;

  static std::uint32_t Tag(const std::string& word) {
    const std::uint64_t hash = std::hash<std::string>{}(word);
    return static_cast<std::uint32_t>(hash * 0x9E3779B97F4A7C15u >> 32);
  }

  bool Place(Slot slot, bool check) {
    const std::size_t mask = slots_.size() - 1;
    // The tag's bits mixed again choose the first slot to look at.
    std::size_t s = (slot.tag * std::size_t{2654435761u}) & mask;
    for (; slots_[s].word != kEmpty; s = (s + 1) & mask) {
      if (check && slots_[s].tag == slot.tag &&
          words_[slots_[s].word] == words_[slot.word]) {
        return false;
      }
    }
    slots_[s] = slot;
    ++count_;
    return true;
  }

  // At least `words` + 1 words in at most 4/5 of the slots.
  void Resize(std::size_t words) {
    std::size_t size = 64;
    while (size / 5 * 4 < words + 1) size *= 2;
    std::vector<Slot> old(size, Slot{kEmpty, 0});
    slots_.swap(old);
    count_ = 0;
    for (const Slot& slot : old) {
      if (slot.word != kEmpty) Place(slot, false);
    }
  }

  const std::vector<std::string>& words_;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

// True when `line` is a word as it stands: 1 to kMaxWordLetters letters a-z.
bool IsPlainWord(std::string_view line) {
  if (line.empty() || line.size() > kMaxWordLetters) return false;
  for (char c : line) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes,
                   std::string* err) {
  // Not blocking, so that a FIFO is refused rather than waited on.
  Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info;
  if (file.get() < 0 || fstat(file.get(), &info) != 0) {
    *err = std::strerror(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    *err = std::strerror(EISDIR);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *err = "not a regular file";
    return false;
  }
  if (!ReadAll(file.get(), kMaxListBytes, bytes)) {
    *err = std::strerror(errno);
    return false;
  }
  if (bytes->size() > kMaxListBytes) {
    *err = "larger than " + std::to_string(kMaxListBytes >> 20) +
           " MiB, too large for a word list";
    return false;
  }
  return true;
}

bool IsCategoryLine(const std::string& line, std::string* name) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
    return false;
  }
  std::string inside = Tidy(line.substr(1, line.size() - 2));
  if (inside.empty() || inside.size() > kMaxCategoryName || inside[0] < 'a' ||
      inside[0] > 'z' ||
      inside.find_first_not_of("abcdefghijklmnopqrstuvwxyz -") !=
          std::string::npos) {
    return false;
  }
  *name = std::move(inside);
  return true;
}

WordList ParseWordList(const std::string& bytes) {
  WordList list;
  const std::size_t lines =
      static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  list.words.reserve(lines + 1);
  WordSet seen(list.words, lines + 1);
  std::string category;  // of the words that follow; "" for none
  // Keeps a word unless listed before; a repeat under another category is
  // counted.
  auto add = [&](std::string word, std::size_t number) {
    list.words.push_back(std::move(word));
    const std::string& added = list.words.back();
    if (seen.Add(list.words.size() - 1)) {
      if (!category.empty()) list.category.emplace(added, category);
      return;
    }
    if (CategoryOf(list, added) != category) {
      CountLine(number, &list.recategorised, &list.recategorised_lines);
    }
    list.words.pop_back();
  };
  const std::size_t mark = sizeof kByteOrderMark - 1;
  std::size_t start = bytes.compare(0, mark, kByteOrderMark) == 0 ? mark : 0;
  for (std::size_t number = 1; start < bytes.size(); ++number) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line(bytes.data() + start, end - start);
    start = end + 1;
    // Most lines of a large list are words as they stand: no tidying.
    if (IsPlainWord(line)) {
      add(std::string(line), number);
      continue;
    }
    std::string word = Tidy(std::string(line));
    if (word.empty() || IsCategoryLine(word, &category)) continue;
    if (!AllLetters(word) || word.size() > kMaxWordLetters) {
      // A malformed category line ends the category before it, so that no
      // word is filed under a name it was not listed under.
      if (word[0] == '[') category.clear();
      CountLine(number, &list.skipped, &list.skipped_lines);
    } else {
      add(std::move(word), number);
    }
  }
  return list;
}

std::string SkippedNote(const WordList& list) {
  if (list.skipped == 0) return "";
  return CountOf(list.skipped, "line") + " skipped (not one word of up to " +
         std::to_string(kMaxWordLetters) + " letters a-z, nor a [category]): " +
         NamedLines(list.skipped, list.skipped_lines);
}

std::string SkippedBrief(const WordList& list) {
  if (list.skipped == 0) return "";
  return CountOf(list.skipped, "line") +
         " skipped: " + NamedLines(list.skipped, list.skipped_lines);
}

std::string RecategorisedNote(const WordList& list) {
  if (list.recategorised == 0) return "";
  const bool one = list.recategorised == 1;
  return std::to_string(list.recategorised) +
         (one ? " line repeats" : " lines repeat") +
         " a word under another category (the first is kept): " +
         NamedLines(list.recategorised, list.recategorised_lines);
}

std::vector<std::string> WordsOfLength(const std::vector<std::string>& words,
                                       std::size_t letters) {
  std::vector<std::string> kept;
  for (const std::string& w : words) {
    if (w.size() == letters) kept.push_back(w);
  }
  return kept;
}

std::string CategoryOf(const WordList& list, const std::string& word) {
  auto found = list.category.find(word);
  return found == list.category.end() ? "" : found->second;
}

std::vector<CategoryCount> CountCategories(const WordList& list) {
  std::vector<CategoryCount> counts;
  std::unordered_map<std::string, std::size_t> index;  // name -> in counts
  for (const std::string& w : list.words) {
    auto found = list.category.find(w);
    if (found == list.category.end()) continue;
    auto added = index.emplace(found->second, counts.size());
    if (added.second) counts.push_back({found->second, 0});
    ++counts[added.first->second].words;
  }
  return counts;
}

std::string CategoryListing(const WordList& list) {
  std::vector<CategoryCount> counts = CountCategories(list);
  std::size_t width = 0;
  for (const CategoryCount& c : counts) width = std::max(width, c.name.size());
  std::string text;
  for (const CategoryCount& c : counts) {
    text += c.name + std::string(width - c.name.size() + 1, ' ') +
            std::to_string(c.words) + "\n";
  }
  return text;
}

bool KeepCategory(WordList* list, const std::string& name, std::string* err) {
  const std::string wanted = Tidy(name);
  std::vector<std::string> kept;
  for (const std::string& w : list->words) {
    if (!wanted.empty() && CategoryOf(*list, w) == wanted) kept.push_back(w);
  }
  if (kept.empty()) {
    std::vector<CategoryCount> known = CountCategories(*list);
    if (known.empty()) {
      *err = "the word list has no categories";
      return false;
    }
    *err = "no category \"" + wanted + "\"; the categories are ";
    for (std::size_t i = 0; i < known.size(); ++i) {
      *err += (i ? ", " : "") + known[i].name;
    }
    return false;
  }
  list->words = std::move(kept);
  return true;
}

bool ParseDifficulty(const std::string& text, Difficulty* level,
                     std::string* err) {
  const std::string tidy = Tidy(text);
  if (tidy == "easy") {
    *level = Difficulty::kEasy;
  } else if (tidy == "medium") {
    *level = Difficulty::kMedium;
  } else if (tidy == "hard") {
    *level = Difficulty::kHard;
  } else {
    *err = "difficulty \"" + text + "\" is not easy, medium or hard";
    return false;
  }
  return true;
}

Difficulty DifficultyOf(const std::string& word) {
  bool present[UCHAR_MAX + 1] = {};  // per byte value: seen in the word
  int score = 0;
  for (char c : word) {
    unsigned char letter = static_cast<unsigned char>(c);
    if (present[letter]) continue;
    present[letter] = true;
    score += std::memchr(kCommonLetters, c, sizeof kCommonLetters - 1) ? 1 : -1;
  }
  if (score >= kEasyScore) return Difficulty::kEasy;
  return score > kHardScore ? Difficulty::kMedium : Difficulty::kHard;
}

std::size_t KeepDifficulty(WordList* list, Difficulty level) {
  std::vector<std::string> kept;
  for (const std::string& w : list->words) {
    if (DifficultyOf(w) == level) kept.push_back(w);
  }
  list->words = std::move(kept);
  return list->words.size();
}

std::string ShippedWordList(const std::string& exe_path) {
  std::size_t slash = exe_path.rfind('/');
  std::string bin_dir =
      slash == std::string::npos ? "." : exe_path.substr(0, slash);
  return bin_dir + "/../share/wordgame/words";
}

std::string ExecutablePath(const std::string& fallback) {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return fallback;
  return std::string(buf, static_cast<std::size_t>(n));
}
