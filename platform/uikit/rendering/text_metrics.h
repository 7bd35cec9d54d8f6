#pragma once

#include <string_view>

#include "platform/graphics/geometry.h"

// The size text needs in the system font (DejaVu Sans, Bold when bold) at fontSize points,
// laid out as a label lays it out: wrapped at words (or within a word too long for a line) to
// limit.width when numberOfLines is 0 or more than 1, at most numberOfLines lines (0: as many
// as it needs), a single line cut with "…" when it does not fit. Each side is rounded up to
// whole points and kept within the limit (a limit of 0 or less leaves that side free).
// Empty text, or a font size that is not a positive size, needs {0, 0}. Costs a glyph
// measurement per word.
CGSize measureText(std::string_view text, CGFloat fontSize, bool bold, CGSize limit,
                   long numberOfLines);
