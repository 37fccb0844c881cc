// wordgame's state file: the format and its damage, the update of a round,
// and the store under concurrent sessions, kills, damage and a folder that
// cannot be made.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "run_program.h"
#include "state/state_format.h"
#include "state/state_store.h"
#include "words/list_id.h"

namespace {

using testutil::ReadFile;
using testutil::TempDir;

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

// A distinct word of letters for each n.
std::string Word(std::size_t n) {
  std::string word;
  do {
    word += static_cast<char>('a' + n % 26);
    n /= 26;
  } while (n > 0);
  return word;
}

// Two hex digits.
std::string Hex2(std::size_t n) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02zx", n);
  return digits;
}

RoundResult Won(std::size_t misses, const std::string& word = "",
                std::size_t list_size = 0, std::uint64_t list_id = 7) {
  return RoundResult{true, misses, word, list_id, list_size};
}

RoundResult Lost(const std::string& word = "", std::size_t list_size = 0,
                 std::uint64_t list_id = 7) {
  return RoundResult{false, 0, word, list_id, list_size};
}

TEST(StateFileFormat, WritesReadsBackAndRefusesDamage) {
  SavedState state;
  for (const RoundResult& r :
       {Won(2, "cat", 3, 0xab), Lost("dog", 3, 0xab), Won(0),
        Won(2, "ox", 5, 1), Won(1, "ab", 2, 0xab)}) {
    ApplyRound(r, &state);
  }
  const std::string text =
      "wordgame-state 1\n"
      "# wordgame's statistics and recently played words; see wordgame(1).\n"
      "played 5\nwon 4\nlost 1\nstreak 3\nbest-streak 3\n"
      "wins-by-misses 0:1 1:1 2:2\n"
      "recent 00000000000000ab 2 / ab\n"
      "recent 0000000000000001 5 ox\n"
      "end\n";
  EXPECT_EQ(FormatStateFile(state), text);
  SavedState back;
  std::string why;
  ASSERT_TRUE(ParseStateFile(text, &back, &why)) << why;
  EXPECT_EQ(FormatStateFile(back), text);
  // People may edit it: blank lines, comments, any order, more spaces.
  ASSERT_TRUE(ParseStateFile(
      "wordgame-state 1\n\nwon  1\n# x\nbest-streak 1\nlost 0\nstreak 1\n"
      "recent 00000000000000AB 5 b a / c \xC3\xA9t\xC3\xA9\n"
      "wins-by-misses 6:1\nplayed 1\nend",
      &back, &why))
      << why;
  EXPECT_EQ(back.Recent(0xab).words, (Words{"b", "a"}));
  EXPECT_EQ(back.Recent(0xab).held, (Words{"c", "\xC3\xA9t\xC3\xA9"}));

  const std::string counts =
      "played 3\nwon 2\nlost 1\nstreak 1\nbest-streak 2\n"
      "wins-by-misses 0:1 5:1\n";
  const std::string head = "wordgame-state 1\n";
  std::string full_lists;  // as many lists as are kept
  for (std::size_t i = 0; i < kMaxRecentLists; ++i) {
    full_lists += "recent 00000000000000" + Hex2(i) + " 3 a\n";
  }
  const std::string too_many =
      head + counts + full_lists + "recent 00000000000000ff 3 a\nend\n";
  for (const std::string& bad : {
           std::string(""),
           "wordgame-state 2\n" + counts + "end\n",
           head + counts,                                      // cut short
           head + counts + "end\nwon 2\n",                     // after the end
           head + counts + "won 2\nend\n",                     // twice
           head + counts + "colour 1\nend\n",                  // unknown
           head + "played 3\nwon 2\nlost 1\nstreak 1\nend\n",  // missing
           head + "played 1000000000000001\nwon 1000000000000000\nlost 1\n"
                  "streak 0\nbest-streak 0\nwins-by-misses\nend\n",
           head + "played 3\nwon 2\nlost 0\nstreak 1\nbest-streak 2\n"
                  "wins-by-misses 0:1 5:1\nend\n",  // played != won + lost
           head + "played 3\nwon 2\nlost 1\nstreak 2\nbest-streak 1\n"
                  "wins-by-misses 0:1 5:1\nend\n",  // streak > best
           head + "played 3\nwon 2\nlost 1\nstreak 1\nbest-streak 3\n"
                  "wins-by-misses 0:1 5:1\nend\n",  // best > won
           head + "played 3\nwon 2\nlost 1\nstreak 1\nbest-streak 2\n"
                  "wins-by-misses 0:1 5:2\nend\n",  // wins do not add up
           head + "played 3\nwon 2\nlost 1\nstreak 1\nbest-streak 2\n"
                  "wins-by-misses 0:1 5:0 6:1\nend\n",
           head + "played 3\nwon 2\nlost 1\nstreak 1\nbest-streak 2\n"
                  "wins-by-misses 0:1 0:1\nend\n",
           head + "played 3\nwon 2\nlost 1\nstreak 1\nbest-streak 2\n"
                  "wins-by-misses 0:1 7:1\nend\n",  // more than a win takes
           head + "played 3\nwon -2\nlost 1\nstreak 1\nbest-streak 2\n"
                  "wins-by-misses 0:1 5:1\nend\n",
           head + counts + "recent 00000000000000ab\nend\n",
           head + counts + "recent 0000000000000ab 3 a\nend\n",
           head + counts + "recent 00000000000000ab 0\nend\n",
           head + counts + "recent 00000000000000ab 3 a b a\nend\n",
           head + counts + "recent 00000000000000ab 3 a B\nend\n",
           head + counts + "recent 00000000000000ab 3 \xC3\x89t\nend\n",
           head + counts + "recent 00000000000000ab 3 \xC3t\nend\n",
           head + counts + "recent 00000000000000ab 2 a b c\nend\n",
           head + counts + "recent 00000000000000ab 5 a / b a\nend\n",
           head + counts + "recent 00000000000000ab 5 / a b c\nend\n",
           head + counts +
               "recent 00000000000000ab 3 a\n"
               "recent 00000000000000ab 3 b\nend\n",
           too_many,
       }) {
    why.clear();
    EXPECT_FALSE(ParseStateFile(bad, &back, &why)) << bad;
    EXPECT_FALSE(why.empty());
  }
  EXPECT_TRUE(ParseStateFile(head + counts + full_lists + "end\n", &back, &why))
      << why;
  ParseStateFile(head + counts + "end\nwon 2\n", &back, &why);
  EXPECT_EQ(why, "line 9: text after the end line");
  ParseStateFile(head + counts + "recent 00000000000000ab 3 a\n" +
                     "recent 00000000000000ab 3 b\nend\n",
                 &back, &why);
  EXPECT_EQ(why, "line 9: the list 00000000000000ab comes twice");
  // The file's bytes are quoted escaped, never as the terminal would take
  // them.
  for (const auto& [line, quoted] :
       std::vector<std::pair<std::string, std::string>>{
           {"recent 00000000000000ab 3 a\033[31mb\n",
            "recent word \"a\\x1b[31mb\""},
           {"wins-by-misses 0:1 \"\xc3\xa9\n", "entry \"\\\"\\xc3\\xa9\""},
           {"col\\our 1\n", "line \"col\\\\our\""}}) {
    std::string file = head + line;
    file += counts;
    ParseStateFile(file + "end\n", &back, &why);
    EXPECT_EQ(why.substr(why.size() - quoted.size()), quoted) << why;
  }
}

