#include "apps/vitrel/device_options.h"

#include <cstdlib>
#include <system_error>

#include "platform/foundation/device.h"

std::filesystem::path defaultDeviceDirectory() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state) {
    return std::filesystem::path(state) / "vitrel" / "device";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "state" / "vitrel" /
         "device";
}

void addDeviceOption(CLI::App& app, DeviceOptions& options) {
  options.directory = defaultDeviceDirectory();
  app.add_option("--device", options.directory,
                 "Folder of the simulated device (made if missing); processes that share it "
                 "share settings and notifications")
      ->capture_default_str();
}

void enterDevice(const DeviceOptions& options) {
  std::error_code error;
  std::filesystem::create_directories(options.directory, error);
  if (error || !std::filesystem::is_directory(options.directory)) {
    throw CLI::ValidationError("--device", "cannot use " + options.directory.string() + ": " +
                                               (error ? error.message() : "not a folder"));
  }
  device::setDirectory(options.directory);
}
