// wordgame's command line in-process, then the built program as a player
// meets it: piped games, the word list it chooses, its messages and exit
// status under odd conditions, its colours on a terminal, and that it leaves
// no files behind. The rules of play are tested with each unit.

#include "app/wordgame.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "line/play.h"
#include "look/rules.h"
#include "run_program.h"
#include "state/saved_state.h"
#include "text/text.h"
#include "tmux_testing.h"
#include "wordgame_testing.h"
#include "words/list_id.h"

namespace {

using testutil::ProgramResult;
using testutil::ReadAndClose;
using testutil::ReadFile;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::Stdout;
using testutil::TempDir;
using testutil::TerminalAvailable;
using testutil::WithStdout;

namespace fs = std::filesystem;
using namespace wordgame_testing;
using WordgameInProcess = PrivateTmpdir;

TEST_F(WordgameInProcess, CommandLine) {
  ProgramResult help = RunInProcess(RunWordgame, {"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: wordgame [--line | --terse] [--no-save] "
                           "[--fold-accents] [-l N]",
                           0),
            0u);
  EXPECT_NE(help.out.find("-l N, --length N"), std::string::npos);
  EXPECT_NE(help.out.find(Rules()), std::string::npos);
  for (std::size_t at = 0, end; at < help.out.size(); at = end + 1) {
    end = help.out.find('\n', at);
    EXPECT_LE(end - at, 80u) << help.out.substr(at, end - at);
  }
  const std::string usage = help.out.substr(0, help.out.find("\nA word") + 1);
  const std::vector<std::pair<Words, std::string>> mistakes = {
      {{"a", "b"}, "too many arguments"},
      {{"-x"}, "unknown option -x"},
      {{"-x\033[2J"}, "unknown option -x\\x1b[2J"},
      {{"-l"}, "option -l needs a number of letters"},
      {{"--length", "0"},
       "the length must be a number of letters from 1 to 64, not \"0\""},
      {{"-l65"},
       "the length must be a number of letters from 1 to 64, not \"65\""},
      {{"--length=x"},
       "the length must be a number of letters from 1 to 64, not \"x\""},
      {{"-l\t"},
       "the length must be a number of letters from 1 to 64, not \"\\x09\""},
      {{""}, "the word list's file name is empty"},
      {{"-d", "tricky"}, "difficulty \"tricky\" is not easy, medium or hard"},
      {{"--names", "Ann"},
       "--names needs two names apart by a comma, such as --names Ann,Bob"},
      {{"--names= Ann ,Ann"}, "the two players need different names"},
      {{"-2", "--names", "Ann,"},
       "a player's name must have 1 to 20 characters"},
      {{"--names", "Ann,B\033b"},
       "a player's name may have ASCII letters, digits, blanks and "
       "punctuation only"},
      {{"--yes"}, "--yes goes with --reset-stats only"},
      {{"--terse", "--line"}, "--line and --terse do not go together"},
      {{"--stats", "--terse"}, "--stats takes no other option"},
      {{"--stats", "--reset-stats"},
       "--stats and --reset-stats do not go together"},
      {{"--reset-stats", "--yes", "--no-save"},
       "--reset-stats takes no other option but --yes"},
      {{"--stats", "-l", "3"}, "--stats takes no other option"},
      {{"--categories", "-2"}, "--categories does not go with two players"},
      {{"--daily", "2026-02-29"},
       "--daily takes a date YYYY-MM-DD that exists, not \"2026-02-29\""},
      {{"--daily", "0999-02-29"},  // a date, not a file, from a 0 on
       "--daily takes a date YYYY-MM-DD that exists, not \"0999-02-29\""},
      {{"--daily=9.12.2026"},
       "--daily takes a date YYYY-MM-DD that exists, not \"9.12.2026\""},
      {{"--daily=2026-\x80"},
       "--daily takes a date YYYY-MM-DD that exists, not \"2026-\\x80\""},
      {{"--daily", "-2"},
       "--daily is for one player; it does not go with two players"},
      {{"--daily", "-c", "food"},
       "--daily plays a word of the whole list, the same for everyone: -l, "
       "-c and -d do not apply"},
      {{"--stats", "--daily"}, "--stats and --daily do not go together"},
      {{"--names=Ann,Bob", "-c", "food"},
       "with two players the players choose the words: FILE, -l, -c and -d "
       "do not apply"},
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
  const std::string opening = "Words: " + list +
                              ", 3 words, 1 of 5 letters.\n" + list +
                              ": 2 lines skipped (not one word of up to 64 "
                              "letters, nor a [category]): lines 4, 5.\n";
  for (const Words& args : {Words{"-l", "5", list}, Words{"-l5", list},
                            Words{"--length=5", "--", list}}) {
    ProgramResult r = RunInProcess(RunWordgame, args, "!\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind(opening, 0), 0u) << r.out;
    EXPECT_EQ(Secrets(r.out), Words{"horse"});
  }
  ProgramResult none = RunInProcess(RunWordgame, {"--length", "64", list}, "");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err,
            "wordgame: " + list + ": no words left: no words of 64 letters\n");
  ProgramResult dash = RunInProcess(RunWordgame, {"--", "-list"}, "");
  EXPECT_EQ(dash.err, "wordgame: -list: No such file or directory\n");
  std::remove(list.c_str());
}

// -c, -l and -d narrow the list in that order, and the opening line counts
// what each leaves; the category is the round's clue where the list has
// categories.
TEST_F(WordgameInProcess, CategoryAndDifficultyChooseTheWords) {
  TempDir lists;
  // Hard: cat, zebra, pie; easy: horse; medium: lemon.
  const std::string list = lists.WriteFile(
      "list", "[animals]\ncat\nzebra\nhorse\n[food]\npie\nlemon\n");
  const std::string plain = lists.WriteFile("plain", "cat\ndog\n");
  auto run = [&](const Words& args, const std::string& input = "!\nn\n") {
    return RunInProcess(RunWordgame, args, input);
  };
  ProgramResult hard = run({"-c", "Animals", "-d", "hard", list});
  EXPECT_EQ(
      hard.out.rfind(
          "Words: " + list + ", 5 words, 3 in animals, 2 of them hard.\n", 0),
      0u)
      << hard.out;
  EXPECT_NE(hard.out.find("Clue:    animals\nWord:    _ _ _"),
            std::string::npos);
  ProgramResult zebra =
      run({"-l5", "--difficulty=hard", "-c", "animals", list});
  EXPECT_EQ(zebra.out.rfind("Words: " + list +
                                ", 5 words, 3 in animals, 2 of "
                                "5 letters, 1 of them hard.\n",
                            0),
            0u)
      << zebra.out;
  EXPECT_EQ(Secrets(zebra.out), Words{"zebra"});
  const std::vector<std::pair<Words, std::string>> refused = {
      {{"-c", "food", "-d", "easy", list},
       "no words left: no easy words in food"},
      {{"-l", "4", "-c", "food", list},
       "no words left: no words of 4 letters in food"},
      {{"-c", "fish", list},
       "no category \"fish\"; the categories are animals, food"},
      {{"-c", "animals", plain}, "the word list has no categories"},
  };
  for (const auto& [args, message] : refused) {
    ProgramResult r = run(args);
    EXPECT_EQ(r.status, 1) << message;
    EXPECT_EQ(r.err, "wordgame: " + args.back() + ": " + message + "\n");
  }
  EXPECT_EQ(run({"--categories", list}).out, "animals 3\nfood    2\n");
  EXPECT_EQ(run({"-d", "hard", "--categories", list}).out,
            "animals 2\nfood    1\n");
  ProgramResult none = run({"--categories", plain});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, plain + " has no categories (no [category] lines).\n");
  EXPECT_EQ(run({plain}).out.find("Clue:"), std::string::npos);
}

// Each round is saved as it ends; the statistics show between rounds, at the
// end and with --stats; --reset-stats needs --yes when no terminal can say
// yes; --no-save neither shows nor writes them.
TEST_F(WordgameInProcess, StatisticsAreSavedShownAndReset) {
  TempDir lists;
  const std::string list = lists.WriteFile("list", "cat\n");
  ProgramResult won = RunInProcess(RunWordgame, {list}, "c\na\nt\nn\n");
  EXPECT_EQ(won.err, "");
  const std::string stats = "Rounds played: 1, won 1 (100%), lost 0.\n";
  EXPECT_NE(won.out.find("Score: 1 won, 0 lost, winning streak 1.\n" + stats),
            std::string::npos)
      << won.out;
  EXPECT_NE(
      won.out.find("Final score: 1 won, 0 lost, winning streak 1.\n" + stats),
      std::string::npos);
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"}).out.rfind(stats, 0), 0u);

  ProgramResult unasked = RunInProcess(RunWordgame, {"--reset-stats"}, "y\n");
  EXPECT_EQ(unasked.status, 1);
  EXPECT_EQ(unasked.err,
            "wordgame: --reset-stats asks first, and standard input is not a "
            "terminal to answer on: add --yes\n");
  ProgramResult reset = RunInProcess(RunWordgame, {"--reset-stats", "--yes"});
  EXPECT_EQ(reset.status, 0);
  EXPECT_EQ(reset.out, "The statistics are reset.\n");
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"}).out,
            "No rounds played yet.\n");

