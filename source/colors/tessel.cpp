#include "source/colors/tessel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/graphics/bitmap_context.h"

namespace {

// Counts pixels by colour in an open-addressing table that doubles as it fills, so the work
// and memory follow the distinct colours, not the pixels.
class ColourCounter {
 public:
  // A colour's pixel count and the index of its first pixel, row by row.
  struct Tally {
    uint32_t rgbPlusOne = 0;  // 0: a free slot
    uint32_t count = 0;
    uint32_t first = 0;
  };

  ColourCounter() : slots_(kInitialSlots) {}

  // The colour's tally, made at pixel `first` when new; valid until the next call.
  Tally& tallyOf(uint32_t rgb, uint32_t first) {
    if (2 * (used_ + 1) > slots_.size()) grow();
    uint32_t slot = slotOf(rgb);
    while (slots_[slot].rgbPlusOne != 0 && slots_[slot].rgbPlusOne != rgb + 1) {
      slot = (slot + 1) & mask();
    }
    Tally& tally = slots_[slot];
    if (tally.rgbPlusOne == 0) {
      tally = {rgb + 1, 0, first};
      ++used_;
    }
    return tally;
  }

  // Every tally as (count, first pixel) in one word, in no particular order.
  std::vector<uint64_t> countsAndFirsts() const {
    std::vector<uint64_t> words;
    words.reserve(used_);
    for (const Tally& tally : slots_) {
      if (tally.rgbPlusOne != 0) words.push_back(uint64_t(tally.count) << 32 | tally.first);
    }
    return words;
  }

 private:
  static constexpr size_t kInitialSlots = 2048;

  uint32_t mask() const { return uint32_t(slots_.size() - 1); }
  uint32_t slotOf(uint32_t rgb) const {
    return uint32_t((rgb * 0x9E3779B97F4A7C15ull) >> 32) & mask();
  }
  void grow() {
    std::vector<Tally> old = std::exchange(slots_, std::vector<Tally>(2 * slots_.size()));
    for (const Tally& tally : old) {
      if (tally.rgbPlusOne == 0) continue;
      uint32_t slot = slotOf(tally.rgbPlusOne - 1);
      while (slots_[slot].rgbPlusOne != 0)
        slot = (slot + 1) & mask();
      slots_[slot] = tally;
    }
  }

  std::vector<Tally> slots_;
  size_t used_ = 0;
};

// The counted colours of premultiplied pixels, as (count, first pixel) words. A pixel counts
// when it is not transparent and its lightness (R/255 + G/255 + B/255) / 2 exceeds 0.02, that
// is when R + G + B exceeds 10 (10/510 and 11/510 lie far either side of 0.02, so the integer
// test is exact).
std::vector<uint64_t> countColours(const uint8_t* pixels, uint32_t pixelCount) {
  ColourCounter counter;
  // Neighbouring pixels mostly repeat a colour: a run of equal pixels is counted at its end.
  ColourCounter::Tally* run = nullptr;
  uint32_t runWord = 0, runLength = 0;
  if (pixelCount > 0) {
    std::memcpy(&runWord, pixels, 4);
    runWord = ~runWord;  // so that pixel 0 starts a run
  }
  for (uint32_t i = 0; i < pixelCount; ++i) {
    const uint8_t* p = pixels + 4 * size_t(i);
    uint32_t word;
    std::memcpy(&word, p, 4);
    if (word == runWord) {
      ++runLength;
      continue;
    }
    if (run) run->count += runLength;
    runWord = word;
    runLength = 1;
    run = p[3] > 0 && p[0] + p[1] + p[2] > 10
              ? &counter.tallyOf(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2], i)
              : nullptr;
  }
  if (run) run->count += runLength;
  return counter.countsAndFirsts();
}

// The largest side read without drawing: well within what any context takes.
constexpr int kReadInPlace = 4096;

bool similar(uint32_t a, uint32_t b) {
  for (int shift = 0; shift <= 16; shift += 8) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 10) return false;
  }
  return true;
}

// The first `wanted` colours of the distinct list (fewer when it is shorter). The list is
// built in ascending (count, first pixel) order but stops once it holds `wanted` colours, so
// only the head of that order is sorted unless near colours push the search further.
std::vector<uint32_t> firstDistinctColours(const UIImage* image, size_t wanted) {
  if (!image) return {};
  const Bitmap& bitmap = image->bitmap();
  // Drawn at its own size into a fresh context, an RGB bitmap is copied pixel for pixel, so
  // one of ordinary size is read where it is, sparing a copy. Anything else is drawn; a
  // context refused (the grey model, an empty bitmap) draws nothing, so nothing counts.
  const uint8_t* pixels = bitmap.pixels();
  std::optional<CGBitmapContext> context;
  if (bitmap.model() != ColorModel::rgb || bitmap.empty() || bitmap.width() > kReadInPlace ||
      bitmap.height() > kReadInPlace) {
    context = CGBitmapContext::create(bitmap.width(), bitmap.height(), bitmap.model());
    if (!context) return {};
    context->drawImage(bitmap, CGRectMake(0, 0, bitmap.width(), bitmap.height()));
    pixels = context->data();
  }
  // (count, first pixel): distinct for every colour, and the pixel gives back the colour.
  std::vector<uint64_t> order =
      countColours(pixels, uint32_t(bitmap.width()) * uint32_t(bitmap.height()));
  std::vector<uint32_t> kept;
  size_t sorted = std::min(order.size(), wanted == 1 ? size_t{1} : size_t{16});
  std::partial_sort(order.begin(), order.begin() + sorted, order.end());
  for (size_t at = 0; at < order.size() && kept.size() < wanted; ++at) {
    if (at == sorted) {
      std::sort(order.begin() + sorted, order.end());
      sorted = order.size();
    }
    const uint8_t* p = pixels + 4 * size_t(uint32_t(order[at]));
    const uint32_t rgb = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    if (std::none_of(kept.begin(), kept.end(), [&](uint32_t k) { return similar(k, rgb); })) {
      kept.push_back(rgb);
    }
  }
  return kept;
}

Ref<UIColor> colourOf(uint32_t rgb) {
  return UIColor::colorWithRed(((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                               (rgb & 0xFF) / 255.0, 1);
}

}  // namespace

Ref<UIColor> Tessel::getPrimaryColor(const UIImage* image) {
  std::vector<uint32_t> kept = firstDistinctColours(image, 1);
  return kept.empty() ? UIColor::whiteColor() : colourOf(kept[0]);
}

Ref<UIColor> Tessel::getSecondaryColor(const UIImage* image) {
  std::vector<uint32_t> kept = firstDistinctColours(image, 3);
  return kept.empty() ? UIColor::whiteColor() : colourOf(kept.back());
}
