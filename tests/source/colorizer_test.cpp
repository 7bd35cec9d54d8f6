#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/foundation/device.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/run_loop.h"
#include "source/colorizer/tavrel2_colorizer.h"

namespace {

Ref<NSObject> yes(bool value) {
  return NSNumber::numberWithBool(value);
}
Ref<NSObject> number(double value) {
  return NSNumber::numberWithDouble(value);
}
Ref<NSObject> text(const char* value) {
  return NSString::from(value);
}

// The shared manager lives in a device folder of this test program's own.
class ColorizerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string folder = (std::filesystem::temp_directory_path() / "vitrel-tavrel-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    device::setDirectory(folder);
  }

  static Tavrel2PrefsManager* manager() { return Tavrel2PrefsManager::sharedInstance(); }
  static void set(const std::string& key, Ref<NSObject> value) {
    ASSERT_TRUE(manager()->setObject(key, std::move(value)));
  }

  // An app whose icon is a flat, bright colour.
  static Tavrel2Colorizer colorizerWithIcon(uint8_t r, uint8_t g, uint8_t b) {
    auto colorizer = Tavrel2Colorizer::initWithIdentifier(NSString::from("com.example.app"));
    colorizer.setAppIcon(flatIcon(r, g, b));
    return colorizer;
  }
  static Ref<UIImage> flatIcon(uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i)
      pixels.insert(pixels.end(), {r, g, b, 255});
    return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(4, 4, pixels));
  }
  static Ref<UIView> viewWithLine() {
    auto view = objc::make<UIView>();
    view->setFrame(CGRectMake(0, 0, 300, 80));
    view->layer()->addSublayer(objc::make<CALayer>());
    view->layer()->addSublayer(objc::make<CALayer>());
    return view;
  }
};

}  // namespace

namespace {

// The parts of a notification that the colorizer may colour.
constexpr const char* kParts[] = {"background", "border",  "shadow", "line",
                                  "title",      "message", "date"};

// A registered default read as a switch: a boolean, or a failure.
bool switchedOn(const NSDictionary* defaults, const std::string& key) {
  auto* value = dynamic_cast<const NSNumber*>(defaults->objectForKey(key).get());
  EXPECT_TRUE(value && value->isBoolean()) << key << " is not a switch";
  return value && value->boolValue();
}

std::string textOf(const NSDictionary* defaults, const std::string& key) {
  Ref<NSObject> value = defaults->objectForKey(key);
  return value ? describe(value.get()) : "(none)";
}

}  // namespace

// A user who stored nothing gets a colorizer that is on and yet leaves every notification as
// the system draws it, in the system's appearance.
TEST_F(ColorizerTest, WithNothingStoredNothingIsRestyled) {
  Ref<NSDictionary> defaults = Tavrel2PrefsManager::registeredDefaults();
  EXPECT_TRUE(switchedOn(defaults.get(), "enabled"));
  for (const std::string part : kParts)
    EXPECT_FALSE(switchedOn(defaults.get(), part + "Enabled")) << part;
  for (const char* key : {"appIconHidden", "appIconCornerRadiusCircle", "backgroundBlurHidden",
                          "stackDimmingViewHidden", "cornerRadiusEnabled"})
    EXPECT_FALSE(switchedOn(defaults.get(), key)) << key;
  EXPECT_EQ(textOf(defaults.get(), "appearance"), "default");
}

// Switching a part on is all it takes to see the app's colour: the icon's, opaque, but for the
// background, through which half of the platter still shows.
TEST_F(ColorizerTest, APartSwitchedOnAloneTakesTheIconsColour) {
  Ref<NSDictionary> defaults = Tavrel2PrefsManager::registeredDefaults();
  for (const std::string part : kParts)
    EXPECT_EQ(textOf(defaults.get(), part + "Type"), "icon") << part;
  EXPECT_EQ(manager()->alphaValueForKey("backgroundIconAlpha", nullptr), 0.5);
  for (const char* key : {"titleIconAlpha", "dateIconAlpha", "lineIconAlpha"})
    EXPECT_EQ(manager()->alphaValueForKey(key, nullptr), 1.0) << key;
}

