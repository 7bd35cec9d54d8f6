// The styling of a menu's views by the injected library, on each layout pass: the glass behind
// the menu, its border and corners, the cells' labels and the separators. Mostly on small view
// trees of the system's own classes, built to the shape each case needs.
#include <gtest/gtest.h>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/process_info.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_stack_view.h"
#include "platform/uikit/ui_visual_effect_view.h"
#include "source/menu/menu_state.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

using objc::msgSend;
using objc::sel;

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps";

Ref<NSObject> on() {
  return NSNumber::numberWithBool(true);
}
Ref<NSObject> number(double value) {
  return NSNumber::numberWithDouble(value);
}

// A view of the named class, added to parent when one is given.
template <class T = UIView>
Ref<T> add(const char* className, UIView* parent = nullptr) {
  Ref<T> view = objc::createInstance<T>(objc_getClass(className));
  if (parent) parent->addSubview(view);
  return view;
}

// A class whose name holds a word the library looks for.
void defineTestClass(const char* name, const char* superclass) {
  if (objc_getClass(name)) return;
  objc_registerClassPair(objc_allocateClassPair(objc_getClass(superclass), name, 0));
}

void layOut(UIView* view) {
  msgSend<void>(view, sel("layoutSubviews"));
}

long renderModeOf(const UIView* backdrop) {
  return dynamic_cast<const VisualEffectBackdropView*>(backdrop)->renderMode();
}

std::optional<RGBA> rgbaOf(const UIColor* color) {
  return color ? color->color().rgba() : std::nullopt;
}

// The colour at full brightness, with its hue, saturation and alpha.
HSBA fullyBright(const UIColor* color) {
  HSBA hsba = *color->color().hsba();
  hsba.brightness = 1.0;
  return hsba;
}

void expectHSBA(const std::optional<Color>& got, const HSBA& expected) {
  ASSERT_TRUE(got && got->hsba());
  EXPECT_NEAR(got->hsba()->hue, expected.hue, 1e-9);
  EXPECT_NEAR(got->hsba()->saturation, expected.saturation, 1e-9);
  EXPECT_NEAR(got->hsba()->brightness, expected.brightness, 1e-9);
  EXPECT_NEAR(got->hsba()->alpha, expected.alpha, 1e-9);
}

void expectFrame(const UIView* view, double x, double y, double width, double height) {
  CGRect frame = view->frame();
  EXPECT_DOUBLE_EQ(frame.origin.x, x);
  EXPECT_DOUBLE_EQ(frame.origin.y, y);
  EXPECT_DOUBLE_EQ(frame.size.width, width);
  EXPECT_FLOAT_EQ(static_cast<float>(frame.size.height), static_cast<float>(height));
}

// Every view under root (root included) of the named class or a subclass.
std::vector<UIView*> viewsOf(UIView* root, const char* className) {
  std::vector<UIView*> found;
  if (objc::isKindOf(root, objc_getClass(className))) found.push_back(root);
  for (const auto& subview : root->subviews()) {
    std::vector<UIView*> below = viewsOf(subview.get(), className);
    found.insert(found.end(), below.begin(), below.end());
  }
  return found;
}

bool isRounded(const UIView* view, double radius) {
  return view->layer()->cornerRadius() == radius && view->layer()->masksToBounds();
}

class MenuStylingTest : public ::testing::Test {
 protected:
  // Once for every group of tests: the library loads once per process and keeps the device it
  // found.
  static void SetUpTestSuite() {
    if (home) return;
    injected_host::enterFreshDevice();
    setUpHost({});
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
    Result<AppCatalogue> samples =
        loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    home = std::make_unique<HomeScreen>(
        std::make_shared<const AppCatalogue>(std::move(samples).value()));
    defineTestClass("CCUIModuleView", "UIView");
    defineTestClass("SBDashBoardView", "UIView");
    defineTestClass("AlertUIVisualEffectView", "UIVisualEffectView");
    defineTestClass("CCUIBackdropView", "_UIVisualEffectBackdropView");
  }

  void SetUp() override {
    useSettings({});
    setLockScreen(false);
    NSProcessInfo::processInfo()->setOperatingSystemVersion({16, 0, 0});
  }

