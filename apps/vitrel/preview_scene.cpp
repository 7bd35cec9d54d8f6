#include "apps/vitrel/preview_scene.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "platform/uikit/ui_trait_collection.h"

const char* targetName(SceneRequest::Target target) {
  switch (target) {
    case SceneRequest::Target::app:
      return "app";
    case SceneRequest::Target::folder:
      return "folder";
    case SceneRequest::Target::notification:
      return "notification";
    case SceneRequest::Target::webClip:
      return "webclip";
    case SceneRequest::Target::none:
      return "none";
  }
  return "app";
}

namespace {

// Why an icon inside a folder cannot be pressed with the folder closed; empty when it can.
std::string folderProblem(const SceneRequest& request, const std::string& folder) {
  if (folder.empty() || request.openFolder == folder) return "";
  return "'" + request.name + "' is in the folder '" + folder + "'; open it with --open-folder '" +
         folder + "' (or press the folder with --press-folder '" + folder + "')";
}

}  // namespace

std::string problemWith(const AppCatalogue& catalogue, const SceneRequest& request) {
  using Target = SceneRequest::Target;
  const std::string hint = "; `vitrel apps` lists the device's apps";
  auto knownFolder = [&](const std::string& name) {
    return std::any_of(catalogue.folders().begin(), catalogue.folders().end(),
                       [&](const FolderEntry& folder) { return folder.name == name; });
  };
  if (!request.openFolder.empty() && !knownFolder(request.openFolder)) {
    return "unknown folder '" + request.openFolder + "'" + hint;
  }
  if (request.target == Target::none) return "";
  if (request.target == Target::folder) {
    return knownFolder(request.name) ? "" : "unknown folder '" + request.name + "'" + hint;
  }
  if (request.target == Target::webClip) {
    const WebClipEntry* clip = catalogue.webClip(request.name);
    if (!clip) return "unknown web clip '" + request.name + "'" + hint;
    size_t index = static_cast<size_t>(clip - catalogue.webClips().data());
    return folderProblem(request, catalogue.placeOf({HomeScreenIcon::Kind::webClip, index}).folder);
  }
  if (!catalogue.app(request.name)) {
    return "unknown bundle identifier '" + request.name + "'" + hint;
  }
  const FolderEntry* folder = catalogue.folderOf(request.name);
  if (request.target == Target::app && folder) return folderProblem(request, folder->name);
  return "";
}

Scene stageScene(std::shared_ptr<const AppCatalogue> catalogue, const SceneRequest& request) {
  using Target = SceneRequest::Target;
  UITraitCollection::setSystemUserInterfaceStyle(request.dark ? UIUserInterfaceStyleDark
                                                              : UIUserInterfaceStyleLight);
  Scene scene{request, std::make_unique<HomeScreen>(catalogue), {}, request.name};
  HomeScreen& home = *scene.home;
  home.showLockScreen(request.lockScreen);
  if (!request.openFolder.empty()) home.openFolder(request.openFolder);
  if (request.target == Target::none) {
    scene.displayName.clear();
    home.layoutPass();
  } else if (request.target == Target::folder) {
    scene.menu = home.pressIcon(home.folderIconView(request.name));
  } else if (request.target == Target::webClip) {
    scene.menu = home.pressIcon(home.webClipIconView(request.name));
  } else {
    scene.displayName = catalogue->app(request.name)->name;
    scene.menu = request.target == Target::notification
                     ? home.pressNotification(request.name)
                     : home.pressIcon(home.appIconView(request.name));
  }
  if (!scene.menu.root && request.target != Target::none) {
    throw CLI::RuntimeError(
        std::string("the host opened no menu for the ") + targetName(request.target), 1);
  }
  for (int pass = 1; pass < request.passes; ++pass)
    home.layoutPass();
  // What is drawn or dumped is the screen once its animations are over.
  UIView::finishAnimations();
  return scene;
}
