// The rounds as a player meets them in the line mode, driven through
// temporary files; reading guesses; the drawing.

#include "line/play.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/store_recorder.h"
#include "engine/ending_signals.h"
#include "engine/game_folder.h"
#include "line/echo_off.h"
#include "line/wrap.h"
#include "look/gallows.h"
#include "look/rules.h"
#include "wordgame_testing.h"

namespace {

using testutil::FileHolding;
using testutil::ReadAndClose;
using testutil::TerminalAvailable;

using namespace wordgame_testing;

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

class WordgameRounds : public PrivateTmpdir {
 protected:
  // Plays rounds over `words` with `input`; returns what the player saw.
  // With `daily`, the match is the daily word of 2026-12-09.
  std::string Play(const Words& words, const std::string& input, Look look = {},
                   bool daily = false) {
    GameFolder folder;
    std::string err;
    EXPECT_TRUE(folder.Open(&err)) << err;
    Deck deck(WordViews(words), 1);
    Match match(deck);
    if (daily) match.set_daily(20796, 20796, 0xab);
    std::FILE* in = FileHolding(input);
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(PlayRounds(folder, match, in, out, stderr, look, &err)) << err;
    std::fclose(in);
    return ReadAndClose(out);
  }
};

TEST_F(WordgameRounds, EachGuessGetsOneLineOfFeedbackAndTheScoreFollows) {
  std::string out = Play({"banana"}, "a\nx\nb\nn\n");
  EXPECT_NE(out.find("Type ? for help, + for a hint, ! to give up a round, "
                     "Ctrl-D to quit."),
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
                     "Play again? [Y/n] \n"
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
  EXPECT_EQ(Count(out, "That line is over the limit;"), 1);
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
                     "Play again? [Y/n] Final score: 1 won, 2 lost"),
            std::string::npos);
  EXPECT_EQ(Count(out, "A new word"), 3);
}

TEST_F(WordgameRounds, GivingUpOrLosingEndsTheWinningStreak) {
  std::string out =
      Play({"cat"}, "cat\ny\n!\ny\ncat\ny\nb\nd\ne\nf\ng\nh\ni\nn\n");
  EXPECT_NE(out.find("You gave up. The word was \"cat\".\n"
                     "Score: 1 won, 1 lost, winning streak 0.\n"),
            std::string::npos);
  EXPECT_NE(out.find("You lost. The word was \"cat\".\n"
                     "Score: 2 won, 2 lost, winning streak 0.\n"),
            std::string::npos);
}