TEST_F(ColorizerTest, PerAppValuesWinAndANilIdentifierReadsThePlainKey) {
  set("backgroundType", text("color"));
  set("backgroundType_com.example.app", text("gradient"));
  auto app = NSString::from("com.example.app"), other = NSString::from("com.example.other");
  EXPECT_EQ(describe(manager()->settingForKey("backgroundType", app.get()).get()), "gradient");
  EXPECT_EQ(describe(manager()->settingForKey("backgroundType", other.get()).get()), "color");
  EXPECT_EQ(describe(manager()->settingForKey("backgroundType", nullptr).get()), "color");
  EXPECT_EQ(describe(manager()->settingForKey("borderType", app.get()).get()), "icon")
      << "then the registered default";
  EXPECT_EQ(manager()->settingForKey("backgroundColor", app.get()), nullptr);
}

TEST_F(ColorizerTest, ColoursAndAlphasAreReadFromTheirStoredForms) {
  set("titleColor", text("0.5,0.5,0.5,1"));
  EXPECT_NEAR(manager()->colorForKey("titleColor", nullptr)->color().rgba()->green, 0.5, 1e-6);
  set("borderColor", text("not a colour"));
  EXPECT_EQ(manager()->colorForKey("borderColor", nullptr), nullptr);
  EXPECT_EQ(manager()->alphaValueForKey("backgroundIconAlpha", nullptr), 0.5);
  EXPECT_EQ(manager()->alphaValueForKey("noSuchAlpha", nullptr), 0.0);
}

TEST_F(ColorizerTest, RegisteredDefaultsNeverReachTheFile) {
  set("lineWidth", number(4));
  auto file = readPropertyListDictionary(manager()->path());
  ASSERT_TRUE(file) << file.error();
  EXPECT_NE(file.value()->objectForKey("lineWidth"), nullptr);
  // Keys no test stores: only the registered layer answers for them.
  for (const char* key : {"enabled", "cornerRadiusCustom", "stackDimmingViewHidden"}) {
    EXPECT_EQ(file.value()->objectForKey(key), nullptr) << key;
    EXPECT_NE(manager()->objectForKey(key), nullptr) << key;
  }
  EXPECT_EQ(manager()->path().filename(), "com.brackwood.tavrel2.plist");
}

TEST_F(ColorizerTest, IconColourIsComputedOnceAndKept) {
  auto colorizer = colorizerWithIcon(230, 40, 40);
  Ref<UIColor> first = colorizer.iconColor();
  ASSERT_TRUE(first);
  EXPECT_NEAR(first->color().rgba()->red, 230 / 255.0, 1e-9);
  colorizer.setAppIcon(flatIcon(40, 40, 230));
  EXPECT_EQ(colorizer.iconColor(), first) << "the colour of the first icon, the same object";

  auto white = colorizerWithIcon(255, 255, 255);
  EXPECT_EQ(white.iconColor(), nullptr) << "white is avoided";
  white.setAppIcon(flatIcon(40, 200, 40));
  ASSERT_TRUE(white.iconColor()) << "a nil colour is computed again";
  EXPECT_NEAR(white.iconColor()->color().rgba()->green, 200 / 255.0, 1e-9);
}

TEST_F(ColorizerTest, AccentLineTakesTheEdgesItsPositionNames) {
  set("lineWidth", number(3));
  struct Case {
    const char* position;
    CGRect first, second;
  };
  for (const Case& c : std::vector<Case>{
           {"left", CGRectMake(0, 0, 3, 80), CGRectZero},
           {"right", CGRectMake(297, 0, 3, 80), CGRectZero},
           {"top", CGRectMake(0, 0, 300, 3), CGRectZero},
           {"bottom", CGRectMake(0, 77, 300, 3), CGRectZero},
           {"topBottom", CGRectMake(0, 77, 300, 3), CGRectMake(0, 0, 300, 3)},
           {"leftRight", CGRectMake(297, 0, 3, 80), CGRectMake(0, 0, 3, 80)},
           {"middle", CGRectMake(0, 0, 3, 3), CGRectZero},
       }) {
    set("linePosition", text(c.position));
    auto view = viewWithLine();
    auto colorizer = colorizerWithIcon(200, 0, 0);
    colorizer.colorLine(view.get(), view->frame());
    EXPECT_EQ(view->layer()->sublayers()[0]->frame(), c.first) << c.position;
    EXPECT_EQ(view->layer()->sublayers()[1]->frame(), c.second) << c.position;
  }
  auto bare = objc::make<UIView>();
  colorizerWithIcon(200, 0, 0).colorLine(bare.get(), CGRectMake(0, 0, 300, 80));
  EXPECT_TRUE(bare->layer()->sublayers().empty()) << "a layer without two sublayers is left";
}

