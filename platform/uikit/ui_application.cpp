#include "platform/uikit/ui_application.h"

#include <algorithm>

#include "platform/runtime/no_destructor.h"

void UIWindow::setRootViewController(Ref<HostedViewController> controller) {
  if (root_ && root_->isViewLoaded()) root_->view()->removeFromSuperview();
  root_ = std::move(controller);
  if (root_) addSubview(Ref<UIView>(root_->view()));
}

UIApplication* UIApplication::sharedApplication() {
  static objc::NoDestructor<Ref<UIApplication>> application(objc::make<UIApplication>());
  return application->get();
}

void UIApplication::makeKeyAndVisible(Ref<UIWindow> window) {
  if (!window) return;
  for (const Ref<UIWindow>& each : windows_)
    each->key_ = false;
  window->key_ = true;
  if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) {
    windows_.push_back(std::move(window));
  }
}

void UIApplication::removeWindow(const UIWindow* window) {
  std::erase_if(windows_, [&](const Ref<UIWindow>& each) { return each.get() == window; });
}

UIDevice* UIDevice::currentDevice() {
  static objc::NoDestructor<Ref<UIDevice>> device(objc::make<UIDevice>());
  return device->get();
}

void defineApplicationClasses() {
  objc::defineClass<UIWindow, UIView>("UIWindow");
  objc::defineClass<UIApplication, NSObject>("UIApplication");
  objc::Class* device = objc::defineClass<UIDevice, NSObject>("UIDevice");
  objc::addMethod(device, "userInterfaceIdiom", [](UIDevice* self, SEL) {
    return static_cast<long>(self->userInterfaceIdiom());
  });
}
