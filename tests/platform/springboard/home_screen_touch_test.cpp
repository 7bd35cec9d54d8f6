// The running home screen under touches: what lies under a point, menus that open, close and
// open again, and the lock screen's notification.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/springboard/dock_view.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = VITREL_SAMPLES_DIR;

int countOfClass(const UIView* root, const char* className) {
  int count = objc::isKindOf(root, objc_getClass(className)) ? 1 : 0;
  for (const auto& subview : root->subviews())
    count += countOfClass(subview.get(), className);
  return count;
}

UIView* firstOfClass(UIView* root, const char* className) {
  if (objc::isKindOf(root, objc_getClass(className))) return root;
  for (const auto& subview : root->subviews()) {
    if (UIView* found = firstOfClass(subview.get(), className)) return found;
  }
  return nullptr;
}

CGPoint middle(const CGRect& rect) {
  return {rect.minX() + rect.width() / 2, rect.minY() + rect.height() / 2};
}

class HomeScreenTouchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setUpHost({}); }

  void SetUp() override {
    auto samples = loadCatalogue(kSamples / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue_ = std::make_shared<const AppCatalogue>(std::move(samples).value());
    home_ = std::make_unique<HomeScreen>(catalogue_);
  }

  std::optional<PressTarget> targetNamed(const std::string& name) const {
    for (const PressTarget& target : home_->targets()) {
      if (target.name == name) return target;
    }
    return std::nullopt;
  }

  std::shared_ptr<const AppCatalogue> catalogue_;
  std::unique_ptr<HomeScreen> home_;
};

}  // namespace

TEST_F(HomeScreenTouchTest, EveryIconIsFoundWhereTheGridOrTheDockPutsIt) {
  const std::vector<PressTarget> targets = home_->targets();
  const size_t pagePlaces = catalogue_->homeScreen().size();
  ASSERT_EQ(targets.size(), pagePlaces + catalogue_->dock().size());
  int webClips = 0, folders = 0;
  for (size_t place = 0; place < targets.size(); ++place) {
    const PressTarget& target = targets[place];
    SCOPED_TRACE(target.name);
    EXPECT_EQ(target.frame, place < pagePlaces
                                ? homeScreenIconFrame(place, home_->window()->bounds().width())
                                : dockIconFrame(place - pagePlaces, home_->window()->bounds()));
    webClips += target.kind == PressTarget::Kind::webClip;
    folders += target.kind == PressTarget::Kind::folder;
    // On the artwork, and on the name under it (a deeper view of the icon; the dock shows no
    // names, so there its artwork's lower edge).
    for (CGPoint point :
         {middle(target.frame),
          CGPoint{middle(target.frame).x,
                  place < pagePlaces ? target.frame.maxY() - 4 : target.frame.minY() + 56}}) {
      std::optional<PressTarget> found = home_->targetAt(point);
      ASSERT_TRUE(found);
      EXPECT_EQ(found->name, target.name);
      EXPECT_EQ(found->kind, target.kind);
    }
  }
  // The sample's second web clip stands in a folder.
  EXPECT_EQ(webClips, static_cast<int>(catalogue_->webClips().size()) - 1);
  EXPECT_EQ(folders, static_cast<int>(catalogue_->folders().size()));
  // Between two icons of a row, and on the empty lower screen.
  EXPECT_FALSE(home_->targetAt({targets[0].frame.maxX() + 2, middle(targets[0].frame).y}));
  EXPECT_FALSE(home_->targetAt({100, 800}));
}

TEST_F(HomeScreenTouchTest, AWebClipOpensItsOwnMenu) {
  ASSERT_FALSE(catalogue_->webClips().empty());
  std::optional<PressTarget> clip = targetNamed(catalogue_->webClips().front().name);
  ASSERT_TRUE(clip);
  const HomeScreen::OpenMenu menu = home_->press(*clip);
  ASSERT_TRUE(menu.root);
  EXPECT_EQ(menu.titles.front(), "Share Bookmark");
  EXPECT_EQ(home_->menuTarget()->kind, PressTarget::Kind::webClip);
}

