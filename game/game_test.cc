// Plays the engine in a private folder per test, with its own dict.txt.

#include "game.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testutil::TempDir;

using Words = std::vector<std::string>;

// Runs each test inside a fresh folder; Load() writes dict.txt there and
// constructs a Game, keeping what the constructor wrote to standard output.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(home_, sizeof home_), nullptr);
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  }
  void TearDown() override { ASSERT_EQ(chdir(home_), 0); }

  void WriteDictionary(const std::string& bytes) {
    dir_.WriteFile("dict.txt", bytes);
  }

  // Constructs a Game over `bytes`; returns it and sets out_ to its output.
  std::unique_ptr<Game> Load(const std::string& bytes,
                             const std::string& arg = "") {
    WriteDictionary(bytes);
    return Construct(arg);
  }

  std::unique_ptr<Game> Construct(const std::string& arg = "") {
    ::testing::internal::CaptureStdout();
    std::unique_ptr<Game> game;
    try {
      game = std::make_unique<Game>(arg);
    } catch (...) {
      out_ = ::testing::internal::GetCapturedStdout();
      throw;
    }
    out_ = ::testing::internal::GetCapturedStdout();
    return game;
  }

  // The message of the runtime_error that constructing a Game throws.
  std::string ConstructionError() {
    try {
      Construct();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    ADD_FAILURE() << "no exception";
    return "";
  }

  TempDir dir_;
  char home_[4096];
  std::string out_;
};

TEST_F(GameTest, EveryLineIsAWordWithItsBytesAsTheyStand) {
  EXPECT_EQ(Load("cat\ndog\n")->words(), (Words{"cat", "dog"}));
  EXPECT_EQ(Load("cat\ndog")->words(), (Words{"cat", "dog"}));
  EXPECT_EQ(Load("cat\n\ndog")->words(), (Words{"cat", "", "dog"}));
  EXPECT_EQ(Load("a b\n\tc \r\nd\r\nd\r\n")->words(),
            (Words{"a b", "\tc \r", "d\r", "d\r"}));
  EXPECT_EQ(Load(std::string("x\0y\n", 4))->words(),
            (Words{std::string("x\0y", 3)}));
  // The carriage return is part of the secret too.
  EXPECT_EQ(Load("cat\r\n")->word_length(), 4u);
  EXPECT_EQ(out_, "cat\r\n");
}

TEST_F(GameTest, LargeDictionaryLoadsWhole) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "w" + std::to_string(i) + "\n";
  Words words = Load(bytes)->words();
  ASSERT_EQ(words.size(), 100000u);
  EXPECT_EQ(words.front(), "w0");
  EXPECT_EQ(words.back(), "w99999");
}

TEST_F(GameTest, ConstructionWritesTheSecretAndHidesIt) {
  std::unique_ptr<Game> game = Load("cat\n", "ignored");
  EXPECT_EQ(out_, "cat\n");
  EXPECT_EQ(game->hidden_word(), "_ _ _ ");
  EXPECT_EQ(game->word_length(), 3u);
  EXPECT_EQ(game->words(), Words{"cat"});
  EXPECT_TRUE(game->good_guesses().empty());
  EXPECT_TRUE(game->bad_guesses().empty());
  EXPECT_FALSE(game->HasWon());
  EXPECT_FALSE(game->HasLost());
}

// The secret is words[rand() % count] with rand() seeded by the clock's
// second, whatever the argument. A construction takes far less than a
// second, so of three tries at least one sees the clock stand still across
// two constructions, which must then pick the same word; any try's word is
// that of a second it ran in.
TEST_F(GameTest, SecretFollowsTheClock) {
  std::string bytes;
  Words words;
  for (int i = 0; i < 1000; ++i) {
    words.push_back("word" + std::to_string(i));
    bytes += words.back() + "\n";
  }
  WriteDictionary(bytes);
  auto expected = [&](std::time_t t) {
    std::srand(static_cast<unsigned>(t));
    return words[static_cast<unsigned>(std::rand()) % words.size()] + "\n";
  };
  for (const char* arg : {"", "x", "another argument"}) {
    bool still = false;
    for (int tries = 0; tries < 3 && !still; ++tries) {
      const std::time_t before = std::time(nullptr);
      Construct(arg);
      const std::string first = out_;
      Construct("different");
      const std::time_t after = std::time(nullptr);
      still = before == after;
      EXPECT_TRUE(first == expected(before) || first == expected(after));
      if (still) {
        EXPECT_EQ(first, expected(before));
        EXPECT_EQ(out_, first);
      }
    }
    EXPECT_TRUE(still) << "the clock moved during every try";
  }
}

