#include "apps/vitrel/apps_command.h"

#include <iostream>
#include <memory>

#include "apps/vitrel/color_json.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/view_tree_json.h"
#include "platform/springboard/app_catalogue.h"
#include "platform/springboard/dock_view.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/ui_screen.h"

namespace {

std::string joined(const std::vector<std::string>& titles) {
  std::string text;
  for (const auto& title : titles)
    text += (text.empty() ? "" : "; ") + title;
  return text;
}

// Where the home screen shows each icon of a kind (by its index in the catalogue), on its page
// or in its dock, in points; null for what it does not show (icons in closed folders).
std::vector<Json> iconFrames(const AppCatalogue& catalogue, HomeScreenIcon::Kind kind,
                             size_t count) {
  std::vector<Json> frames(count, nullptr);
  const CGRect screen = UIScreen::mainScreen()->bounds();
  for (size_t place = 0; place < catalogue.homeScreen().size(); ++place) {
    const HomeScreenIcon& icon = catalogue.homeScreen()[place];
    if (icon.kind == kind)
      frames[icon.index] = rectJson(homeScreenIconFrame(place, screen.width()));
  }
  for (size_t place = 0; kind == HomeScreenIcon::Kind::app && place < catalogue.dock().size();
       ++place) {
    frames[catalogue.dock()[place]] = rectJson(dockIconFrame(place, screen));
  }
  return frames;
}

// "page", "dock" or "folder", and the folder's name (null elsewhere).
Json placeJson(const IconPlace& place) {
  const char* kinds[] = {"page", "dock", "folder"};
  return {{"kind", kinds[static_cast<int>(place.kind)]},
          {"folder", place.kind == IconPlace::Kind::folder ? Json(place.folder) : Json(nullptr)}};
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
                    {"place", placeJson(catalogue.placeOf({Kind::app, i}))},
                    {"icon", app.iconFile.string()},
                    {"shortcutTitles", app.shortcutTitles},
                    {"frame", appFrames[i]}});
  }
  const std::vector<Json> folderFrames =
      iconFrames(catalogue, Kind::folder, catalogue.folders().size());
  Json folders = Json::array();
  for (size_t i = 0; i < catalogue.folders().size(); ++i) {
    const FolderEntry& folder = catalogue.folders()[i];
    Json icons = Json::array();
    for (const HomeScreenIcon& icon : folder.icons) {
      icons.push_back(icon.kind == Kind::app
                          ? Json{{"app", catalogue.apps()[icon.index].bundleIdentifier}}
                          : Json{{"webClip", catalogue.webClips()[icon.index].name}});
    }
    folders.push_back({{"name", folder.name},
                       {"apps", folder.bundleIdentifiers},
                       {"icons", icons},
                       {"frame", folderFrames[i]}});
  }
  const std::vector<Json> clipFrames =
      iconFrames(catalogue, Kind::webClip, catalogue.webClips().size());
  Json webClips = Json::array();
  for (size_t i = 0; i < catalogue.webClips().size(); ++i) {
    const WebClipEntry& clip = catalogue.webClips()[i];
    // A web clip stands for no app: it has a title and artwork, no bundle identifier.
    webClips.push_back({{"name", clip.name},
                        {"title", clip.name},
                        {"bundleIdentifier", nullptr},
                        {"icon", clip.iconFile.string()},
                        {"url", clip.url},
                        {"place", placeJson(catalogue.placeOf({Kind::webClip, i}))},
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
    if (catalogue
            .placeOf(
                {HomeScreenIcon::Kind::app, static_cast<size_t>(&app - catalogue.apps().data())})
            .kind == IconPlace::Kind::dock) {
      std::cout << "  (in the dock)";
    }
    if (!app.shortcutTitles.empty()) std::cout << "\n      actions: " << joined(app.shortcutTitles);
    std::cout << '\n';
  }
  for (size_t i = 0; i < catalogue.webClips().size(); ++i) {
    const WebClipEntry& clip = catalogue.webClips()[i];
    const IconPlace place = catalogue.placeOf({HomeScreenIcon::Kind::webClip, i});
    std::cout << "  (web clip)  " << clip.name << (clip.url.empty() ? "" : "  " + clip.url)
              << (place.folder.empty() ? "" : "  (in folder " + place.folder + ")") << '\n';
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
