#include "apps/vitrel/springboard_screen.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "apps/vitrel/device_paths.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/preview_picture.h"
#include "apps/vitrel/preview_scene.h"
#include "apps/vitrel/system_version.h"
#include "apps/vitrel/view_tree_json.h"
#include "platform/foundation/file_io.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/ui_screen.h"

namespace fs = std::filesystem;

namespace {

constexpr long kLowestSystem = 15, kHighestSystem = 17;

std::string pointText(CGPoint point) {
  std::ostringstream text;
  text << point.x << ',' << point.y;
  return text.str();
}

// The words of a command line.
std::vector<std::string> wordsOf(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

std::optional<double> numberOf(const std::string& word) {
  std::istringstream in(word);
  double number = 0;
  if (!(in >> number) || !in.eof() || !std::isfinite(number)) return std::nullopt;
  return number;
}

Json targetJson(const PressTarget& target, bool withFrame) {
  Json json = {{"kind", kindName(target.kind)}, {"name", target.name}, {"title", target.title}};
  if (withFrame) json["frame"] = rectJson(target.frame);
  return json;
}

Json menuJson(const HomeScreen& home) {
  std::optional<PressTarget> target = home.menuTarget();
  return target ? targetJson(*target, false) : Json(nullptr);
}

std::string styleName(bool dark) {
  return dark ? "dark" : "light";
}

}  // namespace

std::optional<CGPoint> parsePoint(const std::string& x, const std::string& y) {
  std::optional<double> across = numberOf(x), down = numberOf(y);
  if (!across || !down) return std::nullopt;
  return CGPoint{*across, *down};
}

fs::path screenStatePath() {
  return springboardCacheFolder() / "screen.json";
}

fs::path screenTreePath() {
  return springboardCacheFolder() / "screen-tree.json";
}

SpringboardScreen::SpringboardScreen(std::shared_ptr<const AppCatalogue> catalogue,
                                     SpringboardSetup setup)
    : catalogue_(catalogue), setup_(setup), dark_(setup.dark), home_(std::move(catalogue)) {
  home_.setInterfaceStyle(dark_ ? UIUserInterfaceStyleDark : UIUserInterfaceStyleLight);
  home_.showLockScreen(setup_.lockScreen);
  home_.layoutPass();
}

std::string SpringboardScreen::handle(const std::string& command) {
  const std::vector<std::string> words = wordsOf(command);
  const std::string verb = words.empty() ? "" : words.front();
  if ((verb == "hold" || verb == "tap") && words.size() == 3) {
    std::optional<CGPoint> point = parsePoint(words[1], words[2]);
    const CGRect screen = home_.window()->bounds();
    if (!point) return "error: " + verb + " takes a point in numbers: " + verb + " X Y";
    if (point->x < 0 || point->y < 0 || point->x >= screen.width() || point->y >= screen.height()) {
      return "error: " + pointText(*point) + " is off the screen (" +
             pointText({screen.width(), screen.height()}) + " points)";
    }
    return verb == "hold" ? hold(*point) : tap(*point);
  }
  if ((verb == "lock" || verb == "unlock") && words.size() == 1) {
    home_.showLockScreen(verb == "lock");
    home_.layoutPass();
    return draw();
  }
  if (verb == "home" && words.size() == 1) return closeMenu();
  if (verb == "style" && words.size() == 2 && (words[1] == "light" || words[1] == "dark")) {
    dark_ = words[1] == "dark";
    // A menu presented again runs its own pass; another would show what builds up over passes.
    const bool menuOpen = home_.openMenu();
    home_.setInterfaceStyle(dark_ ? UIUserInterfaceStyleDark : UIUserInterfaceStyleLight);
    if (!menuOpen) home_.layoutPass();
    return draw();
  }
  if (verb == "press" && words.size() >= 3) {
    // The name is the rest of the line: folder names may hold spaces.
    std::istringstream rest(command);
    std::string skipped, kind, name;
    rest >> skipped >> kind >> std::ws;
    std::getline(rest, name);
    return press(kind, name);
  }
  if (verb == "dump" && words.size() == 1) return dump();
  if (verb == "notify" && words.size() == 2) return notify(words[1]);
  if (verb == "system" && words.size() == 2) return switchSystem(words[1]);
  return "error: unknown command '" + command + "'";
}

std::string SpringboardScreen::hold(CGPoint point) {
  // An open menu's container covers the screen: a touch beside the menu closes it.
  if (home_.openMenu()) {
    if (home_.menuAt(point)) return "nothing: " + pointText(point) + " is on the open menu";
    return closeMenu();
  }
  std::optional<PressTarget> target = home_.targetAt(point);
  if (!target) return "nothing: nothing to hold at " + pointText(point);
  if (!home_.press(*target).root) {
    return "error: the host opened no menu for " + target->title;
  }
  return draw();
}

std::string SpringboardScreen::tap(CGPoint point) {
  if (!home_.openMenu()) {
    // Folders open and close; apps and web clips do not launch on this home screen.
    switch (home_.tap(point)) {
      case HomeScreen::TapResult::openedFolder:
      case HomeScreen::TapResult::closedFolder:
        return draw();
      case HomeScreen::TapResult::none:
        break;
    }
    std::optional<PressTarget> target = home_.targetAt(point);
    return target
               ? "nothing: a tap on " + target->title + " opens nothing here; hold it for its menu"
               : "nothing: no menu is open to close at " + pointText(point);
  }
  if (home_.menuAt(point)) return "nothing: " + pointText(point) + " is on the open menu";
  return closeMenu();
}

std::string SpringboardScreen::closeMenu() {
  home_.dismissMenu();
  home_.layoutPass();
  return draw();
}

std::string SpringboardScreen::press(const std::string& kind, const std::string& name) {
  using Target = SceneRequest::Target;
  const std::pair<const char*, Target> kinds[] = {{"app", Target::app},
                                                  {"folder", Target::folder},
                                                  {"webclip", Target::webClip},
                                                  {"notification", Target::notification}};
  for (const auto& [word, target] : kinds) {
    if (kind != word) continue;
    SceneRequest request{target, name};
    request.openFolder = home_.openFolderName().value_or("");
    if (std::string problem = problemWith(*catalogue_, request); !problem.empty()) {
      return "error: " + problem;
    }
    // Icons are pressed on the home screen, notifications on the lock screen.
    home_.showLockScreen(target == Target::notification);
    const HomeScreen::OpenMenu menu =
        target == Target::app       ? home_.pressIcon(home_.appIconView(name))
        : target == Target::folder  ? home_.pressIcon(home_.folderIconView(name))
        : target == Target::webClip ? home_.pressIcon(home_.webClipIconView(name))
                                    : home_.pressNotification(name);
    if (!menu.root) return std::string("error: the host opened no menu for the ") + word;
    return draw();
  }
  return "error: press takes app, folder, webclip or notification, then a name";
}

std::string SpringboardScreen::notify(const std::string& bundleIdentifier) {
  if (std::string problem =
          problemWith(*catalogue_, {SceneRequest::Target::notification, bundleIdentifier});
      !problem.empty()) {
    return "error: " + problem;
  }
  if (home_.lockScreenShown()) {
    return "error: the phone is locked: notifications arriving now go to the lock screen's "
           "list; unlock first for a banner";
  }
  home_.postBanner(bundleIdentifier);
  home_.layoutPass();
  return draw();
}

std::string SpringboardScreen::switchSystem(const std::string& version) {
  std::optional<double> major = numberOf(version);
  if (!major || *major != std::floor(*major) || *major < kLowestSystem || *major > kHighestSystem) {
    return "error: the system must be a whole number from " + std::to_string(kLowestSystem) +
           " to " + std::to_string(kHighestSystem) + " (not " + version + ")";
  }
  if (!setup_.supervised) {
    return "error: this springboard is not supervised, so nothing would start it again as "
           "iOS " +
           version + "; start it with --supervise";
  }
  if (Result<void> stored = system_version::store(static_cast<long>(*major)); !stored) {
    return "error: cannot store the system version: " + stored.error();
  }
  NSLog("springboard: the device is now iOS %ld; respringing", static_cast<long>(*major));
  // Once this answer is written: the supervisor starts the new system at once.
  RunLoop::main().stop();
  return "ok " + screenPicturePath().string();
}

std::string SpringboardScreen::dump() {
  UIView::finishAnimations();
  const HomeScreen::OpenMenu* menu = home_.openMenu();
  const Json tree = {{"os", setup_.osVersion},
                     {"style", styleName(dark_)},
                     {"screen", home_.lockScreenShown() ? "lock" : "home"},
                     {"menu", menuJson(home_)},
                     {"actions", menu ? menu->titles : std::vector<std::string>{}},
                     {"window", viewTreeJson(home_.window())}};
  std::error_code error;
  fs::create_directories(springboardCacheFolder(), error);
  if (Result<void> written = writeFileAtomically(screenTreePath(), jsonText(tree, 2) + "\n");
      !written) {
    return "error: cannot write the view tree: " + written.error();
  }
  return "ok " + screenTreePath().string();
}

std::string SpringboardScreen::stateJson() const {
  Json targets = Json::array();
  for (const PressTarget& target : home_.targets())
    targets.push_back(targetJson(target, true));
  const CGRect screen = home_.window()->bounds();
  const Json state = {{"os", setup_.osVersion},          {"locked", home_.lockScreenShown()},
                      {"style", styleName(dark_)},       {"scale", setup_.scale},
                      {"width", screen.width()},         {"height", screen.height()},
                      {"supervised", setup_.supervised}, {"menu", menuJson(home_)},
                      {"targets", std::move(targets)}};
  return jsonText(state) + "\n";
}

void SpringboardScreen::settingsChanged() {
  // Presenting runs its own pass: the picture is the one a fresh press would give.
  if (!home_.presentAgain().root) home_.layoutPass();
  draw();
}

std::string SpringboardScreen::draw() {
  std::string answer = drawNow();
  if (UIView::pendingAnimationCompletions() > 0 && !redrawPending_) {
    redrawPending_ = std::make_shared<bool>(true);
    UIView::whenAnimationsFinish([this, pending = std::weak_ptr<bool>(redrawPending_)] {
      if (pending.expired()) return;
      redrawPending_.reset();
      drawNow();
    });
  }
  return answer;
}

std::string SpringboardScreen::drawNow() {
  std::error_code error;
  fs::create_directories(springboardCacheFolder(), error);
  // Before the picture: whoever sees a new picture reads what it shows.
  Result<void> written = writeFileAtomically(screenStatePath(), stateJson());
  if (written) written = writeScreenPicture(home_.window(), setup_.scale, screenPicturePath());
  if (!written) {
    NSLog("springboard: cannot draw the screen: %s", written.error());
    return "error: cannot draw the screen: " + written.error();
  }
  NSLog("springboard: drew %s", screenPicturePath().string());
  return "ok " + screenPicturePath().string();
}