// The writer keeps to what the reader accepts: the counts stop at the
// limit, and a win records at most the misses a win can take.
TEST(ApplyRound, WritesOnlyWhatTheReaderAccepts) {
  const std::string limit = "1000000000000000";
  const std::string full = "wordgame-state 1\nplayed " + limit + "\nwon " +
                           limit + "\nlost 0\nstreak 1\nbest-streak 1\n" +
                           "wins-by-misses 6:" + limit + "\nend\n";
  SavedState state, back;
  std::string why;
  ASSERT_TRUE(ParseStateFile(full, &state, &why)) << why;
  ApplyRound(Won(0, "cat", 3), &state);
  ApplyRound(Lost(), &state);
  ASSERT_TRUE(ParseStateFile(FormatStateFile(state), &back, &why)) << why;
  EXPECT_EQ(back.stats.played(), kMaxCount);
  EXPECT_EQ(back.Recent(7).words, Words{"cat"});
  SavedState fresh;
  ApplyRound(Won(9), &fresh);
  EXPECT_EQ(fresh.stats.wins_by_misses.count(kMaxWinMisses), 1u);
  for (bool won : {true, false}) {
    RoundResult daily{won, 9, "", 7, 0};
    daily.daily = true;
    daily.day = won ? 1 : 2;
    ApplyRound(daily, &fresh);
  }
  ASSERT_TRUE(ParseStateFile(FormatStateFile(fresh), &back, &why)) << why;
  EXPECT_EQ(back.daily.results.size(), 2u);
}

