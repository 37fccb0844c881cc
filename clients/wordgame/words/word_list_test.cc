// The word-list rules and where the shipped list is found.

#include "words/word_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"
#include "text/utf8.h"

namespace {

using Words = std::vector<std::string>;

// The words of `views` as strings, to compare.
Words All(const WordViews& views) { return Words(views.begin(), views.end()); }

TEST(ParseWordList, TidiesDropsTheMarkCountsSkippedAndRepeatsOnce) {
  WordList list = ParseWordList(
      "\xEF\xBB\xBF  Cat\r\n\r\nice cream\ndog\n42\ncaf\xc3\xa9\n\nCAT\n" +
      std::string(kMaxWordLetters, 'x') + "\n" +
      std::string(kMaxWordLetters + 1, 'y') + "\nx-ray\nok\ndon't\n");
  EXPECT_EQ(All(list.words), (Words{"cat", "dog", "caf\x7b",
                                    std::string(kMaxWordLetters, 'x'), "ok"}));
  EXPECT_EQ(list.skipped, 5u);
  EXPECT_TRUE(list.category_names.empty());
  EXPECT_EQ(SkippedNote(list),
            "5 lines skipped (not one word of up to 64 letters, nor a "
            "[category]): lines 3, 5, 10, 11, 13.");
  EXPECT_EQ(SkippedBrief(list), "5 lines skipped: lines 3, 5, 10, 11, 13.");
  EXPECT_EQ(SkippedNote(ParseWordList("a b\nok")),
            "1 line skipped (not one word of up to 64 letters, nor a "
            "[category]): line 1.");
  EXPECT_EQ(SkippedNote(ParseWordList("ok\n\n")), "");
  EXPECT_EQ(SkippedBrief(ParseWordList("ok\n\n")), "");
  EXPECT_EQ(All(ParseWordList(std::string("a\0b\nz", 5)).words), Words{"z"});
  EXPECT_TRUE(ParseWordList("\xEF\xBB\xBF\n  \n").words.empty());
  EXPECT_EQ(All(WordsOfLength({"cat", "horse", "dog"}, 3)),
            (Words{"cat", "dog"}));
}

// The words are views into the bytes read, a tidied one written over its
// line: nothing of the next line may be lost, nor a last line without its
// line feed, and a repeat is found whichever line was tidied.
TEST(ParseWordList, TidiedWordsInPlaceAndTheLastLineWithoutLineFeed) {
  WordList list = ParseWordList("  Ox \r\nox\r\nemu\r\n\tEMU\n  Yak\r");
  EXPECT_EQ(All(list.words), (Words{"ox", "emu", "yak"}));
  EXPECT_EQ(list.skipped, 0u);
  EXPECT_EQ(All(ParseWordList("gnu\nelk").words), (Words{"gnu", "elk"}));
  // The words outlive the list they were read into.
  const WordViews words = ParseWordList("a\n Bee").words;
  EXPECT_EQ(All(words), (Words{"a", "bee"}));
}

// Letters of any alphabet, lowered, one code each from 0x7B up in the order
// of their code points, so that codes sort as UTF-8 does; a to z keep their
// bytes, and show on the alphabet line only when the list has them.
TEST(ParseWordList, LettersOfAnyAlphabetGetACodeEach) {
  WordList list = ParseWordList(
      "\xC3\xA9t\xC3\xA9\n\xC3\x89T\xC3\x89\nStra\u00dfe\n"
      "\xD0\x94\xD0\xB0\n\xCE\xB1\xCE\xB2\nl'\xC3\xA9t\xC3\xA9\n"
      "e\xCC\x81t\xC3\xA9\n\u00e9t\u00e92\ncaf\xC3\xA9\n");
  const Alphabet& a = list.alphabet;
  Words shown;
  for (std::string_view w : list.words) shown.push_back(a.Decode(w));
  // Repeats in capitals are one word; apostrophes, combining accents and
  // digits are no letters.
  EXPECT_EQ(shown,
            (Words{"\xC3\xA9t\xC3\xA9", "stra\u00dfe", "\xD0\xB4\xD0\xB0",
                   "\xCE\xB1\xCE\xB2", "caf\xC3\xA9"}));
  EXPECT_EQ(list.skipped, 3u);
  EXPECT_EQ(list.words[0], "\x7ct\x7c");  // ß U+00DF first, then é U+00E9
  EXPECT_EQ(list.words[1], "stra{e");     // ß's code 0x7b is "{"
  std::string line;
  for (unsigned char c : a.Line()) line += a.Letter(c);
  EXPECT_EQ(line,
            "abcdefghijklmnopqrstuvwxyz\xC3\x9F\xC3\xA9\xCE\xB1\xCE\xB2"
            "\xD0\xB0\xD0\xB4");
  EXPECT_EQ(a.Capital(0x7c), "\xC3\x89");
  std::string codes;
  EXPECT_TRUE(a.Encode("\xC3\x89T\xC3\xA9", &codes));
  EXPECT_EQ(codes, "\x7ct\x7c");
  EXPECT_FALSE(a.Encode("\xC3\xB1", &codes));  // ñ: not a letter of the list
  // Codes given anew once the list is read still find a word's category.
  const WordList fruits = ParseWordList(
      "[x]\n\xC3\xA9t\xC3\xA9\n\xC3\xA7"
      "a\n");
  EXPECT_EQ(fruits.words[1],
            "\x7b"
            "a");  // ç U+00E7 before é U+00E9
  EXPECT_EQ(CategoryOf(fruits, fruits.words[1]), "x");
  // Without a to z in the list, they are not its letters.
  const WordList cyrillic = ParseWordList("\xD0\xB4\xD0\xB0\n");
  EXPECT_EQ(cyrillic.alphabet.Line().size(), 2u);
  EXPECT_FALSE(cyrillic.alphabet.Encode("a", &codes));
  // Folding: e stands for é; the line shows e once.
  WordList folded = ParseWordList("\xC3\xA9t\xC3\xA9\nbee\n");
  folded.alphabet.FoldAccents();
  EXPECT_EQ(folded.alphabet.Key(0x7b), 'e');
  EXPECT_EQ(folded.alphabet.Line().size(), 26u);
  // Greek and Cyrillic fold too: ά to α, the final ς to σ, ё to е.
  WordList greek =
      ParseWordList("\xCE\xAC\xCF\x82\xD1\x91\n\xCE\xB1\xCF\x83\xD0\xB5\n");
  greek.alphabet.FoldAccents();
  std::string accented, plain;
  ASSERT_TRUE(greek.alphabet.Encode("\xCE\xAC\xCF\x82\xD1\x91", &accented));
  ASSERT_TRUE(greek.alphabet.Encode("\xCE\xB1\xCF\x83\xD0\xB5", &plain));
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(greek.alphabet.Key(static_cast<unsigned char>(accented[i])),
              static_cast<unsigned char>(plain[i]));
  }
  EXPECT_EQ(greek.alphabet.Line().size(), 3u);
  // More letters than codes: flagged, for the list to be refused.
  std::string many;  // ideographs, one a line
  for (char32_t c = 0x4E00; c <= 0x4E00 + Alphabet::kMaxOthers; ++c) {
    many += Utf8(c) + "\n";
  }
  EXPECT_EQ(ParseWordList(many).beyond_alphabet, 1u);
  EXPECT_EQ(ParseWordList(many.substr(0, many.size() - 4)).beyond_alphabet, 0u);
}

