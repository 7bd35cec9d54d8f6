#pragma once

#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_string.h"
#include "platform/uikit/ui_view.h"

// One action of an icon's long-press menu.
class SBSApplicationShortcutItem : public NSObject {
 public:
  static Ref<SBSApplicationShortcutItem> itemWithTitle(std::string title);
  NSString* localizedTitle() const { return localizedTitle_.get(); }

 private:
  Ref<NSString> localizedTitle_;
};

// An icon on the home screen. `applicationShortcutItems` (a runtime method) answers the
// actions its menu offers.
class SBIconView : public UIView {
 public:
  const std::vector<Ref<SBSApplicationShortcutItem>>& shortcutItems() const {
    return shortcutItems_;
  }
  void setShortcutItems(std::vector<Ref<SBSApplicationShortcutItem>> items) {
    shortcutItems_ = std::move(items);
  }

 private:
  std::vector<Ref<SBSApplicationShortcutItem>> shortcutItems_;
};

// The home screen's icon controller; it gives the view a long-press menu is presented in.
class SBIconController : public NSObject {
 public:
  static SBIconController* sharedInstance();
  UIView* contextMenuContainer();

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