TEST_F(ColorizerTest, APartWithNoColourClearsWhatItWouldSet) {
  auto view = viewWithLine();
  view->setBackgroundColor(UIColor::systemRedColor());
  view->layer()->setBorderWidth(7);
  view->layer()->setBorderColor(Color::rgb(0, 1, 0));
  view->layer()->setShadowRadius(4);
  set("borderType", text("gradient"));
  set("borderEnabled", yes(false));
  set("backgroundEnabled", yes(true));
  set("backgroundType", text("nonsense"));
  auto colorizer = colorizerWithIcon(200, 0, 0);
  colorizer.colorBackground(view.get());
  colorizer.colorBorder(view.get());
  colorizer.colorShadow(view.get());
  EXPECT_EQ(view->backgroundColor(), nullptr);
  EXPECT_EQ(view->layer()->borderWidth(), 0);
  EXPECT_EQ(view->layer()->borderColor(), std::nullopt);
  EXPECT_EQ(view->layer()->shadowRadius(), 0);
  EXPECT_EQ(view->layer()->shadowColor(), std::nullopt);
}

TEST_F(ColorizerTest, ChosenColoursFollowTheType) {
  auto view = viewWithLine();
  auto colorizer = colorizerWithIcon(200, 0, 0);
  set("borderEnabled", yes(true));
  set("borderType", text("icon"));
  set("borderIconAlpha", number(40));
  set("borderWidth", number(2.5));
  colorizer.colorBorder(view.get());
  EXPECT_EQ(view->layer()->borderWidth(), 2.5);
  EXPECT_NEAR(view->layer()->borderColor()->alpha(), 0.4, 1e-9);

  set("backgroundEnabled", yes(true));
  set("backgroundType", text("gradient"));
  set("backgroundGradient1", text("1,0,0"));
  set("backgroundGradient2", text("0,0,1"));
  set("backgroundGradientDirection", text("down"));
  colorizer.colorBackground(view.get());
  ASSERT_TRUE(view->backgroundColor());
  const GradientPattern* pattern = view->backgroundColor()->color().pattern();
  ASSERT_NE(pattern, nullptr);
  EXPECT_EQ(pattern->frame, view->frame());
  EXPECT_EQ(pattern->direction, GradientDirection::down);

  set("shadowEnabled", yes(true));
  set("shadowType", text("gradient"));
  colorizer.colorShadow(view.get());
  EXPECT_EQ(view->layer()->shadowColor(), std::nullopt) << "shadows take no gradient";
  set("shadowType", text("color"));
  set("shadowColor", text("0,1,0"));
  set("shadowWidth", number(6));
  colorizer.colorShadow(view.get());
  EXPECT_EQ(view->layer()->shadowRadius(), 6);
  EXPECT_EQ(view->layer()->shadowOpacity(), 1.0f);
  EXPECT_EQ(view->layer()->shadowOffset(), (CGSize{0, 0}));
}

TEST_F(ColorizerTest, TextFallsBackToTheLabelColour) {
  auto colorizer = colorizerWithIcon(200, 0, 0);
  auto title = objc::make<UILabel>(), date = objc::make<UILabel>();
  date->layer()->setFilters({objc::make<NSObject>()});
  colorizer.colorTitle(title.get());
  colorizer.colorDate(date.get());
  EXPECT_EQ(title->textColor()->resolvedColor(false), Color::rgb(0, 0, 0, 0.9));
  EXPECT_EQ(date->textColor()->resolvedColor(true), Color::rgb(1, 1, 1, 0.5));
  EXPECT_TRUE(date->layer()->filters().empty());
  set("messageEnabled", yes(true));
  set("messageType", text("icon"));
  auto message = objc::make<UILabel>();
  colorizer.colorMessage(message.get());
  EXPECT_NEAR(message->textColor()->color().rgba()->red, 200 / 255.0, 1e-9);
}

