#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/rendering/internal/cairo_handles.h"
#include "platform/uikit/rendering/internal/text_fonts.h"
#include "platform/uikit/ui_label.h"

namespace rendering {

// Text set in lines by Pango, as a label sets it (see measureText), measured in points.
// Hard line breaks are kept; invalid UTF-8 shows as U+FFFD. No lines for empty text or a size
// that is not a positive size.
class TextLayout {
 public:
  TextLayout(std::string_view text, const TextFont& font, double maxWidth, long maxLines);

  // The same layout, kept for the calling thread's later asks: a label is measured and drawn
  // again and again with the same text, and shaping it is what costs.
  static std::shared_ptr<const TextLayout> cached(std::string_view text, const TextFont& font,
                                                  double maxWidth, long maxLines);

  bool empty() const { return lines_.empty(); }
  double width() const;
  double height() const;
  std::vector<std::string> shownLines() const;

  // Draws the lines in cr's source from top down, each placed across boxWidth as alignment
  // says.
  void draw(cairo_t* cr, double top, double boxWidth, NSTextAlignment alignment) const;

 private:
  struct Line {
    PangoLayoutLine* line;  // owned by one of the layouts
    double width, ascent, height;
  };

  void addLine(PangoLayoutLine* line);

  // The text wrapped to the width, then the last line shown when it is cut with "…".
  LayoutHandle whole_, cut_;
  std::vector<Line> lines_;
};

}  // namespace rendering
