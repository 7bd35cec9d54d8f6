#include "platform/uikit/rendering/internal/text_layout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace rendering {

namespace {

constexpr double kMaxFontSize = 4096;
// Wider limits set no limit: Pango measures in 32-bit units of 1/1024 point.
constexpr double kMaxWidth = 1 << 20;
constexpr std::string_view kEllipsis = "\u2026";
constexpr size_t kCachedLayouts = 256;

struct LayoutKey {
  std::string text;
  TextFont font;
  double maxWidth;
  long maxLines;

  bool operator==(const LayoutKey& other) const {
    return text == other.text && font.size == other.font.size && font.weight == other.font.weight &&
           font.monospacedDigits == other.font.monospacedDigits && maxWidth == other.maxWidth &&
           maxLines == other.maxLines;
  }
};

struct LayoutKeyHash {
  size_t operator()(const LayoutKey& key) const {
    size_t hash = std::hash<std::string>{}(key.text);
    for (double value : {key.font.size, key.font.weight, key.maxWidth})
      hash = hash * 31 + std::hash<double>{}(value);
    return (hash * 31 + std::hash<long>{}(key.maxLines)) * 2 + key.font.monospacedDigits;
  }
};

bool usableSize(double size) {
  return std::isfinite(size) && size > 0 && size <= kMaxFontSize;
}

bool isLineBreak(gunichar c) {
  return c == '\n' || c == '\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Text Pango takes as a label shows it: valid UTF-8 (invalid bytes as U+FFFD), every kind of
// line break as a line feed, tabs as spaces, other control characters left out.
std::string cleanText(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    gunichar c = g_utf8_get_char_validated(text.data() + i, static_cast<gssize>(text.size() - i));
    if (text[i] == '\0' || c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
      if (text[i] != '\0') clean += "\uFFFD";
      ++i;
      continue;
    }
    size_t length = static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(text[i])]);
    std::string_view character = text.substr(i, length);
    i += length;
    if (c == '\r' && i < text.size() && text[i] == '\n') continue;  // one break, not two
    if (isLineBreak(c)) {
      clean += '\n';
    } else if (c == '\t') {
      clean += ' ';
    } else if (!g_unichar_iscntrl(c)) {
      clean += character;
    }
  }
  return clean;
}

std::string_view trimmedRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

LayoutHandle makeLayout(const std::string& text, const TextFont& font, double maxWidth) {
  LayoutHandle layout(pango_layout_new(textContext()));
  pango_layout_set_font_description(layout.get(), describeFont(font).get());
  if (font.monospacedDigits) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_features_new("tnum"));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
  }
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout.get(), maxWidth > 0 ? pango_units_from_double(maxWidth) : -1);
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  return layout;
}

double lineOffset(NSTextAlignment alignment, double boxWidth, double lineWidth) {
  switch (alignment) {
    case NSTextAlignmentCenter:
      return (boxWidth - lineWidth) / 2;
    case NSTextAlignmentRight:
      return boxWidth - lineWidth;
    case NSTextAlignmentLeft:
      break;
  }
  return 0;
}

}  // namespace

TextLayout::TextLayout(std::string_view text, const TextFont& font, double maxWidth,
                       long maxLines) {
  if (!usableSize(font.size) || text.empty()) return;
  std::string clean = cleanText(text);
  if (clean.empty()) return;
  const bool limited = std::isfinite(maxWidth) && maxWidth > 0 && maxWidth < kMaxWidth;
  const bool wrap = limited && maxLines != 1;
  whole_ = makeLayout(clean, font, wrap ? maxWidth : 0);

  const auto count = static_cast<size_t>(pango_layout_get_line_count(whole_.get()));
  const size_t shown = maxLines > 0 ? std::min(count, static_cast<size_t>(maxLines)) : count;
  const bool leftOver = shown < count;
  // A single line is cut where it meets the width.
  const bool cutLast = leftOver || (limited && !wrap);
  const size_t kept = cutLast ? shown - 1 : shown;
  for (size_t i = 0; i < kept; ++i)
    addLine(pango_layout_get_line_readonly(whole_.get(), static_cast<int>(i)));
  if (!cutLast) return;

  // The last line shown holds the rest of its paragraph, and a "…" when paragraphs follow.
  const auto start = static_cast<size_t>(
      pango_layout_get_line_readonly(whole_.get(), static_cast<int>(kept))->start_index);
  const size_t end = std::min(clean.find('\n', start), clean.size());
  std::string rest(trimmedRight(std::string_view(clean).substr(start, end - start)));
  if (end < clean.size()) rest += kEllipsis;
  cut_ = makeLayout(rest, font, limited ? maxWidth : 0);
  pango_layout_set_ellipsize(cut_.get(), PANGO_ELLIPSIZE_END);
  addLine(pango_layout_get_line_readonly(cut_.get(), 0));
}

std::shared_ptr<const TextLayout> TextLayout::cached(std::string_view text, const TextFont& font,
                                                     double maxWidth, long maxLines) {
  thread_local std::unordered_map<LayoutKey, std::shared_ptr<const TextLayout>, LayoutKeyHash>
      layouts;
  LayoutKey key{std::string(text), font, maxWidth, maxLines};
  if (auto found = layouts.find(key); found != layouts.end()) return found->second;
  // Full: it starts over, which costs less than knowing which layouts were used last.
  if (layouts.size() >= kCachedLayouts) layouts.clear();
  auto made = std::make_shared<const TextLayout>(text, font, maxWidth, maxLines);
  layouts.emplace(std::move(key), made);
  return made;
}

void TextLayout::addLine(PangoLayoutLine* line) {
  PangoRectangle logical;
  pango_layout_line_get_extents(line, nullptr, &logical);
  lines_.push_back({line, pango_units_to_double(logical.width), pango_units_to_double(-logical.y),
                    pango_units_to_double(logical.height)});
}

double TextLayout::width() const {
  double widest = 0;
  for (const Line& line : lines_)
    widest = std::max(widest, line.width);
  return widest;
}

double TextLayout::height() const {
  double total = 0;
  for (const Line& line : lines_)
    total += line.height;
  return total;
}

std::vector<std::string> TextLayout::shownLines() const {
  std::vector<std::string> shown;
  for (const Line& line : lines_) {
    // Runs come in visual order; by their place in the text they read in logical order.
    std::vector<const PangoItem*> items;
    for (GSList* run = line.line->runs; run; run = run->next)
      items.push_back(static_cast<PangoGlyphItem*>(run->data)->item);
    std::sort(items.begin(), items.end(),
              [](const PangoItem* a, const PangoItem* b) { return a->offset < b->offset; });
    const char* text = pango_layout_get_text(line.line->layout);
    std::string characters;
    for (const PangoItem* item : items) {
      if (item->analysis.flags & PANGO_ANALYSIS_FLAG_IS_ELLIPSIS) {
        characters += kEllipsis;
      } else {
        characters.append(text + item->offset, static_cast<size_t>(item->length));
      }
    }
    shown.emplace_back(trimmedRight(characters));
  }
  return shown;
}

void TextLayout::draw(cairo_t* cr, double top, double boxWidth, NSTextAlignment alignment) const {
  double lineTop = top;
  for (const Line& line : lines_) {
    cairo_move_to(cr, lineOffset(alignment, boxWidth, line.width), lineTop + line.ascent);
    pango_cairo_show_layout_line(cr, line.line);
    lineTop += line.height;
  }
}

}  // namespace rendering
