#include "progutil.h"

#include <cerrno>
#include <cstring>

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
