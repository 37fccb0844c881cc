#include "text/descriptor.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Bytes asked of each read: a few calls for a word list or a state file.
constexpr std::size_t kReadChunk = 65536;

}  // namespace

Descriptor::~Descriptor() { Close(); }

bool Descriptor::Close() {
  if (fd_ < 0) return true;
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}

bool ReadAll(int fd, std::size_t limit, std::string* bytes) {
  bytes->clear();
  for (;;) {
    const std::size_t had = bytes->size();
    bytes->resize(had + kReadChunk);
    const ssize_t n = read(fd, &(*bytes)[had], kReadChunk);
    bytes->resize(had + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0 || bytes->size() > limit) return true;
  }
}

std::string WithReason(const std::string& what) {
  return what + ": " + std::strerror(errno);
}
