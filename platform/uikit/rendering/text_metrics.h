#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/geometry.h"
#include "platform/uikit/ui_font.h"

// The system font (Inter, with DejaVu Sans for the characters it lacks) as text asks for it.
struct TextFont {
  CGFloat size = 17;
  double weight = UIFontWeightRegular;
  bool monospacedDigits = false;
};

// The size text needs in font, laid out as a label lays it out: wrapped at words (or within a
// word too long for a line) to limit.width when numberOfLines is 0 or more than 1, at most
// numberOfLines lines (0: as many as it needs), the last line cut with "…" when text is left
// over or does not fit. Each side is rounded up to whole points and kept within the limit (a
// limit of 0 or less leaves that side free). Empty text, or a font size that is not a positive
// size, needs {0, 0}.
CGSize measureText(std::string_view text, const TextFont& font, CGSize limit, long numberOfLines);

// The lines measureText lays text out in, as they show: each line's characters in reading
// order without trailing spaces, "…" where the text is cut.
std::vector<std::string> shownLines(std::string_view text, const TextFont& font, CGFloat width,
                                    long numberOfLines);
