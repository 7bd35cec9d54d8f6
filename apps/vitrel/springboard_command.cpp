#include "apps/vitrel/springboard_command.h"

#include <malloc.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "apps/vitrel/control_socket.h"
#include "apps/vitrel/device_paths.h"
#include "apps/vitrel/device_processes.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/library_check.h"
#include "apps/vitrel/sample_device.h"
#include "apps/vitrel/settings_file.h"
#include "apps/vitrel/springboard_screen.h"
#include "apps/vitrel/stop_on_signal.h"
#include "apps/vitrel/supervisor.h"
#include "apps/vitrel/system_version.h"
#include "apps/vitrel/usage.h"
#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/device.h"
#include "platform/foundation/log.h"
#include "platform/springboard/host.h"
#include "source/settings/settings_keys.h"

namespace {

namespace fs = std::filesystem;

struct SpringboardOptions {
  std::string library;
  long osVersion = system_version::kDefault;
  bool lockScreen = false;
  bool dark = false;
  double scale = 2;
  bool supervise = false;
  // Given by the supervisor to the springboard it starts.
  bool supervised = false;
  std::vector<std::string> missingClasses;
  // Sent to a running springboard instead of starting one.
  std::string press, pressFolder, notification, notify, hold, tap, style, dump;
  bool home = false, lock = false, unlock = false;
};

void loadLibrary(const SpringboardOptions& options, long osVersion) {
  fs::path library = injectLibrary(options.library);
  NSLog("springboard: %s injected (iOS %ld, lock screen %s, device %s)", library.string(),
        osVersion, options.lockScreen ? "visible" : "hidden", device::directory()->string());
}

// A library that cannot be loaded is refused before anything starts (a supervised springboard
// would fail on every start).
void refuseUnloadableLibrary(const SpringboardOptions& options) {
  if (Result<void> loaded = tryLoading(findLibrary(options.library)); !loaded) {
    throw CLI::RuntimeError("cannot load the library: " + loaded.error(), 1);
  }
}

// The device has one home screen (its control socket tells whether one runs).
void refuseSecondSpringboard() {
  if (answersAt(controlSocketPath())) {
    throw CLI::RuntimeError("a springboard already runs on this device", 1);
  }
}

// --os switches the device to that system, for this start and the ones after it.
void storeSystemVersion(const std::optional<long>& osVersion) {
  if (!osVersion) return;
  if (Result<void> stored = system_version::store(*osVersion); !stored) {
    throw CLI::RuntimeError("cannot store the system version: " + stored.error(), 1);
  }
}

// Every drawing renders into large pixel buffers that live only as long as it. By default the
// allocator hands them back to the system and the next drawing faults them in again, which cost
// a third of a drawing's time; kept in the heap they are reused (a few tens of MiB at most).
void keepDrawingMemory() {
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void run(const DeviceOptions& device, const SpringboardOptions& options,
         const std::optional<long>& osVersion) {
  std::shared_ptr<const AppCatalogue> catalogue = openDevice(device);
  refuseSecondSpringboard();
  storeSystemVersion(osVersion);
  settings_file::warnWhenUnreadable();
  const long system = system_version::read();
  // As the device names it, and recorded so that the device's `killall SpringBoard` finds it.
  prctl(PR_SET_NAME, "SpringBoard");
  const DeviceProcessRecord record("SpringBoard", getpid());
  keepDrawingMemory();
  HostConfiguration host;
  host.osMajorVersion = system;
  host.lockScreenVisible = options.lockScreen;
  host.missingClasses.insert(options.missingClasses.begin(), options.missingClasses.end());
  setUpHost(host);
  loadLibrary(options, system);

  SpringboardScreen screen(
      catalogue, {system, options.lockScreen, options.dark, options.scale, options.supervised});
  // Observed after the library's own observer, so its settings are loaded when this runs.
  DarwinObservation reloads = observeDarwinNotification(
      std::string(kReloadPrefsNotification), [&](const std::string&) { screen.settingsChanged(); });
  ControlSocket control(controlSocketPath(),
                        [&](const std::string& command) { return screen.handle(command); });
  screen.draw();
  StopOnSignal stopOnSignal;
  NSLog("springboard: ready (pid %d)", static_cast<int>(getpid()));
  RunLoop::main().run();
  NSLog("springboard: stopped");
}

// The same springboard, as a child that the supervisor starts again whenever it ends. It runs
// as the device's system, which a switch of system changes between its starts.
std::vector<std::string> childCommand(const DeviceOptions& device,
                                      const SpringboardOptions& options) {
  std::error_code error;
  std::vector<std::string> command = {fs::read_symlink("/proc/self/exe", error).string(),
                                      "--device",
                                      device.directory.string(),
                                      "springboard",
                                      "--supervised",
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

// "X,Y" as the control socket takes a point: "X Y".
std::string pointWords(const std::string& point) {
  std::string words = point;
  words[point.find(',')] = ' ';
  return words;
}

// The command line the options send to the running springboard.
std::string controlCommand(const SpringboardOptions& options) {
  if (options.home) return "home";
  if (options.lock) return "lock";
  if (options.unlock) return "unlock";
  if (!options.hold.empty()) return "hold " + pointWords(options.hold);
  if (!options.tap.empty()) return "tap " + pointWords(options.tap);
  if (!options.style.empty()) return "style " + options.style;
  if (!options.dump.empty()) return "dump";
  if (!options.pressFolder.empty()) return "press folder " + options.pressFolder;
  if (!options.notification.empty()) return "press notification " + options.notification;
  if (!options.notify.empty()) return "notify " + options.notify;
  return "press app " + options.press;
}

bool controlsARunningSpringboard(const SpringboardOptions& options) {
  return options.home || options.lock || options.unlock || !options.hold.empty() ||
         !options.tap.empty() || !options.style.empty() || !options.dump.empty() ||
         !options.press.empty() || !options.pressFolder.empty() || !options.notification.empty() ||
         !options.notify.empty();
}

// Copies the tree the springboard wrote in its device to where the user asked.
void copyDump(const fs::path& tree, const std::string& destination) {
  std::ifstream written(tree, std::ios::binary);
  if (!written) throw CLI::RuntimeError("cannot read the view tree " + tree.string(), 1);
  if (destination == "-") {
    std::cout << written.rdbuf();
    return;
  }
  std::ofstream file(destination, std::ios::binary);
  file << written.rdbuf();
  file.close();
  if (!file) throw CLI::RuntimeError("cannot write " + destination, 1);
  std::cerr << "vitrel: wrote the view tree to " << destination << '\n';
}

// Sends the options' command to the running springboard and says what came of it.
void control(const DeviceOptions& device, const SpringboardOptions& options) {
  enterDevice(device);
  const std::string answer = sendControlCommand(controlSocketPath(), controlCommand(options));
  if (answer.rfind("ok ", 0) != 0) {
    for (const char* prefix : {"error: ", "nothing: "}) {
      if (answer.rfind(prefix, 0) == 0) throw CLI::RuntimeError(answer.substr(strlen(prefix)), 1);
    }
    throw CLI::RuntimeError(answer, 1);
  }
  const std::string path = answer.substr(3);
  if (!options.dump.empty()) {
    copyDump(path, options.dump);
  } else {
    std::cout << "Drew " << path << '\n';
  }
}

// Refuses an argument the check does not accept, with the sentence, as a usage error.
CLI::Option* refuseUnless(CLI::Option* option, std::function<bool(const std::string&)> accepts,
                          const std::string& sentence, const std::string& form) {
  return option->check(CLI::Validator(
      [=](const std::string& argument) -> std::string {
        // Thrown past CLI11, which would put the option's name in front of a returned message.
        if (!accepts(argument)) throw UsageError(sentence + " (not " + argument + ")");
        return "";
      },
      form));
}

bool isPoint(const std::string& text) {
  const size_t comma = text.find(',');
  return comma != std::string::npos &&
         parsePoint(text.substr(0, comma), text.substr(comma + 1)).has_value();
}

}  // namespace

void addSpringboardCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<SpringboardOptions>();
  CLI::App* command = app.add_subcommand(
      "springboard",
      "Run the simulated home screen with the Vitrel3DTouch library injected (it draws "
      "<device>/var/mobile/Library/Caches/vitrel/screen.png after every change), or send a "
      "touch to the one running");
  command
      ->add_option(
          "--library", options->library,
          std::string("The library to inject (default: ") + kLibraryName + " beside this program)")
      ->check(CLI::ExistingFile);
  auto* os = limitNumber(
      command->add_option("--os,--os-version", options->osVersion,
                          "Switch the device to this major version of the system (kept for "
                          "later starts; default: the device's, 16 on a new device)"),
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
                    "Start it again whenever it ends (a crash, a respring by `killall "
                    "SpringBoard`, a switch of system), as the device does");
  command->add_flag("--supervised", options->supervised)->group("");
  const std::string point = " (X,Y in points from the top left, e.g. 200,120)";
  const std::string pointSentence = " takes a point as X,Y in points, e.g. 200,120";
  std::vector<CLI::Option*> controls = {
      command->add_option("--press", options->press,
                          "Tell the running springboard to long-press this app's icon"),
      command->add_option("--press-folder", options->pressFolder,
                          "Tell the running springboard to long-press this folder"),
      command->add_option("--notification", options->notification,
                          "Tell the running springboard to long-press a notification of this "
                          "app on the lock screen"),
      command->add_option("--notify", options->notify,
                          "Tell the running springboard that a notification of this app "
                          "arrives: its banner shows on the unlocked home screen"),
      command->add_flag("--home", options->home, "Tell the running springboard to close its menu"),
      refuseUnless(command->add_option("--hold", options->hold,
                                       "Long-press the running springboard's screen at a "
                                       "point" +
                                           point),
                   isPoint, "--hold" + pointSentence, "X,Y"),
      refuseUnless(command->add_option("--tap", options->tap,
                                       "Tap the running springboard's screen at a point (beside "
                                       "an open menu, it closes)" +
                                           point),
                   isPoint, "--tap" + pointSentence, "X,Y"),
      command->add_flag("--lock", options->lock, "Show the running springboard's lock screen"),
      command->add_flag("--unlock", options->unlock, "Show the running springboard's home screen"),
      refuseUnless(
          command->add_option("--style", options->style,
                              "Switch the running springboard's interface style: "
                              "light or dark"),
          [](const std::string& style) { return style == "light" || style == "dark"; },
          "--style takes light or dark", "light|dark"),
      command
          ->add_option("--dump", options->dump,
                       "Write the running springboard's view tree as JSON to FILE (- for "
                       "standard output)")
          ->type_name("FILE")};
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j)
      controls[i]->excludes(controls[j]);
  }
  command->callback([&device, options, os] {
    const std::optional<long> osVersion =
        os->count() ? std::optional<long>(options->osVersion) : std::nullopt;
    if (controlsARunningSpringboard(*options)) {
      control(device, *options);
    } else if (options->supervise) {
      refuseUnloadableLibrary(*options);
      enterDevice(device);
      // Its child could never start: refuse now, not in a loop.
      refuseSecondSpringboard();
      storeSystemVersion(osVersion);
      if (Result<void> ended = supervise(childCommand(device, *options)); !ended) {
        throw CLI::RuntimeError(ended.error(), 1);
      }
    } else {
      refuseUnloadableLibrary(*options);
      run(device, *options, osVersion);
    }
  });
}
