#pragma once

#include "platform/uikit/ui_visual_effect_view.h"

// The home screen's material: a frosted layer that fills its superview (section bars of menus,
// the backgrounds of notification actions, the dock, folders). Shown as a translucent wash in
// the trait style; its layer is a backdrop layer, which blurs what lies behind once given a
// blur (the dock's and folders' recipes), not a visual effect view.
class MTMaterialView : public BackdropLayerView {
 public:
  MTMaterialView();
};

// The system's material view blurring what lies behind by blurPoints (a backdrop recipe); a
// plain view where the system lacks the class.
Ref<UIView> makeBackdropMaterial(double blurPoints);
