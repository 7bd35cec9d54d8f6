#include <gtest/gtest.h>
#include <png.h>

#include <random>
#include <string>
#include <vector>

#include "platform/graphics/internal/png_readers.h"
#include "platform/graphics/internal/png_unfilter.h"
#include "platform/graphics/png.h"
#include "png_bytes.h"

namespace {

using png_bytes::chunk;
using png_bytes::deflated;
using png_bytes::header;

std::vector<uint8_t> randomBytes(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(count);
  for (auto& byte : bytes)
    byte = static_cast<uint8_t>(random());
  return bytes;
}

// Noise for the rows' first half, so that Paeth picks each of its three neighbours, and smooth
// ramps with transparent stretches for the rest, as icons have.
std::vector<uint8_t> testPixels(int width, int height, int channels, unsigned seed) {
  std::vector<uint8_t> pixels = randomBytes(size_t(width) * height * channels, seed);
  for (int y = 0; y < height; ++y) {
    for (int x = width / 2; x < width; ++x) {
      uint8_t* pixel = &pixels[(size_t(y) * width + x) * channels];
      for (int c = 0; c < channels; ++c)
        pixel[c] = static_cast<uint8_t>(x * 7 + y * 3 + c * 50);
      if (channels == 4 && x % 5 == 0) pixel[3] = 0;
    }
  }
  return pixels;
}

void appendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// libpng's own writer with the given row filters, its image data in chunks of 64 bytes, and a
// gamma and a text chunk before it.
std::string encode(int width, int height, int channels, const std::vector<uint8_t>& pixels,
                   int filters) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, appendToString, nullptr);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_set_compression_buffer_size(png, 64);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_set_gAMA(png, info, 1 / 2.2);
  png_text text{};
  text.compression = PNG_TEXT_COMPRESSION_NONE;
  text.key = const_cast<char*>("Title");
  text.text = const_cast<char*>("icon");
  png_set_text(png, info, &text, 1);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, pixels.data() + size_t(y) * width * channels);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<uint8_t> pixelsOf(const Bitmap& bitmap) {
  return {bitmap.pixels(), bitmap.pixels() + bitmap.byteCount()};
}

// The reference: PNG's filters as the format defines them, a byte at a time.
std::vector<uint8_t> unfilteredByDefinition(uint8_t filter, const std::vector<uint8_t>& row,
                                            const std::vector<uint8_t>& previous, size_t bpp) {
  std::vector<uint8_t> out(row.size());
  for (size_t i = 0; i < row.size(); ++i) {
    int a = i >= bpp ? out[i - bpp] : 0, b = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    int predictions[] = {0, a, b, (a + b) / 2, paeth};
    out[i] = static_cast<uint8_t>(row[i] + predictions[filter]);
  }
  return out;
}

// The file's zlib header rewritten to declare a window of 256 bytes.
std::string withSmallWindow(std::string stream) {
  stream[0] = 0x08;
  stream[1] = static_cast<char>(31 - (0x08 * 256) % 31);
  return stream;
}

}  // namespace

TEST(PlainPNGReaderTest, UndoesEveryFilterForEveryPixelSizeAsDefined) {
  for (size_t bpp = 1; bpp <= 8; ++bpp) {
    for (uint8_t filter = 0; filter <= 4; ++filter) {
      std::vector<uint8_t> row = randomBytes(bpp * 37, filter * 10 + unsigned(bpp));
      std::vector<uint8_t> previous = randomBytes(row.size(), 1000 + filter);
      std::vector<uint8_t> expected = unfilteredByDefinition(filter, row, previous, bpp);

      std::vector<uint8_t> out(row.size());
      ASSERT_TRUE(
          png_rows::unfilterRow(filter, row.data(), out.data(), previous.data(), row.size(), bpp));
      EXPECT_EQ(out, expected) << "filter " << int(filter) << ", " << bpp << " bytes a pixel";

      std::vector<uint8_t> inPlace = row;
      png_rows::unfilterRow(filter, inPlace.data(), inPlace.data(), previous.data(), row.size(),
                            bpp);
      EXPECT_EQ(inPlace, expected) << "in place, filter " << int(filter) << ", " << bpp;
    }
  }
  std::vector<uint8_t> row(8), previous(8);
  EXPECT_FALSE(png_rows::unfilterRow(5, row.data(), row.data(), previous.data(), 8, 4));
}

