#include "game_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

namespace {

// Paths of the folder and of its dict.txt, in static storage so that a signal
// handler can remove them. One folder exists at a time.
char g_folder[4096];
char g_dictionary[4096 + 16];

// Signals that end the program at the player's wish; the folder goes first.
// Those the caller set to be ignored (nohup, a background job) stay ignored.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// The actions in force before the folder existed, restored with it gone.
struct sigaction g_previous[kSignalCount];

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

void RemoveFolder() {
  if (g_dictionary[0] != '\0') unlink(g_dictionary);
  if (g_folder[0] != '\0') rmdir(g_folder);
  g_dictionary[0] = g_folder[0] = '\0';
}

// Removes the folder, then lets the signal end the program as it would have.
void OnEndingSignal(int sig) {
  RemoveFolder();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void CatchEndingSignals() {
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kEndingSignals[i], nullptr, &g_previous[i]);
    if (g_previous[i].sa_handler != SIG_IGN) {
      sigaction(kEndingSignals[i], &action, nullptr);
    }
  }
}

void RestoreEndingSignals() {
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kEndingSignals[i], &g_previous[i], nullptr);
  }
}

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("cannot write the game's word list");
    done += static_cast<std::size_t>(n);
  }
}

// While alive, standard output goes to `fd` and the current directory is
// `folder`; both come back on destruction, also when the engine throws.
class Redirect {
 public:
  Redirect(int fd, const char* folder) {
    std::cout.flush();
    std::fflush(stdout);
    home_ = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    saved_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    if (home_ < 0 || saved_ < 0 || dup2(fd, STDOUT_FILENO) < 0 ||
        chdir(folder) != 0) {
      int err = errno;
      Restore();
      errno = err;
      Fail("cannot start a game");
    }
  }
  ~Redirect() { Restore(); }

 private:
  void Restore() {
    std::cout.flush();
    std::fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, STDOUT_FILENO);
      close(saved_);
    }
    if (home_ >= 0) {
      // Going back to a directory held open does not fail in practice, and
      // nothing after the construction depends on the current directory.
      [[maybe_unused]] int ignored = fchdir(home_);
      close(home_);
    }
    saved_ = home_ = -1;
  }
  int home_ = -1;
  int saved_ = -1;
};

}  // namespace

GameFolder::GameFolder(const std::vector<std::string>& words) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp");
  pattern += "/wordgame.XXXXXX";
  if (pattern.size() >= sizeof g_folder) {
    errno = ENAMETOOLONG;
    Fail("cannot create a game folder in " + pattern);
  }
  std::strcpy(g_folder, pattern.c_str());
  if (mkdtemp(g_folder) == nullptr) {
    g_folder[0] = '\0';
    Fail("cannot create a game folder in " +
         pattern.substr(0, pattern.rfind('/')));
  }
  CatchEndingSignals();
  std::snprintf(g_dictionary, sizeof g_dictionary, "%s/dict.txt", g_folder);
  try {
    int fd = open(g_dictionary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) Fail(std::string("cannot create ") + g_dictionary);
    std::string bytes;
    for (const std::string& w : words) bytes += w + "\n";
    WriteAll(fd, bytes);
    close(fd);
    std::string capture = std::string(g_folder) + "/secret";
    capture_ =
        open(capture.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (capture_ < 0) Fail("cannot create " + capture);
    unlink(capture.c_str());
  } catch (...) {
    RemoveFolder();
    throw;
  }
}

GameFolder::~GameFolder() {
  if (capture_ >= 0) close(capture_);
  RemoveFolder();
  RestoreEndingSignals();
}

// The engine's one line (the secret and a line feed) lands in the capture
// file, emptied first; reading it back gives the secret.
std::unique_ptr<Game> GameFolder::NewGame(std::string* secret) {
  if (ftruncate(capture_, 0) != 0 || lseek(capture_, 0, SEEK_SET) != 0) {
    Fail("cannot start a game");
  }
  std::unique_ptr<Game> game;
  {
    Redirect redirect(capture_, g_folder);
    game = std::make_unique<Game>("");
  }
  std::string line;
  char buf[4096];
  ssize_t n;
  off_t at = 0;
  while ((n = pread(capture_, buf, sizeof buf, at)) > 0) {
    line.append(buf, static_cast<std::size_t>(n));
    at += n;
  }
  if (!line.empty() && line.back() == '\n') line.pop_back();
  *secret = line;
  return game;
}
