#pragma once

#include <sys/types.h>

#include <memory>

#include "apps/vitrel/device_processes.h"

// The device's display server, backboardd: a process of its own that the home screen runs on,
// recorded on the device (when this process has one) so that the device's `killall backboardd`
// finds it. It does nothing but stand for the display server; when it ends, the home screen
// must end with it, as on the phone. It ends when its owner does.
class DisplayServer {
 public:
  DisplayServer();
  // Stops it (SIGTERM) and waits for it.
  ~DisplayServer();
  DisplayServer(const DisplayServer&) = delete;
  DisplayServer& operator=(const DisplayServer&) = delete;

  // True when it has ended since the last call; it is then started again at once.
  bool restartedAfterEnd();

 private:
  void start();

  pid_t pid_ = -1;
  std::unique_ptr<DeviceProcessRecord> record_;
};
