// Registering the colour classes in a process: names and selectors already taken stay as they
// are, and the palette cube's list operations deal in the instances they are given.

#include "source/colors/runtime_classes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_array.h"
#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"

namespace {

using objc::msgSend;
using objc::sel;

// What already answers to the names before the colour classes are registered.
class Squatter final : public NSObject {};

bool logged(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ColourClassRegistrationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    objc::Class* squatter = objc::defineClass<Squatter, NSObject>("libOsset");
    objc::addMethod(squatter, "mainColoursInImage:detail:", [](Squatter*, SEL, UIImage*, int32_t) {
      return Ref<NSObject>();
    });
    objc::addMethod(objc_getClass("UIColor"), "mirraIsDarkColor",
                    [](UIColor*, SEL) { return true; });
    LogCapture capture;
    runtime_classes::registerQuenbyClasses("test: ");
    runtime_classes::registerPaletteCubeClasses("test: ");
    runtime_classes::registerClassifierClasses("test: ");
    lines = capture.lines();
  }
  static inline std::vector<std::string> lines;
};

TEST_F(ColourClassRegistrationTest, TakenNamesAndSelectorsStayAsTheyWereAndAreLogged) {
  EXPECT_TRUE(logged(lines, "test: class libOsset already exists; left as it is"));
  EXPECT_TRUE(logged(lines, "test: -[UIColor mirraIsDarkColor] already exists; left as it is"));
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(objc_getClass("libOsset")->nativeType(), typeid(Squatter));
  EXPECT_TRUE(msgSend<bool>(UIColor::whiteColor(), sel("mirraIsDarkColor")));
  // The others are registered all the same.
  EXPECT_NE(objc_getClass("Tessel"), nullptr);
  EXPECT_TRUE(
      class_respondsToSelector(objc_getClass("UIColor")->isa(), sel("mirraHexStringFromColor:")));
}

TEST_F(ColourClassRegistrationTest, RegisteringAgainLeavesEveryClassAsTheFirstRegistrationMadeIt) {
  objc::Class* cube = objc_getClass("PCPaletteCube");
  LogCapture capture;
  runtime_classes::registerPaletteCubeClasses("again: ");
  EXPECT_EQ(objc_getClass("PCPaletteCube"), cube);
  EXPECT_TRUE(logged(capture.lines(), "again: class PCPaletteCube already exists; left as it is"));
  EXPECT_TRUE(logged(capture.lines(), "again: class PCLocalMaximum already exists; left as it is"));
}

Ref<NSObject> maximum(double red, double green, double blue, uint32_t hitCount) {
  Ref<NSObject> made = objc::createInstance(objc_getClass("PCLocalMaximum"));
  msgSend<void>(made, sel("setRed:"), red);
  msgSend<void>(made, sel("setGreen:"), green);
  msgSend<void>(made, sel("setBlue:"), blue);
  msgSend<void>(made, sel("setBrightness:"), std::max({red, green, blue}));
  msgSend<void>(made, sel("setHitCount:"), hitCount);
  return made;
}

TEST_F(ColourClassRegistrationTest, ListOperationsHandBackTheInstancesTheyWereGiven) {
  Ref<NSObject> cube = objc::createInstance(objc_getClass("PCPaletteCube"));
  // Two equal maxima: each comes back as itself, in its place.
  Ref<NSObject> dark = maximum(0.1, 0.1, 0.1, 5), twin = maximum(0.1, 0.1, 0.1, 5),
                bright = maximum(0.9, 0.2, 0.2, 3);
  auto list = NSArray::from({dark, bright, twin});
  auto ordered = msgSend<Ref<NSArray>>(cube, sel("orderByBrightness:"), list);
  ASSERT_EQ(ordered->count(), 3u);
  EXPECT_EQ(ordered->objectAtIndex(0), bright);
  EXPECT_EQ(ordered->objectAtIndex(1), dark);
  EXPECT_EQ(ordered->objectAtIndex(2), twin);
  auto distinct = msgSend<Ref<NSArray>>(cube, sel("filterDistinctMaxima:threshold:"), list, 0.2);
  ASSERT_EQ(distinct->count(), 2u);
  EXPECT_EQ(distinct->objectAtIndex(0), dark);
  EXPECT_EQ(distinct->objectAtIndex(1), bright);
}

TEST_F(ColourClassRegistrationTest, AListHoldingAnotherKindOfObjectIsRefused) {
  Ref<NSObject> cube = objc::createInstance(objc_getClass("PCPaletteCube"));
  auto list = NSArray::from({maximum(0.5, 0.5, 0.5, 1), UIColor::whiteColor()});
  EXPECT_THROW(msgSend<Ref<NSArray>>(cube, sel("colorsFromMaxima:"), list), objc::Exception);
}

}  // namespace
