#include "apps/vitrel/settings_command.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "apps/vitrel/child_process.h"
#include "apps/vitrel/control_socket.h"
#include "apps/vitrel/device_paths.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/package_database.h"
#include "apps/vitrel/sample_device.h"
#include "apps/vitrel/settings_server.h"
#include "apps/vitrel/stop_on_signal.h"
#include "apps/vitrel/usage.h"
#include "platform/foundation/device.h"
#include "platform/foundation/log.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kBundleName = "3dvitrelprefs.bundle";
constexpr const char* kRootController = "MirraRootListController";

struct SettingsOptions {
  int port = 8473;
  bool withoutSpringboard = false;
  std::string bundle;
  std::string resources;
};

template <class T>
T orFail(Result<T> result, const std::string& doing) {
  if (!result) throw CLI::RuntimeError("cannot " + doing + ": " + result.error(), 1);
  if constexpr (!std::is_void_v<T>) return std::move(result).value();
}

// A supervised home screen on the same device, so that a respring starts it again.
ChildProcess startSpringboard(const DeviceOptions& device) {
  std::error_code error;
  std::vector<std::string> command = {fs::read_symlink("/proc/self/exe", error).string(),
                                      "--device", device.directory.string(), "springboard",
                                      "--supervise"};
  if (device.verbose) command.push_back("--verbose");
  return orFail(ChildProcess::start(command), "start the springboard");
}

void run(const DeviceOptions& device, const SettingsOptions& options) {
  // Readies the device (catalogue, default settings) before the springboard shares it.
  openDevice(device);
  const fs::path installed = installSettingsBundle(options.resources);
  std::shared_ptr<SettingsHost> host = openSettingsHost(options.bundle, installed);
  // Before any thread starts, so that every thread leaves Ctrl-C to the main loop.
  StopOnSignal stopOnSignal;
  std::optional<ChildProcess> springboard;
  // A springboard already running on the device is the one to show (a second could not start).
  if (!options.withoutSpringboard && !answersAt(controlSocketPath())) {
    springboard = startSpringboard(device);
  }

  SettingsServer server(
      host, {webFolder(), installed, screenPicturePath(), controlSocketPath(), kSystemFontFolder});
  const int port = orFail(server.start(options.port), "serve the settings pages");
  std::cout << "Settings of " << device.directory.string() << " at http://127.0.0.1:" << port
            << "/ (Ctrl-C to stop)" << std::endl;
  RunLoop::main().run();
  server.stop();
  NSLog("settings: stopped");
}

}  // namespace

fs::path installSettingsBundle(const std::string& resources) {
  const fs::path from = resources.empty() ? bundleResourcesFolder() : fs::path(resources);
  const fs::path installed =
      orFail(installBundleResources(from, kBundleName), "install the bundle's resources");
  orFail(recordInstalledPackage({kBundlePackageName, kBundlePackageVersion}),
         "record the bundle's package on the device");
  return installed;
}

std::shared_ptr<SettingsHost> openSettingsHost(const std::string& executable,
                                               const fs::path& installed) {
  SettingsHost::Bundle bundle{installed, findBundleExecutable(executable), kRootController,
                              "Vitrel"};
  return orFail(SettingsHost::open(bundle), "open the settings bundle");
}

void addSettingsCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<SettingsOptions>();
  CLI::App* command = app.add_subcommand(
      "settings",
      "Serve the settings bundle's pages at http://127.0.0.1:PORT/, beside a live picture of "
      "the home screen (a supervised `vitrel springboard` that it starts)");
  limitNumber(
      command->add_option("--port", options->port, "The port to listen on (0: any free one)")
          ->capture_default_str(),
      0, 65535, true);
  command->add_flag("--no-springboard", options->withoutSpringboard,
                    "Do not start a springboard (one already runs on the device, or none is "
                    "wanted)");
  command
      ->add_option("--bundle", options->bundle,
                   std::string("The bundle's shared object (default: ") + kBundleExecutableName +
                       " beside this program)")
      ->check(CLI::ExistingFile);
  command
      ->add_option("--resources", options->resources,
                   "The bundle's resources to install on the device (default: the installed "
                   "share/vitrel/3dvitrelprefs.bundle, else the source tree's)")
      ->check(CLI::ExistingDirectory);
  command->callback([&device, options] { run(device, *options); });
}
