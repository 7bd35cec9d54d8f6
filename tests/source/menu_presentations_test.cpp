// Menus that come and go, and time: the library's footprint on a menu presented again, and on
// views its deferred animation completions still need.
#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/run_loop.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/ui_collection_view.h"
#include "source/menu_state.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

using objc::msgSend;
using objc::sel;

Ref<NSNumber> on() {
  return NSNumber::numberWithBool(true);
}

class MenuPresentationsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    injected_host::writeSettings(NSDictionary::from({{"colorHSBoldSeparators", on()}}).get());
    setUpHost({});
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
    auto samples = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue = std::make_shared<const AppCatalogue>(std::move(samples).value());
  }
  void TearDown() override { EXPECT_TRUE(UIView::finishAnimations()); }

  static Ref<UICollectionReusableView> sectionSeparator() {
    auto separator = objc::make<UICollectionReusableView>();
    separator->setReuseIdentifier(NSString::from("kContextMenuSectionSeparator"));
    return separator;
  }
  static bool customized(UICollectionReusableView* view) {
    return msgSend<bool>(view, sel("hasCustomizedBackgroundColor"));
  }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::shared_ptr<const AppCatalogue> catalogue;
};

using DeferredCompletionTest = MenuPresentationsTest;

TEST_F(DeferredCompletionTest, ASeparatorIsMarkedCustomisedOnlyOnceItsAnimationIsOver) {
  auto bold = sectionSeparator();
  bold->setBackgroundColor(UIColor::whiteColor());
  msgSend<void>(bold, sel("customizeBackgroundColorBoldSeparators"));
  // The colour is set at once; the mark waits for the end of the 0.3 s animation.
  EXPECT_EQ(bold->backgroundColor(), probe->menuState().color);
  EXPECT_FALSE(customized(bold.get()));
  EXPECT_EQ(UIView::pendingAnimationCompletions(), 1u);
  EXPECT_TRUE(UIView::finishAnimations());
  EXPECT_TRUE(customized(bold.get()));
}

TEST_F(DeferredCompletionTest, ACompletionOutlivesTheCallAndTheViewsOtherOwners) {
  {
    auto bold = sectionSeparator();
    msgSend<void>(bold, sel("customizeBackgroundColorBoldSeparators"));
  }
  // The separator's only other owner is gone, and so is the call that animated it: the
  // completion still finds it, on the loop's next turns.
  ASSERT_EQ(UIView::pendingAnimationCompletions(), 1u);
  EXPECT_TRUE(RunLoop::main().runUntil([] { return UIView::pendingAnimationCompletions() == 0; },
                                       std::chrono::seconds(10)));
}

}  // namespace
