// The order in which a deck hands out its words, and the daily word.

#include "words/deck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "words/daily_word.h"

namespace {

using Words = std::vector<std::string>;

// The engine picks any word of a round's list; this takes the first.
std::string PlayOne(Deck& deck, std::string* note) {
  std::string secret = deck.NextRound(note).front();
  deck.Played(secret);
  return secret;
}

TEST(Deck, EveryWordOnceThenTheLastHalfIsHeldBack) {
  const Words words = {"ant", "bee", "cat", "dog"};
  Deck deck(WordViews(words), 1);
  std::string note;
  Words first;
  for (int i = 0; i < 4; ++i) {
    first.push_back(PlayOne(deck, &note));
    EXPECT_EQ(note, "");
  }
  EXPECT_EQ(std::set<std::string>(first.begin(), first.end()),
            std::set<std::string>(words.begin(), words.end()));
  Words round = deck.NextRound(&note);
  EXPECT_EQ(note, "Every word has been played; the 4 words come round again.");
  std::sort(round.begin(), round.end());
  Words early = {first[0], first[1]};
  std::sort(early.begin(), early.end());
  EXPECT_EQ(round, early);
  deck.Played(round.front());
  deck.NextRound(&note);
  EXPECT_EQ(note, "") << "the note is for the round that comes round only";
}

// Over many passes, whichever offered word the engine takes: each pass plays
// every word once, and no word comes back within HeldBack rounds.
TEST(Deck, NoWordComesBackWithinHalfTheListAndAllComeEquallyOften) {
  for (std::size_t n : {2, 3, 5, 23, 100}) {
    Words words;
    for (std::size_t i = 0; i < n; ++i)
      words.push_back("w" + std::to_string(i));
    Deck deck(WordViews(words), static_cast<std::uint32_t>(n));
    std::vector<std::size_t> last(n, SIZE_MAX), count(n);
    std::string note;
    for (std::size_t r = 0; r < 20 * n; ++r) {
      const Words offered = deck.NextRound(&note);
      const std::string& secret = offered[r * 7 % offered.size()];
      deck.Played(secret);
      const std::size_t w = std::stoul(secret.substr(1));
      ASSERT_TRUE(last[w] == SIZE_MAX || r - last[w] > HeldBack(n))
          << n << " words: " << secret << " in rounds " << last[w] << ", " << r;
      last[w] = r;
      ASSERT_EQ(++count[w], r / n + 1) << n << " words: " << secret;
    }
  }
}

// A start from earlier sessions: the words played are not offered until the
// pass is over; those held back come back one a round, in order.
TEST(Deck, TakesUpThePassOfEarlierSessions) {
  Deck deck({"ant", "bee", "cat", "dog", "eel", "fox"}, 5, {{0, 1}, {4, 5}});
  std::string note;
  Words round = deck.NextRound(&note);
  std::sort(round.begin(), round.end());
  EXPECT_EQ(round, (Words{"cat", "dog"}));
  deck.Played("cat");
  round = deck.NextRound(&note);
  std::sort(round.begin(), round.end());
  EXPECT_EQ(round, (Words{"dog", "eel"}));
  Deck held({"ant", "bee"}, 5, {{}, {1, 0}});  // none free: the first held
  EXPECT_EQ(held.NextRound(&note), Words{"bee"});
}

TEST(Deck, OneWordComesBackEachRound) {
  Deck one({"cat"}, 7);
  std::string note;
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

// Any run of as many days as the list has words draws each rank once, over
// the epoch's turn too; another list's identity gives another order, and
// neither follows the days.
TEST(DailyWord, ConsecutiveDaysDrawEachRankOnce) {
  constexpr std::uint64_t kKey = 0x5be2b8c1a0d94e17;
  for (std::size_t n : {1, 2, 3, 5, 17, 64, 366, 1000}) {
    std::set<std::size_t> ranks;
    for (std::int64_t day = -7; day < static_cast<std::int64_t>(n) - 7; ++day) {
      const std::size_t rank = DailyRank(day, n, kKey);
      ASSERT_LT(rank, n);
      ranks.insert(rank);
    }
    EXPECT_EQ(ranks.size(), n) << n;
  }
  std::set<std::size_t> year;  // 366 days from 2026-12-09 (day 20796)
  for (std::int64_t day = 20796; day < 20796 + 366; ++day) {
    year.insert(DailyRank(day, 366, kKey));
  }
  EXPECT_EQ(year.size(), 366u);
  Words in_order, other_key;
  for (std::int64_t day = 0; day < 10; ++day) {
    in_order.push_back(std::to_string(DailyRank(day, 1000, kKey)));
    other_key.push_back(std::to_string(DailyRank(day, 1000, kKey + 1)));
  }
  EXPECT_NE(in_order, other_key);
  EXPECT_NE(in_order,
            (Words{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(DailyRank(20796, 1000, kKey), DailyRank(21796, 1000, kKey));
}

// A rank names a word by byte order, whatever the order of the list.
TEST(DailyWord, RankNamesTheSameWordInAnyOrder) {
  Words words = {"apple", "date", "fig", "kiwi", "pear"};
  const Words sorted = words;
  do {
    for (std::size_t rank = 0; rank < words.size(); ++rank) {
      ASSERT_EQ(words[IndexOfRank(words, rank)], sorted[rank]) << rank;
    }
  } while (std::next_permutation(words.begin(), words.end()));
}

}  // namespace
