#include "custom_cells.h"
#include "platform/uikit/view_extras.h"

void corvina_setTitle(PSTableCell* cell, SEL selector, NSString* title) {
  objc::msgSendSuper<void>(objc_getClass("CorvinaTintCell"), cell, selector, title);
  Ref<UIColor> tint = UIColor::colorWithRed(0.7, 0.6, 0.8, 1.0);
  cell->titleLabel()->setTextColor(tint);
  extrasOf(cell->titleLabel()).highlightedTextColor = tint;
}

extern "C" void registerCorvinaTintCellClass() {
  objc::Class* cell = objc_getClass("PSTableCell");
  objc::Class* tintCell = objc_allocateClassPair(cell, "CorvinaTintCell", 0);
  if (!tintCell) return;
  SEL setTitle = objc::sel("setTitle:");
  class_addMethod(tintCell, setTitle, objc::Imp::of(&corvina_setTitle),
                  method_getTypeEncoding(class_getInstanceMethod(cell, setTitle)));
  objc_registerClassPair(tintCell);
}
