// Loads the real library into a simulated home screen and checks every row of its hook table.
// Built twice: with every host class, and with a host that lacks MISSING_CLASS.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/ns_number.h"
#include "platform/springboard/notification_views.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/springboard/sb_icon_view.h"
#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_visual_effect_view.h"
#include "support/host_recorder.h"
#include "support/injected_host.h"

using objc::msgSend;
using objc::sel;

namespace {

template <int Row, class R, class... Args>
using Recorder = HostRecorder<Row, R, Args...>;

using IconItems = Recorder<1, Ref<NSObject>>;
using DidMoveToWindow = Recorder<2, void>;
using ContainerView = Recorder<7, Ref<NSObject>, NSObject*>;
using MenuLayout = Recorder<8, void>;
using ListLayout = Recorder<10, void>;
using ViewDidAppear = Recorder<12, void, bool>;
using ExpandedContainer = Recorder<13, Ref<NSObject>>;
using PlatterLayout = Recorder<14, void>;
using CellLayout = Recorder<16, void>;
using BackdropLayout = Recorder<19, void>;
using ReusableLayout = Recorder<25, void>;
using PlatterControllerLayout = Recorder<35, void>;
using VibrantLayout = Recorder<37, void>;

struct AddedRow {
  const char* cls;
  const char* selector;
  const char* types;
};

// Rows of the table that add methods, property accessors included.
const std::vector<AddedRow> kAddedRows = {
    {"UICollectionView", "hideViewsMatchingSubstring:", "v@:@"},
    {"UICollectionView", "adjustSeparatorForiOS16AndAbove", "v@:"},
    {"UICollectionView", "adjustSeparatorForiOS15AndBelow", "v@:"},
    {"UICollectionView", "handleSeparatorVisibilityForNonLockScreen", "v@:"},
    {"_UIContextMenuListView", "colorByAdjustingBrightness:amount:", "@@:@d"},
    {"NCNotificationShortLookViewController", "tavrelView", "@@:"},
    {"NCNotificationShortLookViewController", "setTavrelView:", "v@:@"},
    {"_UIContextMenuCell", "colorByAdjustingBrightness:amount:", "@@:@d"},
    {"_UIContextMenuCell", "adjustFramesForSubviews", "v@:"},
    {"_UIContextMenuCell", "updateLabelColors", "v@:"},
    {"_UIVisualEffectBackdropView", "applyCornerRadius:toAllSubviewsOfView:", "v@:d@"},
    {"_UIVisualEffectBackdropView", "applyCornerRadius:toView:", "v@:d@"},
    {"UICollectionReusableView", "hasCustomizedBackgroundColor", "B@:"},
    {"UICollectionReusableView", "setHasCustomizedBackgroundColor:", "v@:B"},
    {"UICollectionReusableView", "findMaterialViewInView:", "@@:@"},
    {"UICollectionReusableView", "colorByAdjustingBrightness:amount:", "@@:@d"},
    {"UICollectionReusableView", "customizeBackgroundColorLS", "v@:"},
    {"UICollectionReusableView", "customizeBackgroundColorHS", "v@:"},
    {"UICollectionReusableView", "shouldColorThinSeparatorsForHomeScreen", "B@:"},
    {"UICollectionReusableView", "isViewOrAncestorAContextMenuCell:", "B@:@"},
    {"UICollectionReusableView", "applyModificationsConditionally", "v@:"},
    {"UICollectionReusableView", "shouldColorBoldSeparatorsForLockScreen", "B@:"},
    {"UICollectionReusableView", "shouldColorThinSeparatorsForLockScreen", "B@:"},
    {"UICollectionReusableView", "customizeBackgroundColorBoldSeparators", "v@:"},
    {"UICollectionReusableView", "shouldColorBoldSeparatorsForHomeScreen", "B@:"},
    {"NCExpandedPlatterViewController", "recursivelyChangeBackgroundForLabelsInView:", "v@:@"},
};

bool hostHas(const char* cls) {
  return std::string(cls) != MISSING_CLASS;
}

// The host as it is before injection, with a recorder under each replaced method; then the
// library. Once per process.
class HookTableTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    HostConfiguration host;
    if (std::string(MISSING_CLASS) != "") host.missingClasses.insert(MISSING_CLASS);
    setUpHost(host);
    IconItems::install("SBIconView", "applicationShortcutItems");
    DidMoveToWindow::install("UICollectionView", "didMoveToWindow");
    ContainerView::install("SBIconController", "containerViewForPresentingContextMenuForIconView:");
    MenuLayout::install("_UIContextMenuView", "layoutSubviews");
    ListLayout::install("_UIContextMenuListView", "layoutSubviews");
    ViewDidAppear::install("NCNotificationShortLookViewController", "viewDidAppear:");
    ExpandedContainer::install("NCNotificationShortLookViewController",
                               "containerViewForExpandedContent");
    PlatterLayout::install("NCExpandedPlatterView", "layoutSubviews");
    CellLayout::install("_UIContextMenuCell", "layoutSubviews");
    BackdropLayout::install("_UIVisualEffectBackdropView", "layoutSubviews");
    ReusableLayout::install("UICollectionReusableView", "layoutSubviews");
    PlatterControllerLayout::install("NCExpandedPlatterViewController", "viewWillLayoutSubviews");
    VibrantLayout::install("_UIInterfaceActionVibrantSeparatorView", "layoutSubviews");
    hostImps() = currentImps();
    injected_host::loadLibrary(LIBRARY_PATH);
  }

  struct Replaced {
    const char* cls;
    const char* selector;
  };
  static inline const std::vector<Replaced> kReplacedRows = {
      {"SBIconView", "applicationShortcutItems"},
      {"UICollectionView", "didMoveToWindow"},
      {"SBIconController", "containerViewForPresentingContextMenuForIconView:"},
      {"_UIContextMenuView", "layoutSubviews"},
      {"_UIContextMenuListView", "layoutSubviews"},
      {"NCNotificationShortLookViewController", "viewDidAppear:"},
      {"NCNotificationShortLookViewController", "containerViewForExpandedContent"},
      {"NCExpandedPlatterView", "layoutSubviews"},
      {"_UIContextMenuCell", "layoutSubviews"},
      {"_UIVisualEffectBackdropView", "layoutSubviews"},
      {"UICollectionReusableView", "layoutSubviews"},
      {"NCExpandedPlatterViewController", "viewWillLayoutSubviews"},
      {"_UIInterfaceActionVibrantSeparatorView", "layoutSubviews"},
  };

  static std::vector<objc::Imp> currentImps() {
    std::vector<objc::Imp> imps;
    for (const auto& row : kReplacedRows) {
      imps.push_back(method_getImplementation(
          class_getInstanceMethod(objc_getClass(row.cls), sel(row.selector))));
    }
    return imps;
  }
  static std::vector<objc::Imp>& hostImps() {
    static std::vector<objc::Imp> imps;
    return imps;
  }

  template <class T = UIView>
  static Ref<T> make(const char* cls) {
    return objc::createInstance<T>(objc_getClass(cls));
  }

  // Lays out a view with one subview and says whether the subview now fills it, as the host's
  // own layout makes it.
  static bool hostFilledSubview(const char* cls) {
    Ref<UIView> view = make(cls);
    view->setFrame(CGRectMake(0, 0, 120, 40));
    auto child = objc::make<UIView>();
    view->addSubview(child);
    msgSend<void>(view, sel("layoutSubviews"));
    return child->frame() == CGRectMake(0, 0, 120, 40);
  }
};

}  // namespace

