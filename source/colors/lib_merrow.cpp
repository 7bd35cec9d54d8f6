#include "source/colors/lib_merrow.h"

#include <algorithm>
#include <bit>

#include "platform/graphics/bitmap_context.h"

// Generating and counting the keys one by one costs (2F + 1)² × 3 table updates a pixel, 13
// million for 100 × 100 pixels at flexibility 10. Here the keys are counted by their structure
// instead: the keys of a pixel form a box (a run of values in each channel, with clamped
// candidates piled onto 0), equal pixels share a box, and boxes are summed one row of blue
// values at a time. The order of first occurrence follows from the structure too: within a
// pixel, keys arise in ascending (red, green, blue) order, so a key's place is its first
// pixel, then its channels.
namespace {

using Key = libMerrow::Key;

// The candidates of one channel: every value from lo to hi once, except lo, which stands for
// lowCount candidates (negative candidates are clamped onto 0 and pile up there).
struct Run {
  int32_t lo = 0, hi = 0;
  uint32_t lowCount = 1;
  uint32_t multiplicity(int32_t value) const { return value == lo ? lowCount : 1; }
};

// Green and blue run through every offset from -F to F.
Run widenFully(int32_t value, int32_t flexibility) {
  if (value >= flexibility) return {value - flexibility, value + flexibility, 1};
  return {0, value + flexibility, uint32_t(flexibility - value + 1)};
}

// Red only reaches the first three offset indices: a pixel's (2F + 1)² × 3 combinations run
// through green and blue three times while the red index steps (and wraps at 2F + 1).
Run widenRed(int32_t value, int32_t flexibility) {
  const int32_t width = 2 * flexibility + 1;
  int32_t candidates[3];
  for (int32_t k = 0; k < 3; ++k)
    candidates[k] = std::max(0, value - flexibility + k % width);
  Run run{candidates[0], candidates[2], 0};
  for (int32_t candidate : candidates)
    run.lowCount += candidate == run.lo ? 1 : 0;
  return run;
}

// A colour the drawn pixels hold, with how many hold it and the first that does.
struct PixelColour {
  uint32_t weight = 0;
  uint32_t first = 0;
  Run red, green, blue;
};

// The distinct pixel colours (alpha ignored) in order of first appearance, row by row.
std::vector<PixelColour> distinctPixelColours(const uint8_t* pixels, uint32_t pixelCount,
                                              int32_t flexibility) {
  const int bits = std::max(4, int(std::bit_width(pixelCount)) + 1);
  const uint32_t mask = (uint32_t{1} << bits) - 1;
  // Open addressing: colour + 1 (0 marks a free slot) and the colour's index.
  std::vector<uint32_t> slotColour(size_t{1} << bits), slotIndex(size_t{1} << bits);
  std::vector<PixelColour> colours;
  uint32_t previous = 0, previousIndex = 0;
  for (uint32_t i = 0; i < pixelCount; ++i) {
    const uint8_t* p = pixels + 4 * size_t(i);
    const uint32_t rgb = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    // Neighbouring pixels mostly repeat a colour.
    if (i > 0 && rgb == previous) {
      ++colours[previousIndex].weight;
      continue;
    }
    uint32_t slot = (rgb * 0x9E3779B1u) >> (32 - bits) & mask;
    while (slotColour[slot] != 0 && slotColour[slot] != rgb + 1)
      slot = (slot + 1) & mask;
    if (slotColour[slot] == 0) {
      slotColour[slot] = rgb + 1;
      slotIndex[slot] = uint32_t(colours.size());
      colours.push_back({0, i, widenRed(p[0], flexibility), widenFully(p[1], flexibility),
                         widenFully(p[2], flexibility)});
    }
    previous = rgb;
    previousIndex = slotIndex[slot];
    ++colours[previousIndex].weight;
  }
  return colours;
}

// Sorts values stably by their bits [low, low + width).
void radixSortBits(std::vector<uint64_t>& values, int low, int width) {
  if (values.size() < 2 || width <= 0) return;
  // As few passes as 11-bit digits allow, the digits evened out.
  const int passes = (width + 10) / 11;
  const int digitBits = (width + passes - 1) / passes;
  std::vector<uint64_t> buffer(values.size());
  std::vector<uint32_t> starts(size_t{1} << digitBits);
  for (int shift = low; shift < low + width; shift += digitBits) {
    const int bits = std::min(digitBits, low + width - shift);
    const uint64_t digitMask = (uint64_t{1} << bits) - 1;
    std::fill(starts.begin(), starts.end(), 0);
    for (uint64_t value : values)
      ++starts[(value >> shift) & digitMask];
    // A digit every value shares leaves the order as it is.
    if (starts[(values[0] >> shift) & digitMask] == values.size()) continue;
    uint32_t start = 0;
    for (uint32_t& bucket : starts)
      start += std::exchange(bucket, start);
    for (uint64_t value : values)
      buffer[starts[(value >> shift) & digitMask]++] = value;
    values.swap(buffer);
  }
}

// A distinct key with its count and the index of the first pixel that produces it.
struct CountedKey {
  int32_t red, green, blue;
  uint32_t count, first;
};

// Hands every distinct key to emit, in ascending (red, green, blue) order. Each pixel colour
// adds its box one row (fixed red and green) at a time into a row of blue counters.
template <class Emit>
void countKeys(const std::vector<PixelColour>& colours, int32_t flexibility, Emit&& emit) {
  // (red, green, colour index) for every row of every box, grouped by row; stable, so the
  // colours of a row stay in order of first appearance. Red takes 9 bits, green 11 (the key
  // budget keeps flexibility below 1200).
  std::vector<uint64_t> rows;
  for (uint32_t index = 0; index < colours.size(); ++index) {
    const PixelColour& colour = colours[index];
    for (int32_t red = colour.red.lo; red <= colour.red.hi; ++red) {
      for (int32_t green = colour.green.lo; green <= colour.green.hi; ++green) {
        rows.push_back(uint64_t(red) << 43 | uint64_t(green) << 32 | index);
      }
    }
  }
  radixSortBits(rows, 32, 20);

  const size_t span = 256 + size_t(flexibility);
  std::vector<uint32_t> counts(span), firsts(span);
  std::vector<std::pair<int32_t, int32_t>> covered;  // the blue runs of the row's colours
  for (size_t begin = 0; begin < rows.size();) {
    const uint64_t row = rows[begin] >> 32;
    size_t end = begin;
    while (end < rows.size() && rows[end] >> 32 == row)
      ++end;
    const auto red = int32_t(row >> 11), green = int32_t(row & 0x7FF);
    covered.clear();
    // Latest colours first, so the earliest colour's first pixel is the one left standing.
    for (size_t at = end; at-- > begin;) {
      const PixelColour& colour = colours[uint32_t(rows[at])];
      const uint32_t weight =
          colour.weight * colour.red.multiplicity(red) * colour.green.multiplicity(green);
      const Run& blue = colour.blue;
      for (int32_t value = blue.lo; value <= blue.hi; ++value) {
        counts[value] += weight;
        firsts[value] = colour.first;
      }
      counts[blue.lo] += weight * (blue.lowCount - 1);
      covered.emplace_back(blue.lo, blue.hi);
    }
    // Only the covered values are read (and cleared), in ascending order; a row's colours
    // may lie far apart.
    std::sort(covered.begin(), covered.end());
    int32_t done = -1;
    for (auto [lo, hi] : covered) {
      for (int32_t blue = std::max(lo, done + 1); blue <= hi; ++blue) {
        emit(CountedKey{red, green, blue, counts[blue], firsts[blue]});
        counts[blue] = 0;
      }
      done = std::max(done, hi);
    }
    begin = end;
  }
}

// The keys picked so far. While they are few they are searched in turn; beyond that they
// are bucketed in cubic cells at least range + 1 wide, so that a key within range of a pick in
// every channel finds it in its own cell or a neighbouring one.
class PickedKeys {
 public:
  PickedKeys(int32_t span, int32_t range)
      : range_(range),
        side_(std::max<int64_t>(int64_t{range} + 1, (span + 31) / 32)),
        cells_(int32_t((span + side_ - 1) / side_)),
        cellOf_(size_t(span)),
        heads_(size_t(cells_) * cells_ * cells_, -1) {
    for (int32_t value = 0; value < span; ++value)
      cellOf_[value] = int32_t(value / side_);
  }

