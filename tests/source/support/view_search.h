#pragma once

#include <vector>

#include "platform/uikit/ui_view.h"

namespace view_search {

// Every view under root (root included) of the named runtime class or a subclass, depth first
// in subview order.
inline std::vector<UIView*> viewsOf(UIView* root, const char* className) {
  std::vector<UIView*> found;
  objc::Class* cls = objc_getClass(className);
  auto collect = [&](auto& self, UIView* view) -> void {
    if (objc::isKindOf(view, cls)) found.push_back(view);
    for (const auto& subview : view->subviews())
      self(self, subview.get());
  };
  collect(collect, root);
  return found;
}

}  // namespace view_search
