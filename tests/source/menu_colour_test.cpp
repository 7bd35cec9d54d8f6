// A long-press on the simulated home screen with the library injected: the colours it captures
// for icon menus and notifications, the actions it removes, and how it paints the expanded
// notification.
#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/ui_text_view.h"
#include "source/colors/image_quenby.h"
#include "source/colors/palette_cube.h"
#include "source/menu/menu_state.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

using objc::msgSend;
using objc::sel;

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps",
                  kPhotos = "com.vitrel.sample.photos";

std::optional<RGBA> rgbaOf(const UIColor* color) {
  return color ? color->color().rgba() : std::nullopt;
}

Ref<NSNumber> on() {
  return NSNumber::numberWithBool(true);
}

// Every view under root (root included) of the named runtime class or a subclass.
void collect(UIView* root, objc::Class* cls, std::vector<UIView*>& found) {
  if (objc::isKindOf(root, cls)) found.push_back(root);
  for (const auto& subview : root->subviews())
    collect(subview.get(), cls, found);
}
std::vector<UIView*> viewsOf(UIView* root, const char* className) {
  std::vector<UIView*> found;
  collect(root, objc_getClass(className), found);
  return found;
}

// Whether the host's expanded container was built while a home-screen menu was still marked
// open; recorded by a stand-in for the host's method, installed beneath the library's.
const MenuState* observedState = nullptr;
bool builtWhileMarkedAsIconMenu = false;
objc::Imp hostContainer;

Ref<UIView> recordingContainer(NCNotificationShortLookViewController* self, SEL cmd) {
  builtWhileMarkedAsIconMenu = observedState && observedState->isSBContextMenu;
  return hostContainer.call<Ref<UIView>>(self, cmd);
}

class InjectedHomeScreenTest : public ::testing::Test {
 protected:
  // Once for the process, whichever suite comes first: the library loads once.
  static void SetUpTestSuite() {
    if (home) return;
    injected_host::enterFreshDevice();
    setUpHost({});
    MSHookMessageEx(objc_getClass("NCNotificationShortLookViewController"),
                    sel("containerViewForExpandedContent"), objc::Imp::of(recordingContainer),
                    &hostContainer);
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
    observedState = &probe->menuState();
    Result<AppCatalogue> samples =
        loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue = std::make_shared<const AppCatalogue>(std::move(samples).value());
    home = std::make_unique<HomeScreen>(catalogue);
  }

  // Settings as the settings bundle writes them, reloaded by the library.
  static void useSettings(const Ref<NSDictionary>& values) {
    injected_host::writeSettings(values.get());
    ASSERT_EQ(injected_host::reloadSettings(), 1u);
  }
  void SetUp() override { useSettings(NSDictionary::from(NSDictionary::Entries{})); }

  static const MenuState& state() { return probe->menuState(); }
  static Ref<UIImage> icon(const std::string& bundleIdentifier) {
    return catalogue->iconImage(bundleIdentifier, 3);
  }
  static std::optional<RGBA> dominant(const std::string& bundleIdentifier) {
    return rgbaOf(mirraDominantColor(icon(bundleIdentifier).get()).get());
  }
  // The colorizer's icon colour: the most frequent bright colour that is not near white.
  static std::optional<RGBA> colorizerColour(const std::string& bundleIdentifier) {
    PCPaletteCube cube;
    auto colours = cube.extractColorsFromImage(icon(bundleIdentifier).get(),
                                               PCFlagBrightOnly | PCFlagAvoidWhite, 1);
    return colours.empty() ? std::nullopt : rgbaOf(colours.front().get());
  }
  static HomeScreen::OpenMenu press(const std::string& bundleIdentifier) {
    return home->pressIcon(home->appIconView(bundleIdentifier));
  }
  // An icon view of a plain icon (no app, no artwork) showing only a background colour.
  static Ref<SBIconView> blankIconView(const CGRect& frame, Ref<UIColor> background) {
    auto view = objc::make<SBIconView>();
    view->setIcon(objc::make<SBIcon>());
    view->setFrame(frame);
    view->setBackgroundColor(std::move(background));
    return view;
  }
  // What a long-press asks first, for an icon view that is not on the home screen.
  static void pressDirectly(SBIconView* iconView) {
    Ref<NSObject> controller =
        msgSend<Ref<NSObject>>(objc_getClass("SBIconController"), sel("sharedInstance"));
    msgSend<Ref<UIView>>(controller, sel("containerViewForPresentingContextMenuForIconView:"),
                         iconView);
  }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::shared_ptr<const AppCatalogue> catalogue;
  static inline std::unique_ptr<HomeScreen> home;
};