  bool similar(const CountedKey& key) {
    if (range_ < 0 || picked_.empty()) return false;
    // Keys in count order mostly fall near the pick that covered the key before.
    if (near(picked_[lastNear_], key)) return true;
    if (picked_.size() <= kSearchedInTurn) {
      for (size_t at = 0; at < picked_.size(); ++at) {
        if (near(picked_[at], key)) return remember(at);
      }
      return false;
    }
    const int32_t x = cellOf_[key.red], y = cellOf_[key.green], z = cellOf_[key.blue];
    for (int32_t i = std::max(0, x - 1); i <= std::min(cells_ - 1, x + 1); ++i) {
      for (int32_t j = std::max(0, y - 1); j <= std::min(cells_ - 1, y + 1); ++j) {
        for (int32_t k = std::max(0, z - 1); k <= std::min(cells_ - 1, z + 1); ++k) {
          for (int32_t at = heads_[cell(i, j, k)]; at >= 0; at = next_[at]) {
            if (near(picked_[at], key)) return remember(size_t(at));
          }
        }
      }
    }
    return false;
  }

  void add(const CountedKey& key) {
    const size_t at = cell(cellOf_[key.red], cellOf_[key.green], cellOf_[key.blue]);
    next_.push_back(heads_[at]);
    heads_[at] = int32_t(picked_.size());
    picked_.push_back({key.red, key.green, key.blue, key.count});
  }

