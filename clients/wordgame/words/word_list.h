#ifndef WORDGAME_WORDS_WORD_LIST_H_
#define WORDGAME_WORDS_WORD_LIST_H_

// Finding and reading the word list that wordgame plays with, and narrowing
// it down by category and difficulty.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "words/alphabet.h"
#include "words/word_index.h"
#include "words/word_views.h"

/// The largest word list read. A large dictionary has a few MiB; a file
/// beyond this is not a word list, and reading /dev/zero or the like must
/// stop somewhere.
constexpr std::size_t kMaxListBytes = std::size_t{64} << 20;
static_assert(kMaxListBytes <= WordViews::kMaxBytes,
              "a word's offset must fit");

/// Reads the whole file at `path` into `bytes`. On failure returns false and
/// sets *err to the reason ("No such file or directory", ...); a FIFO, a
/// device or anything else but a regular file (or a folder, "Is a
/// directory") is "not a regular file", never waited on.
bool ReadWholeFile(const std::string& path, std::string* bytes,
                   std::string* err);

/// What a word list offers for play.
struct WordList {
  /// The playable words, tidied, each once, in the order of first appearance:
  /// views into the list's bytes as read, a tidied word written over its
  /// line in the codes of `alphabet`.
  WordViews words;
  /// The letters of the words, each with its code.
  Alphabet alphabet;
  /// Lines of letters that found no code, the alphabet being full: the list
  /// has more different letters than the game can tell apart.
  std::size_t beyond_alphabet = 0;
  /// The names of the category lines, each once, in the order first seen.
  std::vector<std::string> category_names;
  /// No category: the stretch of the list before any category line, or after
  /// a malformed one.
  static constexpr std::uint32_t kNoCategory = UINT32_MAX;
  /// Where a stretch of lines under one category starts in the list's bytes,
  /// and its category (in category_names, or kNoCategory).
  struct CategorySpan {
    std::size_t start;
    std::uint32_t category;
  };
  /// The stretches in order, from the first category line on; none when the
  /// list has no category lines. A word's category is that of the stretch
  /// where it was first listed, so narrowing `words` never leaves it out of
  /// step.
  std::vector<CategorySpan> category_spans;
  /// Every word of the list as read, found by its letters; kept only when
  /// the list has category lines, for CategoryOf.
  WordIndex index;
  /// Lines that are neither blank, nor a playable word, nor a category line.
  std::size_t skipped = 0;
  /// Line numbers (from 1) of the first few skipped lines.
  std::vector<std::size_t> skipped_lines;
  /// Lines that repeat a word under another category than its first (none
  /// counting as a category); the word keeps its first.
  std::size_t recategorised = 0;
  /// Line numbers (from 1) of the first few such lines.
  std::vector<std::size_t> recategorised_lines;
};

/// Parses a word list: a UTF-8 byte-order mark at the start is dropped; each
/// line is tidied (Tidy, and lowered as LowerLetters does) and kept when it
/// is 1 to kMaxWordLetters letters, a-z or of any alphabet in UTF-8, each
/// written as its code; blank lines are passed over. A line "[name]"
/// (IsCategoryLine) files the words after it under that name, up to the next
/// such line; a line that starts with "[" but is not a category line is skipped
/// and leaves the words after it without a category. Any other line is counted
/// as skipped. A word listed twice is played once; if under another category,
/// the first wins and the line is counted in `recategorised`. A list without
/// category lines gives no categories at all. The words are views into `bytes`
/// (at most kMaxListBytes, as ReadWholeFile leaves them), which the list keeps.
WordList ParseWordList(std::string bytes);

/// The longest category name; longer ones are not category lines. Ample for
/// a name of a few words, short enough to list the names in one line.
constexpr std::size_t kMaxCategoryName = 32;

/// True when the tidied `line` is a category line: "[", a name of 1 to
/// kMaxCategoryName letters a-z, spaces and hyphens that starts with a letter
/// (blanks around it dropped), "]". Sets *name to that name.
bool IsCategoryLine(const std::string& line, std::string* name);

/// The one line that tells the player about skipped lines, such as
/// "2 lines skipped (not one word of up to 64 letters, nor a [category]):
/// lines 3, 7.", or "" when none were.
std::string SkippedNote(const WordList& list);

/// The same in brief, for a line with more to say: "7 lines skipped: lines
/// 3, 5, 8, 12, 14 and 2 more.", or "" when none were.
std::string SkippedBrief(const WordList& list);

/// The one line that tells the player about lines that repeat a word under
/// another category, such as "1 line repeats a word under another category
/// (the first is kept): line 9.", or "" when none do.
std::string RecategorisedNote(const WordList& list);

/// The words of `words` that have exactly `letters` letters, in order.
WordViews WordsOfLength(WordViews words, std::size_t letters);

/// The category of `word` in `list`, or "" when it has none.
std::string CategoryOf(const WordList& list, std::string_view word);

/// A category and how many words of a list it holds.
struct CategoryCount {
  std::string name;
  std::size_t words = 0;
};

/// The categories of list.words, in the order of their first word, with how
/// many of list.words each holds; words without a category are left out, so a
/// list without category lines gives none.
std::vector<CategoryCount> CountCategories(const WordList& list);

/// The categories of CountCategories, one a line: the name, padded to the
/// longest, a space and the count ("animals 247\nart     89\n"); "" when
/// there are none.
std::string CategoryListing(const WordList& list);

/// Keeps only the words of category `name`, matched after Tidy (so without
/// regard to case and the blanks around it), in order. When no word of
/// list.words has that category, changes nothing and returns false with *err
/// naming the known categories, or saying that the list has none.
bool KeepCategory(WordList* list, const std::string& name, std::string* err);

/// How hard a word is to guess.
enum class Difficulty { kEasy, kMedium, kHard };

/// Reads "easy", "medium" or "hard", after Tidy. False and *err otherwise.
bool ParseDifficulty(const std::string& text, Difficulty* level,
                     std::string* err);

/// The letters of a word that a player tries first: the twelve most frequent
/// in English text, most frequent first.
constexpr char kCommonLetters[] = "etaoinshrdlu";

/// A word's difficulty. Its score is the number of different letters it has
/// among kCommonLetters less the number of its other different letters: a
/// long word of common letters is found quickly, a short one with rare
/// letters (or few letters to find) is not. A score of 4 or more is easy
/// ("orange" 4), 2 or 3 medium ("kitten" 3), 1 or less hard ("cat" 1, "jazz"
/// -1).
Difficulty DifficultyOf(std::string_view word);

/// Keeps only the words of list.words whose DifficultyOf is `level`, in
/// order, and returns how many that leaves (possibly 0).
std::size_t KeepDifficulty(WordList* list, Difficulty level);

/// The word list shipped with the program: ../share/wordgame/words beside
/// the folder that holds the executable at `exe_path`, as a path without
/// "." or ".." ("/usr/share/wordgame/words" for "/usr/bin/wordgame").
std::string ShippedWordList(const std::string& exe_path);

/// The path of the running executable, or `fallback` when it cannot be told.
std::string ExecutablePath(const std::string& fallback);

#endif  // WORDGAME_WORDS_WORD_LIST_H_