  ProgramResult unsaved =
      RunInProcess(RunWordgame, {"--no-save", list}, "c\na\nt\nn\n");
  EXPECT_EQ(unsaved.out.find("Rounds played"), std::string::npos);
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"}).out,
            "No rounds played yet.\n");
  fs::remove_all(state_.path() + "/wordgame");
  RunInProcess(RunWordgame, {"--no-save", list}, "c\na\nt\nn\n");
  EXPECT_FALSE(fs::exists(state_.path() + "/wordgame"));
}

// On a terminal --reset-stats asks, and only a yes resets.
TEST_F(WordgameInProcess, ResetAsksOnATerminal) {
  if (!TerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here";
  TempDir lists;
  RunInProcess(RunWordgame, {lists.WriteFile("list", "cat\n")}, "!\nn\n");
  for (const std::string answer : {"\n", "yes\n"}) {
    int master, slave;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(write(master, answer.data(), answer.size()),
              static_cast<ssize_t>(answer.size()));
    std::FILE* in = fdopen(slave, "r");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(RunWordgame({"--reset-stats"}, in, out, err), 0);
    std::fclose(in);
    close(master);
    EXPECT_EQ(ReadAndClose(err), "");
    EXPECT_EQ(ReadAndClose(out),
              "Reset the statistics of 1 round to zero? The recently played "
              "words are kept. [y/N] " +
                  std::string(answer == "\n" ? "Nothing reset.\n"
                                             : "The statistics are reset.\n"));
  }
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"}).out,
            "No rounds played yet.\n");
}

// A damaged state file, or a folder where none can be made, costs one line
// on standard error; play goes on and ends with status 0.
TEST_F(WordgameInProcess, BadStateIsNeverFatal) {
  TempDir lists;
  const std::string list = lists.WriteFile("list", "cat\n");
  const std::string file = state_.path() + "/wordgame/state";
  fs::create_directories(state_.path() + "/wordgame");
  lists.WriteFile("junk", "junk\n");
  fs::copy_file(lists.path() + "/junk", file);
  ProgramResult damaged = RunInProcess(RunWordgame, {list}, "cat\nn\n");
  EXPECT_EQ(damaged.status, 0);
  EXPECT_EQ(damaged.err, "wordgame: " + file +
                             " is damaged (not a wordgame state file of "
                             "version 1); set aside as " +
                             file + ".bad, statistics start afresh\n");
  EXPECT_TRUE(fs::exists(file + ".bad"));
  setenv("XDG_STATE_HOME", "/dev/null", 1);
  ProgramResult unwritable =
      RunInProcess(RunWordgame, {list}, "cat\ny\ncat\nn\n");
  EXPECT_EQ(unwritable.status, 0);
  EXPECT_EQ(unwritable.err,
            "wordgame: statistics not saved: cannot create "
            "/dev/null/wordgame: Not a directory\n");
  EXPECT_EQ(Count(unwritable.out, "You won!"), 2);
}

