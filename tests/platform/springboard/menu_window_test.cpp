// Menus that come and go: the views of a menu hear that they entered the window when it is
// presented and that they left it when it is dismissed, as the host tells views; a menu
// presented again is a new one.
#include <gtest/gtest.h>

#include <map>

#include "platform/runtime/substrate.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"
#include "platform/uikit/ui_collection_view.h"

namespace {

using objc::sel;

std::map<const UIView*, int>& windowMoves() {
  static std::map<const UIView*, int> moves;
  return moves;
}

objc::Imp hostDidMoveToWindow;

UIView* collectionViewOf(UIView* root) {
  if (dynamic_cast<UICollectionView*>(root)) return root;
  for (const auto& subview : root->subviews()) {
    if (UIView* found = collectionViewOf(subview.get())) return found;
  }
  return nullptr;
}

class MenuWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setUpHost({});
    // What the library's hook would see of the menu's collection view.
    MSHookMessageEx(objc_getClass("UICollectionView"), sel("didMoveToWindow"),
                    objc::Imp::of([](UIView* self, SEL cmd) {
                      hostDidMoveToWindow.call<void>(self, cmd);
                      ++windowMoves()[self];
                    }),
                    &hostDidMoveToWindow);
    auto samples = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue = std::make_shared<const AppCatalogue>(std::move(samples).value());
  }

  static int movesOf(const HomeScreen::OpenMenu& menu) {
    return windowMoves()[collectionViewOf(menu.root.get())];
  }

  static inline std::shared_ptr<const AppCatalogue> catalogue;
};

TEST_F(MenuWindowTest, AnIconsMenuEntersAndLeavesTheWindowEachTimeItIsPresented) {
  HomeScreen home(catalogue);
  const HomeScreen::OpenMenu first = home.pressIcon(home.appIconView("com.vitrel.sample.mail"));
  EXPECT_EQ(movesOf(first), 1);
  home.dismissMenu();
  EXPECT_EQ(movesOf(first), 2);
  EXPECT_FALSE(first.root->superview());
  home.dismissMenu();
  EXPECT_EQ(movesOf(first), 2);

  const HomeScreen::OpenMenu second = home.presentAgain();
  EXPECT_FALSE(second.root) << "no menu was open";
  const HomeScreen::OpenMenu third = home.pressIcon(home.appIconView("com.vitrel.sample.mail"));
  const HomeScreen::OpenMenu fourth = home.presentAgain();
  ASSERT_TRUE(third.root && fourth.root);
  EXPECT_NE(collectionViewOf(third.root.get()), collectionViewOf(fourth.root.get()));
  EXPECT_EQ(movesOf(third), 2);
  EXPECT_EQ(movesOf(fourth), 1);
  EXPECT_EQ(fourth.root->superview()->superview(), home.window());
}

TEST_F(MenuWindowTest, ANotificationsMenuEntersAndLeavesWithItsExpandedPlatter) {
  HomeScreen home(catalogue);
  home.showLockScreen(true);
  const HomeScreen::OpenMenu menu = home.pressNotification("com.vitrel.sample.mail");
  ASSERT_TRUE(menu.root);
  UIView* container = menu.root->superview();
  EXPECT_EQ(container->superview(), home.window());
  EXPECT_EQ(movesOf(menu), 1);
  home.showLockScreen(false);
  EXPECT_EQ(movesOf(menu), 2);
  EXPECT_FALSE(container->superview());
  EXPECT_FALSE(home.openMenu());
}

}  // namespace