TEST(ApplyRound, KeepsStreaksAndBoundsTheRecentWords) {
  SavedState state;
  for (const RoundResult& r : {Won(1), Won(1), Lost(), Won(3)}) {
    ApplyRound(r, &state);
  }
  EXPECT_EQ(state.stats.streak, 1u);
  EXPECT_EQ(state.stats.best_streak, 2u);
  EXPECT_EQ(state.stats.wins_by_misses[1], 2u);
  EXPECT_TRUE(state.lists.empty());  // no list given

  // A list of five: the fifth word completes a pass, whose last two are
  // held back, one coming back each round.
  for (const char* word : {"a", "b", "a", "c", "d"}) {  // "a" again: last
    ApplyRound(Won(0, word, 5), &state);
  }
  EXPECT_EQ(state.Recent(7).words, (Words{"b", "a", "c", "d"}));
  ApplyRound(Won(0, "e", 5), &state);
  EXPECT_EQ(state.Recent(7).words, Words{});
  EXPECT_EQ(state.Recent(7).held, (Words{"d", "e"}));
  ApplyRound(Won(0, "not a word", 5), &state);
  ApplyRound(Won(0, "b", 5), &state);
  EXPECT_EQ(state.Recent(7).words, Words{"b"});
  EXPECT_EQ(state.Recent(7).held, Words{"e"});
  ApplyRound(Won(0, "z", 1, 8), &state);  // a list of one word
  ApplyRound(Won(0, "z", 1, 8), &state);
  EXPECT_TRUE(state.Recent(8).words.empty());
  EXPECT_TRUE(state.Recent(8).held.empty());

  // A huge list keeps the newest kMaxRecentWords.
  for (std::size_t i = 0; i <= kMaxRecentWords; ++i) {
    ApplyRound(Lost(Word(i), 2 * kMaxRecentWords, 9), &state);
  }
  Words recent = state.Recent(9).words;
  ASSERT_EQ(recent.size(), kMaxRecentWords);
  EXPECT_EQ(recent.front(), Word(1));
  EXPECT_EQ(recent.back(), Word(kMaxRecentWords));

  // The list played last comes first; beyond kMaxRecentLists the one played
  // longest ago goes.
  for (std::uint64_t id = 100; id < 100 + kMaxRecentLists; ++id) {
    ApplyRound(Lost("a", 5, id), &state);
  }
  ApplyRound(Lost("b", 5, 100), &state);
  ASSERT_EQ(state.lists.size(), kMaxRecentLists);
  EXPECT_EQ(state.lists.front().list_id, 100u);
  EXPECT_EQ(state.Recent(100).words, (Words{"a", "b"}));
  EXPECT_TRUE(state.Recent(7).words.empty());
  EXPECT_TRUE(state.Recent(9).words.empty());
}

TEST(ListsAndWords, IdentityAndWhereADeckStarts) {
  EXPECT_EQ(ListId({"cat", "dog", "ox"}), ListId({"ox", "cat", "dog"}));
  EXPECT_NE(ListId({"cat", "dog"}), ListId({"cat", "dot"}));
  EXPECT_NE(ListId({"cat"}), ListId({"cat", "dog"}));
  const Words words = {"a", "b", "c", "d"};
  using Indices = std::vector<std::uint32_t>;
  // Words not in the list (played with another length, say) are left out.
  const DeckStart start = StartOf(WordViews(words), Alphabet(),
                                  {1, 9, {"c", "x", "a"}, {"y", "d"}});
  EXPECT_EQ(start.played, (Indices{2, 0}));
  EXPECT_EQ(start.held, Indices{3});
}

TEST(FormatStats, SaysPlayedStreaksAndMisses) {
  EXPECT_EQ(FormatStats(Stats()), "No rounds played yet.\n");
  Stats stats;
  stats.won = 2;
  stats.lost = 1;
  stats.streak = 0;
  stats.best_streak = 2;
  stats.wins_by_misses = {{1, 1}, {4, 1}};
  EXPECT_EQ(FormatStats(stats),
            "Rounds played: 3, won 2 (67%), lost 1.\n"
            "Winning streak across sessions: 0, best 2.\n"
            "Wins with 1 miss: 1, with 4: 1.\n");
  stats.won = 0;
  stats.best_streak = 0;
  stats.wins_by_misses.clear();
  EXPECT_EQ(FormatStats(stats),
            "Rounds played: 1, won 0 (0%), lost 1.\n"
            "Winning streak across sessions: 0, best 0.\n");
}