// A new session plays the words the last one did not before those it did
// (saved in UTF-8, whatever their codes), and once all were played, it
// holds back the two played last.
TEST_F(WordgameInProcess, NoWordComesBackInTheNextSession) {
  TempDir lists;
  const std::string list = lists.WriteFile("list",
                                           "ant\nb\xC3\xA9"
                                           "e\ncat\nd\xC3\xB6g\n");
  Words first = Secrets(RunInProcess(RunWordgame, {list}, "!\ny\n!\nn\n").out);
  Words next = Secrets(RunInProcess(RunWordgame, {list}, "!\ny\n!\nn\n").out);
  ASSERT_EQ(first.size() + next.size(), 4u);
  first.insert(first.end(), next.begin(), next.end());
  EXPECT_EQ(std::set<std::string>(first.begin(), first.end()).size(), 4u);
  const Words third = Secrets(RunInProcess(RunWordgame, {list}, "!\nn\n").out);
  ASSERT_EQ(third.size(), 1u);
  EXPECT_TRUE(third[0] == first[0] || third[0] == first[1]) << third[0];
}

// A list's own letters: on the letters line, guessed in either case, and
// with --fold-accents a letter finds its accented forms.
TEST_F(WordgameInProcess, LettersOfAnyAlphabetArePlayed) {
  TempDir lists;
  const std::string list =
      lists.WriteFile("list", "\xC3\xA9t\xC3\xA9\nl'\xC3\xA9t\xC3\xA9\n");
  ProgramResult plain =
      RunInProcess(RunWordgame, {"--no-save", list}, "e\n\xC3\x89\nT\n");
  EXPECT_NE(plain.out.find("1 line skipped"), std::string::npos);
  EXPECT_NE(plain.out.find("No \"e\" in the word."), std::string::npos);
  EXPECT_NE(plain.out.find("Yes, \"\xC3\xA9\" is in the word 2 times.\n"
                           "\n  +---+\n  |   |\n"),
            std::string::npos)
      << plain.out;
  EXPECT_NE(
      plain.out.find("Word:    \xC3\xA9 _ \xC3\xA9\nLetters: a b c d - f"),
      std::string::npos);
  EXPECT_NE(plain.out.find(" y z \xC3\x89\nMissed:  e  (6 misses left)"),
            std::string::npos);
  EXPECT_NE(plain.out.find("You won! The word was \"\xC3\xA9t\xC3\xA9\"."),
            std::string::npos);
  ProgramResult folded = RunInProcess(
      RunWordgame, {"--no-save", "--fold-accents", list}, "e\n\xC3\xA9\nt\n");
  EXPECT_NE(folded.out.find("Yes, \"e\" is in the word 2 times.\n"),
            std::string::npos)
      << folded.out;
  // A hint with folding shows every letter its letter stands for.
  ProgramResult hinted = RunInProcess(
      RunWordgame,
      {"--no-save", "--fold-accents", lists.WriteFile("mixed", "\xC3\xA9te\n")},
      "+\nt\n");
  EXPECT_NE(hinted.out.find("A hint: \"e\" is in the word 2 times"),
            std::string::npos)
      << hinted.out;
  EXPECT_NE(hinted.out.find("You won!"), std::string::npos);
  // With folding é stands for e, and is named so.
  EXPECT_NE(folded.out.find("You already tried \"e\"."), std::string::npos)
      << folded.out;
  EXPECT_NE(folded.out.find("Letters: a b c d E f g"), std::string::npos);
  EXPECT_EQ(folded.out.find("z \xC3"), std::string::npos);  // no é on the line
  EXPECT_NE(folded.out.find("You won!"), std::string::npos);
  // The terse line and a hint show the list's letters, not their codes.
  ProgramResult terse =
      RunInProcess(RunWordgame, {"--no-save", "--terse", list}, "+\n");
  EXPECT_NE(terse.out.find("\"\xC3\xA9\" is in the word 2 times, for one miss. "
                           "Word: \xC3\xA9 _ \xC3\xA9. 6 misses left."),
            std::string::npos)
      << terse.out;
}

// The daily word: the same for a list and a date whatever the order of the
// file (or its repeats), another each day of as many as the list has words,
// today's by default, none later; played once, then that day's result is
// shown.
TEST_F(WordgameInProcess, DailyWordIsSharedPlayedOnceAndShownAgain) {
  TempDir lists;
  const std::string a =
      lists.WriteFile("a", "ant\nbee\ncat\ndog\nelk\nfox\ngnu\n");
  const std::string b =
      lists.WriteFile("b", "gnu\nFox\n\nelk\ndog\ncat\nbee\nant\nant\n");
  Words week;
  for (int day = 9; day <= 15; ++day) {
    const std::string date =
        "--daily=2025-12-" + std::to_string(100 + day).substr(1);
    const Words one =
        Secrets(RunInProcess(RunWordgame, {"--no-save", date, a}, "!\n").out);
    ASSERT_EQ(one.size(), 1u) << date;
    EXPECT_EQ(
        Secrets(RunInProcess(RunWordgame, {"--no-save", b, date}, "!\n").out),
        one);
    week.push_back(one[0]);
  }
  // A date's word stays the same in every version of the game.
  EXPECT_EQ(week, (Words{"elk", "fox", "bee", "gnu", "dog", "cat", "ant"}));
  char today[16];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::strftime(today, sizeof today, "%F", localtime_r(&now, &local));
  EXPECT_NE(RunInProcess(RunWordgame, {"--no-save", "--daily", a}, "!\n")
                .out.find(std::string("The daily word of ") + today),
            std::string::npos);
  const ProgramResult later =
      RunInProcess(RunWordgame, {"--daily", "9999-12-31", a}, "!\n");
  EXPECT_EQ(later.status, 1);
  EXPECT_EQ(later.err.find("wordgame: the daily word of 9999-12-31 is not "
                           "out yet (today is "),
            0u)
      << later.err;

  ProgramResult first =
      RunInProcess(RunWordgame, {"--daily", "2025-12-09", a}, "z\n!\n");
  EXPECT_EQ(first.status, 0);
  // The list is named by its identity, whatever the file's order.
  const std::string share =
      "wordgame daily 2025-12-09 (list " +
      Hex(ListId(WordViews{"ant", "bee", "cat", "dog", "elk", "fox", "gnu"}) >>
              32,
          8);
  const std::string end = "): not solved, 1 miss\n";
  ASSERT_NE(first.out.find(share), std::string::npos) << first.out;
  EXPECT_EQ(first.out.substr(first.out.size() - end.size()), end);
  const std::string result = first.out.substr(first.out.find(share));
  ProgramResult again =
      RunInProcess(RunWordgame, {"--daily", "2025-12-09", b}, "");
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.err, "");
  EXPECT_EQ(again.out,
            "You have played the daily word of 2025-12-09 already.\n"
            "Daily words: 1 played, 0 solved; daily streak 0, best 0.\n" +
                result);
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"}).out,
            "No rounds played yet.\n"
            "Daily words: 1 played, 0 solved; daily streak 0, best 0.\n");
}

