#include "apps/vitrel/device_processes.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/foundation/device.h"
#include "platform/foundation/file_io.h"
#include "platform/foundation/log.h"

namespace fs = std::filesystem;

namespace {

fs::path recordPath(const std::string& name) {
  return *device::directory() / "var/run" / (name + ".pid");
}

// The kernel's start time of the process (clock ticks since boot), empty when it has ended.
std::string startTime(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return "";
  // The name, in parentheses, may hold spaces; the start time is the 20th field after it.
  std::istringstream fields(line.substr(line.rfind(')') + 1));
  std::string field;
  for (int index = 0; index < 20 && fields >> field; ++index) {
  }
  return field;
}

std::string entryOf(pid_t pid) {
  return std::to_string(pid) + " " + startTime(pid) + "\n";
}

std::string readRecord(const std::string& name) {
  return readFileBytes(recordPath(name), 64).valueOr("");
}

}  // namespace

DeviceProcessRecord::DeviceProcessRecord(std::string name, pid_t pid)
    : name_(std::move(name)), entry_(entryOf(pid)) {
  std::error_code error;
  fs::create_directories(recordPath(name_).parent_path(), error);
  if (Result<void> written = writeFileAtomically(recordPath(name_), entry_); !written) {
    NSLog("cannot record %s on the device: %s", name_, written.error());
  }
}

DeviceProcessRecord::~DeviceProcessRecord() {
  std::error_code error;
  if (readRecord(name_) == entry_) fs::remove(recordPath(name_), error);
}

std::optional<pid_t> deviceProcess(const std::string& name) {
  std::istringstream record(readRecord(name));
  pid_t pid = 0;
  std::string started;
  if (!(record >> pid >> started) || pid <= 0 || startTime(pid) != started) return std::nullopt;
  return pid;
}
