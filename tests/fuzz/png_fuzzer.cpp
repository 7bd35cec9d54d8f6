// Feeds arbitrary bytes to the PNG reader. Beyond not crashing, a refusal must say why, and
// an accepted image must be as large as its header says and no larger than its bytes can
// hold: deflate expands at most 1032 times, and one bit of a pixel becomes at most 32.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/graphics/png.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "png_fuzzer: %s\n%s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<Bitmap> decoded = decodePNG(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!decoded) {
    if (decoded.error().empty()) fail("a failure without a reason", "");
    return 0;
  }
  const Bitmap& bitmap = decoded.value();
  std::string shape = std::to_string(bitmap.width()) + " × " + std::to_string(bitmap.height());
  if (bitmap.empty() || bitmap.width() > kMaxPNGDimension || bitmap.height() > kMaxPNGDimension) {
    fail("an image of impossible size", shape);
  }
  if (bitmap.byteCount() != 4 * size_t(bitmap.width()) * size_t(bitmap.height())) {
    fail("pixels that do not match the size", shape);
  }
  if (bitmap.byteCount() > 32 * 1032 * size) fail("more pixels than the bytes can hold", shape);
  return 0;
}
