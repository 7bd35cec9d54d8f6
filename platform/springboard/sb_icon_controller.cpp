#include "platform/springboard/sb_icon_controller.h"

#include "platform/springboard/internal/class_definitions.h"
#include "platform/springboard/sb_icon_view.h"

SBIconController* SBIconController::sharedInstance() {
  static const Ref<SBIconController> shared = objc::make<SBIconController>();
  return shared.get();
}

UIView* SBIconController::contextMenuContainer() {
  if (!contextMenuContainer_) contextMenuContainer_ = objc::make<UIView>();
  return contextMenuContainer_.get();
}

SBLockScreenManager* SBLockScreenManager::sharedInstance() {
  static const Ref<SBLockScreenManager> shared = objc::make<SBLockScreenManager>();
  return shared.get();
}

namespace springboard_classes {

void defineControllerClasses(const SystemHas& systemHas) {
  if (systemHas("SBIconController")) {
    objc::Class* controller = objc::defineClass<SBIconController, NSObject>("SBIconController");
    objc::addClassMethod(controller, "sharedInstance", [](objc::Class*, SEL) {
      return Ref<SBIconController>(SBIconController::sharedInstance());
    });
    objc::addMethod(controller, "containerViewForPresentingContextMenuForIconView:",
                    [](SBIconController* self, SEL, SBIconView*) {
                      return Ref<UIView>(self->contextMenuContainer());
                    });
  }
  if (systemHas("SBLockScreenManager")) {
    objc::Class* manager = objc::defineClass<SBLockScreenManager, NSObject>("SBLockScreenManager");
    objc::addClassMethod(manager, "sharedInstance", [](objc::Class*, SEL) {
      return Ref<SBLockScreenManager>(SBLockScreenManager::sharedInstance());
    });
    objc::addMethod(manager, "isLockScreenVisible",
                    [](SBLockScreenManager* self, SEL) { return self->isLockScreenVisible(); });
  }
}

}  // namespace springboard_classes