TEST(PlainPNGReaderTest, ReadsRGBAndRGBAFilesAsLibpngReadsThem) {
  const int filterSets[] = {PNG_FILTER_NONE, PNG_FILTER_SUB,   PNG_FILTER_UP,
                            PNG_FILTER_AVG,  PNG_FILTER_PAETH, PNG_ALL_FILTERS};
  for (int channels : {3, 4}) {
    for (int width : {1, 2, 3, 5, 31}) {
      for (int filters : filterSets) {
        std::string file =
            encode(width, 6, channels, testPixels(width, 6, channels, width), filters);
        std::optional<Bitmap> plain = decodePlainPNG(file);
        Result<Bitmap> general = decodePNGWithLibpng(file);
        ASSERT_TRUE(general) << general.error();
        ASSERT_TRUE(plain) << channels << " channels, " << width << " wide, filters " << filters;
        EXPECT_EQ(plain->width(), width);
        EXPECT_EQ(plain->model(), ColorModel::rgb);
        EXPECT_EQ(pixelsOf(*plain), pixelsOf(general.value()))
            << channels << " channels, " << width << " wide, filters " << filters;
      }
    }
  }
}

// What the plain reader does not check itself goes to libpng: every such file gets libpng's
// answer, pixels or refusal.
TEST(PlainPNGReaderTest, LeavesToLibpngEveryFileItDoesNotFullyCheck) {
  const int width = 100;  // rows of 401 bytes: repeats reach further back than 256 bytes
  std::vector<uint8_t> row = randomBytes(4 * width, 7);
  std::string rows;
  for (int y = 0; y < 3; ++y)
    rows += std::string(1, '\0') + std::string(row.begin(), row.end());
  std::string stream = deflated(rows);
  std::string idat = chunk("IDAT", stream), iend = chunk("IEND", "");
  std::string text = chunk("tEXt", std::string("Title\0icon", 10));
  std::string badText = text;
  badText.back() ^= 1;
  std::string rgbRow = std::string(1, '\0') + std::string(3 * width, 'x');

  ASSERT_TRUE(decodePlainPNG(header(width, 3) + text + idat + iend)) << "the file altered below";
  const std::pair<const char*, std::string> files[] = {
      {"transparency chunk", header(width, 1, 2) + chunk("tRNS", std::string(6, 'x')) +
                                 chunk("IDAT", deflated(rgbRow)) + iend},
      {"palette", header(1, 1, 3) + chunk("PLTE", "abc") +
                      chunk("IDAT", deflated(std::string("\0\0", 2))) + iend},
      {"grey", header(width, 1, 0) + chunk("IDAT", deflated(std::string(1 + width, '\0'))) + iend},
      {"interlaced", header(width, 3, 6, 1) + idat + iend},
      {"unknown critical chunk", header(width, 3) + chunk("ABCD", "") + idat + iend},
      {"damaged ancillary chunk", header(width, 3) + badText + idat + iend},
      {"image data split by another chunk", header(width, 3) + chunk("IDAT", stream.substr(0, 9)) +
                                                text + chunk("IDAT", stream.substr(9)) + iend},
      {"no end", header(width, 3) + idat},
      {"bytes after the stream", header(width, 3) + chunk("IDAT", stream + "junk") + iend},
      {"undefined filter",
       header(width, 3) + chunk("IDAT", deflated(std::string(rows).replace(0, 1, 1, '\5'))) + iend},
      {"matches beyond the declared window",
       header(width, 3) + chunk("IDAT", withSmallWindow(stream)) + iend},
      {"too little data for the size",
       header(8192, 8192) + chunk("IDAT", std::string("\x78\x9c\x03\x00", 4)) + iend},
  };
  for (const auto& [defect, file] : files) {
    EXPECT_FALSE(decodePlainPNG(file)) << defect;
    Result<Bitmap> read = decodePNG(file), general = decodePNGWithLibpng(file);
    ASSERT_EQ(bool(read), bool(general)) << defect;
    if (read) {
      EXPECT_EQ(pixelsOf(read.value()), pixelsOf(general.value())) << defect;
    } else {
      EXPECT_EQ(read.error(), general.error()) << defect;
    }
  }
  EXPECT_FALSE(decodePNG(header(width, 3) + chunk("IDAT", withSmallWindow(stream)) + iend))
      << "zlib refuses a match beyond the window";
}
