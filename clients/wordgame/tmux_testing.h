#ifndef WORDGAME_TMUX_TESTING_H_
#define WORDGAME_TMUX_TESTING_H_

// The full screen on a real terminal emulator, for the tests of what only a
// terminal shows. TMUX_PATH is tmux's path, "" where it is not installed.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "run_program.h"

namespace wordgame_testing {

// Drives a private tmux server (its own socket in a temporary folder), which
// needs no terminal of its own. The server never outlives the test: the
// destructor ends it, and should the test process be killed (a CTest
// timeout), a watcher that waits for the test's end of a pipe ends it then.
class Tmux {
 public:
  explicit Tmux(const testutil::TempDir& dir)
      : socket_(dir.path() + "/tmux.sock"),
        // No status line: the pane is then the whole window.
        config_(dir.WriteFile(
            "tmux.conf", "set -g status off\nset -g remain-on-exit on\n")) {
    int alive[2];
    if (pipe2(alive, O_CLOEXEC) != 0) return;
    watcher_ = fork();
    if (watcher_ == 0) {
      // Its own process group, so that what kills the test's group leaves
      // it to clean up; it wakes when every copy of the write end is gone.
      setpgid(0, 0);
      close(alive[1]);
      char byte;
      while (read(alive[0], &byte, 1) < 0 && errno == EINTR) {
      }
      execl(TMUX_PATH, TMUX_PATH, "-S", socket_.c_str(), "kill-server",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(alive[0]);
    if (watcher_ > 0) {
      alive_ = alive[1];
    } else {
      close(alive[1]);
    }
  }
  ~Tmux() {
    Do({"kill-server"});
    if (alive_ >= 0) close(alive_);
    if (watcher_ > 0) waitpid(watcher_, nullptr, 0);
  }
  Tmux(const Tmux&) = delete;
  Tmux& operator=(const Tmux&) = delete;

  testutil::ProgramResult Do(std::vector<std::string> args) {
    args.insert(args.begin(), {TMUX_PATH, "-S", socket_, "-f", config_});
    return testutil::RunProgram(args);
  }
  // The screen, after the lines scrolled off it, lines that wrapped joined.
  std::string Screen() {
    return Do({"capture-pane", "-p", "-J", "-S", "-", "-t", "game"}).out;
  }
  // Polls the screen until `text` shows (or, with shown false, is gone):
  // true; false once the program in the pane has ended without it, or after
  // a minute, far more than a loaded machine takes to answer a key.
  bool WaitFor(const std::string& text, bool shown = true) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
      if ((Screen().find(text) != std::string::npos) == shown) return true;
      if (Do({"display-message", "-p", "-t", "game", "#{pane_dead}"}).out ==
          "1\n") {
        return (Screen().find(text) != std::string::npos) == shown;
      }
      usleep(50000);
    }
    return false;
  }

 private:
  std::string socket_, config_;
  pid_t watcher_ = -1;
  int alive_ = -1;
};

}  // namespace wordgame_testing

#endif  // WORDGAME_TMUX_TESTING_H_
