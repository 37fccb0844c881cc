#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// Writes the whole input while draining both outputs, so that neither side
// blocks on a full pipe.
void Pump(int in_fd, const std::string& input, int out_fd, int err_fd,
          ProgramResult& result) {
  size_t written = 0;
  if (input.empty()) {
    close(in_fd);
    in_fd = -1;
  }
  char buf[65536];
  while (out_fd >= 0 || err_fd >= 0) {
    pollfd fds[3] = {
        {out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}, {in_fd, POLLOUT, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      Fail("poll");
    }
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || fds[k].revents == 0) continue;
      ssize_t n = read(fds[k].fd, buf, sizeof buf);
      if (n > 0) {
        (k == 0 ? result.out : result.err).append(buf, n);
      } else if (n == 0 || errno != EINTR) {
        close(fds[k].fd);
        (k == 0 ? out_fd : err_fd) = -1;
      }
    }
    if (in_fd >= 0 && fds[2].revents != 0) {
      ssize_t n = write(in_fd, input.data() + written, input.size() - written);
      if (n > 0) written += n;
      if ((n < 0 && errno != EINTR && errno != EAGAIN) ||
          written == input.size()) {
        close(in_fd);
        in_fd = -1;
      }
    }
  }
  if (in_fd >= 0) close(in_fd);
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::string& input, const std::string& cwd,
                         const std::vector<std::string>& env) {
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC))
    Fail("pipe");
  pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);
  ProgramResult result;
  Pump(in[1], input, out[0], err[0], result);
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0) {
    if (errno != EINTR) Fail("waitpid");
  }
  result.status =
      WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  return result;
}

ProgramResult RunProgramWithFullOutput(const std::vector<std::string>& argv,
                                       const std::string& input) {
  std::vector<std::string> shell = {"/bin/sh", "-c", "exec \"$@\" >/dev/full",
                                    "sh"};
  shell.insert(shell.end(), argv.begin(), argv.end());
  return RunProgram(shell, input);
}

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base && *base ? base : "/tmp") + "/test.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::WriteFile(const std::string& name,
                               const std::string& bytes) const {
  std::string file = path_ + "/" + name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}
