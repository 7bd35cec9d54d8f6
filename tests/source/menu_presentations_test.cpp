// Menus that come and go, and time: the library's footprint on a menu presented again, and on
// views its deferred animation completions still need.
#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/process_info.h"
#include "platform/foundation/run_loop.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_collection_view.h"
#include "source/menu/menu_state.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

using objc::msgSend;
using objc::sel;

const std::string kMail = "com.vitrel.sample.mail", kPhotos = "com.vitrel.sample.photos";

Ref<NSNumber> on() {
  return NSNumber::numberWithBool(true);
}

UIView* firstOfClass(UIView* root, const char* className) {
  if (objc::isKindOf(root, objc_getClass(className))) return root;
  for (const auto& subview : root->subviews()) {
    if (UIView* found = firstOfClass(subview.get(), className)) return found;
  }
  return nullptr;
}

UICollectionReusableView* sectionSeparatorOf(UIView* menu) {
  auto* collection = firstOfClass(menu, "UICollectionView");
  for (const auto& item : collection ? collection->subviews() : std::vector<Ref<UIView>>{}) {
    auto* reusable = dynamic_cast<UICollectionReusableView*>(item.get());
    if (reusable && reusable->reuseIdentifier()) return reusable;
  }
  return nullptr;
}

// The screen as it shows once its animations are over.
Bitmap pictureOf(const HomeScreen& home) {
  UIView::finishAnimations();
  return renderView(home.window(), 1);
}

std::optional<RGBA> rgbaOf(const UIColor* color) {
  return color ? color->color().rgba() : std::nullopt;
}

bool samePicture(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::equal(a.pixels(), a.pixels() + 4 * size_t(a.width()) * a.height(), b.pixels());
}

class MenuPresentationsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    // Settings that leave the library's mark on every part of an icon's menu.
    auto number = [](double value) { return NSNumber::numberWithDouble(value); };
    injected_host::writeSettings(NSDictionary::from({{"colorHSBoldSeparators", on()},
                                                     {"colorHSThinSeparators", on()},
                                                     {"autoBackgroundColor", on()},
                                                     {"renderMode", on()},
                                                     {"elegantBorder", on()},
                                                     {"borderThicknessHS", number(3)},
                                                     {"cornerRadius", number(14)},
                                                     {"dynamicLabelColoring", on()},
                                                     {"HSapplySepWidth", on()},
                                                     {"sepWidth", number(12)},
                                                     {"HSapplySepThickness", on()},
                                                     {"septhickness", number(2)}})
                                     .get());
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

  // What a first presentation of the icon's menu draws, on a screen never pressed before.
  static Bitmap firstPresentation(const std::string& bundleIdentifier) {
    HomeScreen home(catalogue);
    home.pressIcon(home.appIconView(bundleIdentifier));
    return pictureOf(home);
  }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::shared_ptr<const AppCatalogue> catalogue;
};

using DeferredCompletionTest = MenuPresentationsTest;

TEST_F(MenuPresentationsTest, AMenuPresentedAgainIsDrawnAsItsFirstPresentation) {
  for (long version : {15, 16, 17}) {
    SCOPED_TRACE(version);
    NSProcessInfo::processInfo()->setOperatingSystemVersion({version, 0, 0});
    const Bitmap mail = firstPresentation(kMail), photos = firstPresentation(kPhotos);
    ASSERT_FALSE(samePicture(mail, photos));

    HomeScreen home(catalogue);
    home.pressIcon(home.appIconView(kMail));
    home.dismissMenu();
    home.pressIcon(home.appIconView(kMail));
    EXPECT_TRUE(samePicture(pictureOf(home), mail)) << "pressed again";
    home.presentAgain();
    EXPECT_TRUE(samePicture(pictureOf(home), mail)) << "presented again";
    home.pressIcon(home.appIconView(kPhotos));
    EXPECT_TRUE(samePicture(pictureOf(home), photos)) << "another icon";
  }
}

TEST_F(MenuPresentationsTest, ANotificationsMenuPresentedAgainIsDrawnAsItsFirstPresentation) {
  auto lockedAndPressed = [](HomeScreen& home, const std::string& bundleIdentifier) {
    home.showLockScreen(true);
    home.pressNotification(bundleIdentifier);
  };
  Bitmap photos;
  {
    HomeScreen fresh(catalogue);
    lockedAndPressed(fresh, kPhotos);
    photos = pictureOf(fresh);
  }
  // The lock screen's own notification controller outlives each of its menus.
  HomeScreen home(catalogue);
  lockedAndPressed(home, kMail);
  lockedAndPressed(home, kPhotos);
  home.presentAgain();
  EXPECT_TRUE(samePicture(pictureOf(home), photos));
}

TEST_F(MenuPresentationsTest, EachPresentationIsBuiltAnewAndLeavesWithItsContainer) {
  HomeScreen home(catalogue);
  const HomeScreen::OpenMenu first = home.pressIcon(home.appIconView(kMail));
  UIView* container = first.root->superview();
  ASSERT_TRUE(container);
  const Ref<UIColor> mailColour = probe->menuState().color;
  EXPECT_EQ(sectionSeparatorOf(first.root.get())->backgroundColor(), mailColour);

  home.dismissMenu();
  EXPECT_FALSE(first.root->superview());
  EXPECT_FALSE(container->superview());
  EXPECT_FALSE(firstOfClass(home.window(), "_UIContextMenuContainerView"));
  EXPECT_FALSE(home.openMenu());

  // The separators the new menu shows are its own, in the new icon's colour, their material
  // gone, whatever the last menu's separators kept.
  const HomeScreen::OpenMenu second = home.pressIcon(home.appIconView(kPhotos));
  EXPECT_EQ(second.root->superview(), container);
  EXPECT_EQ(container->superview(), home.window());
  UICollectionReusableView* separator = sectionSeparatorOf(second.root.get());
  ASSERT_TRUE(separator);
  EXPECT_NE(separator, sectionSeparatorOf(first.root.get()));
  EXPECT_EQ(separator->backgroundColor(), probe->menuState().color);
  EXPECT_NE(rgbaOf(probe->menuState().color.get()), rgbaOf(mailColour.get()));
  EXPECT_FALSE(firstOfClass(separator, "MTMaterialView"));
  EXPECT_TRUE(customized(separator));
}

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
