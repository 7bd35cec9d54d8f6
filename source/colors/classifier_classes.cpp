// The classifiers `libMerrow`, `Tessel` and `libOsset` as runtime classes.

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"
#include "source/colors/runtime_classes.h"
#include "source/colors/tessel.h"

namespace {

// Instances of the two stateless classes hold nothing; each class needs a storage type of its
// own all the same.
class MerrowObject final : public NSObject {};
class TesselObject final : public NSObject {};

class OssetObject final : public NSObject {
 public:
  libOsset value;
};

// A class method that takes an image and answers one colour.
template <Ref<UIColor> (*colour)(const UIImage*)>
void addImageColour(objc::Class* cls, const char* selector) {
  objc::addClassMethod(cls, selector,
                       [](objc::Class*, SEL, UIImage* image) { return colour(image); });
}

void defineMerrow(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<MerrowObject>("libMerrow", logPrefix);
  if (!cls) return;
  addImageColour<&libMerrow::backgroundColor>(cls, "backgroundColor:");
  addImageColour<&libMerrow::primaryColor>(cls, "primaryColor:");
  addImageColour<&libMerrow::secondaryColor>(cls, "secondaryColor:");
  objc::addClassMethod(cls, "getColorFromImage:calculation:dimension:flexibility:range:",
                       [](objc::Class*, SEL, UIImage* image, int32_t calculation, int32_t dimension,
                          int32_t flexibility, int32_t range) {
                         return libMerrow::getColorFromImage(image, calculation, dimension,
                                                             flexibility, range);
                       });
}

void defineTessel(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<TesselObject>("Tessel", logPrefix);
  if (!cls) return;
  addImageColour<&Tessel::getPrimaryColor>(cls, "getPrimaryColor:");
  addImageColour<&Tessel::getSecondaryColor>(cls, "getSecondaryColor:");
}

// The table from colour to share. The platform's dictionaries are keyed by text, so each colour
// stands as its description ("UIExtendedSRGBColorSpace r g b 1"), which differs for any two
// picked colours.
Ref<NSDictionary> shareTable(const std::vector<libOsset::ColourShare>& shares) {
  NSDictionary::Entries entries;
  for (const libOsset::ColourShare& entry : shares) {
    entries.emplace(describe(entry.colour.get()), NSNumber::numberWithDouble(entry.share));
  }
  return NSDictionary::from(std::move(entries));
}

void defineOsset(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<OssetObject>("libOsset", logPrefix);
  if (!cls) return;
  objc::addMethod(cls, "mainColoursInImage:detail:",
                  [](OssetObject* self, SEL, UIImage* image, int32_t detail) {
                    return shareTable(self->value.mainColoursInImage(image, detail));
                  });
}

}  // namespace

namespace runtime_classes {

void registerClassifierClasses(std::string_view logPrefix) {
  defineMerrow(logPrefix);
  defineTessel(logPrefix);
  defineOsset(logPrefix);
}

}  // namespace runtime_classes