Day DayOf(const std::string& date) {
  Day day = 0;
  EXPECT_TRUE(ParseDate(date, &day)) << date;
  return day;
}

TEST(Daily, DatesAreReadOnlyWhenTheyExist) {
  EXPECT_EQ(DayOf("1970-01-01"), 0);
  EXPECT_EQ(DayOf("2000-03-01"), 11017);
  EXPECT_EQ(DayOf("0001-01-01"), -719162);
  EXPECT_EQ(FormatDate(DayOf("2024-02-29") + 1), "2024-03-01");
  // Each day follows the one before, over leap years and centuries.
  std::string before = "1899-12-31";
  for (Day day = DayOf("1900-01-01"); day <= DayOf("2101-01-01"); ++day) {
    const std::string date = FormatDate(day);
    ASSERT_GT(date, before);
    ASSERT_EQ(DayOf(date), day);
    before = date;
  }
  EXPECT_EQ(FormatDate(DayOf("9999-12-31")), "9999-12-31");
  Day day = 5;
  for (const char* bad :
       {"2026-02-29", "2100-02-29", "2026-13-01", "2026-00-10", "2026-04-31",
        "2026-01-32", "2026-12-00", "0000-01-01", "2026-1-01", "2026/12/09",
        "2026-12-09x", "+026-12-09", "2026-12-+9", "", "today"}) {
    EXPECT_FALSE(ParseDate(bad, &day)) << bad;
  }
  EXPECT_EQ(day, 5);
}

// Solved days in a row make the streak, whenever each was played; a day's
// word with a list counts once; a loss ends the run; the streak shows as
// over once a day went by unplayed.
TEST(Daily, StreakCountsSolvedDaysInARowAndEachDayOnce) {
  const Day d = DayOf("2026-12-09");
  DailyHistory h;
  for (const DailyResult& r :
       {DailyResult{d, 1, true, 2}, DailyResult{d + 1, 1, true, 0},
        DailyResult{d + 1, 1, false, 7},    // again
        DailyResult{d + 1, 2, true, 3},     // other list
        DailyResult{d + 3, 1, true, 1}}) {  // day missed
    ApplyDaily(r, &h);
  }
  EXPECT_EQ(h.played, 4u);
  EXPECT_EQ(h.streak, 1u);
  EXPECT_EQ(h.best_streak, 2u);
  ApplyDaily({d + 2, 1, true, 1}, &h);  // caught up: d to d + 3 solved
  EXPECT_EQ(h.played, 5u);
  EXPECT_EQ(h.won, 5u);
  EXPECT_EQ(h.streak, 4u);
  EXPECT_EQ(h.best_streak, 4u);
  ASSERT_NE(h.Find(d + 1, 1), nullptr);
  EXPECT_TRUE(h.Find(d + 1, 1)->won);
  EXPECT_EQ(h.Find(d + 4, 1), nullptr);
  EXPECT_EQ(FormatDailyStats(h, d + 4),
            "Daily words: 5 played, 5 solved; daily streak 4, best 4.\n");
  EXPECT_EQ(FormatDailyStats(h, d + 5),  // a day gone by unplayed
            "Daily words: 5 played, 5 solved; daily streak 0, best 4.\n");
  ApplyDaily({d + 2, 2, false, 7}, &h);  // an unsolved word ends the run
  EXPECT_EQ(h.streak, 1u);
  ApplyDaily({d + 3, 2, false, 7}, &h);
  EXPECT_EQ(h.streak, 0u);
  EXPECT_EQ(h.best_streak, 4u);
  // An earlier day solved as the first: over until the days up to
  // yesterday are caught up on.
  DailyHistory first;
  ApplyDaily({d - 4, 1, true, 0}, &first);
  EXPECT_EQ(FormatDailyStats(first, d),
            "Daily words: 1 played, 1 solved; daily streak 0, best 1.\n");
  for (Day day = d - 3; day < d; ++day) ApplyDaily({day, 1, true, 0}, &first);
  EXPECT_EQ(FormatDailyStats(first, d),
            "Daily words: 4 played, 4 solved; daily streak 4, best 4.\n");
  ApplyDaily({d - 6, 1, true, 0}, &first);  // a day apart: a run of its own
  EXPECT_EQ(first.streak, 4u);
  EXPECT_EQ(FormatDailyStats(DailyHistory(), d), "");
  EXPECT_EQ(ShareLine({d, 0x5be2b8c1a0d94e17, true, 1}),
            "wordgame daily 2026-12-09 (list 5be2b8c1): solved with 1 miss");
  EXPECT_EQ(ShareLine({d, 0xab, false, 7}),
            "wordgame daily 2026-12-09 (list 00000000): not solved, 7 misses");
  EXPECT_EQ(ShareLine({d, 0xab, true, 2, 1}),
            "wordgame daily 2026-12-09 (list 00000000): solved with 2 misses, "
            "1 hint");
  for (Day day = 0; day < static_cast<Day>(kMaxDailyResults) + 3; ++day) {
    ApplyDaily({day, 1, false, 0}, &h);
  }
  ASSERT_EQ(h.results.size(), kMaxDailyResults);
  // The seven results above and kMaxDailyResults + 3 earlier days: the
  // earliest ten go.
  EXPECT_EQ(h.results.front().day, 10);
  EXPECT_EQ(h.results.back().day, d + 3);
}

