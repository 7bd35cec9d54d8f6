#pragma once

#include "platform/uikit/ui_view.h"

// A view that blurs what lies behind it; the effect is drawn by its subviews (a backdrop and
// others), its own content goes into its content view.
class UIVisualEffectView : public UIView {};

// The private subview of a visual effect view that draws the blurred backdrop. Key-value
// coding sets its "renderMode" (0 the system material, 1 a clear glass) and
// "backgroundColor".
class VisualEffectBackdropView : public UIView {
 public:
  long renderMode() const { return renderMode_; }
  void setRenderMode(long mode) { renderMode_ = mode; }

 private:
  long renderMode_ = 0;
};
