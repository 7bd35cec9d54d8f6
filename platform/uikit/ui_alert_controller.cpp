#include "platform/uikit/ui_alert_controller.h"

Ref<UIAlertAction> UIAlertAction::actionWithTitle(std::string title, UIAlertActionStyle style,
                                                  Handler handler) {
  auto action = objc::make<UIAlertAction>();
  action->title_ = NSString::from(std::move(title));
  action->style_ = style;
  action->handler_ = std::move(handler);
  return action;
}

Ref<UIAlertController> UIAlertController::alertControllerWithTitle(Ref<NSString> title,
                                                                   Ref<NSString> message,
                                                                   UIAlertControllerStyle style) {
  auto alert = objc::make<UIAlertController>();
  alert->setTitle(std::move(title));
  alert->message_ = std::move(message);
  alert->style_ = style;
  return alert;
}

void UIAlertController::addAction(Ref<UIAlertAction> action) {
  if (action) actions_.push_back(std::move(action));
}

void UIAlertController::addTextFieldWithConfigurationHandler(
    const std::function<void(UITextField*)>& configure) {
  auto field = objc::make<UITextField>();
  textFields_.push_back(field);
  if (configure) configure(field.get());
}

bool UIAlertController::chooseAction(size_t index) {
  if (index >= actions_.size()) return false;
  Ref<UIAlertController> keepAlive(this);
  Ref<UIAlertAction> action = actions_[index];
  dismissViewController(true);
  if (action->handler()) action->handler()(action.get());
  return true;
}

void defineAlertClasses() {
  objc::defineClass<UIAlertAction, NSObject>("UIAlertAction");
  defineHostedControllerClass<UIAlertController, UIViewController>(
      "UIAlertController", objc_getClass("UIViewController"));
}
