#include "source/colors/image_quenby.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "icon_set.h"
#include "platform/graphics/bitmap_context.h"
#include "platform/graphics/png.h"

namespace {

using Pixel = std::array<uint8_t, 4>;

// An image of these bytes; at scale 1 and at most 2000 pixels it is drawn 1:1 into its working
// bitmap, so the scan sees exactly these bytes.
Ref<UIImage> imageOf(int width, int height, const std::vector<Pixel>& pixels, double scale = 1) {
  std::vector<uint8_t> bytes;
  for (const Pixel& pixel : pixels)
    bytes.insert(bytes.end(), pixel.begin(), pixel.end());
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(width, height, bytes), scale);
}

Ref<UIImage> rowOf(const std::vector<Pixel>& pixels) {
  return imageOf(static_cast<int>(pixels.size()), 1, pixels);
}

// count pixels of one colour.
std::vector<Pixel> repeated(Pixel pixel, int count) {
  return std::vector<Pixel>(count, pixel);
}

std::vector<Pixel> joined(std::vector<Pixel> a, const std::vector<Pixel>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

RGBA rgbaOf(const Ref<UIColor>& color) {
  return *color->color().rgba();
}

RGBA clusterColor(int r, int g, int b) {
  auto part = [](int v) { return static_cast<double>(static_cast<float>(v) / 255.0f); };
  return {part(r), part(g), part(b), 1};
}

const RGBA kSystemRed{1, 0, 0, 1};

// The clustering exactly as it reads, one pixel at a time over a plain list: the reference the
// fast version must match.
std::vector<RGBPixel> straightforwardClusters(const UIImage* image, int32_t threshold) {
  WorkingSize size = workingSizeForPoints(image->size().width, image->size().height);
  auto context = CGBitmapContext::create(size.width, size.height);
  if (!context) return {};
  context->drawImage(image->bitmap(), CGRectMake(0, 0, size.width, size.height));
  std::vector<RGBPixel> clusters;
  for (int row = 0; row < size.height; ++row) {
    for (int column = 0; column < size.width; ++column) {
      const uint8_t* p = context->data() + row * 4 * size.width + 4 * column;
      if (p[3] < 128) continue;
      RGBPixel candidate{p[0], p[1], p[2], 0};
      auto near = std::find_if(clusters.begin(), clusters.end(), [&](const RGBPixel& c) {
        return colourDistance(c, candidate) < threshold;
      });
      if (near == clusters.end()) {
        clusters.push_back(candidate);
      } else {
        near->r = (near->r + candidate.r) / 2;
        near->g = (near->g + candidate.g) / 2;
        near->b = (near->b + candidate.b) / 2;
        ++near->d;
      }
    }
  }
  return clusters;
}

bool sameClusters(const std::vector<RGBPixel>& a, const std::vector<RGBPixel>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const RGBPixel& x, const RGBPixel& y) {
                      return x.r == y.r && x.g == y.g && x.b == y.b && x.d == y.d;
                    });
}

}  // namespace

TEST(WorkingBitmapTest, CapsAtAboutTwoThousandPixelsKeepingTheAspect) {
  auto size = [](double w, double h) {
    WorkingSize s = workingSizeForPoints(w, h);
    return std::pair{s.width, s.height};
  };
  EXPECT_EQ(size(60, 60), (std::pair{44, 44}));
  EXPECT_EQ(size(40, 40), (std::pair{40, 40})) << "1600 pixels are drawn at their own size";
  EXPECT_EQ(size(100, 20), (std::pair{100, 20})) << "exactly 2000 stays";
  EXPECT_EQ(size(100, 21), (std::pair{97, 20}));
  EXPECT_EQ(size(60.9, 59.99), (std::pair{45, 44})) << "points are truncated first: 60 × 59";
  EXPECT_EQ(size(0, 60), (std::pair{0, 60}));
  auto huge = size(70000, 70000);  // 4.9e9 overflows a 32-bit product
  EXPECT_EQ(huge, (std::pair{44, 44}));
}

