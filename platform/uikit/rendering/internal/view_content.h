#pragma once

#include <optional>

#include "platform/uikit/rendering/internal/cairo_handles.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"

namespace rendering {

// How a label's text is placed and tinted.
struct TextStyle {
  // From the top edge, as a text view's canvas draws, instead of centred as a label centres.
  bool fromTop = false;
  // Multiplies the text's pixels (premultiplied components, one by one).
  std::optional<Color> multiply;
};

// Paints a label's text over its bounds in the current user space: in its text colour for the
// label's interface style, lines aligned as it says. A gradient colour's frame is in the
// superlayer's space, whose origin lies at superOrigin. A multiplied text costs two surfaces
// of the bounds' pixels.
void paintLabelText(cairo_t* cr, const UILabel& label, CGPoint superOrigin, const TextStyle& style);

// Paints an image scaled to fill rect, which must be drawable (an empty image paints nothing).
void paintImage(cairo_t* cr, const UIImage& image, const CGRect& rect);

// Whether the rectangle has finite coordinates and a positive size: what cairo can scale to
// and translate by without failing for good.
bool isDrawable(const CGRect& rect);

}  // namespace rendering
