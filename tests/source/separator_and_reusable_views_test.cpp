// The separators of menus and action groups as the injected library leaves them: which menus
// and screens colour them, which views its stand-alone methods touch, and the action groups'
// separators the host hides.
#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "platform/uikit/ui_collection_view.h"
#include "support/home_screen_fixture.h"
#include "support/view_search.h"

namespace {

using objc::msgSend;
using objc::sel;
using view_search::viewsOf;

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps";

void expectFrame(const UIView* view, double x, double y, double width, double height) {
  CGRect frame = view->frame();
  EXPECT_DOUBLE_EQ(frame.origin.x, x);
  EXPECT_DOUBLE_EQ(frame.origin.y, y);
  EXPECT_DOUBLE_EQ(frame.size.width, width);
  EXPECT_FLOAT_EQ(static_cast<float>(frame.size.height), static_cast<float>(height));
}

// A section separator of the host's: its material, a thin line and the host's colours.
struct SectionSeparator {
  Ref<UICollectionReusableView> view =
      HomeScreenFixture::add<UICollectionReusableView>("UICollectionReusableView");
  Ref<UIView> material = HomeScreenFixture::add("MTMaterialView", view.get());
  Ref<UIView> line = HomeScreenFixture::add("_UIContextMenuSeparatorView", view.get());
  Ref<UIColor> hostColour = UIColor::whiteColor();

  SectionSeparator() {
    view->setReuseIdentifier(NSString::from("kContextMenuSectionSeparator"));
    view->setBackgroundColor(hostColour);
    line->setBackgroundColor(hostColour);
  }
  void expectAsTheHostLeftIt() const {
    EXPECT_EQ(material->superview(), view.get());
    EXPECT_EQ(view->backgroundColor(), hostColour);
    EXPECT_EQ(line->backgroundColor(), hostColour);
    EXPECT_FALSE(msgSend<bool>(view, sel("hasCustomizedBackgroundColor")));
  }
};

using SeparatorTest = HomeScreenFixture;

}  // namespace

TEST_F(SeparatorTest, TheHostHidesActionGroupSeparatorsAndTheLibraryShowsThemAgain) {
  auto expectAfterLayout = [](bool hidden) {
    home->layoutPass();
    const std::vector<UIView*> separators =
        viewsOf(home->window(), "_UIInterfaceActionVibrantSeparatorView");
    ASSERT_FALSE(separators.empty());
    for (UIView* separator : separators)
      EXPECT_EQ(separator->isHidden(), hidden) << separator->descriptionText();
  };
  useSettings({{"enabled", NSNumber::numberWithBool(false)}});
  home->pressNotification(kMail);
  expectAfterLayout(true);

  // Under every setting off but the master switch, unlocked and on the lock screen.
  useSettings({});
  expectAfterLayout(false);
  home->showLockScreen(true);
  home->pressNotification(kMaps);
  expectAfterLayout(false);
}

TEST_F(SeparatorTest, OnlyAnIconsMenuOnTheHomeScreenColoursSeparators) {
  useSettings({{"colorHSThinSeparators", on()}, {"colorHSBoldSeparators", on()}});
  home->pressIcon(home->appIconView(kMail));
  home->pressNotification(kMaps);
  ASSERT_FALSE(state().isSBContextMenu);
  {
    SCOPED_TRACE("a notification's menu");
    SectionSeparator ofNotification;
    layOut(ofNotification.view.get());
    ofNotification.expectAsTheHostLeftIt();
  }

  home->pressIcon(home->appIconView(kMail));
  ASSERT_TRUE(state().isSBContextMenu);
  setLockScreen(true);
  {
    SCOPED_TRACE("the lock screen");
    SectionSeparator locked;
    layOut(locked.view.get());
    locked.expectAsTheHostLeftIt();
  }

  setLockScreen(false);
  SectionSeparator shown;
  layOut(shown.view.get());
  EXPECT_FALSE(shown.material->superview());
  EXPECT_EQ(shown.view->backgroundColor(), state().color);
  EXPECT_EQ(shown.line->backgroundColor(), state().color);
}

TEST_F(SeparatorTest, ConditionalModificationsClearAnIconMenusSubviewsOutsideCells) {
  auto reusable = add<UICollectionReusableView>("UICollectionReusableView");
  auto line = add("_UIContextMenuSeparatorView", reusable.get());
  auto cell = add("_UIContextMenuCell", reusable.get());
  auto outerCell = add("_UIContextMenuCell");
  auto inCell = add<UICollectionReusableView>("UICollectionReusableView", outerCell.get());
  auto lineInCell = add("_UIContextMenuSeparatorView", inCell.get());
  const Ref<UIColor> white = UIColor::whiteColor();
  auto paintAndApply = [&] {
    for (UIView* view : {line.get(), cell.get(), lineInCell.get()})
      view->setBackgroundColor(white);
    for (UIView* view : {reusable.get(), inCell.get()})
      msgSend<void>(view, sel("applyModificationsConditionally"));
  };

  home->pressNotification(kMaps);
  paintAndApply();
  for (UIView* view : {line.get(), cell.get(), lineInCell.get()})
    EXPECT_EQ(view->backgroundColor(), white) << view->descriptionText();

  home->pressIcon(home->appIconView(kMail));
  paintAndApply();
  EXPECT_FALSE(line->backgroundColor());
  EXPECT_EQ(cell->backgroundColor(), white);
  EXPECT_EQ(lineInCell->backgroundColor(), white);
}

TEST_F(SeparatorTest, StandAloneAdjustmentInsetsLockScreenSeparatorsOnTheLeftOnce) {
  useSettings({{"LSapplySepThickness", on()},
               {"LSsepthickness", number(0.5)},
               {"LSapplySepWidth", on()},
               {"LSsepWidth", number(10)},
               {"colorLSThinSeparators", on()}});
  home->pressNotification(kMaps);
  ASSERT_TRUE(state().color2);
  auto cell = add("_UIContextMenuCell");
  auto collection = add<UICollectionView>("UICollectionView", cell.get());
  auto separator = add("_UIContextMenuReusableSeparatorView", collection.get());
  auto other = add("UIView", collection.get());
  for (UIView* view : {separator.get(), other.get()})
    view->setFrame(CGRectMake(0, 44, 300, 1));
  auto adjust = [&] { msgSend<void>(cell, sel("adjustFramesForSubviews")); };

  adjust();  // unlocked: nothing, and no mark
  expectFrame(separator.get(), 0, 44, 300, 1);

  setLockScreen(true);
  adjust();
  expectFrame(separator.get(), 10, 44, 290, 0.5);
  EXPECT_FALSE(separator->backgroundColor());
  expectFrame(other.get(), 0, 44, 300, 1);
  adjust();
  expectFrame(separator.get(), 10, 44, 290, 0.5);
}
