#pragma once

#include <filesystem>
#include <functional>

#include "platform/foundation/run_loop.h"

// Hears a file being put in place (renamed into its folder, or written and closed), as a
// picture that its writer replaces atomically is, and calls back on the main loop each time,
// with no polling. Makes the folder when it is missing; a watch that cannot be set up is
// logged and hears nothing.
class FileWatch {
 public:
  FileWatch(const std::filesystem::path& file, std::function<void()> changed);
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

 private:
  void readEvents();

  std::string name_;
  std::function<void()> changed_;
  int fd_ = -1;
  RunLoop::Source source_;
};