// Two players take turns; the setter's word is checked before play and not
// shown before its round ends; the guesser wins by finding it, else the
// setter; the statistics stay as they are.
// A round left unfinished: its word, now shown, counts as played, so it
// does not come back next time; after a miss the round counts as lost, so
// leaving cannot dodge a loss.
TEST_F(WordgameInProcess, LeavingARoundNeitherBringsItsWordBackNorDodgesALoss) {
  TempDir lists;
  const std::string one = lists.WriteFile("one", "cat\n");
  const std::string shown =
      RunInProcess(RunWordgame, {lists.WriteFile("two", "cat\ncow\n")}, "").out;
  const std::string word = shown.substr(shown.find("\"c") + 1, 3);
  EXPECT_NE(ReadFile(state_.path() + "/wordgame/state").find(" 2 " + word),
            std::string::npos)
      << shown;
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"}).out,
            "No rounds played yet.\n");
  ProgramResult left = RunInProcess(RunWordgame, {one}, "c\na\nt\ny\nz\n");
  EXPECT_NE(left.out.find("The word was \"cat\". It counts as lost.\n"
                          "Final score: 1 won, 1 lost, winning streak 0."),
            std::string::npos)
      << left.out;
  EXPECT_EQ(RunInProcess(RunWordgame, {"--stats"})
                .out.rfind("Rounds played: 2, won 1 (50%), lost 1.\n"
                           "Winning streak across sessions: 0, best 1.\n",
                           0),
            0u);
}

