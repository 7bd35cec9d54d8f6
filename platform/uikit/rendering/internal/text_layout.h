#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/rendering/internal/cairo_handles.h"

namespace rendering {

// The system font at a size in points.
struct FontSpec {
  double size = 17;
  bool bold = false;
};

struct TextLine {
  std::string text;  // valid UTF-8
  double width = 0;  // advance in points
};

// Lines of text ready to draw, measured in points with unhinted metrics, so that they hold at
// every scale.
struct TextLayout {
  std::vector<TextLine> lines;
  double lineHeight = 0;
  double ascent = 0;

  double width() const;
  double height() const { return static_cast<double>(lines.size()) * lineHeight; }
};

// Lays text out: hard line breaks kept, wrapped at words to maxWidth when maxLines is not 1,
// at most maxLines lines (0: no limit), the last line cut with "…" when text is left over or a
// line is wider than maxWidth (≤ 0: no width limit). Invalid UTF-8 shows as U+FFFD. No lines
// for empty text or a size that is not a positive size.
TextLayout layoutText(std::string_view text, const FontSpec& font, double maxWidth, long maxLines);

// Sets cr's font to the one layoutText measures with.
void selectFont(cairo_t* cr, const FontSpec& font);

}  // namespace rendering
