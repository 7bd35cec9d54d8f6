#include "platform/graphics/png.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <fstream>
#include <functional>

#include "platform/graphics/ui_image.h"
#include "png_bytes.h"

namespace {

using png_bytes::bigEndian;
using png_bytes::chunk;
using png_bytes::header;

std::filesystem::path scratch(const std::string& name) {
  auto folder = std::filesystem::temp_directory_path() / "vitrel-png-test";
  std::filesystem::create_directories(folder);
  return folder / name;
}

// Encodes pixels with libpng's own writer, in the given format.
std::string encode(int width, int height, uint32_t format, const std::vector<uint8_t>& pixels,
                   const std::vector<uint8_t>& colormap = {}) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = static_cast<uint32_t>(colormap.size() / 4);
  png_alloc_size_t size = 0;
  const void* map = colormap.empty() ? nullptr : colormap.data();
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, map));
  std::string bytes(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, map));
  bytes.resize(size);
  return bytes;
}

// How much the peak resident size grows, in MiB, while `work` runs in a child process.
long peakGrowthMiB(const std::function<void()>& work) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    work();
    getrusage(RUSAGE_SELF, &after);
    long growth = (after.ru_maxrss - before.ru_maxrss) / 1024;
    _exit(write(channel[1], &growth, sizeof growth) == sizeof growth ? 0 : 1);
  }
  close(channel[1]);
  long growth = -1;
  if (read(channel[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return growth;
}

std::vector<uint8_t> pixelsOf(const Bitmap& bitmap) {
  return {bitmap.pixels(), bitmap.pixels() + bitmap.byteCount()};
}

}  // namespace

TEST(PNGTest, DecodesEveryStandardKindToPremultipliedRGBA) {
  auto rgba = decodePNG(encode(2, 1, PNG_FORMAT_RGBA, {255, 0, 0, 255, 0, 0, 255, 128}));
  ASSERT_TRUE(rgba) << rgba.error();
  EXPECT_EQ(pixelsOf(rgba.value()), (std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 128, 128}));
  EXPECT_EQ(rgba.value().model(), ColorModel::rgb);

  auto rgb = decodePNG(encode(1, 1, PNG_FORMAT_RGB, {10, 20, 30}));
  EXPECT_EQ(pixelsOf(rgb.value()), (std::vector<uint8_t>{10, 20, 30, 255}));

  auto grey = decodePNG(encode(1, 1, PNG_FORMAT_GRAY, {77}));
  EXPECT_EQ(pixelsOf(grey.value()), (std::vector<uint8_t>{77, 77, 77, 255}));
  EXPECT_EQ(grey.value().model(), ColorModel::gray);

  auto greyAlpha = decodePNG(encode(1, 1, PNG_FORMAT_GA, {200, 0}));
  EXPECT_EQ(pixelsOf(greyAlpha.value()), (std::vector<uint8_t>{0, 0, 0, 0}));

  std::vector<uint8_t> palette = {255, 0, 0, 255, 0, 255, 0, 64};
  auto indexed =
      decodePNG(encode(2, 1, PNG_FORMAT_RGBA_COLORMAP, std::vector<uint8_t>{1, 0}, palette));
  ASSERT_TRUE(indexed) << indexed.error();
  EXPECT_EQ(pixelsOf(indexed.value()), (std::vector<uint8_t>{0, 64, 0, 64, 255, 0, 0, 255}));
}

TEST(PNGTest, SixteenBitChannelsAreRoundedToEightBits) {
  std::vector<uint16_t> wide = {0x8080, 0xFFFF, 0x0000, 0xFFFF};  // linear grey + alpha
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_LINEAR_Y_ALPHA;
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, wide.data(), 0, nullptr));
  std::string bytes(size, '\0');
  ASSERT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, wide.data(), 0, nullptr));
  bytes.resize(size);
  auto decoded = decodePNG(bytes);
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(decoded.value().pixel(0, 0)[0], 0x80);
  EXPECT_EQ(decoded.value().pixel(1, 0)[0], 0x00);
}

TEST(PNGTest, DamagedFilesFailWithAReason) {
  std::string good = encode(4, 4, PNG_FORMAT_RGBA, std::vector<uint8_t>(64, 200));
  EXPECT_EQ(decodePNG("").error(), "not a PNG file");
  EXPECT_EQ(decodePNG("GIF89a....").error(), "not a PNG file");
  auto truncated = decodePNG(good.substr(0, good.size() / 2));
  ASSERT_FALSE(truncated);
  EXPECT_NE(truncated.error().find("corrupt PNG"), std::string::npos) << truncated.error();
  std::string flipped = good;
  flipped[good.size() / 2] ^= 0x55;
  EXPECT_FALSE(decodePNG(flipped));
}

