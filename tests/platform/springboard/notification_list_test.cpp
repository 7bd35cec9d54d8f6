// The lock screen's notification list (stacks by app, what a touch on them holds, where each
// system puts them) and the banner of a notification arriving while the phone is unlocked.
#include <gtest/gtest.h>

#include "platform/foundation/process_info.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"
#include "platform/uikit/ui_screen.h"

namespace {

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps";

CGPoint middle(const CGRect& rect) {
  return {rect.minX() + rect.width() / 2, rect.minY() + rect.height() / 2};
}

std::string appOf(const UIView* view) {
  for (const auto& subview : view->subviews()) {
    auto* shortLook = dynamic_cast<NCNotificationShortLookView*>(subview.get());
    if (shortLook) return shortLook->notificationContentView()->titleLabel()->text()->string();
  }
  return "";
}

class NotificationListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setUpHost({}); }

  void SetUp() override {
    auto samples = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    catalogue_ = std::make_shared<const AppCatalogue>(std::move(samples).value());
    home_ = std::make_unique<HomeScreen>(catalogue_);
  }

  std::vector<PressTarget> notificationTargets() const {
    std::vector<PressTarget> found;
    for (const PressTarget& target : home_->targets()) {
      if (target.kind == PressTarget::Kind::notification) found.push_back(target);
    }
    return found;
  }

  std::shared_ptr<const AppCatalogue> catalogue_;
  std::unique_ptr<HomeScreen> home_;
};

}  // namespace

TEST_F(NotificationListTest, NotificationsAreStackedByAppNewestOnTop) {
  const std::vector<PostedNotification> posted = restingNotifications(*catalogue_);
  ASSERT_GE(posted.size(), 4u);
  EXPECT_EQ(posted.front().bundleIdentifier, kMail);
  // Interleaved arrivals still make one stack per app, in the order of each app's newest.
  std::vector<PostedNotification> interleaved = {posted[0], posted[2], posted[1], posted[3]};
  NotificationList list(*catalogue_, interleaved, UIScreen::mainScreen()->bounds());
  UIView* root = list.view();
  EXPECT_TRUE(objc::isKindOf(root, objc_getClass("NCNotificationListView")));
  EXPECT_TRUE(dynamic_cast<UIScrollView*>(root));
  const auto& stacks = root->subviews();
  ASSERT_EQ(stacks.size(), list.stackTops().size());
  std::vector<std::string> tops;
  for (size_t i = 0; i < stacks.size(); ++i) {
    const auto& cells = stacks[i]->subviews();
    ASSERT_FALSE(cells.empty());
    EXPECT_TRUE(objc::isKindOf(stacks[i].get(), objc_getClass("NCNotificationListView")));
    for (const auto& cell : cells) {
      EXPECT_TRUE(objc::isKindOf(cell.get(), objc_getClass("NCNotificationListCell")));
      EXPECT_EQ(appOf(cell.get()), appOf(cells.back().get()));
    }
    // The newest is drawn last, on top, at the stack's full width; older ones peek out below.
    EXPECT_EQ(cells.back()->subviews().back().get(), list.stackTops()[i]->view());
    EXPECT_EQ(cells.back()->frame().width(), stacks[i]->bounds().width());
    if (cells.size() > 1) {
      EXPECT_LT(cells.front()->frame().width(), cells.back()->frame().width());
      EXPECT_GT(cells.front()->frame().maxY(), cells.back()->frame().maxY());
    }
    tops.push_back(appOf(cells.back().get()));
  }
  EXPECT_EQ(tops.front(), "Mail");
  EXPECT_EQ(stacks.front()->subviews().size(), 2u);
  EXPECT_EQ(std::set<std::string>(tops.begin(), tops.end()).size(), tops.size());
  // Stacks do not overlap.
  for (size_t i = 1; i < stacks.size(); ++i)
    EXPECT_LT(stacks[i - 1]->frame().maxY(), stacks[i]->frame().minY());
}