// A word of the longest length at the last offset a buffer allows.
// Characters of one to four bytes are read and written back; an overlong
// form, a surrogate or a cut sequence is refused a byte at a time.
TEST(Utf8Text, EveryLengthRoundTripsAndMalformedBytesAreRefused) {
  for (char32_t c : {U'a', U'\u00e9', U'\u4e00', U'\U0001F600'}) {
    const std::string bytes = Utf8(c);
    std::size_t at = 0;
    char32_t read = 0;
    EXPECT_TRUE(NextChar(bytes, &at, &read));
    EXPECT_EQ(read, c);
    EXPECT_EQ(at, bytes.size());
  }
  EXPECT_EQ(Utf8(U'\U0001F600'), "\xF0\x9F\x98\x80");
  for (std::string_view bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE4\xB8"}) {
    std::size_t at = 0;
    char32_t read = 0;
    EXPECT_FALSE(NextChar(bad, &at, &read)) << bad.size();
    EXPECT_EQ(at, 1u);
  }
}

TEST(WordViews, PackTheLongestWordAtTheLastOffset) {
  auto bytes = std::make_shared<std::string>(WordViews::kMaxBytes, 'q');
  bytes->back() = 'z';
  WordViews words(bytes);
  words.Add(WordViews::kMaxBytes - kMaxWordLetters, kMaxWordLetters);
  words.Add(WordViews::kMaxBytes - 1, 1);
  words.Add(0, 2);
  EXPECT_EQ(words[0], std::string(kMaxWordLetters - 1, 'q') + "z");
  EXPECT_EQ(words[1], "z");
  EXPECT_EQ(words[2], "qq");
  EXPECT_EQ(words.offset(1), WordViews::kMaxBytes - 1);
}

