#include "source/menu/menu_cells.h"

#include "platform/foundation/ns_number.h"
#include "platform/foundation/value_conversion.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_stack_view.h"
#include "source/menu/menu_state.h"
#include "source/settings/settings.h"
#include "source/styling_support.h"

namespace menu_cells {
namespace {

// Marks a separator adjusted once, so that its inset and thickness never add up over passes.
const char kHasAdjustedFrameKey = 0;

bool hasAdjustedFrame(UIView* separator) {
  return boolValueOf(objc_getAssociatedObject(separator, &kHasAdjustedFrameKey).get());
}

void markAdjusted(UIView* separator) {
  objc_setAssociatedObject(separator, &kHasAdjustedFrameKey, NSNumber::numberWithBool(true).get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

// The cell's labels in the captured colour, and its content's corners rounded to the menu's
// small radius. labelColor is the home screen's colour as the cell's style shows it.
void styleContent(UICollectionViewCell* cell, bool lockScreen, const Ref<UIColor>& labelColor) {
  const Settings& s = settings();
  objc::Class* contentClass = objc_getClass("_UIContextMenuCellContentView");
  for (const auto& content : cell->subviews()) {
    if (!objc::isKindOf(content.get(), contentClass)) continue;
    if (!lockScreen && s.cornerRadius <= 5.0) content->layer()->setCornerRadius(s.cornerRadius);
    for (const auto& subview : content->subviews()) {
      auto* stack = dynamic_cast<UIStackView*>(subview.get());
      if (!stack) continue;
      for (const auto& arranged : stack->arrangedSubviews()) {
        auto* label = dynamic_cast<UILabel*>(arranged.get());
        if (!label) continue;
        if (s.LSdynamicLabelColoring && lockScreen) label->setTextColor(menuState().color2);
        if (s.dynamicLabelColoring && !lockScreen) label->setTextColor(labelColor);
      }
    }
  }
}

void roundSublayers(CALayer* layer) {
  for (const auto& sublayer : layer->sublayers()) {
    sublayer->setCornerRadius(layer->cornerRadius());
    sublayer->setMasksToBounds(true);
  }
}

// The lock screen's frame around the collection view that holds the cell.
void drawLockScreenBorder(UICollectionView* collection, UICollectionViewCell* cell) {
  collection->layer()->setBorderWidth(3.0);
  collection->setClipsToBounds(true);
  collection->layer()->setBorderColor(cgColorOf(menuState().color2.get()));
  roundSublayers(collection->layer());
  roundSublayers(cell->layer());
}

// Calls adjust for each separator-like view of each collection view among view's subviews
// that has not been adjusted yet, then marks it.
template <class Adjust>
void adjustSeparatorsOnce(UIView* view, Adjust adjust) {
  for (const auto& subview : view->subviews()) {
    if (!dynamic_cast<UICollectionView*>(subview.get())) continue;
    for (const auto& separator : subview->subviews()) {
      if (!classNameContains(separator.get(), "Reusable") || hasAdjustedFrame(separator.get())) {
        continue;
      }
      adjust(separator.get());
      markAdjusted(separator.get());
    }
  }
}

// The lock screen's separator thickness and left inset, and the right inset given.
void reshapeLockScreenSeparator(UIView* separator, double rightInset) {
  const Settings& s = settings();
  CGRect frame = separator->frame();
  if (s.LSapplySepThickness) frame.size.height = s.LSsepthickness;
  if (s.LSapplySepWidth) frame = insetHorizontally(frame, s.LSsepWidth, rightInset);
  separator->setFrame(frame);
}

// Reshaped and inset on both sides, then in the notification's colour.
void adjustLockScreenSeparator(UIView* separator) {
  const Settings& s = settings();
  reshapeLockScreenSeparator(separator, s.LSsepWidth);
  if (s.colorLSBoldSeparators || s.colorLSThinSeparators) {
    separator->setBackgroundColor(menuState().color2);
  }
}

}  // namespace

hook_boundary::HostMethod hostCellLayoutSubviews;

void cellLayoutSubviews(UICollectionViewCell* self, SEL cmd) {
  hostCellLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  if (!self->superview()) return;
  const bool lockScreen = isLockScreenVisible();
  // The label step would give the same result for every ancestor: it runs once.
  const Settings& s = settings();
  Ref<UIColor> labelColor = s.dynamicLabelColoring && !lockScreen
                                ? colorForStyle(self, menuState().color, 2.0)
                                : menuState().color;
  styleContent(self, lockScreen, labelColor);
  // Borders and separators are the lock screen's alone.
  if (!lockScreen) return;
  for (UIView* ancestor = self->superview(); ancestor; ancestor = ancestor->superview()) {
    auto* collection = dynamic_cast<UICollectionView*>(ancestor);
    if (collection && s.LSelegantBorder) drawLockScreenBorder(collection, self);
    adjustSeparatorsOnce(ancestor, adjustLockScreenSeparator);
  }
}

// Inset on the left only: the separator keeps its right end. It never colours.
void adjustFramesForSubviews(UICollectionViewCell* self, SEL) {
  if (!isLockScreenVisible()) return;
  adjustSeparatorsOnce(self, [](UIView* separator) { reshapeLockScreenSeparator(separator, 0); });
}

void updateLabelColors(UICollectionViewCell* self, SEL) {
  styleContent(self, isLockScreenVisible(), menuState().color);
}

}  // namespace menu_cells
