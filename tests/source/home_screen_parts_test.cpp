// What the injected library does around a long-press to the rest of the home screen: the
// dock, an open folder and web clips. Its hooks act on every view of their classes in the
// process, so these parts meet them as they would on the phone.
#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/process_info.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/rendering/image_context.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_screen.h"
#include "source/colors/image_quenby.h"
#include "source/menu/menu_state.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"
#include "support/view_search.h"

namespace {

using objc::msgSend;
using objc::sel;
using view_search::viewsOf;

const std::string kBooks = "com.vitrel.sample.books", kPhone = "com.vitrel.sample.phone";

std::optional<RGBA> rgbaOf(const UIColor* color) {
  return color ? color->color().rgba() : std::nullopt;
}

UIView* firstOf(UIView* root, const char* className) {
  std::vector<UIView*> found = viewsOf(root, className);
  return found.empty() ? nullptr : found.front();
}

bool anyHidden(UIView* root) {
  if (root->isHidden()) return true;
  for (const auto& subview : root->subviews()) {
    if (anyHidden(subview.get())) return true;
  }
  return false;
}

// The corner radii of the view and everything under it, in order.
std::vector<double> radii(UIView* root) {
  std::vector<double> found{root->layer()->cornerRadius()};
  for (const auto& subview : root->subviews()) {
    std::vector<double> below = radii(subview.get());
    found.insert(found.end(), below.begin(), below.end());
  }
  return found;
}

class HomeScreenPartsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    setUpHost({});
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
    Result<AppCatalogue> samples =
        loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue = std::make_shared<const AppCatalogue>(std::move(samples).value());
    home = std::make_unique<HomeScreen>(catalogue);
  }

  void SetUp() override {
    useSettings(NSDictionary::from(NSDictionary::Entries{}));
    NSProcessInfo::processInfo()->setOperatingSystemVersion({16, 0, 0});
    home->showLockScreen(false);
    home->closeFolder();
  }

  static void useSettings(const Ref<NSDictionary>& values) {
    injected_host::writeSettings(values.get());
    ASSERT_EQ(injected_host::reloadSettings(), 1u);
  }
  static const MenuState& state() { return probe->menuState(); }
  static UIView* dock() { return firstOf(home->window(), "SBDockView"); }
  static UIView* openFolder() { return firstOf(home->window(), "SBFolderContainerView"); }
  static std::optional<RGBA> dominant(const Ref<UIImage>& image) {
    return rgbaOf(mirraDominantColor(image.get()).get());
  }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::shared_ptr<const AppCatalogue> catalogue;
  static inline std::unique_ptr<HomeScreen> home;
};

}  // namespace

// The glass hook rounds every _UIVisualEffectBackdropView that lays out; the dock's and the
// folder's materials are backdrop layers of their own, so the radius the user chose reaches the
// menus held from them and leaves the dock and the folder as the system draws them.
TEST_F(HomeScreenPartsTest, TheCornerRadiusRoundsTheMenusGlassButNotTheDockOrTheFolder) {
  ASSERT_TRUE(dock());
  const std::vector<double> dockRadii = radii(dock());
  ASSERT_TRUE(home->openFolder("Reading"));
  const std::vector<double> folderRadii = radii(openFolder());
  home->closeFolder();

  useSettings(NSDictionary::from({{"elegantBorder", NSNumber::numberWithBool(true)},
                                  {"cornerRadius", NSNumber::numberWithDouble(30)}}));
  // Held from the dock, then from inside the open folder.
  for (const auto& [folder, app] : {std::pair{"", kPhone}, std::pair{"Reading", kBooks}}) {
    SCOPED_TRACE(app);
    if (*folder) {
      ASSERT_TRUE(home->openFolder(folder));
    }
    for (UIView* part : {dock(), openFolder()}) {
      if (part) {
        EXPECT_TRUE(viewsOf(part, "_UIVisualEffectBackdropView").empty());
      }
    }
    const HomeScreen::OpenMenu menu = home->pressIcon(home->appIconView(app));
    ASSERT_TRUE(menu.root);
    home->layoutPass();
    for (UIView* backdrop : viewsOf(menu.root.get(), "_UIVisualEffectBackdropView")) {
      EXPECT_EQ(backdrop->layer()->cornerRadius(), 30);
    }
    EXPECT_EQ(radii(dock()), dockRadii);
    if (*folder) {
      EXPECT_EQ(radii(openFolder()), folderRadii);
    }
    home->dismissMenu();
  }
}

