// What a match reports of its single-player rounds, and what it shows of the
// saved state that comes back.

#include "engine/match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/game_folder.h"
#include "wordgame_testing.h"

namespace {

using namespace wordgame_testing;
using MatchTest = PrivateTmpdir;

// Keeps the rounds reported and applies them; `kept`, when set, stands for
// the result another session recorded first for the same day and list.
class StandInRecorder : public RoundRecorder {
 public:
  void Record(const RoundResult& round, SavedState* state,
              std::string* note) override {
    rounds.push_back(round);
    if (kept.day != 0) ApplyDaily(kept, &state->daily);
    ApplyRound(round, state);
    *note = "noted";
  }
  std::vector<RoundResult> rounds;
  DailyResult kept;
};

TEST_F(MatchTest, ReportsEachRoundAsItEnded) {
  GameFolder folder;
  std::string err, note;
  ASSERT_TRUE(folder.Open(&err)) << err;
  Deck deck({"cat"}, 1);
  StandInRecorder recorder;
  Match match(deck);
  match.set_recorder(&recorder, SavedState(), 0xab, 5);
  Round round;
  ASSERT_TRUE(round.Start(folder, match.words(), &note, &err)) << err;
  round.Guess("x");
  round.Guess("cat");
  match.Finish(round, &note);
  EXPECT_EQ(note, "noted");
  // Left at no cost: only the word is remembered; with a miss, a loss.
  ASSERT_TRUE(round.Start(folder, match.words(), &note, &err)) << err;
  match.Leave(round, &note);
  ASSERT_TRUE(round.Start(folder, match.words(), &note, &err)) << err;
  round.Guess("z");
  match.Leave(round, &note);
  ASSERT_EQ(recorder.rounds.size(), 3u);
  const RoundResult& won = recorder.rounds[0];
  EXPECT_TRUE(won.won && won.counted && !won.daily);
  EXPECT_EQ(won.misses, 1u);
  EXPECT_EQ(won.word, "cat");
  EXPECT_EQ(won.list_id, 0xabu);
  EXPECT_EQ(won.list_size, 5u);
  EXPECT_FALSE(recorder.rounds[1].counted);
  EXPECT_TRUE(recorder.rounds[2].counted);
  EXPECT_FALSE(recorder.rounds[2].won);
  // What is shown is the state the recorder gave back.
  EXPECT_EQ(
      match.StatsText().rfind("Rounds played: 2, won 1 (50%), lost 1.\n", 0),
      0u);
}

TEST_F(MatchTest, ADailyRoundShowsTheResultTheRecorderKept) {
  GameFolder folder;
  std::string err, note;
  ASSERT_TRUE(folder.Open(&err)) << err;
  Deck deck({"cat"}, 1);
  StandInRecorder recorder;
  recorder.kept = DailyResult{20796, 0xab, true, 3};
  Match match(deck);
  match.set_recorder(&recorder, SavedState(), 0xab, 1);
  match.set_daily(20796, 20796, 0xab);
  Round round;
  ASSERT_TRUE(round.Start(folder, match.words(), &note, &err)) << err;
  round.Guess("cat");
  match.Finish(round, &note);
  ASSERT_EQ(recorder.rounds.size(), 1u);
  EXPECT_TRUE(recorder.rounds[0].daily);
  EXPECT_EQ(recorder.rounds[0].day, 20796);
  EXPECT_EQ(match.StatsText(),
            "Daily words: 1 played, 1 solved; daily streak 1, best 1.\n"
            "The result of 2026-12-09 was recorded first by another "
            "session:\n"
            "wordgame daily 2026-12-09 (list 00000000): solved with 3 "
            "misses\n");
}

}  // namespace