TEST_F(GameTest, EmptyLineAsSecretIsWonAtOnce) {
  std::unique_ptr<Game> game = Load("\n");
  EXPECT_EQ(out_, "\n");
  EXPECT_EQ(game->hidden_word(), "");
  EXPECT_EQ(game->word_length(), 0u);
  EXPECT_TRUE(game->HasWon());
  EXPECT_EQ(game->MakeGuess("a"), "");
  EXPECT_EQ(game->MakeGuess(""), "");
  EXPECT_EQ(game->MakeGuess("word"), "");
  EXPECT_EQ(game->bad_guesses(), (Words{"a", "", "word"}));
  EXPECT_TRUE(game->good_guesses().empty());
}

TEST_F(GameTest, UnusableDictionaryThrowsBeforeAnyOutput) {
  EXPECT_EQ(ConstructionError(), "dict.txt: No such file or directory");
  WriteDictionary("");
  EXPECT_EQ(ConstructionError(), "dict.txt: holds no words");
  ASSERT_EQ(unlink("dict.txt"), 0);
  ASSERT_EQ(mkdir("dict.txt", 0700), 0);
  EXPECT_EQ(ConstructionError(), "dict.txt: Is a directory");
  EXPECT_EQ(out_, "");
}

// With standard input closed the dictionary opens as descriptor 0: it is
// read as any other, and closed once read or refused.
TEST_F(GameTest, TheDictionaryIsClosedEvenAsDescriptorZero) {
  const int input = dup(0);
  ASSERT_GE(input, 0);
  WriteDictionary("cat\n");
  for (const bool read : {true, false}) {
    if (!read) {
      ASSERT_EQ(unlink("dict.txt"), 0);
      ASSERT_EQ(mkdir("dict.txt", 0700), 0);
    }
    ::testing::internal::CaptureStdout();
    close(0);
    bool made = false;
    try {
      Game game("");
      made = true;
    } catch (const std::runtime_error&) {
    }
    const bool open = fcntl(0, F_GETFD) != -1;
    dup2(input, 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(open) << (read ? "read" : "refused");
    EXPECT_EQ(made, read);
  }
  close(input);
}

// A FIFO with no writer would block the open and one fed by `yes` would
// never end; a device may never end either: both are refused at once.
TEST_F(GameTest, NonRegularDictionaryIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo("dict.txt", 0600), 0);
  EXPECT_EQ(ConstructionError(), "dict.txt: not a regular file");
  ASSERT_EQ(unlink("dict.txt"), 0);
  ASSERT_EQ(symlink("/dev/zero", "dict.txt"), 0);
  EXPECT_EQ(ConstructionError(), "dict.txt: not a regular file");
  EXPECT_EQ(out_, "");
}

// Short lines cost far more memory than their bytes, so their number is
// bounded as well as the size: beyond either the error is a runtime_error,
// not an allocation failure.
TEST_F(GameTest, DictionaryBeyondItsLimitsThrows) {
  WriteDictionary("");
  ASSERT_EQ(truncate("dict.txt", (off_t{128} << 20) + 1), 0);  // sparse
  EXPECT_EQ(ConstructionError(), "dict.txt: larger than 128 MiB");
  const std::string lines(std::size_t{1} << 22, '\n');
  WriteDictionary(lines);
  EXPECT_NO_THROW(Construct());
  for (const char* more : {"\n", "x"}) {
    WriteDictionary(lines + more);
    EXPECT_EQ(ConstructionError(), "dict.txt: more than 4194304 lines");
  }
}

// A program that links the engine may run on a small stack: a Game is
// constructed on a thread with 32 KiB of it.
TEST_F(GameTest, LoadsOnASmallStack) {
  constexpr size_t kStack = 32 * 1024;
  WriteDictionary("cat\ndog\n");
  std::unique_ptr<Game> game;
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, kStack), 0);
  pthread_t thread;
  ::testing::internal::CaptureStdout();
  ASSERT_EQ(pthread_create(
                &thread, &attr,
                [](void* p) -> void* {
                  try {
                    *static_cast<std::unique_ptr<Game>*>(p) =
                        std::make_unique<Game>("");
                  } catch (...) {
                  }
                  return nullptr;
                },
                &game),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  ::testing::internal::GetCapturedStdout();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->words(), (Words{"cat", "dog"}));
}

// One step of a game: the guess, then what the game shows after it.
struct Step {
  std::string guess;
  std::string hidden;
  Words good;
  Words bad;
  bool won;
  bool lost;
};

void Play(Game& game, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    SCOPED_TRACE("guess \"" + s.guess + "\"");
    EXPECT_EQ(game.MakeGuess(s.guess), s.hidden);
    EXPECT_EQ(game.hidden_word(), s.hidden);
    EXPECT_EQ(game.good_guesses(), s.good);
    EXPECT_EQ(game.bad_guesses(), s.bad);
    EXPECT_EQ(game.HasWon(), s.won);
    EXPECT_EQ(game.HasLost(), s.lost);
  }
}

