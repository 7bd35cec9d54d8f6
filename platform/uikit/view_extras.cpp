#include "platform/uikit/view_extras.h"

#include "platform/uikit/layout_constraint.h"

namespace {

const char kExtrasKey = 0;

void notifyTintChange(UIView* view, bool isOrigin) {
  const ViewExtras* extras = existingExtrasOf(view);
  if (!isOrigin && extras && extras->tintColor) return;  // keeps its own tint
  objc::msgSend<void>(view, objc::sel("tintColorDidChange"));
  for (const Ref<UIView>& subview : view->subviews())
    notifyTintChange(subview.get(), false);
}

}  // namespace

ViewExtras& extrasOf(UIView* view) {
  if (auto* existing = const_cast<ViewExtras*>(existingExtrasOf(view))) return *existing;
  Ref<ViewExtras> extras = objc::allocateObject<ViewExtras>();
  objc_setAssociatedObject(view, &kExtrasKey, extras.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  return *extras;
}

const ViewExtras* existingExtrasOf(const UIView* view) {
  Ref<NSObject> extras = objc_getAssociatedObject(const_cast<UIView*>(view), &kExtrasKey);
  return static_cast<const ViewExtras*>(extras.get());
}

Ref<UIColor> effectiveTintColor(const UIView* view) {
  for (const UIView* at = view; at; at = at->superview()) {
    const ViewExtras* extras = existingExtrasOf(at);
    if (extras && extras->tintColor) return extras->tintColor;
  }
  return UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
}

void setTintColor(UIView* view, Ref<UIColor> color) {
  if (!view) return;
  extrasOf(view).tintColor = std::move(color);
  notifyTintChange(view, true);
}

Ref<UIFont> fontOf(UILabel* label) {
  const ViewExtras* extras = existingExtrasOf(label);
  if (extras && extras->font) return extras->font;
  const TextFont& font = label->textFont();
  return font.monospacedDigits ? UIFont::monospacedDigitSystemFontOfSize(font.size, font.weight)
                               : UIFont::systemFontOfSize(font.size, font.weight);
}

void setFont(UILabel* label, Ref<UIFont> font) {
  if (!label || !font) return;
  label->setTextFont({font->pointSize(), font->weight(), font->monospacedDigits()});
  extrasOf(label).font = std::move(font);
}

void setAttributedText(UILabel* label, Ref<NSAttributedString> text) {
  if (!label) return;
  label->setText(text ? NSString::from(text->string()) : nullptr);
  extrasOf(label).attributedText = std::move(text);
}

void setAutoresizingMask(UIView* view, unsigned long mask) {
  ViewExtras& extras = extrasOf(view);
  extras.autoresizingMask = mask;
  if (view->superview()) extras.autoresizingReference = view->superview()->bounds().size;
}

void addTapRecognizer(UIView* view, NSObject* target, SEL action) {
  ViewExtras& extras = extrasOf(view);
  extras.taps.push_back({target, action});
  extras.userInteractionEnabled = true;
}

void defineViewExtrasMethods() {
  objc::Class* view = objc_getClass("UIView");
  objc::addMethod(view, "tintColor", [](UIView* self, SEL) { return effectiveTintColor(self); });
  objc::addMethod(
      view, "setTintColor:", [](UIView* self, SEL, UIColor* color) { setTintColor(self, color); });
  objc::addMethod(view, "tintColorDidChange", [](UIView*, SEL) {});
}