TEST_F(WordgameRounds, AnEmptyAnswerPlaysOnAndOthersAskAgain) {
  std::string out = Play({"cat"}, "cat\n\ncat\nx\nmaybe\nn\n");
  EXPECT_NE(out.find("Yes, the word is \"cat\".\n"), std::string::npos);
  // A word guessed whole shows its letters as found.
  EXPECT_NE(
      out.find("Letters: A b C d e f g h i j k l m n o p q r s T u v w x y "
               "z\n"),
      std::string::npos);
  EXPECT_EQ(Count(out, "A new word"), 2);
  EXPECT_EQ(Count(out, "Please answer y or n. Play again? [Y/n] "), 2);
  std::string end = "Final score: 2 won, 0 lost, winning streak 2.\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

// Ctrl-C while the game waits for a guess: the round's word and the score,
// and the signal left for the caller to raise again.
TEST_F(WordgameRounds, InterruptShowsTheWordAndTheScore) {
  GameFolder folder;
  std::string err;
  ASSERT_TRUE(folder.Open(&err)) << err;
  folder.DeferEndingSignals();
  int pipe_fds[2];
  ASSERT_EQ(pipe(pipe_fds), 0);
  ASSERT_EQ(write(pipe_fds[1], "c\n", 2), 2);
  std::FILE* in = fdopen(pipe_fds[0], "r");
  std::FILE* out = std::tmpfile();
  // The signal comes while the game waits for more; closing the pipe ends a
  // wait that the signal did not cut short.
  pthread_t game = pthread_self();
  std::thread player([&] {
    usleep(100000);
    pthread_kill(game, SIGINT);
    usleep(100000);
    close(pipe_fds[1]);
  });
  Deck deck({"cat"}, 1);
  Match match(deck);
  EXPECT_TRUE(PlayRounds(folder, match, in, out, stderr, Look(), &err)) << err;
  player.join();
  std::fclose(in);
  // Input that never waits (a file) does not hold the signal up either.
  std::FILE* file = FileHolding("a\n");
  InputLine line;
  bool ended = false;
  EXPECT_TRUE(ReadLine(file, &line, &ended, &err));
  EXPECT_TRUE(ended);
  std::fclose(file);
  EXPECT_EQ(EndingSignals::TakePending(), SIGINT);
  std::string shown = ReadAndClose(out);
  std::string end =
      "Round left unfinished. The word was \"cat\".\n"
      "Final score: 0 won, 0 lost, winning streak 0.\n";
  EXPECT_EQ(shown.substr(shown.size() - end.size()), end);
}

// On a terminal the setter types unseen: the echo is off while the word is
// read (the other player types only then) and back after it, also when an
// interrupt ends the reading; meanwhile Ctrl-Z has a handler that gives the
// terminal back, unless it was ignored, and its action is restored after.
TEST_F(WordgameRounds, TheSettersWordIsTypedUnseenOnATerminal) {
  if (!TerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here";
  int master, slave;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  auto echo = [&] {
    termios modes;
    return tcgetattr(slave, &modes) == 0 && (modes.c_lflag & ECHO) != 0;
  };
  auto wait_for_echo = [&](bool on) {
    for (int i = 0; i < 3000 && echo() != on; ++i) usleep(1000);
    return echo() == on;
  };
  ASSERT_TRUE(echo());
  GameFolder folder;
  std::string err;
  ASSERT_TRUE(folder.Open(&err)) << err;
  folder.DeferEndingSignals();
  std::FILE* in = fdopen(slave, "r");
  const pthread_t game = pthread_self();
  auto stop_action = [] {
    struct sigaction action;
    sigaction(SIGTSTP, nullptr, &action);
    return action.sa_handler;
  };
  for (bool interrupted : {false, true}) {
    const sighandler_t before = interrupted ? SIG_IGN : SIG_DFL;
    std::signal(SIGTSTP, before);
    sighandler_t while_unseen = before;
    // The game goes on whatever the echo, so that a failure cannot hang.
    std::thread players([&] {
      EXPECT_TRUE(wait_for_echo(false));
      while_unseen = stop_action();
      if (interrupted) {
        // Letters typed without Enter are dropped with the round.
        EXPECT_EQ(write(master, "ca", 2), 2);
        usleep(100000);
        pthread_kill(game, SIGINT);
        return;
      }
      EXPECT_EQ(write(master, "cat\n", 4), 4);
      EXPECT_TRUE(wait_for_echo(true));
      EXPECT_EQ(write(master, "c\na\nt\nn\n", 8), 8);
    });
    Match match("Ann", "Bob");
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(PlayRounds(folder, match, in, out, stderr, Look(), &err))
        << err;
    players.join();
    EXPECT_TRUE(echo());
    EXPECT_EQ(stop_action(), before);
    EXPECT_EQ(while_unseen == before, interrupted);
    std::string shown = ReadAndClose(out);
    EXPECT_EQ(Count(shown, "A win for Bob."), interrupted ? 0 : 1) << shown;
  }
  std::signal(SIGTSTP, SIG_DFL);
  EXPECT_EQ(EndingSignals::TakePending(), SIGINT);
  // Ctrl-Z in a process that cannot stop (a new session's, which nothing
  // would resume): the echo is off again after it, and the handler back for
  // the next. A second object meanwhile changes nothing, nor does its end.
  const pid_t child = fork();
  if (child == 0) {
    setsid();
    bool hidden = false;
    {
      EchoOff unseen(slave);
      raise(SIGTSTP);
      { EchoOff second(slave); }
      hidden = !echo() && stop_action() != SIG_DFL;
    }
    _exit(hidden ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0);
  termios raw;
  ASSERT_EQ(tcgetattr(slave, &raw), 0);
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON);
  ASSERT_EQ(tcsetattr(slave, TCSANOW, &raw), 0);
  int pending = -1;
  EXPECT_EQ(ioctl(slave, FIONREAD, &pending), 0);
  EXPECT_EQ(pending, 0);
  std::fclose(in);
  // The terminal showed the end of the word's line, then the guesses.
  char seen[256];
  ssize_t n = read(master, seen, sizeof seen);
  close(master);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(seen, static_cast<std::size_t>(n)),
            "\r\nc\r\na\r\nt\r\nn\r\n");
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

// The daily word has one round, and its result ends with the line to pass
// on; left at no cost, its word is neither shown nor counted.
TEST_F(WordgameRounds, DailyWordPlaysOnceAndEndsWithTheLineToPassOn) {
  std::string out = Play({"cat"}, "c\nx\ncat\ny\n", {}, true);
  EXPECT_NE(out.find("The daily word of 2026-12-09: 3 letters.\n"),
            std::string::npos);
  std::string end =
      "You won! The word was \"cat\".\n"
      "wordgame daily 2026-12-09 (list 00000000): solved with 1 miss\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  EXPECT_EQ(out.find("Play again"), std::string::npos);
  out = Play({"cat"}, "", {}, true);
  end = "The daily word of 2026-12-09 is left unplayed, for another time.\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  EXPECT_EQ(out.find("cat"), std::string::npos);
  out = Play({"cat"}, "x\n", {}, true);
  end =
      "It counts as lost.\n"
      "wordgame daily 2026-12-09 (list 00000000): not solved, 1 miss\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  out = Play({"cat"}, "+\ncat\n", {}, true);  // The line names the hint.
  end =
      "wordgame daily 2026-12-09 (list 00000000): solved with 1 miss, 1 hint\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

// Two sessions playing the same daily word: the one to finish second shows
// the result the first recorded, which the file keeps, and says so when it
// is not its own.
TEST_F(WordgameRounds, DailyWordFinishedSecondShowsTheRecordedResult) {
  StateStore store(state_.path());
  StoreRecorder recorder(store);
  SavedState before, other;
  std::string note, err;
  RoundResult first{true, 2, "cat", 0xab, 1};
  first.daily = true;
  first.day = 20796;
  ASSERT_TRUE(store.Record(first, &other, &note)) << note;
  GameFolder folder;
  ASSERT_TRUE(folder.Open(&err)) << err;
  const std::string share =
      "wordgame daily 2026-12-09 (list 00000000): solved with 2 misses\n";
  // A loss, then a win with 2 misses as the first session's.
  const std::pair<std::string, std::string> rounds[] = {
      {"x\n",
       "The result of 2026-12-09 was recorded first by another "
       "session:\n"},
      {"x\nz\ncat\n", "best 1.\n"}};
  for (const auto& [input, before_share] : rounds) {
    Deck deck(WordViews{"cat"}, 1);
    Match match(deck);
    match.set_recorder(&recorder, before, 0xab, 1);
    match.set_daily(20796, 20796, 0xab);
    std::FILE* in = FileHolding(input);
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(PlayRounds(folder, match, in, out, stderr, {}, &err)) << err;
    std::fclose(in);
    const std::string end = before_share + share;
    const std::string seen = ReadAndClose(out);
    EXPECT_EQ(seen.substr(seen.size() - end.size()), end);
  }
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
  // Then the words come round again, the two played last held back, so the
  // next round plays one of the first two; no word comes back within two
  // rounds.
  EXPECT_TRUE(secrets[4] == secrets[0] || secrets[4] == secrets[1]);
  for (std::size_t i = 2; i < secrets.size(); ++i) {
    EXPECT_NE(secrets[i], secrets[i - 1]) << i;
    EXPECT_NE(secrets[i], secrets[i - 2]) << i;
  }
}

// Terse, for a screen reader: no drawing, no board, one line a guess with
// the word as far as found and the misses; a hint counts among them.
TEST_F(WordgameRounds, TerseModeGivesEachGuessOneLine) {
  Look terse;
  terse.terse = true;
  const std::string out = Play({"scissors"}, "e\na\ns\n+\nscissors\n", terse);
  EXPECT_NE(
      out.find("A new word of 8 letters.\nWord: _ _ _ _ _ _ _ _. 7 misses "
               "left.\nGuess: No \"e\" in the word. Word: _ _ _ _ _ _ _ _. 6 "
               "misses left. Missed: e.\n"),
      std::string::npos)
      << out;
  EXPECT_NE(out.find("Guess: A hint: \"c\" is in the word once, for one miss. "
                     "Word: s c _ s s _ _ s. 4 misses left. Missed: e, a. 1 "
                     "hint taken.\nGuess: Yes, the word is \"scissors\".\nYou "
                     "won!"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find('|'), std::string::npos);  // no gallows
  // The board counts the hints apart from the letters missed.
  EXPECT_NE(Play({"cat"}, "+\n").find("Missed:  hints: 1  (6 misses left)\n"),
            std::string::npos);
}

// Long lines break at blanks for the terminal's width, not mid-word; a
// colour or a letter of two bytes takes no column of its own.
TEST(Wrapped, LongLinesBreakAtBlanksToTheTerminalsWidth) {
  int column = 4;
  const std::string painted = "\033[31mno\033[0m\ncaf\xC3\xA9 x";
  EXPECT_EQ(Wrapped(painted, 6, &column), painted);
  EXPECT_EQ(Wrapped("Play again? [y/N] ", 14, &column), "Play\nagain? [y/N] ");
  EXPECT_EQ(column, 13);
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

TEST_F(WordgameRounds, FailedReadsAndWritesEndTheGame) {
  GameFolder folder;
  std::string err;
  ASSERT_TRUE(folder.Open(&err)) << err;
  std::FILE* in = FileHolding("c\na\nt\n");
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  Deck deck({"cat"}, 1);
  Match match(deck);
  EXPECT_FALSE(PlayRounds(folder, match, in, full, stderr, Look(), &err));
  EXPECT_EQ(err, "write error: No space left on device");
  std::fclose(full);
  std::fclose(in);
  std::FILE* unreadable = std::fopen(".", "r");  // Reading a folder fails.
  std::FILE* out = std::tmpfile();
  EXPECT_FALSE(
      PlayRounds(folder, match, unreadable, out, stderr, Look(), &err));
  EXPECT_EQ(err, "read error: Is a directory");
  std::fclose(unreadable);
  std::string shown = ReadAndClose(out);
  // The message goes below the prompt, not after it.
  EXPECT_EQ(shown.substr(shown.size() - 3), ": \n");
  // The setter's word read in error ends the game too, not asked again.
  Match two("Ann", "Bob");
  unreadable = std::fopen(".", "r");
  out = std::tmpfile();
  EXPECT_FALSE(PlayRounds(folder, two, unreadable, out, stderr, Look(), &err));
  EXPECT_EQ(err, "read error: Is a directory");
  std::fclose(unreadable);
  std::fclose(out);
}

}  // namespace
