#pragma once

#include <filesystem>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/result.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"

// An image: a bitmap and a scale. Its size in points is its size in pixels divided by the
// scale (a 180 × 180 bitmap at scale 3 is 60 × 60 points). Immutable.
class UIImage : public NSObject {
 public:
  static Ref<UIImage> imageWithBitmap(Bitmap bitmap, double scale = 1);
  // A PNG file; a name ending in "@2x" or "@3x" (before the extension) sets the scale.
  static Result<Ref<UIImage>> imageWithContentsOfFile(const std::filesystem::path& path);
  // The scale a file name gives: 3 or 2 for a name ending in "@3x" or "@2x" before its
  // extension, else 1.
  static double scaleOfFileName(const std::filesystem::path& path);

  // The pixels (the platform's CGImage); empty for an image without a bitmap.
  const Bitmap& bitmap() const { return bitmap_; }
  double scale() const { return scale_; }
  CGSize size() const { return {bitmap_.width() / scale_, bitmap_.height() / scale_}; }

 private:
  Bitmap bitmap_;
  double scale_ = 1;
};