  // Exactly these settings: the library keeps a switch or number the file leaves out, so
  // every other one is written off, the master switch excepted.
  static void useSettings(NSDictionary::Entries values) {
    values.try_emplace("enabled", on());
    for (const SettingField& entry : kSettingFields) {
      if (std::holds_alternative<bool Settings::*>(entry.field)) {
        values.try_emplace(std::string(entry.key), NSNumber::numberWithBool(false));
      } else if (std::holds_alternative<float Settings::*>(entry.field)) {
        values.try_emplace(std::string(entry.key), NSNumber::numberWithDouble(0));
      }
    }
    injected_host::writeSettings(NSDictionary::from(std::move(values)).get());
    ASSERT_EQ(injected_host::reloadSettings(), 1u);
  }
  static void setLockScreen(bool visible) {
    SBLockScreenManager::sharedInstance()->setLockScreenVisible(visible);
  }
  // An icon's menu opens: `color` is the icon's, and the menu is an icon's.
  static void openIconMenu() { home->pressIcon(home->appIconView(kMail)); }
  // After an icon's, a notification's menu: `color2` is its app's, `color` stays the icon's.
  static void openNotificationMenuAfterIconMenu() {
    openIconMenu();
    home->pressNotification(kMaps);
  }
  static const MenuState& state() { return probe->menuState(); }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::unique_ptr<HomeScreen> home;
};

// The outer menu view and its list, with one glass the menu view reaches (four levels below
// it) and one the list reaches (four levels below the list).
struct MenuTree {
  Ref<UIView> menu = add("_UIContextMenuView");
  Ref<UIView> list = add("_UIContextMenuListView", menu.get());
  Ref<UIView> menuGlass, listGlass;

  MenuTree() {
    auto clipping = add("UIView", list.get());
    menuGlass = add("_UIVisualEffectBackdropView", add("UIVisualEffectView", clipping.get()).get());
    auto wrapper = add("UIView", add("UIView", clipping.get()).get());
    listGlass = add("_UIVisualEffectBackdropView", wrapper.get());
  }
  void layOutBoth() const {
    layOut(menu.get());
    layOut(list.get());
  }
};

using ListTest = MenuStylingTest;
using CellTest = MenuStylingTest;
using GlassTest = MenuStylingTest;
using ReusableViewTest = MenuStylingTest;
using SeparatorVisibilityTest = MenuStylingTest;

}  // namespace

TEST_F(ListTest, BrightnessIsRaisedAndClampedAlikeOnAllThreeClasses) {
  auto color = UIColor::colorWithHue(0.6, 0.5, 0.9, 0.7);
  for (const char* className :
       {"_UIContextMenuListView", "_UIContextMenuCell", "UICollectionReusableView"}) {
    auto view = add(className);
    auto adjust = [&](const UIColor* c, double amount) {
      return msgSend<Ref<UIColor>>(view, sel("colorByAdjustingBrightness:amount:"), c, amount);
    };
    expectHSBA(adjust(color.get(), 0.25)->color(), {0.6, 0.5, 1.0, 0.7});
    EXPECT_EQ(adjust(color.get(), -2.0)->color().hsba()->brightness, 0.0);
    expectHSBA(adjust(color.get(), -0.4)->color(), {0.6, 0.5, 0.5, 0.7});
    EXPECT_FALSE(adjust(nullptr, 4.0)) << className;
  }
}

TEST_F(ListTest, OnSystem15OnlyTheListStylesItsGlass) {
  useSettings({{"renderMode", on()}});
  NSProcessInfo::processInfo()->setOperatingSystemVersion({15, 0, 0});
  MenuTree tree;
  tree.layOutBoth();
  EXPECT_EQ(renderModeOf(tree.menuGlass.get()), 0);
  EXPECT_EQ(renderModeOf(tree.listGlass.get()), 1);

  NSProcessInfo::processInfo()->setOperatingSystemVersion({16, 0, 0});
  tree.layOutBoth();
  EXPECT_EQ(renderModeOf(tree.menuGlass.get()), 1);
  // The list's own menu view is its superview, not an enclosing menu.
  EXPECT_FALSE(tree.menu->isHidden());
}

