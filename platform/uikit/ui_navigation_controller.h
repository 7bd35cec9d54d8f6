#pragma once

#include <vector>

#include "platform/uikit/hosted_view_controller.h"

// The bar above the pages; its tint colour (view extras) colours its buttons and title.
class UINavigationBar : public UIView {};

// A stack of pages, the last one shown. Holds its pages strongly; each links back weakly.
class UINavigationController : public HostedViewController {
 public:
  static Ref<UINavigationController> withRoot(Ref<HostedViewController> root);
  ~UINavigationController() override;

  const std::vector<Ref<HostedViewController>>& viewControllers() const { return stack_; }
  HostedViewController* topViewController() const;
  UINavigationBar* navigationBar();

  // Puts controller on top: the old top gets `viewWillDisappear:`, the new one its view and
  // `viewWillAppear:`.
  void pushViewController(Ref<HostedViewController> controller, bool animated);
  // Takes the top page off (never the root): the stack shrinks first, then the page leaving
  // gets `viewWillDisappear:` (still linked to this controller) and the new top
  // `viewWillAppear:`. Returns the page taken off, or nil.
  Ref<HostedViewController> popViewControllerAnimated(bool animated);

 private:
  std::vector<Ref<HostedViewController>> stack_;
  Ref<UINavigationBar> bar_;
};

void defineNavigationClasses();
