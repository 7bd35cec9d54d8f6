#include "platform/uikit/image_loading.h"

#include "platform/foundation/log.h"
#include "platform/foundation/ns_bundle.h"

namespace {

const char kOriginKey = 0;

// The origin travels with the image as an associated object.
class ImageOriginBox : public NSObject {
 public:
  ImageOrigin origin;
};

Ref<UIImage> tagged(Ref<UIImage> image, ImageOrigin origin) {
  Ref<ImageOriginBox> box = objc::allocateObject<ImageOriginBox>();
  box->origin = std::move(origin);
  objc_setAssociatedObject(image.get(), &kOriginKey, box.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  return image;
}

}  // namespace

Ref<UIImage> imageWithContentsOfFile(const std::filesystem::path& path) {
  Result<Ref<UIImage>> image = UIImage::imageWithContentsOfFile(path);
  if (!image.ok()) {
    NSLog("image not loaded: %s", image.error());
    return nullptr;
  }
  return tagged(image.value(), {path.string(), UIImageRenderingModeAutomatic});
}

Ref<UIImage> imageNamed(const std::string& name, const NSBundle* bundle) {
  if (!bundle || name.empty()) return nullptr;
  for (const char* suffix : {".png", "@2x.png", "@3x.png"}) {
    std::filesystem::path path = bundle->bundlePath() / (name + suffix);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return imageWithContentsOfFile(path);
  }
  return nullptr;
}

Ref<UIImage> systemImageNamed(const std::string& name) {
  return tagged(UIImage::imageWithBitmap(
                    Bitmap::fromPremultiplied(20, 20, std::vector<uint8_t>(20 * 20 * 4, 0))),
                {"symbol:" + name, UIImageRenderingModeAutomatic});
}

Ref<UIImage> imageWithRenderingMode(const UIImage* image, UIImageRenderingMode mode) {
  if (!image) return nullptr;
  ImageOrigin origin = originOf(image);
  origin.renderingMode = mode;
  return tagged(UIImage::imageWithBitmap(image->bitmap(), image->scale()), std::move(origin));
}

ImageOrigin originOf(const UIImage* image) {
  if (!image) return {};
  Ref<NSObject> box = objc_getAssociatedObject(const_cast<UIImage*>(image), &kOriginKey);
  return box ? static_cast<ImageOriginBox*>(box.get())->origin : ImageOrigin{};
}
