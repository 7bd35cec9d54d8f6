#include "platform/foundation/ns_string.h"
#include "platform/uikit/ui_view.h"

namespace {

void defineViewMethods(objc::Class* view) {
  objc::addMethod(view, "description",
                  [](UIView* self, SEL) { return NSString::from(self->descriptionText()); });
  objc::addMethod(view, "layoutSubviews", [](UIView*, SEL) {});
  objc::addMethod(view, "didMoveToWindow", [](UIView*, SEL) {});
  objc::addMethod(view, "frame", [](UIView* self, SEL) { return self->frame(); });
  objc::addMethod(
      view, "setFrame:", [](UIView* self, SEL, const CGRect& frame) { self->setFrame(frame); });
  objc::addMethod(view, "isHidden", [](UIView* self, SEL) { return self->isHidden(); });
  objc::addMethod(view,
                  "setHidden:", [](UIView* self, SEL, bool hidden) { self->setHidden(hidden); });
  objc::addMethod(view, "alpha", [](UIView* self, SEL) { return self->alpha(); });
  objc::addMethod(view,
                  "setAlpha:", [](UIView* self, SEL, double alpha) { self->setAlpha(alpha); });
  objc::addMethod(view, "clipsToBounds", [](UIView* self, SEL) { return self->clipsToBounds(); });
  objc::addMethod(view, "setClipsToBounds:", [](UIView* self, SEL, bool clips) {
    self->setClipsToBounds(clips);
  });
  objc::addMethod(view, "backgroundColor",
                  [](UIView* self, SEL) { return self->backgroundColor(); });
  objc::addMethod(view, "setBackgroundColor:", [](UIView* self, SEL, UIColor* color) {
    self->setBackgroundColor(color);
  });
  objc::addMethod(view, "superview",
                  [](UIView* self, SEL) { return Ref<UIView>(self->superview()); });
  objc::addMethod(view, "subviews", [](UIView* self, SEL) { return self->subviewsArray(); });
  objc::addMethod(view, "layer", [](UIView* self, SEL) { return Ref<CALayer>(self->layer()); });
  objc::addMethod(view, "traitCollection",
                  [](UIView* self, SEL) { return self->traitCollection(); });
}

// Defined when the library is loaded, like every public class of the platform. Private
// classes of a particular system version are the host's to define.
bool defineUIKitClasses() {
  objc::defineClass<CALayer, NSObject>("CALayer");
  objc::defineClass<UITraitCollection, NSObject>("UITraitCollection");
  defineViewMethods(objc::defineClass<UIView, NSObject>("UIView"));
  return true;
}

[[maybe_unused]] const bool defined = defineUIKitClasses();

}  // namespace
