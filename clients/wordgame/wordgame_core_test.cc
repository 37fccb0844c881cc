// The word-list rules and the gallows drawing of wordgame.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "play.h"
#include "word_list.h"

namespace {

using Words = std::vector<std::string>;

TEST(PlayableWords, TidiesLinesAndKeepsOnlyLetterWords) {
  EXPECT_EQ(PlayableWords("cat\ndog"), (Words{"cat", "dog"}));
  EXPECT_EQ(PlayableWords("cat\r\ndog\r\n"), (Words{"cat", "dog"}));
  EXPECT_EQ(PlayableWords("  Cat\t\n\n \r\nDOG \n"), (Words{"cat", "dog"}));
  EXPECT_EQ(PlayableWords("ice cream\ndon't\nx-ray\ncaf\xc3\xa9\n42\nok\n"),
            Words{"ok"});
  EXPECT_EQ(PlayableWords(std::string("a\0b\nz", 5)), Words{"z"});
  EXPECT_TRUE(PlayableWords("").empty());
  EXPECT_TRUE(PlayableWords("\n\n  \n").empty());
}

TEST(PlayableWords, KeepsOrderAndRepeats) {
  EXPECT_EQ(PlayableWords("b\na\nb\n"), (Words{"b", "a", "b"}));
}

TEST(ShippedWordList, LiesInShareBesideBin) {
  EXPECT_EQ(ShippedWordList("/usr/local/bin/wordgame"),
            "/usr/local/bin/../share/wordgame/words.txt");
  EXPECT_EQ(ShippedWordList("wordgame"), "./../share/wordgame/words.txt");
  EXPECT_EQ(ShippedWordList("/wordgame"), "/../share/wordgame/words.txt");
}

TEST(ExecutablePath, IsThisTestBinary) {
  std::string path = ExecutablePath("fallback");
  ASSERT_NE(path, "fallback");
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "wordgame_core_test");
}

int Marks(const std::string& drawing) {
  return static_cast<int>(
      std::count_if(drawing.begin(), drawing.end(),
                    [](char c) { return c != ' ' && c != '\n'; }));
}

TEST(Gallows, GrowsOneMarkPerMissUpToTheWholeFigure) {
  const std::string whole =
      "  +---+\n"
      "  |   |\n"
      "  O   |\n"
      " /|\\  |\n"
      " / \\  |\n"
      "      |\n"
      "=========";
  EXPECT_EQ(Gallows(7), whole);
  EXPECT_EQ(Gallows(8), whole);
  EXPECT_EQ(Gallows(0).find_first_of("O/\\"), std::string::npos);
  for (std::size_t misses = 1; misses <= 7; ++misses) {
    EXPECT_EQ(Marks(Gallows(misses)), Marks(Gallows(misses - 1)) + 1) << misses;
    EXPECT_EQ(Gallows(misses).size(), whole.size()) << misses;
  }
}

}  // namespace