TEST_F(ListTest, ANotificationsMenuGlassIsTintedByWhichViewReachesIt) {
  openNotificationMenuAfterIconMenu();
  ASSERT_FALSE(state().isSBContextMenu);
  ASSERT_NE(rgbaOf(state().color.get()), rgbaOf(state().color2.get()));
  useSettings({{"autoBackgroundColor", on()}});
  MenuTree tree;
  tree.layOutBoth();
  EXPECT_EQ(rgbaOf(tree.menuGlass->backgroundColor().get()), rgbaOf(state().color2.get()));
  EXPECT_EQ(rgbaOf(tree.listGlass->backgroundColor().get()), rgbaOf(state().color.get()));
  EXPECT_EQ(renderModeOf(tree.menuGlass.get()), 1);
}

TEST_F(ListTest, GlassMentioningCCKeepsItsCorners) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(12)}});
  MenuTree tree;
  auto controlCentreGlass = add("CCUIBackdropView", tree.menuGlass->superview());
  tree.layOutBoth();
  EXPECT_EQ(tree.menuGlass->layer()->cornerRadius(), 12);
  EXPECT_EQ(controlCentreGlass->layer()->cornerRadius(), 0);
}

TEST_F(ListTest, TheBorderFollowsTheScreenTheMenuAndTheStyle) {
  openIconMenu();
  useSettings({{"elegantBorder", on()},
               {"cornerRadius", number(12)},
               {"borderThicknessHS", number(2)},
               {"LSelegantBorder", on()},
               {"LScornerRadius", number(9)},
               {"borderThicknessLS", number(4)}});
  MenuTree tree;
  layOut(tree.list.get());
  CALayer* layer = tree.list->layer();
  EXPECT_EQ(layer->borderWidth(), 2);
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color.get()));
  EXPECT_TRUE(isRounded(tree.list.get(), 12));
  for (const auto& sublayer : layer->sublayers()) {
    EXPECT_EQ(sublayer->cornerRadius(), 12);
    EXPECT_TRUE(sublayer->masksToBounds());
  }

  tree.menu->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  layOut(tree.list.get());
  expectHSBA(layer->borderColor(), fullyBright(state().color.get()));

  openNotificationMenuAfterIconMenu();
  layOut(tree.list.get());
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color2.get()));

  setLockScreen(true);
  openIconMenu();  // the lock screen's border is the notification's colour, whatever the menu
  layOut(tree.list.get());
  EXPECT_EQ(layer->borderWidth(), 4);
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color2.get()));
  EXPECT_TRUE(isRounded(tree.list.get(), 9));
  EXPECT_EQ(layer->sublayers().front()->cornerRadius(), 9);
}

TEST_F(ListTest, AListWithoutAThirdLevelIsNotFramedButStillHidesItsEnclosingMenu) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(12)}, {"renderMode", on()}});
  auto enclosing = add("_UIContextMenuView");
  auto list = add("_UIContextMenuListView", add("UIView", enclosing.get()).get());
  add("UIView", add("UIView", list.get()).get());
  layOut(list.get());
  EXPECT_TRUE(enclosing->isHidden());
  EXPECT_EQ(list->layer()->borderWidth(), 0);
  EXPECT_EQ(list->layer()->cornerRadius(), 0);
}

namespace {

// A cell in its collection view, inside a clipping view, with a title and a subtitle and an
// item separator below it.
struct CellTree {
  Ref<UIView> clipping = add("UIView");
  Ref<UIView> collection = add<UICollectionView>("UICollectionView", clipping.get());
  Ref<UICollectionViewCell> cell =
      add<UICollectionViewCell>("_UIContextMenuCell", collection.get());
  Ref<UIView> separator = add("_UIContextMenuReusableSeparatorView", collection.get());
  Ref<UIView> content = add("_UIContextMenuCellContentView", cell.get());
  Ref<UIStackView> labels = add<UIStackView>("UIStackView", content.get());
  Ref<UILabel> title = add<UILabel>("UILabel"), subtitle = add<UILabel>("UILabel");

  CellTree() {
    labels->addArrangedSubview(title);
    labels->addArrangedSubview(subtitle);
    separator->setFrame(CGRectMake(0, 44, 300, 1));
  }
};

}  // namespace

