#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/personality.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace testutil {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

void CloseIfOpen(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Writes the whole input while draining both outputs, so that neither side
// blocks on a full pipe: the input end is non-blocking and written only as
// far as the pipe takes it each time poll says there is room.
void Pump(int in_fd, const std::string& input, int out_fd, int err_fd,
          ProgramResult& result) {
  size_t written = 0;
  if (input.empty()) CloseIfOpen(in_fd);
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
      } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        // End of output; a pseudo-terminal reports it as EIO once the last
        // holder of its other end has gone.
        CloseIfOpen(k == 0 ? out_fd : err_fd);
      }
    }
    if (in_fd >= 0 && fds[2].revents != 0) {
      ssize_t n = write(in_fd, input.data() + written, input.size() - written);
      if (n > 0) written += n;
      if ((n < 0 && errno != EINTR && errno != EAGAIN) ||
          written == input.size()) {
        CloseIfOpen(in_fd);
      }
    }
  }
  CloseIfOpen(in_fd);
}

// Holds the calling process's `resource` to `bytes` (0: leaves it as it is).
bool Limit(decltype(RLIMIT_AS) resource, unsigned long long bytes) {
  if (bytes == 0) return true;
  rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  return setrlimit(resource, &limit) == 0;
}

// Turns address randomization off for the programs this process executes
// from now on. Async-signal-safe.
bool FixStackStart() {
  const int persona = personality(0xffffffff);  // only asks
  return persona != -1 && personality(persona | ADDR_NO_RANDOMIZE) != -1;
}

// This process's environment with the "NAME=value" entries of `extra` added,
// each replacing a variable of the same name.
std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  auto name = [](const std::string& entry) {
    return entry.substr(0, entry.find('='));
  };
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : extra) replaced |= name(x) == name(entry);
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

// The descriptors between the caller and its child: [0] the reading end,
// [1] the writing end; out is a pseudo-terminal's two ends for
// Stdout::kTerminal.
struct Channels {
  int in[2] = {-1, -1};
  int out[2] = {-1, -1};
  int err[2] = {-1, -1};
};

// Opens the pipes (and the terminal) that `options` asks for, each end
// closed on exec.
Channels OpenChannels(const RunOptions& options) {
  Channels c;
  if (pipe2(c.in, O_CLOEXEC) || pipe2(c.err, O_CLOEXEC)) Fail("pipe");
  if (options.stdout_to == Stdout::kTerminal) {
    winsize size{};
    size.ws_row = static_cast<unsigned short>(options.rows);
    size.ws_col = static_cast<unsigned short>(options.cols);
    if (openpty(&c.out[0], &c.out[1], nullptr, nullptr, &size) != 0)
      Fail("openpty");
    fcntl(c.out[0], F_SETFD, FD_CLOEXEC);
    fcntl(c.out[1], F_SETFD, FD_CLOEXEC);
  } else if (pipe2(c.out, O_CLOEXEC)) {
    Fail("pipe");
  }
  return c;
}

// The child's arguments and environment as execve takes them. They are made
// before the fork: between fork and exec only async-signal-safe calls may
// run, and those allocate nothing.
struct ExecArgs {
  ExecArgs(const std::vector<std::string>& argv,
           const std::vector<std::string>& env, bool env_only)
      : env_strings(env_only ? env : Environment(env)) {
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    envp.reserve(env_strings.size() + 1);
    for (std::string& e : env_strings) envp.push_back(e.data());
    envp.push_back(nullptr);
  }
  std::vector<char*> args;
  std::vector<std::string> env_strings;
  std::vector<char*> envp;
};

// In the child: puts standard output and standard error where `options`
// says; returns false when /dev/full or /dev/null cannot be opened.
bool RedirectOutputs(const RunOptions& options, const Channels& c) {
  switch (options.stdout_to) {
    case Stdout::kPipe:
      dup2(c.out[1], 1);
      dup2(c.err[1], 2);
      break;
    case Stdout::kTerminal:
      setsid();  // the terminal becomes the child's controlling terminal
      ioctl(c.out[1], TIOCSCTTY, 0);
      dup2(c.out[1], 1);
      dup2(c.out[1], 2);
      break;
    case Stdout::kFull:
    case Stdout::kNull: {
      int sink =
          open(options.stdout_to == Stdout::kFull ? "/dev/full" : "/dev/null",
               O_WRONLY);
      if (sink < 0) return false;
      dup2(sink, 1);
      close(sink);
      dup2(c.err[1], 2);
      break;
    }
    case Stdout::kClosed:
      close(1);
      dup2(c.err[1], 2);
      break;
  }
  return true;
}

