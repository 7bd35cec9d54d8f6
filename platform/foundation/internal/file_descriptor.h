#pragma once

#include <unistd.h>

#include <utility>

namespace foundation_internal {

// Owns one file descriptor and closes it when destroyed. Move-only; -1 means none.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  // Takes ownership of fd (which may be -1, as a failed system call returns).
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) reset(std::exchange(other.fd_, -1));
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes the descriptor held (if any) and takes ownership of fd.
  void reset(int fd = -1) {
    // On Linux close() releases the descriptor even when it reports EINTR, so no retry.
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

}  // namespace foundation_internal
