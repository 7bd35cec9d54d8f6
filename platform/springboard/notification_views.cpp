#include "platform/springboard/notification_views.h"

#include "platform/springboard/internal/class_definitions.h"

UIView* NCNotificationShortLookViewController::expandedContentContainer() {
  if (!expandedContentContainer_) expandedContentContainer_ = objc::make<UIView>();
  return expandedContentContainer_.get();
}

namespace springboard_classes {

void defineNotificationClasses(const SystemHas& systemHas) {
  if (systemHas("NCNotificationShortLookViewController")) {
    objc::Class* shortLook =
        objc::defineClass<NCNotificationShortLookViewController, UIViewController>(
            "NCNotificationShortLookViewController");
    static objc::Class* shortLookClass = shortLook;
    objc::addMethod(shortLook, "viewDidAppear:",
                    [](NCNotificationShortLookViewController* self, SEL cmd, bool animated) {
                      objc::msgSendSuper<void>(shortLookClass, self, cmd, animated);
                    });
    objc::addMethod(shortLook, "containerViewForExpandedContent",
                    [](NCNotificationShortLookViewController* self, SEL) {
                      return Ref<UIView>(self->expandedContentContainer());
                    });
  }
  objc::Class* platterView = nullptr;
  if (systemHas("NCExpandedPlatterView")) {
    platterView = objc_allocateClassPair(objc_getClass("UIView"), "NCExpandedPlatterView", 0);
    objc_registerClassPair(platterView);
    objc::addMethod(platterView, "layoutSubviews", [](UIView* self, SEL) {
      for (const auto& subview : self->subviews())
        subview->setFrame(self->bounds());
    });
  }
  if (systemHas("NCExpandedPlatterViewController")) {
    objc::Class* controller = objc_allocateClassPair(objc_getClass("UIViewController"),
                                                     "NCExpandedPlatterViewController", 0);
    objc_registerClassPair(controller);
    static objc::Class* viewClass = platterView;
    objc::addMethod(controller, "loadView", [](UIViewController* self, SEL) {
      self->setView(viewClass ? objc::createInstance<UIView>(viewClass) : objc::make<UIView>());
    });
    // The platter fills the controller's view's superview.
    objc::addMethod(controller, "viewWillLayoutSubviews", [](UIViewController* self, SEL) {
      UIView* view = self->view();
      if (UIView* parent = view->superview()) view->setFrame(parent->bounds());
    });
  }
}

}  // namespace springboard_classes
