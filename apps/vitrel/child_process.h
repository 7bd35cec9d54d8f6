#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/foundation/result.h"

// A program this process started, stopped when the handle dies: SIGTERM, then SIGKILL if it
// has not ended within five seconds. It starts with no signal blocked, whatever this process
// blocks.
class ChildProcess {
 public:
  // Starts command[0] (a path) with the arguments; fails, saying why, when it cannot.
  static Result<ChildProcess> start(const std::vector<std::string>& command);
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ~ChildProcess();

  pid_t pid() const { return pid_; }

 private:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  void stop();

  pid_t pid_ = -1;
};
