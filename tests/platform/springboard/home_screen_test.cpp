// A long-pressed icon as the screen shows it: lifted, sharp, above the dimmed home screen.
#include "platform/springboard/home_screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "platform/springboard/host.h"
#include "platform/uikit/rendering/view_renderer.h"

namespace {

constexpr double kScale = 2;

std::shared_ptr<const AppCatalogue> sampleCatalogue() {
  auto samples = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
  EXPECT_TRUE(samples) << samples.error();
  return std::make_shared<const AppCatalogue>(std::move(samples).value());
}

// The mean difference, over the opaque pixels of the icon's artwork drawn alone, between them
// and the screen's pixels where the artwork stands. Opaque pixels hide whatever lies under
// them, so a lifted icon matches them however the screen behind it is dimmed.
double artworkDifference(const Bitmap& artwork, const Bitmap& screen, const CGRect& place) {
  const int left = static_cast<int>(std::lround(place.minX() * kScale)),
            top = static_cast<int>(std::lround(place.minY() * kScale));
  long total = 0, count = 0;
  for (int y = 0; y < artwork.height(); ++y) {
    for (int x = 0; x < artwork.width(); ++x) {
      const uint8_t* own = artwork.pixel(x, y);
      if (own[3] != 255) continue;
      const uint8_t* shown = screen.pixel(left + x, top + y);
      for (int c = 0; c < 3; ++c)
        total += std::abs(own[c] - shown[c]);
      count += 3;
    }
  }
  EXPECT_GT(count, 300) << "the artwork has too few opaque pixels to compare";
  return count ? double(total) / double(count) : 255;
}

class PressedIconTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setUpHost({}); }

  // Presses the icon and measures how far its artwork on screen is from the artwork itself.
  static double differenceWhenPressed(SBIconView* (HomeScreen::*find)(std::string_view) const,
                                      std::string_view name) {
    HomeScreen home(sampleCatalogue());
    SBIconView* icon = (home.*find)(name);
    if (!icon) {
      ADD_FAILURE() << "no icon " << name;
      return 255;
    }
    UIView* artwork = icon->currentImageView();
    Bitmap alone = renderView(artwork, kScale);
    EXPECT_TRUE(home.pressIcon(icon).root);
    return artworkDifference(alone, renderView(home.window(), kScale), artwork->frameInWindow());
  }
};

}  // namespace

TEST_F(PressedIconTest, AppsAndFoldersAreLiftedAboveTheBlur) {
  // Under the dimmed blur, an icon's pixels differ from its artwork by tens of levels; lifted,
  // only resampling at the screen's scale tells them apart.
  EXPECT_LT(differenceWhenPressed(&HomeScreen::appIconView, "com.vitrel.sample.photos"), 4);
  EXPECT_LT(differenceWhenPressed(&HomeScreen::folderIconView, "Utilities"), 4);
}

TEST_F(PressedIconTest, TheScreenBehindAPressedIconIsBlurred) {
  // The measure itself: the icons the press does not lift are blurred away.
  HomeScreen home(sampleCatalogue());
  SBIconView* pressed = home.appIconView("com.vitrel.sample.photos");
  SBIconView* behind = home.folderIconView("Utilities");
  ASSERT_TRUE(pressed && behind);
  Bitmap alone = renderView(behind->currentImageView(), kScale);
  ASSERT_TRUE(home.pressIcon(pressed).root);
  EXPECT_GT(artworkDifference(alone, renderView(home.window(), kScale),
                              behind->currentImageView()->frameInWindow()),
            12);
}
