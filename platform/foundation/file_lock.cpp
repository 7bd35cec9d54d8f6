#include "platform/foundation/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

Result<FileLock> FileLock::acquire(const std::filesystem::path& file) {
  const std::filesystem::path lockFile = file.string() + ".lock";
  // Read-only is enough for flock, and lets a user who may only read the file still wait.
  const int descriptor = ::open(lockFile.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    return Result<FileLock>::failure("cannot lock '" + file.string() +
                                     "': " + std::strerror(errno));
  }
  FileLock lock(descriptor);
  while (::flock(descriptor, LOCK_EX) != 0) {
    if (errno != EINTR) {
      return Result<FileLock>::failure("cannot lock '" + file.string() +
                                       "': " + std::strerror(errno));
    }
  }
  return lock;
}

FileLock::FileLock(FileLock&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
  }
  return *this;
}

FileLock::~FileLock() {
  // Closing the only descriptor of the open file releases the lock.
  if (descriptor_ >= 0) ::close(descriptor_);
}
