#include "platform/uikit/rendering/internal/text_layout.h"

#include <cairo-ft.h>

#include <algorithm>
#include <cmath>

#include "platform/runtime/no_destructor.h"

namespace rendering {

namespace {

constexpr double kMaxFontSize = 4096;
constexpr std::string_view kEllipsis = "\u2026";
constexpr std::string_view kReplacement = "\uFFFD";

// DejaVu as Debian's fonts-dejavu-core installs it.
constexpr const char* kRegularFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The system font's two faces, read from their files through FreeType rather than found
// through fontconfig, whose caches are never freed; made once, kept for the process's life.
class SystemFonts {
 public:
  SystemFonts() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
    regular_ = load(kRegularFontPath, CAIRO_FONT_WEIGHT_NORMAL);
    bold_ = load(kBoldFontPath, CAIRO_FONT_WEIGHT_BOLD);
  }

  cairo_font_face_t* face(bool bold) const { return bold ? bold_.get() : regular_.get(); }

 private:
  // The face in the file, else the one fontconfig finds by name.
  FontFaceHandle load(const char* path, cairo_font_weight_t weight) {
    FT_Face face = nullptr;
    if (library_ && FT_New_Face(library_, path, 0, &face) == 0) {
      FontFaceHandle made(cairo_ft_font_face_create_for_ft_face(face, 0));
      // cairo owns the FreeType face from here: it lets it go with the font face.
      static const cairo_user_data_key_t kFaceKey{};
      auto release = [](void* owned) { FT_Done_Face(static_cast<FT_Face>(owned)); };
      if (cairo_font_face_set_user_data(made.get(), &kFaceKey, face, release) ==
          CAIRO_STATUS_SUCCESS) {
        return made;
      }
      made.reset();
      FT_Done_Face(face);
    }
    return FontFaceHandle(
        cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, weight));
  }

  FT_Library library_ = nullptr;
  FontFaceHandle regular_, bold_;
};

cairo_font_face_t* fontFace(bool bold) {
  static objc::NoDestructor<SystemFonts> fonts;
  return fonts->face(bold);
}

// Unhinted outlines and metrics: a line measures the same at every scale, so what was laid out
// in points fits when drawn at 1×, 2× or 3×.
const cairo_font_options_t* fontOptions() {
  static const FontOptionsHandle options = [] {
    FontOptionsHandle made(cairo_font_options_create());
    cairo_font_options_set_hint_metrics(made.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(made.get(), CAIRO_HINT_STYLE_NONE);
    return made;
  }();
  return options.get();
}

bool usableSize(double size) {
  return std::isfinite(size) && size > 0 && size <= kMaxFontSize;
}

// The length of the valid UTF-8 sequence at text[i], or 0 if it is not one (overlong forms,
// surrogates and code points past U+10FFFF included).
size_t sequenceLength(std::string_view text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  unsigned char second = byte(i + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
}

// Text cairo can take: valid UTF-8 without control characters (tabs as spaces, line feeds
// kept). Invalid bytes become U+FFFD.
std::string cleanText(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      if (byte == '\n' || (byte >= 0x20 && byte != 0x7F)) clean += static_cast<char>(byte);
      if (byte == '\t') clean += ' ';
      ++i;
    } else if (size_t length = sequenceLength(text, i)) {
      clean.append(text.substr(i, length));
      i += length;
    } else {
      clean.append(kReplacement);
      ++i;
    }
  }
  return clean;
}

bool isCharacterStart(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

std::string_view trimmedRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

class Measurer {
 public:
  explicit Measurer(const FontSpec& font) {
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, font.size, font.size);
    cairo_matrix_init_identity(&identity);
    font_.reset(cairo_scaled_font_create(fontFace(font.bold), &size, &identity, fontOptions()));
  }

  bool ok() const { return cairo_scaled_font_status(font_.get()) == CAIRO_STATUS_SUCCESS; }

  cairo_font_extents_t extents() const {
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font_.get(), &extents);
    return extents;
  }

  double width(std::string_view text) const {
    if (text.empty()) return 0;
    std::string terminated(text);
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font_.get(), terminated.c_str(), &extents);
    return extents.x_advance;
  }

  // The end of the longest run of whole characters from text's start (at least one) for
  // which fits(run) holds, fits being true for shorter runs whenever it is for longer ones.
  template <class Fits>
  size_t longestFitting(std::string_view text, Fits fits) const {
    std::vector<size_t> ends;
    for (size_t i = 1; i <= text.size(); ++i) {
      if (i == text.size() || isCharacterStart(text[i])) ends.push_back(i);
    }
    size_t low = 0, high = ends.size();  // ends[0..low) fit, ends[high..) do not
    while (low < high) {
      size_t middle = (low + high) / 2;
      if (fits(text.substr(0, ends[middle]))) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return low == 0 ? (ends.empty() ? 0 : ends[0]) : ends[low - 1];
  }

 private:
  ScaledFontHandle font_;
};

