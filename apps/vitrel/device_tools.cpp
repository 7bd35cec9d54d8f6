#include "apps/vitrel/device_tools.h"

#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/vitrel/device_processes.h"
#include "apps/vitrel/package_database.h"
#include "platform/foundation/device.h"
#include "platform/foundation/file_io.h"
#include "platform/foundation/log.h"

namespace fs = std::filesystem;

namespace {

// The text tools of the package query's pipeline.
constexpr const char* kLinkedTools[] = {"grep", "cut"};

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void installScript(const fs::path& path, const std::string& tool) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  const std::string script =
      "#!/bin/sh\n# The device's " + tool + ": this program acting on this device only.\nexec " +
      shellQuoted(self.string()) + " --device " + shellQuoted(device::directory()->string()) +
      " device-tool " + tool + " \"$@\"\n";
  Result<void> written = writeFileAtomically(path, script);
  if (written) fs::permissions(path, fs::perms(0755), error);
  if (!written || error) {
    NSLog("cannot install %s on the device: %s", path.string(),
          written ? error.message() : written.error());
  }
}

// Links the device's `path` to this machine's program `name` in /usr/bin or /bin.
void linkMachineTool(const fs::path& path, const std::string& name) {
  std::error_code error;
  if (fs::is_symlink(path, error) || fs::exists(path, error)) return;
  for (const fs::path folder : {"/usr/bin", "/bin"}) {
    if (!fs::exists(folder / name, error)) continue;
    fs::create_symlink(folder / name, path, error);
    // Another process of the device may have linked it a moment ago.
    if (error && error != std::errc::file_exists) {
      NSLog("cannot link %s on the device: %s", path.string(), error.message());
    }
    return;
  }
}

void killall(const std::vector<std::string>& names) {
  bool allFound = true;
  for (const std::string& name : names) {
    std::optional<pid_t> process = deviceProcess(name);
    if (process && kill(*process, SIGTERM) == 0) continue;
    std::cerr << name << ": no process found\n";
    allFound = false;
  }
  if (!allFound) throw CLI::RuntimeError("", 1);
}

void dpkgStatus(const std::vector<std::string>& packages) {
  bool allFound = true;
  for (const std::string& name : packages) {
    if (std::optional<std::string> status = packageStatus(name)) {
      std::cout << *status;
      continue;
    }
    std::cerr << "dpkg-query: package '" << name
              << "' is not installed and no information is available\n";
    allFound = false;
  }
  if (!allFound) throw CLI::RuntimeError("", 1);
}

}  // namespace

void installDeviceTools() {
  const fs::path root = *device::directory();
  const fs::path jailbreakTools = root / "var/jb/usr/bin";
  std::error_code error;
  for (const fs::path& folder : {root / "usr/bin", root / "bin", jailbreakTools})
    fs::create_directories(folder, error);
  installScript(jailbreakTools / "killall", "killall");
  installScript(jailbreakTools / "dpkg", "dpkg");
  linkMachineTool(root / "bin/sh", "sh");
  for (const char* tool : kLinkedTools)
    linkMachineTool(jailbreakTools / tool, tool);
}

void addDeviceToolCommand(CLI::App& app, const DeviceOptions& device) {
  CLI::App* command = app.add_subcommand("device-tool", "The device's own tools")->group("");
  command->require_subcommand(1);

  auto names = std::make_shared<std::vector<std::string>>();
  CLI::App* killallCommand =
      command->add_subcommand("killall", "End this device's processes of these names");
  killallCommand->add_option("name", *names, "A process name, e.g. SpringBoard")->required();
  killallCommand->callback([&device, names] {
    enterDevice(device);
    killall(*names);
  });

  auto packages = std::make_shared<std::vector<std::string>>();
  CLI::App* dpkgCommand =
      command->add_subcommand("dpkg", "Show packages of this device's package database");
  dpkgCommand->add_option("-s,--status", *packages, "Packages whose status to show")->required();
  dpkgCommand->callback([&device, packages] {
    enterDevice(device);
    dpkgStatus(*packages);
  });
}