  std::vector<Key> take() { return std::move(picked_); }
  int32_t range() const { return range_; }

 private:
  static constexpr size_t kSearchedInTurn = 16;

  // Whether the key lies within range of the pick in every channel. In 64 bits: a range near
  // the 32-bit limit must not overflow pick ± range.
  bool near(const Key& pick, const CountedKey& key) const {
    return within(pick.red, key.red) && within(pick.green, key.green) &&
           within(pick.blue, key.blue);
  }
  bool remember(size_t at) {
    lastNear_ = at;
    return true;
  }

  bool within(int32_t picked, int32_t value) const {
    return uint64_t(int64_t{value} - picked + range_) <= 2 * uint64_t(range_);
  }
  size_t cell(int32_t x, int32_t y, int32_t z) const {
    return (size_t(x) * cells_ + y) * cells_ + z;
  }

  int32_t range_;
  int64_t side_;
  int32_t cells_;
  std::vector<int32_t> cellOf_;  // the cell coordinate of each channel value
  std::vector<int32_t> heads_, next_;
  std::vector<Key> picked_;
  size_t lastNear_ = 0;
};

// A distinct key packed into one word, where its parts fit: (bound - count, first pixel, red,
// green, blue), so that ascending words run in picking order. A pixel gives one key at most
// 3 × (F + 1)² times (all candidates clamped onto 0), which bounds the count.
struct Packing {
  Packing(uint32_t pixelCount, int32_t flexibility)
      : countBound(uint64_t(pixelCount) * 3 * (uint64_t(flexibility) + 1) *
                   (uint64_t(flexibility) + 1)),
        countBits(std::bit_width(countBound)),
        firstBits(std::bit_width(pixelCount - 1)),
        channelBits(std::bit_width(255 + uint32_t(flexibility))),
        keyBits(9 + 2 * channelBits) {}  // red never exceeds 256

  bool fits() const { return countBits + firstBits + keyBits <= 64; }
  uint64_t pack(const CountedKey& key) const {
    const uint64_t channels =
        (uint64_t(key.red) << channelBits | uint64_t(key.green)) << channelBits | key.blue;
    return ((countBound - key.count) << firstBits | key.first) << keyBits | channels;
  }
  CountedKey unpack(uint64_t word) const {
    const uint64_t channelMask = (uint64_t{1} << channelBits) - 1;
    return {int32_t(word >> (2 * channelBits) & 0x1FF), int32_t(word >> channelBits & channelMask),
            int32_t(word & channelMask), uint32_t(countBound - (word >> (keyBits + firstBits))),
            uint32_t(word >> keyBits & ((uint64_t{1} << firstBits) - 1))};
  }

