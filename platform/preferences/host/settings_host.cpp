#include "platform/preferences/host/settings_host.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/foundation/device.h"
#include "platform/foundation/ns_bundle.h"
#include "platform/preferences/framework/ps_list_controller.h"
#include "platform/preferences/host/page_snapshot.h"
#include "platform/preferences/onboarding/ob_welcome_controller.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/ui_alert_controller.h"
#include "platform/uikit/view_extras.h"

namespace {

template <class T>
Result<T> failure(std::string reason) {
  return Result<T>::failure(std::move(reason));
}

// The home page of the Settings app: one row that opens the bundle's root page.
Ref<PSListController> homePage(const SettingsHost::Bundle& bundle) {
  Ref<PSListController> home = objc::make<PSListController>();
  home->setTitle(NSString::from("Settings"));
  auto group =
      PSSpecifier::preferenceSpecifierNamed(nullptr, home.get(), nullptr, nullptr, PSGroupCell);
  auto link = PSSpecifier::preferenceSpecifierNamed(NSString::from(bundle.label), home.get(),
                                                    nullptr, nullptr, PSLinkCell);
  link->setProperty(NSString::from(bundle.rootControllerClass), "detail");
  home->setCurrentSpecifiers(NSArray::from({group, link}).get());
  return home;
}

}  // namespace

void setUpSettingsHost() {
  static std::once_flag once;
  std::call_once(once, [] {
    defineFontClasses();
    defineViewExtrasMethods();
    defineLayoutConstraintClass();
    defineControlClasses();
    defineTableClasses();
    defineNavigationClasses();
    defineAlertClasses();
    defineApplicationClasses();
    defineBundleClass();
    defineSpecifierClass();
    defineTableCellClasses();
    defineListControllerClass();
    defineWelcomeControllerClass();
  });
}

Result<std::filesystem::path> installBundleResources(const std::filesystem::path& resources,
                                                     const std::string& bundleName) {
  std::optional<std::filesystem::path> device = device::directory();
  if (!device) return failure<std::filesystem::path>("no device folder is set");
  std::filesystem::path target = *device / "var/jb/Library/PreferenceBundles" / bundleName;
  std::error_code error;
  std::filesystem::create_directories(target, error);
  if (!error) {
    std::filesystem::copy(
        resources, target,
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::update_existing,
        error);
  }
  if (error) {
    return failure<std::filesystem::path>("cannot install " + resources.string() + " into " +
                                          target.string() + ": " + error.message());
  }
  return target;
}

Result<std::shared_ptr<SettingsHost>> SettingsHost::open(const Bundle& bundle) {
  using Opened = std::shared_ptr<SettingsHost>;
  setUpSettingsHost();
  Result<void> loaded =
      NSBundle::bundleWithPath(bundle.resources)->loadExecutable(bundle.executable);
  if (!loaded.ok()) return failure<Opened>(loaded.error());
  objc::Class* root = objc_getClass(bundle.rootControllerClass);
  if (!root || !root->isSubclassOf(objc_getClass("PSListController"))) {
    return failure<Opened>("the bundle defines no page class " + bundle.rootControllerClass);
  }
  Opened host(new SettingsHost());
  Ref<PSListController> home = homePage(bundle);
  host->navigation_ = UINavigationController::withRoot(home);
  host->window_ = objc::make<UIWindow>();
  host->window_->setRootViewController(host->navigation_);
  UIApplication::sharedApplication()->makeKeyAndVisible(host->window_);
  Ref<PSSpecifier> link(dynamic_cast<PSSpecifier*>(home->specifiers()->objectAtIndex(1).get()));
  home->selectSpecifier(link.get());
  return host;
}

SettingsHost::~SettingsHost() {
  UIApplication::sharedApplication()->removeWindow(window_.get());
}

page_model::Page SettingsHost::page() {
  return page_snapshot::snapshotPage(navigation_.get());
}

HostedViewController* SettingsHost::presentedOverTop() const {
  HostedViewController* top = navigation_->topViewController();
  return top ? top->presentedViewController() : nullptr;
}

Result<UIView*> SettingsHost::pageView(const std::string& viewId) const {
  if (presentedOverTop()) return failure<UIView*>("the page is covered by an alert or a sheet");
  HostedViewController* top = navigation_->topViewController();
  UIView* view = page_snapshot::findView(top->view(), viewId);
  if (!view) view = page_snapshot::findView(top->navigationItem()->titleView(), viewId);
  if (!view) return failure<UIView*>("no view " + viewId + " on this page");
  return view;
}

