#include "platform/springboard/sb_icon_view.h"

#include "platform/springboard/internal/class_definitions.h"

Ref<SBSApplicationShortcutItem> SBSApplicationShortcutItem::itemWithTitle(std::string title) {
  auto item = objc::make<SBSApplicationShortcutItem>();
  item->localizedTitle_ = NSString::from(std::move(title));
  return item;
}

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

void defineIconClasses(const SystemHas& systemHas) {
  if (systemHas("SBSApplicationShortcutItem")) {
    objc::Class* item =
        objc::defineClass<SBSApplicationShortcutItem, NSObject>("SBSApplicationShortcutItem");
    objc::addMethod(item, "localizedTitle", [](SBSApplicationShortcutItem* self, SEL) {
      return Ref<NSString>(self->localizedTitle());
    });
  }
  if (systemHas("SBIconView")) {
    objc::addMethod(objc::defineClass<SBIconView, UIView>("SBIconView"), "applicationShortcutItems",
                    [](SBIconView* self, SEL) {
                      return NSArray::from(NSArray::Objects(self->shortcutItems().begin(),
                                                            self->shortcutItems().end()));
                    });
  }
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
