#include "source/menu_list_styling.h"

namespace menu_list_styling {

objc::Imp hostContextMenuLayoutSubviews;
objc::Imp hostListLayoutSubviews;

void contextMenuLayoutSubviews(UIView* self, SEL cmd) {
  hostContextMenuLayoutSubviews.call<void>(self, cmd);
}

void listLayoutSubviews(UIView* self, SEL cmd) {
  hostListLayoutSubviews.call<void>(self, cmd);
}

Ref<UIColor> colorByAdjustingBrightness(UIView*, SEL, UIColor*, double) {
  return nullptr;
}

}  // namespace menu_list_styling
