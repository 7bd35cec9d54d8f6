// Start-up of the library: when it is loaded into the home-screen process, the settings are
// read and their reload subscribed to, then the host's methods are replaced and extended. The
// hooks then run inside the host's own calls, on its main thread, each behind the hook boundary
// (hook_boundary.h), so that nothing the library throws reaches the host.

#include "platform/foundation/darwin_notify.h"
#include "platform/runtime/runtime.h"
#include "source/colorizer/colorizer_class.h"
#include "source/colors/runtime_classes.h"
#include "source/hook_boundary.h"
#include "source/menu/glass_backdrop.h"
#include "source/menu/menu_capture.h"
#include "source/menu/menu_cells.h"
#include "source/menu/menu_list_styling.h"
#include "source/menu/reusable_views.h"
#include "source/menu/separator_visibility.h"
#include "source/notification/notification_styling.h"
#include "source/settings/settings.h"

namespace {

template <auto replacement, hook_boundary::HostMethod* host>
void replace(objc::Class* cls, const char* selector) {
  MSHookMessageEx(cls, objc::sel(selector), hook_boundary::replacing<replacement, host>(),
                  host->slot());
}

template <auto method>
void add(objc::Class* cls, const char* selector, const char* types) {
  class_addMethod(cls, objc::sel(selector), hook_boundary::adding<method>(), types);
}

// A property stored by its accessors, with its getter and setter added as methods.
struct PropertyRow {
  const char* name;
  std::initializer_list<objc_property_attribute_t> attributes;
  objc::Imp getter;
  const char* getterTypes;
  const char* setterSelector;
  objc::Imp setter;
  const char* setterTypes;
};

void addProperty(objc::Class* cls, const PropertyRow& row) {
  class_addProperty(cls, row.name, row.attributes.begin(),
                    static_cast<unsigned>(row.attributes.size()));
  class_addMethod(cls, objc::sel(row.name), row.getter, row.getterTypes);
  class_addMethod(cls, objc::sel(row.setterSelector), row.setter, row.setterTypes);
}

}  // namespace

// Runs first: the hooks find the settings already loaded.
__attribute__((constructor(101))) static void initialiseSettings() {
  loadPrefs();
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, loadPrefs,
                                  CFSTR(kReloadPrefsNotification), nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
}

