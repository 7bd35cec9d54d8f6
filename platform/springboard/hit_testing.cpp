#include "platform/springboard/hit_testing.h"

UIView* hitTest(UIView* view, CGPoint point) {
  if (!view || view->isHidden() || view->alpha() < 0.01) return nullptr;
  const CGRect bounds = view->bounds();
  if (point.x < bounds.minX() || point.x >= bounds.maxX() || point.y < bounds.minY() ||
      point.y >= bounds.maxY()) {
    return nullptr;
  }
  // The topmost subview first. (A reverse view of the vector would be shorter, but clang 14, which
  // builds the fuzzers, cannot compile it against GCC 12's library.)
  const std::vector<Ref<UIView>>& subviews = view->subviews();
  for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
    const Ref<UIView>& subview = *it;
    const CGRect frame = subview->frame();
    const CGPoint inside = {point.x - frame.minX() + subview->bounds().minX(),
                            point.y - frame.minY() + subview->bounds().minY()};
    if (UIView* hit = hitTest(subview.get(), inside)) return hit;
  }
  return view;
}
