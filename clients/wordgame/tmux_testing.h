#ifndef WORDGAME_TMUX_TESTING_H_
#define WORDGAME_TMUX_TESTING_H_

// The full screen on a real terminal emulator, for the tests of what only a
// terminal shows. TMUX_PATH is tmux's path, "" where it is not installed.

#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "run_program.h"

namespace wordgame_testing {

// Drives a private tmux server (its own socket in a temporary folder), which
// needs no terminal of its own.
class Tmux {
 public:
  explicit Tmux(const testutil::TempDir& dir)
      : socket_(dir.path() + "/tmux.sock"),
        // No status line: the pane is then the whole window.
        config_(dir.WriteFile(
            "tmux.conf", "set -g status off\nset -g remain-on-exit on\n")) {}
  ~Tmux() { Do({"kill-server"}); }
  testutil::ProgramResult Do(std::vector<std::string> args) {
    args.insert(args.begin(), {TMUX_PATH, "-S", socket_, "-f", config_});
    return testutil::RunProgram(args);
  }
  // The screen, after the lines scrolled off it, lines that wrapped joined.
  std::string Screen() {
    return Do({"capture-pane", "-p", "-J", "-S", "-", "-t", "game"}).out;
  }
  // Polls the screen until `text` shows (or, with shown false, is gone):
  // true, else false as soon as it cannot come: the program has ended, or
  // the screen, once drawn, has stood still for 3 s (the game answers a key
  // at once); 30 s at most.
  bool WaitFor(const std::string& text, bool shown = true) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto changed = start;
    std::string last;
    while (Clock::now() - start < std::chrono::seconds(30)) {
      const std::string now = Screen();
      if ((now.find(text) != std::string::npos) == shown) return true;
      if (Do({"display-message", "-p", "-t", "game", "#{pane_dead}"}).out ==
          "1\n") {
        return (Screen().find(text) != std::string::npos) == shown;
      }
      if (now != last || now.find_first_not_of(" \n") == std::string::npos) {
        changed = Clock::now();
      } else if (Clock::now() - changed > std::chrono::seconds(3)) {
        return false;
      }
      last = now;
      usleep(50000);
    }
    return false;
  }

 private:
  std::string socket_, config_;
};

}  // namespace wordgame_testing

#endif  // WORDGAME_TMUX_TESTING_H_