TEST(WordIndex, GrowsPastItsRoomAndFindsEachWordOnce) {
  Words all;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) all.push_back({a, b});
  }
  const WordViews words(all);
  WordIndex index(words, 0);
  for (std::size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(index.Add(words.packed(i)), WordIndex::kNone) << words[i];
  }
  for (std::size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(index.Find(words[i]), words.packed(i)) << words[i];
    ASSERT_EQ(index.Add(words.packed(i)), words.packed(i)) << words[i];
  }
  EXPECT_EQ(index.Find("abc"), WordIndex::kNone);
  EXPECT_EQ(WordIndex().Find("ab"), WordIndex::kNone);
}

TEST(ParseWordList, CategoryLinesFileTheWordsAfterThemFirstCategoryWins) {
  WordList list = ParseWordList(
      "loose\n [Sea Life] \ncrab\nreef\n[food & drink]\ntea\n[sport]\n"
      "golf\nreef\ngolf\nloose\n[bad\ncrab\n[]\n[sea life]\ncrab\nZOO\n");
  EXPECT_EQ(All(list.words),
            (Words{"loose", "crab", "reef", "tea", "golf", "zoo"}));
  EXPECT_EQ(CategoryOf(list, "loose"), "");
  EXPECT_EQ(CategoryOf(list, "crab"), "sea life");
  EXPECT_EQ(CategoryOf(list, "reef"), "sea life");
  // The malformed category line ended the one before it.
  EXPECT_EQ(CategoryOf(list, "tea"), "");
  EXPECT_EQ(CategoryOf(list, "golf"), "sport");
  EXPECT_EQ(list.skipped_lines, (std::vector<std::size_t>{5, 12, 14}));
  EXPECT_EQ(RecategorisedNote(list),
            "3 lines repeat a word under another category (the first is "
            "kept): lines 9, 11, 13.");
  EXPECT_EQ(RecategorisedNote(ParseWordList("[a]\nox\n[b]\nox\n")),
            "1 line repeats a word under another category (the first is "
            "kept): line 4.");
  EXPECT_EQ(RecategorisedNote(ParseWordList("[a]\nox\nox\n")), "");
  std::string name;
  EXPECT_FALSE(IsCategoryLine(
      "[" + std::string(kMaxCategoryName + 1, 'a') + "]", &name));
  EXPECT_TRUE(
      IsCategoryLine("[" + std::string(kMaxCategoryName, 'a') + "]", &name));
  EXPECT_FALSE(IsCategoryLine("[-a]", &name));
  // The categories stay when the words are taken away (by the deck).
  const WordViews taken = std::move(list.words);
  EXPECT_EQ(CategoryOf(list, "golf"), "sport");
  EXPECT_EQ(CategoryOf(list, "kelp"), "");
}

TEST(ShippedList, HoldsThousandsOfWordsEachInOneCategory) {
  std::string bytes, err;
  ASSERT_TRUE(ReadWholeFile(WORDS_PATH, &bytes, &err)) << err;
  WordList list = ParseWordList(bytes);
  EXPECT_EQ(list.skipped, 0u);
  EXPECT_EQ(list.recategorised, 0u);
  EXPECT_GE(list.words.size(), 2000u);
  EXPECT_GE(CountCategories(list).size(), 12u);
  // Every line but category lines and blank ones is a word of its own.
  std::size_t word_lines = 0;
  for (std::size_t at = 0; at < bytes.size(); at = bytes.find('\n', at) + 1) {
    word_lines += bytes[at] != '[' && bytes[at] != '\n';
  }
  EXPECT_EQ(list.words.size(), word_lines);
  for (std::string_view w : list.words) {
    EXPECT_TRUE(w.size() >= 3 && w.size() <= 12) << w;
    EXPECT_NE(CategoryOf(list, w), "") << w;
  }
  for (Difficulty level :
       {Difficulty::kEasy, Difficulty::kMedium, Difficulty::kHard}) {
    WordList some = list;
    EXPECT_GE(KeepDifficulty(&some, level) * 5, list.words.size());
  }
}

