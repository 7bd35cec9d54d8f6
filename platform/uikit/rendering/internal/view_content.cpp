#include "platform/uikit/rendering/internal/view_content.h"

#include <cmath>

#include "platform/uikit/rendering/internal/image_surfaces.h"
#include "platform/uikit/rendering/internal/paint.h"
#include "platform/uikit/rendering/internal/pixels.h"
#include "platform/uikit/rendering/internal/text_layout.h"

namespace rendering {

namespace {

// Glyphs larger than this many device pixels are not drawn: cairo fails for good on fonts
// scaled beyond what its rasteriser takes.
constexpr double kMaxGlyphPixels = 1 << 15;

// Multiplies the pixels of a group (an image surface) by color, painted with cr's transform.
void multiplyGroup(cairo_t* cr, cairo_surface_t* group, const Color& color, CGPoint superOrigin) {
  SurfaceHandle factors = makeAreaSurface(areaOf(group));
  if (!factors) return;
  ContextHandle factorContext(cairo_create(factors.get()));
  cairo_matrix_t transform;
  cairo_get_matrix(cr, &transform);
  cairo_set_matrix(factorContext.get(), &transform);
  setColorSource(factorContext.get(), color, superOrigin);
  cairo_paint(factorContext.get());
  factorContext.reset();
  multiplyPixels(group, factors.get());
}

}  // namespace

void paintLabelText(cairo_t* cr, const UILabel& label, CGPoint superOrigin,
                    const TextStyle& style) {
  const NSString* text = label.text();
  if (!text) return;
  const CGRect bounds = label.bounds();
  if (!(deviceLength(cr, label.fontSize()) <= kMaxGlyphPixels)) return;
  auto layout =
      TextLayout::cached(text->string(), label.textFont(), bounds.width(), label.numberOfLines());
  if (layout->empty()) return;
  bool dark = label.traitCollection()->userInterfaceStyle() == UIUserInterfaceStyleDark;
  const Color& color = label.textColor()->resolvedColor(dark);
  double top = style.fromTop ? 0 : (bounds.height() - layout->height()) / 2;

  SavedState saved(cr);
  if (style.multiply) {
    // Only the bounds' pixels are multiplied, so only they are painted.
    cairo_rectangle(cr, bounds.minX(), bounds.minY(), bounds.width(), bounds.height());
    cairo_clip(cr);
    cairo_push_group(cr);
  }
  setColorSource(cr, color, superOrigin);
  layout->draw(cr, top, bounds.width(), label.textAlignment());
  if (style.multiply) {
    PatternHandle group(cairo_pop_group(cr));
    cairo_surface_t* surface = nullptr;
    if (cairo_pattern_get_surface(group.get(), &surface) != CAIRO_STATUS_SUCCESS) return;
    multiplyGroup(cr, surface, *style.multiply, superOrigin);
    cairo_set_source(cr, group.get());
    cairo_paint(cr);
  }
}

void paintImage(cairo_t* cr, const UIImage& image, const CGRect& rect) {
  const Bitmap& bitmap = image.bitmap();
  cairo_surface_t* surface = surfaceOfImage(image);
  if (!surface) return;
  SavedState saved(cr);
  cairo_translate(cr, rect.minX(), rect.minY());
  if (!scaleSafely(cr, rect.width() / bitmap.width(), rect.height() / bitmap.height())) return;
  cairo_set_source_surface(cr, surface, 0, 0);
  // Edges padded, not faded: the image fills the rectangle to its border.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_rectangle(cr, 0, 0, bitmap.width(), bitmap.height());
  cairo_fill(cr);
}

bool isDrawable(const CGRect& rect) {
  return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
         std::isfinite(rect.size.width) && std::isfinite(rect.size.height) && rect.size.width > 0 &&
         rect.size.height > 0;
}

}  // namespace rendering
