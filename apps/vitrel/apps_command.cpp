#include "apps/vitrel/apps_command.h"

#include <iostream>
#include <memory>

#include "apps/vitrel/color_json.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/view_tree_json.h"
#include "platform/springboard/app_catalogue.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/ui_screen.h"

namespace {

std::string joined(const std::vector<std::string>& titles) {
  std::string text;
  for (const auto& title : titles)
    text += (text.empty() ? "" : "; ") + title;
  return text;
}

// Where the home screen shows each icon of a kind (by its index in the catalogue), in points;
// null for what it does not show (apps in folders).
std::vector<Json> iconFrames(const AppCatalogue& catalogue, HomeScreenIcon::Kind kind,
                             size_t count) {
  std::vector<Json> frames(count, nullptr);
  const double width = UIScreen::mainScreen()->bounds().width();
  for (size_t place = 0; place < catalogue.homeScreen().size(); ++place) {
    const HomeScreenIcon& icon = catalogue.homeScreen()[place];
    if (icon.kind == kind) frames[icon.index] = rectJson(homeScreenIconFrame(place, width));
  }
  return frames;
}

Json catalogueJson(const AppCatalogue& catalogue) {
  using Kind = HomeScreenIcon::Kind;
  const std::vector<Json> appFrames = iconFrames(catalogue, Kind::app, catalogue.apps().size());
  Json apps = Json::array();
  for (size_t i = 0; i < catalogue.apps().size(); ++i) {
    const AppEntry& app = catalogue.apps()[i];
    const FolderEntry* folder = catalogue.folderOf(app.bundleIdentifier);
    apps.push_back({{"bundleIdentifier", app.bundleIdentifier},
                    {"name", app.name},
                    {"folder", folder ? Json(folder->name) : Json(nullptr)},
                    {"icon", app.iconFile.string()},
                    {"shortcutTitles", app.shortcutTitles},
                    {"frame", appFrames[i]}});
  }
  const std::vector<Json> folderFrames =
      iconFrames(catalogue, Kind::folder, catalogue.folders().size());
  Json folders = Json::array();
  for (size_t i = 0; i < catalogue.folders().size(); ++i) {
    const FolderEntry& folder = catalogue.folders()[i];
    folders.push_back(
        {{"name", folder.name}, {"apps", folder.bundleIdentifiers}, {"frame", folderFrames[i]}});
  }
  const std::vector<Json> clipFrames =
      iconFrames(catalogue, Kind::webClip, catalogue.webClips().size());
  Json webClips = Json::array();
  for (size_t i = 0; i < catalogue.webClips().size(); ++i) {
    const WebClipEntry& clip = catalogue.webClips()[i];
    webClips.push_back({{"name", clip.name},
                        {"icon", clip.iconFile.string()},
                        {"url", clip.url},
                        {"frame", clipFrames[i]}});
  }
  return {{"catalogue", catalogue.file().string()},
          {"apps", apps},
          {"folders", folders},
          {"webClips", webClips}};
}

void printCatalogue(const AppCatalogue& catalogue) {
  std::cout << "Apps of " << catalogue.file().string() << ":\n";
  for (const AppEntry& app : catalogue.apps()) {
    const FolderEntry* folder = catalogue.folderOf(app.bundleIdentifier);
    std::cout << "  " << app.bundleIdentifier << "  " << app.name;
    if (folder) std::cout << "  (in folder " << folder->name << ")";
    if (!app.shortcutTitles.empty()) std::cout << "\n      actions: " << joined(app.shortcutTitles);
    std::cout << '\n';
  }
  for (const WebClipEntry& clip : catalogue.webClips()) {
    std::cout << "  (web clip)  " << clip.name << (clip.url.empty() ? "" : "  " + clip.url) << '\n';
  }
}

}  // namespace

void addAppsCommand(CLI::App& app, const DeviceOptions& device) {
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "apps", "List the apps of the simulated device's home screen (bundle identifiers to press)");
  command->add_flag("--json", *json, "Print JSON for scripts");
  command->callback([&device, json] {
    enterDevice(device);
    Result<AppCatalogue> catalogue = loadDeviceCatalogue(samplesFolder());
    if (!catalogue) throw CLI::RuntimeError(catalogue.error(), 1);
    if (*json) {
      std::cout << jsonText(catalogueJson(catalogue.value()), 2) << '\n';
    } else {
      printCatalogue(catalogue.value());
    }
  });
}