TEST_F(CellTest, SmallRadiiRoundTheContentOnTheHomeScreenOnly) {
  useSettings({{"cornerRadius", number(5.0)}});
  CellTree tree;
  layOut(tree.cell.get());
  EXPECT_EQ(tree.content->layer()->cornerRadius(), 5.0);

  useSettings({{"cornerRadius", number(5.5)}});
  tree.content->layer()->setCornerRadius(3);
  layOut(tree.cell.get());
  EXPECT_EQ(tree.content->layer()->cornerRadius(), 3);

  useSettings({{"cornerRadius", number(1)}});
  setLockScreen(true);
  layOut(tree.cell.get());
  EXPECT_EQ(tree.content->layer()->cornerRadius(), 3);
}

TEST_F(CellTest, LabelsTakeTheMenusColourBrightenedInTheDark) {
  openNotificationMenuAfterIconMenu();
  useSettings({{"dynamicLabelColoring", on()}, {"LSdynamicLabelColoring", on()}});
  CellTree tree;
  layOut(tree.cell.get());
  EXPECT_EQ(tree.title->textColor(), state().color);
  EXPECT_EQ(tree.subtitle->textColor(), state().color);

  tree.clipping->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  layOut(tree.cell.get());
  expectHSBA(tree.subtitle->textColor()->color(), fullyBright(state().color.get()));
  // The stand-alone variant does not brighten.
  msgSend<void>(tree.cell, sel("updateLabelColors"));
  EXPECT_EQ(tree.title->textColor(), state().color);

  setLockScreen(true);
  layOut(tree.cell.get());
  EXPECT_EQ(tree.title->textColor(), state().color2);
}

TEST_F(CellTest, LockScreenSeparatorsAreAdjustedOnceAndFramedByTheCollectionView) {
  openNotificationMenuAfterIconMenu();
  useSettings({{"LSapplySepThickness", on()},
               {"LSsepthickness", number(0.5)},
               {"LSapplySepWidth", on()},
               {"LSsepWidth", number(10)},
               {"colorLSThinSeparators", on()},
               {"LSelegantBorder", on()},
               {"borderThicknessLS", number(7)}});
  CellTree tree;
  layOut(tree.cell.get());  // not on the lock screen: nothing, and no mark
  expectFrame(tree.separator.get(), 0, 44, 300, 1);
  EXPECT_EQ(tree.collection->layer()->borderWidth(), 0);

  setLockScreen(true);
  layOut(tree.cell.get());
  expectFrame(tree.separator.get(), 10, 44, 280, 0.5);
  EXPECT_EQ(tree.separator->backgroundColor(), state().color2);
  EXPECT_EQ(tree.collection->layer()->borderWidth(), 3.0);
  EXPECT_EQ(tree.collection->layer()->borderColor(), cgColorOf(state().color2.get()));
  EXPECT_TRUE(tree.collection->clipsToBounds());

  layOut(tree.cell.get());
  expectFrame(tree.separator.get(), 10, 44, 280, 0.5);
}

namespace {

// The classes of a glass's surroundings.
struct GlassClasses {
  const char* parent = "UIVisualEffectView";
  const char* grandparent = "UIView";
  const char* above = "_UIContextMenuContainerView";
};

// A menu's glass: the backdrop B in its effect view P, under G and T.
struct GlassTree {
  Ref<UIView> above, grandparent, parent, backdrop, inner;

  explicit GlassTree(GlassClasses classes = {}, UIView* outside = nullptr) {
    above = add(classes.above, outside);
    grandparent = add(classes.grandparent, above.get());
    parent = add(classes.parent, grandparent.get());
    backdrop = add("_UIVisualEffectBackdropView", parent.get());
    inner = add("UIView", add("UIView", backdrop.get()).get());
  }
};

}  // namespace

TEST_F(GlassTest, TheHomeScreenRoundsTheGlassAndEachViewAroundItOnItsOwnTerms) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(18)}});
  GlassTree tree;
  layOut(tree.backdrop.get());
  for (UIView* view : {tree.backdrop.get(), tree.parent.get(), tree.grandparent.get(),
                       tree.above.get(), tree.backdrop->subviews().front().get()}) {
    EXPECT_TRUE(isRounded(view, 18));
  }
  EXPECT_EQ(tree.inner->layer()->cornerRadius(), 0);  // below the direct sublayers

  // An alert's effect view, under a grandparent that rounds nothing below it.
  GlassTree alert({.parent = "AlertUIVisualEffectView", .grandparent = "_UICutoutShadowView"});
  layOut(alert.backdrop.get());
  EXPECT_TRUE(isRounded(alert.backdrop.get(), 18));
  EXPECT_FALSE(alert.parent->layer()->masksToBounds());
  EXPECT_TRUE(isRounded(alert.above.get(), 18));

  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(0)}});
  layOut(tree.backdrop.get());
  EXPECT_TRUE(isRounded(tree.backdrop.get(), 0));
}

