// An expanded notification as the system draws it in each interface style.
#include "platform/springboard/notification_views.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"
#include "platform/uikit/rendering/view_renderer.h"

namespace {

constexpr double kScale = 2;

void collectLabels(UIView* view, std::vector<UILabel*>& labels) {
  for (const auto& subview : view->subviews()) {
    if (auto* label = dynamic_cast<UILabel*>(subview.get()); label && label->text()) {
      labels.push_back(label);
    }
    collectLabels(subview.get(), labels);
  }
}

UIView* firstOfClass(UIView* root, const char* className) {
  if (objc::isKindOf(root, objc_getClass(className))) return root;
  for (const auto& subview : root->subviews()) {
    if (UIView* found = firstOfClass(subview.get(), className)) return found;
  }
  return nullptr;
}

// What a label's rectangle shows: its ground (the median brightness, 0…255) and its text (the
// brightness furthest from the ground).
struct Shown {
  int ground, text;
};

Shown shownIn(const Bitmap& screen, const CGRect& rect) {
  std::vector<int> levels;
  for (int y = int(rect.minY() * kScale); y < int(rect.maxY() * kScale); ++y) {
    for (int x = int(rect.minX() * kScale); x < int(rect.maxX() * kScale); ++x) {
      const uint8_t* p = screen.pixel(x, y);
      levels.push_back((299 * p[0] + 587 * p[1] + 114 * p[2]) / 1000);
    }
  }
  if (levels.empty()) return {0, 0};
  std::sort(levels.begin(), levels.end());
  const int ground = levels[levels.size() / 2];
  const int text =
      ground - levels.front() > levels.back() - ground ? levels.front() : levels.back();
  return {ground, text};
}

class ExpandedNotificationTest : public ::testing::TestWithParam<UIUserInterfaceStyle> {
 protected:
  static void SetUpTestSuite() { setUpHost({}); }
  void TearDown() override {
    UITraitCollection::setSystemUserInterfaceStyle(UIUserInterfaceStyleLight);
  }
};

}  // namespace

// The header's app name, the title, the message and the actions each stand on the material of
// the style (light grounds in the light style, dark ones in the dark style) in text that reads
// against it.
TEST_P(ExpandedNotificationTest, EveryPartOfThePlatterFollowsTheStyle) {
  const bool dark = GetParam() == UIUserInterfaceStyleDark;
  UITraitCollection::setSystemUserInterfaceStyle(GetParam());
  auto samples = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
  ASSERT_TRUE(samples) << samples.error();
  HomeScreen home(std::make_shared<const AppCatalogue>(std::move(samples).value()));
  home.showLockScreen(true);
  ASSERT_TRUE(home.pressNotification("com.vitrel.sample.mail").root);
  Bitmap screen = renderView(home.window(), kScale);
  UIView* platter = firstOfClass(home.window(), "NCExpandedPlatterView");
  ASSERT_NE(platter, nullptr);

  std::vector<UILabel*> labels;
  collectLabels(platter, labels);
  std::vector<std::string> texts;
  for (UILabel* label : labels) {
    texts.push_back(label->text()->string());
    const Shown shown = shownIn(screen, label->frameInWindow());
    SCOPED_TRACE(texts.back());
    if (dark) {
      EXPECT_LT(shown.ground, 80);
      EXPECT_GT(shown.text - shown.ground, 60);
    } else {
      EXPECT_GT(shown.ground, 180);
      EXPECT_GT(shown.ground - shown.text, 60);
    }
    // The text in its own colour over its ground: nothing of the platter washes over it.
    const RGBA colour = *label->textColor()->resolvedColor(dark).rgba();
    const double level = 255 * (0.299 * colour.red + 0.587 * colour.green + 0.114 * colour.blue);
    EXPECT_NEAR(shown.text, colour.alpha * level + (1 - colour.alpha) * shown.ground, 20);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"MAIL", "Mail", "Anna: Lunch on Friday?", "Reply",
                                             "Mark as Read"}));
}

INSTANTIATE_TEST_SUITE_P(Styles, ExpandedNotificationTest,
                         ::testing::Values(UIUserInterfaceStyleLight, UIUserInterfaceStyleDark),
                         [](const auto& paramInfo) {
                           return paramInfo.param == UIUserInterfaceStyleDark ? "Dark" : "Light";
                         });
