#pragma once

#include <filesystem>

#include "platform/foundation/result.h"

// An exclusive advisory lock (`flock`) on "<file>.lock" beside a file, held for the life of the
// object. Processes that read a file, change it and replace it take it around the whole edit,
// so that no edit is lost between another's read and write; readers need not take it, since
// the file is replaced atomically. The kernel releases it when its holder ends, however it
// ends, so a killed writer never blocks the others.
class FileLock {
 public:
  // Waits for the lock. Fails, saying why, when the lock file cannot be opened or created
  // (its folder must exist).
  static Result<FileLock> acquire(const std::filesystem::path& file);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

 private:
  explicit FileLock(int descriptor) : descriptor_(descriptor) {}
  int descriptor_ = -1;
};
