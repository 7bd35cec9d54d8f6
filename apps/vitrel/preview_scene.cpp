#include "apps/vitrel/preview_scene.h"

#include <CLI/CLI.hpp>

#include "platform/uikit/ui_trait_collection.h"

const char* targetName(SceneRequest::Target target) {
  switch (target) {
    case SceneRequest::Target::app:
      return "app";
    case SceneRequest::Target::folder:
      return "folder";
    case SceneRequest::Target::notification:
      return "notification";
  }
  return "app";
}

std::string problemWith(const AppCatalogue& catalogue, const SceneRequest& request) {
  const std::string hint = "; `vitrel apps` lists the device's apps";
  if (request.target == SceneRequest::Target::folder) {
    for (const FolderEntry& folder : catalogue.folders()) {
      if (folder.name == request.name) return "";
    }
    return "unknown folder '" + request.name + "'" + hint;
  }
  if (!catalogue.app(request.name)) {
    return "unknown bundle identifier '" + request.name + "'" + hint;
  }
  const FolderEntry* folder = catalogue.folderOf(request.name);
  if (request.target == SceneRequest::Target::app && folder) {
    return "'" + request.name + "' is in the folder '" + folder->name +
           "'; press the folder with --press-folder '" + folder->name + "'";
  }
  return "";
}

Scene stageScene(std::shared_ptr<const AppCatalogue> catalogue, const SceneRequest& request) {
  using Target = SceneRequest::Target;
  UITraitCollection::setSystemUserInterfaceStyle(request.dark ? UIUserInterfaceStyleDark
                                                              : UIUserInterfaceStyleLight);
  Scene scene{request, std::make_unique<HomeScreen>(catalogue), {}, request.name};
  HomeScreen& home = *scene.home;
  home.showLockScreen(request.lockScreen);
  if (request.target == Target::folder) {
    scene.menu = home.pressIcon(home.folderIconView(request.name));
  } else {
    scene.displayName = catalogue->app(request.name)->name;
    scene.menu = request.target == Target::notification
                     ? home.pressNotification(request.name)
                     : home.pressIcon(home.appIconView(request.name));
  }
  if (!scene.menu.root) {
    throw CLI::RuntimeError(
        std::string("the host opened no menu for the ") + targetName(request.target), 1);
  }
  for (int pass = 1; pass < request.passes; ++pass)
    home.layoutPass();
  // What is drawn or dumped is the screen once its animations are over.
  UIView::finishAnimations();
  return scene;
}
