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

CGSize measureText(std::string_view text, CGFloat fontSize, bool bold, CGSize limit,
                   long numberOfLines) {
  rendering::TextLayout layout =
      rendering::layoutText(text, {fontSize, bold}, limit.width, numberOfLines);
  if (layout.lines.empty()) return {0, 0};
  return {fitted(layout.width(), limit.width), fitted(layout.height(), limit.height)};
}