TEST(Categories, CountedInOrderOfTheirFirstWordAndListed) {
  WordList list = ParseWordList(
      "pebble\n[nature]\nfern\nmoss\n[food]\nfig\n[nature]\noak\n");
  list.words = WordsOfLength(list.words, 3);
  std::vector<CategoryCount> counts = CountCategories(list);
  ASSERT_EQ(counts.size(), 2u);
  EXPECT_EQ(counts[0].name, "food");
  EXPECT_EQ(counts[0].words, 1u);
  EXPECT_EQ(counts[1].name, "nature");
  EXPECT_EQ(counts[1].words, 1u);
  EXPECT_EQ(CategoryListing(ParseWordList("[a]\nox\nemu\n[bird]\nowl\n")),
            "a    2\nbird 1\n");
  EXPECT_EQ(CategoryListing(ParseWordList("ox\n")), "");
}

TEST(Categories, OneIsKeptByNameWithoutRegardToCase) {
  const WordList all =
      ParseWordList("[nature]\nfern\n[food]\nfig\n[nature]\noak\nelm\n");
  WordList list = all;
  std::string err;
  ASSERT_TRUE(KeepCategory(&list, " Nature ", &err)) << err;
  EXPECT_EQ(All(list.words), (Words{"fern", "oak", "elm"}));
  list = all;
  EXPECT_FALSE(KeepCategory(&list, "Sport", &err));
  EXPECT_EQ(err, "no category \"sport\"; the categories are nature, food");
  EXPECT_FALSE(KeepCategory(&list, "sp\033rt", &err));
  EXPECT_EQ(err.substr(0, 22), "no category \"sp\\x1brt\"");
  EXPECT_EQ(All(list.words), All(all.words));
  list = ParseWordList("fern\n");
  EXPECT_FALSE(KeepCategory(&list, "", &err));
  EXPECT_EQ(err, "the word list has no categories");
}

TEST(Difficulty, CommonLettersCountUpAndOthersDownEachOnce) {
  EXPECT_EQ(DifficultyOf("orange"), Difficulty::kEasy);    // 5 - 1
  EXPECT_EQ(DifficultyOf("kitten"), Difficulty::kMedium);  // 4 - 1
  EXPECT_EQ(DifficultyOf("fish"), Difficulty::kMedium);    // 3 - 1
  EXPECT_EQ(DifficultyOf("sun"), Difficulty::kMedium);     // 3 - 0
  EXPECT_EQ(DifficultyOf("cat"), Difficulty::kHard);       // 2 - 1
  EXPECT_EQ(DifficultyOf("banana"), Difficulty::kHard);    // 2 - 1
  EXPECT_EQ(DifficultyOf("jazz"), Difficulty::kHard);      // 1 - 2
  WordList list = ParseWordList("orange\ncat\nkitten\nbanana\nfish\n");
  EXPECT_EQ(KeepDifficulty(&list, Difficulty::kMedium), 2u);
  EXPECT_EQ(All(list.words), (Words{"kitten", "fish"}));
  Difficulty level = Difficulty::kEasy;
  std::string err;
  EXPECT_TRUE(ParseDifficulty(" HARD", &level, &err));
  EXPECT_EQ(level, Difficulty::kHard);
  EXPECT_TRUE(ParseDifficulty("medium", &level, &err));
  EXPECT_EQ(level, Difficulty::kMedium);
  EXPECT_TRUE(ParseDifficulty("easy", &level, &err));
  EXPECT_EQ(level, Difficulty::kEasy);
  EXPECT_FALSE(ParseDifficulty("brutal", &level, &err));
  EXPECT_EQ(err, "difficulty \"brutal\" is not easy, medium or hard");
  EXPECT_FALSE(ParseDifficulty("h\xc3\xa4rd", &level, &err));
  EXPECT_EQ(err, "difficulty \"h\\xc3\\xa4rd\" is not easy, medium or hard");
}

TEST(ShippedWordList, LiesInShareBesideBin) {
  EXPECT_EQ(ShippedWordList("/usr/local/bin/wordgame"),
            "/usr/local/share/wordgame/words");
  EXPECT_EQ(ShippedWordList("build/./bin/wordgame"),
            "build/share/wordgame/words");
  EXPECT_EQ(ShippedWordList("wordgame"), "../share/wordgame/words");
  std::string path = ExecutablePath("fallback");
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "wordgame_core_test");
}

}  // namespace
