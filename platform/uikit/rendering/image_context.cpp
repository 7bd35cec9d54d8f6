#include "platform/uikit/rendering/image_context.h"

#include <vector>

#include "platform/uikit/rendering/internal/bitmap_canvas.h"
#include "platform/uikit/rendering/internal/current_image_context.h"
#include "platform/uikit/ui_screen.h"

namespace {

struct ImageContext {
  rendering::BitmapCanvas canvas;  // invalid for a context that cannot hold pixels
  rendering::ContextHandle cr;     // null then
  double scale = 1;
};

std::vector<ImageContext>& contextStack() {
  thread_local std::vector<ImageContext> stack;
  return stack;
}

ImageContext makeContext(CGSize size, bool opaque, double scale) {
  ImageContext context{rendering::BitmapCanvas(size, scale), nullptr, scale};
  if (!context.canvas.valid()) return context;
  context.cr.reset(cairo_create(context.canvas.surface()));
  if (opaque) {
    cairo_set_source_rgb(context.cr.get(), 0, 0, 0);
    cairo_paint(context.cr.get());
  }
  cairo_scale(context.cr.get(), scale, scale);
  return context;
}

}  // namespace

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale) {
  if (scale == 0) scale = UIScreen::mainScreen()->scale();
  contextStack().push_back(makeContext(size, opaque, scale));
}

Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
  const std::vector<ImageContext>& stack = contextStack();
  if (stack.empty() || !stack.back().canvas.valid()) return nullptr;
  return UIImage::imageWithBitmap(stack.back().canvas.snapshot(), stack.back().scale);
}

void UIGraphicsEndImageContext() {
  std::vector<ImageContext>& stack = contextStack();
  if (!stack.empty()) stack.pop_back();
}

namespace rendering {

cairo_t* currentImageContext() {
  const std::vector<ImageContext>& stack = contextStack();
  return stack.empty() ? nullptr : stack.back().cr.get();
}

}  // namespace rendering
