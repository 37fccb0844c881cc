// The full-screen game's keys, over the real engine, without a terminal.

#include "screen_game.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "wordgame_testing.h"

namespace {

using namespace wordgame_testing;

class ScreenGameTest : public PrivateTmpdir {
 protected:
  void SetUp() override {
    PrivateTmpdir::SetUp();
    ASSERT_TRUE(folder_.emplace().Open(&err_)) << err_;
    game_.emplace(*folder_, deck_, "Words: test.");
    ASSERT_TRUE(game_->Begin(&err_)) << err_;
  }
  // The folder goes before TMPDIR is checked for leftovers.
  void TearDown() override {
    game_.reset();
    folder_.reset();
    PrivateTmpdir::TearDown();
  }
  void Keys(const std::string& keys) {
    for (char k : keys) Key(k);
  }
  void Key(int key) { ASSERT_TRUE(game_->Key(key, &err_)) << err_; }
  std::string Message() const { return game_->View().message.text; }

  std::string err_;
  std::optional<GameFolder> folder_;
  Deck deck_{{"cat"}, 1};
  std::optional<ScreenGame> game_;
};

TEST_F(ScreenGameTest, LetterKeysGuessAtOnceAndOtherKeysCostNothing) {
  EXPECT_EQ(Message(), "Words: test. A new word of 3 letters.");
  Keys("Cx");
  EXPECT_EQ(game_->View().shown, "c__");
  Keys("X");
  EXPECT_EQ(Message(), "You already tried \"x\".");
  for (int key : {int('5'), kKeyOther, kKeyBackspace, int(' ')}) {
    Key(key);
    EXPECT_EQ(Message(),
              "Type a letter, or Enter for the whole word (? for help).");
  }
  Key('Z');
  Board board = game_->View();
  EXPECT_EQ(board.misses, 2u);
  EXPECT_EQ(board.mode, KeyMode::kGuessing);
  Key('?');
  EXPECT_EQ(game_->View().mode, KeyMode::kHelp);
  Key('a');  // Leaves the help; guesses nothing.
  EXPECT_EQ(game_->View().shown, "c__");
  EXPECT_FALSE(game_->done());
}

TEST_F(ScreenGameTest, EnterTypesTheWordAndARoundEndsWithItsOwnKeys) {
  Key(kKeyEnter);
  Keys("dogX");
  Key(kKeyBackspace);
  EXPECT_EQ(game_->View().typed, "dog");
  Key(kEscape);  // Cancels the line; the game goes on.
  EXPECT_EQ(game_->View().mode, KeyMode::kGuessing);
  EXPECT_FALSE(game_->done());
  Key(kKeyEnter);
  Keys("ca");
  Key(kKeyEnter);  // Refused: the word stays on the line to be put right.
  EXPECT_EQ(game_->View().mode, KeyMode::kTypingWord);
  EXPECT_EQ(game_->View().misses, 0u);
  Keys("T");
  Key(kKeyEnter);
  Board won = game_->View();
  EXPECT_EQ(won.mode, KeyMode::kRoundOver);
  EXPECT_EQ(won.message.text, "You won! The word was \"cat\".");
  EXPECT_EQ(won.letters['t' - 'a'], LetterState::kFound);
  EXPECT_EQ(won.scores.at(0).score.won, 1);
  Key('z');  // Means nothing after a round.
  EXPECT_EQ(game_->View().mode, KeyMode::kRoundOver);
  Key('Y');
  EXPECT_EQ(game_->View().mode, KeyMode::kGuessing);
  Key('!');
  EXPECT_EQ(Message(), "You gave up. The word was \"cat\".");
  Key(kKeyEnter);
  Key(kEscape);
  EXPECT_TRUE(game_->done());
  EXPECT_EQ(game_->Farewell(),
            "Round left unfinished. The word was \"cat\".\n"
            "Final score: 1 won, 1 lost, winning streak 0.\n");
}

TEST_F(ScreenGameTest, CtrlDQuitsEvenOnTheWordLineAndNQuitsAfterARound) {
  Key(kKeyEnter);
  Key(kCtrlD);
  EXPECT_TRUE(game_->done());
  ScreenGame next(*folder_, deck_, "");
  ASSERT_TRUE(next.Begin(&err_));
  ASSERT_TRUE(next.Key('!', &err_));
  ASSERT_TRUE(next.Key('N', &err_));
  EXPECT_TRUE(next.done());
  EXPECT_EQ(next.Farewell(), "Final score: 0 won, 1 lost, winning streak 0.\n");
}

}  // namespace
