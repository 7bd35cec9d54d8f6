#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"

// `libMerrow` is a public class name that other code looks up: see
// "Names that cannot change" in the README.

// Background, primary and secondary colours of an image: its average colour, or the most
// frequent of its colours once each channel is widened by a tolerance, keeping only colours
// that differ from every more frequent kept one. Stateless; any thread may call.
//
// Keys of equal count are ordered by where they first arise: pixels are visited row by row
// from the top, each row from the left, and within a pixel the widened keys in their
// generation order (red slowest, blue fastest).
struct libMerrow {
  // The average colour (calculation 0), its premultiplied channels weighted by alpha once
  // more. Transparent black for an absent image or one without a bitmap. Costs one scaled
  // draw into a single pixel (about 10 µs for a 180 × 180 icon).
  static Ref<UIColor> backgroundColor(const UIImage* image);
  // Calculation 1 at 4 × 4 pixels, flexibility 1, range 100. Opaque black when nothing is
  // drawn; never nil. About 20 µs for a 180 × 180 icon.
  static Ref<UIColor> primaryColor(const UIImage* image);
  // Calculation 2 at 9 × 9 pixels, flexibility 3, range 90: the least frequent of the
  // picked colours. Opaque black when nothing is drawn; never nil. About 60 µs.
  static Ref<UIColor> secondaryColor(const UIImage* image);
  // The general operation. calculation 0 averages (dimension, flexibility and range unused);
  // 1 and 2 draw the image into dimension × dimension pixels and return the last of the
  // picked keys, opaque; any other calculation gives white. Nil when nothing is picked: a
  // dimension below 1, a negative flexibility (no candidates), or a request beyond
  // kMaxDimension or kMaxKeys, which is refused rather than allocated.
  static Ref<UIColor> getColorFromImage(const UIImage* image, int32_t calculation,
                                        int32_t dimension, int32_t flexibility, int32_t range);

  // A picked colour key: channels from 0 to 255 + flexibility, and how many of the generated
  // keys it equals.
  struct Key {
    int32_t red = 0, green = 0, blue = 0;
    uint32_t count = 0;
    friend bool operator==(const Key&, const Key&) = default;
  };
  // The picked keys of calculations 1 and 2, in picking order: the image drawn into
  // dimension × dimension pixels, each pixel widened into (2F + 1)² × 3 keys, counted, and
  // every key kept that is not within range in all three channels of a key kept before it
  // (a negative range keeps every distinct key). Empty where getColorFromImage is nil. Work
  // and memory grow with the distinct pixel colours and keys, not with the keys generated:
  // about 5 ms for an icon at 100 × 100 pixels and flexibility 10 (13 million keys).
  static std::vector<Key> frequentDistinctKeys(const UIImage* image, int32_t dimension,
                                               int32_t flexibility, int32_t range);

  // The largest dimension drawn; a million pixels.
  static constexpr int32_t kMaxDimension = 1024;
  // The most keys one call may generate (dimension² × (2 × flexibility + 1)² × 3): 16.8
  // million, a quarter more than 100 × 100 pixels at flexibility 10 need.
  static constexpr int64_t kMaxKeys = int64_t{1} << 24;
};