// The longest start of text that fits maxWidth with "…" after it (≤ 0: no limit).
std::string ellipsized(std::string_view text, double maxWidth, const Measurer& measure) {
  const std::string ellipsis(kEllipsis);
  text = trimmedRight(text);
  if (maxWidth <= 0) return std::string(text) + ellipsis;
  auto fits = [&](std::string_view start) {
    return measure.width(std::string(trimmedRight(start)) + ellipsis) <= maxWidth;
  };
  size_t end = measure.longestFitting(text, fits);
  // Not even one character fits beside the ellipsis.
  if (end == 0 || !fits(text.substr(0, end))) return ellipsis;
  return std::string(trimmedRight(text.substr(0, end))) + ellipsis;
}

struct Span {
  size_t start = 0, end = 0, paragraphEnd = 0;
};

// Greedy word wrap of text[start, end) into spans no wider than maxWidth; a word wider than a
// line is broken between characters.
void wrapParagraph(std::string_view text, size_t start, size_t end, double maxWidth,
                   const Measurer& measure, std::vector<Span>& spans) {
  size_t lineStart = start;
  while (true) {
    size_t lineEnd = lineStart, cursor = lineStart;
    bool full = false;
    while (cursor < end && !full) {
      size_t wordEnd = cursor;
      while (wordEnd < end && text[wordEnd] == ' ')
        ++wordEnd;
      while (wordEnd < end && text[wordEnd] != ' ')
        ++wordEnd;
      std::string_view candidate = trimmedRight(text.substr(lineStart, wordEnd - lineStart));
      if (measure.width(candidate) <= maxWidth) {
        lineEnd = cursor = wordEnd;
      } else if (lineEnd == lineStart) {
        auto fits = [&](std::string_view run) { return measure.width(run) <= maxWidth; };
        lineEnd = lineStart + measure.longestFitting(candidate, fits);
        full = true;
      } else {
        full = true;
      }
    }
    spans.push_back({lineStart, lineEnd, end});
    lineStart = lineEnd;
    while (lineStart < end && text[lineStart] == ' ')
      ++lineStart;
    if (lineStart >= end) return;
  }
}

}  // namespace

double TextLayout::width() const {
  double widest = 0;
  for (const TextLine& line : lines)
    widest = std::max(widest, line.width);
  return widest;
}

TextLayout layoutText(std::string_view text, const FontSpec& font, double maxWidth, long maxLines) {
  TextLayout layout;
  if (!usableSize(font.size) || text.empty()) return layout;
  std::string clean = cleanText(text);
  Measurer measure(font);
  if (clean.empty() || !measure.ok()) return layout;
  cairo_font_extents_t extents = measure.extents();
  layout.lineHeight = extents.height;
  layout.ascent = extents.ascent;
  if (!std::isfinite(maxWidth)) maxWidth = 0;

  bool wrap = maxLines != 1 && maxWidth > 0;
  std::vector<Span> spans;
  for (size_t start = 0; start <= clean.size();) {
    size_t end = std::min(clean.find('\n', start), clean.size());
    if (wrap) {
      wrapParagraph(clean, start, end, maxWidth, measure, spans);
    } else {
      spans.push_back({start, end, end});
    }
    start = end + 1;
  }
  bool leftOver = maxLines > 0 && spans.size() > static_cast<size_t>(maxLines);
  if (leftOver) spans.resize(static_cast<size_t>(maxLines));

  std::string_view all = clean;
  for (size_t i = 0; i < spans.size(); ++i) {
    const Span& span = spans[i];
    std::string line(trimmedRight(all.substr(span.start, span.end - span.start)));
    if (leftOver && i + 1 == spans.size()) {
      line = ellipsized(all.substr(span.start, span.paragraphEnd - span.start), maxWidth, measure);
    } else if (maxWidth > 0 && measure.width(line) > maxWidth) {
      line = ellipsized(line, maxWidth, measure);
    }
    double width = measure.width(line);
    layout.lines.push_back({std::move(line), width});
  }
  return layout;
}

void selectFont(cairo_t* cr, const FontSpec& font) {
  cairo_set_font_face(cr, fontFace(font.bold));
  cairo_set_font_size(cr, font.size);
  cairo_set_font_options(cr, fontOptions());
}

}  // namespace rendering