// On 15 every collection view entering a window hides its reusable views, whatever the
// settings: the menu held in an open folder loses its separators, the folder (icon lists, not
// collection views) keeps everything it shows; on 16 the separators stay.
TEST_F(HomeScreenPartsTest, OnFifteenAMenuHeldInAFolderLosesItsSeparatorsAndTheFolderNothing) {
  for (long version : {15, 16}) {
    SCOPED_TRACE(version);
    NSProcessInfo::processInfo()->setOperatingSystemVersion({version, 0, 0});
    ASSERT_TRUE(home->openFolder("Reading"));
    EXPECT_TRUE(viewsOf(openFolder(), "UICollectionView").empty());
    const HomeScreen::OpenMenu menu = home->pressIcon(home->appIconView(kBooks));
    ASSERT_TRUE(menu.root);
    std::vector<UIView*> separators = viewsOf(menu.root.get(), "UICollectionReusableView");
    std::erase_if(separators, [](UIView* view) {
      return objc::isKindOf(view, objc_getClass("UICollectionViewCell"));
    });
    ASSERT_FALSE(separators.empty());
    for (UIView* separator : separators)
      EXPECT_EQ(separator->isHidden(), version == 15) << separator->descriptionText();
    EXPECT_FALSE(anyHidden(openFolder()));
    // The dock shows no names; its icons stay.
    for (UIView* icon : viewsOf(dock(), "SBIconView"))
      EXPECT_FALSE(anyHidden(msgSend<Ref<UIView>>(icon, sel("currentImageView")).get()));
    home->closeFolder();
  }
}

// A web clip has no bundle identifier: its menu is coloured from the artwork its image view
// shows; a folder whose first icon is a web clip, from a snapshot of the folder's icon.
TEST_F(HomeScreenPartsTest, AWebClipsMenuTakesTheColourOfItsOwnArtworkInEveryPlace) {
  const double scale = UIScreen::mainScreen()->scale();
  for (const WebClipEntry& clip : catalogue->webClips()) {
    SCOPED_TRACE(clip.name);
    home->closeFolder();
    const IconPlace place = catalogue->placeOf(
        {HomeScreenIcon::Kind::webClip, static_cast<size_t>(&clip - catalogue->webClips().data())});
    if (place.kind == IconPlace::Kind::folder) {
      ASSERT_TRUE(home->openFolder(place.folder));
    }
    ASSERT_TRUE(home->pressIcon(home->webClipIconView(clip.name)).root);
    EXPECT_FALSE(state().bundleIdentifier);
    ASSERT_TRUE(state().color);
    EXPECT_EQ(rgbaOf(state().color.get()), dominant(catalogue->webClipImage(clip.name, scale)));
  }
  home->closeFolder();

  SBIconView* reading = home->folderIconView("Reading");
  UIGraphicsBeginImageContextWithOptions(reading->bounds().size, false, 0.0);
  ASSERT_TRUE(drawViewHierarchy(reading, reading->bounds()));
  Ref<UIImage> snapshot = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  ASSERT_TRUE(home->pressIcon(reading).root);
  EXPECT_FALSE(state().bundleIdentifier);
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(snapshot));
  EXPECT_NE(rgbaOf(state().color.get()),
            dominant(catalogue->webClipImage(catalogue->webClips()[1].name, scale)));
}

TEST_F(HomeScreenPartsTest, ADockIconIsColouredByItsApp) {
  ASSERT_TRUE(home->pressIcon(home->appIconView(kPhone)).root);
  ASSERT_TRUE(state().bundleIdentifier);
  EXPECT_EQ(state().bundleIdentifier->string(), kPhone);
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(catalogue->iconImage(kPhone, 3)));
}
