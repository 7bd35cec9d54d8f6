#pragma once

#include "platform/graphics/color.h"
#include "platform/uikit/rendering/internal/cairo_handles.h"

namespace rendering {

// A colour component fit for cairo: within 0…1, NaN as 0 (extended-range colours are clipped
// to what the output can show).
double unitComponent(double value);

// Whether painting the colour can change a pixel.
bool isVisible(const Color& color);

// Adds a rectangle with corners rounded by radius (clamped to half the shorter side) to cr's
// path, as a layer's corner radius shapes it.
void addRoundedRect(cairo_t* cr, const CGRect& rect, double radius);

// Makes the colour cr's source, alpha scaled by opacity. A gradient pattern's frame is in the
// coordinate space of the painted layer's superlayer, whose origin lies at superOrigin in the
// current user space.
void setColorSource(cairo_t* cr, const Color& color, CGPoint superOrigin, double opacity = 1);

// Scales cr's transform, unless the result could not be inverted (a factor of 0, or so large
// or small a one that the determinant leaves the doubles), which would stop cr for good.
bool scaleSafely(cairo_t* cr, double sx, double sy);

}  // namespace rendering
