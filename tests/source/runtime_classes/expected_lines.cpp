#include "runtime_classes/expected_lines.h"

#include <cstdio>
#include <map>

#include "platform/graphics/ui_image.h"
#include "runtime_classes/colour_text.h"
#include "source/colors/color_quenby.h"
#include "source/colors/image_quenby.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"
#include "source/colors/palette_cube.h"
#include "source/colors/tessel.h"

namespace {

using Lines = std::vector<std::string>;

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

int32_t byte(const UIColor* color, size_t channel) {
  auto rgba = color->color().rgba();
  double components[] = {rgba->red, rgba->green, rgba->blue};
  return static_cast<int32_t>(components[channel] * 255);
}

RGBPixel pixel(const UIColor* color) {
  RGBPixel made{byte(color, 0), byte(color, 1), byte(color, 2), 0};
  made.d = made.r + made.g;
  return made;
}

void quenby(Lines& lines, const std::string& icon, const UIImage* image) {
  Ref<UIColor> dominant = mirraDominantColor(image), second = mirraSecondDominantColor(image);
  lines.push_back(icon + " dominant " + colour_text::of(dominant.get()));
  lines.push_back(icon + " second " + colour_text::of(second.get()));
  Ref<NSString> hex = mirraHexStringFromColor(dominant.get());
  lines.push_back(icon + " hex " + hex->string() + " " +
                  colour_text::of(mirraRGBAColorFromHexString(hex.get()).get()));
  lines.push_back(icon + " dark " + std::to_string(mirraIsDarkColor(dominant.get())));
  RGBPixel a = pixel(dominant.get()), b = pixel(second.get());
  lines.push_back(icon + " distance " + std::to_string(colourDistance(a, b)) + " d " +
                  std::to_string(a.d));
}

std::string maximumText(const PCLocalMaximum& maximum) {
  return "(" + std::to_string(maximum.hitCount) + " " + std::to_string(maximum.cellIndex) + " " +
         number(maximum.red) + " " + number(maximum.green) + " " + number(maximum.blue) + " " +
         number(maximum.brightness) + ")";
}

void cube(Lines& lines, const std::string& icon, const UIImage* image) {
  PCPaletteCube cube;
  auto add = [&](const std::string& selector, const std::vector<Ref<UIColor>>& colors) {
    lines.push_back(icon + " " + selector + " " + colour_text::of(colors));
  };
  add("extractColorsFromImage:flags:", cube.extractColorsFromImage(image, 0));
  add("extractColorsFromImage:flags:", cube.extractColorsFromImage(image, 4 | 8));
  add("extractColorsFromImage:flags:avoidColor:",
      cube.extractColorsFromImage(image, 16, UIColor::whiteColor().get()));
  add("extractBrightColorsFromImage:avoidColor:count:",
      cube.extractBrightColorsFromImage(image, nullptr, 3));
  add("extractDarkColorsFromImage:avoidColor:count:",
      cube.extractDarkColorsFromImage(image, UIColor::blackColor().get(), 2));
  add("extractColorsFromImage:flags:count:", cube.extractColorsFromImage(image, 33, uint64_t{1}));

  uint32_t pixelCount = 0;
  auto pixels = cube.rawPixelDataFromImage(image, &pixelCount);
  lines.push_back(icon + " pixels " + std::to_string(pixels->size()) + " " +
                  std::to_string(pixelCount));

  auto maxima = cube.findAndSortMaximaInImage(image, 4 | 8);
  auto kept = cube.performAdaptiveDistinctFilteringForMaxima(maxima, 4);
  lines.push_back(icon + " maxima " + std::to_string(maxima.size()) + " " +
                  maximumText(maxima.front()) + " kept " +
                  colour_text::of(cube.colorsFromMaxima(kept)) + " darkest " +
                  colour_text::of(cube.colorsFromMaxima(cube.orderByDarkness(kept))) + " same");
}

void classifiers(Lines& lines, const std::string& icon, const UIImage* image) {
  lines.push_back(icon +
                  " backgroundColor: " + colour_text::of(libMerrow::backgroundColor(image).get()));
  lines.push_back(icon + " primaryColor: " + colour_text::of(libMerrow::primaryColor(image).get()));
  lines.push_back(icon +
                  " secondaryColor: " + colour_text::of(libMerrow::secondaryColor(image).get()));
  lines.push_back(icon + " getColorFromImage 1 6 2 50 " +
                  colour_text::of(libMerrow::getColorFromImage(image, 1, 6, 2, 50).get()));
  lines.push_back(icon +
                  " getPrimaryColor: " + colour_text::of(Tessel::getPrimaryColor(image).get()));
  lines.push_back(icon +
                  " getSecondaryColor: " + colour_text::of(Tessel::getSecondaryColor(image).get()));
  for (int32_t detail : {0, 1}) {
    std::map<std::string, float> shares;
    for (const auto& entry : libOsset().mainColoursInImage(image, detail))
      shares[describe(entry.colour.get())] = entry.share;
    std::string text;
    for (const auto& [colour, share] : shares)
      text += " " + colour + "=" + number(share);
    lines.push_back(icon + " mainColours " + std::to_string(detail) + text);
  }
}

// The colorizer's icon colour is the palette cube's first bright colour not near white.
void colorizer(Lines& lines, const std::string& icon, const UIImage* image) {
  auto colors = PCPaletteCube().extractColorsFromImage(image, 33, uint64_t{1});
  lines.push_back(icon + " iconColor " +
                  colour_text::of(colors.empty() ? nullptr : colors[0].get()) +
                  " for com.vitrel.sample." + icon);
}

}  // namespace

std::vector<std::string> expectedProbeLines(bool libraryClasses) {
  Lines lines;
  for (const char* name : {"RGBPixel", "PCPaletteCube", "PCLocalMaximum", "libMerrow", "Tessel",
                           "libOsset", "Tavrel2Colorizer"}) {
    const bool present = libraryClasses || std::string(name) == "RGBPixel";
    lines.push_back(std::string("class ") + name + (present ? " present" : " absent"));
  }
  for (const std::string& icon : colour_text::sampleIcons()) {
    auto image =
        UIImage::imageWithContentsOfFile(std::string(VITREL_SAMPLES_DIR) + "/" + icon + "@3x.png");
    if (!image) continue;
    quenby(lines, icon, image.value().get());
    if (!libraryClasses) continue;
    cube(lines, icon, image.value().get());
    classifiers(lines, icon, image.value().get());
    colorizer(lines, icon, image.value().get());
  }
  lines.push_back("refused mirraDominantColor as B@: NSInvalidArgumentException");
  if (libraryClasses) {
    lines.push_back(
        "refused extractColorsFromImage:flags:count: with ints NSInvalidArgumentException");
  }
  lines.push_back("done");
  return lines;
}
