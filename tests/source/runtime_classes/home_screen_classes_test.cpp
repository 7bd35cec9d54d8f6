// The library's colour classes as other code in the home-screen process meets them: by name,
// with the platform's encodings and property attributes, and, for a plug-in loaded after the
// library that knows them only by name, giving exactly what the C++ colour functions give.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/springboard/host.h"
#include "runtime_classes/expected_lines.h"
#include "support/injected_host.h"

namespace {

class HomeScreenColourClassesTest : public ::testing::Test {
 protected:
  // The host, then the library, then the plug-in, once for the process.
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    setUpHost({});
    LogCapture capture;
    injected_host::loadLibrary(LIBRARY_PATH);
    injected_host::loadLibrary(PROBE_PATH);
    for (const std::string& line : capture.lines()) {
      if (line.starts_with("probe ")) probeLines.push_back(line.substr(6));
    }
  }

  static inline std::vector<std::string> probeLines;
};

TEST_F(HomeScreenColourClassesTest, PluginGetsWhatTheColourFunctionsGiveForEverySampleIcon) {
  const std::vector<std::string> expected = expectedProbeLines(true);
  ASSERT_EQ(probeLines.size(), expected.size())
      << "the probe stopped at: " << (probeLines.empty() ? "" : probeLines.back());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(probeLines[i], expected[i]);
}

struct MethodRow {
  const char* cls;
  const char* selector;
  bool classMethod;
  const char* types;
};

const std::vector<MethodRow> kMethods = {
    {"UIImage", "mirraDominantColor", false, "@@:"},
    {"UIImage", "mirraSecondDominantColor", false, "@@:"},
    {"UIImage", "colourDistance:andB:", false, "i@:@@"},
    {"UIColor", "mirraRGBAColorFromHexString:", true, "@@:@"},
    {"UIColor", "mirraHexStringFromColor:", true, "@@:@"},
    {"UIColor", "mirraIsDarkColor", false, "B@:"},
    {"RGBPixel", "r", false, "i@:"},
    {"RGBPixel", "setD:", false, "v@:i"},
    {"PCPaletteCube", "extractColorsFromImage:flags:", false, "@@:@Q"},
    {"PCPaletteCube", "extractColorsFromImage:flags:avoidColor:", false, "@@:@Q@"},
    {"PCPaletteCube", "extractBrightColorsFromImage:avoidColor:count:", false, "@@:@@Q"},
    {"PCPaletteCube", "extractDarkColorsFromImage:avoidColor:count:", false, "@@:@@Q"},
    {"PCPaletteCube", "extractColorsFromImage:flags:count:", false, "@@:@QQ"},
    {"PCPaletteCube", "clearCells", false, "v@:"},
    {"PCPaletteCube", "rawPixelDataFromImage:pixelCount:", false, "@@:@^I"},
    {"PCPaletteCube", "findLocalMaximaInImage:flags:", false, "@@:@Q"},
    {"PCPaletteCube", "findAndSortMaximaInImage:flags:", false, "@@:@Q"},
    {"PCPaletteCube", "filterDistinctMaxima:threshold:", false, "@@:@d"},
    {"PCPaletteCube", "filterMaxima:tooCloseToColor:", false, "@@:@@"},
    {"PCPaletteCube", "orderByBrightness:", false, "@@:@"},
    {"PCPaletteCube", "orderByDarkness:", false, "@@:@"},
    {"PCPaletteCube", "performAdaptiveDistinctFilteringForMaxima:count:", false, "@@:@Q"},
    {"PCPaletteCube", "extractAndFilterMaximaFromImage:flags:", false, "@@:@Q"},
    {"PCPaletteCube", "colorsFromMaxima:", false, "@@:@"},
    {"PCLocalMaximum", "hitCount", false, "I@:"},
    {"PCLocalMaximum", "setCellIndex:", false, "v@:I"},
    {"PCLocalMaximum", "brightness", false, "d@:"},
    {"libMerrow", "backgroundColor:", true, "@@:@"},
    {"libMerrow", "primaryColor:", true, "@@:@"},
    {"libMerrow", "secondaryColor:", true, "@@:@"},
    {"libMerrow", "getColorFromImage:calculation:dimension:flexibility:range:", true, "@@:@iiii"},
    {"Tessel", "getPrimaryColor:", true, "@@:@"},
    {"Tessel", "getSecondaryColor:", true, "@@:@"},
    {"libOsset", "mainColoursInImage:detail:", false, "@@:@i"},
    {"Tavrel2Colorizer", "initWithIdentifier:", false, "@@:@"},
    {"Tavrel2Colorizer", "setAppIcon:", false, "v@:@"},
    {"Tavrel2Colorizer", "iconColor", false, "@@:"},
    {"Tavrel2Colorizer", "colorBackground:", false, "v@:@"},
    {"Tavrel2Colorizer", "colorTitle:", false, "v@:@"},
    {"Tavrel2Colorizer", "colorLine:inFrame:", false, "v@:@{CGRect={CGPoint=dd}{CGSize=dd}}"},
    {"Tavrel2Colorizer", "toggleAppIconVisibility:withTitle:message:footer:alwaysUpdate:", false,
     "v@:@@@@B"},
};

TEST_F(HomeScreenColourClassesTest, MethodsAreClassOrInstanceMethodsWithThePlatformsEncodings) {
  for (const MethodRow& row : kMethods) {
    SCOPED_TRACE(std::string(row.cls) + " " + row.selector);
    objc::Class* cls = objc_getClass(row.cls);
    ASSERT_NE(cls, nullptr);
    const objc::Method* method = row.classMethod
                                     ? class_getClassMethod(cls, objc::sel(row.selector))
                                     : class_getInstanceMethod(cls, objc::sel(row.selector));
    const objc::Method* otherKind = row.classMethod
                                        ? class_getInstanceMethod(cls, objc::sel(row.selector))
                                        : class_getClassMethod(cls, objc::sel(row.selector));
    ASSERT_NE(method, nullptr);
    EXPECT_STREQ(method_getTypeEncoding(method), row.types);
    EXPECT_EQ(otherKind, nullptr);
  }
}

TEST_F(HomeScreenColourClassesTest, PropertiesCarryThePlatformsAttributes) {
  const std::vector<std::vector<const char*>> properties = {
      {"RGBPixel", "r", "Ti,N,V_r"},
      {"RGBPixel", "d", "Ti,N,V_d"},
      {"PCLocalMaximum", "hitCount", "TI,N,V_hitCount"},
      {"PCLocalMaximum", "cellIndex", "TI,N,V_cellIndex"},
      {"PCLocalMaximum", "red", "Td,N,V_red"},
      {"PCLocalMaximum", "brightness", "Td,N,V_brightness"},
      {"Tavrel2Colorizer", "identifier", "T@\"NSString\",&,N,V_identifier"},
      {"Tavrel2Colorizer", "manager", "T@\"Tavrel2PrefsManager\",&,N,V_manager"},
      {"Tavrel2Colorizer", "appIcon", "T@\"UIImage\",&,N,V_appIcon"},
      {"Tavrel2Colorizer", "iconColor", "T@\"UIColor\",&,N,V_iconColor"},
  };
  for (const auto& row : properties) {
    const objc::Property* property = class_getProperty(objc_getClass(row[0]), row[1]);
    ASSERT_NE(property, nullptr) << row[0] << " " << row[1];
    EXPECT_STREQ(property_getAttributes(property), row[2]);
  }
}

}  // namespace
