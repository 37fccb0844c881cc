#ifndef WORDGAME_WORDGAME_TESTING_H_
#define WORDGAME_WORDGAME_TESTING_H_

// Helpers shared by wordgame's tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "run_program.h"

namespace wordgame_testing {

using Words = std::vector<std::string>;

/// How often `part` occurs in `text` (overlaps counted).
inline int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

/// The number of entries in the folder `dir`.
inline std::size_t Entries(const std::string& dir) {
  namespace fs = std::filesystem;
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

/// The secrets that the rounds of `out` revealed, in order.
inline Words Secrets(const std::string& out) {
  const std::string mark = "The word was \"";
  Words secrets;
  for (std::size_t at = out.find(mark); at != std::string::npos;
       at = out.find(mark, at)) {
    at += mark.size();
    secrets.push_back(out.substr(at, out.find('"', at) - at));
  }
  return secrets;
}

/// No test reaches the player's own state: before any test runs, the home
/// is a place where no folder can be made and XDG_STATE_HOME is unset, so a
/// game that would save without a test's own state folder says that it
/// cannot, on standard error.
class NoRealHome : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("HOME", "/dev/null", 1);
    unsetenv("XDG_STATE_HOME");
  }
};
inline ::testing::Environment* const kNoRealHome =
    ::testing::AddGlobalTestEnvironment(new NoRealHome);

/// Each test runs with a private TMPDIR, which must be empty again at its
/// end, and a private state folder (XDG_STATE_HOME, state_).
class PrivateTmpdir : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    old_tmpdir_ = old ? old : "";
    had_tmpdir_ = old != nullptr;
    setenv("TMPDIR", tmp_.path().c_str(), 1);
    setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
  }
  void TearDown() override {
    EXPECT_EQ(Entries(tmp_.path()), 0u) << "files left in TMPDIR";
    if (had_tmpdir_) {
      setenv("TMPDIR", old_tmpdir_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    unsetenv("XDG_STATE_HOME");
  }

  testutil::TempDir tmp_;
  testutil::TempDir state_;
  std::string old_tmpdir_;
  bool had_tmpdir_ = false;
};

}  // namespace wordgame_testing

#endif  // WORDGAME_WORDGAME_TESTING_H_
