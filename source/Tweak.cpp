// Start-up of the library: when it is loaded into the home-screen process, the settings are
// read and their reload subscribed to, then the host's methods are replaced and extended. The
// hooks then run inside the host's own calls, on its main thread.

#include "platform/foundation/darwin_notify.h"
#include "platform/runtime/runtime.h"
#include "source/menu/glass_backdrop.h"
#include "source/menu/menu_capture.h"
#include "source/menu/menu_cells.h"
#include "source/menu/menu_list_styling.h"
#include "source/menu/reusable_views.h"
#include "source/menu/separator_visibility.h"
#include "source/notification/notification_styling.h"
#include "source/settings/settings.h"

namespace {

void replace(objc::Class* cls, const char* selector, objc::Imp replacement, objc::Imp* host) {
  MSHookMessageEx(cls, objc::sel(selector), replacement, host);
}

void add(objc::Class* cls, const char* selector, objc::Imp implementation, const char* types) {
  class_addMethod(cls, objc::sel(selector), implementation, types);
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
  add(cls, row.name, row.getter, row.getterTypes);
  add(cls, row.setterSelector, row.setter, row.setterTypes);
}

template <class Function>
objc::Imp imp(Function function) {
  return objc::Imp::of(function);
}

}  // namespace

// Runs first: the hooks find the settings already loaded.
__attribute__((constructor(101))) static void initialiseSettings() {
  loadPrefs();
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, loadPrefs,
                                  CFSTR(kReloadPrefsNotification), nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
}

