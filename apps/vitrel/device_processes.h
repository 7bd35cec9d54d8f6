#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

// The device's table of named processes (its SpringBoard, its backboardd), which the device's
// `killall` reads: a file per name in <device>/var/run holding the process's id and start
// time, so that a record left by a process that has ended never names another process that
// took its id. Only processes recorded on a device belong to it.
class DeviceProcessRecord {
 public:
  // Records process `pid` of this process's device under `name`, replacing an older record.
  DeviceProcessRecord(std::string name, pid_t pid);
  // Removes the record, unless another process has recorded itself under the name since.
  ~DeviceProcessRecord();
  DeviceProcessRecord(const DeviceProcessRecord&) = delete;
  DeviceProcessRecord& operator=(const DeviceProcessRecord&) = delete;

 private:
  std::string name_;
  std::string entry_;
};

// The running process of this process's device recorded under `name`, if any.
std::optional<pid_t> deviceProcess(const std::string& name);
