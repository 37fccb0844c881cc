#include "progutil.h"

#include <cerrno>
#include <cstring>

namespace progutil {

int Run(const Program& program, const std::vector<std::string>& args,
        std::FILE* in, std::FILE* out, std::FILE* err) {
  // Cleared before the first write, so that errno holds the reason of a
  // write that fails at any point (a line-buffered stream writes, and
  // fails, before the final flush) when FlushOutput looks at it.
  errno = 0;
  std::string reason;
  Status status = Status::kDone;
  if (program.usage != nullptr && args.size() == 1 && args[0] == "--help") {
    std::fputs(program.usage, out);
    if (program.help != nullptr) std::fputs(program.help, out);
  } else {
    try {
      status = program.body(args, in, out, err, &reason);
    } catch (const std::bad_alloc&) {
      status = Status::kFailed;
      reason = "not enough memory";
    } catch (const std::length_error&) {
      // A size beyond max_size(): memory that could never be had.
      status = Status::kFailed;
      reason = "not enough memory";
    } catch (const std::exception& e) {
      status = Status::kFailed;
      reason = std::string("internal error: ") + e.what();
    } catch (...) {
      status = Status::kFailed;
      reason = "internal error";
    }
  }
  if (status == Status::kDone) {
    if (FlushOutput(out, &reason)) return 0;
  } else {
    std::fflush(out);  // what was printed goes before the complaint
  }
  if (!reason.empty())
    std::fprintf(err, "%s: %s\n", program.name, reason.c_str());
  if (status == Status::kMisused && program.usage != nullptr)
    std::fputs(program.usage, err);
  return 1;
}

std::string Escaped(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      shown += '\\';
      shown += c;
    } else if (byte >= 0x20 && byte < 0x7f) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 15];
    }
  }
  return shown;
}

bool WriteError(std::string* err) {
  *err = std::string("write error: ") + std::strerror(errno != 0 ? errno : EIO);
  return false;
}

bool FlushOutput(std::FILE* out, std::string* err) {
  // A stream that has failed keeps failing: its reason is the one errno
  // holds since. Otherwise errno is cleared, so that it can only hold this
  // flush's reason.
  if (!std::ferror(out)) {
    errno = 0;
    if (std::fflush(out) == 0) return true;
  }
  return WriteError(err);
}

bool WriteAll(int fd, const char* data, std::size_t size, WriteFunction write) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0 || errno == 0) errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace progutil
