#include "MirraRootListController.h"

#include "platform/uikit/ui_navigation_controller.h"
#include "platform/uikit/view_extras.h"

namespace {

// The Settings app's own bar tint, which leaving the bundle's pages restores.
Ref<UIColor> settingsTint() {
  return UIColor::colorWithRed(0, 0.78, 0.78, 1.0);
}

void viewWillDisappear(MirraRootListController* self, SEL cmd, bool animated) {
  objc::msgSendSuper<void>(objc_getClass("MirraRootListController"), self, cmd, animated);
  UINavigationController* navigation = self->navigationController();
  if (navigation && navigation->viewControllers().size() == 1) {
    setTintColor(navigation->navigationBar(), settingsTint());
  }
}

}  // namespace

objc::Class* defineMirraRootListController(objc::Class* base) {
  objc::Class* root = objc::defineClass<MirraRootListController, MirraBaseController>(
      "MirraRootListController", base);
  if (!root) return nullptr;
  objc::addMethod(root, "specifiers", [](MirraRootListController* self, SEL) {
    if (!self->currentSpecifiers() || self->currentSpecifiers()->count() == 0) {
      Ref<NSArray> visible = objc::msgSend<Ref<NSArray>>(
          self, objc::sel("dynamicSpecifiersFromPlist:"), NSString::from("Root"));
      self->setCurrentSpecifiers(visible.get());
    }
    return Ref<NSArray>(self->currentSpecifiers());
  });
  objc::addMethod(root, "loadView", [](MirraRootListController* self, SEL cmd) {
    objc::msgSendSuper<void>(objc_getClass("MirraRootListController"), self, cmd);
  });
  objc::addMethod(root, "viewWillDisappear:", &viewWillDisappear);
  return root;
}
