#include "words/word_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "progutil.h"
#include "text/descriptor.h"
#include "text/text.h"
#include "text/utf8.h"

static_assert(kMaxWordLetters <= WordViews::kMaxLength,
              "a word's length must fit");

namespace {

// Lines named by number in a note; the count says how many more.
constexpr std::size_t kSkippedLinesNamed = 5;

// What ReadAll asks of a string beyond the bytes it read (its chunk), and
// then some.
constexpr std::size_t kReadRoom = std::size_t{1} << 17;

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

// The category of the word at `offset` in the list's bytes: that of the
// last stretch that starts at or before it.
std::uint32_t CategoryAt(const WordList& list, std::size_t offset) {
  const auto& spans = list.category_spans;
  auto after =
      std::upper_bound(spans.begin(), spans.end(), offset,
                       [](std::size_t at, const WordList::CategorySpan& s) {
                         return at < s.start;
                       });
  return after == spans.begin() ? WordList::kNoCategory : (after - 1)->category;
}

// Adds the word of `length` bytes at `at`, on line `number` under
// `category`, to list->words, unless listed before; a repeat under another
// category is counted.
void AddWord(std::size_t at, std::size_t length, std::size_t number,
             std::uint32_t category, WordList* list) {
  list->words.Add(at, length);
  const std::uint32_t first =
      list->index.Add(list->words.packed(list->words.size() - 1));
  if (first == WordIndex::kNone) return;
  list->words.pop_back();
  if (CategoryAt(*list, WordViews::OffsetOf(first)) != category) {
    CountLine(number, &list->recategorised, &list->recategorised_lines);
  }
}

// True when `line` is a word as it stands: 1 to kMaxWordLetters letters a-z.
bool IsPlainWord(std::string_view line) {
  if (line.empty() || line.size() > kMaxWordLetters) return false;
  for (char c : line) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

// Once the list is read, its letters beyond a to z get their codes in the
// order of their code points (Alphabet::Sort), and the words that have them
// are written anew; the index, which finds words by their bytes, is made
// again.
void Recode(WordList* list, std::string* text) {
  if (list->alphabet.ascii()) return;
  const std::string remap = list->alphabet.Sort();
  for (std::size_t i = 0; i < list->words.size(); ++i) {
    const std::size_t at = list->words.offset(i);
    for (std::size_t j = at; j < at + list->words[i].size(); ++j) {
      (*text)[j] = remap[static_cast<unsigned char>((*text)[j])];
    }
  }
  if (list->category_spans.empty()) return;
  list->index = WordIndex(list->words, list->words.size());
  for (std::size_t i = 0; i < list->words.size(); ++i) {
    list->index.Add(list->words.packed(i));
  }
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
  // Room for the whole file and a last read that finds its end, so that the
  // bytes are never moved while read: a copy would double the memory taken.
  if (static_cast<std::uint64_t>(info.st_size) <= kMaxListBytes) {
    bytes->reserve(static_cast<std::size_t>(info.st_size) + kReadRoom);
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

// The words are views into the bytes read: a word as it stands is one
// already, and a tidied word, never longer than its line, is written over
// its line. Categories are stretches of the bytes, so that a word costs no
// more than its view, and its slot in the index while reading.
WordList ParseWordList(std::string bytes) {
  WordList list;
  const std::size_t lines =
      static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  auto buffer = std::make_shared<std::string>(std::move(bytes));
  std::string& text = *buffer;
  list.words = WordViews(buffer);
  list.words.reserve(lines + 1);
  list.index = WordIndex(list.words, lines + 1);
  list.alphabet = Alphabet(false);
  bool latin = false;  // a word as it stands was seen
  std::uint32_t category = WordList::kNoCategory;  // of the words that follow
  std::unordered_map<std::string, std::uint32_t> numbers;  // of the names
  // The words from `start` on are filed under category `c`.
  auto file_under = [&](std::uint32_t c, std::size_t start) {
    if (c == category) return;
    category = c;
    list.category_spans.push_back({start, c});
  };
  const std::size_t mark = sizeof kByteOrderMark - 1;
  std::size_t start = text.compare(0, mark, kByteOrderMark) == 0 ? mark : 0;
  for (std::size_t number = 1; start < text.size(); ++number) {
    const std::size_t at = start;
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + at, end - at);
    start = end + 1;
    // Most lines of a large list are words as they stand: no tidying.
    if (IsPlainWord(line)) {
      latin = true;
      AddWord(at, line.size(), number, category, &list);
      continue;
    }
    std::string word = Tidy(std::string(line));
    std::string name;
    if (word.empty()) continue;
    if (IsCategoryLine(word, &name)) {
      auto known = numbers.emplace(name, list.category_names.size());
      if (known.second) list.category_names.push_back(name);
      file_under(known.first->second, start);
    } else {
      std::string lowered, codes;
      const bool letters =
          LowerLetters(word, &lowered) && Columns(lowered) <= kMaxWordLetters;
      if (letters && list.alphabet.AddWord(lowered, &codes)) {
        codes.copy(&text[at], codes.size());
        AddWord(at, codes.size(), number, category, &list);
        continue;
      }
      if (letters) ++list.beyond_alphabet;  // a letter found no code
      // A malformed category line ends the category before it, so that no
      // word is filed under a name it was not listed under.
      if (word[0] == '[') file_under(WordList::kNoCategory, start);
      CountLine(number, &list.skipped, &list.skipped_lines);
    }
  }
  if (latin) list.alphabet.Add('a');
  Recode(&list, &text);
  // Without categories nothing looks a word up once the list is read.
  if (list.category_spans.empty()) list.index = WordIndex();
  return list;
}

std::string SkippedNote(const WordList& list) {
  if (list.skipped == 0) return "";
  return CountOf(list.skipped, "line") + " skipped (not one word of up to " +
         std::to_string(kMaxWordLetters) + " letters, nor a [category]): " +
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

WordViews WordsOfLength(WordViews words, std::size_t letters) {
  words.KeepIf([&](std::size_t i) { return words[i].size() == letters; });
  return words;
}

std::string CategoryOf(const WordList& list, std::string_view word) {
  if (list.category_spans.empty()) return "";
  const std::uint32_t found = list.index.Find(word);
  if (found == WordIndex::kNone) return "";
  const std::uint32_t c = CategoryAt(list, WordViews::OffsetOf(found));
  return c == WordList::kNoCategory ? "" : list.category_names[c];
}

std::vector<CategoryCount> CountCategories(const WordList& list) {
  std::vector<CategoryCount> counts;
  // Per category: its place in counts, or none yet.
  std::vector<std::size_t> place(list.category_names.size(), SIZE_MAX);
  for (std::size_t i = 0; i < list.words.size(); ++i) {
    const std::uint32_t c = CategoryAt(list, list.words.offset(i));
    if (c == WordList::kNoCategory) continue;
    if (place[c] == SIZE_MAX) {
      place[c] = counts.size();
      counts.push_back({list.category_names[c], 0});
    }
    ++counts[place[c]].words;
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
  auto in = [&](std::size_t i) {
    const std::uint32_t c = CategoryAt(*list, list->words.offset(i));
    return c != WordList::kNoCategory && list->category_names[c] == wanted;
  };
  std::size_t first = 0;
  while (first < list->words.size() && !in(first)) ++first;
  if (first == list->words.size()) {
    std::vector<CategoryCount> known = CountCategories(*list);
    if (known.empty()) {
      *err = "the word list has no categories";
      return false;
    }
    *err = "no category \"" + progutil::Escaped(wanted) +
           "\"; the categories are ";
    for (std::size_t i = 0; i < known.size(); ++i) {
      *err += (i ? ", " : "") + known[i].name;
    }
    return false;
  }
  list->words.KeepIf(in);
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
    *err = "difficulty \"" + progutil::Escaped(text) +
           "\" is not easy, medium or hard";
    return false;
  }
  return true;
}

Difficulty DifficultyOf(std::string_view word) {
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
  WordViews& words = list->words;
  words.KeepIf([&](std::size_t i) { return DifficultyOf(words[i]) == level; });
  return words.size();
}

// Lexically: the executable's path has its links resolved already, so its
// folder's parent is the folder above it.
std::string ShippedWordList(const std::string& exe_path) {
  std::size_t slash = exe_path.rfind('/');
  std::string bin_dir =
      slash == std::string::npos ? "." : exe_path.substr(0, slash);
  return std::filesystem::path(bin_dir + "/../share/wordgame/words")
      .lexically_normal()
      .string();
}

std::string ExecutablePath(const std::string& fallback) {
  // The buffer is a string, not an array: a path's 4 KiB have no place on
  // the stack.
  std::string path(PATH_MAX, '\0');
  ssize_t n = readlink("/proc/self/exe", &path[0], path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return fallback;
  path.resize(static_cast<std::size_t>(n));
  return path;
}