TEST_F(GlassTest, EachScreenHasItsOwnExclusions) {
  useSettings({{"elegantBorder", on()},
               {"cornerRadius", number(10)},
               {"LSelegantBorder", on()},
               {"LScornerRadius", number(20)}});
  auto board = add("SBDashBoardView");
  GlassTree homeTree({}, board.get());
  layOut(homeTree.backdrop.get());
  EXPECT_TRUE(isRounded(homeTree.parent.get(), 10));

  setLockScreen(true);
  GlassTree lockTree({}, board.get());
  layOut(lockTree.backdrop.get());
  EXPECT_TRUE(isRounded(lockTree.inner.get(), 20));  // the subtree, before the exclusion
  EXPECT_FALSE(lockTree.parent->layer()->masksToBounds());

  auto controlCentre = add("CCUIModuleView");
  GlassTree ccTree({}, controlCentre.get());
  layOut(ccTree.backdrop.get());
  EXPECT_TRUE(isRounded(ccTree.backdrop.get(), 20));
  EXPECT_FALSE(ccTree.parent->layer()->masksToBounds());
  setLockScreen(false);
  ccTree.backdrop->layer()->setCornerRadius(7);
  layOut(ccTree.backdrop.get());
  EXPECT_EQ(ccTree.backdrop->layer()->cornerRadius(), 7);
}

TEST_F(GlassTest, TheLockScreenNeedsItsOwnSwitchAndSkipsTheGrandparent) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(10)}});
  setLockScreen(true);
  GlassTree tree({.above = "UIView"});
  layOut(tree.backdrop.get());
  EXPECT_FALSE(tree.backdrop->layer()->masksToBounds());

  useSettings({{"LSelegantBorder", on()}, {"LScornerRadius", number(14)}});
  layOut(tree.backdrop.get());
  EXPECT_TRUE(isRounded(tree.backdrop.get(), 14));
  EXPECT_TRUE(isRounded(tree.parent.get(), 14));
  EXPECT_FALSE(tree.grandparent->layer()->masksToBounds());
  EXPECT_FALSE(tree.above->layer()->masksToBounds());

  GlassTree inMenu;
  layOut(inMenu.backdrop.get());
  EXPECT_TRUE(isRounded(inMenu.above.get(), 14));
}

namespace {

// A reusable view 250 points wide, whose subview list names a separator.
Ref<UICollectionReusableView> separatorWithLine(const char* reuseIdentifier = nullptr) {
  auto view = add<UICollectionReusableView>("UICollectionReusableView");
  if (reuseIdentifier) view->setReuseIdentifier(NSString::from(reuseIdentifier));
  view->setFrame(CGRectMake(0, 0, 250, 1));
  add("_UIInterfaceActionVibrantSeparatorView", view.get());
  return view;
}

}  // namespace

TEST_F(ReusableViewTest, IconMenusSeparatorsAreThinnedAndInsetOnEitherScreen) {
  useSettings({{"HSapplySepThickness", on()},
               {"septhickness", number(0.33)},
               {"HSapplySepWidth", on()},
               {"sepWidth", number(12)}});
  openNotificationMenuAfterIconMenu();
  auto notificationLine = separatorWithLine();
  layOut(notificationLine.get());
  expectFrame(notificationLine.get(), 0, 0, 250, 1);

  openIconMenu();
  auto line = separatorWithLine();
  auto section = separatorWithLine("kContextMenuSectionSeparator");
  layOut(line.get());
  layOut(section.get());
  expectFrame(line.get(), 12, 0, 226, 0.33);
  expectFrame(section.get(), 24, 0, 202, 0.33);

  // Passes start again from the frame the host gave: the host keeps it between its layouts.
  setLockScreen(true);
  layOut(line.get());
  expectFrame(line.get(), 12, 0, 226, 0.33);
  useSettings({{"HSapplySepWidth", on()}, {"sepWidth", number(20)}});
  layOut(line.get());
  expectFrame(line.get(), 20, 0, 210, 1);
  line->setFrame(CGRectMake(0, 5, 100, 1));  // laid out anew
  layOut(line.get());
  expectFrame(line.get(), 20, 5, 60, 1);
}