TEST_F(GameTest, LettersAndWordsAgainstCat) {
  std::unique_ptr<Game> game = Load("cat");
  Play(
      *game,
      {
          {"a", "_ a _ ", {"a"}, {}, false, false},
          {"x", "_ a _ ", {"a"}, {"x"}, false, false},
          {"a", "_ a _ ", {"a"}, {"x", "a"}, false, false},
          {"A", "_ a _ ", {"a"}, {"x", "a", "A"}, false, false},
          {"ca", "_ a _ ", {"a"}, {"x", "a", "A", "ca"}, false, false},
          {"", "_ a _ ", {"a"}, {"x", "a", "A", "ca", ""}, false, false},
          {"t", "_ a t ", {"a", "t"}, {"x", "a", "A", "ca", ""}, false, false},
          {"cat", "c a t ", {"a", "t"}, {"x", "a", "A", "ca", ""}, true, false},
          {"c",
           "c a t ",
           {"a", "t"},
           {"x", "a", "A", "ca", "", "c"},
           true,
           false},
      });
}

TEST_F(GameTest, LetterRevealsEveryPosition) {
  std::unique_ptr<Game> game = Load("banana\n");
  EXPECT_EQ(game->MakeGuess("a"), "_ a _ a _ a ");
  EXPECT_EQ(game->good_guesses(), Words{"a"});
  EXPECT_EQ(game->MakeGuess("n"), "_ a n a n a ");
  EXPECT_FALSE(game->HasWon());
  EXPECT_EQ(game->MakeGuess("b"), "b a n a n a ");
  EXPECT_TRUE(game->HasWon());
}

TEST_F(GameTest, SeventhBadGuessLosesAndALateWordStillWins) {
  std::unique_ptr<Game> game = Load("cat\n");
  for (const char* bad : {"x", "CAT", "q", "", "dog", "z"})
    game->MakeGuess(bad);
  EXPECT_EQ(game->bad_guesses().size(), 6u);
  EXPECT_FALSE(game->HasLost());
  game->MakeGuess("x");
  EXPECT_TRUE(game->HasLost());
  EXPECT_FALSE(game->HasWon());
  EXPECT_EQ(game->MakeGuess("cat"), "c a t ");
  EXPECT_TRUE(game->HasWon());
  EXPECT_TRUE(game->HasLost());
}

TEST_F(GameTest, OneLetterSecret) {
  std::unique_ptr<Game> game = Load("a\n");
  EXPECT_EQ(game->MakeGuess("aa"), "_ ");
  EXPECT_EQ(game->bad_guesses(), Words{"aa"});
  EXPECT_EQ(game->MakeGuess("a"), "a ");
  EXPECT_TRUE(game->HasWon());
}

TEST_F(GameTest, UnderscoreInTheSecretIsALetterLikeAnyOther) {
  std::unique_ptr<Game> game = Load("a_b\n");
  EXPECT_EQ(game->MakeGuess("_"), "_ _ _ ");
  EXPECT_EQ(game->bad_guesses(), Words{"_"});
  game->MakeGuess("a");
  EXPECT_EQ(game->MakeGuess("b"), "a _ b ");
  EXPECT_TRUE(game->HasWon());
}

// Revealing a whitespace letter must keep every later position in its place
// (and every read inside the hidden word, which the sanitized build checks).
TEST_F(GameTest, WhitespaceInTheSecretKeepsPositions) {
  std::unique_ptr<Game> game = Load("a b\tc\r\n");
  EXPECT_EQ(game->hidden_word(), "_ _ _ _ _ _ ");
  EXPECT_EQ(game->MakeGuess(" "), "_   _ _ _ _ ");
  EXPECT_EQ(game->MakeGuess("\t"), "_   _ \t _ _ ");
  EXPECT_EQ(game->MakeGuess("c"), "_   _ \t c _ ");
  EXPECT_EQ(game->MakeGuess("b"), "_   b \t c _ ");
  EXPECT_EQ(game->MakeGuess(" "), "_   b \t c _ ");
  EXPECT_EQ(game->bad_guesses(), Words{" "});
  EXPECT_FALSE(game->HasWon());
  EXPECT_EQ(game->MakeGuess("\r"), "_   b \t c \r ");
  EXPECT_EQ(game->MakeGuess("a"), "a   b \t c \r ");
  EXPECT_TRUE(game->HasWon());
}

TEST_F(GameTest, WhitespaceSecretWonByTheWholeWord) {
  std::unique_ptr<Game> game = Load("ice cream\n");
  EXPECT_EQ(game->MakeGuess("ice  cream"), "_ _ _ _ _ _ _ _ _ ");
  EXPECT_EQ(game->MakeGuess("ice cream"), "i c e   c r e a m ");
  EXPECT_TRUE(game->HasWon());
}

}  // namespace