TEST_F(WordgameInProcess, TwoPlayersTakeTurns) {
  ProgramResult r = RunInProcess(
      RunWordgame, {"--names", "Ann,Bob"},
      "c4t\n\n" + std::string(65, 'x') + "\nCat\nc\na\nt\ny\ndog\n!\nn\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("Two players, Ann and Bob: the guesser wins a round "
                        "by finding the word, the setter when it is not "
                        "found.\n",
                        0),
            0u);
  const std::string ask =
      "Ann, type a word for Bob to guess (it does not "
      "show): ";
  EXPECT_NE(r.out.find(ask +
                       "Letters a to z only, please; type the word "
                       "again.\n" +
                       ask + "Type a word of letters a to z, then Enter.\n" +
                       ask + "That is 65 letters; at most 64, please.\n" + ask +
                       "\nBob, guess Ann's word of 3 letters.\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("cat"),
            r.out.find("Bob found it. The word was \"cat\". A win for Bob.\n"
                       "Score: Ann: 0 won, 1 lost, winning streak 0. Bob: 1 "
                       "won, 0 lost, winning streak 1.\n") +
                28);
  EXPECT_NE(r.out.find("Bob, type a word for Ann to guess"), std::string::npos);
  EXPECT_NE(r.out.find("Ann gave up. The word was \"dog\". A win for Bob.\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("Final score: Ann: 0 won, 2 lost, winning streak 0. "
                       "Bob: 2 won, 0 lost, winning streak 2.\n"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(state_.path() + "/wordgame"));
}

TEST_F(WordgameInProcess, FolderThatCannotBeMadeIsReportedBeforeAnyBoard) {
  TempDir lists;
  std::string list = lists.WriteFile("list", "cat\n");
  const std::string long_name = "/" + std::string(5000, 'x');
  for (const auto& [tmpdir, reason] :
       {std::pair<std::string, std::string>{tmp_.path() + "/missing",
                                            "No such file or directory"},
        {long_name, "File name too long"}}) {
    setenv("TMPDIR", tmpdir.c_str(), 1);
    ProgramResult r = RunInProcess(RunWordgame, {list}, "c\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string("wordgame: cannot create a game folder in ")
                         .append(tmpdir)
                         .append(": ")
                         .append(reason)
                         .append("\n"));
    EXPECT_EQ(r.out.find("Word:"), std::string::npos);
  }
}

std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// Runs wordgame in its own folder (here_) with a private TMPDIR, which must
// be empty again once the program has ended.
class Wordgame : public ::testing::Test {
 protected:
  ProgramResult Run(RunOptions options, std::vector<std::string> args = {}) {
    args.insert(args.begin(), WORDGAME_PATH);
    options.cwd = here_.path();
    options.env.push_back("TMPDIR=" + tmp_.path());
    options.env.push_back("XDG_STATE_HOME=" + state_.path());
    ProgramResult r = RunProgram(args, options);
    EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
    return r;
  }
  ProgramResult Run(const std::string& input,
                    std::vector<std::string> args = {}) {
    RunOptions options;
    options.input = input;
    return Run(options, std::move(args));
  }
  // Plays with a dict.txt of `words` in the program's folder.
  ProgramResult Play(const std::string& words, const std::string& input) {
    here_.WriteFile("dict.txt", words);
    return Run(input);
  }
  // Starts the session "game" at 80x24 in `tmux`, running the shell
  // `script` with $0 the game, $1 its folder, $2 TMPDIR and $3 the state's.
  int StartScript(Tmux& tmux, const std::string& script) {
    return tmux
        .Do({"new-session", "-d", "-s", "game", "-x", "80", "-y", "24",
             "/bin/sh", "-c", script, WORDGAME_PATH, here_.path(), tmp_.path(),
             state_.path()})
        .status;
  }

  TempDir here_;
  TempDir tmp_;
  TempDir state_;
};

// An interrupt shows the word, then ends the program by the signal itself,
// so that a shell running it sees it killed (and a script stops), not exit.
TEST_F(Wordgame, AnInterruptEndsTheProgramByItsSignal) {
  here_.WriteFile("dict.txt", "cat\n");
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[1]);
    close(out[0]);
    std::signal(SIGINT, SIG_DFL);
    if (chdir(here_.path().c_str()) == 0) {
      setenv("TMPDIR", tmp_.path().c_str(), 1);
      execl(WORDGAME_PATH, WORDGAME_PATH, "--no-save", nullptr);
    }
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  // Waits for the prompt, which shows the game reads its input.
  std::string shown;
  char bytes[256];
  ssize_t n;
  while (shown.find("Guess a letter or") == std::string::npos &&
         (n = read(out[0], bytes, sizeof bytes)) > 0) {
    shown.append(bytes, static_cast<std::size_t>(n));
  }
  kill(child, SIGINT);
  while ((n = read(out[0], bytes, sizeof bytes)) > 0) {
    shown.append(bytes, static_cast<std::size_t>(n));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(in[1]);
  close(out[0]);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
  EXPECT_NE(shown.find("The word was \"cat\"."), std::string::npos) << shown;
}

TEST_F(Wordgame, PipedGameKeepsTheSecretUntilTheRoundEnds) {
  ProgramResult r = Play("quixotic\n", "e\nz\nq\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("Word:    q _ _ _ _ _ _ _\n"), std::string::npos);
  EXPECT_NE(r.out.find("Missed:  e z  (5 misses left)\n"), std::string::npos);
  // The first sight of the word is its reveal at the end of input.
  EXPECT_EQ(
      r.out.find("quixotic"),
      r.out.find("Round left unfinished. The word was \"quixotic\".") + 37);
  EXPECT_NE(r.out.find("\". It counts as lost.\nFinal score: 0 won, 1 lost, "
                       "winning streak 0.\n"),
            std::string::npos);
}

TEST_F(Wordgame, DictTxtHereIsTidiedButLeftAsItIs) {
  const std::string words = "  Cat\r\n\r\nice cream\n";
  ProgramResult r = Play(words, "c\na\nt\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(
      r.out.rfind("Words: ./dict.txt, 1 word.\ndict.txt: 1 line skipped", 0),
      0u)
      << r.out;
  EXPECT_NE(r.out.find("You won! The word was \"cat\"."), std::string::npos);
  EXPECT_EQ(Listing(here_.path()), std::vector<std::string>{"dict.txt"});
  EXPECT_EQ(ReadFile(here_.path() + "/dict.txt"), words);
}

TEST_F(Wordgame, FileArgumentComesBeforeDictTxt) {
  here_.WriteFile("dict.txt", "dog\n");
  here_.WriteFile("mine.txt", "cat\n");
  ProgramResult r = Run("cat\n", {"mine.txt"});
  EXPECT_NE(r.out.find("You won! The word was \"cat\"."), std::string::npos);
}

TEST_F(Wordgame, ShippedListWithoutDictTxt) {
  ProgramResult r = Run("!\n");
  EXPECT_EQ(r.status, 0);
  const Words secrets = Secrets(r.out);
  ASSERT_EQ(secrets.size(), 1u) << r.out;
  const std::string& secret = secrets[0];
  std::ifstream list(WORDS_PATH);
  std::set<std::string> words;
  for (std::string w; std::getline(list, w);) words.insert(w);
  EXPECT_EQ(words.count(secret), 1u) << secret;
  // Messages name it by a path without "..".
  const fs::path share = fs::path(WORDGAME_PATH).parent_path().parent_path();
  EXPECT_EQ(Run("", {"-l", "64"}).err,
            "wordgame: " + (share / "share/wordgame/words").string() +
                ": no words left: no words of 64 letters\n");
}

// Two rounds of the shipped list on a 16 KiB stack: no large buffer is on
// the stack on the way to the deepest calls, where the list is read and the
// state file is read back, changed and written to record a round. The game
// runs alone on its stack, with only the environment it needs, as those
// strings share the stack. (The sanitizer's runtime alone needs more.)
#if !defined(__SANITIZE_ADDRESS__)
TEST_F(Wordgame, PlaysOnASmallStack) {
  // The two rounds on a stack of `limit` bytes with `pad` bytes more of
  // environment, the stack's start fixed or not.
  auto play = [&](unsigned long long limit, bool fixed, std::size_t pad) {
    RunOptions options;
    options.input = "!\ny\n!\n";
    options.stack_limit = limit;
    options.fixed_stack_start = fixed;
    options.env = {"TMPDIR=" + tmp_.path(), "XDG_STATE_HOME=" + state_.path(),
                   "PAD=" + std::string(pad, 'x')};
    options.env_only = true;
    options.cwd = here_.path();
    return RunProgram({WORDGAME_PATH}, options);
  };
  // The kernel starts the stack up to 8 KiB lower at random.
  int played = 0;
  for (int run = 0; run < 5; ++run) {
    ProgramResult r = play(16 << 10, false, 0);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Secrets(r.out).size(), 2u);
    played += 2;
    EXPECT_NE(r.out.find("Rounds played: " + std::to_string(played)),
              std::string::npos);
  }
  // Those runs fail only now and then when the game needs too much. The
  // lowest start leaves 8 KiB of the 16; with the start fixed, a run at
  // 8 KiB behind 3 KiB more of environment fails whenever the whole run
  // needs more than 5 KiB: the promise kept with 3 KiB to spare, each time.
  // (Before main the dynamic loader needs 4 KiB: a larger margin would
  // test the loader.)
  if (testutil::StackStartCanBeFixed()) {
    ProgramResult r = play(8 << 10, true, 3 << 10);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Rounds played: " + std::to_string(played + 2)),
              std::string::npos);
  }
  EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
}
#endif

