#include "source/notification_styling.h"

namespace notification_styling {
namespace {
const char kTavrelViewKey = 0;
}  // namespace

objc::Imp hostViewDidAppear;
objc::Imp hostContainerViewForExpandedContent;
objc::Imp hostPlatterLayoutSubviews;
objc::Imp hostViewWillLayoutSubviews;

Ref<UIView> tavrelView(UIViewController* self, SEL) {
  Ref<NSObject> view = objc_getAssociatedObject(self, &kTavrelViewKey);
  return Ref<UIView>(dynamic_cast<UIView*>(view.get()));
}

void setTavrelView(UIViewController* self, SEL, UIView* view) {
  objc_setAssociatedObject(self, &kTavrelViewKey, view, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

void viewDidAppear(NCNotificationShortLookViewController* self, SEL cmd, bool animated) {
  hostViewDidAppear.call<void>(self, cmd, animated);
}

Ref<UIView> containerViewForExpandedContent(NCNotificationShortLookViewController* self, SEL cmd) {
  return hostContainerViewForExpandedContent.call<Ref<UIView>>(self, cmd);
}

void platterLayoutSubviews(UIView* self, SEL cmd) {
  hostPlatterLayoutSubviews.call<void>(self, cmd);
}

void viewWillLayoutSubviews(UIViewController* self, SEL cmd) {
  hostViewWillLayoutSubviews.call<void>(self, cmd);
}

void recursivelyChangeBackgroundForLabelsInView(UIViewController*, SEL, UIView*) {}

}  // namespace notification_styling
