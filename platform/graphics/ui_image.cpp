#include "platform/graphics/ui_image.h"

#include "platform/graphics/png.h"

Ref<UIImage> UIImage::imageWithBitmap(Bitmap bitmap, double scale) {
  auto image = objc::make<UIImage>();
  image->bitmap_ = std::move(bitmap);
  image->scale_ = scale > 0 ? scale : 1;
  return image;
}

Result<Ref<UIImage>> UIImage::imageWithContentsOfFile(const std::filesystem::path& path) {
  Result<Bitmap> bitmap = readPNG(path);
  if (!bitmap) return Result<Ref<UIImage>>::failure(bitmap.error());
  return imageWithBitmap(std::move(bitmap).value(), scaleOfFileName(path));
}

double UIImage::scaleOfFileName(const std::filesystem::path& path) {
  std::string stem = path.stem().string();
  return stem.ends_with("@3x") ? 3 : stem.ends_with("@2x") ? 2 : 1;
}
