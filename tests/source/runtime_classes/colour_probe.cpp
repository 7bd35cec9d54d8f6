// A plug-in loaded into a process after the library (or the settings bundle), as a second
// tweak would be: it knows the colour classes only by name and reaches them by message, and
// logs what it gets, a line each ("probe …"), for the test to compare with the C++ functions.

#include <cstdint>
#include <string>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
#include "platform/graphics/ui_image.h"
#include "runtime_classes/colour_text.h"

namespace {

using objc::msgSend;
using objc::sel;

const char* const kClasses[] = {"RGBPixel", "PCPaletteCube", "PCLocalMaximum",  "libMerrow",
                                "Tessel",   "libOsset",      "Tavrel2Colorizer"};

void say(const std::string& line) {
  NSLog("probe %s", line);
}

// A new, initialised instance of the named class.
Ref<NSObject> instanceOf(const char* className) {
  Ref<NSObject> made = objc::createInstance(objc_getClass(className));
  return msgSend<Ref<NSObject>>(made, sel("init"));
}

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

Ref<NSObject> pixel(int32_t r, int32_t g, int32_t b) {
  Ref<NSObject> made = instanceOf("RGBPixel");
  msgSend<void>(made, sel("setR:"), r);
  msgSend<void>(made, sel("setG:"), g);
  msgSend<void>(made, sel("setB:"), b);
  msgSend<void>(made, sel("setD:"), r + g);
  return made;
}

int32_t byte(const UIColor* color, size_t channel) {
  auto rgba = color->color().rgba();
  double components[] = {rgba->red, rgba->green, rgba->blue};
  return static_cast<int32_t>(components[channel] * 255);
}

void probeQuenby(const std::string& icon, UIImage* image) {
  auto dominant = msgSend<Ref<UIColor>>(image, sel("mirraDominantColor"));
  auto second = msgSend<Ref<UIColor>>(image, sel("mirraSecondDominantColor"));
  say(icon + " dominant " + colour_text::of(dominant.get()));
  say(icon + " second " + colour_text::of(second.get()));
  objc::Class* color = objc_getClass("UIColor");
  auto hex = msgSend<Ref<NSString>>(color, sel("mirraHexStringFromColor:"), dominant);
  auto back = msgSend<Ref<UIColor>>(color, sel("mirraRGBAColorFromHexString:"), hex);
  say(icon + " hex " + hex->string() + " " + colour_text::of(back.get()));
  say(icon + " dark " + std::to_string(msgSend<bool>(dominant, sel("mirraIsDarkColor"))));
  Ref<NSObject> a =
      pixel(byte(dominant.get(), 0), byte(dominant.get(), 1), byte(dominant.get(), 2));
  Ref<NSObject> b = pixel(byte(second.get(), 0), byte(second.get(), 1), byte(second.get(), 2));
  say(icon + " distance " +
      std::to_string(msgSend<int32_t>(image, sel("colourDistance:andB:"), a, b)) + " d " +
      std::to_string(msgSend<int32_t>(a, sel("d"))));
}

std::string maximumText(const NSObject* maximum) {
  return "(" + std::to_string(msgSend<uint32_t>(maximum, sel("hitCount"))) + " " +
         std::to_string(msgSend<uint32_t>(maximum, sel("cellIndex"))) + " " +
         number(msgSend<double>(maximum, sel("red"))) + " " +
         number(msgSend<double>(maximum, sel("green"))) + " " +
         number(msgSend<double>(maximum, sel("blue"))) + " " +
         number(msgSend<double>(maximum, sel("brightness"))) + ")";
}

void probeCube(const std::string& icon, UIImage* image) {
  Ref<NSObject> cube = instanceOf("PCPaletteCube");
  auto colors = [&](const char* selector, auto... args) {
    say(icon + " " + selector + " " +
        colour_text::of(msgSend<Ref<NSArray>>(cube, sel(selector), image, args...).get()));
  };
  colors("extractColorsFromImage:flags:", uint64_t{0});
  colors("extractColorsFromImage:flags:", uint64_t{4 | 8});
  colors("extractColorsFromImage:flags:avoidColor:", uint64_t{16}, UIColor::whiteColor());
  colors("extractBrightColorsFromImage:avoidColor:count:", nullptr, uint64_t{3});
  colors("extractDarkColorsFromImage:avoidColor:count:", UIColor::blackColor(), uint64_t{2});
  colors("extractColorsFromImage:flags:count:", uint64_t{33}, uint64_t{1});

  uint32_t pixelCount = 0;
  auto pixels =
      msgSend<Ref<NSData>>(cube, sel("rawPixelDataFromImage:pixelCount:"), image, &pixelCount);
  say(icon + " pixels " + std::to_string(pixels->length()) + " " + std::to_string(pixelCount));

  auto maxima =
      msgSend<Ref<NSArray>>(cube, sel("findAndSortMaximaInImage:flags:"), image, uint64_t{4 | 8});
  auto kept = msgSend<Ref<NSArray>>(cube, sel("performAdaptiveDistinctFilteringForMaxima:count:"),
                                    maxima, uint64_t{4});
  auto darkest = msgSend<Ref<NSArray>>(cube, sel("orderByDarkness:"), kept);
  say(icon + " maxima " + std::to_string(maxima->count()) + " " +
      maximumText(maxima->firstObject().get()) + " kept " +
      colour_text::of(msgSend<Ref<NSArray>>(cube, sel("colorsFromMaxima:"), kept).get()) +
      " darkest " +
      colour_text::of(msgSend<Ref<NSArray>>(cube, sel("colorsFromMaxima:"), darkest).get()) +
      (kept->firstObject() == maxima->firstObject() ? " same" : " copied"));
}

void probeClassifiers(const std::string& icon, UIImage* image) {
  objc::Class* merrow = objc_getClass("libMerrow");
  for (const char* selector : {"backgroundColor:", "primaryColor:", "secondaryColor:"}) {
    say(icon + " " + selector + " " +
        colour_text::of(msgSend<Ref<UIColor>>(merrow, sel(selector), image).get()));
  }
  say(icon + " getColorFromImage 1 6 2 50 " +
      colour_text::of(msgSend<Ref<UIColor>>(
                          merrow, sel("getColorFromImage:calculation:dimension:flexibility:range:"),
                          image, 1, 6, 2, 50)
                          .get()));
  objc::Class* tessel = objc_getClass("Tessel");
  for (const char* selector : {"getPrimaryColor:", "getSecondaryColor:"}) {
    say(icon + " " + selector + " " +
        colour_text::of(msgSend<Ref<UIColor>>(tessel, sel(selector), image).get()));
  }
  Ref<NSObject> osset = instanceOf("libOsset");
  for (int32_t detail : {0, 1}) {
    auto shares =
        msgSend<Ref<NSDictionary>>(osset, sel("mainColoursInImage:detail:"), image, detail);
    std::string text;
    for (const auto& [colour, share] : shares->entries())
      text += " " + colour + "=" + number(dynamic_cast<NSNumber*>(share.get())->floatValue());
    say(icon + " mainColours " + std::to_string(detail) + text);
  }
}

void probeColorizer(const std::string& icon, UIImage* image) {
  Ref<NSObject> made = objc::createInstance(objc_getClass("Tavrel2Colorizer"));
  auto colorizer = msgSend<Ref<NSObject>>(made, sel("initWithIdentifier:"),
                                          NSString::from("com.vitrel.sample." + icon));
  msgSend<void>(colorizer, sel("setAppIcon:"), image);
  say(icon + " iconColor " +
      colour_text::of(msgSend<Ref<UIColor>>(colorizer, sel("iconColor")).get()) + " for " +
      msgSend<Ref<NSString>>(colorizer, sel("identifier"))->string());
}

// Messages whose types differ from the method's: the runtime refuses them.
void probeRefusals(UIImage* image) {
  auto attempt = [](const char* what, auto send) {
    try {
      send();
      say(std::string("accepted ") + what);
    } catch (const objc::Exception& refusal) {
      say(std::string("refused ") + what + " " + refusal.name());
    }
  };
  attempt("mirraDominantColor as B@:", [&] { msgSend<bool>(image, sel("mirraDominantColor")); });
  if (objc_getClass("PCPaletteCube")) {
    attempt("extractColorsFromImage:flags:count: with ints", [&] {
      msgSend<Ref<NSArray>>(instanceOf("PCPaletteCube"), sel("extractColorsFromImage:flags:count:"),
                            image, 33, 1);
    });
  }
}

__attribute__((constructor)) void probe() {
  try {
    for (const char* name : kClasses)
      say(std::string("class ") + name + (objc_getClass(name) ? " present" : " absent"));
    const bool library = objc_getClass("PCPaletteCube") != nullptr;
    Ref<UIImage> last;
    for (const std::string& icon : colour_text::sampleIcons()) {
      auto image = UIImage::imageWithContentsOfFile(std::string(VITREL_SAMPLES_DIR) + "/" + icon +
                                                    "@3x.png");
      if (!image) continue;
      last = image.value();
      probeQuenby(icon, last.get());
      if (!library) continue;
      probeCube(icon, last.get());
      probeClassifiers(icon, last.get());
      probeColorizer(icon, last.get());
    }
    probeRefusals(last.get());
  } catch (const std::exception& failure) {
    say(std::string("failed ") + failure.what());
  }
  say("done");
}

}  // namespace
