#pragma once

#include <cairo.h>

namespace rendering {

// The cairo context of the current thread's current image context, its user space in the
// context's points; null when there is no context or it cannot hold pixels. Owned by the
// context: valid until UIGraphicsEndImageContext pops it.
cairo_t* currentImageContext();

}  // namespace rendering
