// Notifications where the phone shows them, with the library injected: a banner long-pressed on
// the unlocked home screen, and the lock screen's list under the library's process-wide hooks.
// Built once per system version (OS_VERSION).
#include <gtest/gtest.h>

#include <tuple>

#include "platform/foundation/ns_number.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/sb_icon_controller.h"
#include "source/colors/image_quenby.h"
#include "source/menu/menu_state.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"
#include "support/view_search.h"

namespace {

using view_search::viewsOf;

const std::string kMail = "com.vitrel.sample.mail", kPhotos = "com.vitrel.sample.photos";

Ref<NSNumber> on() {
  return NSNumber::numberWithBool(true);
}
Ref<NSNumber> number(double value) {
  return NSNumber::numberWithDouble(value);
}

CGPoint middle(const CGRect& rect) {
  return {rect.minX() + rect.width() / 2, rect.minY() + rect.height() / 2};
}

class NotificationPlacesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    HostConfiguration host;
    host.osMajorVersion = OS_VERSION;
    setUpHost(host);
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
    Result<AppCatalogue> samples =
        loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue = std::make_shared<const AppCatalogue>(std::move(samples).value());
  }

  void SetUp() override { home = std::make_unique<HomeScreen>(catalogue); }
  void TearDown() override { home.reset(); }

  static void useSettings(NSDictionary::Entries entries) {
    injected_host::writeSettings(NSDictionary::from(std::move(entries)).get());
    ASSERT_EQ(injected_host::reloadSettings(), 1u);
  }
  static const MenuState& state() { return probe->menuState(); }
  static std::optional<RGBA> dominant(const std::string& bundleIdentifier) {
    Ref<UIImage> icon = catalogue->iconImage(bundleIdentifier, 3);
    Ref<UIColor> colour = mirraDominantColor(icon.get());
    return colour ? colour->color().rgba() : std::nullopt;
  }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::shared_ptr<const AppCatalogue> catalogue;
  std::unique_ptr<HomeScreen> home;
};

}  // namespace

TEST_F(NotificationPlacesTest, ABannersMenuIsANotificationsMenuUnderTheHomeScreensSettings) {
  useSettings({{"elegantBorder", on()},
               {"cornerRadius", number(12)},
               {"borderThicknessHS", number(2)},
               {"LSelegantBorder", on()},
               {"LScornerRadius", number(9)},
               {"borderThicknessLS", number(4)}});
  // An icon's menu first, so the icon's colour and the notification's differ.
  ASSERT_TRUE(home->pressIcon(home->appIconView(kPhotos)).root);
  ASSERT_TRUE(state().isSBContextMenu);
  ASSERT_TRUE(home->postBanner(kMail));
  home->layoutPass();
  const std::vector<PressTarget> banners = [&] {
    std::vector<PressTarget> found;
    for (const PressTarget& target : home->targets()) {
      if (target.kind == PressTarget::Kind::notification) found.push_back(target);
    }
    return found;
  }();
  ASSERT_EQ(banners.size(), 1u);
  std::optional<PressTarget> held = home->targetAt(middle(banners[0].frame));
  ASSERT_TRUE(held);
  ASSERT_EQ(held->name, kMail);

  ASSERT_TRUE(home->press(*held).root);
  EXPECT_FALSE(SBLockScreenManager::sharedInstance()->isLockScreenVisible());
  EXPECT_FALSE(state().isSBContextMenu);
  ASSERT_TRUE(state().color2);
  EXPECT_EQ(state().color2->color().rgba(), dominant(kMail));
  EXPECT_NE(state().color2->color().rgba(), state().color->color().rgba());
  const std::vector<UIView*> lists = viewsOf(home->window(), "_UIContextMenuListView");
  ASSERT_EQ(lists.size(), 1u);
  CALayer* layer = lists[0]->layer();
  EXPECT_EQ(layer->borderWidth(), 2);
  EXPECT_EQ(layer->cornerRadius(), 12);
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color2.get()));
  // The banner stays under its expanded form while the menu is open.
  EXPECT_EQ(viewsOf(home->window(), "NCNotificationShortLookView").size(), 1u);
}

TEST_F(NotificationPlacesTest, TheLockScreensListMeetsNoneOfTheMenuHooks) {
  useSettings({{"renderModeLS", on()},
               {"LSautoBackgroundColor", on()},
               {"LSelegantBorder", on()},
               {"borderThicknessLS", number(4)}});
  // What the host made of the list, before it enters the window.
  UIView* list = home->lockScreenList().view();
  const std::vector<UIView*> views = viewsOf(list, "UIView");
  std::vector<std::tuple<bool, double, Ref<UIColor>>> hosts;
  for (UIView* view : views)
    hosts.emplace_back(view->isHidden(), view->layer()->borderWidth(), view->backgroundColor());
  // The list is scroll views of plain cells on material: nothing for the collection-view hooks.
  EXPECT_TRUE(viewsOf(list, "UICollectionView").empty());
  EXPECT_TRUE(viewsOf(list, "UICollectionReusableView").empty());
  EXPECT_FALSE(viewsOf(list, "MTMaterialView").empty());

  home->showLockScreen(true);
  const std::vector<PressTarget> tops = home->targets();
  ASSERT_GE(tops.size(), 2u);
  ASSERT_TRUE(home->press(tops[1]).root);
  home->layoutPass();
  for (size_t i = 0; i < views.size(); ++i) {
    EXPECT_EQ(std::make_tuple(views[i]->isHidden(), views[i]->layer()->borderWidth(),
                              views[i]->backgroundColor()),
              hosts[i])
        << views[i]->descriptionText();
  }

  // The hooks did run in this process: the menu's own separators met the version's rule (on 15
  // a collection view entering a window loses them whatever the settings; from 16 these
  // settings hide none).
  const std::vector<UIView*> separators =
      viewsOf(home->window(), "_UIContextMenuReusableSeparatorView");
  ASSERT_FALSE(separators.empty());
  for (UIView* separator : separators)
    EXPECT_EQ(separator->isHidden(), OS_VERSION < 16);
}
