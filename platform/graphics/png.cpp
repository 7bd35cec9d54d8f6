#include "platform/graphics/png.h"

// libpng rather than libspng: over the same zlib, libspng measured no faster at reading icons
// and slower at writing the home screen's picture (README, Benchmarks; bench/png_bench.cpp).
// The files nearly every icon is are read faster without either (plain_png_reader.cpp).
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/file_io.h"
#include "platform/graphics/internal/png_readers.h"

namespace {

// Larger files than this cannot hold a picture within the dimension bound worth reading.
constexpr uint64_t kMaxPNGFileBytes = uint64_t{256} << 20;

// Everything libpng may change while decoding lives on the heap: after libpng's longjmp, the
// decoding function may only read state that is not one of its own automatic variables.
struct Decoder {
  std::string_view bytes;
  size_t offset = 0;
  std::string error;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;

  ~Decoder() { png_destroy_read_struct(&png, &info, nullptr); }
};

void onError(png_structp png, png_const_charp message) {
  auto* decoder = static_cast<Decoder*>(png_get_error_ptr(png));
  decoder->error = message;
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* decoder = static_cast<Decoder*>(png_get_io_ptr(png));
  if (decoder->bytes.size() - decoder->offset < length) png_error(png, "the file is truncated");
  std::memcpy(out, decoder->bytes.data() + decoder->offset, length);
  decoder->offset += length;
}

// Every kind of PNG becomes 8-bit RGBA; 16-bit channels are rounded, not cut.
void requestRGBA(png_structp png, png_infop info) {
  int colorType = png_get_color_type(png, info);
  png_set_expand(png);
  png_set_scale_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

uint32_t bigEndian32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// The dimensions the header declares, checked before libpng sees the file, so that the
// refusal can say what is wrong; libpng's own limit stays as the second guard.
std::optional<std::string> dimensionProblem(std::string_view bytes) {
  if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  uint32_t width = bigEndian32(bytes, 16), height = bigEndian32(bytes, 20);
  if (width <= uint32_t{kMaxPNGDimension} && height <= uint32_t{kMaxPNGDimension}) {
    return std::nullopt;
  }
  return "the image is too large (" + std::to_string(width) + " × " + std::to_string(height) +
         " pixels; at most " + std::to_string(kMaxPNGDimension) + " a side)";
}

// The compressed pixel data the file holds: what its IDAT chunks carry, up to the end of the
// file where a chunk claims more than is there.
uint64_t imageDataBytes(std::string_view bytes) {
  uint64_t total = 0;
  for (size_t at = 8; bytes.size() - at >= 8;) {
    size_t data = at + 8;
    uint64_t length = bigEndian32(bytes, at);
    if (bytes.substr(at + 4, 4) == "IDAT") total += std::min<uint64_t>(length, bytes.size() - data);
    if (length + 4 > bytes.size() - data) break;
    at = data + length + 4;
  }
  return total;
}

// Whether the file holds too little compressed data to fill the declared image; checked so
// that a header alone cannot make the reader allocate the pixels of a large picture.
std::optional<std::string> missingImageData(std::string_view bytes, png_structp png,
                                            png_infop info) {
  uint64_t bitsPerPixel = uint64_t{png_get_bit_depth(png, info)} * png_get_channels(png, info);
  uint64_t rawBytes =
      uint64_t{png_get_image_width(png, info)} * png_get_image_height(png, info) * bitsPerPixel / 8;
  uint64_t present = imageDataBytes(bytes);
  if (present >= rawBytes / kMaxDeflateRatio) return std::nullopt;
  return "corrupt PNG: the image data is cut short (" + std::to_string(present) +
         " bytes cannot hold " + std::to_string(rawBytes) + " bytes of pixels)";
}

// Only the chunks that shape the pixels are read; text, profiles, suggested palettes and
// the like are skipped without allocating, however long they claim to be.
void limitMemory(png_structp png) {
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_chunk_malloc_max(png, kMaxPNGChunkBytes);
  // libpng refuses larger dimensions itself, before it allocates anything.
  png_set_user_limits(png, kMaxPNGDimension, kMaxPNGDimension);
  // The image data's own checksum is not summed again: every chunk's CRC, still checked, covers
  // the same bytes as they are in the file, and summing the inflated pixels cost an eighth of
  // the time of reading an icon.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
}

// As for decoding, what libpng may change before a longjmp lives on the heap.
struct Encoder {
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  std::string bytes;
  std::string error;
  png_structp png = nullptr;
  png_infop info = nullptr;

  ~Encoder() { png_destroy_write_struct(&png, &info); }
};

void onEncodeError(png_structp png, png_const_charp message) {
  static_cast<Encoder*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

void appendToMemory(png_structp png, png_bytep data, png_size_t length) {
  static_cast<Encoder*>(png_get_io_ptr(png))->bytes.append(reinterpret_cast<char*>(data), length);
}

void flushNothing(png_structp) {}

// PNG stores straight alpha.
std::vector<uint8_t> straightAlpha(const Bitmap& bitmap) {
  std::vector<uint8_t> straight(bitmap.pixels(), bitmap.pixels() + bitmap.byteCount());
  for (size_t i = 0; i < straight.size(); i += 4) {
    unsigned alpha = straight[i + 3];
    if (alpha == 0 || alpha == 255) continue;
    for (size_t c = 0; c < 3; ++c) {
      straight[i + c] = uint8_t(std::min(255u, (straight[i + c] * 255 + alpha / 2) / alpha));
    }
  }
  return straight;
}

bool encode(Encoder& encoder, int width, int height) {
  if (setjmp(png_jmpbuf(encoder.png))) return false;
  png_set_write_fn(encoder.png, &encoder, appendToMemory, flushNothing);
  // Pictures are written on every change of a running home screen: fast compression is worth
  // a somewhat larger file (the default level takes several times as long). On screens, whose
  // rows repeat the row above more than the pixel beside, the fastest level with the "up"
  // filter takes about 30 % less time than level 3 with "sub", for a file as small.
  png_set_compression_level(encoder.png, 1);
  png_set_filter(encoder.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_IHDR(encoder.png, encoder.info, static_cast<png_uint_32>(width),
               static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(encoder.png, encoder.info);
  encoder.rows.resize(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    encoder.rows[static_cast<size_t>(y)] = encoder.pixels.data() + 4 * size_t(width) * y;
  png_write_image(encoder.png, encoder.rows.data());
  png_write_end(encoder.png, nullptr);
  return true;
}

}  // namespace

Result<Bitmap> decodePNG(std::string_view bytes) {
  if (std::optional<Bitmap> plain = decodePlainPNG(bytes)) return std::move(*plain);
  return decodePNGWithLibpng(bytes);
}

Result<Bitmap> decodePNGWithLibpng(std::string_view bytes) {
  using R = Result<Bitmap>;
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8)) {
    return R::failure("not a PNG file");
  }
  if (auto problem = dimensionProblem(bytes)) return R::failure(*problem);
  auto decoder = std::make_unique<Decoder>();
  decoder->bytes = bytes;
  decoder->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, decoder.get(), onError, onWarning);
  if (!decoder->png) return R::failure("out of memory");
  decoder->info = png_create_info_struct(decoder->png);
  if (!decoder->info) return R::failure("out of memory");
  if (setjmp(png_jmpbuf(decoder->png))) return R::failure("corrupt PNG: " + decoder->error);

  png_set_read_fn(decoder->png, decoder.get(), readFromMemory);
  limitMemory(decoder->png);
  png_read_info(decoder->png, decoder->info);
  png_uint_32 width = png_get_image_width(decoder->png, decoder->info);
  png_uint_32 height = png_get_image_height(decoder->png, decoder->info);
  if (uint64_t{width} * height > kMaxPNGPixels) {
    return R::failure("the image is too large (" + std::to_string(width) + " × " +
                      std::to_string(height) + " pixels)");
  }
  if (auto problem = missingImageData(bytes, decoder->png, decoder->info)) {
    return R::failure(*problem);
  }
  int colorType = png_get_color_type(decoder->png, decoder->info);
  ColorModel model = (colorType & PNG_COLOR_MASK_COLOR) ? ColorModel::rgb : ColorModel::gray;
  requestRGBA(decoder->png, decoder->info);
  decoder->pixels.resize(4 * size_t{width} * height);
  decoder->rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    decoder->rows[y] = decoder->pixels.data() + 4 * size_t{width} * y;
  }
  png_read_image(decoder->png, decoder->rows.data());
  png_read_end(decoder->png, nullptr);
  return Bitmap::fromStraightAlpha(static_cast<int>(width), static_cast<int>(height),
                                   std::move(decoder->pixels), model);
}

Result<Bitmap> readPNG(const std::filesystem::path& path) {
  Result<std::string> bytes = readFileBytes(path, kMaxPNGFileBytes);
  if (!bytes) return Result<Bitmap>::failure(bytes.error());
  Result<Bitmap> bitmap = decodePNG(bytes.value());
  if (!bitmap) return Result<Bitmap>::failure(path.string() + ": " + bitmap.error());
  return bitmap;
}

Result<void> writePNG(const Bitmap& bitmap, const std::filesystem::path& path) {
  if (bitmap.empty()) return Result<void>::failure("cannot write an empty image");
  auto encoder = std::make_unique<Encoder>();
  encoder->pixels = straightAlpha(bitmap);
  encoder->png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, encoder.get(), onEncodeError, onWarning);
  if (!encoder->png) return Result<void>::failure("out of memory");
  encoder->info = png_create_info_struct(encoder->png);
  if (!encoder->info) return Result<void>::failure("out of memory");
  if (!encode(*encoder, bitmap.width(), bitmap.height())) {
    return Result<void>::failure("cannot encode PNG: " + encoder->error);
  }
  return writeFileAtomically(path, encoder->bytes);
}
