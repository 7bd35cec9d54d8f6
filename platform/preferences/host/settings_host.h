#pragma once

#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/foundation/result.h"
#include "platform/foundation/run_loop.h"
#include "platform/preferences/host/page_model.h"
#include "platform/uikit/ui_application.h"
#include "platform/uikit/ui_navigation_controller.h"

// Defines the Settings host's classes (views, controls, table, navigation, alerts, welcome
// sheets, the Preferences framework) once per process. Call it before loading a settings
// bundle, whose classes derive from these.
void setUpSettingsHost();

// Copies a bundle's resources from `resources` into
// <device>/var/jb/Library/PreferenceBundles/<bundleName>/ (the device folder of
// platform/foundation/device.h): files missing there or older than their source are copied,
// others are left alone. Returns the installed folder; fails, saying why, with no device
// folder set or when a copy fails.
Result<std::filesystem::path> installBundleResources(const std::filesystem::path& resources,
                                                     const std::string& bundleName);

// The Settings app: a home page listing one settings bundle, and the bundle's pages pushed
// over it in a navigation controller. A web host serves page() and turns the user's actions
// into the calls below.
//
// Threading: every member must run on the thread that runs RunLoop::main() (the platform's
// main thread): the bundle's code and its notifications run there. A server thread hands work
// over with onMainLoop(). The page's own background work (a version lookup) posts its result
// to the main loop, so keep that loop turning.
class SettingsHost {
 public:
  struct Bundle {
    std::filesystem::path resources;   // the installed bundle folder
    std::filesystem::path executable;  // the bundle's shared object
    std::string rootControllerClass;   // the class of its root page
    std::string label;                 // its row on the home page
  };

  // Sets up the host, loads the bundle's executable into the bundle folder's NSBundle, builds
  // the home page and opens the bundle's root page over it. Fails, saying why, when the
  // executable cannot be loaded or defines no such page class.
  static Result<std::shared_ptr<SettingsHost>> open(const Bundle& bundle);
  ~SettingsHost();
  SettingsHost(const SettingsHost&) = delete;
  SettingsHost& operator=(const SettingsHost&) = delete;

  // The page on top, laid out, with what is presented over it.
  page_model::Page page();

  // Actions; each fails, saying why, when the view is not on the page, is of another kind, or
  // the page is covered by an alert or a sheet. Ids are the ViewNode ids of the last page().
  //
  // A row's cell: opens its link or runs its button action. A button: touch up inside. A view
  // with a tap recogniser: the tap.
  Result<void> tap(const std::string& viewId);
  Result<void> setSwitch(const std::string& viewId, bool on);
  // Clamped into the slider's range; the value-changed actions run as a drag would send them.
  Result<void> setSlider(const std::string& viewId, double value);
  Result<void> selectSegment(const std::string& viewId, long index);
  // A row's text field takes text, as if typed, and editing ends.
  Result<void> setText(const std::string& viewId, const std::string& text);
  // Pops the top page (not the home page).
  Result<void> goBack();
  // The open alert's text field at index gets text; then an action runs as if tapped.
  Result<void> setAlertText(size_t field, const std::string& text);
  Result<void> chooseAlertAction(size_t index);
  // Closes the open sheet.
  Result<void> dismissSheet();

  // Every page of the navigation stack fills its cells again from their specifiers, so that
  // they show the stored values after a change made elsewhere. Cells, and so view ids, stay.
  void refreshValues();

  UINavigationController* navigationController() const { return navigation_.get(); }

 private:
  SettingsHost() = default;
  HostedViewController* presentedOverTop() const;
  Result<UIView*> pageView(const std::string& viewId) const;

  Ref<UIWindow> window_;
  Ref<UINavigationController> navigation_;
};

// Runs work on the main loop and waits for its result. For threads other than the main
// loop's own (calling it there would wait forever).
template <class Work>
auto onMainLoop(Work work) -> std::invoke_result_t<Work> {
  using Value = std::invoke_result_t<Work>;
  auto promise = std::make_shared<std::promise<Value>>();
  std::future<Value> result = promise->get_future();
  RunLoop::main().perform([promise, work = std::move(work)]() mutable {
    try {
      if constexpr (std::is_void_v<Value>) {
        work();
        promise->set_value();
      } else {
        promise->set_value(work());
      }
    } catch (...) {
      promise->set_exception(std::current_exception());
    }
  });
  return result.get();
}
