#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/foundation/internal/file_descriptor.h"

// The device's system log: `system.log` in a folder (the device's var/log), one entry a line
// as a console shows it ("2026-12-08 10:21:16.123 SpringBoard[812]: text"; further lines of a
// message follow indented by a tab). Bounded: an entry that would take the file past its limit
// first moves it to `system.log.1`, replacing the one before. Every process of the device
// appends at once: each entry is one write to a file opened for appending, under a shared lock
// on the folder that a rotation takes exclusively, so no entry lands in a file already moved.
class SystemLog {
 public:
  static constexpr uintmax_t kDefaultLimit = uintmax_t{1} << 20;
  // A message longer than this is cut, so one entry never fills the log.
  static constexpr size_t kMaxMessage = 16 * 1024;

  explicit SystemLog(std::filesystem::path folder, uintmax_t limit = kDefaultLimit);
  // The log of the device in that folder: its var/log.
  static SystemLog ofDevice(const std::filesystem::path& device) {
    return SystemLog(device / "var" / "log");
  }

  std::filesystem::path current() const { return folder_ / "system.log"; }
  std::filesystem::path previous() const { return folder_ / "system.log.1"; }

  // Appends an entry made by formatEntry(). Makes the folder when missing; false when the
  // entry could not be written (the caller has nowhere better to say so).
  bool append(std::string_view entry) const;

  // The entry for a message from a process, ending in a newline.
  static std::string formatEntry(std::string_view message, std::string_view process, pid_t pid,
                                 std::chrono::system_clock::time_point time);

 private:
  std::filesystem::path folder_;
  uintmax_t limit_;
};

// Reads a device's system log from its start (the previous file, then the current one) and
// then whatever is appended, across rotations: `vitrel log` and `vitrel log --follow`. Hands
// out whole lines only.
class SystemLogReader {
 public:
  explicit SystemLogReader(const SystemLog& log);

  // The lines appended since the last call (all of the log on the first), each ending in a
  // newline; empty when there are none yet. Does not wait.
  std::string readNew();

 private:
  void readAvailable();

  std::filesystem::path current_, previous_;
  foundation_internal::FileDescriptor file_;
  bool started_ = false;
  std::string pending_;
};
