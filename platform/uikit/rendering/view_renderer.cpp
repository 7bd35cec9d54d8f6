#include "platform/uikit/rendering/view_renderer.h"

#include "platform/uikit/rendering/internal/bitmap_canvas.h"
#include "platform/uikit/rendering/internal/current_image_context.h"
#include "platform/uikit/rendering/internal/layer_painter.h"
#include "platform/uikit/rendering/internal/paint.h"
#include "platform/uikit/rendering/internal/view_content.h"

Bitmap renderView(const UIView* view, double scale) {
  if (!view) return {};
  rendering::BitmapCanvas canvas(view->bounds().size, scale);
  if (!canvas.valid()) return {};
  {
    rendering::ContextHandle cr(cairo_create(canvas.surface()));
    cairo_scale(cr.get(), scale, scale);
    rendering::drawView(cr.get(), *view);
  }
  return canvas.take();
}

bool drawViewHierarchy(const UIView* view, const CGRect& rect) {
  cairo_t* cr = rendering::currentImageContext();
  const CGRect bounds = view ? view->bounds() : CGRectZero;
  if (!cr || !rendering::isDrawable(bounds) || !rendering::isDrawable(rect)) return false;
  rendering::SavedState saved(cr);
  cairo_translate(cr, rect.origin.x, rect.origin.y);
  if (!rendering::scaleSafely(cr, rect.size.width / bounds.size.width,
                              rect.size.height / bounds.size.height)) {
    return false;
  }
  rendering::drawView(cr, *view);
  return true;
}
