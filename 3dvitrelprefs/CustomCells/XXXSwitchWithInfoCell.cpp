#include <algorithm>

#include "custom_cells.h"
#include "platform/foundation/ns_bundle.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/system_colors.h"
#include "platform/uikit/ui_application.h"
#include "platform/uikit/view_extras.h"

namespace {

constexpr const char* kNoInformation = "No information provided for this cell.";
constexpr double kButtonInset = 4;  // the button's trailing edge from the content's
constexpr double kTitleGap = 8;     // between the title and the button

std::string textProperty(PSSpecifier* specifier, std::string_view key) {
  Ref<NSString> text = specifier->properties()->objectForKey<NSString>(key);
  return text ? text->string() : "";
}

// Every backslash followed by "n" becomes a line feed.
std::string withLineBreaks(std::string text) {
  for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1)) {
    text.replace(at, 2, "\n");
  }
  return text;
}

Ref<PSTableCell> initCell(XXXSwitchWithInfoCell* self, SEL cmd, long style,
                          NSString* reuseIdentifier, PSSpecifier* specifier) {
  Ref<PSTableCell> cell =
      objc::msgSendSuper<Ref<PSTableCell>>(objc_getClass("XXXSwitchWithInfoCell"), self, cmd, style,
                                           reuseIdentifier, static_cast<NSObject*>(specifier));
  if (auto* toggle = dynamic_cast<UISwitch*>(self->control())) {
    toggle->setOnTintColor(system_colors::systemPurpleColor());
    toggle->setThumbTintColor(UIColor::blackColor());
  }
  self->_infoButton = UIButton::buttonWithType(UIButtonTypeInfoDark);
  CGSize size = self->_infoButton->intrinsicSize();
  self->_infoButton->setFrame(CGRectMake(0, 0, size.width, size.height));
  extrasOf(self->_infoButton.get()).translatesAutoresizingMaskIntoConstraints = false;
  self->_infoButton->addTarget(self, objc::sel("infoButtonTapped"), UIControlEventTouchUpInside);
  UIView* content = self->contentView();
  content->addSubview(self->_infoButton);
  NSLayoutConstraint::activateConstraints({
      NSLayoutConstraint::constraint(self->_infoButton.get(), NSLayoutAttributeCenterY, content,
                                     NSLayoutAttributeCenterY),
      NSLayoutConstraint::constraint(self->_infoButton.get(), NSLayoutAttributeTrailing, content,
                                     NSLayoutAttributeTrailing, -kButtonInset),
  });
  return cell;
}

HostedViewController* presenterFor(UIView* view) {
  if (HostedViewController* owner = viewControllerOwning(view)) return owner;
  const auto& windows = UIApplication::sharedApplication()->windows();
  return windows.empty() ? nullptr : windows.front()->rootViewController();
}

void infoButtonTapped(XXXSwitchWithInfoCell* self, SEL) {
  PSSpecifier* specifier = self->specifier();
  if (!specifier) return;
  std::string title = textProperty(specifier, "infoTitle");
  if (title.empty()) title = textProperty(specifier, "label");
  std::string message = textProperty(specifier, "infoMessage");
  if (message.empty()) message = kNoInformation;
  message =
      NSBundle::bundleForClass(self->isa())
          ->localizedStringForKey(message, message, textProperty(specifier, "localizationTable"));
  Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
      NSString::from(title), NSString::from(withLineBreaks(message)), UIAlertControllerStyleAlert);
  alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleDefault));
  if (HostedViewController* presenter = presenterFor(self)) {
    presenter->presentViewController(alert, true);
  }
}

// The title ends before the button: the framework sizes it to the whole content view, which
// the button shares.
void layOut(XXXSwitchWithInfoCell* self, SEL cmd) {
  objc::msgSendSuper<void>(objc_getClass("XXXSwitchWithInfoCell"), self, cmd);
  if (!self->_infoButton) return;
  const double buttonStart =
      self->contentView()->bounds().width() - kButtonInset - self->_infoButton->frame().width();
  CGRect title = self->titleLabel()->frame();
  title.size.width = std::max(0.0, std::min(title.width(), buttonStart - kTitleGap - title.minX()));
  self->titleLabel()->setFrame(title);
}

void tintInfoButton(XXXSwitchWithInfoCell* self) {
  if (self->_infoButton) setTintColor(self->_infoButton.get(), system_colors::systemPurpleColor());
}

}  // namespace

void defineSwitchWithInfoCell() {
  objc::Class* cls = objc::defineClass<XXXSwitchWithInfoCell, PSSwitchTableCell>(
      "XXXSwitchWithInfoCell", objc_getClass("PSSwitchTableCell"));
  if (!cls) return;
  objc::addMethod(cls, "initWithStyle:reuseIdentifier:specifier:", &initCell);
  objc::addMethod(cls, "infoButtonTapped", &infoButtonTapped);
  objc::addMethod(cls, "layoutSubviews", &layOut);
  objc::addMethod(cls, "tintColorDidChange", [](XXXSwitchWithInfoCell* self, SEL cmd) {
    objc::msgSendSuper<void>(objc_getClass("XXXSwitchWithInfoCell"), self, cmd);
    tintInfoButton(self);
  });
  objc::addMethod(cls, "refreshCellContentsWithSpecifier:",
                  [](XXXSwitchWithInfoCell* self, SEL cmd, PSSpecifier* specifier) {
                    objc::msgSendSuper<void>(objc_getClass("XXXSwitchWithInfoCell"), self, cmd,
                                             static_cast<NSObject*>(specifier));
                    tintInfoButton(self);
                  });
}
