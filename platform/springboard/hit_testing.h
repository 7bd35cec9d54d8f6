#pragma once

#include "platform/uikit/ui_view.h"

// The view a touch at `point` (in `view`'s coordinates) lands on, as the system finds it: the
// deepest view under `view` that contains the point, later subviews (those drawn on top) asked
// first. Hidden views, views too transparent to see (alpha below 0.01) and points outside a
// view's bounds end the search in that branch, whatever its subviews would hold. Null when the
// point misses `view`.
UIView* hitTest(UIView* view, CGPoint point);
