#pragma once

#include <vector>

#include "platform/uikit/hosted_view_controller.h"

// A window: the root of a view tree, showing its root view controller's view.
class UIWindow : public UIView {
 public:
  HostedViewController* rootViewController() const { return root_.get(); }
  void setRootViewController(Ref<HostedViewController> controller);
  bool isKeyWindow() const { return key_; }

 private:
  friend class UIApplication;
  Ref<HostedViewController> root_;
  bool key_ = false;
};

// The application: its windows, in the order they were made, one of them key.
class UIApplication : public NSObject {
 public:
  static UIApplication* sharedApplication();

  const std::vector<Ref<UIWindow>>& windows() const { return windows_; }
  // Adds the window (if new) and makes it the key window.
  void makeKeyAndVisible(Ref<UIWindow> window);
  void removeWindow(const UIWindow* window);

 private:
  std::vector<Ref<UIWindow>> windows_;
};

enum UIUserInterfaceIdiom : long {
  UIUserInterfaceIdiomPhone = 0,
  UIUserInterfaceIdiomPad = 1,
};

// The device: a phone unless the host says it is a pad.
class UIDevice : public NSObject {
 public:
  static UIDevice* currentDevice();
  UIUserInterfaceIdiom userInterfaceIdiom() const { return idiom_; }
  void setUserInterfaceIdiom(UIUserInterfaceIdiom idiom) { idiom_ = idiom; }

 private:
  UIUserInterfaceIdiom idiom_ = UIUserInterfaceIdiomPhone;
};

void defineApplicationClasses();
