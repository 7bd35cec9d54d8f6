// A menu's separators: reusable views thinned, inset and recoloured, and which kind of
// separator each screen hides.
#include "support/menu_styling_fixture.h"

using namespace menu_styling;

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