TEST_F(HookTableTest, EveryReplacedMethodOfTheHostIsReplaced) {
  std::vector<objc::Imp> now = currentImps();
  for (size_t i = 0; i < kReplacedRows.size(); ++i) {
    const auto& row = kReplacedRows[i];
    if (!hostHas(row.cls)) {
      EXPECT_EQ(objc_getClass(row.cls), nullptr);
      continue;
    }
    EXPECT_TRUE(now[i]) << row.cls << " " << row.selector;
    EXPECT_FALSE(now[i] == hostImps()[i]) << row.cls << " " << row.selector << " not replaced";
  }
}

TEST_F(HookTableTest, IconMenuReplacementsReachTheHost) {
  auto iconView = objc::make<SBIconView>();
  iconView->setShortcutItems({SBSApplicationShortcutItem::itemWithTitle("Share App"),
                              SBSApplicationShortcutItem::itemWithTitle("Remove App")});
  auto items = msgSend<Ref<NSArray>>(iconView, sel("applicationShortcutItems"));
  EXPECT_EQ(IconItems::calls, 1);
  ASSERT_EQ(items->count(), 2u);

  auto controller = SBIconController::sharedInstance();
  auto container = msgSend<Ref<UIView>>(
      controller, sel("containerViewForPresentingContextMenuForIconView:"), iconView);
  EXPECT_EQ(ContainerView::calls, 1);
  EXPECT_EQ(container.get(), controller->contextMenuContainer());
}

