#include "source/colors/image_quenby.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/graphics/bitmap_context.h"

namespace {

constexpr int64_t kWorkingPixels = 2000;

// Points to a whole number of pixels, truncated towards zero; sizes beyond any context are
// pinned (no context can hold them, so they draw nothing) instead of overflowing.
int32_t truncatedDimension(double points) {
  if (!(points > 0)) return 0;
  return static_cast<int32_t>(std::min(points, 1e9));
}

// Clusters kept as separate 16-bit channel arrays, padded to whole blocks of eight with
// clusters no pixel can join, so the search for the first near cluster compares eight at a
// time (SSE2) and allocates nothing per pixel.
class Clusters {
 public:
  explicit Clusters(int32_t threshold) : threshold_(threshold) {}

  void add(int16_t r, int16_t g, int16_t b) {
    // A pixel equal to the one before joins the same cluster: that cluster only moved towards
    // it, and the clusters before it did not change, so the search would end there again.
    if (last_ != kNone && r == lastR_ && g == lastG_ && b == lastB_) {
      join(last_, r, g, b);
      return;
    }
    lastR_ = r, lastG_ = g, lastB_ = b;
    last_ = firstNear(r, g, b);
    if (last_ == kNone)
      last_ = append(r, g, b);
    else
      join(last_, r, g, b);
  }

  std::vector<RGBPixel> list() const {
    std::vector<RGBPixel> clusters(count_);
    for (size_t i = 0; i < count_; ++i) {
      clusters[i] = {red_[i], green_[i], blue_[i], joined_[i]};
    }
    return clusters;
  }

 private:
  static constexpr size_t kNone = SIZE_MAX;
  // Far enough from every channel value that no pixel joins it, near enough that three
  // distances still fit 16 bits.
  static constexpr int16_t kNever = 10000;

  static __m128i load(const std::vector<int16_t>& channel, size_t at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(channel.data() + at));
  }
  static __m128i difference(__m128i a, __m128i b) {
    return _mm_sub_epi16(_mm_max_epi16(a, b), _mm_min_epi16(a, b));
  }

  size_t firstNear(int16_t r, int16_t g, int16_t b) const {
    const __m128i pr = _mm_set1_epi16(r), pg = _mm_set1_epi16(g), pb = _mm_set1_epi16(b);
    const __m128i limit = _mm_set1_epi16(static_cast<int16_t>(threshold_));
    for (size_t block = 0; block < red_.size(); block += 8) {
      __m128i distance = _mm_add_epi16(
          _mm_add_epi16(difference(load(red_, block), pr), difference(load(green_, block), pg)),
          difference(load(blue_, block), pb));
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi16(distance, limit)));
      if (mask) return block + static_cast<size_t>(__builtin_ctz(mask)) / 2;
    }
    return kNone;
  }

  size_t append(int16_t r, int16_t g, int16_t b) {
    if (count_ == red_.size()) {
      for (auto* channel : {&red_, &green_, &blue_})
        channel->resize(count_ + 8, kNever);
      joined_.resize(count_ + 8, 0);
    }
    red_[count_] = r;
    green_[count_] = g;
    blue_[count_] = b;
    return count_++;
  }

  void join(size_t i, int16_t r, int16_t g, int16_t b) {
    red_[i] = static_cast<int16_t>((red_[i] + r) / 2);
    green_[i] = static_cast<int16_t>((green_[i] + g) / 2);
    blue_[i] = static_cast<int16_t>((blue_[i] + b) / 2);
    ++joined_[i];
  }

  int32_t threshold_;
  size_t count_ = 0;
  std::vector<int16_t> red_, green_, blue_;
  std::vector<int32_t> joined_;
  size_t last_ = kNone;
  int16_t lastR_ = 0, lastG_ = 0, lastB_ = 0;
};

// Largest `d` first; equal ones keep their creation order.
std::vector<RGBPixel> ranked(std::vector<RGBPixel> clusters) {
  std::stable_sort(clusters.begin(), clusters.end(),
                   [](const RGBPixel& a, const RGBPixel& b) { return a.d > b.d; });
  return clusters;
}

// Channels divided by 255 in single precision, then widened; opaque.
Ref<UIColor> colorOf(const RGBPixel& cluster) {
  auto component = [](int32_t value) {
    return static_cast<double>(static_cast<float>(value) / 255.0f);
  };
  return UIColor::colorWithRed(component(cluster.r), component(cluster.g), component(cluster.b),
                               1.0);
}

// Saturation plus half the brightness: how vivid a colour is.
double vividness(const UIColor* color) {
  double saturation = 0, brightness = 0;
  color->getHue(nullptr, &saturation, &brightness, nullptr);
  return saturation + 0.5 * brightness;
}

}  // namespace

WorkingSize workingSizeForPoints(double width, double height) {
  WorkingSize size{truncatedDimension(width), truncatedDimension(height)};
  // A 64-bit product: the 32-bit one overflows for large images and would skip the reduction.
  if (int64_t{size.width} * size.height <= kWorkingPixels) return size;
  double ratio = static_cast<double>(size.width) / size.height;
  float side = std::sqrt(static_cast<float>(ratio * kWorkingPixels));
  size.width = truncatedDimension(side);
  size.height = truncatedDimension(static_cast<float>(kWorkingPixels) / side);
  return size;
}

std::vector<RGBPixel> pixelClusters(const UIImage* image, int32_t threshold, WorkingSize* size) {
  WorkingSize working =
      image ? workingSizeForPoints(image->size().width, image->size().height) : WorkingSize{};
  if (size) *size = working;
  Clusters clusters(threshold);
  auto context = CGBitmapContext::create(working.width, working.height);
  if (!context) return {};
  context->drawImage(image->bitmap(), CGRectMake(0, 0, working.width, working.height));
  const uint8_t* pixel = context->data();
  const size_t pixelCount = size_t(working.width) * size_t(working.height);
  for (size_t i = 0; i < pixelCount; ++i, pixel += 4) {
    if (pixel[3] >= 128) clusters.add(pixel[0], pixel[1], pixel[2]);
  }
  return clusters.list();
}

int32_t colourDistance(const RGBPixel& a, const RGBPixel& b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

Ref<UIColor> mirraDominantColor(const UIImage* image) {
  std::vector<RGBPixel> clusters = ranked(pixelClusters(image, 27));
  if (clusters.empty()) return UIColor::systemRedColor();
  const RGBPixel& first = clusters[0];
  Ref<UIColor> firstColor = colorOf(first);
  // A flat icon is one cluster, and its one colour is its colour.
  if (clusters.size() == 1) return firstColor;
  const RGBPixel& second = clusters[1];
  if (static_cast<double>(second.d) > static_cast<double>(first.d) * 0.125) {
    Ref<UIColor> secondColor = colorOf(second);
    if (vividness(secondColor.get()) > vividness(firstColor.get())) return secondColor;
  }
  return firstColor;
}

Ref<UIColor> mirraSecondDominantColor(const UIImage* image) {
  WorkingSize working;
  std::vector<RGBPixel> clusters = ranked(pixelClusters(image, 50, &working));
  if (clusters.empty()) return UIColor::systemRedColor();
  double area = static_cast<double>(int64_t{working.width} * working.height);
  if (clusters[0].d + 1 > 0.6 * area && clusters.size() >= 2) return colorOf(clusters[1]);
  return colorOf(clusters[0]);
}
