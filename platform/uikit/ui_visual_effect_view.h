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

// A view whose own layer is a backdrop layer, as the home screen's materials are made: it shows
// what lies behind it blurred by `backdropBlur()` points (none at 0), under its background
// colour. No visual effect view and no backdrop subview are involved.
class BackdropLayerView : public UIView {
 public:
  double backdropBlur() const { return backdropBlur_; }
  void setBackdropBlur(double points) { backdropBlur_ = points; }

 private:
  double backdropBlur_ = 0;
};
