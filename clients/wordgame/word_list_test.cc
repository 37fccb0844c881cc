// The word-list rules and where the shipped list is found.

#include "word_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

TEST(ParseWordList, TidiesDropsTheMarkCountsSkippedAndRepeatsOnce) {
  WordList list = ParseWordList(
      "\xEF\xBB\xBF  Cat\r\n\r\nice cream\ndog\n42\ncaf\xc3\xa9\n\nCAT\n" +
      std::string(kMaxWordLetters, 'x') + "\n" +
      std::string(kMaxWordLetters + 1, 'y') + "\nx-ray\nok\ndon't\n");
  EXPECT_EQ(list.words,
            (Words{"cat", "dog", std::string(kMaxWordLetters, 'x'), "ok"}));
  EXPECT_EQ(list.skipped, 6u);
  EXPECT_EQ(SkippedNote(list),
            "6 lines skipped (not one word of up to 64 letters a-z): lines 3, "
            "5, 6, 10, 11, ...");
  EXPECT_EQ(SkippedNote(ParseWordList("a b\nok")),
            "1 line skipped (not one word of up to 64 letters a-z): line 1.");
  EXPECT_EQ(SkippedNote(ParseWordList("ok\n\n")), "");
  EXPECT_EQ(ParseWordList(std::string("a\0b\nz", 5)).words, Words{"z"});
  EXPECT_TRUE(ParseWordList("\xEF\xBB\xBF\n  \n").words.empty());
  EXPECT_EQ(WordsOfLength({"cat", "horse", "dog"}, 3), (Words{"cat", "dog"}));
}

TEST(ShippedWordList, LiesInShareBesideBin) {
  EXPECT_EQ(ShippedWordList("/usr/local/bin/wordgame"),
            "/usr/local/bin/../share/wordgame/words.txt");
  EXPECT_EQ(ShippedWordList("wordgame"), "./../share/wordgame/words.txt");
  std::string path = ExecutablePath("fallback");
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "wordgame_core_test");
}

}  // namespace
