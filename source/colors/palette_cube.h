#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"

// `PC` (`PCPaletteCube`, `PCLocalMaximum`) names public classes that other code looks up: see
// "Names that cannot change" in the README.

// A palette of distinct colours from an image: its pixels counted in a 30 × 30 × 30 histogram
// of the RGB cube, the histogram's local maxima taken as candidate colours, then filtered and
// ordered by flags. Colours are RGB in 0..1; distances are Euclidean in that cube.

// One histogram cell: how many pixels fell in it and the sums of their components (0..1).
struct PCCubeCell {
  uint32_t hitCount;
  double redAcc, greenAcc, blueAcc;
};

// One candidate colour: a cell that no neighbour beats, with the mean colour of its pixels.
// `brightness` is the largest of the three components.
struct PCLocalMaximum {
  uint32_t hitCount;
  uint32_t cellIndex;
  double red, green, blue, brightness;
};

// What to count, keep and how to order it; any combination of the flags below.
using PCFlags = uint64_t;
// Counts only pixels with a channel of 0.6 or more.
inline constexpr PCFlags PCFlagBrightOnly = 1;
// Counts only pixels whose channels are all below 0.4; yields to PCFlagBrightOnly.
inline constexpr PCFlags PCFlagDarkOnly = 2;
// Drops maxima closer than 0.2 to any earlier one.
inline constexpr PCFlags PCFlagDistinctOnly = 4;
// Brightest first.
inline constexpr PCFlags PCFlagOrderByBrightness = 8;
// Darkest first; yields to PCFlagOrderByBrightness.
inline constexpr PCFlags PCFlagOrderByDarkness = 16;
// Drops maxima within 0.5 of white.
inline constexpr PCFlags PCFlagAvoidWhite = 32;
// Drops maxima within 0.5 of black.
inline constexpr PCFlags PCFlagAvoidBlack = 64;

// The 27 cell offsets (dr, dg, db) of a cell's neighbourhood, itself first: dr varies slowest
// and each coordinate runs 0, +1, −1.
extern "C" const int32_t neighbourIndices[27][3];

// The cell of quantised coordinates (ri, gi, bi), each 0..29, is `ri + 30 gi + 900 bi`.
//
// Orders the flags leave open: maxima of equal hit count keep the order of a visit of the
// cells by red bin, then green bin, then blue bin, each ascending; ordering by brightness or
// darkness keeps maxima of equal brightness in the order they came in.
//
// One cube serves one extraction at a time (the histogram is shared state); it can be reused,
// every extraction starting from a clear histogram. About 1 MB on the heap, of which a new cube
// zeroes an eighth; moving is cheap, and a moved-from cube may only be assigned or destroyed.
//
// Pixels are counted where the image's bitmap holds them (drawing it at its own size would
// copy them unchanged), a run of equal pixels at a time; the results are exactly those of
// counting pixel by pixel into a cleared histogram and visiting every cell.
class PCPaletteCube {
 public:
  // All 27000 cells zero.
  PCPaletteCube();
  // Movable, cheaply; not copyable.
  PCPaletteCube(PCPaletteCube&&) noexcept;
  PCPaletteCube& operator=(PCPaletteCube&&) noexcept;
  ~PCPaletteCube();