TEST(WorkingBitmapTest, UsesThePointSizeNotThePixelSize) {
  auto icon = UIImage::imageWithBitmap(
      Bitmap::fromPremultiplied(180, 180, std::vector<uint8_t>(4 * 180 * 180, 255)), 3);
  WorkingSize size;
  pixelClusters(icon.get(), 27, &size);
  EXPECT_EQ(size.width, 44);
  EXPECT_EQ(size.height, 44);
}

TEST(ClusteringTest, OnlyPixelsWithAlphaOf128OrMoreTakePart) {
  auto clusters = pixelClusters(rowOf({{10, 10, 10, 127}, {90, 0, 0, 128}}).get(), 27);
  ASSERT_EQ(clusters.size(), 1u);
  EXPECT_EQ(clusters[0].r, 90);
}

TEST(ClusteringTest, JoiningNeedsADistanceStrictlyBelowTheThreshold) {
  EXPECT_EQ(pixelClusters(rowOf({{0, 0, 0, 255}, {27, 0, 0, 255}}).get(), 27).size(), 2u);
  EXPECT_EQ(pixelClusters(rowOf({{0, 0, 0, 255}, {10, 8, 8, 255}}).get(), 27).size(), 1u);
  EXPECT_EQ(pixelClusters(rowOf({{0, 0, 0, 255}, {10, 9, 8, 255}}).get(), 27).size(), 2u);
}

TEST(ClusteringTest, APixelJoinsTheOlderOfTwoNearClustersAndHalvesItsChannels) {
  auto clusters =
      pixelClusters(rowOf({{0, 0, 0, 255}, {40, 0, 0, 255}, {25, 0, 0, 255}}).get(), 27);
  ASSERT_EQ(clusters.size(), 2u);
  EXPECT_EQ(clusters[0].r, 12) << "(0 + 25) / 2, the fraction dropped";
  EXPECT_EQ(clusters[0].d, 1);
  EXPECT_EQ(clusters[1].d, 0) << "the nearer but younger cluster is not looked at";
}

TEST(ClusteringTest, TheClusterColourFollowsTheMostRecentPixels) {
  auto clusters =
      pixelClusters(rowOf({{0, 0, 0, 255}, {20, 0, 0, 255}, {26, 0, 0, 255}}).get(), 27);
  ASSERT_EQ(clusters.size(), 1u);
  EXPECT_EQ(clusters[0].r, 18) << "((0 + 20) / 2 + 26) / 2, not the mean 15";
}

TEST(DominantColorTest, NoClusterAtAllGivesSystemRed) {
  EXPECT_EQ(rgbaOf(mirraDominantColor(nullptr)), kSystemRed);
  EXPECT_EQ(rgbaOf(mirraDominantColor(rowOf(repeated({0, 0, 0, 0}, 8)).get())), kSystemRed);
  EXPECT_EQ(rgbaOf(mirraDominantColor(rowOf(repeated({0, 120, 200, 127}, 8)).get())), kSystemRed)
      << "nothing opaque enough";
  EXPECT_EQ(rgbaOf(mirraDominantColor(UIImage::imageWithBitmap(Bitmap()).get())), kSystemRed);
}

TEST(DominantColorTest, AFlatIconIsItsOwnColour) {
  EXPECT_EQ(rgbaOf(mirraDominantColor(rowOf(repeated({0, 120, 200, 255}, 8)).get())),
            clusterColor(0, 120, 200));
  // At an icon's size and scale, scaled down to its working bitmap.
  auto icon = imageOf(180, 180, repeated({30, 200, 90, 255}, 180 * 180), 3);
  ASSERT_EQ(pixelClusters(icon.get(), 27).size(), 1u);
  EXPECT_EQ(rgbaOf(mirraDominantColor(icon.get())), clusterColor(30, 200, 90));
}

