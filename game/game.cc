#include "game.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace {

// The dictionary, always by this name in the current directory.
constexpr char kDictionary[] = "dict.txt";

// A game is lost once the player has this many bad guesses.
constexpr std::size_t kLosingBadGuesses = 7;

// Bytes read from the dictionary per call; any size works, this one keeps the
// number of calls low for large word lists. The buffer is on the heap: a
// program that links the engine may run on a small stack.
constexpr std::size_t kChunk = 65536;

// The most bytes a dictionary may hold. A word list has a few MiB (a large
// dictionary of a language about 5 MiB); this is far beyond any, and keeps
// the load well inside the memory of a 32-bit process. kTooLarge is the
// reason given beyond it.
constexpr std::size_t kMaxDictionaryBytes = std::size_t{128} << 20;
constexpr char kTooLarge[] = "larger than 128 MiB";

// The most lines a dictionary may hold. Every line costs a string object
// (24 bytes in the 32-bit build, 32 in the 64-bit one) besides its bytes, so
// 128 MiB of one-letter lines would take gigabytes; 4 Mi lines is several
// times the largest word list and stays within a few hundred MiB.
constexpr std::size_t kMaxDictionaryLines = std::size_t{1} << 22;
constexpr char kTooManyLines[] = "more than 4194304 lines";

[[noreturn]] void Fail(const std::string& reason) {
  throw std::runtime_error(std::string(kDictionary) + ": " + reason);
}

// Closes the descriptor it holds when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Refuses a dictionary that is not a regular file (a FIFO, a terminal or a
// device such as /dev/zero could block for ever or never end) or that is
// larger than the limit.
void CheckFile(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) Fail(std::strerror(errno));
  if (S_ISDIR(st.st_mode)) Fail(std::strerror(EISDIR));
  if (!S_ISREG(st.st_mode)) Fail("not a regular file");
  if (static_cast<unsigned long long>(st.st_size) > kMaxDictionaryBytes)
    Fail(kTooLarge);
}

// Every line of the dictionary, bytes as they stand: a line ends at a line
// feed, which is dropped; a last line without one still counts. The limits
// are checked while reading too, as the file may grow meanwhile.
std::vector<std::string> ReadLines() {
  // O_NONBLOCK lets the open of a FIFO return at once, so that CheckFile
  // can refuse it; for a regular file it changes nothing.
  const Descriptor file(open(kDictionary, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) Fail(std::strerror(errno));
  CheckFile(file.get());
  std::vector<std::string> lines;
  std::string line;
  std::unique_ptr<char[]> buf(new char[kChunk]);
  std::size_t total = 0;
  for (;;) {
    const ssize_t got = read(file.get(), buf.get(), kChunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(std::strerror(errno));
    if (got == 0) break;
    const std::size_t n = static_cast<std::size_t>(got);
    total += n;
    if (total > kMaxDictionaryBytes) Fail(kTooLarge);
    // Each chunk is split at its line feeds; the bytes after the last one
    // start the line that the next chunk continues.
    const char* p = buf.get();
    const char* const end = p + n;
    const char* feed;
    while ((feed = static_cast<const char*>(std::memchr(
                p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
      if (lines.size() == kMaxDictionaryLines) Fail(kTooManyLines);
      line.append(p, feed);
      lines.push_back(std::move(line));
      line.clear();
      p = feed + 1;
    }
    line.append(p, end);
  }
  if (!line.empty()) {
    if (lines.size() == kMaxDictionaryLines) Fail(kTooManyLines);
    lines.push_back(std::move(line));
  }
  if (lines.empty()) Fail("holds no words");
  return lines;
}

}  // namespace

// The argument is taken by value and not used: the constructor's signature is
// fixed (INTERFACES.md).
Game::Game(std::string) {  // NOLINT(performance-unnecessary-value-param)
  words_ = ReadLines();
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  secret_word_ = words_[static_cast<unsigned>(std::rand()) % words_.size()];
  std::cout << secret_word_ << '\n' << std::flush;
  hidden_word_.reserve(2 * secret_word_.size());
  for (std::size_t i = 0; i < secret_word_.size(); ++i) hidden_word_ += "_ ";
}

// A letter reveals every position where the secret holds it; the display
// character of position i is read from index 2i of the hidden word, so that
// a revealed whitespace letter cannot shift the positions after it.
std::string Game::MakeGuess(std::string guess) {
  if (guess.size() < 2) {
    const char letter = guess.empty() ? '\0' : guess[0];
    std::string next;
    next.reserve(hidden_word_.size());
    for (std::size_t i = 0; i < secret_word_.size(); ++i) {
      next += secret_word_[i] == letter ? letter : hidden_word_[2 * i];
      next += ' ';
    }
    (next == hidden_word_ ? bad_guesses_ : good_guesses_).push_back(guess);
    hidden_word_ = std::move(next);
  } else if (guess == secret_word_) {
    hidden_word_.clear();
    for (char c : secret_word_) {
      hidden_word_ += c;
      hidden_word_ += ' ';
    }
  } else {
    bad_guesses_.push_back(guess);
  }
  return hidden_word_;
}

// Compares position by position (index 2i of the hidden word against index i
// of the secret): for a secret without whitespace this is the same as
// comparing the hidden word stripped of whitespace, and a secret with
// whitespace is won, like any other, once every position is revealed.
bool Game::HasWon() {
  for (std::size_t i = 0; i < secret_word_.size(); ++i) {
    if (hidden_word_[2 * i] != secret_word_[i]) return false;
  }
  return true;
}

bool Game::HasLost() { return bad_guesses_.size() >= kLosingBadGuesses; }

std::string Game::hidden_word() { return hidden_word_; }

std::size_t Game::word_length() { return secret_word_.size(); }

std::vector<std::string> Game::words() { return words_; }

std::vector<std::string> Game::good_guesses() { return good_guesses_; }

std::vector<std::string> Game::bad_guesses() { return bad_guesses_; }
