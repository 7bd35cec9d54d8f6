#include "platform/uikit/ui_view_controller.h"

UIView* UIViewController::view() {
  if (!view_) objc::msgSend<void>(this, objc::sel("loadView"));
  if (!view_) view_ = objc::make<UIView>();
  return view_.get();
}

void UIViewController::appear(bool animated) {
  objc::msgSend<void>(this, objc::sel("viewDidAppear:"), animated);
}

void UIViewController::layoutIfNeeded() {
  objc::msgSend<void>(this, objc::sel("viewWillLayoutSubviews"));
  view()->layoutIfNeeded();
}
