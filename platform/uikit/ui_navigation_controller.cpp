#include "platform/uikit/ui_navigation_controller.h"

#include "platform/foundation/ns_array.h"

Ref<UINavigationController> UINavigationController::withRoot(Ref<HostedViewController> root) {
  auto navigation = objc::make<UINavigationController>();
  navigation->pushViewController(std::move(root), false);
  return navigation;
}

UINavigationController::~UINavigationController() {
  for (const Ref<HostedViewController>& page : stack_)
    page->navigationController_ = nullptr;
}

HostedViewController* UINavigationController::topViewController() const {
  return stack_.empty() ? nullptr : stack_.back().get();
}

UINavigationBar* UINavigationController::navigationBar() {
  if (!bar_) bar_ = objc::make<UINavigationBar>();
  return bar_.get();
}

void UINavigationController::pushViewController(Ref<HostedViewController> controller,
                                                bool animated) {
  if (!controller || controller->navigationController_) return;
  Ref<HostedViewController> leaving(topViewController());
  controller->navigationController_ = this;
  stack_.push_back(controller);
  objc::msgSend<void>(leaving, objc::sel("viewWillDisappear:"), animated);
  controller->view();
  objc::msgSend<void>(controller, objc::sel("viewWillAppear:"), animated);
}

Ref<HostedViewController> UINavigationController::popViewControllerAnimated(bool animated) {
  if (stack_.size() < 2) return nullptr;
  Ref<HostedViewController> leaving = std::move(stack_.back());
  stack_.pop_back();
  objc::msgSend<void>(leaving, objc::sel("viewWillDisappear:"), animated);
  leaving->navigationController_ = nullptr;
  objc::msgSend<void>(topViewController(), objc::sel("viewWillAppear:"), animated);
  return leaving;
}

void defineNavigationClasses() {
  objc::defineClass<UINavigationItem, NSObject>("UINavigationItem");
  objc::defineClass<UINavigationBar, UIView>("UINavigationBar");
  objc::Class* navigation = defineHostedControllerClass<UINavigationController, UIViewController>(
      "UINavigationController", objc_getClass("UIViewController"));
  objc::addMethod(navigation, "viewControllers", [](UINavigationController* self, SEL) {
    return NSArray::from(
        NSArray::Objects(self->viewControllers().begin(), self->viewControllers().end()));
  });
}