TEST_F(ReusableViewTest, SectionSeparatorsTradeTheirMaterialForTheIconsColour) {
  openIconMenu();
  useSettings({{"colorHSBoldSeparators", on()}, {"colorHSThinSeparators", on()}});
  auto section = separatorWithLine("kContextMenuSectionSeparator");
  auto deep = add("MTMaterialView", add("UIView", add("UIView", section.get()).get()).get());
  auto later = add("MTMaterialView", section.get());
  EXPECT_EQ(msgSend<Ref<UIView>>(section, sel("findMaterialViewInView:"), section.get()), deep);

  section->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  layOut(section.get());
  EXPECT_FALSE(deep->superview());
  EXPECT_EQ(later->superview(), section.get());
  expectHSBA(cgColorOf(section->backgroundColor().get()), fullyBright(state().color.get()));
  EXPECT_TRUE(msgSend<bool>(section, sel("hasCustomizedBackgroundColor")));
  // The thin line inside takes the plain colour.
  EXPECT_EQ(section->subviews().front()->backgroundColor(), state().color);

  section->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
  layOut(section.get());
  EXPECT_EQ(section->backgroundColor(), state().color);
  EXPECT_FALSE(later->superview());
}

TEST_F(ReusableViewTest, HomeScreenPredicatesLogAndDecide) {
  openNotificationMenuAfterIconMenu();
  useSettings({{"colorHSThinSeparators", on()}, {"colorHSBoldSeparators", on()}});
  auto section = separatorWithLine("kContextMenuSectionSeparator");
  section->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  {
    LogCapture log;
    EXPECT_TRUE(msgSend<bool>(section, sel("shouldColorBoldSeparatorsForHomeScreen")));
    msgSend<void>(section, sel("customizeBackgroundColorHS"));  // a notification's menu
    std::vector<std::string> lines = log.lines();
    EXPECT_EQ(lines.front(), "ZQK isSBContextMenu 0");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                              return line.starts_with("Checking context menu cell existence");
                            }),
              2);
    EXPECT_FALSE(section->backgroundColor());
  }
  msgSend<void>(section, sel("customizeBackgroundColorBoldSeparators"));
  EXPECT_EQ(section->backgroundColor(), state().color);  // not brightened

  openIconMenu();
  msgSend<void>(section, sel("customizeBackgroundColorHS"));
  expectHSBA(cgColorOf(section->backgroundColor().get()), fullyBright(state().color.get()));

  auto cell = add<UICollectionViewCell>("_UIContextMenuCell");
  auto inCell = add<UICollectionReusableView>("UICollectionReusableView", cell->contentView());
  LogCapture log;
  msgSend<void>(inCell, sel("customizeBackgroundColorHS"));
  EXPECT_FALSE(inCell->backgroundColor());
  EXPECT_EQ(log.lines()[1], "_UIContextMenuCell detected. Skipping coloring.");
}

namespace {

// A collection view with a cell, an item separator at (0, 10, 250, 1) and a section
// separator, and a reusable view nested in the cell.
struct SeparatorTree {
  Ref<UICollectionView> collection = add<UICollectionView>("UICollectionView");
  Ref<UIView> cell = add("_UIContextMenuCell", collection.get());
  Ref<UIView> item = add("_UIContextMenuReusableSeparatorView", collection.get());
  Ref<UIView> section = add("UICollectionReusableView", collection.get());
  Ref<UIView> nested = add("UICollectionReusableView", cell.get());

  SeparatorTree() { item->setFrame(CGRectMake(0, 10, 250, 1)); }
  void enterWindow() const { msgSend<void>(collection, sel("didMoveToWindow")); }
};

}  // namespace

TEST_F(SeparatorVisibilityTest, BeforeSystem16DirectSeparatorsAlwaysGo) {
  NSProcessInfo::processInfo()->setOperatingSystemVersion({15, 0, 0});
  SeparatorTree tree;
  tree.enterWindow();
  EXPECT_TRUE(tree.item->isHidden());
  EXPECT_TRUE(tree.section->isHidden());
  EXPECT_FALSE(tree.cell->isHidden());
  EXPECT_FALSE(tree.nested->isHidden());
}

