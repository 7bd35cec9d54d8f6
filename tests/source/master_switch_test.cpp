// The master switch `enabled`: off, the injected library leaves every call to the host as the
// host made it, so the screen is the one the host draws without the library; on, or absent
// from the file, everything is styled as set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

const std::string kPhotos = "com.vitrel.sample.photos";

// What a person sees of a long-press: the actions offered and the screen's pixels.
struct Scene {
  std::vector<std::string> titles;
  Bitmap picture;
};

bool samePixels(const Bitmap& a, const Bitmap& b) {
  return !a.empty() && a.byteCount() == b.byteCount() &&
         std::memcmp(a.pixels(), b.pixels(), a.byteCount()) == 0;
}

class MasterSwitchTest : public ::testing::Test {
 protected:
  // The host's own scenes are drawn before the library is loaded; the library then finds the
  // sample settings with the switch off.
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    setUpHost({});
    Result<AppCatalogue> samples =
        loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue = std::make_shared<const AppCatalogue>(std::move(samples).value());
    hostIconMenu = pressIcon();
    hostNotification = pressNotification();
    ASSERT_FALSE(hostIconMenu.picture.empty());
    injected_host::writeSettings(sampleSettings(false).get());
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
  }

  // The sample device's settings, which turn every feature on, with the switch as asked (none:
  // without the key, as in files written before it counted) and an action to remove.
  static Ref<NSDictionary> sampleSettings(std::optional<bool> enabled) {
    auto file =
        readPropertyListDictionary(std::filesystem::path(VITREL_SAMPLES_DIR) / "settings.plist");
    EXPECT_TRUE(file.ok());
    Ref<NSMutableDictionary> settings = NSMutableDictionary::mutableCopyOf(file.value().get());
    settings->removeObjectForKey("enabled");
    if (enabled) settings->setObject("enabled", NSNumber::numberWithBool(*enabled));
    settings->setObject("titlesToRemove", NSString::from("Share App"));
    return settings;
  }
  static void useSettings(std::optional<bool> enabled) {
    injected_host::writeSettings(sampleSettings(enabled).get());
    ASSERT_EQ(injected_host::reloadSettings(), 1u);
  }

  // A long-press on a fresh home screen, and what it shows.
  static Scene pressIcon() {
    screen = std::make_unique<HomeScreen>(catalogue);
    HomeScreen::OpenMenu menu = screen->pressIcon(screen->appIconView(kPhotos));
    return {menu.titles, renderView(screen->window(), 1)};
  }
  static Scene pressNotification() {
    screen = std::make_unique<HomeScreen>(catalogue);
    screen->showLockScreen(true);
    HomeScreen::OpenMenu menu = screen->pressNotification(kPhotos);
    Scene scene{menu.titles, renderView(screen->window(), 1)};
    screen->showLockScreen(false);
    return scene;
  }
  static Bitmap drawAgain() {
    screen->layoutPass();
    return renderView(screen->window(), 1);
  }

  static inline std::shared_ptr<const AppCatalogue> catalogue;
  static inline std::unique_ptr<HomeScreen> screen;
  static inline Scene hostIconMenu, hostNotification;
  static inline std::unique_ptr<SettingsProbe> probe;
};

}  // namespace

TEST_F(MasterSwitchTest, OffTheScreenIsTheHostsOwnAndNothingIsCaptured) {
  useSettings(false);
  Scene iconMenu = pressIcon();
  EXPECT_EQ(iconMenu.titles, hostIconMenu.titles) << "no action is removed";
  EXPECT_TRUE(samePixels(iconMenu.picture, hostIconMenu.picture));
  Scene notification = pressNotification();
  EXPECT_EQ(notification.titles, hostNotification.titles);
  EXPECT_TRUE(samePixels(notification.picture, hostNotification.picture));
  EXPECT_FALSE(probe->menuState().isSBContextMenu);
  EXPECT_EQ(probe->menuState().color, nullptr);
  EXPECT_EQ(probe->menuState().color2, nullptr);
  EXPECT_EQ(probe->menuState().bundleIdentifier, nullptr);
}

TEST_F(MasterSwitchTest, AFileWithoutTheSwitchStylesAsBefore) {
  useSettings(false);
  useSettings(std::nullopt);
  EXPECT_TRUE(probe->settings().enabled);
  Scene iconMenu = pressIcon();
  EXPECT_EQ(std::count(iconMenu.titles.begin(), iconMenu.titles.end(), "Share App"), 0);
  EXPECT_EQ(iconMenu.titles.size(), hostIconMenu.titles.size() - 1);
  EXPECT_FALSE(samePixels(iconMenu.picture, hostIconMenu.picture));
  ASSERT_TRUE(probe->menuState().bundleIdentifier);
  EXPECT_EQ(probe->menuState().bundleIdentifier->string(), kPhotos);
  EXPECT_FALSE(samePixels(pressNotification().picture, hostNotification.picture));
}

TEST_F(MasterSwitchTest, AReloadThatTurnsItOnStylesTheNextPass) {
  useSettings(false);
  Scene iconMenu = pressIcon();
  ASSERT_TRUE(samePixels(drawAgain(), hostIconMenu.picture));
  useSettings(true);
  EXPECT_FALSE(samePixels(drawAgain(), hostIconMenu.picture));
  // Off again, the next menu is the host's.
  useSettings(false);
  EXPECT_TRUE(samePixels(pressIcon().picture, hostIconMenu.picture));
}
