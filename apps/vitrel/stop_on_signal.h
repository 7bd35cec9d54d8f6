#pragma once

#include "platform/foundation/run_loop.h"

// While it exists, Ctrl-C (SIGINT) and SIGTERM stop the main run loop instead of killing the
// process, so a long-running command leaves the device cleanly.
class StopOnSignal {
 public:
  StopOnSignal();
  ~StopOnSignal();
  StopOnSignal(const StopOnSignal&) = delete;
  StopOnSignal& operator=(const StopOnSignal&) = delete;

 private:
  int fd_ = -1;
  RunLoop::Source source_;
};
