#include "apps/vitrel/springboard_command.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apps/vitrel/control_socket.h"
#include "apps/vitrel/device_paths.h"
#include "apps/vitrel/device_processes.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/library_check.h"
#include "apps/vitrel/preview_picture.h"
#include "apps/vitrel/preview_scene.h"
#include "apps/vitrel/sample_device.h"
#include "apps/vitrel/settings_file.h"
#include "apps/vitrel/stop_on_signal.h"
#include "apps/vitrel/supervisor.h"
#include "apps/vitrel/usage.h"
#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/device.h"
#include "platform/foundation/log.h"
#include "platform/springboard/host.h"
#include "source/settings_keys.h"

namespace {

namespace fs = std::filesystem;
using Target = SceneRequest::Target;

struct SpringboardOptions {
  std::string library;
  long osVersion = 16;
  bool lockScreen = false;
  bool dark = false;
  double scale = 2;
  bool supervise = false;
  std::vector<std::string> missingClasses;
  // Sent to a running springboard instead of starting one.
  std::string press, pressFolder, notification;
  bool home = false;
};

// The home screen process: its scene, drawn to the device after every change.
class Springboard {
 public:
  Springboard(std::shared_ptr<const AppCatalogue> catalogue, const SpringboardOptions& options)
      : catalogue_(std::move(catalogue)), options_(options) {
    showHome();
  }

  // A line of the control socket: "press app|folder|notification NAME" or "home".
  std::string handle(const std::string& command) {
    std::istringstream words(command);
    std::string verb, kind, name;
    words >> verb >> kind >> std::ws;
    std::getline(words, name);
    if (verb == "home" && kind.empty()) {
      showHome();
      return "ok " + draw();
    }
    const std::pair<const char*, Target> kinds[] = {
        {"app", Target::app}, {"folder", Target::folder}, {"notification", Target::notification}};
    for (const auto& [word, target] : kinds) {
      if (verb != "press" || kind != word) continue;
      SceneRequest request{target, name, target == Target::notification, options_.dark, 1};
      if (std::string problem = problemWith(*catalogue_, request); !problem.empty()) {
        return "error: " + problem;
      }
      home_ = stageScene(catalogue_, request).home;
      return "ok " + draw();
    }
    return "error: unknown command '" + command + "'";
  }

  // After the library reloaded its settings: a layout pass restyles what is shown.
  void settingsChanged() {
    home_->layoutPass();
    draw();
  }

  // Writes screen.png; answers its path.
  std::string draw() {
    const fs::path file = screenPicturePath();
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    Result<bool> written = writeScreenPicture(home_->window(), options_.scale, file);
    if (!written) {
      NSLog("springboard: cannot draw the screen: %s", written.error());
      return "";
    }
    NSLog("springboard: drew %s", file.string());
    return file.string();
  }

 private:
  void showHome() {
    UITraitCollection::setSystemUserInterfaceStyle(options_.dark ? UIUserInterfaceStyleDark
                                                                 : UIUserInterfaceStyleLight);
    home_ = std::make_unique<HomeScreen>(catalogue_);
    home_->showLockScreen(options_.lockScreen);
    home_->layoutPass();
  }

