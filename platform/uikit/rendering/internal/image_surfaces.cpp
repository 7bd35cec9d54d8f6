#include "platform/uikit/rendering/internal/image_surfaces.h"

#include <unordered_map>

#include "platform/uikit/rendering/internal/pixels.h"

namespace rendering {

namespace {

// Past this many pixels held, the cache starts afresh rather than grow without bound.
constexpr size_t kPixelBudget = size_t(64) << 20;

struct Cache {
  // Holding the image keeps its address from being reused for another while it is a key.
  std::unordered_map<const UIImage*, std::pair<Ref<const UIImage>, SurfaceHandle>> surfaces;
  size_t pixels = 0;
};

Cache& cache() {
  thread_local Cache perThread;
  return perThread;
}

size_t pixelCount(const Bitmap& bitmap) {
  return size_t(bitmap.width()) * size_t(bitmap.height());
}

}  // namespace

cairo_surface_t* surfaceOfImage(const UIImage& image) {
  Cache& cached = cache();
  if (auto found = cached.surfaces.find(&image); found != cached.surfaces.end()) {
    return found->second.second.get();
  }
  SurfaceHandle surface = surfaceFromBitmap(image.bitmap());
  if (!surface) return nullptr;
  size_t pixels = pixelCount(image.bitmap());
  if (cached.pixels + pixels > kPixelBudget) {
    cached.surfaces.clear();
    cached.pixels = 0;
  }
  cached.pixels += pixels;
  cairo_surface_t* made = surface.get();
  cached.surfaces.emplace(&image, std::pair{Ref<const UIImage>(&image), std::move(surface)});
  return made;
}

void trimImageSurfaces() {
  Cache& cached = cache();
  std::erase_if(cached.surfaces, [&](const auto& entry) {
    const auto& [image, surface] = entry.second;
    if (image->retainCount() > 1) return false;
    cached.pixels -= pixelCount(image->bitmap());
    return true;
  });
}

}  // namespace rendering
