#pragma once

#include "platform/uikit/ca_layer.h"
#include "platform/uikit/rendering/internal/paint_stack.h"
#include "platform/uikit/ui_view.h"

namespace rendering {

// Paints layer trees as the device composites them: per layer its shadow, a visual effect
// backdrop, background, its view's content (text, image), sublayers in order (clipped to the
// rounded bounds when it masks to bounds), border on top; at part opacity as one group.
// Hidden or fully transparent layers are skipped with their sublayers.
class LayerPainter {
 public:
  // cr's target must be an image surface; the painter draws through cr with its transform.
  explicit LayerPainter(cairo_t* cr) : stack_(cr), cr_(cr) {}

  // Paints layer and its sublayers with the layer's bounds at the user-space origin.
  void paintTree(const CALayer& layer) { paintLayer(layer, {0, 0}); }

 private:
  void paintLayer(const CALayer& layer, CGPoint position);
  void paintGroup(const CALayer& layer, double opacity, CGPoint superOrigin);
  void paintShadow(const CALayer& layer, cairo_pattern_t* group, double opacity,
                   CGPoint superOrigin);
  void paintContents(const CALayer& layer, CGPoint superOrigin);
  void paintViewContent(const CALayer& layer, CGPoint superOrigin);

  PaintStack stack_;
  cairo_t* cr_;
};

// Draws the view tree through cr (whose target must be an image surface), the view's bounds at
// the user-space origin.
void drawView(cairo_t* cr, const UIView& view);

}  // namespace rendering