TEST(DominantColorTest, TheSecondClusterMustHoldMoreThanAnEighthOfTheFirst) {
  const Pixel dull = {100, 100, 100, 255}, vivid = {255, 0, 0, 255};
  // 17 pixels (d = 16) against 3 (d = 2, exactly an eighth): the larger wins unasked.
  auto eighth = rowOf(joined(repeated(dull, 17), repeated(vivid, 3)));
  EXPECT_EQ(rgbaOf(mirraDominantColor(eighth.get())), clusterColor(100, 100, 100));
  // One pixel more and the vivid one is compared, and wins.
  auto more = rowOf(joined(repeated(dull, 17), repeated(vivid, 4)));
  EXPECT_EQ(rgbaOf(mirraDominantColor(more.get())), clusterColor(255, 0, 0));
}

TEST(DominantColorTest, EqualVividnessKeepsTheLargerCluster) {
  // Both fully saturated and bright: saturation + brightness / 2 = 1.5 each.
  auto image = rowOf(joined(repeated({0, 0, 255, 255}, 10), repeated({255, 0, 0, 255}, 9)));
  EXPECT_EQ(rgbaOf(mirraDominantColor(image.get())), clusterColor(0, 0, 255));
}

TEST(SecondDominantColorTest, APlateOverSixtyPercentGivesWayToTheSecondCluster) {
  const Pixel plate = {240, 240, 240, 255}, mark = {0, 90, 200, 255};
  // 10 pixels: the plate's 7 are more than 6.
  EXPECT_EQ(
      rgbaOf(mirraSecondDominantColor(rowOf(joined(repeated(plate, 7), repeated(mark, 3))).get())),
      clusterColor(0, 90, 200));
  // Exactly 60%: the plate stays.
  EXPECT_EQ(
      rgbaOf(mirraSecondDominantColor(rowOf(joined(repeated(plate, 6), repeated(mark, 4))).get())),
      clusterColor(240, 240, 240));
  // Transparent pixels count towards the area.
  EXPECT_EQ(rgbaOf(mirraSecondDominantColor(
                rowOf(joined(repeated(plate, 7), repeated({0, 0, 0, 0}, 5))).get())),
            clusterColor(240, 240, 240));
  EXPECT_EQ(rgbaOf(mirraSecondDominantColor(nullptr)), kSystemRed);
}

TEST(ClusteringTest, MatchesTheStraightforwardScanOnRealIcons) {
  for (int size : {60, 180, 1024}) {
    for (const auto& icon : icon_set::realIcons(size, size == 1024 ? 8 : 48)) {
      auto image = UIImage::imageWithBitmap(readPNG(icon.png).value(), size / 60.0);
      for (int32_t threshold : {27, 50}) {
        EXPECT_TRUE(sameClusters(pixelClusters(image.get(), threshold),
                                 straightforwardClusters(image.get(), threshold)))
            << icon.name << " at " << size << ", threshold " << threshold;
      }
    }
  }
}

TEST(DominantColorTest, OnRealIconsTheResultIsOneOfTheClusterColours) {
  for (int size : {60, 180}) {
    for (const auto& icon : icon_set::realIcons(size, 24)) {
      auto image = UIImage::imageWithContentsOfFile(icon.png).value();
      auto clusters = pixelClusters(image.get(), 27);
      RGBA result = rgbaOf(mirraDominantColor(image.get()));
      bool found = clusters.empty() && result == kSystemRed;
      for (const auto& cluster : clusters) {
        found = found || result == clusterColor(cluster.r, cluster.g, cluster.b);
      }
      EXPECT_TRUE(found) << icon.name << " at " << size;
      for (double c : {result.red, result.green, result.blue}) {
        EXPECT_TRUE(c >= 0 && c <= 1) << icon.name;
      }
    }
  }
}
