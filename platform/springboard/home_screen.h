#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/springboard/app_catalogue.h"
#include "platform/springboard/folder_view.h"
#include "platform/springboard/notification_banner.h"
#include "platform/springboard/notification_list.h"
#include "platform/springboard/notification_views.h"
#include "platform/springboard/sb_icon_view.h"

// What a long-press can open a menu for, where the screen shows it.
struct PressTarget {
  enum class Kind { app, folder, webClip, notification };
  Kind kind = Kind::app;
  // A bundle identifier (an app, a notification's app), or a folder's or web clip's name.
  std::string name;
  // The name the screen shows: the app's, folder's or web clip's.
  std::string title;
  // In the window's points.
  CGRect frame;
};

// "app", "folder", "webclip" or "notification".
const char* kindName(PressTarget::Kind kind);

// Where the home screen's grid puts the icon at `place` (counting from the first, row by row)
// on a screen `screenWidth` points wide: the icon view's frame, in points.
CGRect homeScreenIconFrame(size_t place, double screenWidth);

// The home screen as its process shows it: a window with the wallpaper and the catalogue's
// icons in a grid, and the lock screen with its notification list. Long-presses run as
// SpringBoard runs them, through the runtime, so whatever is injected sees every step; one menu
// is open at a time, and it leaves the window when dismissed. Needs setUpHost() first.
class HomeScreen {
 public:
  // An open menu: its root view (in the window) and the titles of its actions, in order.
  struct OpenMenu {
    Ref<UIView> root;
    std::vector<std::string> titles;
  };

  // Builds both screens; the home screen shows until the lock screen is asked for. Also
  // answers the system's icon requests (`+[UIImage _applicationIconImageForBundleIdentifier:
  // format:scale:]`) from this catalogue.
  explicit HomeScreen(std::shared_ptr<const AppCatalogue> catalogue);

  UIView* window() const { return window_.get(); }
  const AppCatalogue& catalogue() const { return *catalogue_; }
  // Shows the lock screen (or the home screen) and tells the lock-screen manager; an open menu
  // is dismissed first.
  void showLockScreen(bool shown);
  bool lockScreenShown() const;
  // Sets the system's interface style, repaints the wallpapers for it and presents an open
  // menu again, as the system rebuilds what is on screen when the style changes.
  void setInterfaceStyle(UIUserInterfaceStyle style);

  // The icon of an app, a folder or a web clip on the home screen's page, in the dock or in the
  // open folder, or null.
  SBIconView* appIconView(std::string_view bundleIdentifier) const;
  SBIconView* folderIconView(std::string_view name) const;
  SBIconView* webClipIconView(std::string_view name) const;
  // The lock screen's notifications.
  const NotificationList& lockScreenList() const { return *lockList_; }
  // A notification of the app arrives while the phone is unlocked: its banner shows at the top
  // of the home screen (an open menu is dismissed first). False on the lock screen, whose list
  // takes notifications, and for an unknown app.
  bool postBanner(std::string_view bundleIdentifier);

  // Opens the folder as a tap on its icon does: its icons on a plate over the blurred home
  // screen (an open menu is dismissed and another open folder closed first). False for a folder
  // the home screen does not show.
  bool openFolder(std::string_view name);
  // The open folder leaves the window (with a menu open over it), as a tap beside it does.
  void closeFolder();
  std::optional<std::string> openFolderName() const;
  // A tap at the point while no menu is open: on a folder's icon it opens the folder; beside an
  // open folder's plate and title it closes the folder; anything else does nothing here.
  enum class TapResult { none, openedFolder, closedFolder };
  TapResult tap(CGPoint point);

  // What can be long-pressed on the screen shown now: the icons of the home screen's page and
  // dock (or of the open folder, which covers them), or the notifications of the lock screen.
  std::vector<PressTarget> targets() const;
  // What a touch at the point (in the window's points) lands on: the icon or notification that
  // owns the topmost view there, if any.
  std::optional<PressTarget> targetAt(CGPoint point) const;
  // Whether a touch at the point lands on the open menu itself (its actions, the lifted preview,
  // an expanded notification) rather than on the dimmed screen around it.
  bool menuAt(CGPoint point) const;
  // What the open menu is for, if one is open.
  std::optional<PressTarget> menuTarget() const;
  const OpenMenu* openMenu() const { return presented_ ? &presented_->menu : nullptr; }

  // A long-press on the target, as pressIcon() or pressNotification() runs it.
  OpenMenu press(const PressTarget& target);
  // A long-press on an icon: the icon controller gives the view to present in, the icon view
  // its actions, and the menu opens there and is laid out. An open menu is dismissed first.
  OpenMenu pressIcon(SBIconView* iconView);
  // A long-press on a notification of the app (the top of its stack in the lock screen's list,
  // or its banner on the home screen; one is posted when the app has none): the short look
  // appears, gives the container for its expanded content,
  // the expanded platter is laid out (controller, then view) and its menu opens under it. An
  // open menu is dismissed first.
  OpenMenu pressNotification(std::string_view bundleIdentifier);
  // The open menu and the view it was presented in leave the window, as the host removes them
  // (a banner posted for it on the home screen goes too); nothing when no menu is open.
  void dismissMenu();
  // Dismisses the open menu and long-presses its target again, as a person re-pressing would;
  // answers the new menu (none when no menu was open).
  OpenMenu presentAgain();

  // Runs a layout pass over the whole window, top-down, as the host does after a change.
  void layoutPass() const;

 private:
  // The menu on screen and what the host added to present it.
  struct Presented {
    PressTarget target;
    OpenMenu menu;
    Ref<UIView> container;
    // The view holding the expanded notification, for a notification's menu.
    Ref<UIView> expandedSlot;
  };

  void buildHomeScreen();
  void buildLockScreen();
  void paintWallpapers();
  UIView* shownScreen() const;
  std::optional<PressTarget> notificationTarget(const UIView* view) const;
  // The first icon view of the page, the dock or the open folder whose icon matches.
  SBIconView* findIconView(const std::function<bool(SBIcon*)>& matches) const;
  OpenMenu present(PressTarget target, UIView* container,
                   std::vector<std::vector<std::string>> sections, const CGRect& anchor,
                   Ref<UIView> preview, Ref<UIView> expandedSlot = nullptr);

  std::shared_ptr<const AppCatalogue> catalogue_;
  Ref<UIView> window_;
  Ref<UIView> homeScreen_;
  Ref<UIView> lockScreen_;
  Ref<UIImageView> homeWallpaper_, lockWallpaper_;
  // The page's icons, then the dock's.
  std::vector<Ref<SBIconView>> iconViews_;
  struct OpenFolder {
    std::string name;
    OpenFolderView views;
    std::vector<Ref<SBIconView>> icons;
  };
  std::optional<OpenFolder> openFolder_;
  std::unique_ptr<NotificationList> lockList_;
  std::unique_ptr<NotificationBanner> banner_;
  Ref<UIViewController> expandedPlatter_;
  std::optional<Presented> presented_;
};