// In the child, after the fork: sets up its streams, folder and limits and
// runs the program; exits 126 when the setting up fails, 127 when the
// program cannot be executed. Async-signal-safe calls only.
[[noreturn]] void ExecChild(const RunOptions& options, const Channels& c,
                            const ExecArgs& exec) {
  // The child starts with SIGPIPE's default action, as under a shell,
  // although this process ignores it.
  signal(SIGPIPE, SIG_DFL);
  if (options.stdin_closed) {
    close(0);
  } else {
    dup2(c.in[0], 0);
  }
  if (!RedirectOutputs(options, c)) _exit(126);
  if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(126);
  if (!Limit(RLIMIT_AS, options.address_space_limit) ||
      !Limit(RLIMIT_STACK, options.stack_limit) ||
      (options.fixed_stack_start && !FixStackStart())) {
    _exit(126);
  }
  execve(exec.args[0], exec.args.data(), exec.envp.data());
  _exit(127);
}

// Waits for the child `pid` and returns its status as ProgramResult has it.
int WaitForExit(pid_t pid) {
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0) {
    if (errno != EINTR) Fail("waitpid");
  }
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const RunOptions& options) {
  // A child that stops reading must show up as a failed write here, not
  // kill the caller.
  signal(SIGPIPE, SIG_IGN);
  const Channels c = OpenChannels(options);
  const ExecArgs exec(argv, options.env, options.env_only);
  pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) ExecChild(options, c, exec);
  close(c.in[0]);
  close(c.out[1]);
  close(c.err[1]);
  if (fcntl(c.in[1], F_SETFL, O_NONBLOCK) != 0) Fail("fcntl");
  ProgramResult result;
  Pump(c.in[1], options.input, c.out[0], c.err[0], result);
  result.status = WaitForExit(pid);
  return result;
}

ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::string& input, const std::string& cwd,
                         const std::vector<std::string>& env) {
  RunOptions options;
  options.input = input;
  options.cwd = cwd;
  options.env = env;
  return RunProgram(argv, options);
}

std::FILE* FileHolding(const std::string& bytes) {
  std::FILE* f = std::tmpfile();
  if (f == nullptr) Fail("tmpfile");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

std::string ReadAndClose(std::FILE* f) {
  std::string bytes;
  std::rewind(f);
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
    bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

std::string ReadFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  return f == nullptr ? "" : ReadAndClose(f);
}

ProgramResult RunInProcess(RunFunction run,
                           const std::vector<std::string>& args,
                           const RunOptions& options) {
  std::FILE* out = nullptr;
  switch (options.stdout_to) {
    case Stdout::kPipe:
      out = std::tmpfile();
      break;
    case Stdout::kFull:
      out = std::fopen("/dev/full", "w");
      break;
    case Stdout::kNull:
      out = std::fopen("/dev/null", "w");
      break;
    case Stdout::kClosed:  // a stream open for reading only
      out = std::fopen("/dev/null", "r");
      break;
    case Stdout::kTerminal:
      throw std::logic_error("RunInProcess has no terminal");
  }
  if (out == nullptr) Fail("opening the output");
  if (options.line_buffered) std::setvbuf(out, nullptr, _IOLBF, BUFSIZ);
  // A stream open for writing only cannot be read.
  std::FILE* in = options.stdin_closed ? std::fopen("/dev/null", "w")
                                       : FileHolding(options.input);
  if (in == nullptr) Fail("opening the input");
  std::FILE* err = FileHolding("");
  ProgramResult result;
  result.status = run(args, in, out, err);
  std::fclose(in);
  if (options.stdout_to == Stdout::kPipe) {
    result.out = ReadAndClose(out);
  } else {
    std::fclose(out);
  }
  result.err = ReadAndClose(err);
  return result;
}

ProgramResult RunInProcess(RunFunction run,
                           const std::vector<std::string>& args,
                           const std::string& input, Stdout stdout_to) {
  RunOptions options = WithStdout(stdout_to);
  options.input = input;
  return RunInProcess(run, args, options);
}

bool TerminalAvailable() {
  int master, slave;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return false;
  close(master);
  close(slave);
  return true;
}

// Tried here, then undone: this process's own programs stay randomized.
bool StackStartCanBeFixed() {
  const int persona = personality(0xffffffff);  // only asks
  if (!FixStackStart()) return false;
  personality(static_cast<unsigned long>(persona));
  return true;
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

}  // namespace testutil