// The library's public colour classes, then the hook table, in installation order. Nothing
// here depends on a setting or on the system version; a class the system lacks, or a selector
// it lacks, is simply not installed.
__attribute__((constructor(102))) static void installHooks() {
  runtime_classes::registerQuenbyClasses("ZQK ");
  runtime_classes::registerPaletteCubeClasses("ZQK ");
  runtime_classes::registerClassifierClasses("ZQK ");
  registerColorizerClass("ZQK ");

  using namespace glass_backdrop;
  using namespace menu_capture;
  using namespace menu_cells;
  using namespace menu_list_styling;
  using namespace notification_styling;
  using namespace reusable_views;
  using namespace separator_visibility;

  objc::Class* iconView = objc_getClass("SBIconView");
  replace<&applicationShortcutItems, &hostApplicationShortcutItems>(iconView,
                                                                    "applicationShortcutItems");

  objc::Class* collectionView = objc_getClass("UICollectionView");
  replace<&didMoveToWindow, &hostDidMoveToWindow>(collectionView, "didMoveToWindow");
  add<&hideViewsMatchingSubstring>(collectionView, "hideViewsMatchingSubstring:", "v@:@");
  add<&adjustSeparatorForiOS16AndAbove>(collectionView, "adjustSeparatorForiOS16AndAbove", "v@:");
  add<&adjustSeparatorForiOS15AndBelow>(collectionView, "adjustSeparatorForiOS15AndBelow", "v@:");
  add<&handleSeparatorVisibilityForNonLockScreen>(
      collectionView, "handleSeparatorVisibilityForNonLockScreen", "v@:");

  objc::Class* iconController = objc_getClass("SBIconController");
  replace<&containerViewForPresentingContextMenuForIconView,
          &hostContainerViewForPresentingContextMenu>(
      iconController, "containerViewForPresentingContextMenuForIconView:");

  objc::Class* contextMenuView = objc_getClass("_UIContextMenuView");
  replace<&contextMenuLayoutSubviews, &hostContextMenuLayoutSubviews>(contextMenuView,
                                                                      "layoutSubviews");

  objc::Class* listView = objc_getClass("_UIContextMenuListView");
  add<&colorByAdjustingBrightness>(listView, "colorByAdjustingBrightness:amount:", "@@:@d");
  replace<&listLayoutSubviews, &hostListLayoutSubviews>(listView, "layoutSubviews");

  objc::Class* shortLook = objc_getClass("NCNotificationShortLookViewController");
  addProperty(shortLook, {"tavrelView",
                          {{"T", "@\"UIView\""}, {"&", ""}, {"N", ""}},
                          hook_boundary::adding<&tavrelView>(),
                          "@@:",
                          "setTavrelView:",
                          hook_boundary::adding<&setTavrelView>(),
                          "v@:@"});
  replace<&viewDidAppear, &hostViewDidAppear>(shortLook, "viewDidAppear:");
  replace<&containerViewForExpandedContent, &hostContainerViewForExpandedContent>(
      shortLook, "containerViewForExpandedContent");

  objc::Class* platterView = objc_getClass("NCExpandedPlatterView");
  replace<&platterLayoutSubviews, &hostPlatterLayoutSubviews>(platterView, "layoutSubviews");

  objc::Class* cell = objc_getClass("_UIContextMenuCell");
  add<&colorByAdjustingBrightness>(cell, "colorByAdjustingBrightness:amount:", "@@:@d");
  replace<&cellLayoutSubviews, &hostCellLayoutSubviews>(cell, "layoutSubviews");
  add<&adjustFramesForSubviews>(cell, "adjustFramesForSubviews", "v@:");
  add<&updateLabelColors>(cell, "updateLabelColors", "v@:");

  objc::Class* backdrop = objc_getClass("_UIVisualEffectBackdropView");
  replace<&backdropLayoutSubviews, &hostBackdropLayoutSubviews>(backdrop, "layoutSubviews");
  add<&applyCornerRadiusToAllSubviewsOfView>(backdrop,
                                             "applyCornerRadius:toAllSubviewsOfView:", "v@:d@");
  add<&applyCornerRadiusToView>(backdrop, "applyCornerRadius:toView:", "v@:d@");

  objc::Class* reusable = objc_getClass("UICollectionReusableView");
  addProperty(reusable, {"hasCustomizedBackgroundColor",
                         {{"T", "B"}, {"N", ""}},
                         hook_boundary::adding<&hasCustomizedBackgroundColor>(),
                         "B@:",
                         "setHasCustomizedBackgroundColor:",
                         hook_boundary::adding<&setHasCustomizedBackgroundColor>(),
                         "v@:B"});
  add<&findMaterialViewInView>(reusable, "findMaterialViewInView:", "@@:@");
  add<&colorByAdjustingBrightness>(reusable, "colorByAdjustingBrightness:amount:", "@@:@d");
  replace<&reusableLayoutSubviews, &hostReusableLayoutSubviews>(reusable, "layoutSubviews");
  add<&customizeBackgroundColorLS>(reusable, "customizeBackgroundColorLS", "v@:");
  add<&customizeBackgroundColorHS>(reusable, "customizeBackgroundColorHS", "v@:");
  add<&shouldColorThinSeparatorsForHomeScreen>(reusable, "shouldColorThinSeparatorsForHomeScreen",
                                               "B@:");
  add<&isViewOrAncestorAContextMenuCell>(reusable, "isViewOrAncestorAContextMenuCell:", "B@:@");
  add<&applyModificationsConditionally>(reusable, "applyModificationsConditionally", "v@:");
  add<&shouldColorBoldSeparatorsForLockScreen>(reusable, "shouldColorBoldSeparatorsForLockScreen",
                                               "B@:");
  add<&shouldColorThinSeparatorsForLockScreen>(reusable, "shouldColorThinSeparatorsForLockScreen",
                                               "B@:");
  add<&customizeBackgroundColorBoldSeparators>(reusable, "customizeBackgroundColorBoldSeparators",
                                               "v@:");
  add<&shouldColorBoldSeparatorsForHomeScreen>(reusable, "shouldColorBoldSeparatorsForHomeScreen",
                                               "B@:");

  objc::Class* platterController = objc_getClass("NCExpandedPlatterViewController");
  replace<&viewWillLayoutSubviews, &hostViewWillLayoutSubviews>(platterController,
                                                                "viewWillLayoutSubviews");
  add<&recursivelyChangeBackgroundForLabelsInView>(
      platterController, "recursivelyChangeBackgroundForLabelsInView:", "v@:@");

  objc::Class* vibrantSeparator = objc_getClass("_UIInterfaceActionVibrantSeparatorView");
  replace<&vibrantSeparatorLayoutSubviews, &hostVibrantSeparatorLayoutSubviews>(vibrantSeparator,
                                                                                "layoutSubviews");
}
