#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/springboard/app_catalogue.h"
#include "platform/springboard/notification_views.h"
#include "platform/springboard/sb_icon_view.h"

// The home screen as its process shows it: a window with the wallpaper and the catalogue's
// icons in a grid, and the lock screen with a notification. Long-presses run as SpringBoard runs
// them, through the runtime, so whatever is injected sees every step. Needs setUpHost() first.
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
  // Shows the lock screen (or the home screen) and tells the lock-screen manager.
  void showLockScreen(bool shown);

  // The icon of an app on the home screen (not in a folder), of a folder, or null.
  SBIconView* appIconView(std::string_view bundleIdentifier) const;
  SBIconView* folderIconView(std::string_view name) const;

  // A long-press on an icon: the icon controller gives the view to present in, the icon view
  // its actions, and the menu opens there and is laid out.
  OpenMenu pressIcon(SBIconView* iconView);
  // A long-press on a notification of the app on the lock screen: the short look appears,
  // gives the container for its expanded content, the expanded platter is laid out (controller,
  // then view) and its menu opens under it.
  OpenMenu pressNotification(std::string_view bundleIdentifier);

  // Runs a layout pass over the whole window, top-down, as the host does after a change.
  void layoutPass() const;

 private:
  void buildHomeScreen();
  void buildLockScreen();
  OpenMenu openMenu(UIView* container, std::vector<std::vector<std::string>> sections,
                    const CGRect& anchor, Ref<UIView> preview);

  std::shared_ptr<const AppCatalogue> catalogue_;
  Ref<UIView> window_;
  Ref<UIView> homeScreen_;
  Ref<UIView> lockScreen_;
  std::vector<Ref<SBIconView>> iconViews_;
  Ref<NCNotificationShortLookViewController> shortLook_;
  Ref<UIViewController> expandedPlatter_;
};
