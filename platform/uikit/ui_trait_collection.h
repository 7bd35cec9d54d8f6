#pragma once

#include "platform/foundation/ns_object.h"

enum UIUserInterfaceStyle : long {
  UIUserInterfaceStyleUnspecified = 0,
  UIUserInterfaceStyleLight = 1,
  UIUserInterfaceStyleDark = 2,
};

// The traits a view sees. Only the interface style is modelled.
class UITraitCollection : public NSObject {
 public:
  // Shared, immutable instances, one per style.
  static Ref<UITraitCollection> traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle style);

  UIUserInterfaceStyle userInterfaceStyle() const { return style_; }

  // The style of the whole device (the user's light or dark appearance); views inherit it
  // unless they or an ancestor override it. Light until the host says otherwise.
  static UIUserInterfaceStyle systemUserInterfaceStyle();
  static void setSystemUserInterfaceStyle(UIUserInterfaceStyle style);

 private:
  UIUserInterfaceStyle style_ = UIUserInterfaceStyleUnspecified;
};
