// No exception out of the library reaches the host: a message the library sends that a host
// object cannot take (its method has other types) stops at the hook boundary, the host gets
// its own implementation's answer, and the device's log says what was stopped.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_string.h"
#include "platform/springboard/notification_views.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/springboard/sb_icon_view.h"
#include "platform/uikit/ui_collection_view.h"
#include "support/host_recorder.h"
#include "support/injected_host.h"

using objc::msgSend;
using objc::sel;

namespace {

using IconItems = HostRecorder<1, Ref<NSObject>>;
using ContainerView = HostRecorder<2, Ref<NSObject>, NSObject*>;
using PlatterControllerLayout = HostRecorder<3, void>;
using MenuLayout = HostRecorder<4, void>;

// A host subclass whose `selector` answers a number where the library expects an object.
objc::Class* defineNumberAnswering(const char* superclass, const char* name, const char* selector) {
  objc::Class* cls = objc_allocateClassPair(objc_getClass(superclass), name, 0);
  objc::addMethod(
      cls, selector, +[](NSObject*, SEL) -> long { return 7; });
  objc_registerClassPair(cls);
  return cls;
}

// The host before injection, with its few odd classes; then the library, which removes the
// shortcut titled "Remove App". Once per process.
class HookBoundaryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    injected_host::writeSettings(
        NSDictionary::from({{"titlesToRemove", NSString::from("Remove App")}}).get());
    setUpHost({});
    IconItems::install("SBIconView", "applicationShortcutItems");
    ContainerView::install("SBIconController", "containerViewForPresentingContextMenuForIconView:");
    PlatterControllerLayout::install("NCExpandedPlatterViewController", "viewWillLayoutSubviews");
    MenuLayout::install("_UIContextMenuView", "layoutSubviews");
    defineNumberAnswering("SBSApplicationShortcutItem", "UntitledShortcutItem", "localizedTitle");
    defineNumberAnswering("SBIconView", "FolderlessIconView", "folder");
    defineNumberAnswering("NCExpandedPlatterViewController", "ViewlessPlatterController", "view");
    defineNumberAnswering("UIView", "UndescribedView", "description");
    injected_host::loadLibrary(LIBRARY_PATH);
  }

  void SetUp() override {
    IconItems::calls = ContainerView::calls = PlatterControllerLayout::calls = 0;
  }

  template <class T>
  static Ref<T> make(const char* cls) {
    return objc::createInstance<T>(objc_getClass(cls));
  }

  // The boundary's line for a method, if it was logged.
  static bool stoppedIn(const LogCapture& log, const std::string& method) {
    const auto lines = log.lines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.starts_with("ZQK " + method + " stopped") &&
             line.find("NSInvalidArgumentException") != std::string::npos;
    });
  }
};

}  // namespace

TEST_F(HookBoundaryTest, ShortcutItemsTheLibraryCannotReadAreTheHostsItems) {
  auto iconView = objc::make<SBIconView>();
  iconView->setShortcutItems({SBSApplicationShortcutItem::itemWithTitle("Share App"),
                              SBSApplicationShortcutItem::itemWithTitle("Remove App")});
  EXPECT_EQ(msgSend<Ref<NSArray>>(iconView, sel("applicationShortcutItems"))->count(), 1u);

  iconView->setShortcutItems({SBSApplicationShortcutItem::itemWithTitle("Remove App"),
                              make<SBSApplicationShortcutItem>("UntitledShortcutItem")});
  LogCapture log;
  auto items = msgSend<Ref<NSArray>>(iconView, sel("applicationShortcutItems"));
  ASSERT_EQ(items->count(), 2u);
  EXPECT_EQ(IconItems::calls, 2);
  EXPECT_TRUE(stoppedIn(log, "-[SBIconView applicationShortcutItems]"));
}

TEST_F(HookBoundaryTest, FailureBeforeTheHostsCallStillReachesTheHost) {
  auto controller = SBIconController::sharedInstance();
  LogCapture log;
  auto container =
      msgSend<Ref<UIView>>(controller, sel("containerViewForPresentingContextMenuForIconView:"),
                           make<SBIconView>("FolderlessIconView"));
  EXPECT_EQ(container.get(), controller->contextMenuContainer());
  EXPECT_EQ(ContainerView::calls, 1);
  EXPECT_TRUE(
      stoppedIn(log, "-[SBIconController containerViewForPresentingContextMenuForIconView:]"));
}

TEST_F(HookBoundaryTest, FailureAfterTheHostsCallDoesNotRunTheHostAgain) {
  LogCapture log;
  msgSend<void>(make<UIViewController>("ViewlessPlatterController"), sel("viewWillLayoutSubviews"));
  EXPECT_EQ(PlatterControllerLayout::calls, 1);
  EXPECT_TRUE(stoppedIn(log, "-[ViewlessPlatterController viewWillLayoutSubviews]"));
}

TEST_F(HookBoundaryTest, AddedMethodThatFailsDoesNothingMore) {
  auto list = objc::make<UICollectionView>();
  auto undescribed = make<UIView>("UndescribedView");
  list->addSubview(undescribed);
  LogCapture log;
  msgSend<void>(list, sel("hideViewsMatchingSubstring:"), NSString::from("View"));
  EXPECT_FALSE(undescribed->isHidden());
  EXPECT_TRUE(stoppedIn(log, "-[UICollectionView hideViewsMatchingSubstring:]"));
}

TEST_F(HookBoundaryTest, TheHostsOwnExceptionPassesAsWithoutTheLibrary) {
  MenuLayout::raises = true;
  LogCapture log;
  EXPECT_THROW(msgSend<void>(make<UIView>("_UIContextMenuView"), sel("layoutSubviews")),
               objc::Exception);
  MenuLayout::raises = false;
  for (const std::string& line : log.lines())
    EXPECT_FALSE(line.starts_with("ZQK")) << line;
}
