#include "descriptor.h"

#include <unistd.h>

Descriptor::~Descriptor() { Close(); }

bool Descriptor::Close() {
  if (fd_ < 0) return true;
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}
