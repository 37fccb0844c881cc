#include "descriptor.h"

#include <unistd.h>

#include <cerrno>

Descriptor::~Descriptor() { Close(); }

bool Descriptor::Close() {
  if (fd_ < 0) return true;
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;  // no progress and no reason: call it an I/O error
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}
