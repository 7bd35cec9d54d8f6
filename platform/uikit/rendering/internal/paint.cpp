#include "platform/uikit/rendering/internal/paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rendering {

namespace {

struct Line {
  double x0, y0, x1, y1;
};

// Where the first and the second stop lie: the second toward the named side of the frame.
Line gradientLine(const GradientPattern& gradient, CGPoint superOrigin) {
  const CGRect& frame = gradient.frame;
  double left = frame.minX() + superOrigin.x, right = frame.maxX() + superOrigin.x;
  double top = frame.minY() + superOrigin.y, bottom = frame.maxY() + superOrigin.y;
  double midX = (left + right) / 2, midY = (top + bottom) / 2;
  GradientDirection direction = gradient.direction;
  if (gradient.flipY && direction == GradientDirection::up) {
    direction = GradientDirection::down;
  } else if (gradient.flipY && direction == GradientDirection::down) {
    direction = GradientDirection::up;
  }
  switch (direction) {
    case GradientDirection::left:
      return {right, midY, left, midY};
    case GradientDirection::up:
      return {midX, bottom, midX, top};
    case GradientDirection::down:
      return {midX, top, midX, bottom};
    case GradientDirection::right:
      break;
  }
  return {left, midY, right, midY};
}

void addStop(cairo_pattern_t* pattern, double offset, const RGBA& color, double opacity) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, unitComponent(color.red),
                                    unitComponent(color.green), unitComponent(color.blue),
                                    unitComponent(color.alpha) * opacity);
}

}  // namespace

double unitComponent(double value) {
  return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
}

bool isVisible(const Color& color) {
  if (const GradientPattern* gradient = color.pattern()) {
    return unitComponent(gradient->from.alpha) > 0 || unitComponent(gradient->to.alpha) > 0;
  }
  return unitComponent(color.alpha()) > 0;
}

void addRoundedRect(cairo_t* cr, const CGRect& rect, double radius) {
  double x = rect.minX(), y = rect.minY(), width = rect.width(), height = rect.height();
  radius = std::isfinite(radius) ? std::clamp(radius, 0.0, std::min(width, height) / 2) : 0;
  if (radius <= 0) {
    cairo_rectangle(cr, x, y, width, height);
    return;
  }
  const double quarter = std::numbers::pi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + width - radius, y + radius, radius, -quarter, 0);
  cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, quarter);
  cairo_arc(cr, x + radius, y + height - radius, radius, quarter, 2 * quarter);
  cairo_arc(cr, x + radius, y + radius, radius, 2 * quarter, 3 * quarter);
  cairo_close_path(cr);
}

void setColorSource(cairo_t* cr, const Color& color, CGPoint superOrigin, double opacity) {
  opacity = unitComponent(opacity);
  const GradientPattern* gradient = color.pattern();
  if (!gradient) {
    RGBA rgba = color.rgba().value_or(RGBA{});
    cairo_set_source_rgba(cr, unitComponent(rgba.red), unitComponent(rgba.green),
                          unitComponent(rgba.blue), unitComponent(rgba.alpha) * opacity);
    return;
  }
  Line line = gradientLine(*gradient, superOrigin);
  bool finite = std::isfinite(line.x0) && std::isfinite(line.y0) && std::isfinite(line.x1) &&
                std::isfinite(line.y1);
  if (!finite || (line.x0 == line.x1 && line.y0 == line.y1)) {
    // A frame with no extent along the gradient shows its first stop.
    const RGBA& from = gradient->from;
    cairo_set_source_rgba(cr, unitComponent(from.red), unitComponent(from.green),
                          unitComponent(from.blue), unitComponent(from.alpha) * opacity);
    return;
  }
  PatternHandle pattern(cairo_pattern_create_linear(line.x0, line.y0, line.x1, line.y1));
  addStop(pattern.get(), 0, gradient->from, opacity);
  addStop(pattern.get(), 1, gradient->to, opacity);
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
  cairo_set_source(cr, pattern.get());
}

bool scaleSafely(cairo_t* cr, double sx, double sy) {
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  cairo_matrix_scale(&matrix, sx, sy);
  // What cairo_set_matrix itself requires.
  double determinant = matrix.xx * matrix.yy - matrix.xy * matrix.yx;
  if (!std::isfinite(determinant) || determinant == 0) return false;
  cairo_set_matrix(cr, &matrix);
  return true;
}

}  // namespace rendering
