#include "platform/foundation/ns_string.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_screen.h"
#include "platform/uikit/ui_stack_view.h"
#include "platform/uikit/ui_text_view.h"
#include "platform/uikit/ui_view_controller.h"
#include "platform/uikit/ui_visual_effect_view.h"

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
  // Every snapshot is of the tree as it stands: there are no pending screen updates to wait for.
  objc::addMethod(
      view, "drawViewHierarchyInRect:afterScreenUpdates:",
      [](UIView* self, SEL, const CGRect& rect, bool) { return drawViewHierarchy(self, rect); });
}

void defineViewControllerMethods(objc::Class* controller) {
  objc::addMethod(controller, "loadView",
                  [](UIViewController* self, SEL) { self->setView(objc::make<UIView>()); });
  objc::addMethod(controller, "view",
                  [](UIViewController* self, SEL) { return Ref<UIView>(self->view()); });
  objc::addMethod(controller, "viewDidAppear:", [](UIViewController*, SEL, bool) {});
  objc::addMethod(controller, "viewWillLayoutSubviews", [](UIViewController*, SEL) {});
}

void defineCollectionClasses() {
  objc::Class* reusable =
      objc::defineClass<UICollectionReusableView, UIView>("UICollectionReusableView");
  objc::addMethod(reusable, "reuseIdentifier", [](UICollectionReusableView* self, SEL) {
    return Ref<NSString>(self->reuseIdentifier());
  });
  objc::addMethod(reusable, "layoutSubviews", [](UICollectionReusableView*, SEL) {});
  objc::defineClass<UICollectionViewCell, UICollectionReusableView>("UICollectionViewCell");
  objc::defineClass<UIScrollView, UIView>("UIScrollView");
  objc::Class* collection = objc::defineClass<UICollectionView, UIScrollView>("UICollectionView");
  objc::addMethod(collection, "didMoveToWindow", [](UICollectionView*, SEL) {});
  objc::addMethod(collection, "layoutSubviews",
                  [](UICollectionView* self, SEL) { self->layOutItemsIfInvalid(); });
  defineStackViewClass();
  defineTextViewClasses();
}

void defineLabelMethods(objc::Class* label) {
  objc::addMethod(label, "description",
                  [](UILabel* self, SEL) { return NSString::from(self->descriptionText()); });
  objc::addMethod(label, "text", [](UILabel* self, SEL) { return Ref<NSString>(self->text()); });
  objc::addMethod(label,
                  "setText:", [](UILabel* self, SEL, NSString* text) { self->setText(text); });
  objc::addMethod(label, "textColor", [](UILabel* self, SEL) { return self->textColor(); });
  objc::addMethod(label, "setTextColor:", [](UILabel* self, SEL, UIColor* color) {
    self->setTextColor(color);
  });
  objc::addMethod(label, "sizeThatFits:", [](UILabel* self, SEL, CGSize size) {
    return self->sizeThatFits(size);
  });
  objc::addMethod(label, "intrinsicContentSize", [](UILabel* self, SEL) {
    return self->sizeThatFits({1e6, 1e6});
  });
}

// Defined when the library is loaded, like every public class of the platform. Private
// classes of a particular system version are the host's to define.
bool defineUIKitClasses() {
  objc::defineClass<CALayer, NSObject>("CALayer");
  objc::defineClass<UITraitCollection, NSObject>("UITraitCollection");
  defineViewMethods(objc::defineClass<UIView, NSObject>("UIView"));
  defineViewControllerMethods(objc::defineClass<UIViewController, NSObject>("UIViewController"));
  defineCollectionClasses();
  defineLabelMethods(objc::defineClass<UILabel, UIView>("UILabel"));
  objc::Class* imageView = objc::defineClass<UIImageView, UIView>("UIImageView");
  objc::addMethod(imageView, "image",
                  [](UIImageView* self, SEL) { return Ref<UIImage>(self->image()); });
  objc::addMethod(imageView, "intrinsicContentSize", [](UIImageView* self, SEL) {
    return self->image() ? self->image()->size()
                         : CGSize{UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
  });
  objc::Class* screen = objc::defineClass<UIScreen, NSObject>("UIScreen");
  objc::addClassMethod(screen, "mainScreen",
                       [](objc::Class*, SEL) { return Ref<UIScreen>(UIScreen::mainScreen()); });
  objc::addMethod(screen, "scale", [](UIScreen* self, SEL) { return self->scale(); });
  objc::defineClass<UIVisualEffectView, UIView>("UIVisualEffectView");
  return true;
}

[[maybe_unused]] const bool defined = defineUIKitClasses();

}  // namespace
