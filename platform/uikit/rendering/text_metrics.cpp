#include "platform/uikit/rendering/text_metrics.h"

#include <algorithm>
#include <cmath>

#include "platform/uikit/rendering/internal/text_layout.h"

namespace {

// Rounded up to whole points, within limit unless the limit leaves the side free.
CGFloat fitted(double needed, CGFloat limit) {
  double rounded = std::ceil(needed);
  return limit > 0 ? std::min(rounded, limit) : rounded;
}

}  // namespace

CGSize measureText(std::string_view text, const TextFont& font, CGSize limit, long numberOfLines) {
  auto layout = rendering::TextLayout::cached(text, font, limit.width, numberOfLines);
  if (layout->empty()) return {0, 0};
  return {fitted(layout->width(), limit.width), fitted(layout->height(), limit.height)};
}

std::vector<std::string> shownLines(std::string_view text, const TextFont& font, CGFloat width,
                                    long numberOfLines) {
  return rendering::TextLayout::cached(text, font, width, numberOfLines)->shownLines();
}