// A file from before the daily word reads as no daily history and is written
// back as it was; daily rounds count apart from the others.
TEST(StateFileFormat, DailyHistoryIsOptionalWrittenAndChecked) {
  const std::string head =
      "wordgame-state 1\n"
      "# wordgame's statistics and recently played words; see wordgame(1).\n"
      "played 1\nwon 1\nlost 0\nstreak 1\nbest-streak 1\nwins-by-misses 2:1\n";
  SavedState state;
  std::string why;
  ASSERT_TRUE(ParseStateFile(head + "end\n", &state, &why)) << why;
  EXPECT_EQ(state.daily.played, 0u);
  EXPECT_TRUE(state.daily.results.empty());
  EXPECT_EQ(FormatStateFile(state), head + "end\n");
  RoundResult daily = Won(0, "cat", 3, 0xab);
  daily.daily = true;
  daily.day = DayOf("2026-12-09");
  ApplyRound(daily, &state);
  daily.day -= 1;
  daily.won = false;
  daily.misses = 7;
  daily.hints = 2;
  ApplyRound(daily, &state);
  const std::string days =
      "daily-counts 2 1 1 1\n"
      "daily 2026-12-08 00000000000000ab unsolved 7 2\n"
      "daily 2026-12-09 00000000000000ab solved 0\n";
  EXPECT_EQ(FormatStateFile(state),
            head + "recent 00000000000000ab 3 cat\n" + days + "end\n");
  SavedState back;
  ASSERT_TRUE(ParseStateFile(FormatStateFile(state), &back, &why)) << why;
  EXPECT_EQ(FormatStateFile(back), FormatStateFile(state));
  const std::string day = "daily 2026-12-10 00000000000000ab solved 2\n";
  for (const std::string& bad : {
           std::string(days).append(day).append(day),  // twice
           days + "daily 2026-02-29 00000000000000ab solved 2\n",
           days + "daily 2026-12-10 0000000000000ab solved 2\n",
           days + "daily 2026-12-10 00000000000000ab solved 7\n",
           days + "daily 2026-12-10 00000000000000ab unsolved 8\n",
           days + "daily 2026-12-10 00000000000000ab won 2\n",
           days + "daily 2026-12-10 00000000000000ab solved\n",
           days + "daily 2026-12-10 00000000000000ab solved 2 3\n",  // hints
           days + "daily 2026-12-10 00000000000000ab solved 2 1 1\n",
           days + "daily-counts 2 1 1 1\n",
           "daily-counts 0 0 0 0\n" + days,        // twice, the first zero
           std::string("daily-counts 1 2 1 1\n"),  // solved > played
           std::string("daily-counts 2 1 2 1\n"),  // streak > best
           std::string("daily-counts 2 1 1 2\n"),  // best > solved
           std::string("daily-counts 2 1 1\n"),
       }) {
    why.clear();
    EXPECT_FALSE(ParseStateFile(head + bad + "end\n", &back, &why)) << bad;
    EXPECT_FALSE(why.empty());
  }
}

TEST(StateFolder, FollowsXdgStateHomeOnlyWhenAbsolute) {
  setenv("HOME", "/home/pat", 1);
  setenv("XDG_STATE_HOME", "/var/st", 1);
  EXPECT_EQ(StateFolder(), "/var/st/wordgame");
  setenv("XDG_STATE_HOME", "rel/st", 1);
  EXPECT_EQ(StateFolder(), "/home/pat/.local/state/wordgame");
  setenv("XDG_STATE_HOME", "", 1);
  EXPECT_EQ(StateFolder(), "/home/pat/.local/state/wordgame");
  unsetenv("XDG_STATE_HOME");
  unsetenv("HOME");
  std::string folder = StateFolder();  // from the password database
  EXPECT_TRUE(folder.empty() || folder[0] == '/');
}