using IconMenuTest = InjectedHomeScreenTest;
using NotificationTest = InjectedHomeScreenTest;

}  // namespace

TEST_F(IconMenuTest, AFolderIsColouredByItsFirstApp) {
  const FolderEntry& folder = catalogue->folders().front();
  home->pressIcon(home->folderIconView(folder.name));
  ASSERT_TRUE(state().bundleIdentifier);
  EXPECT_EQ(state().bundleIdentifier->string(), folder.bundleIdentifiers.front());
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(folder.bundleIdentifiers.front()));
  EXPECT_TRUE(state().isSBContextMenu);
}

TEST_F(IconMenuTest, TheColourMethodSettingChoosesDominantOrColorizer) {
  ASSERT_NE(dominant(kMaps), colorizerColour(kMaps)) << "pick an icon the two methods tell apart";
  press(kMaps);
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(kMaps));
  useSettings(NSDictionary::from({{"colorMethodTavrelHS", NSString::from("colorMethodTavrel")}}));
  press(kMaps);
  EXPECT_EQ(rgbaOf(state().color.get()), colorizerColour(kMaps));
  useSettings(NSDictionary::from({{"colorMethodTavrelHS", NSString::from("colorMethodDominant")}}));
  press(kMaps);
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(kMaps));
}

TEST_F(IconMenuTest, TwoPressesInARowLeaveTheSecondIconsColour) {
  ASSERT_NE(dominant(kMail), dominant(kPhotos));
  press(kMail);
  press(kPhotos);
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(kPhotos));
  EXPECT_EQ(state().bundleIdentifier->string(), kPhotos);
}

TEST_F(IconMenuTest, AnIconWithoutArtworkIsColouredFromASnapshotOfItsView) {
  auto iconView = blankIconView(CGRectMake(0, 0, 76, 84), UIColor::colorWithRed(0, 0.2, 0.9, 1));
  // A second, small colour: an image of one colour has no dominant one.
  auto mark = objc::make<UIView>();
  mark->setFrame(CGRectMake(4, 4, 10, 10));
  mark->setBackgroundColor(UIColor::whiteColor());
  iconView->addSubview(mark);
  pressDirectly(iconView.get());
  EXPECT_FALSE(state().bundleIdentifier);
  std::optional<RGBA> colour = rgbaOf(state().color.get());
  ASSERT_TRUE(colour);
  EXPECT_NEAR(colour->red, 0, 0.02);
  EXPECT_NEAR(colour->green, 0.2, 0.02);
  EXPECT_NEAR(colour->blue, 0.9, 0.02);

  // A view too small to snapshot gives no image: the last colour stays.
  press(kMail);
  pressDirectly(blankIconView(CGRectZero, UIColor::whiteColor()).get());
  EXPECT_EQ(rgbaOf(state().color.get()), dominant(kMail));
}

TEST_F(IconMenuTest, TitlesToRemoveAreMatchedExactlyAndReadAfreshEachTime) {
  // Read from the file on every request: no reload needed.
  injected_host::writeSettings(
      NSDictionary::from({{"titlesToRemove", NSString::from("Favorites;Share App")}}).get());
  std::vector<std::string> titles = press(kPhotos).titles;
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "Favorites"), 0);
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "Share App"), 0);
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "Most Recent"), 1);

  injected_host::writeSettings(
      NSDictionary::from({{"titlesToRemove", NSString::from(" Favorites")}}).get());
  titles = press(kPhotos).titles;
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "Favorites"), 1);
}

TEST_F(IconMenuTest, AnEmptySettingRemovesOnlyUntitledActions) {
  auto iconView = blankIconView(CGRectMake(0, 0, 76, 84), nullptr);
  iconView->setShortcutItems({SBSApplicationShortcutItem::itemWithTitle(""),
                              SBSApplicationShortcutItem::itemWithTitle("Keep")});
  auto titlesShown = [&] {
    std::vector<std::string> titles;
    Ref<NSArray> items = msgSend<Ref<NSArray>>(iconView, sel("applicationShortcutItems"));
    for (const auto& item : *items) {
      titles.push_back(msgSend<Ref<NSString>>(item, sel("localizedTitle"))->string());
    }
    return titles;
  };
  EXPECT_EQ(titlesShown(), std::vector<std::string>{"Keep"});  // no setting at all
  injected_host::writeSettings(NSDictionary::from({{"titlesToRemove", NSString::from("")}}).get());
  EXPECT_EQ(titlesShown(), std::vector<std::string>{"Keep"});
}