TEST_F(Wordgame, UnusableWordListsAreOneLineErrors) {
  fs::create_directory(here_.path() + "/folder");
  here_.WriteFile("empty", "");
  here_.WriteFile("blank", "\n \r\n42\n");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"missing", "wordgame: missing: No such file or directory\n"},
      {"folder", "wordgame: folder: Is a directory\n"},
      {"/proc/self/mem", "wordgame: /proc/self/mem: Input/output error\n"},
      {"empty", "wordgame: empty: no words to play (one word a line)\n"},
      {"blank", "wordgame: blank: no words to play (one word a line)\n"},
  };
  for (const auto& [file, message] : cases) {
    ProgramResult r = Run("a\n", {file});
    EXPECT_EQ(r.status, 1) << file;
    EXPECT_EQ(r.out, "") << file;
    EXPECT_EQ(r.err, message);
  }
  // A file beyond the limit (sparse, so cheap to make) is not read whole.
  ASSERT_EQ(truncate(here_.WriteFile("big", "").c_str(), (64 << 20) + 1), 0);
  EXPECT_EQ(Run("a\n", {"big"}).err,
            "wordgame: big: larger than 64 MiB, too large for a word list\n");
  // A large list is announced before the wait for it.
  ASSERT_EQ(truncate(here_.WriteFile("large", "").c_str(), 8 << 20), 0);
  EXPECT_EQ(Run("a\n", {"large"}).err,
            "wordgame: reading the word list large (8 MiB)...\n"
            "wordgame: large: no words to play (one word a "
            "line)\n");
  // Nothing but a regular file is read: a FIFO would wait for ever.
  ASSERT_EQ(mkfifo((here_.path() + "/fifo").c_str(), 0600), 0);
  for (const std::string file : {"/dev/zero", "fifo"}) {
    ProgramResult r = Run("a\n", {file});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "wordgame: " + file + ": not a regular file\n");
  }
  fs::rename(here_.path() + "/fifo", here_.path() + "/dict.txt");
  EXPECT_EQ(Run("a\n").err, "wordgame: dict.txt: not a regular file\n");
  fs::remove(here_.path() + "/dict.txt");
  fs::create_directory(here_.path() + "/dict.txt");
  ProgramResult r = Run("a\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "wordgame: dict.txt: Is a directory\n");
}

TEST_F(Wordgame, StreamsThatCannotBeUsedAreErrors) {
  here_.WriteFile("dict.txt", "cat\n");
  RunOptions options = WithStdout(Stdout::kFull);
  options.input = "c\na\nt\n";
  ProgramResult full = Run(options);
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "wordgame: write error: No space left on device\n");
  ProgramResult closed = Run(WithStdout(Stdout::kClosed));
  EXPECT_EQ(closed.status, 1);
  EXPECT_EQ(closed.err, "wordgame: write error: Bad file descriptor\n");
  RunOptions no_input;
  no_input.stdin_closed = true;
  ProgramResult unread = Run(no_input);
  EXPECT_EQ(unread.status, 1);
  EXPECT_EQ(unread.out, "");
  EXPECT_EQ(unread.err, "wordgame: read error: Bad file descriptor\n");
}

TEST_F(Wordgame, ReaderThatGoesAwayEndsTheGameWithAWriteError) {
  // head stops reading after a few bytes; wordgame must notice the failed
  // writes, stop and remove its folder (checked by Run), instead of playing
  // on or dying with its folder left behind. Its own status goes to the
  // shell's standard error.
  here_.WriteFile("dict.txt", "cat\n");
  std::string guesses = "q\n";
  for (int i = 0; i < 20000; ++i) guesses += "y\n!\n";
  RunOptions options;
  options.input = guesses;
  options.cwd = here_.path();
  options.env = {"TMPDIR=" + tmp_.path(), "XDG_STATE_HOME=" + state_.path()};
  ProgramResult r = RunProgram(
      {"/bin/sh", "-c", "{ \"$0\"; echo \"status $?\" >&2; } | head -c 10",
       WORDGAME_PATH},
      options);
  EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
  EXPECT_EQ(r.out, "Words: ./d");
  EXPECT_EQ(r.err, "wordgame: write error: Broken pipe\nstatus 1\n");
}

// A list too large for the limit on file size, or for a full TMPDIR, stops
// the game before any board, with the folder removed and the reason given.
TEST_F(Wordgame, NoRoomForTheListStopsBeforeAnyBoard) {
  std::string big;
  for (int i = 0; i < 30000; ++i) {
    for (int n = i, k = 0; k < 4; ++k, n /= 26) big += char('a' + n % 26);
    big += '\n';
  }
  here_.WriteFile("big", big);
  RunOptions options;
  options.cwd = here_.path();
  options.env = {"TMPDIR=" + tmp_.path(), "XDG_STATE_HOME=" + state_.path()};
  auto expect_refused = [&](const ProgramResult& r, const std::string& why) {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out.find("Word:"), std::string::npos);
    const std::string start = "wordgame: cannot start a game: " + tmp_.path();
    EXPECT_EQ(r.err.rfind(start + "/wordgame.", 0), 0u) << r.err;
    EXPECT_EQ(r.err.substr(r.err.find("/dict.txt: ")), "/dict.txt: " + why);
  };
  // A round writes a few words only, so no room at all is what stops it.
  expect_refused(RunProgram({"/bin/sh", "-c", "ulimit -f 0; exec \"$0\" big",
                             WORDGAME_PATH},
                            options),
                 "File too large\n");
  EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
  // A small file system of its own over TMPDIR, seen by this child only; the
  // listing after the game shows what it left there.
  if (RunProgram({"/usr/bin/unshare", "-m", "/bin/true"}).status != 0) {
    GTEST_SKIP() << "no private mounts here";
  }
  ProgramResult full =
      RunProgram({"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                  // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): a script
                  "mount -t tmpfs -o size=64k none \"$1\" || exit 99\n"
                  "cat /dev/zero >\"$1/fill\" 2>/dev/null\n"
                  "\"$0\" big; status=$?; rm \"$1/fill\"\n"
                  "ls -A \"$1\" >&2; exit $status",
                  WORDGAME_PATH, tmp_.path()},
                 options);
  if (full.status == 99) GTEST_SKIP() << "no tmpfs mounts here";
  expect_refused(full, "No space left on device\n");
}

// A reset beyond the file-size limit says so and leaves the old file alone.
TEST_F(Wordgame, ResetBeyondTheFileSizeLimitFailsCleanly) {
  std::string words;
  for (std::size_t i = 0; i < 5000; ++i) {
    words += ' ';
    for (std::size_t n = i, k = 0; k < 4; ++k, n /= 26)
      words += char('a' + n % 26);
  }
  const std::string state =
      "wordgame-state 1\nplayed 1\nwon 0\nlost 1\nstreak 0\n"
      "best-streak 0\nwins-by-misses\nrecent 0000000000000001 9999" +
      words + "\nend\n";
  fs::create_directory(state_.path() + "/wordgame");
  std::ofstream(state_.path() + "/wordgame/state") << state;
  RunOptions options;
  options.env = {"XDG_STATE_HOME=" + state_.path()};
  ProgramResult r = RunProgram(
      {"/bin/sh", "-c", "ulimit -f 8; exec \"$0\" --reset-stats --yes",
       WORDGAME_PATH},
      options);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "wordgame: statistics not saved: cannot write " +
                       state_.path() + "/wordgame/state.new: File too large\n");
  EXPECT_EQ(ReadFile(state_.path() + "/wordgame/state"), state);
  EXPECT_FALSE(fs::exists(state_.path() + "/wordgame/state.new"));
}

