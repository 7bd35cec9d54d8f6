#pragma once

#include "platform/uikit/ui_view.h"

// The home screen's material: a frosted layer that fills its superview (section bars of menus,
// the backgrounds of notification actions). Shown as a translucent wash in the trait style.
class MTMaterialView : public UIView {
 public:
  MTMaterialView();
};
