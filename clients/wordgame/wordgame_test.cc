// Pipes whole games into the built wordgame and checks what it shows, what it
// keeps from the player, and that it leaves no files behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

namespace fs = std::filesystem;

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
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
  ProgramResult Run(const std::string& input,
                    std::vector<std::string> args = {}) {
    args.insert(args.begin(), WORDGAME_PATH);
    ProgramResult r =
        RunProgram(args, input, here_.path(), {"TMPDIR=" + tmp_.path()});
    EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
    return r;
  }
  // Runs the shell command `script`, in which "$0" is the program, with a
  // dict.txt of `words`; output redirections go in the script.
  ProgramResult RunShell(const std::string& script, const std::string& input) {
    here_.WriteFile("dict.txt", "cat\n");
    ProgramResult r =
        RunProgram({"/bin/sh", "-c", script, WORDGAME_PATH}, input,
                   here_.path(), {"TMPDIR=" + tmp_.path()});
    EXPECT_TRUE(Listing(tmp_.path()).empty()) << "files left in TMPDIR";
    return r;
  }
  // Plays with a dict.txt of `words` in the program's folder.
  ProgramResult Play(const std::string& words, const std::string& input) {
    here_.WriteFile("dict.txt", words);
    return Run(input);
  }

  TempDir here_;
  TempDir tmp_;
};

TEST_F(Wordgame, LettersWinAndTheWordIsShownAtTheEnd) {
  ProgramResult r = Play("cat\n", "c\na\nt\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("A new word of 3 letters."), std::string::npos);
  EXPECT_NE(r.out.find("Word:   _ _ _\n"), std::string::npos);
  EXPECT_NE(r.out.find("Word:   c _ _\n"), std::string::npos);
  EXPECT_NE(r.out.find("Word:   c a t\n"), std::string::npos);
  EXPECT_NE(r.out.find("You won! The word was \"cat\".\n"), std::string::npos);
  EXPECT_EQ(Count(r.out, "Guess a letter or the whole word: "), 3);
  EXPECT_EQ(Count(r.out, "(7 misses left)"), 4);
  // Input ends at the offer of another round: the line is ended, status 0.
  EXPECT_EQ(r.out.substr(r.out.size() - 19), "Play again? [y/N] \n");
}

TEST_F(Wordgame, SecretStaysHiddenDuringPlay) {
  ProgramResult r = Play("quixotic\n", "e\nz\nq\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("quixotic"), std::string::npos);
  EXPECT_NE(r.out.find("Word:   q _ _ _ _ _ _ _\n"), std::string::npos);
  EXPECT_NE(r.out.find("Missed: e z  (5 misses left)\n"), std::string::npos);
  EXPECT_EQ(r.out.find("Play again?"), std::string::npos);
}

TEST_F(Wordgame, SevenMissesLoseWithTheWholeGallows) {
  ProgramResult r = Play("cat\n", "b\nd\ne\ndog\ng\nh\ni\nj\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Missed: b d e dog g h  (1 miss left)"),
            std::string::npos);
  EXPECT_NE(r.out.find("  O   |\n /|\\  |\n / \\  |\n"), std::string::npos);
  EXPECT_NE(r.out.find("(0 misses left)\nYou lost. The word was \"cat\".\n"),
            std::string::npos);
  EXPECT_EQ(Count(r.out, "Guess a letter"),
            7);                           // "j" is an answer, not a guess.
  EXPECT_EQ(Count(r.out, "  O   |"), 6);  // The head from miss 2 on.
}

TEST_F(Wordgame, WholeWordWinsAtOnce) {
  ProgramResult r = Play("cat\n", "  CAT \n");
  EXPECT_NE(r.out.find("Word:   c a t\n"), std::string::npos);
  EXPECT_NE(r.out.find("You won!"), std::string::npos);
  EXPECT_EQ(Count(r.out, "Guess a letter"), 1);
}

TEST_F(Wordgame, RepeatsAndNonLettersCostNothing) {
  ProgramResult r = Play("cat\n", "x\nX\n3\n\n  \nab c\na\na\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Count(r.out, "You already tried \"x\".\n"), 1);
  EXPECT_EQ(Count(r.out, "You already tried \"a\".\n"), 1);
  EXPECT_EQ(Count(r.out, "Letters a to z only, please.\n"), 2);
  EXPECT_NE(r.out.find("Word:   _ a _\nMissed: x  (6 misses left)\n"),
            std::string::npos);
  EXPECT_EQ(r.out.find("5 misses"), std::string::npos);
}

TEST_F(Wordgame, AnotherRoundOnlyWhenAsked) {
  ProgramResult r = Play("cat\n", "cat\ny\ncat\nYes\ncat\nn\ncat\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Count(r.out, "A new word"), 3);
  EXPECT_EQ(Count(r.out, "You won!"), 3);
  EXPECT_EQ(r.out.substr(r.out.size() - 18), "Play again? [y/N] ");
}

TEST_F(Wordgame, DictTxtHereIsTidiedButLeftAsItIs) {
  const std::string words = "  Cat\r\n\r\nice cream\n";
  ProgramResult r = Play(words, "c\na\nt\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("You won! The word was \"cat\"."), std::string::npos);
  EXPECT_EQ(Listing(here_.path()), std::vector<std::string>{"dict.txt"});
  std::ifstream in(here_.path() + "/dict.txt", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), words);
}

