#pragma once

#include "platform/graphics/ui_image.h"
#include "platform/uikit/rendering/internal/cairo_handles.h"

namespace rendering {

// The image's pixels as a cairo surface, converted on first use and kept, per thread, while
// the image lives: a wallpaper or an icon drawn every frame is converted once. Null for an
// image without pixels. Valid until the next call of either function on this thread.
cairo_surface_t* surfaceOfImage(const UIImage& image);

// Forgets the surfaces of images that nothing but this cache holds any more.
void trimImageSurfaces();

}  // namespace rendering