// The hook table, in installation order. Nothing here depends on a setting or on the system
// version; a class the system lacks, or a selector it lacks, is simply not installed.
__attribute__((constructor(102))) static void installHooks() {
  using namespace glass_backdrop;
  using namespace menu_capture;
  using namespace menu_cells;
  using namespace menu_list_styling;
  using namespace notification_styling;
  using namespace reusable_views;
  using namespace separator_visibility;

  objc::Class* iconView = objc_getClass("SBIconView");
  replace(iconView, "applicationShortcutItems", imp(&applicationShortcutItems),
          &hostApplicationShortcutItems);

  objc::Class* collectionView = objc_getClass("UICollectionView");
  replace(collectionView, "didMoveToWindow", imp(&didMoveToWindow), &hostDidMoveToWindow);
  add(collectionView, "hideViewsMatchingSubstring:", imp(&hideViewsMatchingSubstring), "v@:@");
  add(collectionView, "adjustSeparatorForiOS16AndAbove", imp(&adjustSeparatorForiOS16AndAbove),
      "v@:");
  add(collectionView, "adjustSeparatorForiOS15AndBelow", imp(&adjustSeparatorForiOS15AndBelow),
      "v@:");
  add(collectionView, "handleSeparatorVisibilityForNonLockScreen",
      imp(&handleSeparatorVisibilityForNonLockScreen), "v@:");

  objc::Class* iconController = objc_getClass("SBIconController");
  replace(iconController, "containerViewForPresentingContextMenuForIconView:",
          imp(&containerViewForPresentingContextMenuForIconView),
          &hostContainerViewForPresentingContextMenu);

  objc::Class* contextMenuView = objc_getClass("_UIContextMenuView");
  replace(contextMenuView, "layoutSubviews", imp(&contextMenuLayoutSubviews),
          &hostContextMenuLayoutSubviews);

  objc::Class* listView = objc_getClass("_UIContextMenuListView");
  add(listView, "colorByAdjustingBrightness:amount:", imp(&colorByAdjustingBrightness), "@@:@d");
  replace(listView, "layoutSubviews", imp(&listLayoutSubviews), &hostListLayoutSubviews);

  objc::Class* shortLook = objc_getClass("NCNotificationShortLookViewController");
  addProperty(shortLook, {"tavrelView",
                          {{"T", "@\"UIView\""}, {"&", ""}, {"N", ""}},
                          imp(&tavrelView),
                          "@@:",
                          "setTavrelView:",
                          imp(&setTavrelView),
                          "v@:@"});
  replace(shortLook, "viewDidAppear:", imp(&viewDidAppear), &hostViewDidAppear);
  replace(shortLook, "containerViewForExpandedContent", imp(&containerViewForExpandedContent),
          &hostContainerViewForExpandedContent);

  objc::Class* platterView = objc_getClass("NCExpandedPlatterView");
  replace(platterView, "layoutSubviews", imp(&platterLayoutSubviews), &hostPlatterLayoutSubviews);

  objc::Class* cell = objc_getClass("_UIContextMenuCell");
  add(cell, "colorByAdjustingBrightness:amount:", imp(&colorByAdjustingBrightness), "@@:@d");
  replace(cell, "layoutSubviews", imp(&cellLayoutSubviews), &hostCellLayoutSubviews);
  add(cell, "adjustFramesForSubviews", imp(&adjustFramesForSubviews), "v@:");
  add(cell, "updateLabelColors", imp(&updateLabelColors), "v@:");

  objc::Class* backdrop = objc_getClass("_UIVisualEffectBackdropView");
  replace(backdrop, "layoutSubviews", imp(&backdropLayoutSubviews), &hostBackdropLayoutSubviews);
  add(backdrop,
      "applyCornerRadius:toAllSubviewsOfView:", imp(&applyCornerRadiusToAllSubviewsOfView),
      "v@:d@");
  add(backdrop, "applyCornerRadius:toView:", imp(&applyCornerRadiusToView), "v@:d@");

  objc::Class* reusable = objc_getClass("UICollectionReusableView");
  addProperty(reusable, {"hasCustomizedBackgroundColor",
                         {{"T", "B"}, {"N", ""}},
                         imp(&hasCustomizedBackgroundColor),
                         "B@:",
                         "setHasCustomizedBackgroundColor:",
                         imp(&setHasCustomizedBackgroundColor),
                         "v@:B"});
  add(reusable, "findMaterialViewInView:", imp(&findMaterialViewInView), "@@:@");
  add(reusable, "colorByAdjustingBrightness:amount:", imp(&colorByAdjustingBrightness), "@@:@d");
  replace(reusable, "layoutSubviews", imp(&reusableLayoutSubviews), &hostReusableLayoutSubviews);
  add(reusable, "customizeBackgroundColorLS", imp(&customizeBackgroundColorLS), "v@:");
  add(reusable, "customizeBackgroundColorHS", imp(&customizeBackgroundColorHS), "v@:");
  add(reusable, "shouldColorThinSeparatorsForHomeScreen",
      imp(&shouldColorThinSeparatorsForHomeScreen), "B@:");
  add(reusable, "isViewOrAncestorAContextMenuCell:", imp(&isViewOrAncestorAContextMenuCell),
      "B@:@");
  add(reusable, "applyModificationsConditionally", imp(&applyModificationsConditionally), "v@:");
  add(reusable, "shouldColorBoldSeparatorsForLockScreen",
      imp(&shouldColorBoldSeparatorsForLockScreen), "B@:");
  add(reusable, "shouldColorThinSeparatorsForLockScreen",
      imp(&shouldColorThinSeparatorsForLockScreen), "B@:");
  add(reusable, "customizeBackgroundColorBoldSeparators",
      imp(&customizeBackgroundColorBoldSeparators), "v@:");
  add(reusable, "shouldColorBoldSeparatorsForHomeScreen",
      imp(&shouldColorBoldSeparatorsForHomeScreen), "B@:");

  objc::Class* platterController = objc_getClass("NCExpandedPlatterViewController");
  replace(platterController, "viewWillLayoutSubviews", imp(&viewWillLayoutSubviews),
          &hostViewWillLayoutSubviews);
  add(platterController, "recursivelyChangeBackgroundForLabelsInView:",
      imp(&recursivelyChangeBackgroundForLabelsInView), "v@:@");

  objc::Class* vibrantSeparator = objc_getClass("_UIInterfaceActionVibrantSeparatorView");
  replace(vibrantSeparator, "layoutSubviews", imp(&vibrantSeparatorLayoutSubviews),
          &hostVibrantSeparatorLayoutSubviews);
}
