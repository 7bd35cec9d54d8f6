#include "apps/vitrel/svg_image.h"

#include <fcntl.h>
#include <librsvg/rsvg.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/vitrel/forked_child.h"
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

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif
// The sanitizers reserve terabytes of address space, beyond any cap.
constexpr bool kMemoryCapped = !kSanitized;

// A number from /proc/self/status ("VmData:" in kB, "Threads:"), read without allocating so
// that a forked child may read it; 0 when absent.
uint64_t statusValue(std::string_view key) {
  char text[4096];
  const int file = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (file < 0) return 0;
  const ssize_t count = read(file, text, sizeof text - 1);
  close(file);
  text[std::max<ssize_t>(count, 0)] = '\0';
  const std::string_view status(text);
  const size_t at = status.find(key);
  return at == std::string_view::npos ? 0 : std::strtoull(text + at + key.size(), nullptr, 10);
}

// AddressSanitizer's allocator (GCC's) has no fork handlers: a child forked while another thread
// allocates waits forever on the lock that thread held. Its builds draw in this process then,
// unlimited; they are for tests, and the tests of the limits run single-threaded.
bool forkIsSafe() {
  return !kSanitized || statusValue("Threads:") == 1;
}

// Run in the child: past the wall-clock time SIGALRM ends it, past the processor time SIGXCPU,
// and an allocation past the memory fails, which librsvg and glib answer by aborting.
void limitThisProcess(const SVGDrawingLimits& limits) {
  std::signal(SIGALRM, SIG_DFL);
  std::signal(SIGXCPU, SIG_DFL);
  alarm(limits.seconds);
  const rlimit cpu{limits.seconds, limits.seconds + 1};
  setrlimit(RLIMIT_CPU, &cpu);
  if (kMemoryCapped) {
    // Beyond the data the child inherited: its share of this process's heaps and stacks.
    const rlim_t data = statusValue("VmData:") * 1024 + limits.memoryBytes;
    const rlimit memory{data, data};
    setrlimit(RLIMIT_DATA, &memory);
  }
}

// The child's answer: "width height\n" and the premultiplied RGBA bytes, or "!" and the reason.
std::string answerOf(const Result<Bitmap>& bitmap) {
  if (!bitmap) return "!" + bitmap.error();
  const Bitmap& drawn = bitmap.value();
  std::string text = std::to_string(drawn.width()) + " " + std::to_string(drawn.height()) + "\n";
  text.append(reinterpret_cast<const char*>(drawn.pixels()), drawn.byteCount());
  return text;
}

Result<Bitmap> bitmapOfAnswer(const std::string& text) {
  if (text.starts_with("!")) return failure(text.substr(1));
  int width = 0, height = 0;
  const size_t end = text.find('\n');
  if (end == std::string::npos || std::sscanf(text.c_str(), "%d %d", &width, &height) != 2 ||
      width < 1 || height < 1 || text.size() - end - 1 != 4 * size_t(width) * size_t(height)) {
    return failure("the drawing sent back no picture");
  }
  return Bitmap::fromPremultiplied(width, height,
                                   std::vector<uint8_t>(text.begin() + end + 1, text.end()));
}

// Why the child ended early: a limit it passed, else the signal or status.
std::string stopReason(const std::string& ending, const SVGDrawingLimits& limits) {
  if (ending == strsignal(SIGALRM) || ending == strsignal(SIGXCPU)) {
    return "drawing took longer than " + std::to_string(limits.seconds) + " s (stopped)";
  }
  if (kMemoryCapped && ending == strsignal(SIGABRT)) {
    const uint64_t mebibytes = limits.memoryBytes >> 20;
    return "drawing needed more memory than " +
           (mebibytes % 1024 ? std::to_string(mebibytes) + " MiB"
                             : std::to_string(mebibytes / 1024) + " GiB") +
           " (stopped)";
  }
  return "drawing failed: " + ending;
}

Result<Bitmap> rasteriseInChild(std::string_view bytes, int size, const SVGDrawingLimits& limits) {
  Result<ChildAnswer> answer = runInChild([&] {
    limitThisProcess(limits);
    return answerOf(rasteriseSVG(bytes, size));
  });
  if (!answer) return failure(answer.error());
  if (!answer.value().failure.empty()) return failure(stopReason(answer.value().failure, limits));
  return bitmapOfAnswer(answer.value().text);
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
                                  const SVGDrawingLimits& limits) {
  Result<std::string> bytes = readFileBytes(path, kMaxSVGFileBytes);
  if (!bytes) return Result<Ref<UIImage>>::failure(bytes.error());
  Result<Bitmap> bitmap = forkIsSafe() ? rasteriseInChild(bytes.value(), size, limits)
                                       : rasteriseSVG(bytes.value(), size);
  if (!bitmap) return Result<Ref<UIImage>>::failure(path.string() + ": " + bitmap.error());
  return UIImage::imageWithBitmap(std::move(bitmap).value(), UIImage::scaleOfFileName(path));
}
