#pragma once

#include <memory>
#include <string>

#include "platform/springboard/home_screen.h"

// One long-press on the simulated home screen, as `vitrel preview` stages it (or, for `none`,
// the screen at rest).
struct SceneRequest {
  enum class Target { app, folder, notification, webClip, none };
  Target target = Target::app;
  // A bundle identifier, or a folder's or web clip's name.
  std::string name;
  bool lockScreen = false;
  bool dark = false;
  // Layout passes in all, counting the one that opening the menu runs.
  int passes = 2;
  // The folder opened (by a tap on its icon) before the press, if any.
  std::string openFolder = {};
};

// What is on screen after the press.
struct Scene {
  SceneRequest request;
  std::unique_ptr<HomeScreen> home;
  HomeScreen::OpenMenu menu;
  // The pressed app's, folder's or web clip's display name; empty when nothing is pressed.
  std::string displayName;
};

// Why the device cannot stage the request (an unknown app, folder or web clip, an icon inside
// a folder that is not open), in words for the user; empty when it can.
std::string problemWith(const AppCatalogue& catalogue, const SceneRequest& request);

// Builds a home screen in the request's style (the host must be set up and the library loaded),
// shows the lock screen or the home screen, long-presses and runs the passes. Throws a
// CLI::RuntimeError when the host opens no menu.
Scene stageScene(std::shared_ptr<const AppCatalogue> catalogue, const SceneRequest& request);

const char* targetName(SceneRequest::Target target);
