#pragma once

#include "apps/vitrel/color_json.h"
#include "platform/uikit/ui_view.h"

// A view and everything under it as the screen holds it, for scripts and tests: class,
// description, geometry, visibility, colours (labels' text colour resolved for the view's
// style), reuse identifiers, backdrop render modes, the layer's styling and the plain layers
// that code added beside the subviews' own.
Json viewTreeJson(UIView* view);

// A rectangle in points: {"x", "y", "width", "height"}.
Json rectJson(const CGRect& rect);