  uint64_t countBound;
  int countBits, firstBits, channelBits, keyBits;
};

// Picks among packed keys, best being the smallest of them. The smallest word left is always
// the next pick, and no key near a pick is ever picked; so while each pick's neighbourhood
// takes a good share of the keys left, those are dropped unsorted and the smallest of the rest
// picked. What is left then is sorted.
void pickPacked(std::vector<uint64_t>& words, uint64_t best, const Packing& packing,
                PickedKeys& picked) {
  const int64_t range = picked.range();
  const uint64_t channelMask = (uint64_t{1} << packing.channelBits) - 1;
  while (range >= 0 && !words.empty()) {
    const CountedKey pick = packing.unpack(best);
    picked.add(pick);
    uint64_t nextBest = ~uint64_t{0};
    size_t left = 0;
    // Without branches on the data: every word is written, and kept by moving on.
    for (uint64_t word : words) {
      const auto red = int64_t(word >> (2 * packing.channelBits) & 0x1FF);
      const auto green = int64_t(word >> packing.channelBits & channelMask);
      const auto blue = int64_t(word & channelMask);
      const bool near = (uint64_t(red - pick.red + range) <= uint64_t(2 * range)) &
                        (uint64_t(green - pick.green + range) <= uint64_t(2 * range)) &
                        (uint64_t(blue - pick.blue + range) <= uint64_t(2 * range));
      const bool keep = !near & (word != best);
      words[left] = word;
      left += keep;
      nextBest = keep && word < nextBest ? word : nextBest;
    }
    const size_t dropped = words.size() - left;
    words.resize(left);
    if (4 * dropped < words.size() + dropped) break;
    best = nextBest;
  }
  // The keys came in channel order; a stable sort of the rest of the word keeps it for ties.
  radixSortBits(words, packing.keyBits, packing.firstBits + packing.countBits);
  for (uint64_t word : words) {
    const CountedKey key = packing.unpack(word);
    if (!picked.similar(key)) picked.add(key);
  }
}

// Picks among the distinct keys of the colours: by count, largest first; equal counts by first
// pixel, then by channels.
void pickKeys(const std::vector<PixelColour>& colours, int32_t flexibility, uint32_t pixelCount,
              PickedKeys& picked) {
  const Packing packing(pixelCount, flexibility);
  if (packing.fits()) {
    // The boxes' sizes added up bound the distinct keys.
    uint64_t boxes = 0;
    for (const PixelColour& colour : colours) {
      boxes += uint64_t(colour.red.hi - colour.red.lo + 1) *
               uint64_t(colour.green.hi - colour.green.lo + 1) *
               uint64_t(colour.blue.hi - colour.blue.lo + 1);
    }
    std::vector<uint64_t> words;
    words.reserve(std::min<uint64_t>(boxes, uint64_t{1} << 22));
    uint64_t best = ~uint64_t{0};
    countKeys(colours, flexibility, [&](const CountedKey& key) {
      words.push_back(packing.pack(key));
      best = std::min(best, words.back());
    });
    pickPacked(words, best, packing, picked);
    return;
  }
  std::vector<CountedKey> counted;
  countKeys(colours, flexibility, [&](const CountedKey& key) { counted.push_back(key); });
  std::stable_sort(counted.begin(), counted.end(), [](const CountedKey& a, const CountedKey& b) {
    return a.count != b.count ? a.count > b.count : a.first < b.first;
  });
  for (const CountedKey& key : counted) {
    if (!picked.similar(key)) picked.add(key);
  }
}

Ref<UIColor> colourOf(const Key& key) {
  return UIColor::colorWithRed(key.red / 255.0, key.green / 255.0, key.blue / 255.0, 1);
}

Ref<UIColor> averageColour(const UIImage* image) {
  auto context = CGBitmapContext::create(1, 1);
  if (!context) return UIColor::colorWithRed(0, 0, 0, 0);
  if (image) context->drawImage(image->bitmap(), CGRectMake(0, 0, 1, 1));
  const uint8_t* pixel = context->data();
  const double red = pixel[0], green = pixel[1], blue = pixel[2], alpha = pixel[3];
  if (alpha > 0) {
    // The drawn pixel is premultiplied already; the colour multiplies by alpha once more, as
    // this classifier always has.
    return UIColor::colorWithRed(red * (alpha / 255) / 255, green * (alpha / 255) / 255,
                                 blue * (alpha / 255) / 255, alpha / 255);
  }
  return UIColor::colorWithRed(red / 255, green / 255, blue / 255, 0);
}

}  // namespace

std::vector<Key> libMerrow::frequentDistinctKeys(const UIImage* image, int32_t dimension,
                                                 int32_t flexibility, int32_t range) {
  if (dimension < 1 || flexibility < 0) return {};
  // Flexibility is bounded before (2F + 1)² can overflow; any beyond 65535 exceeds kMaxKeys.
  if (dimension > kMaxDimension || flexibility > 65535) return {};
  const int64_t keysPerPixel = (2 * int64_t{flexibility} + 1) * (2 * int64_t{flexibility} + 1) * 3;
  if (int64_t{dimension} * dimension > kMaxKeys / keysPerPixel) return {};

  auto context = CGBitmapContext::create(dimension, dimension);
  if (!context) return {};
  if (image) context->drawImage(image->bitmap(), CGRectMake(0, 0, dimension, dimension));
  const auto pixelCount = uint32_t(dimension * dimension);

  PickedKeys picked(256 + flexibility, range);
  pickKeys(distinctPixelColours(context->data(), pixelCount, flexibility), flexibility, pixelCount,
           picked);
  return picked.take();
}

Ref<UIColor> libMerrow::getColorFromImage(const UIImage* image, int32_t calculation,
                                          int32_t dimension, int32_t flexibility, int32_t range) {
  switch (calculation) {
    case 0:
      return averageColour(image);
    case 1:
    case 2: {
      std::vector<Key> picked = frequentDistinctKeys(image, dimension, flexibility, range);
      return picked.empty() ? nullptr : colourOf(picked.back());
    }
    default:
      return UIColor::whiteColor();
  }
}

Ref<UIColor> libMerrow::backgroundColor(const UIImage* image) {
  return getColorFromImage(image, 0, 0, 0, 0);
}

Ref<UIColor> libMerrow::primaryColor(const UIImage* image) {
  return getColorFromImage(image, 1, 4, 1, 100);
}

Ref<UIColor> libMerrow::secondaryColor(const UIImage* image) {
  return getColorFromImage(image, 2, 9, 3, 90);
}