TEST(StateStore, RecordsReadsBackAndResetsKeepingRecentWords) {
  TempDir dir;
  const std::string folder = dir.path() + "/a/b/wordgame";
  StateStore store(folder);
  std::string note;
  SavedState state = store.Load(&note);
  EXPECT_EQ(note, "");
  EXPECT_FALSE(fs::exists(folder));  // loading writes nothing
  EXPECT_TRUE(store.Record(Won(2, "cat", 10), &state, &note));
  EXPECT_TRUE(store.Record(Lost("dog", 10), &state, &note));
  EXPECT_EQ(note, "");
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);

  SavedState other = StateStore(folder).Load(&note);
  EXPECT_EQ(FormatStateFile(other), FormatStateFile(state));
  EXPECT_EQ(other.stats.played(), 2u);

  RoundResult daily = Won(1, "", 0);
  daily.daily = true;
  EXPECT_TRUE(store.Record(daily, &state, &note));
  EXPECT_EQ(state.stats.played(), 2u);
  EXPECT_EQ(state.daily.played, 1u);
  EXPECT_TRUE(store.ResetStats(&state, &note));
  other = StateStore(folder).Load(&note);
  EXPECT_EQ(other.stats.played(), 0u);
  EXPECT_EQ(other.daily.played, 0u);
  EXPECT_NE(other.daily.Find(0, 7), nullptr);  // played once, still
  EXPECT_EQ(other.Recent(7).words, (Words{"cat", "dog"}));
  EXPECT_EQ(FormatStateFile(other), FormatStateFile(state));
  EXPECT_FALSE(fs::exists(folder + "/state.new"));
}

// Sessions that end at once each count: every child records its rounds
// straight after the others are let go together.
TEST(StateStore, ConcurrentSessionsLoseNoRound) {
  constexpr int kSessions = 20, kRounds = 10;
  TempDir dir;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<pid_t> children;
  for (int s = 0; s < kSessions; ++s) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(gate[1]);
      char c;
      while (read(gate[0], &c, 1) > 0) {
      }
      StateStore store(dir.path());
      SavedState state;
      std::string note;
      bool ok = true;
      for (int r = 0; r < kRounds; ++r) {
        std::string word = Word(static_cast<std::size_t>(s * kRounds + r));
        RoundResult round =
            r % 3 == 0 ? Lost(word, 1000) : Won(r % 4, word, 1000);
        ok = store.Record(round, &state, &note) && note.empty() && ok;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  close(gate[0]);
  auto start = std::chrono::steady_clock::now();
  close(gate[1]);
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start)
                .count();
  std::string note;
  SavedState state = StateStore(dir.path()).Load(&note);
  EXPECT_EQ(note, "");
  // Rounds 0, 3, 6 and 9 of each session are lost.
  EXPECT_EQ(state.stats.played(), 1u * kSessions * kRounds);
  EXPECT_EQ(state.stats.lost, 4u * kSessions);
  EXPECT_EQ(state.Recent(7).words.size(), 1u * kSessions * kRounds);
  std::printf("%d sessions recorded %llu rounds in %lld ms\n", kSessions,
              static_cast<unsigned long long>(state.stats.played()),
              static_cast<long long>(ms));
}

// A session killed just before its rename, or at any other moment, leaves
// the old file or the new one, whole.
TEST(StateStore, KilledSessionLeavesAWholeFile) {
  TempDir dir;
  StateStore store(dir.path());
  SavedState state;
  std::string note;
  ASSERT_TRUE(store.Record(Won(1, "cat", 10), &state, &note));
  const std::string before = ReadFile(store.path());

  auto run_child = [&](bool kill_before_rename) {
    pid_t pid = fork();
    if (pid == 0) {
      if (kill_before_rename) store.set_before_rename([] { raise(SIGKILL); });
      SavedState mine;
      std::string ignored;
      for (;;) store.Record(Lost("dog", 10), &mine, &ignored);
    }
    return pid;
  };
  pid_t pid = run_child(true);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(ReadFile(store.path()), before);
  EXPECT_TRUE(fs::exists(dir.path() + "/state.new"));

  std::uint64_t played = 1;
  for (int i = 0; i < 10; ++i) {
    pid = run_child(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * i));
    kill(pid, SIGKILL);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    SavedState now = StateStore(dir.path()).Load(&note);
    EXPECT_EQ(note, "");
    EXPECT_GE(now.stats.played(), played);
    played = now.stats.played();
  }
  std::printf("%llu rounds recorded between kills\n",
              static_cast<unsigned long long>(played - 1));
  // The lock went with the killed sessions.
  EXPECT_TRUE(store.Record(Won(0), &state, &note));
  EXPECT_EQ(state.stats.played(), played + 1);
}

