#pragma once

#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"

// `Tessel` is a public class name that other code looks up: see
// "Names that cannot change" in the README.

// One colour of an image from its exact pixel colours: the colours are counted (pixels that
// are transparent or nearly black, R + G + B below 11, left out), taken from the rarest to the
// most frequent, and a colour is kept unless it lies within 10 in every channel of one kept
// before it. Stateless; any thread may call. Costs a draw of the image at its own size, one
// pass over its pixels and a partial sort of its distinct colours.
//
// Colours of equal count are taken in the order of their first pixel, row by row from the
// top, each row from the left.
struct Tessel {
  // The first kept colour: the rarest counted colour of the image, opaque. White for an
  // absent image, one without a counted pixel, or one whose bitmap cannot be drawn in its own
  // colour model (grey).
  static Ref<UIColor> getPrimaryColor(const UIImage* image);
  // The third kept colour, or the last one when fewer than three are kept; white as above.
  static Ref<UIColor> getSecondaryColor(const UIImage* image);
};
