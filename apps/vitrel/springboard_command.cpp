#include "apps/vitrel/springboard_command.h"

#include <dlfcn.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "apps/vitrel/installation.h"
#include "apps/vitrel/stop_on_signal.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/springboard/host.h"

namespace {

struct SpringboardOptions {
  std::string library;
  long osVersion = 16;
  bool lockScreen = false;
  std::vector<std::string> missingClasses;
};

void run(const DeviceOptions& device, const SpringboardOptions& options) {
  enterDevice(device);
  HostConfiguration host;
  host.osMajorVersion = options.osVersion;
  host.lockScreenVisible = options.lockScreen;
  host.missingClasses.insert(options.missingClasses.begin(), options.missingClasses.end());
  setUpHost(host);

  std::filesystem::path library = findLibrary(options.library);
  // Loaded for the life of the process: its hooks stay installed until it ends.
  if (!dlopen(library.c_str(), RTLD_NOW)) {
    throw CLI::RuntimeError(std::string("cannot load the library: ") + dlerror(), 1);
  }
  NSLog("springboard: %s injected (iOS %ld, lock screen %s, device %s)", library.string(),
        options.osVersion, options.lockScreen ? "visible" : "hidden", device.directory.string());
  StopOnSignal stopOnSignal;
  NSLog("springboard: ready (pid %d)", static_cast<int>(getpid()));
  RunLoop::main().run();
  NSLog("springboard: stopped");
}

}  // namespace

void addSpringboardCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<SpringboardOptions>();
  CLI::App* command = app.add_subcommand(
      "springboard", "Run the simulated home screen with the Vitrel3DTouch library injected");
  command
      ->add_option(
          "--library", options->library,
          std::string("The library to inject (default: ") + kLibraryName + " beside this program)")
      ->check(CLI::ExistingFile);
  command->add_option("--os-version", options->osVersion, "The system's major version")
      ->capture_default_str()
      ->check(CLI::Range(13, 30));
  command->add_flag("--lock-screen", options->lockScreen, "Start with the lock screen showing");
  command->add_option("--without-class", options->missingClasses,
                      "A private class this system lacks (repeatable), e.g. "
                      "_UIInterfaceActionVibrantSeparatorView");
  command->callback([&device, options] { run(device, *options); });
}
