#include "apps/vitrel/preview_command.h"

#include <dlfcn.h>

#include <fstream>
#include <iostream>
#include <memory>

#include "apps/vitrel/installation.h"
#include "apps/vitrel/view_tree_json.h"
#include "platform/foundation/log.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"

namespace {

struct PreviewOptions {
  std::string press;
  std::string pressFolder;
  std::string notification;
  long osVersion = 16;
  bool lockScreen = false;
  bool dark = false;
  int passes = 2;
  std::string dump;
  std::string library;
};

// What was long-pressed, for the report.
struct Pressed {
  std::string kind;  // "app", "folder" or "notification"
  std::string name;
  std::string bundleIdentifier;
};

std::string appsHint() {
  return "; `vitrel apps` lists the device's apps";
}

// The default long-press when none is asked for: the first app on the home screen, or on the
// lock screen its notification.
void chooseDefaultTarget(const AppCatalogue& catalogue, PreviewOptions& options) {
  if (!options.press.empty() || !options.pressFolder.empty() || !options.notification.empty()) {
    return;
  }
  for (const HomeScreenIcon& icon : catalogue.homeScreen()) {
    if (icon.kind != HomeScreenIcon::Kind::app) continue;
    const std::string& app = catalogue.apps()[icon.index].bundleIdentifier;
    (options.lockScreen ? options.notification : options.press) = app;
    return;
  }
  throw CLI::RuntimeError("the device's home screen has no app to press" + appsHint(), 1);
}

// Refuses what the device cannot show, before anything is loaded.
void check(const AppCatalogue& catalogue, const PreviewOptions& options) {
  auto fail = [](const std::string& message) { throw CLI::RuntimeError(message, 2); };
  for (const std::string* identifier : {&options.press, &options.notification}) {
    if (!identifier->empty() && !catalogue.app(*identifier)) {
      fail("unknown bundle identifier '" + *identifier + "'" + appsHint());
    }
  }
  if (const FolderEntry* folder = catalogue.folderOf(options.press)) {
    fail("'" + options.press + "' is in the folder '" + folder->name +
         "'; press the folder with --press-folder '" + folder->name + "'");
  }
  if (!options.pressFolder.empty()) {
    bool known = false;
    for (const FolderEntry& folder : catalogue.folders())
      known = known || folder.name == options.pressFolder;
    if (!known) fail("unknown folder '" + options.pressFolder + "'" + appsHint());
  }
  if (options.lockScreen && options.notification.empty()) {
    fail("the lock screen shows no icons: press a --notification there, or drop --lock-screen");
  }
}

void loadLibrary(const std::string& chosen) {
  std::filesystem::path library = findLibrary(chosen);
  // Loaded for the life of the process: its hooks stay installed until it ends.
  if (!dlopen(library.c_str(), RTLD_NOW)) {
    throw CLI::RuntimeError(std::string("cannot load the library: ") + dlerror(), 1);
  }
}

HomeScreen::OpenMenu longPress(HomeScreen& home, const PreviewOptions& options, Pressed& pressed) {
  const AppCatalogue& catalogue = home.catalogue();
  if (!options.pressFolder.empty()) {
    pressed = {"folder", options.pressFolder, ""};
    return home.pressIcon(home.folderIconView(options.pressFolder));
  }
  const bool notification = !options.notification.empty();
  const std::string& identifier = notification ? options.notification : options.press;
  pressed = {notification ? "notification" : "app", catalogue.app(identifier)->name, identifier};
  return notification ? home.pressNotification(identifier)
                      : home.pressIcon(home.appIconView(identifier));
}

Json reportJson(const PreviewOptions& options, const Pressed& pressed,
                const HomeScreen::OpenMenu& menu, UIView* window) {
  return {{"os", options.osVersion},
          {"passes", options.passes},
          {"style", options.dark ? "dark" : "light"},
          {"screen", options.lockScreen ? "lock" : "home"},
          {"pressed",
           {{"kind", pressed.kind},
            {"name", pressed.name},
            {"bundleIdentifier",
             pressed.bundleIdentifier.empty() ? Json(nullptr) : Json(pressed.bundleIdentifier)}}},
          {"actions", menu.titles},
          {"window", viewTreeJson(window)}};
}

void writeDump(const std::string& destination, const Json& report) {
  if (destination == "-") {
    std::cout << report.dump(2) << '\n';
    return;
  }
  std::ofstream file(destination);
  file << report.dump(2) << '\n';
  file.close();
  if (!file) throw CLI::RuntimeError("cannot write " + destination, 1);
  std::cerr << "vitrel: wrote the view tree to " << destination << '\n';
}

void printSummary(const Pressed& pressed, const HomeScreen::OpenMenu& menu) {
  std::cout << "Long-pressed the " << pressed.kind << " " << pressed.name;
  if (!pressed.bundleIdentifier.empty()) std::cout << " (" << pressed.bundleIdentifier << ")";
  std::cout << "; its menu shows " << menu.titles.size() << " actions:\n";
  for (const auto& title : menu.titles)
    std::cout << "  " << title << '\n';
}

void run(const DeviceOptions& device, PreviewOptions options) {
  enterDevice(device);
  Result<AppCatalogue> loaded = loadDeviceCatalogue(samplesFolder());
  if (!loaded) throw CLI::RuntimeError(loaded.error(), 1);
  auto catalogue = std::make_shared<const AppCatalogue>(std::move(loaded).value());
  chooseDefaultTarget(*catalogue, options);
  check(*catalogue, options);

  UITraitCollection::setSystemUserInterfaceStyle(options.dark ? UIUserInterfaceStyleDark
                                                              : UIUserInterfaceStyleLight);
  HostConfiguration host;
  host.osMajorVersion = options.osVersion;
  host.lockScreenVisible = options.lockScreen;
  setUpHost(host);
  loadLibrary(options.library);
  HomeScreen home(catalogue);
  home.showLockScreen(options.lockScreen);

  Pressed pressed;
  HomeScreen::OpenMenu menu = longPress(home, options, pressed);
  if (!menu.root) throw CLI::RuntimeError("the host opened no menu for the " + pressed.kind, 1);
  // Opening the menu ran the first pass.
  for (int pass = 1; pass < options.passes; ++pass)
    home.layoutPass();
  if (options.dump.empty()) {
    printSummary(pressed, menu);
  } else {
    writeDump(options.dump, reportJson(options, pressed, menu, home.window()));
  }
}

}  // namespace

void addPreviewCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<PreviewOptions>();
  CLI::App* command = app.add_subcommand(
      "preview",
      "Long-press an icon or a notification on the simulated home screen with the library "
      "injected, and show what is on screen");
  auto* press = command->add_option("--press", options->press,
                                    "Long-press the icon of the app with this bundle identifier "
                                    "(default: the first app on the home screen)");
  auto* folder =
      command->add_option("--press-folder", options->pressFolder, "Long-press the named folder");
  auto* notification =
      command->add_option("--notification", options->notification,
                          "Long-press a notification of the app with this bundle identifier");
  press->excludes(folder, notification);
  folder->excludes(notification);
  command->add_option("--os", options->osVersion, "The system's major version")
      ->capture_default_str()
      ->check(CLI::IsMember({15, 16, 17}));
  command->add_flag("--lock-screen", options->lockScreen,
                    "Show the lock screen (long-press a --notification there)");
  command->add_flag("--dark", options->dark, "Use the dark interface style");
  command
      ->add_option("--passes", options->passes,
                   "Layout passes to run once the menu is open (what builds up over passes, and "
                   "what is done only once, shows)")
      ->capture_default_str()
      ->check(CLI::Range(1, 1000));
  command->add_option("--dump", options->dump,
                      "Write the menu's actions and the whole view tree as JSON to FILE "
                      "(- for standard output)");
  command
      ->add_option(
          "--library", options->library,
          std::string("The library to inject (default: ") + kLibraryName + " beside this program)")
      ->check(CLI::ExistingFile);
  command->callback([&device, options] { run(device, *options); });
}