TEST_F(HomeScreenTouchTest, ATapOpensAFolderWhoseIconsCanBeHeldAndATapBesideItClosesIt) {
  using Kind = PressTarget::Kind;
  std::optional<PressTarget> reading = targetNamed("Reading");
  ASSERT_TRUE(reading);
  // A hold on the closed folder opens the folder's menu, not the folder.
  ASSERT_TRUE(home_->press(*reading).root);
  EXPECT_EQ(home_->menuTarget()->kind, Kind::folder);
  EXPECT_EQ(home_->tap(middle(reading->frame)), HomeScreen::TapResult::none);
  home_->dismissMenu();

  ASSERT_EQ(home_->tap(middle(reading->frame)), HomeScreen::TapResult::openedFolder);
  EXPECT_EQ(home_->openFolderName(), "Reading");
  EXPECT_EQ(countOfClass(home_->window(), "SBFloatyFolderView"), 1);
  EXPECT_EQ(countOfClass(home_->window(), "UICollectionView"), 0);
  // Only the folder's icons can be held now, the web clip first, each where a touch finds it.
  const std::vector<PressTarget> inside = home_->targets();
  ASSERT_EQ(inside.size(), 2u);
  EXPECT_EQ(inside[0].kind, Kind::webClip);
  EXPECT_EQ(inside[0].title, "Vitrel News");
  EXPECT_EQ(inside[1].name, "com.vitrel.sample.books");
  for (const PressTarget& target : inside) {
    std::optional<PressTarget> found = home_->targetAt(middle(target.frame));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, target.name);
  }
  // What the folder covers is out of reach.
  EXPECT_FALSE(home_->targetAt(middle(reading->frame)));
  EXPECT_FALSE(targetNamed("com.vitrel.sample.photos"));

  // Held inside the folder, each opens its own menu, and the folder stays open beneath it.
  const HomeScreen::OpenMenu clipMenu = home_->press(inside[0]);
  ASSERT_TRUE(clipMenu.root);
  EXPECT_EQ(clipMenu.titles.front(), "Share Bookmark");
  EXPECT_EQ(home_->tap({5, 5}), HomeScreen::TapResult::none);
  home_->dismissMenu();
  ASSERT_TRUE(home_->press(inside[1]).root);
  EXPECT_EQ(home_->menuTarget()->name, "com.vitrel.sample.books");
  EXPECT_EQ(home_->openFolderName(), "Reading");
  home_->dismissMenu();

  // A tap on the plate or the title leaves it open; beside them, it closes.
  EXPECT_EQ(home_->tap({inside[1].frame.maxX() + 30, middle(inside[1].frame).y}),
            HomeScreen::TapResult::none);
  EXPECT_EQ(home_->tap({195, 800}), HomeScreen::TapResult::closedFolder);
  EXPECT_FALSE(home_->openFolderName());
  EXPECT_EQ(countOfClass(home_->window(), "SBFolderContainerView"), 0);
  EXPECT_EQ(home_->targetAt(middle(reading->frame))->name, "Reading");
  // A tap on an app opens nothing; the lock screen closes an open folder.
  EXPECT_EQ(home_->tap(middle(targetNamed("com.vitrel.sample.photos")->frame)),
            HomeScreen::TapResult::none);
  ASSERT_TRUE(home_->openFolder("Utilities"));
  home_->showLockScreen(true);
  EXPECT_FALSE(home_->openFolderName());
  EXPECT_FALSE(home_->openFolder("Utilities"));
}

TEST_F(HomeScreenTouchTest, ADismissedMenuLeavesTheWindowAndOpensAnew) {
  std::optional<PressTarget> photos = targetNamed("com.vitrel.sample.photos");
  ASSERT_TRUE(photos);
  const Ref<UIView> first = home_->press(*photos).root;
  ASSERT_TRUE(first);
  UIView* container = first->superview();
  ASSERT_EQ(container->superview(), home_->window());
  // The container covers the icons: nothing can be held while the menu is open.
  EXPECT_FALSE(home_->targetAt(middle(targetNamed("com.vitrel.sample.mail")->frame)));

  home_->dismissMenu();
  EXPECT_EQ(first->superview(), nullptr);
  EXPECT_EQ(container->superview(), nullptr);
  EXPECT_FALSE(home_->openMenu());
  EXPECT_FALSE(home_->menuTarget());
  EXPECT_EQ(countOfClass(home_->window(), "_UIContextMenuContainerView"), 0);
  EXPECT_EQ(home_->targetAt(middle(photos->frame))->name, photos->name);

  // Pressed again, and presented again: a new menu each time, never two.
  const Ref<UIView> second = home_->press(*photos).root;
  ASSERT_TRUE(second);
  EXPECT_NE(second, first);
  const HomeScreen::OpenMenu third = home_->presentAgain();
  ASSERT_TRUE(third.root);
  EXPECT_NE(third.root, second);
  EXPECT_EQ(second->superview(), nullptr);
  EXPECT_EQ(home_->menuTarget()->name, photos->name);
  EXPECT_EQ(countOfClass(home_->window(), "_UIContextMenuContainerView"), 1);
  // Another icon's press closes the open menu first.
  home_->press(*targetNamed("com.vitrel.sample.mail"));
  EXPECT_EQ(countOfClass(home_->window(), "_UIContextMenuContainerView"), 1);
  EXPECT_EQ(home_->menuTarget()->name, "com.vitrel.sample.mail");
}

