// The order in which a deck hands out its words.

#include "words/deck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

// The engine picks any word of a round's list; this takes the first.
std::string PlayOne(Deck& deck, std::string* note) {
  std::string secret = deck.NextRound(note).front();
  deck.Played(secret);
  return secret;
}

TEST(Deck, EveryWordOnceThenAllButTheLastComeRoundAgain) {
  const Words words = {"ant", "bee", "cat", "dog"};
  Deck deck(WordViews(words), 1);
  std::string note, last;
  std::set<std::string> first;
  for (int i = 0; i < 4; ++i) {
    first.insert(last = PlayOne(deck, &note));
    EXPECT_EQ(note, "");
  }
  EXPECT_EQ(first, std::set<std::string>(words.begin(), words.end()));
  Words round = deck.NextRound(&note);
  EXPECT_EQ(note, "Every word has been played; the 4 words come round again.");
  EXPECT_EQ(round.size(), 3u);
  EXPECT_EQ(std::count(round.begin(), round.end(), last), 0);
  deck.Played(round.front());
  deck.NextRound(&note);
  EXPECT_EQ(note, "") << "the note is for the round that comes round only";
}

TEST(Deck, TwoWordsAlternateAndOneWordComesBack) {
  Deck two({"ant", "bee"}, 7);
  std::string note;
  std::string previous = PlayOne(two, &note);
  for (int i = 0; i < 5; ++i) {
    Words round = two.NextRound(&note);
    ASSERT_EQ(round.size(), 1u) << i;
    EXPECT_NE(round[0], previous) << i;
    two.Played(round[0]);
    previous = round[0];
  }
  Deck one({"cat"}, 7);
  PlayOne(one, &note);
  EXPECT_EQ(one.NextRound(&note), Words{"cat"});
  EXPECT_EQ(note, "The list has one word; it comes round again.");
}

TEST(Deck, LongListOffersAFewUnplayedWordsARound) {
  Words words;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'h'; ++b) words.push_back({a, b});
  }
  Deck deck(WordViews(words), 3);
  std::string note;
  std::set<std::string> played;
  while (played.size() < words.size()) {
    Words round = deck.NextRound(&note);
    ASSERT_EQ(note, "") << played.size();
    ASSERT_EQ(round.size(),
              std::min(kRoundWords, words.size() - played.size()));
    ASSERT_EQ(std::set<std::string>(round.begin(), round.end()).size(),
              round.size());
    for (const std::string& w : round) ASSERT_EQ(played.count(w), 0u) << w;
    deck.Played(round.back());
    played.insert(round.back());
  }
  deck.NextRound(&note);
  EXPECT_NE(note, "") << "every word was played once";
}

}  // namespace