TEST_F(HookTableTest, LayoutReplacementsReachTheHost) {
  EXPECT_TRUE(hostFilledSubview("_UIContextMenuView"));
  EXPECT_TRUE(hostFilledSubview("_UIContextMenuListView"));
  EXPECT_TRUE(hostFilledSubview("NCExpandedPlatterView"));
  EXPECT_EQ(MenuLayout::calls, 1);
  EXPECT_EQ(ListLayout::calls, 1);
  EXPECT_EQ(PlatterLayout::calls, 1);

  auto cell = make<UICollectionViewCell>("_UIContextMenuCell");
  cell->setFrame(CGRectMake(0, 0, 200, 44));
  cell->layoutIfNeeded();
  EXPECT_EQ(cell->contentView()->frame(), CGRectMake(0, 0, 200, 44));
  EXPECT_EQ(CellLayout::calls, 1);

  auto effectView = objc::make<UIVisualEffectView>();
  effectView->setFrame(CGRectMake(0, 0, 250, 300));
  auto backdrop = make("_UIVisualEffectBackdropView");
  effectView->addSubview(backdrop);
  effectView->layoutIfNeeded();
  EXPECT_EQ(backdrop->frame(), CGRectMake(0, 0, 250, 300));
  EXPECT_EQ(BackdropLayout::calls, 1);

  msgSend<void>(objc::make<UICollectionReusableView>(), sel("layoutSubviews"));
  msgSend<void>(objc::make<UICollectionView>(), sel("didMoveToWindow"));
  EXPECT_EQ(DidMoveToWindow::calls, 1);
  EXPECT_GE(ReusableLayout::calls, 1);

  if (hostHas("_UIInterfaceActionVibrantSeparatorView")) {
    auto separator = make("_UIInterfaceActionVibrantSeparatorView");
    msgSend<void>(separator, sel("layoutSubviews"));
    EXPECT_EQ(VibrantLayout::calls, 1);
    EXPECT_DOUBLE_EQ(separator->frame().size.height, 1.0 / 3.0);
  }
}

TEST_F(HookTableTest, NotificationReplacementsReachTheHost) {
  auto shortLook = objc::make<NCNotificationShortLookViewController>();
  shortLook->appear(true);
  EXPECT_EQ(ViewDidAppear::calls, 1);
  auto container = msgSend<Ref<UIView>>(shortLook, sel("containerViewForExpandedContent"));
  EXPECT_EQ(ExpandedContainer::calls, 1);
  EXPECT_EQ(container.get(), shortLook->expandedContentContainer());

  auto platter = make<UIViewController>("NCExpandedPlatterViewController");
  auto parent = objc::make<UIView>();
  parent->setFrame(CGRectMake(0, 0, 300, 500));
  parent->addSubview(platter->view());
  platter->layoutIfNeeded();
  EXPECT_EQ(PlatterControllerLayout::calls, 1);
  EXPECT_EQ(platter->view()->frame(), CGRectMake(0, 0, 300, 500));
}

TEST_F(HookTableTest, EveryAddedMethodAnswersWithItsEncoding) {
  for (const auto& row : kAddedRows) {
    objc::Class* cls = objc_getClass(row.cls);
    if (!hostHas(row.cls)) continue;
    const objc::Method* method = class_getInstanceMethod(cls, sel(row.selector));
    ASSERT_NE(method, nullptr) << row.cls << " " << row.selector;
    EXPECT_STREQ(method_getTypeEncoding(method), row.types) << row.cls << " " << row.selector;
  }
}

TEST_F(HookTableTest, PropertiesCarryTheirAttributes) {
  EXPECT_STREQ(property_getAttributes(class_getProperty(
                   objc_getClass("NCNotificationShortLookViewController"), "tavrelView")),
               "T@\"UIView\",&,N");
  EXPECT_STREQ(property_getAttributes(class_getProperty(objc_getClass("UICollectionReusableView"),
                                                        "hasCustomizedBackgroundColor")),
               "TB,N");
}

TEST_F(HookTableTest, CustomizedBackgroundFlagReadsFalseUntilSet) {
  auto separator = objc::make<UICollectionReusableView>();
  SEL getter = sel("hasCustomizedBackgroundColor"),
      setter = sel("setHasCustomizedBackgroundColor:");
  EXPECT_FALSE(msgSend<bool>(separator, getter));
  msgSend<void>(separator, setter, true);
  EXPECT_TRUE(msgSend<bool>(separator, getter));
  msgSend<void>(separator, setter, false);
  EXPECT_FALSE(msgSend<bool>(separator, getter));
  EXPECT_FALSE(msgSend<bool>(objc::make<UICollectionReusableView>(), getter))
      << "each view has its own flag";
}

TEST_F(HookTableTest, TavrelViewKeepsItsViewAliveUntilReplacedOrTheControllerDies) {
  auto controller = objc::make<NCNotificationShortLookViewController>();
  SEL getter = sel("tavrelView"), setter = sel("setTavrelView:");
  EXPECT_EQ(msgSend<Ref<UIView>>(controller, getter), nullptr);
  auto first = objc::make<UIView>();
  msgSend<void>(controller, setter, first);
  EXPECT_EQ(first->retainCount(), 2u) << "held by the test and the controller";
  EXPECT_EQ(msgSend<Ref<UIView>>(controller, getter), first);
  msgSend<void>(controller, setter, objc::make<UIView>());
  EXPECT_EQ(first->retainCount(), 1u) << "released when replaced";
  auto second = msgSend<Ref<UIView>>(controller, getter);
  EXPECT_EQ(second->retainCount(), 2u);
  controller = nullptr;
  EXPECT_EQ(second->retainCount(), 1u) << "released with the controller";
}