TEST_F(HomeScreenTouchTest, TheMenuIsToldFromTheDimmedScreenAroundIt) {
  std::optional<PressTarget> photos = targetNamed("com.vitrel.sample.photos");
  EXPECT_FALSE(home_->menuAt(middle(photos->frame)));  // no menu open
  ASSERT_TRUE(home_->press(*photos).root);
  UIView* actions = firstOfClass(home_->window(), "_UIContextMenuView");
  ASSERT_TRUE(actions);
  EXPECT_TRUE(home_->menuAt(middle(actions->frameInWindow())));
  // The lifted icon belongs to the menu too.
  EXPECT_TRUE(home_->menuAt(middle(photos->frame)));
  EXPECT_FALSE(home_->menuAt({380, 830}));
  EXPECT_FALSE(home_->menuAt({actions->frameInWindow().maxX() + 1, 20}));
}

TEST_F(HomeScreenTouchTest, TheLockScreensNotificationCanBeHeldAndStaysAfterwards) {
  home_->showLockScreen(true);
  ASSERT_TRUE(home_->lockScreenShown());
  const std::vector<PressTarget> targets = home_->targets();
  ASSERT_EQ(targets.size(), home_->lockScreenList().stackTops().size());
  EXPECT_EQ(targets[0].kind, PressTarget::Kind::notification);
  EXPECT_EQ(targets[0].name, "com.vitrel.sample.mail");
  EXPECT_FALSE(home_->targetAt({20, 800}));

  std::optional<PressTarget> held = home_->targetAt(middle(targets[0].frame));
  ASSERT_TRUE(held);
  ASSERT_TRUE(home_->press(*held).root);
  UIView* platter = firstOfClass(home_->window(), "NCExpandedPlatterView");
  ASSERT_TRUE(platter);
  EXPECT_TRUE(home_->menuAt(middle(platter->frameInWindow())));

  home_->dismissMenu();
  EXPECT_FALSE(firstOfClass(home_->window(), "NCExpandedPlatterView"));
  ASSERT_EQ(home_->targets().size(), targets.size());
  EXPECT_EQ(home_->targets()[0].frame, targets[0].frame);
  // Unlocking closes a menu open on the lock screen.
  ASSERT_TRUE(home_->press(*held).root);
  home_->showLockScreen(false);
  EXPECT_FALSE(home_->openMenu());
  EXPECT_FALSE(firstOfClass(home_->window(), "NCExpandedPlatterView"));
}

TEST_F(HomeScreenTouchTest, ABannerPressedOnTheHomeScreenGoesWithItsMenu) {
  ASSERT_TRUE(home_->pressNotification("com.vitrel.sample.maps").root);
  EXPECT_EQ(countOfClass(home_->window(), "NCNotificationShortLookView"), 1);
  ASSERT_TRUE(home_->presentAgain().root);
  EXPECT_EQ(countOfClass(home_->window(), "NCNotificationShortLookView"), 1);
  home_->dismissMenu();
  EXPECT_EQ(countOfClass(home_->window(), "NCNotificationShortLookView"), 0);
  EXPECT_EQ(home_->targets().size(), catalogue_->homeScreen().size() + catalogue_->dock().size());
}

TEST_F(HomeScreenTouchTest, WithoutMailTheFirstAppsNotificationRests) {
  const fs::path folder = fs::temp_directory_path() / ("vitrel-touch-" + std::to_string(getpid()));
  fs::create_directories(folder);
  fs::copy_file(kSamples / "mail@3x.png", folder / "notes.png",
                fs::copy_options::overwrite_existing);
  std::ofstream(folder / "catalogue.plist")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>apps</key>"
         "<array><dict><key>bundleIdentifier</key><string>com.example.notes</string>"
         "<key>name</key><string>Notes</string><key>icon</key><string>notes.png</string></dict>"
         "</array></dict></plist>\n";
  auto loaded = loadCatalogue(folder / "catalogue.plist");
  fs::remove_all(folder);
  ASSERT_TRUE(loaded) << loaded.error();
  HomeScreen home(std::make_shared<const AppCatalogue>(std::move(loaded).value()));
  home.showLockScreen(true);
  ASSERT_EQ(home.targets().size(), 1u);
  EXPECT_EQ(home.targets()[0].name, "com.example.notes");
  EXPECT_EQ(home.targets()[0].title, "Notes");
}

TEST_F(HomeScreenTouchTest, AStyleChangePresentsTheOpenMenuAgain) {
  ASSERT_TRUE(home_->press(*targetNamed("com.vitrel.sample.photos")).root);
  const Ref<UIView> light = home_->openMenu()->root;
  home_->setInterfaceStyle(UIUserInterfaceStyleDark);
  ASSERT_TRUE(home_->openMenu());
  EXPECT_NE(home_->openMenu()->root, light);
  EXPECT_EQ(home_->menuTarget()->name, "com.vitrel.sample.photos");
  home_->setInterfaceStyle(UIUserInterfaceStyleLight);
}