// The full screen on a real terminal emulator at 80x24, resized to 30x8 and
// back: the board with its clue, a guess, the smaller layout, a round won
// with the statistics shown, quitting with Esc in the next; then the
// terminal's modes as before, the word, the score, the statistics and the
// note that they could not be saved left on the normal screen, and no files
// behind.
TEST_F(Wordgame, FullScreenInATerminalEmulator) {
  if (std::string(TMUX_PATH).empty()) GTEST_SKIP() << "tmux is not installed";
  here_.WriteFile("dict.txt", "[animals]\ncat\ncat's\n");
  // The state file cannot be replaced: the note waits until the screen is
  // given back.
  fs::create_directories(state_.path() + "/wordgame/state.new");
  Tmux tmux(here_);
  const std::string script =
      "cd \"$1\" && stty -a >before && TMPDIR=\"$2\" XDG_STATE_HOME=\"$3\" "
      "NO_COLOR= \"$0\"; s=$?; stty -a >after; echo \"status $s\"";
  ASSERT_EQ(StartScript(tmux, script), 0);
  ASSERT_TRUE(tmux.WaitFor("A new word of 3 letters.")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "x"});
  ASSERT_TRUE(tmux.WaitFor("misses 1 of 7: x")) << tmux.Screen();
  std::string large = tmux.Screen();
  EXPECT_NE(large.find("+---+"), std::string::npos) << large;
  EXPECT_NE(large.find("clue: animals"), std::string::npos) << large;
  EXPECT_NE(large.find("_ _ _"), std::string::npos) << large;
  EXPECT_NE(large.find("No \"x\" in the word."), std::string::npos) << large;
  EXPECT_NE(
      tmux.Do({"capture-pane", "-p", "-e", "-t", "game"}).out.find("\033[31mx"),
      std::string::npos);  // the miss in red
  tmux.Do({"resize-window", "-t", "game", "-x", "30", "-y", "8"});
  ASSERT_TRUE(tmux.WaitFor("+---+", false)) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "c"});
  ASSERT_TRUE(tmux.WaitFor("c _ _")) << tmux.Screen();
  std::string small = tmux.Screen();
  EXPECT_EQ(small.find("+---+"), std::string::npos) << small;
  EXPECT_NE(small.find("misses 1 of 7"), std::string::npos) << small;
  tmux.Do({"resize-window", "-t", "game", "-x", "80", "-y", "24"});
  ASSERT_TRUE(tmux.WaitFor("+---+")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "a", "t"});
  ASSERT_TRUE(tmux.WaitFor("Rounds played: 1, won 1 (100%), lost 0."))
      << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Enter"});
  ASSERT_TRUE(tmux.WaitFor("Rounds played", false)) << tmux.Screen();
  // Esc quits a window too small for the board too.
  tmux.Do({"resize-window", "-t", "game", "-x", "15", "-y", "4"});
  ASSERT_TRUE(tmux.WaitFor("Esc quits")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Escape"});
  ASSERT_TRUE(tmux.WaitFor("status ")) << tmux.Screen();
  std::string after = tmux.Screen();
  EXPECT_NE(after.find("dict.txt: 1 line skipped (not one word of up to 64 "
                       "letters, nor a [category]): line 3.\n"
                       "Round left unfinished. The word was \"cat\".\n"
                       "Final score: 1 won, 0 lost, winning streak 1.\n"
                       "Rounds played: 1, won 1 (100%), lost 0.\n"),
            std::string::npos)
      << after;
  EXPECT_NE(after.find("wordgame: statistics not saved: cannot write " +
                       state_.path() +
                       "/wordgame/state.new: Is a directory\n"
                       "status 0\n"),
            std::string::npos)
      << after;
  EXPECT_EQ(after.find("+---+"), std::string::npos) << after;
  // The modes as before (both files are whole: "status" comes after them);
  // the first line is the window's size.
  auto modes = [&](const std::string& file) {
    const std::string all = ReadFile(here_.path() + "/" + file);
    return all.substr(std::min(all.find('\n'), all.size()));
  };
  EXPECT_NE(modes("before").find("echo"), std::string::npos);
  EXPECT_EQ(modes("after"), modes("before"));
  EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
}

