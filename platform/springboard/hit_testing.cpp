#include "platform/springboard/hit_testing.h"

#include <ranges>

UIView* hitTest(UIView* view, CGPoint point) {
  if (!view || view->isHidden() || view->alpha() < 0.01) return nullptr;
  const CGRect bounds = view->bounds();
  if (point.x < bounds.minX() || point.x >= bounds.maxX() || point.y < bounds.minY() ||
      point.y >= bounds.maxY()) {
    return nullptr;
  }
  for (const Ref<UIView>& subview : std::views::reverse(view->subviews())) {
    const CGRect frame = subview->frame();
    const CGPoint inside = {point.x - frame.minX() + subview->bounds().minX(),
                            point.y - frame.minY() + subview->bounds().minY()};
    if (UIView* hit = hitTest(subview.get(), inside)) return hit;
  }
  return view;
}
