#include "platform/graphics/bitmap_context.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Pixel = std::array<uint8_t, 4>;

Bitmap flat(int width, int height, Pixel pixel) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < width * height; ++i)
    bytes.insert(bytes.end(), pixel.begin(), pixel.end());
  return Bitmap::fromPremultiplied(width, height, std::move(bytes));
}

Bitmap row(std::vector<Pixel> pixels) {
  std::vector<uint8_t> bytes;
  for (const Pixel& pixel : pixels)
    bytes.insert(bytes.end(), pixel.begin(), pixel.end());
  return Bitmap::fromPremultiplied(static_cast<int>(pixels.size()), 1, std::move(bytes));
}

Pixel at(const CGBitmapContext& context, int x, int y) {
  const uint8_t* p = context.data() + y * context.bytesPerRow() + 4 * x;
  return {p[0], p[1], p[2], p[3]};
}

CGBitmapContext context(int width, int height) {
  return *CGBitmapContext::create(width, height);
}

}  // namespace

TEST(BitmapContextTest, StartsZeroFilledWithPackedRows) {
  auto made = context(3, 2);
  EXPECT_EQ(made.bytesPerRow(), 12u);
  for (size_t i = 0; i < 24; ++i)
    EXPECT_EQ(made.data()[i], 0);
}

TEST(BitmapContextTest, RefusesSizesAndModelsItCannotHold) {
  EXPECT_FALSE(CGBitmapContext::create(0, 10));
  EXPECT_FALSE(CGBitmapContext::create(10, -1));
  EXPECT_FALSE(CGBitmapContext::create(16385, 1));
  EXPECT_FALSE(CGBitmapContext::create(4, 4, ColorModel::gray)) << "grey has no 4 components";
}

TEST(BitmapContextTest, FlatImagesStayExactlyFlatAtAnySize) {
  const Pixel grey = {64, 64, 64, 128};
  for (auto [from, to] : {std::pair{180, 44}, {7, 1}, {3, 10}, {60, 60}, {1024, 9}}) {
    auto target = context(to, to);
    target.drawImage(flat(from, from, grey), CGRectMake(0, 0, to, to));
    for (int y = 0; y < to; ++y) {
      for (int x = 0; x < to; ++x)
        ASSERT_EQ(at(target, x, y), grey) << from << "→" << to;
    }
  }
}

TEST(BitmapContextTest, DownscalingAveragesTheCoveredPixelsByArea) {
  auto halves = context(2, 1);
  halves.drawImage(row({{0, 0, 0, 255}, {200, 0, 0, 255}, {0, 100, 0, 255}, {0, 0, 50, 255}}),
                   CGRectMake(0, 0, 2, 1));
  EXPECT_EQ(at(halves, 0, 0), (Pixel{100, 0, 0, 255}));
  EXPECT_EQ(at(halves, 1, 0), (Pixel{0, 50, 25, 255}));

  // Three source pixels over two: each destination pixel takes one and a half.
  auto thirds = context(2, 1);
  thirds.drawImage(row({{90, 0, 0, 255}, {0, 90, 0, 255}, {0, 0, 90, 255}}),
                   CGRectMake(0, 0, 2, 1));
  EXPECT_EQ(at(thirds, 0, 0), (Pixel{60, 30, 0, 255}));
  EXPECT_EQ(at(thirds, 1, 0), (Pixel{0, 30, 60, 255}));
}

TEST(BitmapContextTest, RowZeroIsTheTopOfTheImage) {
  std::vector<uint8_t> bytes = {255, 0, 0, 255, 0, 0, 255, 255};  // red above blue
  auto target = context(1, 2);
  target.drawImage(Bitmap::fromPremultiplied(1, 2, bytes), CGRectMake(0, 0, 1, 2));
  EXPECT_EQ(at(target, 0, 0), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(at(target, 0, 1), (Pixel{0, 0, 255, 255}));
}

TEST(BitmapContextTest, PartlyCoveredPixelsTakeTheirShareAndTheRestStays) {
  auto target = context(3, 1);
  target.drawImage(flat(1, 1, {255, 0, 0, 255}), CGRectMake(0.5, 0, 1, 1));
  EXPECT_EQ(at(target, 0, 0), (Pixel{128, 0, 0, 128}));
  EXPECT_EQ(at(target, 1, 0), (Pixel{128, 0, 0, 128}));
  EXPECT_EQ(at(target, 2, 0), (Pixel{0, 0, 0, 0}));
}

TEST(BitmapContextTest, CompositesSourceOverWhatIsThere) {
  auto target = context(1, 1);
  target.drawImage(flat(1, 1, {0, 0, 200, 255}), CGRectMake(0, 0, 1, 1));
  target.drawImage(flat(1, 1, {100, 0, 0, 128}), CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(at(target, 0, 0), (Pixel{100, 0, 100, 255}));
  target.drawImage(Bitmap(), CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(at(target, 0, 0), (Pixel{100, 0, 100, 255})) << "an empty image draws nothing";
}
