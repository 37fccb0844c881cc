// The keys that only a terminal shows, on a real terminal emulator.

#include "screen/terminal.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <pty.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "run_program.h"
#include "tmux_testing.h"

namespace {

using wordgame_testing::Tmux;

// Ctrl-L repaints what another program wrote over the board; the page keys
// turn the help's pages; Alt with a
// letter, an unknown sequence and an arrow whose bytes arrive apart (a slow
// remote link) are no guesses and do not quit; Esc alone still quits.
// NO_COLOR keeps the colours off. ESCDELAY holds the wait after Esc at 5 s,
// so that however long a loaded machine stretches the pause inside the
// arrow, its bytes are one key; only the lone Esc at the end waits it out.
TEST(Terminal, KeysThatOnlyATerminalSends) {
  if (std::string(TMUX_PATH).empty()) GTEST_SKIP() << "tmux is not installed";
  testutil::TempDir here, tmp;
  here.WriteFile("dict.txt", "dog\n");  // no a, e or x
  Tmux tmux(here);
  const std::string script =
      "cd \"$1\" && TMPDIR=\"$2\" NO_COLOR=1 ESCDELAY=5000 \"$0\" --no-save; "
      "echo \"status $?\"";
  ASSERT_EQ(
      tmux.Do({"new-session", "-d", "-s", "game", "-x", "80", "-y", "24",
               "/bin/sh", "-c", script, WORDGAME_PATH, here.path(), tmp.path()})
          .status,
      0);
  ASSERT_TRUE(tmux.WaitFor("A new word of 3 letters.")) << tmux.Screen();
  std::string tty =
      tmux.Do({"display-message", "-p", "-t", "game", "#{pane_tty}"}).out;
  tty.pop_back();
  // On a row the board leaves blank, which a redraw of changes never
  // touches.
  std::ofstream(tty) << "\033[20;30HSPOILT" << std::flush;
  ASSERT_TRUE(tmux.WaitFor("SPOILT")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "C-l"});
  ASSERT_TRUE(tmux.WaitFor("SPOILT", false)) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("_ _ _"), std::string::npos) << tmux.Screen();
  // The help's pages turn with the page and arrow keys.
  tmux.Do({"resize-window", "-t", "game", "-x", "40", "-y", "12"});
  tmux.Do({"send-keys", "-t", "game", "?", "NPage"});
  ASSERT_TRUE(tmux.WaitFor("(page 2 of")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Up"});
  ASSERT_TRUE(tmux.WaitFor("(page 1 of")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "Left"});
  ASSERT_TRUE(tmux.WaitFor("How to play", false)) << tmux.Screen();
  // tmux tells the game of a resize a while later, and a SIGWINCH cuts
  // short the wait after an Esc: the keys below come once the gallows, of
  // the large board only, show that the game has taken the new size.
  tmux.Do({"resize-window", "-t", "game", "-x", "80", "-y", "24"});
  ASSERT_TRUE(tmux.WaitFor("+---+")) << tmux.Screen();
  tmux.Do({"send-keys", "-t", "game", "M-e"});
  // A sequence no terminal description has: Esc [ 9 ; 9 z.
  tmux.Do(
      {"send-keys", "-t", "game", "-H", "1b", "5b", "39", "3b", "39", "7a"});
  // The rest of the arrow key comes at least 60 ms after its Esc.
  tmux.Do({"send-keys", "-t", "game", "Escape", ";", "run-shell", "sleep 0.06",
           ";", "send-keys", "-t", "game", "-l", "[A"});
  tmux.Do({"send-keys", "-t", "game", "x"});
  ASSERT_TRUE(tmux.WaitFor("misses 1 of 7: x")) << tmux.Screen();
  EXPECT_EQ(tmux.Screen().find("status"), std::string::npos) << tmux.Screen();
  // NO_COLOR: the miss is not red.
  EXPECT_EQ(
      tmux.Do({"capture-pane", "-p", "-e", "-t", "game"}).out.find("\033[31m"),
      std::string::npos);
  tmux.Do({"send-keys", "-t", "game", "Escape"});
  ASSERT_TRUE(tmux.WaitFor("status 0")) << tmux.Screen();
}

// A terminal the library knows but cannot take over (one of more than
// 32767 rows, which the library refuses once it has read the type) leaves
// the line mode in place: no terminal, no reason, the locale as it was.
TEST(Terminal, OneTheLibraryRefusesChangesNothing) {
  if (!testutil::TerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal";
  int master, slave;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  std::FILE* tty = fdopen(slave, "r+");
  const std::string locale_before = setlocale(LC_CTYPE, nullptr);
  // TERM and LINES are given back as they were.
  std::vector<std::pair<const char*, std::string>> kept;
  for (const char* name : {"TERM", "LINES"}) {
    if (const char* value = std::getenv(name)) kept.emplace_back(name, value);
  }
  setenv("TERM", "xterm", 1);
  setenv("LINES", "32768", 1);
  std::string why;
  EXPECT_EQ(Terminal::Open(tty, tty, false, &why), nullptr);
  EXPECT_EQ(why, "");
  EXPECT_EQ(setlocale(LC_CTYPE, nullptr), locale_before);
  unsetenv("TERM");
  unsetenv("LINES");
  for (const auto& [name, value] : kept) setenv(name, value.c_str(), 1);
  std::fclose(tty);
  close(master);
}

}  // namespace