Result<void> SettingsHost::tap(const std::string& viewId) {
  Result<UIView*> found = pageView(viewId);
  if (!found.ok()) return failure<void>(found.error());
  UIView* view = found.value();
  Ref<UIView> keepAlive(view);
  if (auto* cell = dynamic_cast<PSTableCell*>(view)) {
    auto* page = dynamic_cast<PSListController*>(navigation_->topViewController());
    if (page && page->selectSpecifier(cell->specifier())) return {};
    return failure<void>("this row does nothing when tapped");
  }
  if (auto* control = dynamic_cast<UIControl*>(view)) {
    if (!control->isEnabled()) return failure<void>("the control is disabled");
    control->sendActionsForControlEvents(UIControlEventTouchUpInside);
    return {};
  }
  const ViewExtras* extras = existingExtrasOf(view);
  if (!extras || extras->taps.empty() || !extras->userInteractionEnabled) {
    return failure<void>("the view takes no taps");
  }
  std::vector<ViewExtras::Tap> taps = extras->taps;
  for (const ViewExtras::Tap& each : taps)
    objc::msgSend<void>(each.target, each.action);
  return {};
}

Result<void> SettingsHost::setSwitch(const std::string& viewId, bool on) {
  Result<UIView*> found = pageView(viewId);
  if (!found.ok()) return failure<void>(found.error());
  auto* toggle = dynamic_cast<UISwitch*>(found.value());
  if (!toggle) return failure<void>(viewId + " is not a switch");
  Ref<UISwitch> keepAlive(toggle);
  toggle->setOn(on);
  toggle->sendActionsForControlEvents(UIControlEventValueChanged);
  return {};
}

Result<void> SettingsHost::setSlider(const std::string& viewId, double value) {
  Result<UIView*> found = pageView(viewId);
  if (!found.ok()) return failure<void>(found.error());
  auto* slider = dynamic_cast<UISlider*>(found.value());
  if (!slider) return failure<void>(viewId + " is not a slider");
  if (!std::isfinite(value)) return failure<void>("a slider takes a finite number");
  Ref<UISlider> keepAlive(slider);
  // Clamped before narrowing: a double beyond a float's range has no float value.
  const double inRange =
      std::clamp(value, double{slider->minimumValue()}, double{slider->maximumValue()});
  slider->setValue(static_cast<float>(inRange));
  slider->sendActionsForControlEvents(UIControlEventTouchDragInside | UIControlEventValueChanged);
  return {};
}

Result<void> SettingsHost::selectSegment(const std::string& viewId, long index) {
  Result<UIView*> found = pageView(viewId);
  if (!found.ok()) return failure<void>(found.error());
  auto* segments = dynamic_cast<UISegmentedControl*>(found.value());
  if (!segments) return failure<void>(viewId + " is not a segmented control");
  if (index < 0 || index >= static_cast<long>(segments->segments().size())) {
    return failure<void>("no segment " + std::to_string(index));
  }
  Ref<UISegmentedControl> keepAlive(segments);
  segments->setSelectedSegmentIndex(index);
  segments->sendActionsForControlEvents(UIControlEventValueChanged);
  return {};
}

Result<void> SettingsHost::setText(const std::string& viewId, const std::string& text) {
  Result<UIView*> found = pageView(viewId);
  if (!found.ok()) return failure<void>(found.error());
  auto* field = dynamic_cast<UITextField*>(found.value());
  auto* cell =
      field ? dynamic_cast<PSEditableTableCell*>(field->superview()->superview()) : nullptr;
  if (!cell) return failure<void>(viewId + " is not the text field of a row");
  Ref<PSEditableTableCell> keepAlive(cell);
  field->setText(NSString::from(text));
  objc::msgSend<void>(cell, objc::sel("textFieldDidEndEditing:"), static_cast<NSObject*>(field));
  return {};
}

Result<void> SettingsHost::goBack() {
  if (presentedOverTop()) return failure<void>("the page is covered by an alert or a sheet");
  if (!navigation_->popViewControllerAnimated(true)) return failure<void>("already at the start");
  return {};
}

Result<void> SettingsHost::setAlertText(size_t field, const std::string& text) {
  auto* alert = dynamic_cast<UIAlertController*>(presentedOverTop());
  if (!alert) return failure<void>("no alert is open");
  if (field >= alert->textFields().size()) return failure<void>("the alert has no such field");
  alert->textFields()[field]->setText(NSString::from(text));
  return {};
}

Result<void> SettingsHost::chooseAlertAction(size_t index) {
  Ref<UIAlertController> alert(dynamic_cast<UIAlertController*>(presentedOverTop()));
  if (!alert) return failure<void>("no alert is open");
  if (!alert->chooseAction(index)) return failure<void>("the alert has no such action");
  return {};
}

void SettingsHost::refreshValues() {
  for (const Ref<HostedViewController>& controller : navigation_->viewControllers()) {
    if (auto* page = dynamic_cast<PSListController*>(controller.get())) page->refreshCells();
  }
}

Result<void> SettingsHost::dismissSheet() {
  HostedViewController* top = navigation_->topViewController();
  if (!dynamic_cast<OBWelcomeController*>(presentedOverTop())) {
    return failure<void>("no sheet is open");
  }
  top->dismissViewController(true);
  return {};
}