// A terminal without an alternate screen (vt100, the Linux console) is
// cleared on the way out: the goodbye lines stand alone, not over the board.
// Its Backspace key is Ctrl-H, yet the DEL that most keyboards send erases
// too.
TEST_F(Wordgame, WithoutAnAlternateScreenTheBoardIsErased) {
  if (std::string(TMUX_PATH).empty()) GTEST_SKIP() << "tmux is not installed";
  here_.WriteFile("dict.txt", "cat\n");
  Tmux tmux(here_);
  const std::string script =
      "cd \"$1\" && TERM=vt100 TMPDIR=\"$2\" \"$0\" --no-save; "
      "echo \"status $?\"";
  ASSERT_EQ(StartScript(tmux, script), 0);
  ASSERT_TRUE(tmux.WaitFor("A new word of 3 letters.")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Enter", "c", "a", "BSpace", "t"});
  ASSERT_TRUE(tmux.WaitFor("word: ct")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Escape"});  // back to letters
  ASSERT_TRUE(tmux.WaitFor("word: ct", false)) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Escape"});
  ASSERT_TRUE(tmux.WaitFor("status ")) << tmux.Screen();
  // The screen as it stands (a cleared one goes to tmux's history).
  const std::string after =
      tmux.Do({"capture-pane", "-p", "-J", "-t", "game"}).out;
  EXPECT_EQ(after.find("?: help"), std::string::npos) << after;
  EXPECT_EQ(after.find("_ _ _"), std::string::npos) << after;
  EXPECT_NE(after.find("\nRound left unfinished. The word was \"cat\".\n"),
            std::string::npos)
      << after;
}

// The cursor shows where a word is typed, and is hidden otherwise.
TEST_F(Wordgame, TheCursorShowsWhileAWordIsTyped) {
  if (std::string(TMUX_PATH).empty()) GTEST_SKIP() << "tmux is not installed";
  here_.WriteFile("dict.txt", "cat\n");
  Tmux tmux(here_);
  ASSERT_EQ(tmux.Do({"new-session", "-d", "-s", "game", "-c", here_.path(),
                     "/usr/bin/env", "TMPDIR=" + tmp_.path(),
                     "XDG_STATE_HOME=" + state_.path(), WORDGAME_PATH})
                .status,
            0);
  auto cursor = [&] {
    return tmux.Do({"display-message", "-p", "-t", "game", "#{cursor_flag}"})
        .out;
  };
  ASSERT_TRUE(tmux.WaitFor("A new word of 3 letters.")) << tmux.Screen();
  EXPECT_EQ(cursor(), "0\n");
  tmux.Do({"send-keys", "-t", "game", "Enter", "c", "a"});
  ASSERT_TRUE(tmux.WaitFor("word: ca")) << tmux.Screen();
  EXPECT_EQ(cursor(), "1\n");
  tmux.Do({"send-keys", "-t", "game", "Escape"});  // back to letters
  ASSERT_TRUE(tmux.WaitFor("word: ca", false)) << tmux.Screen();
  EXPECT_EQ(cursor(), "0\n");
  tmux.Do({"send-keys", "-t", "game", "C-d"});
  ASSERT_TRUE(tmux.WaitFor("Final score")) << tmux.Screen();
}

// On a terminal the line mode breaks long lines at blanks: no line of the
// screen, with what the terminal wrapped joined again, is wider than it. A
// terminal type that the library does not know is named as the reason.
TEST_F(Wordgame, LinesOnATerminalBreakAtBlanks) {
  if (std::string(TMUX_PATH).empty()) GTEST_SKIP() << "tmux is not installed";
  Tmux tmux(here_);
  const std::string script =
      "cd \"$1\" && TERM=foo TMPDIR=\"$2\" \"$0\" --names 'A long name of 20 "
      "ch,Another long name 20'; echo \"status $?\"";
  ASSERT_EQ(StartScript(tmux, script), 0);
  ASSERT_TRUE(tmux.WaitFor("show): ")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "C-d"});
  ASSERT_TRUE(tmux.WaitFor("status 0")) << tmux.Screen();
  const std::string screen = tmux.Screen();
  EXPECT_NE(screen.find("wordgame: unknown terminal type \"foo\" (TERM): "
                        "playing a line at a time\n"),
            std::string::npos)
      << screen;
  for (std::size_t at = 0, end;
       (end = screen.find('\n', at)) != std::string::npos; at = end + 1) {
    EXPECT_LE(end - at, 80u) << screen.substr(at, end - at);
  }
}

// A letter beyond a to z is one key, in capitals too, and one character on
// the word line, whatever the locale says.
TEST_F(Wordgame, LettersOfAnyAlphabetAreTypedOnTheFullScreen) {
  if (std::string(TMUX_PATH).empty()) GTEST_SKIP() << "tmux is not installed";
  here_.WriteFile("dict.txt", "\xC3\xA9t\xC3\xA9\n");  // été
  Tmux tmux(here_);
  ASSERT_EQ(tmux.Do({"new-session", "-d", "-s", "game", "-c", here_.path(),
                     "/usr/bin/env", "-u", "LANG", "-u", "LC_ALL",
                     "TMPDIR=" + tmp_.path(), WORDGAME_PATH, "--no-save"})
                .status,
            0);
  ASSERT_TRUE(tmux.WaitFor("A new word of 3 letters.")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "\xC3\x89"});  // É
  ASSERT_TRUE(tmux.WaitFor("\xC3\xA9 _ \xC3\xA9")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("y z \xC3\x89"), std::string::npos);
  tmux.Do({"send-keys", "-t", "game", "Enter", "\xC3\xA9t\xC3\xA9"});
  ASSERT_TRUE(tmux.WaitFor("word: \xC3\xA9t\xC3\xA9")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Enter"});
  ASSERT_TRUE(tmux.WaitFor("You won! The word was \"\xC3\xA9t\xC3\xA9\"."))
      << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "q"});
  ASSERT_TRUE(tmux.WaitFor("Final score")) << tmux.Screen();
}

TEST_F(Wordgame, ColourAndBoardSizeFollowTheTerminal) {
  if (!TerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here";
  here_.WriteFile("dict.txt", "cat\n");
  EXPECT_EQ(Run("x\n").out.find('\033'), std::string::npos);
  auto on_terminal = [&](const std::string& term, const std::string& no_colour,
                         int rows) {
    RunOptions options = WithStdout(Stdout::kTerminal);
    options.env = {"TERM=" + term, "NO_COLOR=" + no_colour};
    options.rows = rows;
    ProgramResult r = Run(options);
    EXPECT_NE(r.out.find("A new word"), std::string::npos) << r.out;
    return r.out;
  };
  std::string coloured = on_terminal("xterm", "", 24);
  EXPECT_NE(coloured.find("\033["), std::string::npos);
  EXPECT_NE(coloured.find("+---+"), std::string::npos);
  EXPECT_EQ(on_terminal("xterm", "1", 24).find('\033'), std::string::npos);
  // A terminal that shows only lines plays terse (no gallows, no colour),
  // unless --line.
  const std::string dumb = on_terminal("dumb", "", 24);
  EXPECT_NE(dumb.find("\nWord: _ _ _. 7 misses left.\r\nGuess: "),
            std::string::npos);
  EXPECT_EQ(dumb.find_first_of("\033|"), std::string::npos) << dumb;
  RunOptions dumb_line = WithStdout(Stdout::kTerminal);
  dumb_line.env = {"TERM=dumb"};
  EXPECT_NE(Run(dumb_line, {"--line"}).out.find("+---+"), std::string::npos);
  std::string small = on_terminal("xterm", "", 10);
  EXPECT_EQ(small.find("+---+"), std::string::npos);
  EXPECT_NE(small.find("(misses 0 of 7)"), std::string::npos);
}

}  // namespace
