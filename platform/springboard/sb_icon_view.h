#pragma once

#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/springboard/sb_icon.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"

// One action of an icon's long-press menu.
class SBSApplicationShortcutItem : public NSObject {
 public:
  static Ref<SBSApplicationShortcutItem> itemWithTitle(std::string title);
  NSString* localizedTitle() const { return localizedTitle_.get(); }

 private:
  Ref<NSString> localizedTitle_;
};

// The view that shows an icon's artwork; `displayedImage` (a runtime method) answers it.
class SBIconImageView : public UIImageView {};

// An icon on the home screen: its artwork above its name. `icon`, `folder`, `currentImageView`
// and `applicationShortcutItems` (the actions its menu offers) are runtime methods.
class SBIconView : public UIView {
 public:
  // The size of an icon view: a 60-point image above its label.
  static constexpr CGSize kSize = {76, 84};
  static constexpr double kImageSide = 60;

  SBIconView();

  SBIcon* icon() const { return icon_.get(); }
  // Shows the icon: its artwork (a folder shows its first apps in a grid) and its name.
  void setIcon(Ref<SBIcon> icon);
  SBIconImageView* currentImageView() const { return imageView_.get(); }
  UILabel* label() const { return label_.get(); }

  const std::vector<Ref<SBSApplicationShortcutItem>>& shortcutItems() const {
    return shortcutItems_;
  }
  void setShortcutItems(std::vector<Ref<SBSApplicationShortcutItem>> items) {
    shortcutItems_ = std::move(items);
  }

 private:
  void showFolderContents(const SBFolder* folder);

  Ref<SBIcon> icon_;
  Ref<SBIconImageView> imageView_;
  Ref<UILabel> label_;
  std::vector<Ref<SBSApplicationShortcutItem>> shortcutItems_;
};
