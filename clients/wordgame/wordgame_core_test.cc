// wordgame in-process: the word-list rules, reading guesses, the rounds as a
// player meets them (driven through temporary files), the game folder and the
// command line.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "game_folder.h"
#include "play.h"
#include "run_program.h"
#include "word_list.h"
#include "wordgame.h"

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

std::size_t Entries(const std::string& dir) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// The secrets that the rounds of `out` revealed, in order.
Words Secrets(const std::string& out) {
  const std::string mark = "The word was \"";
  Words secrets;
  for (std::size_t at = out.find(mark); at != std::string::npos;
       at = out.find(mark, at)) {
    at += mark.size();
    secrets.push_back(out.substr(at, out.find('"', at) - at));
  }
  return secrets;
}

TEST(ParseWordList, TidiesDropsTheMarkCountsSkippedAndRepeatsOnce) {
  WordList list = ParseWordList(
      "\xEF\xBB\xBF  Cat\r\n\r\nice cream\ndog\n42\ncaf\xc3\xa9\n\nCAT\n" +
      std::string(kMaxWordLetters, 'x') + "\n" +
      std::string(kMaxWordLetters + 1, 'y') + "\nx-ray\nok\ndon't\n");
  EXPECT_EQ(list.words,
            (Words{"cat", "dog", std::string(kMaxWordLetters, 'x'), "ok"}));
  EXPECT_EQ(list.skipped, 6u);
  EXPECT_TRUE(list.category.empty());
  EXPECT_EQ(SkippedNote(list),
            "6 lines skipped (not one word of up to 64 letters a-z, nor a "
            "[category]): lines 3, 5, 6, 10, 11, ...");
  EXPECT_EQ(SkippedNote(ParseWordList("a b\nok")),
            "1 line skipped (not one word of up to 64 letters a-z, nor a "
            "[category]): line 1.");
  EXPECT_EQ(SkippedNote(ParseWordList("ok\n\n")), "");
  EXPECT_EQ(ParseWordList(std::string("a\0b\nz", 5)).words, Words{"z"});
  EXPECT_TRUE(ParseWordList("\xEF\xBB\xBF\n  \n").words.empty());
  EXPECT_EQ(WordsOfLength({"cat", "horse", "dog"}, 3), (Words{"cat", "dog"}));
}

TEST(ParseWordList, CategoryLinesFileTheWordsAfterThemFirstCategoryWins) {
  WordList list = ParseWordList(
      "loose\n [Sea Life] \ncrab\nreef\n[food & drink]\ntea\n[sport]\n"
      "golf\nreef\ngolf\nloose\n[bad\ncrab\n[]\n[sea life]\ncrab\nZOO\n");
  EXPECT_EQ(list.words, (Words{"loose", "crab", "reef", "tea", "golf", "zoo"}));
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
  for (const std::string& w : list.words) {
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
  EXPECT_EQ(list.words, (Words{"fern", "oak", "elm"}));
  list = all;
  EXPECT_FALSE(KeepCategory(&list, "Sport", &err));
  EXPECT_EQ(err, "no category \"sport\"; the categories are nature, food");
  EXPECT_EQ(list.words, all.words);
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
  EXPECT_EQ(list.words, (Words{"kitten", "fish"}));
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
}

TEST(ShippedWordList, LiesInShareBesideBin) {
  EXPECT_EQ(ShippedWordList("/usr/local/bin/wordgame"),
            "/usr/local/bin/../share/wordgame/words.txt");
  EXPECT_EQ(ShippedWordList("wordgame"), "./../share/wordgame/words.txt");
  std::string path = ExecutablePath("fallback");
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "wordgame_core_test");
}

