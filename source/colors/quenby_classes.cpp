// `RGBPixel` and the image and colour categories as runtime classes and methods.

#include "platform/foundation/ns_string.h"
#include "source/colors/color_quenby.h"
#include "source/colors/image_quenby.h"
#include "source/colors/runtime_classes.h"

namespace {

// An `RGBPixel` instance: the cluster record it holds.
class RGBPixelObject final : public NSObject {
 public:
  RGBPixel value;
};

// A nil pixel reads as all zero, as its properties would.
RGBPixel pixelOf(const RGBPixelObject* pixel) {
  return pixel ? pixel->value : RGBPixel{};
}

void defineRGBPixel(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<RGBPixelObject>("RGBPixel", logPrefix);
  if (!cls) return;
  runtime_classes::addFieldProperty<RGBPixelObject, &RGBPixel::r>(cls, "r");
  runtime_classes::addFieldProperty<RGBPixelObject, &RGBPixel::g>(cls, "g");
  runtime_classes::addFieldProperty<RGBPixelObject, &RGBPixel::b>(cls, "b");
  runtime_classes::addFieldProperty<RGBPixelObject, &RGBPixel::d>(cls, "d");
}

void addImageCategory(std::string_view logPrefix) {
  objc::Class* image = objc_getClass("UIImage");
  runtime_classes::addOrLog(
      image, "mirraDominantColor", [](UIImage* self, SEL) { return mirraDominantColor(self); },
      logPrefix);
  runtime_classes::addOrLog(
      image, "mirraSecondDominantColor",
      [](UIImage* self, SEL) { return mirraSecondDominantColor(self); }, logPrefix);
  runtime_classes::addOrLog(
      image, "colourDistance:andB:",
      [](UIImage*, SEL, RGBPixelObject* a, RGBPixelObject* b) {
        return colourDistance(pixelOf(a), pixelOf(b));
      },
      logPrefix);
}

void addColorCategory(std::string_view logPrefix) {
  objc::Class* color = objc_getClass("UIColor");
  runtime_classes::addClassOrLog(
      color, "mirraRGBAColorFromHexString:",
      [](objc::Class*, SEL, NSString* text) { return mirraRGBAColorFromHexString(text); },
      logPrefix);
  runtime_classes::addClassOrLog(
      color, "mirraHexStringFromColor:",
      [](objc::Class*, SEL, UIColor* value) { return mirraHexStringFromColor(value); }, logPrefix);
  runtime_classes::addOrLog(
      color, "mirraIsDarkColor", [](UIColor* self, SEL) { return mirraIsDarkColor(self); },
      logPrefix);
}

}  // namespace

namespace runtime_classes {

void registerQuenbyClasses(std::string_view logPrefix) {
  defineRGBPixel(logPrefix);
  addImageCategory(logPrefix);
  addColorCategory(logPrefix);
}

}  // namespace runtime_classes
