#include "source/colors/palette_cube.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/graphics/bitmap_context.h"

extern "C" constexpr int32_t neighbourIndices[27][3] = {
    {0, 0, 0},  {0, 0, 1},   {0, 0, -1},  {0, 1, 0},   {0, 1, 1},   {0, 1, -1},   {0, -1, 0},
    {0, -1, 1}, {0, -1, -1}, {1, 0, 0},   {1, 0, 1},   {1, 0, -1},  {1, 1, 0},    {1, 1, 1},
    {1, 1, -1}, {1, -1, 0},  {1, -1, 1},  {1, -1, -1}, {-1, 0, 0},  {-1, 0, 1},   {-1, 0, -1},
    {-1, 1, 0}, {-1, 1, 1},  {-1, 1, -1}, {-1, -1, 0}, {-1, -1, 1}, {-1, -1, -1},
};

namespace {

constexpr int kSide = 30;
constexpr size_t kCellCount = kSide * kSide * kSide;
constexpr int kPaddedSide = kSide + 2;
constexpr size_t kPaddedCount = kPaddedSide * kPaddedSide * kPaddedSide;
// The largest side a bitmap context accepts; larger images have no pixel buffer.
constexpr int kMaxContextSide = 16384;

// A pixel's code is the sum of one code per channel: bits 0-15 its cell index, bits 16-31 its
// index in the padded grid, then how many of its channels reach 0.6 and how many reach 0.4.
// So one table read per channel replaces the divisions, truncations and threshold tests, with
// exactly their results, and the low 32 bits identify the cell.
constexpr uint64_t kCellKeyMask = 0xFFFFFFFF;
constexpr int kBrightShift = 32;
constexpr int kNotDarkShift = 36;
constexpr uint64_t kBrightMask = uint64_t{0xF} << kBrightShift;
constexpr uint64_t kNotDarkMask = uint64_t{0xF} << kNotDarkShift;
constexpr uint32_t kNoKey = 0xFFFFFFFF;
// The R, G and B bytes of a pixel read as one native word.
constexpr uint32_t kColorBytesMask =
    std::endian::native == std::endian::little ? 0x00FFFFFF : 0xFFFFFF00;

struct ChannelTables {
  std::array<double, 256> value{};                  // byte / 255
  std::array<std::array<uint64_t, 256>, 3> code{};  // red, green, blue
};

constexpr ChannelTables makeChannelTables() {
  constexpr int cellStride[3] = {1, kSide, kSide * kSide};
  constexpr int paddedStride[3] = {1, kPaddedSide, kPaddedSide * kPaddedSide};
  ChannelTables tables;
  for (int byte = 0; byte < 256; ++byte) {
    double value = byte / 255.0;
    tables.value[byte] = value;
    auto bin = static_cast<uint64_t>(value * 29);
    uint64_t flags =
        (uint64_t{value >= 0.6} << kBrightShift) | (uint64_t{value >= 0.4} << kNotDarkShift);
    for (int channel = 0; channel < 3; ++channel) {
      tables.code[channel][byte] =
          (bin * cellStride[channel]) | (((bin + 1) * paddedStride[channel]) << 16) | flags;
    }
  }
  return tables;
}

constexpr ChannelTables kTables = makeChannelTables();

// Offsets of the 26 neighbours (the cell itself left out) in the padded grid.
constexpr std::array<int, 26> makePaddedNeighbourOffsets() {
  std::array<int, 26> offsets{};
  for (int row = 1; row < 27; ++row) {
    offsets[row - 1] = neighbourIndices[row][0] + kPaddedSide * neighbourIndices[row][1] +
                       kPaddedSide * kPaddedSide * neighbourIndices[row][2];
  }
  return offsets;
}

constexpr std::array<int, 26> kPaddedNeighbourOffsets = makePaddedNeighbourOffsets();

enum class PixelFilter { all, brightOnly, darkOnly };

// A pixel's R, G and B bytes (alpha left out) as one word.
uint32_t colorWord(const uint8_t* pixel) {
  uint32_t word;
  std::memcpy(&word, pixel, 4);
  return word & kColorBytesMask;
}

// Where the run of pixels of the same colour as *pixel ends. Icons are mostly flat areas, so
// runs are long: four pixels are compared at a time.
const uint8_t* runEnd(const uint8_t* pixel, const uint8_t* end) {
  const uint32_t word = colorWord(pixel);
  const uint64_t pairMask = uint64_t{kColorBytesMask} << 32 | kColorBytesMask;
  const uint64_t pair = uint64_t{word} << 32 | word;
  const uint8_t* next = pixel + 4;
  while (end - next >= 16) {
    uint64_t first, second;
    std::memcpy(&first, next, 8);
    std::memcpy(&second, next + 8, 8);
    if (((first & pairMask) ^ pair) | ((second & pairMask) ^ pair)) break;
    next += 16;
  }
  while (next != end && colorWord(next) == word)
    next += 4;
  return next;
}

// Counts pixels into the cells a run of equal pixels at a time, keeping the running sums of
// the current cell in registers. The sums are still added pixel by pixel in pixel order, so
// they are exactly those of counting each pixel into its cell; only additions of zero, which
// change no sum, are left out.
template <PixelFilter filter>
void countInto(const uint8_t* pixels, size_t pixelCount, PCCubeCell* cells, uint32_t* paddedCounts,
               std::vector<uint32_t>& touched) {
  const auto& value = kTables.value;
  const auto& [redCode, greenCode, blueCode] = kTables.code;
  uint32_t key = kNoKey;
  uint32_t hits = 0;
  double red = 0, green = 0, blue = 0;
  auto store = [&] {
    if (key == kNoKey) return;
    cells[key & 0xFFFF] = {hits, red, green, blue};
    paddedCounts[key >> 16] = hits;
  };
  const uint8_t* end = pixels + 4 * pixelCount;
  for (const uint8_t *pixel = pixels, *next; pixel != end; pixel = next) {
    next = runEnd(pixel, end);
    uint64_t code = redCode[pixel[0]] + greenCode[pixel[1]] + blueCode[pixel[2]];
    if constexpr (filter == PixelFilter::brightOnly) {
      if ((code & kBrightMask) == 0) continue;
    } else if constexpr (filter == PixelFilter::darkOnly) {
      if ((code & kNotDarkMask) != 0) continue;
    }
    auto pixelKey = static_cast<uint32_t>(code & kCellKeyMask);
    if (pixelKey != key) {
      store();
      key = pixelKey;
      hits = paddedCounts[key >> 16];
      if (hits == 0) {
        // The cell's first pixel: its record holds whatever an earlier pass left.
        touched.push_back(key);
        red = green = blue = 0;
      } else {
        const PCCubeCell& cell = cells[key & 0xFFFF];
        red = cell.redAcc;
        green = cell.greenAcc;
        blue = cell.blueAcc;
      }
    }
    auto length = static_cast<uint32_t>((next - pixel) / 4);
    hits += length;
    if (colorWord(pixel) == 0) continue;
    const double r = value[pixel[0]], g = value[pixel[1]], b = value[pixel[2]];
    for (uint32_t i = 0; i < length; ++i) {
      red += r;
      green += g;
      blue += b;
    }
  }
  store();
}

uint32_t paddedIndex(uint32_t cellIndex) {
  uint32_t red = cellIndex % kSide, green = cellIndex / kSide % kSide;
  uint32_t blue = cellIndex / (kSide * kSide);
  return (red + 1) + kPaddedSide * (green + 1) + kPaddedSide * kPaddedSide * (blue + 1);
}

// The order in which a visit by red bin, then green, then blue meets the cell.
uint32_t visitRank(uint32_t cellIndex) {
  uint32_t red = cellIndex % kSide, green = cellIndex / kSide % kSide;
  uint32_t blue = cellIndex / (kSide * kSide);
  return (red * kSide + green) * kSide + blue;
}

double distance(const PCLocalMaximum& maximum, double red, double green, double blue) {
  double dr = maximum.red - red, dg = maximum.green - green, db = maximum.blue - blue;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

std::vector<PCLocalMaximum> keepFarFrom(const std::vector<PCLocalMaximum>& maxima, double red,
                                        double green, double blue) {
  std::vector<PCLocalMaximum> kept;
  kept.reserve(maxima.size());
  for (const PCLocalMaximum& maximum : maxima) {
    if (distance(maximum, red, green, blue) >= 0.5) kept.push_back(maximum);
  }
  return kept;
}

// The image's bitmap, or null when there is none to draw.
const Bitmap* bitmapOf(const UIImage* image) {
  if (!image || image->bitmap().empty()) return nullptr;
  return &image->bitmap();
}

}  // namespace

PCPaletteCube::PCPaletteCube()
    : paddedCounts_(std::make_unique<uint32_t[]>(kPaddedCount)),
      cells_(std::make_unique_for_overwrite<PCCubeCell[]>(kCellCount)) {
  touched_.reserve(kCellCount);
}

PCPaletteCube::~PCPaletteCube() = default;
PCPaletteCube::PCPaletteCube(PCPaletteCube&&) noexcept = default;
PCPaletteCube& PCPaletteCube::operator=(PCPaletteCube&&) noexcept = default;

void PCPaletteCube::clearCells() {
  for (uint32_t key : touched_)
    paddedCounts_[key >> 16] = 0;
  touched_.clear();
}

const PCCubeCell& PCPaletteCube::cell(size_t index) const {
  static constexpr PCCubeCell kEmpty{0, 0, 0, 0};
  return paddedCounts_[paddedIndex(static_cast<uint32_t>(index))] ? cells_[index] : kEmpty;
}

std::optional<std::vector<uint8_t>> PCPaletteCube::rawPixelDataFromImage(const UIImage* image,
                                                                         uint32_t* pixelCount) {
  if (pixelCount) *pixelCount = 0;
  const Bitmap* bitmap = bitmapOf(image);
  if (!bitmap) return std::vector<uint8_t>();
  int width = bitmap->width(), height = bitmap->height();
  auto context = CGBitmapContext::create(width, height);
  if (!context) return std::nullopt;
  context->drawImage(*bitmap, CGRectMake(0, 0, width, height));
  if (pixelCount) *pixelCount = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
  return context->takeData();
}

void PCPaletteCube::countPixels(const uint8_t* pixels, size_t pixelCount, PCFlags flags) {
  if (flags & PCFlagBrightOnly) {
    countInto<PixelFilter::brightOnly>(pixels, pixelCount, cells_.get(), paddedCounts_.get(),
                                       touched_);
  } else if (flags & PCFlagDarkOnly) {
    countInto<PixelFilter::darkOnly>(pixels, pixelCount, cells_.get(), paddedCounts_.get(),
                                     touched_);
  } else {
    countInto<PixelFilter::all>(pixels, pixelCount, cells_.get(), paddedCounts_.get(), touched_);
  }
}

std::optional<std::vector<PCLocalMaximum>> PCPaletteCube::findLocalMaximaInImage(
    const UIImage* image, PCFlags flags) {
  clearCells();
  const Bitmap* bitmap = bitmapOf(image);
  if (!bitmap) return std::vector<PCLocalMaximum>();
  if (bitmap->width() <= kMaxContextSide && bitmap->height() <= kMaxContextSide) {
    // Drawing a bitmap at its own size into an empty buffer reproduces its bytes, so they are
    // counted where they lie, without the copy.
    countPixels(bitmap->pixels(), size_t(bitmap->width()) * size_t(bitmap->height()), flags);
  } else {
    uint32_t pixelCount = 0;
    auto pixels = rawPixelDataFromImage(image, &pixelCount);
    if (!pixels) return std::nullopt;
    countPixels(pixels->data(), pixelCount, flags);
  }

  std::vector<PCLocalMaximum> maxima;
  for (uint32_t key : touched_) {
    const uint32_t* centre = &paddedCounts_[key >> 16];
    uint32_t hits = *centre;
    bool beaten = false;
    for (int offset : kPaddedNeighbourOffsets)
      beaten |= centre[offset] > hits;
    if (beaten) continue;
    uint32_t index = key & 0xFFFF;
    const PCCubeCell& cell = cells_[index];
    double red = cell.redAcc / hits, green = cell.greenAcc / hits, blue = cell.blueAcc / hits;
    maxima.push_back({hits, index, red, green, blue, std::max({red, green, blue})});
  }
  std::sort(maxima.begin(), maxima.end(), [](const PCLocalMaximum& a, const PCLocalMaximum& b) {
    if (a.hitCount != b.hitCount) return a.hitCount > b.hitCount;
    return visitRank(a.cellIndex) < visitRank(b.cellIndex);
  });
  return maxima;
}

std::vector<PCLocalMaximum> PCPaletteCube::findAndSortMaximaInImage(const UIImage* image,
                                                                    PCFlags flags) {
  std::vector<PCLocalMaximum> maxima =
      findLocalMaximaInImage(image, flags).value_or(std::vector<PCLocalMaximum>());
  if (flags & PCFlagDistinctOnly) maxima = filterDistinctMaxima(maxima, 0.2);
  if (flags & PCFlagOrderByBrightness) {
    maxima = orderByBrightness(std::move(maxima));
  } else if (flags & PCFlagOrderByDarkness) {
    maxima = orderByDarkness(std::move(maxima));
  }
  return maxima;
}

std::vector<PCLocalMaximum> PCPaletteCube::filterDistinctMaxima(
    const std::vector<PCLocalMaximum>& maxima, double threshold) const {
  std::vector<PCLocalMaximum> kept;
  for (size_t i = 0; i < maxima.size(); ++i) {
    const PCLocalMaximum& candidate = maxima[i];
    bool tooClose = false;
    for (size_t j = 0; j < i && !tooClose; ++j) {
      tooClose = distance(candidate, maxima[j].red, maxima[j].green, maxima[j].blue) < threshold;
    }
    if (!tooClose) kept.push_back(candidate);
  }
  return kept;
}

std::vector<PCLocalMaximum> PCPaletteCube::filterMaxima(const std::vector<PCLocalMaximum>& maxima,
                                                        const UIColor* tooCloseToColor) const {
  std::optional<RGBA> avoid = tooCloseToColor ? tooCloseToColor->color().rgba() : std::nullopt;
  if (!avoid) return maxima;
  return keepFarFrom(maxima, avoid->red, avoid->green, avoid->blue);
}

std::vector<PCLocalMaximum> PCPaletteCube::orderByBrightness(
    std::vector<PCLocalMaximum> maxima) const {
  std::stable_sort(
      maxima.begin(), maxima.end(),
      [](const PCLocalMaximum& a, const PCLocalMaximum& b) { return a.brightness > b.brightness; });
  return maxima;
}

std::vector<PCLocalMaximum> PCPaletteCube::orderByDarkness(
    std::vector<PCLocalMaximum> maxima) const {
  std::stable_sort(
      maxima.begin(), maxima.end(),
      [](const PCLocalMaximum& a, const PCLocalMaximum& b) { return a.brightness < b.brightness; });
  return maxima;
}

std::vector<PCLocalMaximum> PCPaletteCube::performAdaptiveDistinctFilteringForMaxima(
    const std::vector<PCLocalMaximum>& maxima, uint64_t count) const {
  if (maxima.size() <= count) return maxima;
  // Distinct filtering never drops a list's first entry, so no round can change the first
  // entry of the result: for counts 0 and 1 the rounds can be skipped.
  if (count <= 1) return std::vector<PCLocalMaximum>(maxima.begin(), maxima.begin() + count);
  std::vector<PCLocalMaximum> current = maxima;
  double threshold = 0.1;
  for (int round = 0; round < 10; ++round) {
    std::vector<PCLocalMaximum> filtered = filterDistinctMaxima(current, threshold);
    if (filtered.size() <= count) break;
    current = std::move(filtered);
    threshold += 0.05;
  }
  current.resize(count);
  return current;
}

std::vector<PCLocalMaximum> PCPaletteCube::extractAndFilterMaximaFromImage(const UIImage* image,
                                                                           PCFlags flags) {
  std::vector<PCLocalMaximum> maxima = findAndSortMaximaInImage(image, flags);
  if (flags & PCFlagAvoidBlack) maxima = keepFarFrom(maxima, 0, 0, 0);
  if (flags & PCFlagAvoidWhite) maxima = keepFarFrom(maxima, 1, 1, 1);
  return maxima;
}

std::vector<Ref<UIColor>> PCPaletteCube::colorsFromMaxima(
    const std::vector<PCLocalMaximum>& maxima) const {
  std::vector<Ref<UIColor>> colors;
  colors.reserve(maxima.size());
  for (const PCLocalMaximum& maximum : maxima) {
    colors.push_back(UIColor::colorWithRed(maximum.red, maximum.green, maximum.blue, 1));
  }
  return colors;
}

std::vector<Ref<UIColor>> PCPaletteCube::extractColorsFromImage(const UIImage* image,
                                                                PCFlags flags) {
  return colorsFromMaxima(extractAndFilterMaximaFromImage(image, flags));
}

std::vector<Ref<UIColor>> PCPaletteCube::extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                                const UIColor* avoidColor) {
  return colorsFromMaxima(filterMaxima(extractAndFilterMaximaFromImage(image, flags), avoidColor));
}

std::vector<Ref<UIColor>> PCPaletteCube::extractBrightColorsFromImage(const UIImage* image,
                                                                      const UIColor* avoidColor,
                                                                      uint64_t count) {
  std::vector<PCLocalMaximum> maxima = findAndSortMaximaInImage(image, PCFlagBrightOnly);
  if (avoidColor) maxima = filterMaxima(maxima, avoidColor);
  return colorsFromMaxima(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}

std::vector<Ref<UIColor>> PCPaletteCube::extractDarkColorsFromImage(const UIImage* image,
                                                                    const UIColor* avoidColor,
                                                                    uint64_t count) {
  std::vector<PCLocalMaximum> maxima = findAndSortMaximaInImage(image, PCFlagDarkOnly);
  if (avoidColor) maxima = filterMaxima(maxima, avoidColor);
  return colorsFromMaxima(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}

std::vector<Ref<UIColor>> PCPaletteCube::extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                                uint64_t count) {
  return colorsFromMaxima(performAdaptiveDistinctFilteringForMaxima(
      extractAndFilterMaximaFromImage(image, flags), count));
}