TEST(ReadLine, CutsLongLinesKeepsALastLineAndReportsReadErrors) {
  std::string err;
  std::FILE* in =
      FileHolding(" a \n" + std::string(1000000, 'q') + "\nnext\nlast");
  InputLine line;
  bool ended;
  std::vector<std::string> texts;
  while (ReadLine(in, &line, &ended, &err) && !ended) {
    texts.push_back(line.text);
    EXPECT_EQ(line.cut, texts.size() == 2);
  }
  std::fclose(in);
  EXPECT_EQ(texts,
            (Words{" a ", std::string(kMaxLineBytes, 'q'), "next", "last"}));
  std::FILE* folder = std::fopen(".", "r");  // Reading a folder fails.
  ASSERT_NE(folder, nullptr);
  EXPECT_FALSE(ReadLine(folder, &line, &ended, &err));
  EXPECT_EQ(err, "read error: Is a directory");
  std::fclose(folder);
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

// Each test runs with a private TMPDIR, empty again at its end.
class WordgameInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    old_tmpdir_ = old ? old : "";
    had_tmpdir_ = old != nullptr;
    setenv("TMPDIR", tmp_.path().c_str(), 1);
  }
  void TearDown() override {
    EXPECT_EQ(Entries(tmp_.path()), 0u) << "files left in TMPDIR";
    if (had_tmpdir_) {
      setenv("TMPDIR", old_tmpdir_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }
  // Plays rounds over `words` with `input`; returns what the player saw.
  std::string Play(const Words& words, const std::string& input,
                   Look look = {}) {
    GameFolder folder;
    std::string err;
    EXPECT_TRUE(folder.Open(&err)) << err;
    std::FILE* in = FileHolding(input);
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(PlayRounds(folder, words, in, out, look, &err)) << err;
    std::fclose(in);
    return ReadAndClose(out);
  }

  TempDir tmp_;
  std::string old_tmpdir_;
  bool had_tmpdir_ = false;
};

using WordgameRounds = WordgameInProcess;

TEST_F(WordgameRounds, EachGuessGetsOneLineOfFeedbackAndTheScoreFollows) {
  std::string out = Play({"banana"}, "a\nx\nb\nn\n");
  EXPECT_NE(out.find("Type ? for help, ! to give up a round, Ctrl-D to quit."),
            std::string::npos);
  EXPECT_NE(out.find("A new word of 6 letters."), std::string::npos);
  EXPECT_NE(out.find(": Yes, \"a\" is in the word 3 times.\n"),
            std::string::npos);
  EXPECT_NE(out.find(": No \"x\" in the word.\n"), std::string::npos);
  EXPECT_NE(out.find(": Yes, \"b\" is in the word once.\n"), std::string::npos);
  EXPECT_NE(out.find("Word:    b a _ a _ a\n"
                     "Letters: A B c d e f g h i j k l m n o p q r s t u v w "
                     "- y z\n"
                     "Missed:  x  (6 misses left)\n"),
            std::string::npos);
  EXPECT_NE(out.find("You won! The word was \"banana\".\n"
                     "Score: 1 won, 0 lost, winning streak 1.\n"
                     "Play again? [y/N] \n"
                     "Final score: 1 won, 0 lost, winning streak 1.\n"),
            std::string::npos);
  EXPECT_EQ(out.find("banana"), out.find("The word was \"banana\"") + 14);
}

TEST_F(WordgameRounds, RefusedLinesCostNothingAndAreNotEchoed) {
  const std::string huge(100000, 'a');
  std::string out =
      Play({"cat"}, "aa\nhelp\nquit\nx\nX\n3\n\n  \n" + huge + "\na\na\nc\n");
  EXPECT_EQ(Count(out, "That is 2 letters; the word has 3."), 1);
  EXPECT_EQ(Count(out, "That is 4 letters; the word has 3."), 2);
  EXPECT_EQ(Count(out, "You already tried \"x\".\n"), 1);
  EXPECT_EQ(Count(out, "You already tried \"a\".\n"), 1);
  EXPECT_EQ(Count(out, "Letters a to z only, please (? for help).\n"), 1);
  EXPECT_EQ(Count(out, "That line is too long;"), 1);
  EXPECT_NE(out.find("Word:    c a _\n"), std::string::npos);
  EXPECT_NE(out.find("Missed:  x  (6 misses left)\n"), std::string::npos);
  EXPECT_EQ(out.find("5 misses"), std::string::npos);
  EXPECT_EQ(out.find("aaaa"), std::string::npos);
}

TEST_F(WordgameRounds, WrongWordsAreListedApartAndSevenMissesLose) {
  std::string out = Play({"cat"}, "cat\ny\nb\ndog\nd\ne\nf\ng\nh\ny\n!\nn\n");
  EXPECT_NE(out.find("No, the word is not \"dog\".\n"), std::string::npos);
  EXPECT_NE(out.find("Missed:  b  words: dog  (5 misses left)\n"),
            std::string::npos);
  EXPECT_NE(out.find("Missed:  b d e f g  words: dog  (1 miss left)\n"),
            std::string::npos);
  EXPECT_NE(out.find(Gallows(7) + "\n"), std::string::npos);
  EXPECT_NE(out.find("You lost. The word was \"cat\".\n"
                     "Score: 1 won, 1 lost, winning streak 0.\n"),
            std::string::npos);
  EXPECT_NE(out.find("You gave up. The word was \"cat\".\n"
                     "Score: 1 won, 2 lost, winning streak 0.\n"
                     "Play again? [y/N] Final score: 1 won, 2 lost"),
            std::string::npos);
  EXPECT_EQ(Count(out, "A new word"), 3);
}

TEST_F(WordgameRounds, HelpCostsNothingAndTheEndOfInputShowsTheWord) {
  std::string out = Play({"cat"}, "?\nc\n");
  EXPECT_NE(out.find(Rules()), std::string::npos);
  // The board at the start, again below the rules, and after the hit.
  EXPECT_EQ(Count(out, "(7 misses left)"), 3);
  std::string end =
      ": \nRound left unfinished. The word was \"cat\".\n"
      "Final score: 0 won, 0 lost, winning streak 0.\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

TEST_F(WordgameRounds, NoWordComesBackBeforeEveryWordWasPlayed) {
  // The engine seeds its generator with the clock in seconds, so these quick
  // rounds would all draw the same index.
  std::string input = "!\n";
  for (int i = 1; i < 9; ++i) input += "y\n!\n";
  const Words words = {"ant", "bee", "cat", "dog"};
  std::string out = Play(words, input);
  Words secrets = Secrets(out);
  ASSERT_EQ(secrets.size(), 9u);
  EXPECT_EQ(Count(out,
                  "Every word has been played; the 4 words come round "
                  "again.\n"),
            2);
  EXPECT_EQ(std::set<std::string>(secrets.begin(), secrets.begin() + 4),
            std::set<std::string>(words.begin(), words.end()));
  // Then the words come round again, all but the last one, so the next three
  // rounds play three other words; no round ever repeats the one before.
  std::set<std::string> second(secrets.begin() + 4, secrets.begin() + 7);
  EXPECT_EQ(second.size(), 3u);
  EXPECT_EQ(second.count(secrets[3]), 0u);
  for (std::size_t i = 1; i < secrets.size(); ++i)
    EXPECT_NE(secrets[i], secrets[i - 1]) << i;
}

TEST_F(WordgameRounds, SmallTerminalsGetACompactBoard) {
  Look small;
  small.rows = kFullBoardRows - 1;
  std::string out = Play({"cat"}, "x\n", small);
  EXPECT_EQ(out.find("+---+"), std::string::npos);
  EXPECT_NE(out.find("Missed:  x  (misses 1 of 7)\n"), std::string::npos);
  Look tall;
  tall.rows = kFullBoardRows;
  EXPECT_NE(Play({"cat"}, "x\n", tall).find("+---+"), std::string::npos);
}

TEST_F(WordgameRounds, ColoursAreResetBeforeEveryLineFeed) {
  Look look;
  look.colour = true;
  std::string out = Play({"cat"}, "x\na\ncat\n", look);
  EXPECT_NE(out.find("\033[32m"), std::string::npos);
  EXPECT_NE(out.find("\033[31m"), std::string::npos);
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos;
       start = end + 1) {
    std::string line = out.substr(start, end - start);
    std::size_t last = line.rfind("\033[");
    if (last != std::string::npos) {
      EXPECT_EQ(line.substr(last, 4), "\033[0m") << line;
    }
  }
}

TEST_F(WordgameRounds, FailedWritesEndTheGame) {
  GameFolder folder;
  std::string err;
  ASSERT_TRUE(folder.Open(&err)) << err;
  std::FILE* in = FileHolding("c\na\nt\n");
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  EXPECT_FALSE(PlayRounds(folder, {"cat"}, in, full, Look(), &err));
  EXPECT_EQ(err, "write error: No space left on device");
  std::fclose(full);
  std::fclose(in);
}

bool SameAction(const struct sigaction& a, const struct sigaction& b) {
  return a.sa_handler == b.sa_handler;
}

TEST_F(WordgameInProcess, GameFolderIsOneAtATimeAndLeavesNothingBehind) {
  struct sigaction before, during, after;
  sigaction(SIGINT, nullptr, &before);
  std::size_t descriptors = Entries("/proc/self/fd");
  {
    GameFolder folder;
    std::string err;
    ASSERT_TRUE(folder.Open(&err)) << err;
    sigaction(SIGINT, nullptr, &during);
    EXPECT_FALSE(SameAction(during, before));
    GameFolder second;
    EXPECT_FALSE(second.Open(&err));
    EXPECT_EQ(err, "only one game folder may be open at a time");
    std::unique_ptr<Game> game;
    std::string secret;
    for (const char* word : {"cat", "dog"}) {
      ASSERT_TRUE(folder.NewGame({word}, &game, &secret, &err)) << err;
      EXPECT_EQ(secret, word);
      EXPECT_EQ(game->words(), Words{word});
    }
  }
  sigaction(SIGINT, nullptr, &after);
  EXPECT_TRUE(SameAction(after, before));
  EXPECT_EQ(Entries("/proc/self/fd"), descriptors);
}

TEST_F(WordgameInProcess, GameFolderThatCannotBeMadeChangesNothing) {
  struct sigaction before, after;
  sigaction(SIGINT, nullptr, &before);
  setenv("TMPDIR", (tmp_.path() + "/missing").c_str(), 1);
  GameFolder folder;
  std::string err;
  EXPECT_FALSE(folder.Open(&err));
  EXPECT_EQ(err, "cannot create a game folder in " + tmp_.path() +
                     "/missing: No such file or directory");
  sigaction(SIGINT, nullptr, &after);
  EXPECT_TRUE(SameAction(after, before));
  setenv("TMPDIR", tmp_.path().c_str(), 1);
  GameFolder next;
  EXPECT_TRUE(next.Open(&err)) << err;
}

TEST_F(WordgameInProcess, CommandLine) {
  ProgramResult help = RunInProcess(RunWordgame, {"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: wordgame [-l N] [FILE]\n", 0), 0u);
  EXPECT_NE(help.out.find("-l N, --length N"), std::string::npos);
  EXPECT_NE(help.out.find(Rules()), std::string::npos);
  const std::string usage = "usage: wordgame [-l N] [FILE]\n";
  const std::vector<std::pair<Words, std::string>> mistakes = {
      {{"a", "b"}, "too many arguments"},
      {{"-x"}, "unknown option -x"},
      {{"-l"}, "option -l needs a number of letters"},
      {{"--length", "0"},
       "the length must be a number of letters from 1 to 64, not \"0\""},
      {{"-l65"},
       "the length must be a number of letters from 1 to 64, not \"65\""},
      {{"--length=x"},
       "the length must be a number of letters from 1 to 64, not \"x\""},
  };
  for (const auto& [args, message] : mistakes) {
    ProgramResult r = RunInProcess(RunWordgame, args, "");
    EXPECT_EQ(r.status, 1) << message;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("wordgame: ").append(message) + "\n" + usage);
  }
}

TEST_F(WordgameInProcess, LengthOptionAndSkippedLines) {
  std::string list = tmp_.WriteFile("list",
                                    "\xEF\xBB\xBF"
                                    "cat\ndog\nhorse\nice cream\n42\n");
  for (const Words& args : {Words{"-l", "5", list}, Words{"-l5", list},
                            Words{"--length=5", "--", list}}) {
    ProgramResult r = RunInProcess(RunWordgame, args, "!\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind(list + ": 2 lines skipped (not one word of up to 64 "
                                 "letters a-z, nor a [category]): lines 4, "
                                 "5.\n",
                          0),
              0u);
    EXPECT_EQ(Secrets(r.out), Words{"horse"});
  }
  ProgramResult none = RunInProcess(RunWordgame, {"--length", "4", list}, "");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "wordgame: " + list + ": no words of 4 letters\n");
  std::remove(list.c_str());
}

}  // namespace
