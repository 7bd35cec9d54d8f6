// What a user sees of a styled menu: the home screen drawn with the library injected.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/foundation/ns_number.h"
#include "platform/springboard/home_screen.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

constexpr double kScale = 2;

UIView* firstOfClass(UIView* root, const char* className) {
  if (objc::isKindOf(root, objc_getClass(className))) return root;
  for (const auto& subview : root->subviews()) {
    if (UIView* found = firstOfClass(subview.get(), className)) return found;
  }
  return nullptr;
}

// The largest difference between a pixel's channels and a colour's, in 0…255.
int distance(const uint8_t* pixel, const RGBA& colour) {
  const double channels[] = {colour.red, colour.green, colour.blue};
  int largest = 0;
  for (int c = 0; c < 3; ++c)
    largest = std::max(largest, std::abs(pixel[c] - static_cast<int>(channels[c] * 255 + 0.5)));
  return largest;
}

class MenuPictureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    auto on = NSNumber::numberWithBool(true);
    injected_host::writeSettings(
        NSDictionary::from({{"elegantBorder", on},
                            {"borderThicknessHS", NSNumber::numberWithDouble(3)},
                            {"cornerRadius", NSNumber::numberWithDouble(14)},
                            {"dynamicLabelColoring", on},
                            {"renderMode", on},
                            {"autoBackgroundColor", on}})
            .get());
    setUpHost({});
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
    auto samples = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    ASSERT_TRUE(samples) << samples.error();
    home = std::make_unique<HomeScreen>(
        std::make_shared<const AppCatalogue>(std::move(samples).value()));
    home->pressIcon(home->appIconView("com.vitrel.sample.photos"));
    home->layoutPass();
  }

  static RGBA iconColour() { return *probe->menuState().color->color().rgba(); }
  static const uint8_t* pixelAt(const Bitmap& picture, double x, double y) {
    return picture.pixel(static_cast<int>(x * kScale), static_cast<int>(y * kScale));
  }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::unique_ptr<HomeScreen> home;
};

}  // namespace

TEST_F(MenuPictureTest, TheMenusBorderAndLabelsShowTheIconColour) {
  Bitmap picture = renderView(home->window(), kScale);
  ASSERT_FALSE(picture.empty());
  UIView* list = firstOfClass(home->window(), "_UIContextMenuListView");
  ASSERT_NE(list, nullptr);
  const CGRect frame = list->frameInWindow();
  // The middle of the 3-point border, on the left edge and along the bottom.
  EXPECT_LE(distance(pixelAt(picture, frame.minX() + 1.5, (frame.minY() + frame.maxY()) / 2),
                     iconColour()),
            3);
  EXPECT_LE(distance(pixelAt(picture, (frame.minX() + frame.maxX()) / 2, frame.maxY() - 1.5),
                     iconColour()),
            3);

  // Somewhere in the first action's title, a glyph's stem in the icon colour.
  UIView* label = firstOfClass(firstOfClass(list, "_UIContextMenuCell"), "UILabel");
  ASSERT_NE(label, nullptr);
  const CGRect title = label->frameInWindow();
  int closest = 255;
  for (double y = title.minY(); y < title.maxY(); y += 0.5) {
    for (double x = title.minX(); x < title.minX() + 60; x += 0.5)
      closest = std::min(closest, distance(pixelAt(picture, x, y), iconColour()));
  }
  EXPECT_LE(closest, 4);
  // Far from the text, the glass is tinted but not the icon colour itself.
  EXPECT_GT(distance(pixelAt(picture, frame.maxX() - 20, (title.minY() + title.maxY()) / 2),
                     iconColour()),
            12);
}

TEST_F(MenuPictureTest, TheSameSceneDrawsTheSamePixels) {
  Bitmap first = renderView(home->window(), kScale);
  Bitmap second = renderView(home->window(), kScale);
  ASSERT_EQ(first.byteCount(), second.byteCount());
  EXPECT_EQ(std::memcmp(first.pixels(), second.pixels(), first.byteCount()), 0);
}
