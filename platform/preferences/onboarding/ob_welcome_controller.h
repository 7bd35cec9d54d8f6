#pragma once

#include <string>
#include <vector>

#include "platform/graphics/ui_image.h"
#include "platform/uikit/hosted_view_controller.h"

// A welcome sheet: a title, a detail text, an icon and a list of bulleted items, each with a
// title, a description and an image. Made with the runtime initialiser
// `initWithTitle:detailText:icon:`; items are added with
// `addBulletedListItemWithTitle:description:image:`.
class OBWelcomeController : public HostedViewController {
 public:
  struct BulletedItem {
    Ref<NSString> title;
    Ref<NSString> description;
    Ref<UIImage> image;
  };

  NSString* detailText() const { return detailText_.get(); }
  UIImage* icon() const { return icon_.get(); }
  const std::vector<BulletedItem>& bulletedItems() const { return items_; }

 private:
  friend void defineWelcomeControllerClass();
  Ref<NSString> detailText_;
  Ref<UIImage> icon_;
  std::vector<BulletedItem> items_;
};

// `_UIBackdropViewSettings`: the look of a backdrop by style number.
class UIBackdropViewSettings : public NSObject {
 public:
  long style() const { return style_; }

 private:
  friend void defineWelcomeControllerClass();
  long style_ = 0;
};

// `_UIBackdropView`: a blurred backdrop that fills its superview when it autosizes.
class UIBackdropView : public UIView {
 public:
  long style() const { return settings_ ? settings_->style() : 0; }
  bool autosizesToFitSuperview() const { return autosizes_; }

 private:
  friend void defineWelcomeControllerClass();
  Ref<UIBackdropViewSettings> settings_;
  bool autosizes_ = false;
};

void defineWelcomeControllerClass();
