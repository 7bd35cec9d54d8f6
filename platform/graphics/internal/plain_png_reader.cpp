// Reading icons is most of `vitrel colors`' time, and most of that was libpng's scalar
// unfiltering and zlib's inflating, row by row. Here the whole image data is inflated at once
// by libdeflate and unfiltered with vector instructions. Anything this reader does not fully
// check goes to libpng, so it only ever gives what libpng would.
#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/graphics/internal/png_readers.h"
#include "platform/graphics/internal/png_unfilter.h"
#include "platform/graphics/png.h"

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);

uint32_t bigEndian32(const char* bytes) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = value << 8 | static_cast<uint8_t>(bytes[i]);
  return value;
}

bool isLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Critical chunks have an upper-case first letter.
bool isCritical(std::string_view type) {
  return type[0] >= 'A' && type[0] <= 'Z';
}

struct Chunk {
  std::string_view type;
  std::string_view data;
};

// The file's chunks in order, each checked against its CRC; nothing once one is damaged or
// cut short.
class Chunks {
 public:
  explicit Chunks(std::string_view file) : file_(file) {}

  std::optional<Chunk> next() {
    if (file_.size() - at_ < 12) return std::nullopt;
    uint32_t length = bigEndian32(file_.data() + at_);
    if (length > 0x7FFFFFFF || length > file_.size() - at_ - 12) return std::nullopt;
    std::string_view checked = file_.substr(at_ + 4, 4 + size_t{length});
    if (!std::all_of(checked.begin(), checked.begin() + 4, isLetter)) return std::nullopt;
    uint32_t crc = bigEndian32(checked.data() + checked.size());
    if (libdeflate_crc32(0, checked.data(), checked.size()) != crc) return std::nullopt;
    at_ += 12 + size_t{length};
    return Chunk{checked.substr(0, 4), checked.substr(4)};
  }

 private:
  std::string_view file_;
  size_t at_ = kSignature.size();
};

struct Header {
  uint32_t width = 0, height = 0;
  size_t channels = 0;

  size_t rowBytes() const { return channels * width; }
  // The inflated image data: each row behind its filter byte.
  size_t filteredBytes() const { return (1 + rowBytes()) * height; }
};

// Only the header of an 8-bit RGB or RGBA image within the limits, not interlaced.
std::optional<Header> plainHeader(const std::optional<Chunk>& chunk) {
  if (!chunk || chunk->type != "IHDR" || chunk->data.size() != 13) return std::nullopt;
  const char* fields = chunk->data.data();
  Header header{bigEndian32(fields), bigEndian32(fields + 4), 0};
  uint8_t depth = uint8_t(fields[8]), colorType = uint8_t(fields[9]);
  if (header.width == 0 || header.height == 0 || header.width > uint32_t{kMaxPNGDimension} ||
      header.height > uint32_t{kMaxPNGDimension} ||
      uint64_t{header.width} * header.height > kMaxPNGPixels) {
    return std::nullopt;
  }
  if (depth != 8 || (colorType != 2 && colorType != 6) || fields[10] || fields[11] || fields[12]) {
    return std::nullopt;
  }
  header.channels = colorType == 6 ? 4 : 3;
  return header;
}

// Chunks that change the pixels or that libpng reads and may refuse: transparency, and the
// animation chunks Debian's libpng knows.
bool isReadByLibpng(std::string_view type) {
  return type == "tRNS" || type == "acTL" || type == "fcTL" || type == "fdAT";
}

// The image data: the IDAT chunks, one run of them, up to IEND; nothing when another
// critical chunk (a palette) or one libpng would read comes, or IEND is missing.
std::optional<std::string> imageData(Chunks& chunks, const Header& header) {
  enum { before, within, after } run = before;
  std::string data;
  while (std::optional<Chunk> chunk = chunks.next()) {
    if (chunk->type == "IEND") {
      if (run == before || !chunk->data.empty()) return std::nullopt;
      return data;
    }
    if (chunk->type == "IDAT") {
      // libpng refuses an image data chunk longer than both the rows and other chunks' limit.
      size_t longest = std::max<size_t>(header.filteredBytes(), kMaxPNGChunkBytes);
      if (run == after || chunk->data.size() > longest) return std::nullopt;
      run = within;
      data.append(chunk->data);
    } else {
      if (isCritical(chunk->type) || isReadByLibpng(chunk->type)) return std::nullopt;
      if (chunk->data.size() > kMaxPNGChunkBytes) return std::nullopt;
      if (run == within) run = after;
    }
  }
  return std::nullopt;
}

