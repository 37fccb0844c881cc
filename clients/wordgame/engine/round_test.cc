// A round's judgement and the letters it shows, as both front ends use them.

#include "engine/round.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/game_folder.h"
#include "wordgame_testing.h"

namespace {

using namespace wordgame_testing;
using RoundTest = PrivateTmpdir;

TEST_F(RoundTest, MissesAreListedApartAndTheSeventhLoses) {
  GameFolder folder;
  std::string err, note;
  ASSERT_TRUE(folder.Open(&err)) << err;
  Deck deck({"cat"}, 1);
  Round round;
  ASSERT_TRUE(round.Start(folder, deck, &note, &err)) << err;
  EXPECT_EQ(round.Guess("dog").text, "No, the word is not \"dog\".");
  EXPECT_EQ(round.Guess("a").text, "Yes, \"a\" is in the word once.");
  for (const char* miss : {"b", "d", "e", "f", "g"}) round.Guess(miss);
  EXPECT_EQ(round.MissedLetters(), (Words{"b", "d", "e", "f", "g"}));
  EXPECT_EQ(round.MissedWords(), Words{"dog"});
  EXPECT_EQ(round.Letter('a'), LetterState::kFound);
  EXPECT_EQ(round.Letter('b'), LetterState::kMissed);
  EXPECT_EQ(round.Letter('c'), LetterState::kUntried);
  EXPECT_TRUE(round.playing());
  EXPECT_EQ(round.EndLine().text,
            "Round left unfinished. The word was \"cat\".");
  round.Guess("h");
  EXPECT_EQ(round.state(), Round::State::kLost);
  EXPECT_EQ(round.misses(), kMisses);
  EXPECT_EQ(round.EndLine().text, "You lost. The word was \"cat\".");
  EXPECT_EQ(round.Shown(), "_a_");
  // A start that fails leaves no round, not the last one's result.
  struct NoRoom : GameStarter {
    bool NewGame(const std::vector<std::string>&, std::unique_ptr<Game>*,
                 std::string*, std::string* why) override {
      *why = "cannot start a game: no room";
      return false;
    }
  } no_room;
  EXPECT_FALSE(round.Start(no_room, deck, &note, &err));
  EXPECT_EQ(round.state(), Round::State::kNone);
}

// A hint shows the first letter not found for a miss and never decides the
// round: none for the last letter, none where its miss would lose; with it,
// seven misses in all lose. The word line takes the whole word only.
TEST_F(RoundTest, AHintCostsAMissAndNeverDecidesTheRound) {
  GameFolder folder;
  std::string err, note;
  ASSERT_TRUE(folder.Open(&err)) << err;
  Deck deck({"banana"}, 1);
  Round round;
  ASSERT_TRUE(round.Start(folder, deck, &note, &err)) << err;
  EXPECT_EQ(round.Guess("b", Entry::kWholeWord).tone, Tone::kPlain);
  EXPECT_EQ(round.Hint().text,
            "A hint: \"b\" is in the word once, for one miss.");
  round.Guess("a");
  EXPECT_EQ(round.NoHint().text,
            "No hint for the last letter: that one is yours.");
  for (const char* miss : {"c", "d", "e", "f", "g"}) round.Guess(miss);
  EXPECT_EQ(round.NoHint().text, "No hint: its miss would lose the round.");
  round.Guess("h");
  EXPECT_EQ(round.state(), Round::State::kLost);
}

}  // namespace
