#include "apps/vitrel/apps_command.h"

#include <iostream>
#include <memory>

#include "apps/vitrel/color_json.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/json_text.h"
#include "platform/springboard/app_catalogue.h"

namespace {

std::string joined(const std::vector<std::string>& titles) {
  std::string text;
  for (const auto& title : titles)
    text += (text.empty() ? "" : "; ") + title;
  return text;
}

Json catalogueJson(const AppCatalogue& catalogue) {
  Json apps = Json::array();
  for (const AppEntry& app : catalogue.apps()) {
    const FolderEntry* folder = catalogue.folderOf(app.bundleIdentifier);
    apps.push_back({{"bundleIdentifier", app.bundleIdentifier},
                    {"name", app.name},
                    {"folder", folder ? Json(folder->name) : Json(nullptr)},
                    {"icon", app.iconFile.string()},
                    {"shortcutTitles", app.shortcutTitles}});
  }
  Json webClips = Json::array();
  for (const WebClipEntry& clip : catalogue.webClips()) {
    webClips.push_back({{"name", clip.name}, {"icon", clip.iconFile.string()}, {"url", clip.url}});
  }
  return {{"catalogue", catalogue.file().string()}, {"apps", apps}, {"webClips", webClips}};
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
