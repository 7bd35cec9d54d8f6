#include "apps/vitrel/device_options.h"

#include <cstdlib>
#include <system_error>

#include "apps/vitrel/sample_device.h"
#include "platform/foundation/device.h"

namespace {

constexpr const char* kGroup = "Device";

void addBoth(CLI::App& command, DeviceOptions& options) {
  command
      .add_option("--device", options.directory,
                  "Folder of the simulated device (made if missing); processes that share it "
                  "share settings, notifications and the log")
      ->capture_default_str()
      ->group(kGroup);
  addVerboseOption(command, options);
  for (CLI::App* subcommand : command.get_subcommands({}))
    addBoth(*subcommand, options);
}

}  // namespace

std::filesystem::path defaultDeviceDirectory() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state) {
    return std::filesystem::path(state) / "vitrel" / "device";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "state" / "vitrel" /
         "device";
}

void addDeviceOptions(CLI::App& app, DeviceOptions& options) {
  options.directory = defaultDeviceDirectory();
  addBoth(app, options);
}

void addVerboseOption(CLI::App& command, DeviceOptions& options) {
  command.add_flag("--verbose", options.verbose, "Also echo the device's log to standard error")
      ->group(kGroup);
}

void enterDevice(const DeviceOptions& options) {
  std::error_code unknown;
  // A device is made with its folder, whichever command makes it.
  const bool made = !std::filesystem::exists(options.directory, unknown) && !unknown;
  std::error_code error;
  std::filesystem::create_directories(options.directory, error);
  if (error || !std::filesystem::is_directory(options.directory)) {
    throw CLI::ValidationError("--device", "cannot use " + options.directory.string() + ": " +
                                               (error ? error.message() : "not a folder"));
  }
  device::setDirectory(options.directory);
  if (made) seedSampleSettings();
}
