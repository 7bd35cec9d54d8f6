#pragma once

#include "platform/graphics/geometry.h"
#include "platform/graphics/ui_image.h"

// Image contexts, as UIKit has them: a stack per thread of offscreen bitmaps that views draw
// into (drawViewHierarchyInRect:afterScreenUpdates:) and images are taken from.

// Pushes a transparent context of size points at scale pixels per point (0: the main screen's
// scale), so ceil(size × scale) pixels; an opaque one starts black. A size with a side that is
// not positive, a scale that is neither 0 nor positive, or more than 16384 pixels a side push
// a context that draws nothing and yields no image, so pushes and pops still pair.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);

// What the current context holds, as an image with the context's scale (its size in points
// is its size in pixels / scale); nil when there is no context or it cannot hold pixels.
// Copies the pixels.
Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext();

// Pops the current context; nothing when there is none.
void UIGraphicsEndImageContext();