TEST_F(NotificationListTest, EachStackIsHeldByItsNewestNotification) {
  home_->showLockScreen(true);
  const std::vector<PressTarget> targets = home_->targets();
  ASSERT_EQ(targets.size(), home_->lockScreenList().stackTops().size());
  ASSERT_GE(targets.size(), 3u);
  for (const PressTarget& target : targets) {
    ASSERT_EQ(target.kind, PressTarget::Kind::notification);
    std::optional<PressTarget> held = home_->targetAt(middle(target.frame));
    ASSERT_TRUE(held);
    EXPECT_EQ(held->name, target.name);
  }
  // The older notification peeking out beneath Mail's holds Mail's stack too.
  const PressTarget& mail = targets.front();
  ASSERT_EQ(mail.name, kMail);
  std::optional<PressTarget> beneath =
      home_->targetAt({middle(mail.frame).x, mail.frame.maxY() + 3});
  ASSERT_TRUE(beneath);
  EXPECT_EQ(beneath->name, kMail);
  // Between two stacks, and under the clock, there is nothing to hold.
  EXPECT_FALSE(home_->targetAt({middle(targets[1].frame).x, targets[1].frame.minY() - 3}));
  EXPECT_FALSE(home_->targetAt({195, 140}));

  // A held stack opens its newest notification's menu; the list stays as it was.
  ASSERT_TRUE(home_->press(*home_->targetAt(middle(targets[1].frame))).root);
  EXPECT_EQ(home_->menuTarget()->name, targets[1].name);
  home_->dismissMenu();
  EXPECT_EQ(home_->targets().size(), targets.size());
  EXPECT_EQ(home_->targets()[1].frame, targets[1].frame);
}

TEST_F(NotificationListTest, ANotificationOfAnAppWithoutAStackArrivesOnTop) {
  home_->showLockScreen(true);
  const size_t stacks = home_->targets().size();
  ASSERT_TRUE(home_->pressNotification(kMaps).root);
  home_->dismissMenu();
  ASSERT_EQ(home_->targets().size(), stacks + 1);
  EXPECT_EQ(home_->targets().front().name, kMaps);
  // Pressed again, it is the same stack.
  ASSERT_TRUE(home_->pressNotification(kMaps).root);
  home_->dismissMenu();
  EXPECT_EQ(home_->targets().size(), stacks + 1);
}

TEST_F(NotificationListTest, FifteenListsUnderTheClockLaterSystemsAtTheBottom) {
  NSProcessInfo* process = NSProcessInfo::processInfo();
  const auto version = process->operatingSystemVersion();
  const CGRect screen = UIScreen::mainScreen()->bounds();
  process->setOperatingSystemVersion({15, 0, 0});
  NotificationList fifteen(*catalogue_, restingNotifications(*catalogue_), screen);
  process->setOperatingSystemVersion({17, 0, 0});
  NotificationList seventeen(*catalogue_, restingNotifications(*catalogue_), screen);
  process->setOperatingSystemVersion(version);
  EXPECT_LT(fifteen.view()->frame().minY(), screen.height() / 3);
  EXPECT_GT(seventeen.view()->frame().minY(), fifteen.view()->frame().minY());
  EXPECT_GT(seventeen.view()->frame().maxY(), screen.height() * 3 / 4);
  EXPECT_LT(seventeen.view()->frame().maxY(), screen.height());
}

TEST_F(NotificationListTest, ABannerArrivesOnTheUnlockedScreenOnly) {
  home_->showLockScreen(true);
  EXPECT_FALSE(home_->postBanner(kMaps));
  home_->showLockScreen(false);
  EXPECT_FALSE(home_->postBanner("com.example.unknown"));
  EXPECT_TRUE(notificationTargets().empty());

  ASSERT_TRUE(home_->postBanner(kMaps));
  std::vector<PressTarget> banners = notificationTargets();
  ASSERT_EQ(banners.size(), 1u);
  EXPECT_EQ(banners[0].name, kMaps);
  EXPECT_LT(banners[0].frame.minY(), 100);
  std::optional<PressTarget> held = home_->targetAt(middle(banners[0].frame));
  ASSERT_TRUE(held);
  EXPECT_EQ(held->kind, PressTarget::Kind::notification);
  // Beside the banner the home screen takes the touch.
  std::optional<PressTarget> below;
  for (const PressTarget& target : home_->targets()) {
    if (!below && target.frame.minY() > banners[0].frame.maxY()) below = target;
  }
  ASSERT_TRUE(below);
  std::optional<PressTarget> beside = home_->targetAt(middle(below->frame));
  ASSERT_TRUE(beside);
  EXPECT_EQ(beside->name, below->name);

  // An icon's menu leaves the banner; the banner's own menu takes it away when dismissed.
  ASSERT_TRUE(home_->press(*below).root);
  home_->dismissMenu();
  ASSERT_EQ(notificationTargets().size(), 1u);
  ASSERT_TRUE(home_->press(*held).root);
  home_->dismissMenu();
  EXPECT_TRUE(notificationTargets().empty());

  // A new banner takes the place of the last; locking the phone takes it away.
  ASSERT_TRUE(home_->postBanner(kMaps));
  ASSERT_TRUE(home_->postBanner(kMail));
  banners = notificationTargets();
  ASSERT_EQ(banners.size(), 1u);
  EXPECT_EQ(banners[0].name, kMail);
  home_->showLockScreen(true);
  home_->showLockScreen(false);
  EXPECT_TRUE(notificationTargets().empty());
}
