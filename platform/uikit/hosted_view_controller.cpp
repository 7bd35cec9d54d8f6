#include "platform/uikit/hosted_view_controller.h"

#include <unordered_map>

#include "platform/foundation/log.h"

namespace {

// View → controller, for the views controllers own; entries live as long as the controller.
std::unordered_map<const UIView*, HostedViewController*>& owners() {
  static std::unordered_map<const UIView*, HostedViewController*> table;
  return table;
}

}  // namespace

HostedViewController::~HostedViewController() {
  if (ownView_) owners().erase(ownView_);
  if (presented_) presented_->presenting_ = nullptr;
}

UINavigationItem* HostedViewController::navigationItem() {
  if (!navigationItem_) navigationItem_ = objc::make<UINavigationItem>();
  return navigationItem_.get();
}

void HostedViewController::presentViewController(Ref<HostedViewController> controller, bool) {
  if (!controller || presented_ || controller->presenting_ || controller.get() == this) {
    NSLog("Attempt to present %@ on %@, which cannot present it now", controller.get(), this);
    return;
  }
  presented_ = controller;
  controller->presenting_ = this;
  controller->view();
  objc::msgSend<void>(controller, objc::sel("viewWillAppear:"), true);
}

void HostedViewController::dismissViewController(bool animated) {
  if (!presented_) {
    if (presenting_) presenting_->dismissViewController(animated);
    return;
  }
  Ref<HostedViewController> dismissed = std::move(presented_);
  objc::msgSend<void>(dismissed, objc::sel("viewWillDisappear:"), animated);
  dismissed->presenting_ = nullptr;
}

void HostedViewController::adoptView(Ref<UIView> view) {
  if (ownView_) owners().erase(ownView_);
  ownView_ = view.get();
  if (ownView_) owners()[ownView_] = this;
  setView(std::move(view));
}

HostedViewController* viewControllerOwning(const UIView* view) {
  for (const UIView* at = view; at; at = at->superview()) {
    auto owner = owners().find(at);
    if (owner != owners().end()) return owner->second;
  }
  return nullptr;
}

objc::Class* addHostedControllerMethods(objc::Class* cls) {
  objc::addMethod(cls, "loadView",
                  [](HostedViewController* self, SEL) { self->adoptView(objc::make<UIView>()); });
  objc::addMethod(cls, "viewWillAppear:", [](HostedViewController*, SEL, bool) {});
  objc::addMethod(cls, "viewWillDisappear:", [](HostedViewController*, SEL, bool) {});
  return cls;
}
