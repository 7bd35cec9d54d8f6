#include "apps/vitrel/svg_image.h"

#include <librsvg/rsvg.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/file_io.h"
#include "platform/uikit/rendering/internal/cairo_handles.h"

namespace {

struct HandleUnref {
  void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct ErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};
using Handle = std::unique_ptr<RsvgHandle, HandleUnref>;
using Error = std::unique_ptr<GError, ErrorFree>;

Result<Bitmap> failure(std::string reason) {
  return Result<Bitmap>::failure(std::move(reason));
}

// librsvg's message, without the line break some end in.
std::string messageOf(const GError* error) {
  std::string message = error ? error->message : "no reason given";
  while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back())))
    message.pop_back();
  return message;
}

// Width over height, from the width and height in pixels, else the viewBox; 1 for a document
// that gives neither, which then fills the square. Absent for a document without area.
std::optional<double> aspectRatio(RsvgHandle* handle) {
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height)) {
    gboolean hasWidth = false, hasHeight = false, hasViewBox = false;
    RsvgLength lengthWidth{}, lengthHeight{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &lengthWidth, &hasHeight, &lengthHeight,
                                         &hasViewBox, &viewBox);
    if (!hasViewBox) return 1.0;
    width = viewBox.width, height = viewBox.height;
  }
  // A zero or negative side gives 0, a negative, an infinite or no ratio.
  double ratio = width / height;
  if (!std::isfinite(ratio) || !(ratio > 0)) return std::nullopt;
  return ratio;
}

// The longer side at size, the other in proportion, rounded, at least one pixel.
std::pair<int, int> fittedSize(double ratio, int size) {
  auto share = [size](double fraction) {
    return std::max(1, static_cast<int>(std::lround(std::min(1.0, fraction) * size)));
  };
  return ratio >= 1 ? std::pair{size, share(1 / ratio)} : std::pair{share(ratio), size};
}

// Cairo's native-endian premultiplied ARGB words as the bitmap's R, G, B, A bytes.
Bitmap bitmapOf(cairo_surface_t* surface, int width, int height) {
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
  std::vector<uint8_t> pixels(4 * size_t(width) * size_t(height));
  uint8_t* out = pixels.data();
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = data + size_t(y) * stride;
    for (int x = 0; x < width; ++x, out += 4) {
      uint32_t word;
      std::memcpy(&word, row + 4 * size_t(x), 4);
      out[0] = static_cast<uint8_t>(word >> 16);
      out[1] = static_cast<uint8_t>(word >> 8);
      out[2] = static_cast<uint8_t>(word);
      out[3] = static_cast<uint8_t>(word >> 24);
    }
  }
  return Bitmap::fromPremultiplied(width, height, std::move(pixels));
}

}  // namespace

Result<Bitmap> rasteriseSVG(std::string_view bytes, int size) {
  if (size < 1 || size > kMaxSVGSize) {
    return failure("size " + std::to_string(size) + " is outside 1 to " +
                   std::to_string(kMaxSVGSize));
  }
  if (bytes.empty()) return failure("not an SVG image: the file is empty");
  GError* rawError = nullptr;
  // No base address: see the header for why that keeps the document to itself.
  Handle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(bytes.data()),
                                          bytes.size(), &rawError));
  Error error(rawError);
  if (!handle) return failure("not an SVG image: " + messageOf(error.get()));
  std::optional<double> ratio = aspectRatio(handle.get());
  if (!ratio) return failure("the SVG image has no area (a width or height of 0)");
  auto [width, height] = fittedSize(*ratio, size);
  rendering::SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    return failure("out of memory for " + std::to_string(width) + "×" + std::to_string(height) +
                   " pixels");
  }
  rendering::ContextHandle context(cairo_create(surface.get()));
  RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
  if (!rsvg_handle_render_document(handle.get(), context.get(), &viewport, &rawError)) {
    error.reset(rawError);
    return failure("the SVG image cannot be drawn: " + messageOf(error.get()));
  }
  return bitmapOf(surface.get(), width, height);
}

Result<Ref<UIImage>> readSVGImage(const std::filesystem::path& path, int size,
                                  const SVGDrawer& draw) {
  Result<std::string> bytes = readFileBytes(path, kMaxSVGFileBytes);
  if (!bytes) return Result<Ref<UIImage>>::failure(bytes.error());
  Result<Bitmap> bitmap = draw(bytes.value(), size);
  if (!bitmap) return Result<Ref<UIImage>>::failure(path.string() + ": " + bitmap.error());
  return UIImage::imageWithBitmap(std::move(bitmap).value(), UIImage::scaleOfFileName(path));
}