TEST_F(NotificationTest, TheSubordinateIconStandsInForAMissingProminentOne) {
  auto controller = objc::make<NCNotificationShortLookViewController>();
  controller->setNotificationRequest(
      NCNotificationRequest::requestWithSection(kMail, "Mail", "Hi"));
  controller->viewForPreview()->notificationContentView()->setSubordinateIcon(icon(kMaps));
  msgSend<void>(controller, sel("viewDidAppear:"), true);
  EXPECT_EQ(rgbaOf(state().color2.get()), dominant(kMaps));

  // No icon at all: nil, not the previous colour.
  controller->viewForPreview()->notificationContentView()->setSubordinateIcon(nullptr);
  msgSend<void>(controller, sel("viewDidAppear:"), true);
  EXPECT_FALSE(state().color2);
}

TEST_F(NotificationTest, ExpandingClearsTheIconMenuMarkBeforeTheHostBuildsItsContainer) {
  press(kMail);
  ASSERT_TRUE(state().isSBContextMenu);
  home->pressNotification(kMaps);
  EXPECT_FALSE(builtWhileMarkedAsIconMenu);
  EXPECT_FALSE(state().isSBContextMenu);
  EXPECT_EQ(rgbaOf(state().color2.get()), dominant(kMaps));
  useSettings(NSDictionary::from({{"colorMethodTavrel", NSString::from("colorMethodTavrel")}}));
  home->pressNotification(kMaps);
  EXPECT_EQ(rgbaOf(state().color2.get()), colorizerColour(kMaps));
}

TEST_F(NotificationTest, ThePlatterIsPaintedAtTheNextLayoutPassOnceTheSettingIsOn) {
  home->pressNotification(kMail);
  std::vector<UIView*> platters = viewsOf(home->window(), "NCExpandedPlatterView");
  ASSERT_FALSE(platters.empty());
  UIView* platter = platters.back();
  std::vector<UIView*> painted;  // the third level: scroll view → view → these
  for (const auto& scroll : platter->subviews()) {
    if (!objc::isKindOf(scroll.get(), objc_getClass("UIScrollView"))) continue;
    for (const auto& level2 : scroll->subviews()) {
      for (const auto& level3 : level2->subviews())
        painted.push_back(level3.get());
    }
  }
  ASSERT_FALSE(painted.empty());
  for (UIView* view : painted)
    EXPECT_NE(rgbaOf(view->backgroundColor().get()), dominant(kMail));

  useSettings(NSDictionary::from({{"colorExpanded3DBackground", on()}}));
  home->layoutPass();
  for (UIView* view : painted)
    EXPECT_EQ(rgbaOf(view->backgroundColor().get()), dominant(kMail));
  // The levels above are left alone.
  EXPECT_NE(rgbaOf(platter->subviews().front()->backgroundColor().get()), dominant(kMail));
}

TEST_F(NotificationTest, LabelsAndTextCanvasesAreRecolouredAtAnyDepth) {
  useSettings(NSDictionary::from(
      {{"dynamicHeaderTitleLSColoring", on()}, {"dynamicMessageLSColoring", on()}}));
  home->pressNotification(kPhotos);
  UIView* platter = viewsOf(home->window(), "NCExpandedPlatterView").back();
  std::vector<UIView*> canvases = viewsOf(platter, "_UITextViewCanvasView");
  ASSERT_FALSE(canvases.empty());
  auto nested = objc::make<UILabel>();  // deep inside a text canvas's subtree
  canvases.front()->addSubview(nested);
  home->layoutPass();

  std::vector<UIView*> labels = viewsOf(platter, "UILabel");
  ASSERT_GE(labels.size(), 2u);
  for (UIView* label : labels) {
    EXPECT_EQ(rgbaOf(static_cast<UILabel*>(label)->textColor().get()), dominant(kPhotos));
  }
  for (UIView* canvas : canvases)
    EXPECT_EQ(canvas->layer()->contentsMultiplyColor()->rgba(), dominant(kPhotos));
}