TEST(StateStore, DamagedFileIsSetAsideNeverDeleted) {
  TempDir dir;
  StateStore store(dir.path());
  const std::string junk = "wordgame-state 1\nwon 3\n";
  dir.WriteFile("state", junk);
  std::string note;
  SavedState state = store.Load(&note);
  EXPECT_EQ(note, store.path() +
                      " is damaged (no end line: cut short); set aside as " +
                      store.path() + ".bad, statistics start afresh");
  EXPECT_EQ(state.stats.played(), 0u);
  EXPECT_EQ(ReadFile(store.path() + ".bad"), junk);
  EXPECT_FALSE(fs::exists(store.path()));

  // The next one goes beside it; the round is saved on a fresh file.
  dir.WriteFile("state", "junk");
  EXPECT_TRUE(store.Record(Won(0), &state, &note));
  EXPECT_NE(note.find("set aside as " + dir.path() + "/state.2.bad"),
            std::string::npos);
  EXPECT_EQ(ReadFile(store.path() + ".bad"), junk);
  EXPECT_EQ(StateStore(dir.path()).Load(&note).stats.won, 1u);

  // A folder in the file's place is not read either.
  fs::remove(store.path());
  fs::create_directory(store.path());
  EXPECT_EQ(store.Load(&note).stats.played(), 0u);
  EXPECT_NE(note.find("(not a regular file)"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir.path() + "/state.3.bad"));
}

// Nothing at the store's names is followed or waited on, and a folder that
// is not the player's alone is neither read nor written.
TEST(StateStore, FollowsNoLinkAndTrustsNoOneElsesFolder) {
  TempDir dir;
  const std::string target = dir.WriteFile("target", "mine\n");
  const std::string folder = dir.path() + "/s";
  fs::create_directory(folder);
  fs::create_symlink(target, folder + "/state.new");
  SavedState state;
  std::string note;
  EXPECT_TRUE(StateStore(folder).Record(Won(0), &state, &note)) << note;
  EXPECT_EQ(ReadFile(target), "mine\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder + "/state")));
  ASSERT_EQ(mkfifo((folder + "/state.new").c_str(), 0600), 0);
  EXPECT_TRUE(StateStore(folder).Record(Won(0), &state, &note)) << note;
  fs::remove(folder + "/state.lock");
  fs::create_symlink(dir.path() + "/made", folder + "/state.lock");
  EXPECT_FALSE(StateStore(folder).Record(Won(0), &state, &note));
  EXPECT_EQ(note, "statistics not saved: cannot open " + folder +
                      "/state.lock: a symbolic link, not followed");
  EXPECT_FALSE(fs::exists(dir.path() + "/made"));
  fs::remove(folder + "/state.lock");

  // With standard input closed the folder opens as descriptor 0: it is
  // read and written all the same.
  const std::uint64_t played = StateStore(folder).Load(&note).stats.played();
  {
    StateStore store(folder);
    const int input = dup(0);
    close(0);
    SavedState loaded = store.Load(&note);
    const std::string load_note = note;
    const bool recorded = store.Record(Won(0), &loaded, &note);
    dup2(input, 0);
    close(input);
    EXPECT_EQ(load_note, "");
    EXPECT_TRUE(recorded) << note;
    EXPECT_EQ(loaded.stats.played(), played + 1);
    EXPECT_EQ(StateStore(folder).Load(&note).stats.played(), played + 1);
  }

  const std::string saved = ReadFile(folder + "/state");
  auto refused = [&](const std::string& where, const std::string& why) {
    StateStore store(where);
    const int input = dup(0);
    close(0);  // The folder then opens as descriptor 0, and is closed too.
    SavedState loaded = store.Load(&note);
    EXPECT_EQ(fcntl(0, F_GETFD), -1) << where;
    dup2(input, 0);
    close(input);
    EXPECT_EQ(note, "statistics neither read nor saved: " + where + why);
    EXPECT_EQ(loaded.stats.played(), 0u);
    EXPECT_FALSE(store.Record(Won(0), &loaded, &note));
    EXPECT_EQ(note, "");
    EXPECT_EQ(ReadFile(folder + "/state"), saved);
  };
  fs::permissions(folder, fs::perms::all);
  refused(folder, " may be written by others");
  fs::permissions(folder, fs::perms::owner_all);
  fs::create_directory_symlink(folder, dir.path() + "/link");
  refused(dir.path() + "/link", " is a symbolic link, not a folder");
  refused(dir.WriteFile("file", ""), " is not a folder");
  ASSERT_EQ(mkfifo((dir.path() + "/fifo").c_str(), 0600), 0);
  refused(dir.path() + "/fifo", " is not a folder");
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), 4242, 4242), 0);
    refused(folder, " belongs to another user");
  }
}

