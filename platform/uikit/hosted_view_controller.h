#pragma once

#include <string>

#include "platform/foundation/ns_string.h"
#include "platform/uikit/ui_view_controller.h"

class UINavigationController;

enum UIModalPresentationStyle : long {
  UIModalPresentationFullScreen = 0,
  UIModalPresentationPageSheet = 1,
  UIModalPresentationFormSheet = 2,
};

// What a navigation bar shows for the controller on top: a title, or a view in its place.
class UINavigationItem : public NSObject {
 public:
  NSString* title() const { return title_.get(); }
  void setTitle(Ref<NSString> title) { title_ = std::move(title); }
  UIView* titleView() const { return titleView_.get(); }
  void setTitleView(Ref<UIView> view) { titleView_ = std::move(view); }

 private:
  Ref<NSString> title_;
  Ref<UIView> titleView_;
};

// The view controllers of the Settings host: pages, the navigation controller, alerts and
// sheets. Beside the core controller they have a navigation item, a weak link to the
// navigation controller that holds them, and modal presentation: a controller strongly holds
// the one it presents, which links back weakly. Links are cleared when either side goes.
class HostedViewController : public UIViewController {
 public:
  ~HostedViewController() override;

  UINavigationItem* navigationItem();
  UINavigationController* navigationController() const { return navigationController_; }
  NSString* title() const { return title_.get(); }
  void setTitle(Ref<NSString> title) { title_ = std::move(title); }

  // Presents controller over this one; refused (logged) while this one already presents
  // another or controller is presented elsewhere. Loads its view and sends it
  // `viewWillAppear:`.
  void presentViewController(Ref<HostedViewController> controller, bool animated);
  // Dismisses the controller this one presents, or, with nothing presented, this one from
  // its presenter.
  void dismissViewController(bool animated);
  HostedViewController* presentedViewController() const { return presented_.get(); }
  HostedViewController* presentingViewController() const { return presenting_; }
  UIModalPresentationStyle modalPresentationStyle() const { return presentationStyle_; }
  void setModalPresentationStyle(UIModalPresentationStyle style) { presentationStyle_ = style; }

  // Installs view as this controller's view and records the controller as its owner, for
  // viewControllerOwning(). `loadView` implementations call it.
  void adoptView(Ref<UIView> view);

 private:
  friend class UINavigationController;

  Ref<UINavigationItem> navigationItem_;
  UINavigationController* navigationController_ = nullptr;
  Ref<NSString> title_;
  Ref<HostedViewController> presented_;
  HostedViewController* presenting_ = nullptr;
  UIModalPresentationStyle presentationStyle_ = UIModalPresentationPageSheet;
  UIView* ownView_ = nullptr;
};

// The controller whose view is view or its nearest ancestor, or null: the platform's
// responder chain from a view to its controller.
HostedViewController* viewControllerOwning(const UIView* view);

// Defines a controller class of the host as a subclass of superclass, with `loadView` (a
// plain view), `viewWillAppear:` and `viewWillDisappear:`. addHostedControllerMethods() adds
// those three to a class that has not defined its own.
template <class T, class SuperStorage>
objc::Class* defineHostedControllerClass(std::string_view name, objc::Class* superclass);
objc::Class* addHostedControllerMethods(objc::Class* cls);

template <class T, class SuperStorage>
objc::Class* defineHostedControllerClass(std::string_view name, objc::Class* superclass) {
  return addHostedControllerMethods(objc::defineClass<T, SuperStorage>(name, superclass));
}