// The chunk's CRC guards the image data; the deflate stream's own checksum is not summed again.
TEST(PNGTest, ImageDataIsCheckedByItsChunksChecksum) {
  // Stored, not compressed: a changed pixel byte still inflates, so only a checksum sees it.
  const std::string row = std::string(1, '\0') + "\x10\x20\x30\xff";
  uLongf size = compressBound(row.size());
  std::string deflated(size, '\0');
  ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(deflated.data()), &size,
                      reinterpret_cast<const Bytef*>(row.data()), row.size(), 0),
            Z_OK);
  deflated.resize(size);
  auto file = [&](const std::string& data) {
    return header(1, 1) + chunk("IDAT", data) + chunk("IEND", "");
  };
  ASSERT_EQ(decodePNG(file(deflated)).value().pixel(0, 0)[0], 0x10);

  std::string changedPixel = file(deflated);
  const size_t redInFile = 33 + 8 + deflated.size() - 4 - 4;  // before green, blue, alpha, sum
  ASSERT_EQ(changedPixel[redInFile], '\x10');
  changedPixel[redInFile] = '\x11';  // the chunk's CRC left as it was
  auto damaged = decodePNG(changedPixel);
  ASSERT_FALSE(damaged);
  EXPECT_NE(damaged.error().find("CRC"), std::string::npos) << damaged.error();

  std::string wrongSum = deflated;
  wrongSum.back() ^= 0x01;
  auto summedWrong = decodePNG(file(wrongSum));
  ASSERT_TRUE(summedWrong) << summedWrong.error();
  EXPECT_EQ(summedWrong.value().pixel(0, 0)[0], 0x10);
}

TEST(PNGTest, AbsurdDimensionsAreRefusedBeforeAllocating) {
  std::string bytes = encode(1, 1, PNG_FORMAT_RGBA, {1, 2, 3, 4});
  // Rewrite the header's width and height (bytes 16..23) and its checksum.
  bytes.replace(16, 8, bigEndian(100000) + bigEndian(100000));
  auto crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17);
  bytes.replace(29, 4, bigEndian(static_cast<uint32_t>(crc)));
  auto refused = decodePNG(bytes);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(),
            "the image is too large (100000 × 100000 pixels; at most 16384 a side)");
}

TEST(PNGTest, ChunksThatClaimMoreThanTheFileHoldsCostNoMemory) {
  for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "iCCP", "eXIf", "vpAg"}) {
    std::string lying = header(1, 1) + chunk(type, std::string("k\0", 2) + "text", 0x7FFFFFFF);
    long growth = peakGrowthMiB([&] { (void)decodePNG(lying); });
    EXPECT_LT(growth, 16) << type;
    EXPECT_GE(growth, 0) << type;
    EXPECT_EQ(decodePNG(lying).error(), "corrupt PNG: the file is truncated") << type;
  }
  // Text is skipped, not refused, when it is all there.
  std::string image = encode(1, 1, PNG_FORMAT_RGBA, {1, 2, 3, 255});
  std::string withText =
      image.substr(0, 33) + chunk("tEXt", std::string("Title\0icon", 10)) + image.substr(33);
  auto decoded = decodePNG(withText);
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(pixelsOf(decoded.value()), (std::vector<uint8_t>{1, 2, 3, 255}));
}

TEST(PNGTest, AHeaderWithoutItsDataAllocatesNoPixels) {
  std::string empty =
      header(8192, 8192) + chunk("IDAT", std::string("\x78\x9c\x03\x00", 4)) + chunk("IEND", "");
  long growth = peakGrowthMiB([&] { (void)decodePNG(empty); });
  EXPECT_LT(growth, 16);
  EXPECT_GE(growth, 0);
  EXPECT_EQ(
      decodePNG(empty).error(),
      "corrupt PNG: the image data is cut short (4 bytes cannot hold 268435456 bytes of pixels)");
}

TEST(PNGTest, WrittenFilesReadBackWithTheirScale) {
  std::vector<uint8_t> pixels = {255, 0, 0, 255, 0, 0, 0, 0, 40, 80, 120, 128, 1, 2, 3, 4};
  Bitmap bitmap = Bitmap::fromStraightAlpha(2, 2, pixels);
  auto path = scratch("icon@3x.png");
  ASSERT_TRUE(writePNG(bitmap, path));
  auto image = UIImage::imageWithContentsOfFile(path);
  ASSERT_TRUE(image) << image.error();
  EXPECT_EQ(pixelsOf(image.value()->bitmap()), pixelsOf(bitmap));
  EXPECT_EQ(image.value()->scale(), 3);
  EXPECT_EQ(image.value()->size(), CGSizeMake(2.0 / 3, 2.0 / 3));

  auto missing = UIImage::imageWithContentsOfFile(scratch("missing@2x.png"));
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("missing@2x.png"), std::string::npos);
  std::ofstream(scratch("garbage.png")) << "\x89PNG\r\n\x1a\n garbage";
  auto garbage = UIImage::imageWithContentsOfFile(scratch("garbage.png"));
  ASSERT_FALSE(garbage);
  EXPECT_NE(garbage.error().find("garbage.png: corrupt PNG"), std::string::npos) << garbage.error();
}