  std::shared_ptr<const AppCatalogue> catalogue_;
  const SpringboardOptions& options_;
  std::unique_ptr<HomeScreen> home_;
};

void loadLibrary(const SpringboardOptions& options) {
  fs::path library = injectLibrary(options.library);
  NSLog("springboard: %s injected (iOS %ld, lock screen %s, device %s)", library.string(),
        options.osVersion, options.lockScreen ? "visible" : "hidden",
        device::directory()->string());
}

// A library that cannot be loaded is refused before anything starts (a supervised springboard
// would fail on every start).
void refuseUnloadableLibrary(const SpringboardOptions& options) {
  if (Result<bool> loaded = tryLoading(findLibrary(options.library)); !loaded) {
    throw CLI::RuntimeError("cannot load the library: " + loaded.error(), 1);
  }
}

// The device has one home screen (its control socket tells whether one runs).
void refuseSecondSpringboard() {
  if (answersAt(controlSocketPath())) {
    throw CLI::RuntimeError("a springboard already runs on this device", 1);
  }
}

void run(const DeviceOptions& device, const SpringboardOptions& options) {
  std::shared_ptr<const AppCatalogue> catalogue = openDevice(device);
  refuseSecondSpringboard();
  settings_file::warnWhenUnreadable();
  // As the device names it, and recorded so that the device's `killall SpringBoard` finds it.
  prctl(PR_SET_NAME, "SpringBoard");
  const DeviceProcessRecord record("SpringBoard", getpid());
  HostConfiguration host;
  host.osMajorVersion = options.osVersion;
  host.lockScreenVisible = options.lockScreen;
  host.missingClasses.insert(options.missingClasses.begin(), options.missingClasses.end());
  setUpHost(host);
  loadLibrary(options);

  Springboard springboard(catalogue, options);
  // Observed after the library's own observer, so its settings are loaded when this runs.
  DarwinObservation reloads =
      observeDarwinNotification(std::string(kReloadPrefsNotification),
                                [&](const std::string&) { springboard.settingsChanged(); });
  ControlSocket control(controlSocketPath(),
                        [&](const std::string& command) { return springboard.handle(command); });
  springboard.draw();
  StopOnSignal stopOnSignal;
  NSLog("springboard: ready (pid %d)", static_cast<int>(getpid()));
  RunLoop::main().run();
  NSLog("springboard: stopped");
}

// The same springboard, as a child that the supervisor starts again whenever it ends.
std::vector<std::string> childCommand(const DeviceOptions& device,
                                      const SpringboardOptions& options) {
  std::error_code error;
  std::vector<std::string> command = {fs::read_symlink("/proc/self/exe", error).string(),
                                      "--device",
                                      device.directory.string(),
                                      "springboard",
                                      "--os",
                                      std::to_string(options.osVersion),
                                      "--scale",
                                      std::to_string(options.scale)};
  if (!options.library.empty()) command.insert(command.end(), {"--library", options.library});
  if (options.lockScreen) command.push_back("--lock-screen");
  if (options.dark) command.push_back("--dark");
  if (device.verbose) command.push_back("--verbose");
  for (const std::string& name : options.missingClasses)
    command.insert(command.end(), {"--without-class", name});
  return command;
}

// Sends the press (or home) to the running springboard and prints its answer.
void control(const DeviceOptions& device, const SpringboardOptions& options) {
  enterDevice(device);
  std::string command = options.home                   ? "home"
                        : !options.pressFolder.empty() ? "press folder " + options.pressFolder
                        : !options.notification.empty()
                            ? "press notification " + options.notification
                            : "press app " + options.press;
  std::string answer = sendControlCommand(controlSocketPath(), command);
  if (answer.rfind("ok", 0) != 0) {
    throw CLI::RuntimeError(answer.rfind("error: ", 0) == 0 ? answer.substr(7) : answer, 1);
  }
  std::cout << "Drew " << answer.substr(answer.find(' ') + 1) << '\n';
}

}  // namespace

void addSpringboardCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<SpringboardOptions>();
  CLI::App* command = app.add_subcommand(
      "springboard",
      "Run the simulated home screen with the Vitrel3DTouch library injected (it draws "
      "<device>/var/mobile/Library/Caches/vitrel/screen.png after every change), or send a "
      "long-press to the one running");
  command
      ->add_option(
          "--library", options->library,
          std::string("The library to inject (default: ") + kLibraryName + " beside this program)")
      ->check(CLI::ExistingFile);
  limitNumber(
      command->add_option("--os,--os-version", options->osVersion, "The system's major version")
          ->capture_default_str(),
      13, 30, true);
  command->add_flag("--lock-screen", options->lockScreen, "Start with the lock screen showing");
  command->add_flag("--dark", options->dark, "Use the dark interface style");
  limitNumber(command->add_option("--scale", options->scale, "Pixels per point of screen.png")
                  ->capture_default_str(),
              0.25, 4);
  command->add_option("--without-class", options->missingClasses,
                      "A private class this system lacks (repeatable), e.g. "
                      "_UIInterfaceActionVibrantSeparatorView");
  command->add_flag("--supervise", options->supervise,
                    "Start it again whenever it ends (a crash, or a respring by `killall "
                    "SpringBoard`), as the device does");
  auto* press = command->add_option("--press", options->press,
                                    "Tell the running springboard to long-press this app's icon");
  auto* folder = command->add_option("--press-folder", options->pressFolder,
                                     "Tell the running springboard to long-press this folder");
  auto* notification =
      command->add_option("--notification", options->notification,
                          "Tell the running springboard to long-press a notification of this app");
  auto* home =
      command->add_flag("--home", options->home, "Tell the running springboard to close its menu");
  press->excludes(folder, notification, home);
  folder->excludes(notification, home);
  notification->excludes(home);
  command->callback([&device, options] {
    if (options->home || !options->press.empty() || !options->pressFolder.empty() ||
        !options->notification.empty()) {
      control(device, *options);
    } else if (options->supervise) {
      refuseUnloadableLibrary(*options);
      enterDevice(device);
      // Its child could never start: refuse now, not in a loop.
      refuseSecondSpringboard();
      if (Result<bool> ended = supervise(childCommand(device, *options)); !ended) {
        throw CLI::RuntimeError(ended.error(), 1);
      }
    } else {
      refuseUnloadableLibrary(*options);
      run(device, *options);
    }
  });
}
