#include "platform/uikit/rendering/internal/layer_painter.h"

#include <cmath>

#include "platform/uikit/rendering/internal/backdrop.h"
#include "platform/uikit/rendering/internal/blur.h"
#include "platform/uikit/rendering/internal/image_surfaces.h"
#include "platform/uikit/rendering/internal/paint.h"
#include "platform/uikit/rendering/internal/view_content.h"
#include "platform/uikit/ui_text_view.h"

namespace rendering {

namespace {

// A shadow reaches about three sigmas past its shape.
constexpr double kShadowReach = 3;

bool isFinite(CGPoint point) {
  return std::isfinite(point.x) && std::isfinite(point.y);
}

bool isFinite(CGSize size) {
  return std::isfinite(size.width) && std::isfinite(size.height);
}

// Frames that cairo cannot translate by would stop the whole context for good.
bool isPaintable(const CALayer& layer) {
  return !layer.isHidden() && unitComponent(layer.opacity()) > 0 &&
         isFinite(layer.frame().origin) && isFinite(layer.frame().size);
}

bool hasShadow(const CALayer& layer) {
  const std::optional<Color>& color = layer.shadowColor();
  return layer.shadowOpacity() > 0 && color && isVisible(*color) &&
         std::isfinite(layer.shadowRadius()) && layer.shadowRadius() >= 0 &&
         isFinite(layer.shadowOffset());
}

CGRect standardized(const CGRect& rect) {
  return CGRectMake(rect.minX(), rect.minY(), rect.width(), rect.height());
}

CGRect unionOf(const CGRect& a, const CGRect& b) {
  double left = std::min(a.minX(), b.minX()), top = std::min(a.minY(), b.minY());
  return CGRectMake(left, top, std::max(a.maxX(), b.maxX()) - left,
                    std::max(a.maxY(), b.maxY()) - top);
}

// The part of a layer's space that it and its sublayers can paint, shadows included: a group
// for the layer need not be larger.
CGRect paintedExtent(const CALayer& layer) {
  CGRect extent = standardized(layer.bounds());
  if (!layer.masksToBounds()) {
    for (const Ref<CALayer>& sublayer : layer.sublayers()) {
      if (!isPaintable(*sublayer)) continue;
      CGRect inner = paintedExtent(*sublayer);
      inner.origin.x += sublayer->frame().origin.x;
      inner.origin.y += sublayer->frame().origin.y;
      extent = unionOf(extent, inner);
    }
  }
  if (hasShadow(layer)) {
    double reach = kShadowReach * layer.shadowRadius();
    CGRect shadow = CGRectInset(extent, -reach, -reach);
    shadow.origin.x += layer.shadowOffset().width;
    shadow.origin.y += layer.shadowOffset().height;
    extent = unionOf(extent, shadow);
  }
  return extent;
}

// A backdrop's background colour tints its glass rather than covering it: the blur stays
// visible through the colour, as on the device.
constexpr double kBackdropTintStrength = 0.35;

// A view's dynamic background shows in the style of the view's traits, as UIKit resolves it
// for the layer whenever the traits change; a colour set on the layer itself shows as set.
std::optional<Color> shownBackground(const CALayer& layer) {
  const UIView* view = layer.delegate();
  const UIColor* color = view ? view->backgroundColor().get() : nullptr;
  if (!color || layer.backgroundColor() != color->CGColor()) return layer.backgroundColor();
  return color->resolvedColor(view->traitCollection()->userInterfaceStyle() ==
                              UIUserInterfaceStyleDark);
}

void paintBackground(cairo_t* cr, const CALayer& layer, CGPoint superOrigin, double opacity = 1) {
  const std::optional<Color> color = shownBackground(layer);
  if (!color || !isVisible(*color)) return;
  cairo_new_path(cr);
  addRoundedRect(cr, layer.bounds(), layer.cornerRadius());
  setColorSource(cr, *color, superOrigin, opacity);
  cairo_fill(cr);
}

// The border lies inside the bounds and follows the corner radius.
void paintBorder(cairo_t* cr, const CALayer& layer, CGPoint superOrigin) {
  const std::optional<Color>& color = layer.borderColor();
  double width = layer.borderWidth();
  if (!(width > 0) || !color || !isVisible(*color)) return;
  const CGRect bounds = layer.bounds();
  width = std::min(width, std::min(bounds.width(), bounds.height()) / 2);
  double radius = std::isfinite(layer.cornerRadius()) ? layer.cornerRadius() : 0;
  SavedState saved(cr);
  cairo_new_path(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  addRoundedRect(cr, bounds, radius);
  addRoundedRect(cr, CGRectInset(bounds, width, width), std::max(0.0, radius - width));
  setColorSource(cr, *color, superOrigin);
  cairo_fill(cr);
}

}  // namespace

void LayerPainter::paintLayer(const CALayer& layer, CGPoint position) {
  if (!isPaintable(layer)) return;
  SavedState saved(cr_);
  cairo_translate(cr_, position.x, position.y);
  // Gradient colours are laid out in the superlayer's space.
  const CGPoint superOrigin{-layer.frame().origin.x, -layer.frame().origin.y};
  double opacity = unitComponent(layer.opacity());
  if (opacity < 1 || hasShadow(layer)) {
    paintGroup(layer, opacity, superOrigin);
  } else {
    paintContents(layer, superOrigin);
  }
}

// The layer and its sublayers painted apart, then composited at once: what overlaps within
// the group does not show through itself, and the shadow follows the whole group's shape.
void LayerPainter::paintGroup(const CALayer& layer, double opacity, CGPoint superOrigin) {
  CGRect extent = paintedExtent(layer);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, extent.minX(), extent.minY(), extent.width(), extent.height());
  cairo_clip(cr_);
  stack_.pushGroup(opacity);
  paintContents(layer, superOrigin);
  PatternHandle group = stack_.popGroup();
  if (hasShadow(layer)) paintShadow(layer, group.get(), opacity, superOrigin);
  cairo_set_source(cr_, group.get());
  cairo_paint_with_alpha(cr_, opacity);
}

void LayerPainter::paintShadow(const CALayer& layer, cairo_pattern_t* group, double opacity,
                               CGPoint superOrigin) {
  cairo_surface_t* surface = nullptr;
  if (cairo_pattern_get_surface(group, &surface) != CAIRO_STATUS_SUCCESS) return;
  PixelRect area = areaOf(surface);
  BlurredImage shape = blurArea(surface, area, area, deviceLength(cr_, layer.shadowRadius()), true);
  if (!shape.surface) return;
  double dx = layer.shadowOffset().width, dy = layer.shadowOffset().height;
  cairo_user_to_device_distance(cr_, &dx, &dy);
  SavedState saved(cr_);
  setColorSource(cr_, *layer.shadowColor(), superOrigin, layer.shadowOpacity() * opacity);
  cairo_identity_matrix(cr_);
  cairo_mask(cr_, blurredPattern(shape, dx, dy).get());
}

void LayerPainter::paintContents(const CALayer& layer, CGPoint superOrigin) {
  const auto* backdrop = dynamic_cast<const VisualEffectBackdropView*>(layer.delegate());
  if (backdrop) paintBackdrop(stack_, *backdrop, layer.cornerRadius());
  const auto* material = dynamic_cast<const BackdropLayerView*>(layer.delegate());
  if (material && material->backdropBlur() > 0) {
    paintBackdropLayer(stack_, layer.bounds(), material->backdropBlur(), layer.cornerRadius());
  }
  paintBackground(cr_, layer, superOrigin, backdrop ? kBackdropTintStrength : 1);
  {
    SavedState clip(cr_);
    if (layer.masksToBounds()) {
      cairo_new_path(cr_);
      addRoundedRect(cr_, layer.bounds(), layer.cornerRadius());
      cairo_clip(cr_);
    }
    paintViewContent(layer, superOrigin);
    for (const Ref<CALayer>& sublayer : layer.sublayers())
      paintLayer(*sublayer, sublayer->frame().origin);
  }
  paintBorder(cr_, layer, superOrigin);
}

void LayerPainter::paintViewContent(const CALayer& layer, CGPoint superOrigin) {
  UIView* view = layer.delegate();
  if (const auto* label = dynamic_cast<const UILabel*>(view)) {
    // A text view's canvas draws from the top; the layer's multiply colour tints the text.
    bool canvas = dynamic_cast<const TextCanvasView*>(label) != nullptr;
    paintLabelText(cr_, *label, superOrigin, {canvas, layer.contentsMultiplyColor()});
  } else if (const auto* imageView = dynamic_cast<const UIImageView*>(view)) {
    if (imageView->image() && isDrawable(layer.bounds())) {
      paintImage(cr_, *imageView->image(), layer.bounds());
    }
  }
}

void drawView(cairo_t* cr, const UIView& view) {
  LayerPainter(cr).paintTree(*view.layer());
  trimImageSurfaces();
}

}  // namespace rendering
