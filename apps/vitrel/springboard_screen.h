#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/springboard/home_screen.h"

// What the running home screen was started as.
struct SpringboardSetup {
  long osVersion = 16;
  bool lockScreen = false;
  bool dark = false;
  double scale = 2;
  // Whether a supervisor starts it again when it ends (which a switch of system needs).
  bool supervised = false;
};

// The running home screen of `vitrel springboard`: takes the control socket's command lines and
// draws what it shows after every change, with a description of it beside the picture for
// whoever shows the picture (<device>/var/mobile/Library/Caches/vitrel/screen.json). Needs the
// host set up, the library loaded and the device folder set.
class SpringboardScreen {
 public:
  SpringboardScreen(std::shared_ptr<const AppCatalogue> catalogue, SpringboardSetup setup);

  // Answers a command line: "ok PATH" when it drew the screen again (or wrote the tree, for
  // `dump`), "nothing: …" when a touch met nothing to act on, "error: …" when refused.
  //   hold X Y | tap X Y            a long-press or a tap (which opens and closes folders)
  //                                 at a point, in points
  //   lock | unlock | home          the lock screen, the home screen, the open menu closed
  //   style light|dark              the interface style
  //   press app|folder|webclip|notification NAME
  //   notify BUNDLE-ID              a notification of the app arrives: its banner shows at
  //                                 the top of the unlocked home screen until a menu closes it
  //   dump                          the view tree, to screen-tree.json
  //   system N                      stores N (15 to 17) as the device's system and ends the
  //                                 process, for its supervisor to start it again as that system
  std::string handle(const std::string& command);

  // After the library reloaded its settings: an open menu is presented again (as a person
  // re-pressing would), or a layout pass restyles what is shown; then the screen is drawn.
  void settingsChanged();

  // Writes screen.json, then screen.png, at once: the screen shows its animations' final
  // values; answers "ok PATH" or "error: …". With completions still waiting, it draws again
  // once they have run, so the last picture shows what they did too.
  std::string draw();

 private:
  std::string hold(CGPoint point);
  std::string tap(CGPoint point);
  std::string closeMenu();
  std::string press(const std::string& kind, const std::string& name);
  std::string notify(const std::string& bundleIdentifier);
  std::string switchSystem(const std::string& version);
  std::string dump();
  std::string stateJson() const;
  std::string drawNow();

  std::shared_ptr<const AppCatalogue> catalogue_;
  SpringboardSetup setup_;
  bool dark_;
  HomeScreen home_;
  // Set while a drawing waits for animations to finish; the waiting callback holds it weakly.
  std::shared_ptr<bool> redrawPending_;
};

// A point from its two numbers' words; none unless both are finite numbers.
std::optional<CGPoint> parsePoint(const std::string& x, const std::string& y);

// Where the running home screen writes the description of its screen and its view tree.
std::filesystem::path screenStatePath();
std::filesystem::path screenTreePath();