TEST_F(Wordgame, FileArgumentComesBeforeDictTxt) {
  here_.WriteFile("dict.txt", "dog\n");
  here_.WriteFile("mine.txt", "cat\n");
  ProgramResult r = Run("cat\n", {"mine.txt"});
  EXPECT_NE(r.out.find("You won! The word was \"cat\"."), std::string::npos);
}

TEST_F(Wordgame, ShippedListWithoutDictTxt) {
  std::string input;
  for (char c = 'a'; c <= 'z'; ++c) input += std::string(1, c) + "\n";
  ProgramResult r = Run(input);
  EXPECT_EQ(r.status, 0);
  const std::string mark = "The word was \"";
  std::size_t at = r.out.find(mark);
  ASSERT_NE(at, std::string::npos) << r.out;
  at += mark.size();
  std::string secret = r.out.substr(at, r.out.find('"', at) - at);
  std::ifstream list(WORDS_PATH);
  std::set<std::string> words;
  for (std::string w; std::getline(list, w);) words.insert(w);
  EXPECT_EQ(words.count(secret), 1u) << secret;
}

TEST(ShippedList, HoldsHundredsOfDistinctLowercaseWords) {
  std::ifstream list(WORDS_PATH);
  std::set<std::string> words;
  int lines = 0;
  for (std::string w; std::getline(list, w); ++lines) {
    EXPECT_NE(w, "");
    EXPECT_EQ(w.find_first_not_of("abcdefghijklmnopqrstuvwxyz"),
              std::string::npos)
        << w;
    words.insert(w);
  }
  EXPECT_EQ(words.size(), static_cast<std::size_t>(lines));
  EXPECT_GE(lines, 300);
}

TEST_F(Wordgame, UnusableWordListsAreOneLineErrors) {
  fs::create_directory(here_.path() + "/folder");
  here_.WriteFile("empty", "");
  here_.WriteFile("blank", "\n \r\n42\n");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"missing", "wordgame: missing: No such file or directory\n"},
      {"folder", "wordgame: folder: Is a directory\n"},
      {"empty",
       "wordgame: empty: no words to play (one word of letters a-z a line)\n"},
      {"blank",
       "wordgame: blank: no words to play (one word of letters a-z a line)\n"},
  };
  for (const auto& [file, message] : cases) {
    ProgramResult r = Run("a\n", {file});
    EXPECT_EQ(r.status, 1) << file;
    EXPECT_EQ(r.out, "") << file;
    EXPECT_EQ(r.err, message);
  }
  ProgramResult endless = Run("a\n", {"/dev/zero"});
  EXPECT_EQ(endless.status, 1);
  EXPECT_EQ(endless.err,
            "wordgame: /dev/zero: larger than 64 MiB, too large for a word "
            "list\n");
  fs::create_directory(here_.path() + "/dict.txt");
  ProgramResult r = Run("a\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "wordgame: dict.txt: Is a directory\n");
}

TEST_F(Wordgame, OutputThatCannotBeWrittenIsAnError) {
  ProgramResult full = RunShell("exec \"$0\" > /dev/full", "c\na\nt\n");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "wordgame: cannot write to standard output\n");
  ProgramResult closed = RunShell("exec \"$0\" >&-", "c\na\nt\n");
  EXPECT_EQ(closed.status, 1);
  EXPECT_EQ(closed.err, "wordgame: standard output is closed\n");
}

TEST_F(Wordgame, ReaderThatGoesAwayEndsTheGameCleanly) {
  // head stops reading after a few bytes; wordgame must notice the failed
  // writes, stop asking for guesses and remove its folder (checked by
  // RunShell), instead of playing on or dying with its folder left behind.
  std::string guesses;
  for (int i = 0; i < 20000; ++i) guesses += "q\nn\n";
  ProgramResult r = RunShell("\"$0\" | head -c 10; echo \" $?\"", guesses);
  EXPECT_EQ(r.out, "Guess the  0\n");
}

TEST_F(Wordgame, CommandLineMistakes) {
  ProgramResult r = Run("", {"a", "b"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "wordgame: too many arguments\nusage: wordgame [FILE]\n");
  r = Run("", {"-x"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "wordgame: unknown option -x\nusage: wordgame [FILE]\n");
  r = Run("", {"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "usage: wordgame [FILE]\n");
}

// Runs wordgame with standard output on a terminal and input ended at once;
// returns what the terminal showed.
std::string RunOnTerminal(const std::string& dir, const std::string& env) {
  int master, slave;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
    return "openpty";
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(slave, 1);
    dup2(slave, 2);
    if (chdir(dir.c_str()) != 0) _exit(126);
    if (!env.empty()) putenv(const_cast<char*>(env.c_str()));
    execl(WORDGAME_PATH, WORDGAME_PATH, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(slave);
  std::string shown;
  char buf[4096];
  ssize_t n;
  while ((n = read(master, buf, sizeof buf)) > 0) shown.append(buf, n);
  close(master);
  waitpid(pid, nullptr, 0);
  return shown;
}

TEST_F(Wordgame, ColourOnlyOnATerminalWithoutNoColor) {
  here_.WriteFile("dict.txt", "cat\n");
  EXPECT_EQ(Run("x\n").out.find('\033'), std::string::npos);
  std::string coloured = RunOnTerminal(here_.path(), "");
  EXPECT_NE(coloured.find("A new word"), std::string::npos) << coloured;
  EXPECT_NE(coloured.find("\033["), std::string::npos);
  std::string plain = RunOnTerminal(here_.path(), "NO_COLOR=1");
  EXPECT_NE(plain.find("A new word"), std::string::npos) << plain;
  EXPECT_EQ(plain.find('\033'), std::string::npos);
}

}  // namespace
