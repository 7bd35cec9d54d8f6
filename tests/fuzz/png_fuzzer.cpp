// Feeds arbitrary bytes to the PNG reader. Beyond not crashing, a refusal must say why, and
// an accepted image must be as large as its header says and no larger than its bytes can
// hold: deflate expands at most 1032 times, and one bit of a pixel becomes at most 32.
// Whatever the fast reader of common files accepts, libpng must read to the same pixels; the
// bytes are tried as they are and with every chunk's CRC made right, so that changed bytes
// get past the checksums to the parts behind them.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/graphics/internal/png_readers.h"
#include "platform/graphics/png.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "png_fuzzer: %s\n%s\n", what, detail.c_str());
  std::abort();
}

uint32_t bigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

std::string withCRCsMadeRight(std::string bytes) {
  for (size_t at = 8; bytes.size() >= 12 && at <= bytes.size() - 12;) {
    uint32_t length = bigEndian32(bytes, at);
    if (length > bytes.size() - 12 - at) break;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + at + 4), length + 4);
    for (size_t i = 0; i < 4; ++i)
      bytes[at + 8 + length + i] = static_cast<char>(crc >> (24 - 8 * i));
    at += 12 + size_t{length};
  }
  return bytes;
}

void checkFastReaderAgrees(std::string_view bytes) {
  std::optional<Bitmap> fast = decodePlainPNG(bytes);
  if (!fast) return;
  Result<Bitmap> general = decodePNGWithLibpng(bytes);
  if (!general) fail("the fast reader accepts what libpng refuses", general.error());
  const Bitmap& bitmap = general.value();
  if (bitmap.width() != fast->width() || bitmap.height() != fast->height() ||
      bitmap.model() != fast->model() ||
      !std::equal(bitmap.pixels(), bitmap.pixels() + bitmap.byteCount(), fast->pixels())) {
    fail("the fast reader and libpng read different pixels", "");
  }
}

void checkDecoded(std::string_view bytes) {
  checkFastReaderAgrees(bytes);
  Result<Bitmap> decoded = decodePNG(bytes);
  if (!decoded) {
    if (decoded.error().empty()) fail("a failure without a reason", "");
    return;
  }
  const Bitmap& bitmap = decoded.value();
  size_t size = bytes.size();
  std::string shape = std::to_string(bitmap.width()) + " × " + std::to_string(bitmap.height());
  if (bitmap.empty() || bitmap.width() > kMaxPNGDimension || bitmap.height() > kMaxPNGDimension) {
    fail("an image of impossible size", shape);
  }
  if (bitmap.byteCount() != 4 * size_t(bitmap.width()) * size_t(bitmap.height())) {
    fail("pixels that do not match the size", shape);
  }
  if (bitmap.byteCount() > 32 * 1032 * size) fail("more pixels than the bytes can hold", shape);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  checkDecoded(bytes);
  checkDecoded(withCRCsMadeRight(bytes));
  return 0;
}