// zlib checks that no match reaches further back than the stream's declared window, and
// libdeflate does not: a stream declaring a small window is only taken when its whole output
// fits in the window, where no match can reach too far.
bool windowFits(std::string_view data, size_t outputBytes) {
  if (data.size() < 2) return false;
  unsigned windowBits = (uint8_t(data[0]) >> 4) + 8;
  return windowBits <= 15 && (windowBits == 15 || outputBytes <= size_t{1} << windowBits);
}

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* decompressor) const {
    libdeflate_free_decompressor(decompressor);
  }
};

libdeflate_decompressor* decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> instance(
      libdeflate_alloc_decompressor());
  return instance.get();
}

// The whole stream must fill the rows exactly and end exactly where the data ends.
std::unique_ptr<uint8_t[]> inflateRows(std::string_view data, size_t filteredBytes) {
  if (data.size() < filteredBytes / kMaxDeflateRatio || !windowFits(data, filteredBytes)) {
    return nullptr;
  }
  libdeflate_decompressor* inflater = decompressor();
  if (!inflater) return nullptr;
  auto rows = std::make_unique_for_overwrite<uint8_t[]>(filteredBytes);
  size_t consumed = 0;
  libdeflate_result result = libdeflate_zlib_decompress_ex(
      inflater, data.data(), data.size(), rows.get(), filteredBytes, &consumed, nullptr);
  if (result != LIBDEFLATE_SUCCESS || consumed != data.size()) return nullptr;
  return rows;
}

void addOpaqueAlpha(const uint8_t* rgb, uint8_t* rgba, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, rgb += 3, rgba += 4) {
    std::memcpy(rgba, rgb, 3);
    rgba[3] = 0xFF;
  }
}

// RGBA rows are undone straight into the pixels; RGB rows in place, then widened.
std::optional<std::vector<uint8_t>> unfilteredPixels(uint8_t* rows, const Header& header) {
  size_t rowBytes = header.rowBytes(), stride = 1 + rowBytes;
  std::vector<uint8_t> pixels(4 * size_t{header.width} * header.height);
  std::vector<uint8_t> zeros(rowBytes);
  const uint8_t* previous = zeros.data();
  for (size_t y = 0; y < header.height; ++y) {
    uint8_t* filtered = rows + y * stride;
    uint8_t* pixelRow = pixels.data() + y * 4 * size_t{header.width};
    uint8_t* out = header.channels == 4 ? pixelRow : filtered + 1;
    if (!png_rows::unfilterRow(filtered[0], filtered + 1, out, previous, rowBytes,
                               header.channels)) {
      return std::nullopt;
    }
    if (header.channels == 3) addOpaqueAlpha(out, pixelRow, header.width);
    previous = out;
  }
  return pixels;
}

}  // namespace

std::optional<Bitmap> decodePlainPNG(std::string_view bytes) {
  if (!bytes.starts_with(kSignature)) return std::nullopt;
  Chunks chunks(bytes);
  std::optional<Header> header = plainHeader(chunks.next());
  if (!header) return std::nullopt;
  std::optional<std::string> data = imageData(chunks, *header);
  if (!data) return std::nullopt;
  std::unique_ptr<uint8_t[]> rows = inflateRows(*data, header->filteredBytes());
  if (!rows) return std::nullopt;
  std::optional<std::vector<uint8_t>> pixels = unfilteredPixels(rows.get(), *header);
  if (!pixels) return std::nullopt;
  return Bitmap::fromStraightAlpha(int(header->width), int(header->height), std::move(*pixels));
}
