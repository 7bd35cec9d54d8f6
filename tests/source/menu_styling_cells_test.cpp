// A menu's cells: their corners, their labels' colour and the lock screen's separators
// between them.
#include "support/menu_styling_fixture.h"

using namespace menu_styling;

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
