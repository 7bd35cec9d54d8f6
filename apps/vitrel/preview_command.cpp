#include "apps/vitrel/preview_command.h"

#include <fstream>
#include <iostream>
#include <memory>

#include "apps/vitrel/footprint.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/preview_picture.h"
#include "apps/vitrel/preview_scene.h"
#include "apps/vitrel/sample_device.h"
#include "apps/vitrel/settings_file.h"
#include "apps/vitrel/usage.h"
#include "apps/vitrel/view_tree_json.h"
#include "platform/foundation/value_conversion.h"
#include "platform/springboard/host.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "source/colors/color_quenby.h"
#include "source/colors/image_quenby.h"
#include "source/colors/palette_cube.h"

namespace {

using Target = SceneRequest::Target;

struct PreviewOptions {
  std::string press;
  std::string pressFolder;
  std::string notification;
  std::string banner;
  bool home = false;
  std::string openFolder;
  long osVersion = 16;
  bool lockScreen = false;
  bool dark = false;
  bool light = false;
  int passes = 2;
  std::string dump;
  std::string diff;
  bool withoutLibrary = false;
  std::string output = "vitrel-preview.png";
  double scale = 2;
  std::string library;
};

std::string appsHint() {
  return "; `vitrel apps` lists the device's apps";
}

std::string firstHomeScreenApp(const AppCatalogue& catalogue) {
  for (const HomeScreenIcon& icon : catalogue.homeScreen()) {
    if (icon.kind == HomeScreenIcon::Kind::app)
      return catalogue.apps()[icon.index].bundleIdentifier;
  }
  throw CLI::RuntimeError("the device's home screen has no app to press" + appsHint(), 1);
}

// What --press names: an app by its bundle identifier, else a web clip by its title.
Target pressTarget(const AppCatalogue& catalogue, const std::string& press) {
  return !catalogue.app(press) && catalogue.webClip(press) ? Target::webClip : Target::app;
}

// Refuses what the device cannot show, before anything is loaded.
void check(const AppCatalogue& catalogue, const PreviewOptions& options) {
  if (options.lockScreen && (!options.press.empty() || !options.pressFolder.empty() ||
                             options.home || !options.openFolder.empty())) {
    throw CLI::RuntimeError(
        "the lock screen shows no icons: press a --notification there, or drop --lock-screen", 2);
  }
  const std::string* chosen[] = {&options.press, &options.pressFolder, &options.notification,
                                 &options.banner};
  const SceneRequest::Target targets[] = {pressTarget(catalogue, options.press), Target::folder,
                                          Target::notification, Target::notification};
  for (size_t i = 0; i < 4; ++i) {
    if (chosen[i]->empty()) continue;
    SceneRequest request{targets[i], *chosen[i]};
    request.openFolder = options.openFolder;
    std::string problem = problemWith(catalogue, request);
    if (!problem.empty()) throw CLI::RuntimeError(problem, 2);
  }
  SceneRequest opened{Target::none, ""};
  opened.openFolder = options.openFolder;
  if (std::string problem = problemWith(catalogue, opened); !problem.empty()) {
    throw CLI::RuntimeError(problem, 2);
  }
}

// The icon press the options ask for (the first app by default; none at rest, or in an open
// folder without --press).
SceneRequest iconRequest(const AppCatalogue& catalogue, const PreviewOptions& options) {
  if (options.home) return {Target::none, ""};
  if (!options.pressFolder.empty()) return {Target::folder, options.pressFolder};
  if (!options.openFolder.empty()) {
    SceneRequest request{
        options.press.empty() ? Target::none : pressTarget(catalogue, options.press),
        options.press};
    request.openFolder = options.openFolder;
    return request;
  }
  if (options.press.empty()) return {Target::app, firstHomeScreenApp(catalogue)};
  return {pressTarget(catalogue, options.press), options.press};
}

// The notification's app: the one asked for, else the pressed app, else the first app.
SceneRequest notificationRequest(const AppCatalogue& catalogue, const PreviewOptions& options) {
  std::string app = !options.notification.empty()  ? options.notification
                    : catalogue.app(options.press) ? options.press
                                                   : firstHomeScreenApp(catalogue);
  return {Target::notification, app, true};
}

// The picture's panels: the icon's menu in each style asked for (light and dark by default),
// then the notification on the lock screen; --lock-screen keeps only the lock screen.
std::vector<SceneRequest> pictureRequests(const AppCatalogue& catalogue,
                                          const PreviewOptions& options) {
  std::vector<bool> styles;
  if (options.light || !options.dark) styles.push_back(false);
  if (options.dark || !options.light) styles.push_back(true);
  std::vector<SceneRequest> requests;
  if (options.home || !options.openFolder.empty()) {
    // The home screen (or the open folder) alone, in each style.
    for (bool dark : styles) {
      SceneRequest request = iconRequest(catalogue, options);
      request.dark = dark;
      request.passes = options.passes;
      requests.push_back(request);
    }
    return requests;
  }
  if (!options.banner.empty()) {
    // The banner's notification, long-pressed on the unlocked home screen.
    for (bool dark : styles)
      requests.push_back({Target::notification, options.banner, false, dark, options.passes});
    return requests;
  }
  if (!options.lockScreen && options.notification.empty()) {
    for (bool dark : styles) {
      SceneRequest request = iconRequest(catalogue, options);
      request.dark = dark;
      requests.push_back(request);
    }
  }
  for (bool dark : options.lockScreen ? styles : std::vector<bool>{styles.front()}) {
    SceneRequest request = notificationRequest(catalogue, options);
    request.dark = dark;
    requests.push_back(request);
  }
  for (SceneRequest& request : requests)
    request.passes = options.passes;
  return requests;
}

// The one scene a dump shows.
SceneRequest dumpRequest(const AppCatalogue& catalogue, const PreviewOptions& options) {
  if (!options.banner.empty()) {
    return {Target::notification, options.banner, false, options.dark, options.passes};
  }
  SceneRequest request = options.notification.empty() ? iconRequest(catalogue, options)
                                                      : notificationRequest(catalogue, options);
  request.lockScreen = options.lockScreen;
  request.dark = options.dark;
  request.passes = options.passes;
  return request;
}

Json reportJson(const Scene& scene, long osVersion) {
  const SceneRequest& request = scene.request;
  const bool app = request.target == Target::app || request.target == Target::notification;
  return {{"os", osVersion},
          {"passes", request.passes},
          {"style", request.dark ? "dark" : "light"},
          {"screen", request.lockScreen ? "lock" : "home"},
          {"openFolder", request.openFolder.empty() ? Json(nullptr) : Json(request.openFolder)},
          {"pressed", request.target == Target::none
                          ? Json(nullptr)
                          : Json{{"kind", targetName(request.target)},
                                 {"name", scene.displayName},
                                 {"bundleIdentifier", app ? Json(request.name) : Json(nullptr)}}},
          {"actions", scene.menu.titles},
          {"window", viewTreeJson(scene.home->window())}};
}

void writeDump(const std::string& destination, const Json& report) {
  if (destination == "-") {
    std::cout << jsonText(report, 2) << '\n';
    return;
  }
  std::ofstream file(destination);
  file << jsonText(report, 2) << '\n';
  file.close();
  if (!file) throw CLI::RuntimeError("cannot write " + destination, 1);
  std::cerr << "vitrel: wrote the view tree to " << destination << '\n';
}

// The picture the library colours the pressed icon by, and what it is of: the app's icon (a
// folder's first app's), a web clip's own artwork, or a snapshot of a folder's icon whose
// first icon is no app.
std::pair<Ref<UIImage>, std::string> pressedPicture(const AppCatalogue& catalogue,
                                                    const Scene& scene) {
  const SceneRequest& request = scene.request;
  if (request.target == Target::webClip) {
    return {catalogue.webClipImage(request.name, 3), "the web clip " + request.name};
  }
  std::string app = request.name;
  if (request.target == Target::folder) {
    for (const FolderEntry& folder : catalogue.folders()) {
      if (folder.name != request.name) continue;
      if (folder.icons.front().kind == HomeScreenIcon::Kind::app) {
        app = catalogue.apps()[folder.icons.front().index].bundleIdentifier;
      } else {
        constexpr double kScale = 3;
        return {UIImage::imageWithBitmap(
                    renderView(scene.home->folderIconView(request.name), kScale), kScale),
                "a snapshot of the folder's icon"};
      }
    }
  }
  return {catalogue.iconImage(app, 3), app};
}

// The colour the library takes for the pressed icon, by the method the settings choose: what
// the picture's styling is painted with.
std::string capturedColour(const AppCatalogue& catalogue, const Scene& scene) {
  const SceneRequest& request = scene.request;
  const auto [icon, source] = pressedPicture(catalogue, scene);
  auto stored = settings_file::read();
  Ref<NSObject> enabled = stored ? stored.value()->objectForKey("enabled") : nullptr;
  if (enabled && !boolValueOf(enabled.get())) return "none (enabled is false: nothing is styled)";
  Ref<NSString> method =
      stored ? stored.value()->objectForKey<NSString>(request.target == Target::notification
                                                          ? "colorMethodTavrel"
                                                          : "colorMethodTavrelHS")
             : nullptr;
  Ref<UIColor> colour;
  std::string methodName = "dominant colour";
  if (method && method->string() == "colorMethodTavrel") {
    auto colours =
        PCPaletteCube().extractColorsFromImage(icon.get(), PCFlagBrightOnly | PCFlagAvoidWhite, 1);
    if (!colours.empty()) colour = colours.front();
    methodName = "colour cube";
  } else {
    colour = mirraDominantColor(icon.get());
  }
  Ref<NSString> hex = colour ? mirraHexStringFromColor(colour.get()) : nullptr;
  return (hex ? hex->string() : "none") + " (" + methodName + " of " + source + ")";
}

std::string caption(const Scene& scene) {
  const SceneRequest& request = scene.request;
  std::string style = request.dark ? "dark" : "light";
  const std::string in = request.openFolder.empty() ? "" : " in " + request.openFolder;
  if (request.target == Target::none) {
    return (request.openFolder.empty() ? "Home screen" : request.openFolder + " open") + ", " +
           style;
  }
  if (request.target == Target::notification) {
    return scene.displayName + (request.lockScreen ? " notification, " : " banner, ") + style;
  }
  return scene.displayName + in + ", " + style;
}

void writePicture(std::shared_ptr<const AppCatalogue> catalogue, const PreviewOptions& options) {
  std::vector<Panel> panels;
  for (const SceneRequest& request : pictureRequests(*catalogue, options)) {
    const Scene scene = stageScene(catalogue, request);
    panels.push_back(drawPanel(scene.home->window(), options.scale, caption(scene)));
    if (request.target == Target::none) {
      std::cout << caption(scene) << '\n';
    } else {
      std::cout << caption(scene) << ": " << capturedColour(*catalogue, scene) << '\n';
    }
  }
  Result<void> written = writePreviewPicture(panels, options.scale, options.output);
  if (!written) throw CLI::RuntimeError("cannot write the picture: " + written.error(), 1);
  std::cout << "Wrote " << std::filesystem::absolute(options.output).string() << '\n';
}

void run(const DeviceOptions& device, const PreviewOptions& options) {
  std::shared_ptr<const AppCatalogue> catalogue = openDevice(device);
  check(*catalogue, options);
  settings_file::warnWhenUnreadable();
  if (!options.diff.empty()) {
    writeFootprint(options.diff, device.verbose);
    return;
  }
  HostConfiguration host;
  host.osMajorVersion = options.osVersion;
  host.lockScreenVisible = options.lockScreen;
  setUpHost(host);
  if (!options.withoutLibrary) injectLibrary(options.library);
  if (options.dump.empty()) {
    writePicture(catalogue, options);
  } else {
    writeDump(options.dump, reportJson(stageScene(catalogue, dumpRequest(*catalogue, options)),
                                       options.osVersion));
  }
}

}  // namespace

void addPreviewCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<PreviewOptions>();
  CLI::App* command = app.add_subcommand(
      "preview",
      "Long-press an icon and a notification on the simulated home screen with the library "
      "injected, and draw what the screen shows (or dump its view tree)");
  auto* press =
      command->add_option("--press", options->press,
                          "Long-press the icon of the app with this bundle identifier, or of the "
                          "web clip with this title (default: the first app on the home screen)");
  auto* folder =
      command->add_option("--press-folder", options->pressFolder, "Long-press the named folder");
  auto* notification = command->add_option(
      "--notification", options->notification,
      "Long-press a notification of the app with this bundle identifier (default: the pressed "
      "app's)");
  auto* banner = command->add_option(
      "--banner", options->banner,
      "Post a notification of the app with this bundle identifier while the phone is unlocked "
      "and long-press its banner on the home screen");
  auto* home = command->add_flag("--home", options->home,
                                 "The home screen at rest (page and dock), nothing pressed");
  auto* openFolder = command->add_option(
      "--open-folder", options->openFolder,
      "Open the named folder (a tap on its icon); with --press, long-press an icon inside it");
  home->excludes(press, folder, notification, banner, openFolder);
  openFolder->excludes(folder, notification, banner);
  press->excludes(folder);
  notification->excludes(press, folder);
  banner->excludes(press, folder, notification);
  limitNumber(command->add_option("--os", options->osVersion, "The system's major version")
                  ->capture_default_str(),
              15, 17, true);
  command
      ->add_flag("--lock-screen", options->lockScreen,
                 "Only the lock screen, with a long-pressed notification")
      ->excludes(banner);
  auto* dark = command->add_flag("--dark", options->dark, "Only the dark interface style");
  command->add_flag("--light", options->light, "Only the light interface style")->excludes(dark);
  limitNumber(command
                  ->add_option("--passes", options->passes,
                               "Layout passes once the menu is open (what builds up over passes, "
                               "and what is done only once, shows)")
                  ->capture_default_str(),
              1, 1000, true);
  command->add_option("-o,--output", options->output, "Where to write the picture (PNG)")
      ->capture_default_str();
  limitNumber(command->add_option("--scale", options->scale, "Pixels per point of the picture")
                  ->capture_default_str(),
              0.25, 4);
  auto* dump =
      command->add_option("--dump", options->dump,
                          "Instead of the picture, write the menu's actions and the whole view "
                          "tree of one scene as JSON to FILE (- for standard output)");
  command
      ->add_option("--diff", options->diff,
                   "Instead of the picture, stage one scene twice, with the library and without, "
                   "and write what the library changed, view by view and property by property, "
                   "as JSON {\"changes\": [{path, class, property, host, library}…]} to FILE "
                   "(- for standard output: text grouped by view on a terminal)")
      ->excludes(dump);
  // How each of --diff's two stagings leaves the library out.
  command->add_flag("--without-library", options->withoutLibrary)->group("");
  command
      ->add_option(
          "--library", options->library,
          std::string("The library to inject (default: ") + kLibraryName + " beside this program)")
      ->check(CLI::ExistingFile);
  command->callback([&device, options] { run(device, *options); });
}