TEST_F(ColorizerTest, AppearanceComparesExactly) {
  auto view = objc::make<UIView>();
  auto colorizer = colorizerWithIcon(200, 0, 0);
  for (auto [value, style] : {std::pair{"dark", UIUserInterfaceStyleDark},
                              {"light", UIUserInterfaceStyleLight},
                              {"Dark", UIUserInterfaceStyleUnspecified},
                              {"default", UIUserInterfaceStyleUnspecified}}) {
    set("appearance", text(value));
    colorizer.setAppearance(view.get());
    EXPECT_EQ(view->overrideUserInterfaceStyle(), style) << value;
  }
}

TEST_F(ColorizerTest, HidingTheIconShiftsTheTextOnceUnlessAlwaysUpdating) {
  auto icon = objc::make<UIView>(), title = objc::make<UIView>(), message = objc::make<UIView>();
  icon->setFrame(CGRectMake(10, 10, 20, 20));
  title->setFrame(CGRectMake(40, 10, 200, 20));
  message->setFrame(CGRectMake(40, 30, 200, 20));
  auto colorizer = colorizerWithIcon(200, 0, 0);
  set("appIconHidden", yes(true));
  colorizer.toggleAppIconVisibility(icon.get(), title.get(), message.get(), nullptr, false);
  colorizer.toggleAppIconVisibility(icon.get(), title.get(), message.get(), nullptr, false);
  EXPECT_TRUE(icon->isHidden());
  EXPECT_EQ(icon->alpha(), 0);
  EXPECT_EQ(title->frame(), CGRectMake(12, 10, 220, 20)) << "shifted once";
  colorizer.toggleAppIconVisibility(icon.get(), title.get(), message.get(), nullptr, true);
  EXPECT_EQ(message->frame(), CGRectMake(-16, 30, 240, 20)) << "the flag shifts again";
  set("appIconHidden", yes(false));
  colorizer.toggleAppIconVisibility(icon.get(), title.get(), message.get(), nullptr, false);
  EXPECT_FALSE(icon->isHidden());
  EXPECT_EQ(message->frame(), CGRectMake(12, 30, 220, 20));
}

TEST_F(ColorizerTest, IconCornersAndBlur) {
  auto icon = objc::make<UIView>();
  icon->setFrame(CGRectMake(0, 0, 40, 38));
  auto colorizer = colorizerWithIcon(200, 0, 0);
  set("appIconCornerRadiusCircle", yes(true));
  colorizer.setAppIconCornerRadius(icon.get());
  EXPECT_TRUE(icon->clipsToBounds());
  EXPECT_EQ(icon->layer()->cornerRadius(), 19);
  set("backgroundBlurHidden", yes(true));
  colorizer.setBackgroundBlur(icon.get());
  EXPECT_TRUE(icon->isHidden());
  set("backgroundBlurHidden", yes(false));
  colorizer.setBackgroundBlur(icon.get());
  EXPECT_FALSE(icon->isHidden());
  EXPECT_EQ(icon->alpha(), 1);
}

TEST_F(ColorizerTest, APreferenceUpdateFromAnotherProcessRestylesOnceInThisOne) {
  manager();  // observes the preference-update notification from here on
  int updates = 0;
  auto observation = NSNotificationCenter::defaultCenter()->addObserverForName(
      std::string(Tavrel2PrefsManager::kUpdateStyleNotification), nullptr,
      [&](const std::string&, NSObject*) { ++updates; });
  std::string command = std::string(NOTIFY_PEER_PATH) + " '" + device::directory()->string() +
                        "' post " +
                        std::string(Tavrel2PrefsManager::kPreferenceUpdateNotification) + " 3";
  ASSERT_EQ(std::system(command.c_str()), 0);
  RunLoop::main().runUntil([&] { return updates > 0; }, std::chrono::seconds(10));
  RunLoop::main().runOnce(std::chrono::milliseconds(200));
  EXPECT_EQ(updates, 1);
}
