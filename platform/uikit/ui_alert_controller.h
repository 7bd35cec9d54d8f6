#pragma once

#include <functional>
#include <vector>

#include "platform/uikit/hosted_view_controller.h"
#include "platform/uikit/ui_controls.h"

enum UIAlertControllerStyle : long {
  UIAlertControllerStyleActionSheet = 0,
  UIAlertControllerStyleAlert = 1,
};

enum UIAlertActionStyle : long {
  UIAlertActionStyleDefault = 0,
  UIAlertActionStyleCancel = 1,
  UIAlertActionStyleDestructive = 2,
};

// A choice of an alert: a title, a style and what it does (nothing when the handler is
// empty). Handlers should hold the alert's parts weakly: the alert owns its actions.
class UIAlertAction : public NSObject {
 public:
  using Handler = std::function<void(UIAlertAction*)>;
  static Ref<UIAlertAction> actionWithTitle(std::string title, UIAlertActionStyle style,
                                            Handler handler = {});

  NSString* title() const { return title_.get(); }
  UIAlertActionStyle style() const { return style_; }
  const Handler& handler() const { return handler_; }

 private:
  Ref<NSString> title_;
  UIAlertActionStyle style_ = UIAlertActionStyleDefault;
  Handler handler_;
};

// A modal question: a title, a message, text fields and actions, in the order added.
class UIAlertController : public HostedViewController {
 public:
  // Either text may be nil.
  static Ref<UIAlertController> alertControllerWithTitle(Ref<NSString> title, Ref<NSString> message,
                                                         UIAlertControllerStyle style);

  NSString* message() const { return message_.get(); }
  UIAlertControllerStyle preferredStyle() const { return style_; }
  const std::vector<Ref<UIAlertAction>>& actions() const { return actions_; }
  const std::vector<Ref<UITextField>>& textFields() const { return textFields_; }

  void addAction(Ref<UIAlertAction> action);
  // Adds a text field and lets configure set it up.
  void addTextFieldWithConfigurationHandler(const std::function<void(UITextField*)>& configure);

  // What a tap on an action does: the alert is dismissed, then the action's handler runs.
  // False for an index out of range.
  bool chooseAction(size_t index);

 private:
  Ref<NSString> message_;
  UIAlertControllerStyle style_ = UIAlertControllerStyleAlert;
  std::vector<Ref<UIAlertAction>> actions_;
  std::vector<Ref<UITextField>> textFields_;
};

void defineAlertClasses();
