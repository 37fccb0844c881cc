// The full-screen game's keys, over the real engine, without a terminal.

#include "screen/screen_game.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "app/store_recorder.h"
#include "engine/game_folder.h"
#include "screen/screen_help.h"
#include "screen/screen_size.h"
#include "state/state_store.h"
#include "text/text.h"
#include "wordgame_testing.h"
#include "words/list_id.h"
#include "words/word_list.h"

namespace {

using namespace wordgame_testing;

class ScreenGameTest : public PrivateTmpdir {
 protected:
  void SetUp() override {
    PrivateTmpdir::SetUp();
    ASSERT_TRUE(folder_.emplace().Open(&err_)) << err_;
    game_.emplace(*folder_, match_, "Words: test.");
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
  Match match_{deck_};
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
  // The help's pages turn within their bounds; Space on the last one, or
  // any other key, goes back to the board.
  game_->Resize(12, 40);
  const int last = HelpPages(12, 40) - 1;
  ASSERT_GE(last, 2);
  Key('?');
  Key(kKeyPageUp);
  EXPECT_EQ(game_->View().help_page, 0);
  Key(kKeyDown);
  Key(' ');
  EXPECT_EQ(game_->View().help_page, 2);
  Key(kKeyUp);
  EXPECT_EQ(game_->View().help_page, 1);
  for (int i = 0; i <= last; ++i) Key(kKeyPageDown);
  EXPECT_EQ(game_->View().help_page, last);
  game_->Resize(24, 80);  // One page now.
  EXPECT_EQ(game_->View().help_page, 0);
  EXPECT_EQ(game_->View().mode, KeyMode::kHelp);
  Key(' ');
  EXPECT_EQ(game_->View().mode, KeyMode::kGuessing);
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
  // A character but a-z is taken, with a hint at once, and shows as one
  // "?"; Enter refuses the word as typed, at no cost.
  Key(kKeyEnter);
  for (int key : {int('c'), int('a'), int('f'), 0xE9}) Key(key);
  EXPECT_EQ(Message(), "Letters a to z only; Backspace erases.");
  EXPECT_EQ(game_->View().typed, "caf?");
  Key(kKeyEnter);  // "?" here is on the line: the answer names no help.
  EXPECT_EQ(Message(), "Letters a to z only, please; Backspace erases.");
  EXPECT_EQ(game_->View().misses, 0u);
  Key(kKeyBackspace);
  EXPECT_EQ(game_->View().typed, "caf");
  Key(kEscape);
  // Enter on the empty line keeps it open, as the screen says: the next key
  // is typed there, not guessed.
  Key(kKeyEnter);
  Key(kKeyEnter);
  EXPECT_EQ(Message(), "Type the whole word first; Esc goes back to letters.");
  Keys("ca");
  EXPECT_EQ(game_->View().typed, "ca");
  Key(kKeyEnter);  // Refused: the word stays on the line to be put right.
  EXPECT_EQ(Message(),
            "That is 2 letters; the word has 3. Type the whole word, or Esc "
            "for letters.");
  EXPECT_EQ(game_->View().mode, KeyMode::kTypingWord);
  EXPECT_EQ(game_->View().misses, 0u);
  Keys("T");
  Key(kKeyEnter);
  Board won = game_->View();
  EXPECT_EQ(won.mode, KeyMode::kRoundOver);
  EXPECT_EQ(won.message.text, "You won! The word was \"cat\".");
  EXPECT_EQ(won.letters['t' - 'a'].state, LetterState::kFound);
  EXPECT_EQ(won.word, "");  // Only a lost round spells the word out.
  EXPECT_EQ(won.scores.at(0).score.won, 1);
  Key('z');  // Means nothing after a round: a hint beside the result.
  Board stray = game_->View();
  EXPECT_EQ(stray.mode, KeyMode::kRoundOver);
  EXPECT_EQ(stray.message.text, "You won! The word was \"cat\".");
  EXPECT_EQ(stray.hint, "Enter or y plays the next round; n or q quits.");
  EXPECT_FALSE(game_->done());
  Key('Y');
  EXPECT_EQ(game_->View().mode, KeyMode::kGuessing);
  EXPECT_EQ(game_->View().hint, "");
  // ! asks first; any key but y plays on, at no cost.
  for (int no : {int('n'), kKeyEnter, kEscape, int('!')}) {
    Key('!');
    EXPECT_EQ(game_->View().mode, KeyMode::kConfirmingGiveUp);
    EXPECT_EQ(Message(), "Give up this round? [y/N]");
    Key(no);
    EXPECT_EQ(game_->View().mode, KeyMode::kGuessing);
    EXPECT_EQ(game_->View().misses, 0u);
  }
  EXPECT_FALSE(game_->done());
  EXPECT_EQ(game_->View().word, "");
  Keys("!y");
  EXPECT_EQ(Message(), "You gave up. The word was \"cat\".");
  EXPECT_EQ(game_->View().word, "cat");
  Key(kKeyEnter);
  Key(kEscape);
  EXPECT_TRUE(game_->done());
  EXPECT_EQ(game_->Farewell(),
            "Round left unfinished. The word was \"cat\".\n"
            "Final score: 1 won, 1 lost, winning streak 0.\n");
}

// + asks first, as ! does; a hint costs a miss, and where none can be had
// the answer says so at once.
TEST_F(ScreenGameTest, PlusAsksForAHintAndOnlyYTakesIt) {
  Keys("+n");
  EXPECT_EQ(game_->View().misses, 0u);
  Keys("+Y");
  const Board hinted = game_->View();
  EXPECT_TRUE(hinted.shown == "c__" && hinted.misses == 1 && hinted.hints == 1);
  Keys("+y+");  // "t" is left: no hint for it, and no question.
  EXPECT_EQ(Message(), "No hint for the last letter: that one is yours.");
  EXPECT_EQ(game_->View().mode, KeyMode::kGuessing);
}

// Every answer to a key in play has a form that fits a line of the
// narrowest screen, so that none is cut there.
TEST_F(ScreenGameTest, AnswersToKeysFitTheNarrowestScreen) {
  for (const std::string keys : {"\n", "\n\n", "\n?", "\nc\n", "!", "!n", "+",
                                 "+n", "+y+y+", "5", "a", "xx", "x+y"}) {
    ScreenGame game(*folder_, match_, "Words: a list with a long name.");
    ASSERT_TRUE(game.Begin(&err_));
    EXPECT_LE(game.View().message.brief.size(), std::size_t{kMinCols});
    for (char k : keys) ASSERT_TRUE(game.Key(k == '\n' ? kKeyEnter : k, &err_));
    const Answer answer = game.View().message;
    EXPECT_LE((answer.brief.empty() ? answer.text : answer.brief).size(),
              std::size_t{kMinCols})
        << answer.text;
  }
}

TEST_F(ScreenGameTest, CtrlDQuitsEvenOnTheWordLineAndNQuitsAfterARound) {
  Key(kKeyEnter);
  Key(kCtrlD);
  EXPECT_TRUE(game_->done());
  ScreenGame next(*folder_, match_, "");
  ASSERT_TRUE(next.Begin(&err_));
  ASSERT_TRUE(next.Key('!', &err_));
  ASSERT_TRUE(next.Key('Y', &err_));
  ASSERT_TRUE(next.Key('N', &err_));
  EXPECT_TRUE(next.done());
  EXPECT_EQ(next.Farewell(), "Final score: 0 won, 1 lost, winning streak 0.\n");
}

// The daily word: after its one round Enter quits, and what stays is the
// result and the line to pass on.
TEST_F(ScreenGameTest, DailyWordEndsAfterOneRound) {
  Deck deck({"cat"}, 1);
  Match daily(deck);
  daily.set_daily(20796, 20796, 0xab);
  ScreenGame game(*folder_, daily, "");
  ASSERT_TRUE(game.Begin(&err_));
  EXPECT_EQ(game.View().message.text,
            "The daily word of 2026-12-09: 3 letters.");
  EXPECT_EQ(game.View().daily_date, "2026-12-09");
  EXPECT_EQ(game_->View().daily_date, "");
  for (char k : std::string("cxat")) ASSERT_TRUE(game.Key(k, &err_));
  EXPECT_EQ(game.View().mode, KeyMode::kDailyOver);
  const std::string share =
      "wordgame daily 2026-12-09 (list 00000000): solved with 1 miss";
  EXPECT_EQ(game.View().stats, Words{share});
  ASSERT_TRUE(game.Key('z', &err_));
  EXPECT_FALSE(game.done());
  EXPECT_EQ(game.View().hint,
            "Enter or q quits; the result stays on the screen.");
  ASSERT_TRUE(game.Key(kKeyEnter, &err_));
  EXPECT_TRUE(game.done());
  EXPECT_EQ(game.Farewell(), "You won! The word was \"cat\".\n" + share + "\n");
}

// Two players: the setter's line shows only stars, a character of two
// bytes in UTF-8 one; a word as typed with a character but a-z is refused
// whole; the round the word opens is scored for the guesser when found.
TEST_F(ScreenGameTest, TwoPlayersSetUnseenAndTakeTurns) {
  Match two("Ann", "Bob");
  ScreenGame game(*folder_, two, "");
  ASSERT_TRUE(game.Begin(&err_));
  EXPECT_EQ(game.View().message.text,
            "Ann, type a word for Bob to guess; Bob, look away.");
  for (int key : {int('c'), int('a'), int('f'), 0xE9}) {
    ASSERT_TRUE(game.Key(key, &err_));
  }
  EXPECT_EQ(game.View().typed, "****");
  ASSERT_TRUE(game.Key(kKeyEnter, &err_));
  EXPECT_EQ(game.View().message.text,
            "Letters a to z only, please; type the word again.");
  EXPECT_EQ(game.View().typed, "");
  for (int key : {int('c'), int('4'), kKeyBackspace, int('A'), 0xE9,
                  kKeyBackspace, int('t')}) {
    ASSERT_TRUE(game.Key(key, &err_));
  }
  Board setting = game.View();
  EXPECT_EQ(setting.mode, KeyMode::kSettingWord);
  EXPECT_EQ(setting.typed, "***");
  Screen screen(24, 80);
  Draw(setting, &screen);
  EXPECT_EQ(screen.Text().find("cat"), std::string::npos) << screen.Text();
  ASSERT_TRUE(game.Key(kKeyEnter, &err_));
  EXPECT_EQ(game.View().message.text, "Bob, guess Ann's word of 3 letters.");
  for (char key : std::string("cat")) ASSERT_TRUE(game.Key(key, &err_));
  Board over = game.View();
  EXPECT_EQ(over.message.text,
            "Bob found it. The word was \"cat\". A win for Bob.");
  EXPECT_EQ(over.message.brief, "Found: \"cat\".");
  ASSERT_EQ(over.scores.size(), 2u);
  EXPECT_EQ(over.scores[0].score.lost, 1);
  EXPECT_EQ(over.scores[1].score.won, 1);
  ASSERT_TRUE(game.Key('y', &err_));
  ASSERT_TRUE(game.Key(kKeyEnter, &err_));  // Nothing typed yet.
  EXPECT_EQ(game.View().message.text,
            "Type a word of letters a to z, then Enter.");
  EXPECT_EQ(game.View().mode, KeyMode::kSettingWord);
  for (std::size_t i = 0; i <= kMaxWordLetters; ++i) game.Key('a', &err_);
  EXPECT_EQ(game.View().typed, std::string(kMaxWordLetters, '*'));
  EXPECT_EQ(game.View().message.text,
            "That is the most there may be; Enter sets the word.");
}

// One player: the word's category is its clue; after a round the
// statistics show, and a store that cannot save gives one note, shown at
// once and kept for when the screen is given back.
TEST_F(ScreenGameTest, ClueStatisticsAndNotes) {
  const WordList list = ParseWordList("[animals]\ncat\n");
  StateStore store("/dev/null/wordgame");
  StoreRecorder recorder(store);
  Match match(deck_);
  match.set_clues(&list);
  match.set_recorder(&recorder, SavedState(), ListId(list.words), 1);
  ScreenGame game(*folder_, match, "");
  ASSERT_TRUE(game.Begin(&err_));
  EXPECT_EQ(game.View().clue, "animals");
  for (char key : std::string("cat")) ASSERT_TRUE(game.Key(key, &err_));
  EXPECT_EQ(game.View().note.rfind("Note: statistics not saved: ", 0), 0u);
  for (char key : std::string("y!y")) ASSERT_TRUE(game.Key(key, &err_));
  Board over = game.View();
  ASSERT_FALSE(over.stats.empty());
  EXPECT_EQ(over.stats[0], "Rounds played: 2, won 1 (50%), lost 1.");
  EXPECT_EQ(over.note, "");  // Said once.
  EXPECT_EQ(game.notes().size(), 1u);
  ASSERT_TRUE(game.Key('y', &err_));
  EXPECT_TRUE(game.View().stats.empty());
  const std::string farewell = game.Farewell();
  EXPECT_NE(farewell.find("Final score: 1 won, 1 lost, winning streak 0.\n"
                          "Rounds played: 2,"),
            std::string::npos)
      << farewell;
}

// A stand-in for the engine that cannot start a round, or only the first
// through `once`: the game says why, and has nothing to say on the way out
// unless a round was played.
class NoRoomStarter : public GameStarter {
 public:
  bool NewGame(const std::vector<std::string>& words,
               std::unique_ptr<Game>* game, std::string* secret,
               std::string* err) override {
    if (once != nullptr) {
      return std::exchange(once, nullptr)->NewGame(words, game, secret, err);
    }
    *err = "cannot start a game: no room";
    return false;
  }
  GameStarter* once = nullptr;
};

TEST_F(ScreenGameTest, ARoundLostThenNoneCanStartStillTellsTheScore) {
  NoRoomStarter starter;
  starter.once = &*folder_;
  ScreenGame game(starter, match_, "");
  ASSERT_TRUE(game.Begin(&err_));
  for (char key : std::string("!y")) ASSERT_TRUE(game.Key(key, &err_));
  EXPECT_FALSE(game.Key('y', &err_));
  EXPECT_EQ(game.Farewell(), "Final score: 0 won, 1 lost, winning streak 0.\n");
}

TEST(ScreenGameWithAStandIn, ARoundThatCannotStartEndsTheGameQuietly) {
  NoRoomStarter starter;
  Deck deck{{"cat"}, 1};
  Match match{deck};
  ScreenGame game(starter, match, "");
  std::string err;
  EXPECT_FALSE(game.Begin(&err));
  EXPECT_EQ(err, "cannot start a game: no room");
  EXPECT_EQ(game.Farewell(), "");
}

}  // namespace
