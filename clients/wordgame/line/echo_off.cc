#include "line/echo_off.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

// In static storage for the handler of SIGTSTP.
int g_fd = -1;
termios g_saved, g_hidden;
struct sigaction g_previous_stop;

// Ctrl-Z: the modes as they were for the shell, the stop itself, then the
// echo off again once the program goes on. Only async-signal-safe calls.
void OnStop(int) {
  const int saved_errno = errno;
  tcsetattr(g_fd, TCSANOW, &g_saved);
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTSTP, &action, nullptr);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);
  // Continued: this handler again (its return blocks nothing any more).
  action.sa_handler = OnStop;
  sigaction(SIGTSTP, &action, nullptr);
  tcsetattr(g_fd, TCSANOW, &g_hidden);
  errno = saved_errno;
}

}  // namespace

EchoOff::EchoOff(int fd) {
  if (g_fd >= 0 || !isatty(fd) || tcgetattr(fd, &g_saved) != 0) return;
  g_hidden = g_saved;
  g_hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  g_hidden.c_lflag |= ECHONL;  // Enter still ends the line on the screen.
  g_fd = fd;
  struct sigaction action = {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTSTP, nullptr, &g_previous_stop);
  if (g_previous_stop.sa_handler != SIG_IGN) {
    sigaction(SIGTSTP, &action, nullptr);
  }
  active_ = tcsetattr(fd, TCSANOW, &g_hidden) == 0;
  if (!active_) {
    sigaction(SIGTSTP, &g_previous_stop, nullptr);
    g_fd = -1;
  }
}

void EchoOff::DiscardTyped() {
  if (active_) tcflush(g_fd, TCIFLUSH);
}

// The handler goes first, so that a stop just before cannot turn the echo
// off again after it is back.
EchoOff::~EchoOff() {
  if (!active_) return;
  sigaction(SIGTSTP, &g_previous_stop, nullptr);
  tcsetattr(g_fd, TCSANOW, &g_saved);
  g_fd = -1;
}