TEST_F(SeparatorVisibilityTest, TheHomeScreensHidingChoosesOneKindAndAlsoRunsOnTheLockScreen) {
  useSettings({{"hideHSBoldSep", on()}});
  SeparatorTree bold;
  bold.enterWindow();
  EXPECT_TRUE(bold.section->isHidden());
  EXPECT_FALSE(bold.item->isHidden());

  useSettings({{"hideHSBoldSep", on()}, {"hideHSThinSep", on()}});
  setLockScreen(true);
  SeparatorTree both;
  both.enterWindow();
  EXPECT_TRUE(both.item->isHidden());
  EXPECT_FALSE(both.section->isHidden());
  EXPECT_FALSE(both.nested->isHidden());
}

TEST_F(SeparatorVisibilityTest, ColouredSeparatorsAreReshapedFromTheirCurrentFrames) {
  openIconMenu();
  useSettings(
      {{"colorHSThinSeparators", on()}, {"sepWidth", number(12)}, {"septhickness", number(0.5)}});
  SeparatorTree tree;
  tree.enterWindow();
  expectFrame(tree.item.get(), 12, 10, 226, 0.5);
  EXPECT_EQ(tree.item->backgroundColor(), state().color);
  tree.enterWindow();
  expectFrame(tree.item.get(), 24, 10, 202, 0.5);

  useSettings({{"colorHSThinSeparators", on()}, {"sepWidth", number(200)}});
  tree.enterWindow();
  EXPECT_EQ(tree.item->frame().size.width, 0);  // never a negative width
}

TEST_F(SeparatorVisibilityTest, TheLockScreenColoursRoundsAndHidesSeparators) {
  openNotificationMenuAfterIconMenu();
  useSettings({{"colorLSBoldSeparators", on()},
               {"LSsepWidth", number(5)},
               {"LSsepthickness", number(2)},
               {"LSfuckSep", on()}});
  setLockScreen(true);
  SeparatorTree tree;
  tree.enterWindow();
  EXPECT_EQ(tree.item->backgroundColor(), state().color2);
  expectFrame(tree.item.get(), 5, 10, 240, 2);
  EXPECT_EQ(tree.item->layer()->cornerRadius(), 1.0);
  EXPECT_EQ(tree.collection->layer()->cornerRadius(), 1.0);
  EXPECT_TRUE(tree.section->isHidden());
  EXPECT_FALSE(tree.item->isHidden());
}

TEST_F(ListTest, AnIconsMenuKeepsItsStyleOverLayoutPasses) {
  useSettings({{"renderMode", on()},
               {"autoBackgroundColor", on()},
               {"elegantBorder", on()},
               {"cornerRadius", number(16)},
               {"borderThicknessHS", number(1.5)},
               {"colorHSBoldSeparators", on()},
               {"HSapplySepThickness", on()},
               {"septhickness", number(0.5)},
               {"HSapplySepWidth", on()},
               {"sepWidth", number(10)}});
  HomeScreen::OpenMenu menu = home->pressIcon(home->appIconView(kMail));
  home->layoutPass();
  std::vector<UIView*> lists = viewsOf(menu.root.get(), "_UIContextMenuListView");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists.front()->layer()->borderWidth(), 1.5);
  EXPECT_EQ(lists.front()->layer()->borderColor(), cgColorOf(state().color.get()));

  // The menu's glass, reached from the outer menu view.
  std::vector<UIView*> glass = viewsOf(lists.front(), "_UIVisualEffectBackdropView");
  ASSERT_EQ(glass.size(), 1u);
  EXPECT_EQ(renderModeOf(glass.front()), 1);
  EXPECT_EQ(glass.front()->backgroundColor(), state().color);
  EXPECT_TRUE(isRounded(glass.front(), 16));

  // The host lays separators out anew on each pass: the insets do not add up.
  for (UIView* view : viewsOf(menu.root.get(), "UICollectionReusableView")) {
    auto* reusable = dynamic_cast<UICollectionReusableView*>(view);
    if (!reusable->reuseIdentifier()) continue;
    EXPECT_EQ(view->backgroundColor(), state().color);
    expectFrame(view, 10, view->frame().origin.y, 230, 0.5);
  }
}
