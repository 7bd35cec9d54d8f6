// The rectangles the colorizer's gradients span, part by part: what the gradient paints across
// depends on them, and each part has its own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/foundation/device.h"
#include "platform/foundation/ns_number.h"
#include "source/colorizer/tavrel2_colorizer.h"

namespace {

// The shared manager lives in a device folder of this test program's own.
class ColorizerFramesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string folder = (std::filesystem::temp_directory_path() / "vitrel-frames-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    device::setDirectory(folder);
  }

  // The part paints a gradient from red to blue.
  static void useGradient(const std::string& part) {
    auto* manager = Tavrel2PrefsManager::sharedInstance();
    ASSERT_TRUE(manager->setObject(part + "Enabled", NSNumber::numberWithBool(true)));
    ASSERT_TRUE(manager->setObject(part + "Type", NSString::from("gradient")));
    ASSERT_TRUE(manager->setObject(part + "Gradient1", NSString::from("1,0,0")));
    ASSERT_TRUE(manager->setObject(part + "Gradient2", NSString::from("0,0,1")));
  }

  static Tavrel2Colorizer colorizer() {
    return Tavrel2Colorizer::initWithIdentifier(NSString::from("com.example.app"));
  }

  static Ref<UILabel> label(const CGRect& frame) {
    auto label = objc::make<UILabel>();
    label->setText(NSString::from("Lunch at noon"));
    label->setFrame(frame);
    return label;
  }
};

const GradientPattern& patternOf(const std::optional<Color>& color) {
  static const GradientPattern none{};
  EXPECT_TRUE(color && color->pattern());
  return color && color->pattern() ? *color->pattern() : none;
}

const GradientPattern& patternOf(const Ref<UIColor>& color) {
  return patternOf(color ? std::optional<Color>(color->color()) : std::nullopt);
}

}  // namespace

TEST_F(ColorizerFramesTest, TheBorderSpansTheViewFlipped) {
  useGradient("border");
  auto view = objc::make<UIView>();
  view->setFrame(CGRectMake(8, 16, 300, 80));
  colorizer().colorBorder(view.get());
  const GradientPattern& pattern = patternOf(view->layer()->borderColor());
  EXPECT_EQ(pattern.frame, view->frame());
  EXPECT_TRUE(pattern.flipY);
}

TEST_F(ColorizerFramesTest, TitleAndMessageSpanTheirTextTheDateItsWholeLabel) {
  for (const char* part : {"title", "message", "date"})
    useGradient(part);
  const CGRect frame = CGRectMake(20, 30, 260, 40);
  auto title = label(frame), message = label(frame), date = label(frame);
  colorizer().colorTitle(title.get());
  colorizer().colorMessage(message.get());
  colorizer().colorDate(date.get());
  const CGRect text{frame.origin, title->sizeThatFits(frame.size)};
  ASSERT_NE(text, frame);
  for (const auto& [name, shown] : {std::pair{"title", title}, {"message", message}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(patternOf(shown->textColor()).frame, text);
    EXPECT_FALSE(patternOf(shown->textColor()).flipY);
  }
  EXPECT_EQ(patternOf(date->textColor()).frame, frame);
}

TEST_F(ColorizerFramesTest, TheLineSpansItsFirstEdgeFlipped) {
  useGradient("line");
  auto* manager = Tavrel2PrefsManager::sharedInstance();
  ASSERT_TRUE(manager->setObject("linePosition", NSString::from("leftRight")));
  ASSERT_TRUE(manager->setObject("lineWidth", NSNumber::numberWithDouble(3)));
  auto view = objc::make<UIView>();
  view->setFrame(CGRectMake(10, 10, 300, 80));
  view->layer()->addSublayer(objc::make<CALayer>());
  view->layer()->addSublayer(objc::make<CALayer>());
  colorizer().colorLine(view.get(), CGRectMake(0, 0, 300, 80));
  const auto& sublayers = view->layer()->sublayers();
  for (const auto& sublayer : sublayers) {
    const GradientPattern& pattern = patternOf(sublayer->backgroundColor());
    EXPECT_EQ(pattern.frame, CGRectMake(297, 0, 3, 80));
    EXPECT_TRUE(pattern.flipY);
  }
}