  // The maxima as colours, after the flags' filters and order. Empty for an image absent or
  // without a bitmap. One pass over the pixels, then work on the maxima only.
  std::vector<Ref<UIColor>> extractColorsFromImage(const UIImage* image, PCFlags flags);
  // The same, without maxima within 0.5 of avoidColor (none dropped for a null colour).
  std::vector<Ref<UIColor>> extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                   const UIColor* avoidColor);
  // At most count bright colours (PCFlagBrightOnly), spread apart, none within 0.5 of
  // avoidColor when it is given.
  std::vector<Ref<UIColor>> extractBrightColorsFromImage(const UIImage* image,
                                                         const UIColor* avoidColor, uint64_t count);
  // At most count dark colours (PCFlagDarkOnly), as extractBrightColorsFromImage.
  std::vector<Ref<UIColor>> extractDarkColorsFromImage(const UIImage* image,
                                                       const UIColor* avoidColor, uint64_t count);
  // At most count colours after the flags' filters and order, spread apart. With count 1 this
  // is the first maximum the flags keep. A literal 0 for count is ambiguous with the overload
  // above: write uint64_t{0}.
  std::vector<Ref<UIColor>> extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                   uint64_t count);

  // Zeroes the histogram. Costs only the cells counted since the last clear.
  void clearCells();
  // The image's bitmap drawn at its own pixel size into a new zero-filled buffer (R, G, B, A,
  // premultiplied, rows packed), owned by the caller; *pixelCount (when not null) gets W × H.
  // Empty with a count of 0 for an image absent or without a bitmap; absent, with a count of
  // 0, when no buffer can be made.
  std::optional<std::vector<uint8_t>> rawPixelDataFromImage(const UIImage* image,
                                                            uint32_t* pixelCount);
  // Clears and fills the histogram from the image's pixels (flags PCFlagBrightOnly and
  // PCFlagDarkOnly choose which count), then lists the local maxima, most pixels first.
  // Absent when the pixels cannot be had. The cells keep this pass's counts afterwards.
  std::optional<std::vector<PCLocalMaximum>> findLocalMaximaInImage(const UIImage* image,
                                                                    PCFlags flags);
  // The local maxima (empty when absent), then distinct filtering and ordering by the flags.
  std::vector<PCLocalMaximum> findAndSortMaximaInImage(const UIImage* image, PCFlags flags);
  // Keeps, in order, each maximum at threshold or more from every maximum before it in the
  // input, dropped ones included. Quadratic in the list's length.
  std::vector<PCLocalMaximum> filterDistinctMaxima(const std::vector<PCLocalMaximum>& maxima,
                                                   double threshold) const;
  // Keeps, in order, each maximum at 0.5 or more from the colour; all of them for a null
  // colour or one without a single RGB value (a pattern).
  std::vector<PCLocalMaximum> filterMaxima(const std::vector<PCLocalMaximum>& maxima,
                                           const UIColor* tooCloseToColor) const;
  // Brightest first; equal brightness keeps the input order.
  std::vector<PCLocalMaximum> orderByBrightness(std::vector<PCLocalMaximum> maxima) const;
  // Darkest first; equal brightness keeps the input order.
  std::vector<PCLocalMaximum> orderByDarkness(std::vector<PCLocalMaximum> maxima) const;
  // At most count maxima: distinct filtering with a threshold rising from 0.1 by 0.05 for up
  // to ten rounds, stopping before the list would fit count, then the first count entries of
  // the last list that did not. The first maximum always stays.
  std::vector<PCLocalMaximum> performAdaptiveDistinctFilteringForMaxima(
      const std::vector<PCLocalMaximum>& maxima, uint64_t count) const;
  // findAndSortMaximaInImage, then PCFlagAvoidBlack's and PCFlagAvoidWhite's filters.
  std::vector<PCLocalMaximum> extractAndFilterMaximaFromImage(const UIImage* image, PCFlags flags);
  // One opaque colour per maximum, in order.
  std::vector<Ref<UIColor>> colorsFromMaxima(const std::vector<PCLocalMaximum>& maxima) const;

  // The cell at index (below 27000), as the last pass left it.
  const PCCubeCell& cell(size_t index) const;

 private:
  // Counts pixelCount pixels (4 bytes each) into the cleared histogram.
  void countPixels(const uint8_t* pixels, size_t pixelCount, PCFlags flags);

  // The hit counts, in a 32³ grid with an empty border so that neighbour reads need no bounds
  // tests. A cell whose count here is 0 is empty, whatever its record in cells_ holds: records
  // are written when a pass first counts into them, so a new cube zeroes only this grid.
  std::unique_ptr<uint32_t[]> paddedCounts_;
  std::unique_ptr<PCCubeCell[]> cells_;
  // The cells counted since the last clear (cell index | padded index << 16).
  std::vector<uint32_t> touched_;
};
