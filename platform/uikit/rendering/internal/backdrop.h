#pragma once

#include "platform/uikit/rendering/internal/paint_stack.h"
#include "platform/uikit/ui_visual_effect_view.h"

namespace rendering {

// Paints a visual effect backdrop over its bounds (rounded by radius) in the current user
// space: what has been painted behind it, blurred; in render mode 0 the system material
// (also saturated, and lightened, or darkened in the dark style), in mode 1 a clear glass.
// The backdrop's own background colour is the layer's to paint over it. Costs a blur of the
// area at a fraction of its resolution.
void paintBackdrop(const PaintStack& behind, const VisualEffectBackdropView& backdrop,
                   double radius);

// Paints what has been painted behind the bounds (rounded by radius), blurred by blurPoints,
// for a backdrop layer whose own background then tints it.
void paintBackdropLayer(const PaintStack& behind, const CGRect& bounds, double blurPoints,
                        double radius);

}  // namespace rendering
