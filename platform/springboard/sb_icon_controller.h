#pragma once

#include "platform/uikit/ui_view.h"

// The home screen's icon controller. A long-press asks it, by message, for the view the icon's
// menu is presented in (`containerViewForPresentingContextMenuForIconView:`).
class SBIconController : public NSObject {
 public:
  static SBIconController* sharedInstance();
  // The view menus are presented in; the home screen sets it when it shows.
  UIView* contextMenuContainer();
  void setContextMenuContainer(Ref<UIView> container) {
    contextMenuContainer_ = std::move(container);
  }

 private:
  Ref<UIView> contextMenuContainer_;
};

// Whether the lock screen is showing; the host switches it.
class SBLockScreenManager : public NSObject {
 public:
  static SBLockScreenManager* sharedInstance();
  bool isLockScreenVisible() const { return visible_; }
  void setLockScreenVisible(bool visible) { visible_ = visible; }

 private:
  bool visible_ = false;
};
