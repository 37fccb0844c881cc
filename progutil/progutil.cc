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
