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
  // Files that take the program's standard output and error (created or truncated); an empty
  // name leaves that stream to this process's.
  struct Redirections {
    std::string standardOutput;
    std::string standardError;
  };

  // Starts command[0] (a path) with the arguments; fails, saying why, when it cannot.
  static Result<ChildProcess> start(const std::vector<std::string>& command,
                                    const Redirections& redirections = {});
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ~ChildProcess();

  pid_t pid() const { return pid_; }
  // Waits for the program to end and answers its exit status (128 + the signal's number when a
  // signal ended it); the handle then holds no program.
  int wait();

 private:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  void stop();

  pid_t pid_ = -1;
};
