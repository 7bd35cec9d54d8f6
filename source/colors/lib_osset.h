#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"

// `libOsset` is a public class name that other code looks up: see
// "Names that cannot change" in the README.

// The main colours of an image with the share of each, by libMerrow's frequent distinct
// colours at a chosen detail. Stateless; any thread may call.
class libOsset {
 public:
  // A main colour (opaque) and its count's share of all main colours' counts.
  struct ColourShare {
    Ref<UIColor> colour;
    float share = 0;
  };

  // The main colours in the order they were picked (most frequent first), shares adding up
  // to 1. Detail 0 draws 4 × 4 pixels, flexibility 1, range 100; detail 2 draws 100 × 100,
  // flexibility 10, range 20 (13 million keys, about 5 ms for an icon); any other detail
  // draws 10 × 10, flexibility 2, range 60. An absent image, or one without a bitmap, gives
  // opaque black with share 1.
  std::vector<ColourShare> mainColoursInImage(const UIImage* image, int32_t detail) const;
};
