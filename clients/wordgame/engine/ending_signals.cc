#include "engine/ending_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

// Signal numbers run from 1 to below this (SIGRTMAX is 64 on Linux).
constexpr int kSignalLimit = 65;

// Entries to remove at most: the game folder and its word list.
constexpr int kMaxListed = 4;
constexpr std::size_t kMaxName = 256;

struct Listed {
  int dir_fd;
  int flags;
  char name[kMaxName];
};

Listed g_listed[kMaxListed];
volatile std::sig_atomic_t g_listed_count = 0;

volatile std::sig_atomic_t g_caught = 0;
volatile std::sig_atomic_t g_defer = 0;
volatile std::sig_atomic_t g_pending = 0;

// The actions in force before Catch(), and which signals it took.
struct sigaction g_previous[kSignalLimit];
bool g_taken[kSignalLimit];

// Signals that report a fault of the program itself: returning from their
// handler would only fault again, so they are never deferred.
bool IsFault(int sig) {
  return sig == SIGILL || sig == SIGTRAP || sig == SIGABRT || sig == SIGBUS ||
         sig == SIGFPE || sig == SIGSEGV || sig == SIGSYS;
}

// Signals whose default action ends the process; SIGKILL cannot be caught,
// and SIGXFSZ is for IgnoreFileSizeSignal. Numbers below SIGRTMIN that are
// not named are the C library's own.
bool Ends(int sig) {
  switch (sig) {
    case SIGHUP:
    case SIGINT:
    case SIGQUIT:
    case SIGPIPE:
    case SIGALRM:
    case SIGTERM:
    case SIGUSR1:
    case SIGUSR2:
    case SIGPOLL:
    case SIGPROF:
    case SIGVTALRM:
    case SIGXCPU:
    case SIGPWR:
    case SIGSTKFLT:
      return true;
    default:
      return IsFault(sig) || (sig >= SIGRTMIN && sig <= SIGRTMAX);
  }
}

void RemoveListedNow() {
  while (g_listed_count > 0) {
    const Listed& entry = g_listed[g_listed_count - 1];
    unlinkat(entry.dir_fd, entry.name, entry.flags);
    g_listed_count = g_listed_count - 1;
  }
}

// Removes the listed files, then lets the signal end the program as it
// would have, or leaves that to the caller, who asked to end in order.
void OnEndingSignal(int sig) {
  const int saved_errno = errno;
  RemoveListedNow();
  if (g_defer && !IsFault(sig)) {
    if (g_pending == 0) g_pending = sig;
    errno = saved_errno;
    return;
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
  errno = saved_errno;
}

}  // namespace

void EndingSignals::Catch() {
  if (g_caught) return;
  g_caught = 1;
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  for (int sig = 1; sig < kSignalLimit && sig <= SIGRTMAX; ++sig) {
    g_taken[sig] = false;
    if (!Ends(sig) || sigaction(sig, nullptr, &g_previous[sig]) != 0) {
      continue;
    }
    const sighandler_t before = g_previous[sig].sa_handler;
    const bool flags_only = (g_previous[sig].sa_flags & SA_SIGINFO) == 0;
    if (flags_only && before == SIG_IGN) continue;
    if (IsFault(sig) && !(flags_only && before == SIG_DFL)) continue;
    g_taken[sig] = sigaction(sig, &action, nullptr) == 0;
  }
}

void EndingSignals::Release() {
  if (!g_caught) return;
  for (int sig = 1; sig < kSignalLimit; ++sig) {
    if (g_taken[sig]) sigaction(sig, &g_previous[sig], nullptr);
    g_taken[sig] = false;
  }
  g_listed_count = 0;
  g_defer = 0;
  g_caught = 0;
}

void EndingSignals::Defer() { g_defer = 1; }

int EndingSignals::Pending() { return g_pending; }

int EndingSignals::TakePending() {
  const int sig = g_pending;
  g_pending = 0;
  return sig;
}

void EndingSignals::AddTo(sigset_t* set) {
  for (int sig = 1; sig < kSignalLimit; ++sig) {
    if (g_taken[sig] && !IsFault(sig)) sigaddset(set, sig);
  }
}

bool EndingSignals::List(int dir_fd, const char* name, int flags) {
  const std::size_t length = std::strlen(name);
  if (g_listed_count == kMaxListed || length >= kMaxName) return false;
  Listed& entry = g_listed[g_listed_count];
  entry.dir_fd = dir_fd;
  entry.flags = flags;
  std::memcpy(entry.name, name, length + 1);
  g_listed_count = g_listed_count + 1;  // The handler sees it whole.
  return true;
}

// With the signals held back, so that the handler and this call do not both
// take the same entry.
void EndingSignals::RemoveListed() {
  sigset_t all, previous;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &previous);
  RemoveListedNow();
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

IgnoreFileSizeSignal::IgnoreFileSizeSignal() {
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, &previous_);
}

IgnoreFileSizeSignal::~IgnoreFileSizeSignal() {
  sigaction(SIGXFSZ, &previous_, nullptr);
}