// A file of the size limit is read; one byte more is damage.
TEST(StateStore, ReadsAFileUpToTheSizeLimit) {
  TempDir dir;
  const std::string counts =
      "wordgame-state 1\nplayed 1\nwon 1\nlost 0\nstreak 1\nbest-streak 1\n"
      "wins-by-misses 0:1\nend\n#";
  for (std::size_t size : {kMaxStateBytes, kMaxStateBytes + 1}) {
    dir.WriteFile("state", counts + std::string(size - counts.size(), 'x'));
    std::string note;
    SavedState state = StateStore(dir.path()).Load(&note);
    EXPECT_EQ(state.stats.won, size == kMaxStateBytes ? 1u : 0u);
    EXPECT_EQ(note.find("(larger than 32 MiB)") != std::string::npos,
              size > kMaxStateBytes);
  }
}

TEST(StateStore, UnsavedRoundsStillCountAndSayItOnce) {
  TempDir dir;
  const std::string file = dir.WriteFile("file", "");
  StateStore store(file + "/wordgame");  // its parent is a regular file
  std::string note;
  SavedState state = store.Load(&note);
  EXPECT_EQ(note, "");
  EXPECT_FALSE(store.Record(Won(0), &state, &note));
  EXPECT_EQ(note, "statistics not saved: cannot create " + file +
                      "/wordgame: Not a directory");
  EXPECT_FALSE(store.Record(Lost(), &state, &note));
  EXPECT_EQ(note, "");
  EXPECT_FALSE(store.ResetStats(&state, &note));
  EXPECT_EQ(state.stats.played(), 0u);
  EXPECT_FALSE(store.Record(Won(3), &state, &note));
  EXPECT_EQ(state.stats.won, 1u);

  StateStore nowhere("");
  EXPECT_FALSE(nowhere.Record(Won(0), &state, &note));
  EXPECT_EQ(note, "statistics not saved: no home folder to keep them in");

  // A lock file or a new file that cannot be opened; the damaged file stays.
  StateStore blocked(dir.path());
  const std::string lock_file = dir.path() + "/state.lock";
  dir.WriteFile("state", "junk");
  fs::create_directory(lock_file);
  blocked.Load(&note);
  const std::string reason = " (not a wordgame state file of version 1)";
  EXPECT_EQ(note, "cannot set aside damaged " + blocked.path() + reason +
                      ": cannot open " + lock_file +
                      ": Is a directory; statistics start afresh");
  EXPECT_FALSE(blocked.Record(Won(0), &state, &note));
  EXPECT_EQ(ReadFile(blocked.path()), "junk");
  fs::remove(lock_file);
  fs::remove(blocked.path());
  fs::create_directory(dir.path() + "/state.new");
  EXPECT_FALSE(StateStore(dir.path()).Record(Won(0), &state, &note));
  EXPECT_EQ(note, "statistics not saved: cannot write " + dir.path() +
                      "/state.new: Is a directory");
  fs::remove(dir.path() + "/state.new");

  // Another session holding the lock too long.
  StateStore busy(dir.path());
  int lock = open(lock_file.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  busy.set_lock_wait_ms(50);
  EXPECT_FALSE(busy.Record(Won(0), &state, &note));
  EXPECT_EQ(note, "statistics not saved: another wordgame holds " + lock_file);
  EXPECT_EQ(state.stats.won, 5u);
  close(lock);
  EXPECT_TRUE(busy.Record(Won(0), &state, &note));
  EXPECT_EQ(state.stats.won, 1u);  // the file's count, fresh
}

}  // namespace
