#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/uikit/ui_view.h"

// Drawing view trees to pixels, as the device composites them: backgrounds, corner radii and
// clipping, borders, opacity, shadows, label text (Inter, set by Pango), images, gradients,
// visual effect backdrops. The whole tree is drawn each time: costs grow with the pixels covered.

// The view's bounds and everything in them at scale pixels a point (ceil(bounds × scale)
// pixels), on transparent pixels. The view's own frame origin is ignored; its opacity and
// hidden flag apply. Empty for no view, a scale that is not positive, or a size that comes to
// no pixels or more than 16384 a side.
Bitmap renderView(const UIView* view, double scale);

// Draws the view and its subtree into the current image context (see image_context.h), its
// bounds mapped onto rect (in the context's points), over what the context holds. False, and
// nothing drawn, without a current context that can hold pixels, or for an empty or
// non-finite bounds or rect.
bool drawViewHierarchy(const UIView* view, const CGRect& rect);
