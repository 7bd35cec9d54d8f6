#pragma once

#include "platform/uikit/ui_view.h"

// A view controller and the view it manages, made on first use by the runtime method
// `loadView` (a plain UIView unless a subclass makes another). The host reaches the
// controller's life-cycle methods by message, so hooks see them: appear() sends
// `viewDidAppear:`, layoutIfNeeded() sends `viewWillLayoutSubviews` and then lays out the view.
class UIViewController : public NSObject {
 public:
  UIView* view();
  bool isViewLoaded() const { return view_ != nullptr; }
  void setView(Ref<UIView> view) { view_ = std::move(view); }

  void appear(bool animated);
  void layoutIfNeeded();

 private:
  Ref<UIView> view_;
};
